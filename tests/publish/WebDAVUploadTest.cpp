#include "publish/SendController.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlF.h"

#include "support/EventLoop.h"
#include "support/Printers.h"
#include "support/PublishSite.h"
#include "support/TestServers.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class WebDAVUpload : public ::testing::Test {
protected:
    void startServer(bool digest)
    {
        if (!server.start(digest))
            GTEST_SKIP() << "WebDAV server unavailable: " << server.why.toStdString();
        QDir().mkpath(server.davRoot() + QStringLiteral("/site"));
        if (::geteuid() == 0)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), server.davRoot() + QStringLiteral("/site") });
    }

    // Publishes the changes to <server>/site and waits for the end.
    void publish(const QString& passPhrase = QStringLiteral("tester:secret"), int digest = 0)
    {
        std::shared_ptr<XmlD> current;
        auto bom = site.changes(&current);
        controller.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom.get(),
            WebDAVRoad::webDAVAddress(server.address()) + QStringLiteral("/site"), site.homepage(), passPhrase, current, QString(), digest);
        ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    }

    QStringList requestsSince(int count) const { return server.requests().mid(count); }

    testservers::WebDAVServer server;
    PublishSite site;
    SendController controller { &site.document };
};

} // namespace

TEST_F(WebDAVUpload, SendsEverythingThenOnlyTheChanges)
{
    startServer(false);
    site.write(QStringLiteral("index.html"), "<html>home</html>");
    site.write(QStringLiteral("about.html"), "<html>about</html>");
    site.write(QStringLiteral("pictures/my photo é.jpg"), QByteArray(200000, '\xff'));
    site.write(QStringLiteral("old.html"), "old");
    publish();
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    // The panel stays with what was done, and offers the site's address.
    const QString address = QStringLiteral("http://") + server.address() + QStringLiteral("/site");
    EXPECT_TRUE(controller.status1().startsWith(QStringLiteral("Published 4 files (200038 bytes) to ") + address + QStringLiteral(" in ")))
        << controller.status1().toStdString();
    EXPECT_EQ(site.document.activity.last(), controller.status1());
    EXPECT_EQ(controller.resultAddress(), address + QLatin1Char('/'));
    EXPECT_TRUE(controller.panelVisible());
    controller.cancel();
    EXPECT_FALSE(controller.panelVisible());
    EXPECT_FALSE(controller.taskError());
    EXPECT_EQ(filesBelow(server.davRoot() + QStringLiteral("/site")), filesBelow(site.homepage()));
    EXPECT_TRUE(sameFiles(site.homepage(), server.davRoot() + QStringLiteral("/site")));
    EXPECT_EQ(site.document.lastbom(), site.document.createXmlD(QString())->createXml());

    site.write(QStringLiteral("about.html"), "<html>about, edited</html>");
    QFile::remove(site.homepage() + QStringLiteral("/old.html"));
    const int before = server.requests().size();
    publish();
    const QStringList requests = requestsSince(before);
    EXPECT_EQ(requests.filter(QRegularExpression(QStringLiteral("^(PUT|DELETE) "))),
        QStringList({ QStringLiteral("DELETE /site/old.html 204"), QStringLiteral("PUT /site/about.html 204") }));
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/about.html")), QByteArray("<html>about, edited</html>"));
    EXPECT_EQ(site.document.lastbom(), site.document.createXmlD(QString())->createXml());
}

TEST_F(WebDAVUpload, MakesMissingFoldersParentFirst)
{
    startServer(false);
    site.write(QStringLiteral("index.html"), "home");
    publish();
    site.write(QStringLiteral("a/b/page.html"), "deep");
    site.write(QStringLiteral("a/b/other.html"), "deep too");
    const int before = server.requests().size();
    publish();
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    const QStringList requests = requestsSince(before);
    EXPECT_EQ(requests, QStringList({ QStringLiteral("PROPFIND /site/ 207"), QStringLiteral("PROPFIND /site/a/ 404"), QStringLiteral("PROPFIND /site/ 207"),
                            QStringLiteral("MKCOL /site/a/ 201"), QStringLiteral("PROPFIND /site/a/b/ 404"),
                            QStringLiteral("PROPFIND /site/a/ 207"), QStringLiteral("MKCOL /site/a/b/ 201"),
                            QStringLiteral("PUT /site/a/b/other.html 201"), QStringLiteral("PUT /site/a/b/page.html 201") }))
        << requests.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/a/b/page.html")), QByteArray("deep"));
}

TEST_F(WebDAVUpload, WrongPasswordKeepsTheStoredTree)
{
    startServer(false);
    site.write(QStringLiteral("index.html"), "home");
    publish();
    const QString stored = site.document.lastbom();
    site.write(QStringLiteral("index.html"), "home, edited");
    publish(QStringLiteral("tester:wrong"));
    EXPECT_TRUE(controller.taskError());
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped"));
    EXPECT_EQ(controller.status2(), QStringLiteral("The server refused the user name or password. The server said: \"Unauthorized\"."));
    EXPECT_EQ(site.document.lastbom(), stored);
    EXPECT_TRUE(controller.panelVisible());
    controller.cancel();
    EXPECT_FALSE(controller.panelVisible());
    EXPECT_EQ(site.document.lastbom(), stored);
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/index.html")), QByteArray("home"));
}

TEST_F(WebDAVUpload, DigestAuthentication)
{
    startServer(true);
    site.write(QStringLiteral("index.html"), "home");
    publish(QStringLiteral("tester:secret"), 1);
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/index.html")), QByteArray("home"));
    // Basic authentication is refused by a digest-only location, which says what it wants.
    site.write(QStringLiteral("index.html"), "home 2");
    publish(QStringLiteral("tester:secret"), 0);
    EXPECT_EQ(controller.status2(), QStringLiteral("The server asks for Digest authentication: tick \"Digest\" and publish again. The server said: \"Unauthorized\"."));
}

TEST_F(WebDAVUpload, MissingBaseFolderChainStopsAtTheHostRoot)
{
    startServer(false);
    site.write(QStringLiteral("index.html"), "home");
    // The tool cannot list the root either: a forbidden root would make the
    // climb loop; here the root answers, so the folders are made.
    std::shared_ptr<XmlD> current;
    auto bom = site.changes(&current);
    controller.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom.get(),
        QStringLiteral("http://") + server.address() + QStringLiteral("/new/deeper"), site.homepage(), QStringLiteral("tester:secret"), current, QString(), 0);
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/new/deeper/index.html")), QByteArray("home"));
}

TEST_F(WebDAVUpload, ConnectionTestChecksAddressAndAccount)
{
    startServer(false);
    struct Case {
        const char* what;
        QString folder;
        QString passPhrase;
        QString status1;
        QString status2;
    };
    const QList<Case> cases = {
        {"existing folder", QStringLiteral("/site"), QStringLiteral("tester:secret"), QStringLiteral("Test Passed. Connection Good"), QString()},
        {"missing folder", QStringLiteral("/site/new/deeper"), QStringLiteral("tester:secret"), QStringLiteral("Test Passed. Connection Good"),
            QStringLiteral("Connected; the folder /site/new/deeper will be created at the first publication")},
        {"wrong password", QStringLiteral("/site"), QStringLiteral("tester:wrong"), QStringLiteral("Test Failed"),
            QStringLiteral("The server refused the user name or password. The server said: \"Unauthorized\".")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller.webDAVTestLocationPassPhraseDigest(WebDAVRoad::webDAVAddress(server.address() + c.folder), c.passPhrase, 0);
        ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
        EXPECT_EQ(controller.title(), QStringLiteral("Testing WebDAV Connection"));
        EXPECT_EQ(controller.status1(), c.status1);
        EXPECT_EQ(controller.status2(), c.status2);
        EXPECT_TRUE(controller.panelVisible());
        controller.cancel();
    }
    // A test makes nothing and stores nothing.
    EXPECT_FALSE(QFileInfo::exists(server.davRoot() + QStringLiteral("/site/new")));
    EXPECT_TRUE(site.document.lastbom().isEmpty());
}

TEST(WebDAVAddress, TakesTheAddressAsTyped)
{
    struct Case {
        const char* typed;
        const char* address;
    };
    const Case cases[] = {
        {"host.example/dav", "http://host.example/dav"},
        {"127.0.0.1:18580/site", "http://127.0.0.1:18580/site"},
        {"http://127.0.0.1:18580/site", "http://127.0.0.1:18580/site"},
        {" https://host.example/my dav ", "https://host.example/my%20dav"},
        {"HTTP://host:8080/", "http://host:8080"},
        {"http://host/site/", "http://host/site"},
        {"http://host/my%20dav", "http://host/my%20dav"},
        {"host.example/caf\u00e9", "http://host.example/caf%C3%A9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WebDAVRoad::webDAVAddress(QString::fromUtf8(c.typed)), QString::fromUtf8(c.address)) << c.typed;
}

TEST_F(WebDAVUpload, RequestToolExitStatuses)
{
    startServer(false);
    const QString tool = QString::fromUtf8(LQ_TEST_LIBEXEC) + QStringLiteral("/curl");
    const QString base = QStringLiteral("http://") + server.address();
    writeAll(site.homepage() + QStringLiteral("/f.txt"), "x");
    struct Case {
        const char* what;
        QStringList arguments;
        QByteArray credential;
        int status;
    } cases[] = {
        { "PUT", { QStringLiteral("-T") + site.homepage() + QStringLiteral("/f.txt"), base + QStringLiteral("/f.txt") }, "tester:secret", 0 },
        { "PROPFIND", { QStringLiteral("-XPROPFIND"), QStringLiteral("-HDepth:0"), base + QStringLiteral("/") }, "tester:secret", 0 },
        { "wrong password", { QStringLiteral("-XPROPFIND"), base + QStringLiteral("/") }, "tester:wrong", 10 },
        { "missing file (404)", { QStringLiteral("-XDELETE"), base + QStringLiteral("/none.txt") }, "tester:secret", 155 },
        { "missing parent (409)", { QStringLiteral("-T") + site.homepage() + QStringLiteral("/f.txt"), base + QStringLiteral("/no/f.txt") }, "tester:secret", 160 },
        { "MKCOL of an existing folder (405)", { QStringLiteral("-XMKCOL"), base + QStringLiteral("/site/") }, "tester:secret", 100 },
        { "unreadable local file", { QStringLiteral("-T") + site.homepage() + QStringLiteral("/none"), base + QStringLiteral("/x.txt") }, "tester:secret", 26 },
        { "bad address", { QStringLiteral("-XPROPFIND"), QStringLiteral("ftp://127.0.0.1/") }, "tester:secret", 3 },
    };
    for (const Case& c : cases) {
        QProcess process;
        process.start(tool, QStringList({ QStringLiteral("-u-"), QStringLiteral("-s"), QStringLiteral("-o/dev/null") }) + c.arguments);
        ASSERT_TRUE(process.waitForStarted());
        process.write(c.credential + '\n');
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitCode(), c.status) << c.what << ": " << process.readAllStandardError().toStdString();
    }

    // The trace shows the exchange but not the credential; a credential on
    // the command line is refused.
    QProcess traced;
    traced.start(tool, { QStringLiteral("-u-"), QStringLiteral("-v"), QStringLiteral("-XPROPFIND"), base + QStringLiteral("/") });
    ASSERT_TRUE(traced.waitForStarted());
    traced.write("tester:secret\n");
    traced.closeWriteChannel();
    ASSERT_TRUE(traced.waitForFinished(20000));
    const QByteArray trace = traced.readAllStandardOutput();
    EXPECT_TRUE(trace.contains("> PROPFIND / HTTP/1.1")) << trace.toStdString();
    EXPECT_TRUE(trace.contains("Authorization: (not shown)")) << trace.toStdString();
    EXPECT_FALSE(trace.contains("dGVzdGVyOnNlY3JldA")) << trace.toStdString();
    QProcess onCommandLine;
    onCommandLine.start(tool, { QStringLiteral("-utester:secret"), base + QStringLiteral("/") });
    ASSERT_TRUE(onCommandLine.waitForFinished(20000));
    EXPECT_EQ(onCommandLine.exitCode(), 2);
}

TEST_F(WebDAVUpload, UnreadableFileIsNotClaimedAsSent)
{
    startServer(false);
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("secret.html"), "unreadable");
    std::shared_ptr<XmlD> current;
    auto bom = site.changes(&current);
    // The file goes away after the listing: its request fails to read it.
    QFile::remove(site.homepage() + QStringLiteral("/secret.html"));
    controller.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom.get(),
        QStringLiteral("http://") + server.address() + QStringLiteral("/site"), site.homepage(), QStringLiteral("tester:secret"), current, QString(), 0);
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    // The run's one line names it, after what arrived.
    ASSERT_FALSE(site.document.activity.isEmpty());
    EXPECT_TRUE(site.document.activity.last().startsWith(QStringLiteral("Published 1 file (4 bytes) to ")))
        << site.document.activity.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(site.document.activity.last().endsWith(QStringLiteral("\"secret.html\" could not be read on this computer: No such file or directory.")))
        << site.document.activity.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/index.html")), QByteArray("home"));
    std::shared_ptr<XmlD> stored = site.document.lastXmlD();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->filePaths(), QStringList({ QStringLiteral("index.html") }));
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped"));
}
