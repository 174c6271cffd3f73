// The version check against a web server on 127.0.0.1: what each reply
// shows, and that a dead server ends the check at its time-out without blocking.
#include "ui/app/VersionCheck.h"
#include "support/EventLoop.h"
#include "support/ui/LocalHttpServer.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    bool finished = false;
    QString message;
};

Outcome runCheck(VersionCheck& check, const QString& server, bool userAsked)
{
    Outcome outcome;
    QObject::connect(&check, &VersionCheck::finished, &check, [&](const QString& message, bool) {
        outcome.finished = true;
        outcome.message = message;
    });
    check.checkForUpdate(server, userAsked);
    processEventsUntil([&] { return outcome.finished; }, 30000);
    QObject::disconnect(&check, &VersionCheck::finished, nullptr, nullptr);
    return outcome;
}

TEST(VersionCheck, RepliesOfALocalServer)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.isRunning()) << server.output().toStdString();
    const struct {
        const char* reply;
        bool userAsked;
        const char* shown;
    } cases[] = {
        {"289\nPlease update %@", false, "Please update %@"},   // verbatim, never a format
        {"289\nPlease update %@\n", true, "Please update %@"},
        {"288\nPlease update", false, ""},
        {"288\n", true, "Lumenquill is up to date"},
        {"abc", true, ""},
        {"abc", false, ""},
        {"", true, ""},
        {"300", false, "A newer version of Lumenquill is available."},
        {"289\nNeue Version \xc3\xa4", true, ""},   // not ASCII
    };
    VersionCheck check;
    for (const auto& c : cases) {
        server.serve(QStringLiteral("versions/lqupdates2.php"), QByteArray(c.reply));
        const Outcome outcome = runCheck(check, server.address(), c.userAsked);
        EXPECT_TRUE(outcome.finished) << c.reply;
        EXPECT_EQ(outcome.message, QString::fromUtf8(c.shown)) << c.reply;
    }
    EXPECT_TRUE(server.output().contains(QStringLiteral("GET /versions/lqupdates2.php?y=288 ")));
}

// The check's clock in the test's hand: it records each time-out armed and
// lets it expire when the test says.
struct HeldTimeouts {
    explicit HeldTimeouts(VersionCheck& check)
    {
        check.setTimeoutArming([this](int milliseconds, std::function<void()> expire) {
            armed.append(milliseconds);
            expiries.push_back(std::move(expire));
        });
    }
    QList<int> armed;
    std::vector<std::function<void()>> expiries;
};

TEST(VersionCheck, ClosedPortAndMissingPageShowNothingBeforeTheTimeOut)
{
    // A port that was just free is closed: the connection is refused at once.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    VersionCheck check;
    HeldTimeouts clock(check);
    Outcome outcome = runCheck(check, QStringLiteral("http://127.0.0.1:") + QString::number(port), true);
    EXPECT_TRUE(outcome.finished) << "ended by the refusal, the time-out never expired";
    EXPECT_TRUE(outcome.message.isEmpty());

    LocalHttpServer server;   // serves no version page: 404
    ASSERT_TRUE(server.isRunning());
    outcome = runCheck(check, server.address(), true);
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.message.isEmpty());

    // A time-out expiring after its check ended leaves the next check alone.
    ASSERT_EQ(clock.expiries.size(), 2u);
    const std::vector<std::function<void()>> ended = clock.expiries;
    server.serve(QStringLiteral("versions/lqupdates2.php"), QByteArray("288\n"));
    bool finished = false;
    QString message;
    QObject::connect(&check, &VersionCheck::finished, &check, [&](const QString& shown, bool) {
        finished = true;
        message = shown;
    });
    check.checkForUpdate(server.address(), true);
    for (const auto& expire : ended)
        expire();
    EXPECT_TRUE(check.isRunning());
    EXPECT_TRUE(processEventsUntil([&] { return finished; }, 30000));
    EXPECT_EQ(message, QStringLiteral("Lumenquill is up to date"));
}

TEST(VersionCheck, ASilentServerEndsTheCheckWhenItsTimeOutExpires)
{
    // A server that accepts the connection and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const struct {
        bool userAsked;
        int timeout;
    } cases[] = {
        { false, VersionCheck::launchTimeoutMs },
        { true, VersionCheck::userTimeoutMs },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.userAsked ? "asked by the user" : "at launch");
        VersionCheck check;
        HeldTimeouts clock(check);
        bool finished = false;
        QObject::connect(&check, &VersionCheck::finished, &check, [&](const QString& message, bool) {
            finished = true;
            EXPECT_TRUE(message.isEmpty());
        });
        check.checkForUpdate(QStringLiteral("http://127.0.0.1:") + QString::number(silent.serverPort()), c.userAsked);
        EXPECT_EQ(clock.armed, QList<int> { c.timeout });
        // The request reached the server, which keeps quiet: the check waits.
        ASSERT_TRUE(processEventsUntil([&] { return silent.hasPendingConnections(); }, 30000));
        std::unique_ptr<QTcpSocket> connection(silent.nextPendingConnection());
        EXPECT_TRUE(check.isRunning());
        EXPECT_FALSE(finished);

        ASSERT_EQ(clock.expiries.size(), 1u);
        clock.expiries.front()();
        EXPECT_TRUE(processEventsUntil([&] { return finished; }, 30000));
        EXPECT_FALSE(check.isRunning());
    }
}

TEST(VersionCheck, WithoutAServerTheCheckIsOff)
{
    VersionCheck check;
    EXPECT_TRUE(runCheck(check, QString(), false).message.isEmpty());
    EXPECT_EQ(runCheck(check, QString(), true).message, QStringLiteral("The version check is off: no server address is set."));
    EXPECT_EQ(runCheck(check, QStringLiteral("file:///etc"), true).message, QStringLiteral("The version check is off: no server address is set."));
}

} // namespace
