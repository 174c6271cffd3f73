#include "publish/FTPRoad.h"
#include "publish/SendController.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include "support/ChildProcesses.h"
#include "support/EventLoop.h"
#include "support/Printers.h"
#include "support/PublishSite.h"
#include "support/TestServers.h"

#include "platform/SupportPaths.h"

#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <unistd.h>

#include <iostream>

#include <gtest/gtest.h>

namespace {

// Publishes over FTP or SFTP the way the publish panel does: the generated
// folder against the stored tree, the stored tree seeding the partial one.
class TransferUpload : public ::testing::TestWithParam<int> {
protected:
    bool sftp() const { return GetParam() == 1; }
    static QString knownHosts() { return lq::supportFolder() + QStringLiteral("/known_hosts"); }
    QString serverRoot() const { return sftp() ? sftpServer.root() : ftpServer.root(); }

    void SetUp() override
    {
        if (sftp() ? !sftpServer.start() : !ftpServer.start())
            GTEST_SKIP() << "server unavailable: " << (sftp() ? sftpServer.why : ftpServer.why).toStdString();
        // Every test's server has a new host key, trusted as the user who
        // was asked about it would have.
        QFile::remove(knownHosts());
        if (sftp())
            ASSERT_TRUE(sftpServer.trustHostKey(knownHosts()));
        location->setServerType(3);
        location->setFtpType(GetParam());
        location->setLocation(QStringLiteral("127.0.0.1:") + QString::number(sftp() ? sftpServer.port : ftpServer.port));
        location->setUsername(sftp() ? sftpServer.user : QStringLiteral("tester"));
        location->setPassword(QStringLiteral("secret"));
        location->setFtpFolder(QStringLiteral("www/./site/"));
        controller.setRetryHandler([this] { publish(false); });
    }

    void publish(bool wait = true)
    {
        std::shared_ptr<XmlD> current;
        auto bom = site.changes(&current);
        controller.sendFTPBomLocationPathNameLastXmlDCurrentXmlD(bom.get(), location.get(), site.homepage(), current, site.document.lastXmlD());
        if (wait) {
            ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
        }
    }

    // The stored tree's files.
    QStringList stored() const
    {
        std::shared_ptr<XmlD> tree = lq::readLastXmlD(site.document.siteFolder);
        return tree ? tree->filePaths() : QStringList();
    }

    testservers::FTPServer ftpServer;
    testservers::SFTPServer sftpServer;
    PublishSite site;
    std::shared_ptr<XmlLocation> location = XmlLocation::create();
    SendController controller { &site.document };
};

} // namespace

TEST_P(TransferUpload, SendsEveryFileAndKeepsThePasswordOutOfTheLogs)
{
    site.write(QStringLiteral("index.html"), "<html>home</html>");
    site.write(QStringLiteral("pictures/my photo.jpg"), QByteArray(300000, 'j'));
    site.write(QStringLiteral("files/café & co.txt"), "accents");
    publish();
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString() << controller.debugLog().toStdString();
    // The panel stays with what was done; the Activity log has the same line.
    EXPECT_TRUE(controller.panelVisible());
    const QString published = QStringLiteral("Published 3 files (300024 bytes) to ") + (sftp() ? QStringLiteral("sftp://") : QStringLiteral("ftp://"))
        + location->location() + QStringLiteral("/www/site in ");
    EXPECT_TRUE(controller.status1().startsWith(published)) << controller.status1().toStdString();
    EXPECT_EQ(controller.cancelTitle(), QStringLiteral("Close"));
    ASSERT_FALSE(site.document.activity.isEmpty());
    EXPECT_EQ(site.document.activity.last(), controller.status1());
    const QString base = serverRoot() + QStringLiteral("/www/site");
    EXPECT_EQ(filesBelow(base), filesBelow(site.homepage()));
    EXPECT_TRUE(sameFiles(site.homepage(), base));
    EXPECT_EQ(site.document.lastbom(), site.document.createXmlD(QString())->createXml());
    // The tool's own talk is for the debug log only.
    const QString debug = controller.debugLog();
    EXPECT_TRUE(debug.contains(QStringLiteral("PASSWORD *")));
    EXPECT_FALSE(debug.contains(QStringLiteral("secret"))) << debug.toStdString();
    EXPECT_TRUE(debug.contains(QStringLiteral("PUT pictures/my%20photo.jpg"))) << debug.toStdString();
    const QString activity = site.document.activity.join(QLatin1Char('\n'));
    for (const QString& talk : {QStringLiteral("PASSWORD"), QStringLiteral("+OK"), QStringLiteral("+STAT"), QStringLiteral("PUT ")})
        EXPECT_FALSE(activity.contains(talk)) << activity.toStdString();

    // A second run sends only the changes and removes what went away.
    site.write(QStringLiteral("index.html"), "<html>home, edited</html>");
    QFile::remove(site.homepage() + QStringLiteral("/files/café & co.txt"));
    site.document.activity.clear();
    publish();
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    const QStringList commands = controller.debugLog().split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^(PUT|DELETE) ")));
    EXPECT_EQ(commands, QStringList({ QStringLiteral("DELETE files/caf%C3%A9%20&%20co.txt"), QStringLiteral("PUT index.html") }));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/files/café & co.txt")));
    EXPECT_EQ(readAll(base + QStringLiteral("/index.html")), QByteArray("<html>home, edited</html>"));
}

TEST_P(TransferUpload, ChangedHostKeyIsRefused)
{
    if (!sftp())
        GTEST_SKIP() << "host keys are an SFTP matter";
    site.write(QStringLiteral("index.html"), "home");
    publish();
    ASSERT_FALSE(controller.taskError()) << controller.status2().toStdString();
    QByteArray known = readAll(knownHosts());
    const QByteArray name = location->location().toUtf8() + ' ';
    ASSERT_TRUE(known.startsWith(name)) << known.toStdString();
    // Another key for the same server, as after a server was replaced: the
    // key's last two characters, each made another.
    known.chop(1);
    for (qsizetype i = known.size() - 2; i < known.size(); ++i)
        known[i] = known[i] == 'A' ? 'B' : 'A';
    known += '\n';
    writeAll(knownHosts(), known);
    site.write(QStringLiteral("index.html"), "home, edited");
    publish();
    EXPECT_TRUE(controller.taskError());
    EXPECT_TRUE(controller.status2().contains(QStringLiteral("host key"))) << controller.status2().toStdString();
    // Where the known key is kept and which line to remove, and no Retry, which would meet the same key.
    EXPECT_TRUE(controller.status2().contains(knownHosts())) << controller.status2().toStdString();
    EXPECT_TRUE(controller.status2().contains(QStringLiteral("\"") + QString::fromUtf8(name) + QLatin1Char('"'))) << controller.status2().toStdString();
    EXPECT_FALSE(controller.retryVisible());
    EXPECT_EQ(readAll(sftpServer.root() + QStringLiteral("/www/site/index.html")), QByteArray("home"));
}

TEST_P(TransferUpload, RefusedFileStoresThePartialTreeAndRetrySendsTheRest)
{
    for (const char* name : { "a.html", "b.html", "c.html", "d.html", "e.html" })
        site.write(QString::fromLatin1(name), QByteArray("page ") + name);
    // The server cannot take the fourth file: a folder stands in its place.
    // The others go on; the record holds only what arrived.
    const QString blocker = serverRoot() + QStringLiteral("/www/site/d.html");
    QDir().mkpath(blocker + QStringLiteral("/inside"));
    if (sftp())
        testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("-R"), sftpServer.user + QLatin1Char(':'), serverRoot() + QStringLiteral("/www") });
    publish();
    EXPECT_TRUE(controller.taskError());
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped; Retry sends what did not arrive"));
    EXPECT_TRUE(controller.status2().contains(QStringLiteral("\"d.html\""))) << controller.status2().toStdString();
    EXPECT_TRUE(controller.retryVisible());
    EXPECT_EQ(stored(), QStringList({ QStringLiteral("a.html"), QStringLiteral("b.html"), QStringLiteral("c.html"), QStringLiteral("e.html") }));
    EXPECT_EQ(readAll(serverRoot() + QStringLiteral("/www/site/e.html")), QByteArray("page e.html"));

    QDir(blocker).removeRecursively();
    site.document.activity.clear();
    controller.retryFTP();
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    EXPECT_FALSE(controller.taskError()) << controller.status2().toStdString();
    EXPECT_EQ(controller.debugLog().split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^PUT "))),
        QStringList({ QStringLiteral("PUT d.html") }));
    EXPECT_EQ(stored().size(), 5);
    EXPECT_EQ(readAll(serverRoot() + QStringLiteral("/www/site/d.html")), QByteArray("page d.html"));
}

TEST_P(TransferUpload, WrongPasswordAndMissingToolAreErrors)
{
    site.write(QStringLiteral("index.html"), "home");
    location->setPassword(QStringLiteral("wrong"));
    publish();
    EXPECT_TRUE(controller.taskError());
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped; Retry sends what did not arrive"));
    EXPECT_TRUE(stored().isEmpty());
    controller.cancel();
    EXPECT_FALSE(controller.panelVisible());

    qputenv("LUMENQUILL_LIBEXEC", site.dir.path().toUtf8());
    location->setPassword(QStringLiteral("secret"));
    publish();
    useBuiltHelperTools();
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped"));
    EXPECT_TRUE(controller.status2().contains(sftp() ? QStringLiteral("\"SFTP\"") : QStringLiteral("\"FTP\""))) << controller.status2().toStdString();
}

TEST_P(TransferUpload, ConnectionTest)
{
    auto test = [&] {
        controller.ftpTestExportPathName(location.get(), site.dir.path());
        ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    };
    // The base folder does not exist yet: the first publication makes it.
    test();
    EXPECT_EQ(controller.title(), QStringLiteral("Testing FTP Connection"));
    EXPECT_EQ(controller.cancelTitle(), QStringLiteral("Close"));
    EXPECT_EQ(controller.status1(), QStringLiteral("Test Passed. Connection Good")) << controller.debugLog().toStdString();
    EXPECT_EQ(controller.status2(), QStringLiteral("Connected; the folder www/site will be created at the first publication"));
    EXPECT_TRUE(site.document.activity.contains(controller.status2()));
    EXPECT_FALSE(QFileInfo::exists(serverRoot() + QStringLiteral("/www")));

    QDir().mkpath(serverRoot() + QStringLiteral("/www/site"));
    test();
    EXPECT_EQ(controller.status1(), QStringLiteral("Test Passed. Connection Good")) << controller.debugLog().toStdString();
    EXPECT_EQ(controller.status2(), QString());
    EXPECT_TRUE(controller.panelVisible());

    location->setPassword(QStringLiteral("wrong"));
    test();
    EXPECT_EQ(controller.status1(), QStringLiteral("Test Failed"));
    EXPECT_TRUE(controller.status2().startsWith(QStringLiteral("The server refused the user name or password."))) << controller.status2().toStdString();
    EXPECT_FALSE(QFileInfo::exists(site.document.siteFolder + QStringLiteral("/lastbom.xmlbase")));
}

INSTANTIATE_TEST_SUITE_P(Protocols, TransferUpload, ::testing::Values(0, 1), [](const ::testing::TestParamInfo<int>& info) {
    return std::string(info.param == 0 ? "FTP" : "SFTP");
});

TEST(TransferCommands, BaseFolderForms)
{
    EXPECT_EQ(FTPRoad::ftpStripVornSlashes(QStringLiteral("/www/./site/")), QStringLiteral("www/site"));
    EXPECT_EQ(FTPRoad::ftpStripVornSlashes(QStringLiteral("www//site")), QStringLiteral("www/site"));
    EXPECT_EQ(FTPRoad::ftpStripVornSlashes(QString()), QString());
}

TEST_P(TransferUpload, KilledToolStoresThePartialTree)
{
    site.write(QStringLiteral("a.html"), "a");
    site.write(QStringLiteral("b.html"), "b");
    site.write(QStringLiteral("c.bin"), QByteArray(400 * 1024 * 1024, 'c'));
    site.write(QStringLiteral("d.html"), "d");
    publish(false);
    ASSERT_TRUE(processEventsUntil([&] { return controller.status2().startsWith(QStringLiteral("Sending c.bin")) || !controller.isRunning(); }));
    const pid_t tool = childRunning(QString::fromUtf8(LQ_TEST_LIBEXEC) + QStringLiteral("/FTP"));
    ASSERT_GT(tool, 0);
    ::kill(tool, SIGKILL);
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }));
    EXPECT_TRUE(controller.taskError());
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped; Retry sends what did not arrive"));
    EXPECT_EQ(stored(), QStringList({ QStringLiteral("a.html"), QStringLiteral("b.html") }));
    // What the tool wrote of the file went to a temporary name, never to the file's own.
    EXPECT_FALSE(QFileInfo::exists(serverRoot() + QStringLiteral("/www/site/c.bin")));
}

TEST_P(TransferUpload, ToolRefusesPathsOutOfTheFolderAndTakesMissingFilesAsRemoved)
{
    QProcess tool;
    tool.setWorkingDirectory(site.dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUMENQUILL_KNOWN_HOSTS"), knownHosts());
    tool.setProcessEnvironment(environment);
    tool.start(QString::fromUtf8(LQ_TEST_LIBEXEC) + (sftp() ? QStringLiteral("/SFTP") : QStringLiteral("/FTP")), {});
    ASSERT_TRUE(tool.waitForStarted());
    QDir().mkpath(serverRoot() + QStringLiteral("/www"));
    if (sftp())
        testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("-R"), sftpServer.user + QLatin1Char(':'), serverRoot() + QStringLiteral("/www") });
    const QByteArray commands = "HOST " + location->location().toUtf8() + "\nUSERNAME " + location->username().toUtf8()
        + "\nPASSWORD secret\nBASEDIR www\nCONNECT\nPUT ../escape.txt\nPUT a/%2E%2E/b\nDELETE missing%20file.html\nQUIT\n";
    tool.write(commands);
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(20000));
    const QStringList replies = QString::fromUtf8(tool.readAllStandardOutput()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(replies, QStringList({ sftp() ? QStringLiteral("+OK SFTP") : QStringLiteral("+OK FTP"), QStringLiteral("+OK HOST"),
                           QStringLiteral("+OK USERNAME"), QStringLiteral("+OK PASSWORD"), QStringLiteral("+OK BASEDIR"),
                           QStringLiteral("+OK CONNECT"), QStringLiteral("-ERR 3 0 Refused path: ../escape.txt"),
                           QStringLiteral("-ERR 3 0 Refused path: a/%2E%2E/b"), QStringLiteral("+OK DELETE"), QStringLiteral("+OK QUIT") }))
        << tool.readAllStandardError().toStdString();
    EXPECT_EQ(tool.exitCode(), 0);
}
