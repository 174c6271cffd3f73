// The version check against a web server on 127.0.0.1: what each reply
// shows, and that a dead server answers within the time-out without blocking.
#include "app/VersionCheck.h"
#include "support/EventLoop.h"
#include "support/ui/LocalHttpServer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>

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

TEST(VersionCheck, ClosedPortAndMissingPageShowNothing)
{
    // A port that was just free is closed: the connection is refused at once.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    VersionCheck check;
    QElapsedTimer timer;
    timer.start();
    Outcome outcome = runCheck(check, QStringLiteral("http://127.0.0.1:") + QString::number(port), true);
    EXPECT_TRUE(outcome.finished);
    EXPECT_LT(timer.elapsed(), VersionCheck::userTimeoutMs + 2000);
    EXPECT_TRUE(outcome.message.isEmpty());

    LocalHttpServer server;   // serves no version page: 404
    ASSERT_TRUE(server.isRunning());
    outcome = runCheck(check, server.address(), true);
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.message.isEmpty());
}

TEST(VersionCheck, SilentServerEndsAtTheLaunchTimeOut)
{
    // A server that accepts the connection and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    VersionCheck check;
    QElapsedTimer timer;
    timer.start();
    const Outcome outcome = runCheck(check, QStringLiteral("http://127.0.0.1:") + QString::number(silent.serverPort()), false);
    EXPECT_TRUE(outcome.finished);
    EXPECT_GE(timer.elapsed(), VersionCheck::launchTimeoutMs - 200);
    EXPECT_LT(timer.elapsed(), VersionCheck::launchTimeoutMs + 3000);
    EXPECT_TRUE(outcome.message.isEmpty());
}

TEST(VersionCheck, WithoutAServerTheCheckIsOff)
{
    VersionCheck check;
    EXPECT_TRUE(runCheck(check, QString(), false).message.isEmpty());
    EXPECT_EQ(runCheck(check, QString(), true).message, QStringLiteral("The version check is off: no server address is set."));
    EXPECT_EQ(runCheck(check, QStringLiteral("file:///etc"), true).message, QStringLiteral("The version check is off: no server address is set."));
}

} // namespace
