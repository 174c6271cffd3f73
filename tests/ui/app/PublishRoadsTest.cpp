// Publishing a site made from the shipped starter against what a hostile
// record, hostile field values or a hostile server can do: the roads the
// publish panel takes, with real folders, apache2 (WebDAV), pyftpdlib (FTP),
// sshd (SFTP) and servers of the test's own on 127.0.0.1.
#include "ui/app/MyDocumentWindow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/DigestListing.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/TransferLimits.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/SiteBuildRun.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/TestServers.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace {

using HostileEntries = QList<QPair<QStringList, QString>>;

// The tree with hostile entries beside its own: each a folder path, then a
// file name.
std::shared_ptr<XmlD> withHostileEntries(XmlD* tree, const HostileEntries& entries)
{
    std::shared_ptr<XmlD> copy = std::dynamic_pointer_cast<XmlD>(tree->copyWithZone());
    for (const auto& [folders, file] : entries) {
        XmlD* at = copy.get();
        for (const QString& name : folders) {
            auto folder = XmlD::create();
            folder->setName(name);
            at->addChild(folder);
            at = folder.get();
        }
        auto node = XmlF::create();
        node->setName(file);
        node->setMd5(QStringLiteral("0123"));
        at->addChild(node);
    }
    return copy;
}

// A stored record of the last publication: the generated site as it is,
// and beside it the hostile entries.
void writeHostileRecord(const QString& siteFolder, XmlD* current, const HostileEntries& entries)
{
    ASSERT_TRUE(lq::writeLastXmlD(siteFolder, withHostileEntries(current, entries).get(), nullptr));
}

// A server of the test's own on 127.0.0.1 that misbehaves as asked:
// "endless listing" (FTP: a listing that never ends), "slow listing" (FTP: a
// listing of one byte every 0.2 s), "slow answer" (HTTP: an answer of one
// byte every 0.2 s), or "silent ftp" and "silent http" (never a word).
class HostileServer {
public:
    QTemporaryDir base;
    testservers::ServerProcess server;
    int port = 0;
    QString why;

    bool start(const QString& mode)
    {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (!QFileInfo(python).isExecutable()) {
            why = QStringLiteral("python3 is not installed");
            return false;
        }
        writeAll(base.path() + QStringLiteral("/hostile.py"), R"PY(
import socket, sys, threading, time
port, mode = int(sys.argv[1]), sys.argv[2]

def trickle(connection, data):
    try:
        while True:
            for byte in data:
                connection.sendall(bytes([byte]))
                time.sleep(0.2)
    except OSError:
        pass

def listing(data):
    try:
        if mode == 'endless listing':
            n = 0
            while True:
                data.sendall(b''.join(b'name%d\r\n' % (n + i) for i in range(1000)))
                n += 1000
        else:
            trickle(data, b'name\r\n')
    except OSError:
        pass

def ftp(connection):
    say = lambda line: connection.sendall((line + '\r\n').encode())
    passive = None
    say('220 hostile')
    for raw in connection.makefile('rb'):
        verb = raw.decode('latin-1').strip().split(' ')[0].upper()
        if verb == 'USER': say('331 password please')
        elif verb == 'PASS': say('230 logged in')
        elif verb == 'PWD': say('257 "/" is the folder')
        elif verb == 'CWD': say('250 here')
        elif verb in ('TYPE', 'MODE', 'STRU'): say('200 ok')
        elif verb in ('EPSV', 'PASV'):
            passive = socket.socket()
            passive.bind(('127.0.0.1', 0))
            passive.listen(1)
            p = passive.getsockname()[1]
            say('229 Entering Extended Passive Mode (|||%d|)' % p if verb == 'EPSV'
                else '227 Entering Passive Mode (127,0,0,1,%d,%d)' % (p // 256, p % 256))
        elif verb in ('NLST', 'LIST'):
            say('150 here it comes')
            data, _ = passive.accept()
            listing(data)
            data.close()
            passive.close()
            try: say('226 done')
            except OSError: return
        elif verb == 'QUIT':
            say('221 bye')
            return
        else: say('502 not here')

def silent(connection):
    connection.recv(65536)
    time.sleep(3600)

def http(connection):
    connection.recv(65536)
    trickle(connection, b'HTTP/1.1 207 Multi-Status\r\nContent-Length: 100\r\n\r\n' + b'x' * 100)

listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(('127.0.0.1', port))
listener.listen(8)
while True:
    connection, _ = listener.accept()
    serve = silent if mode.startswith('silent') else http if mode == 'slow answer' else ftp
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
)PY");
        port = testservers::freePort();
        const QString log = base.path() + QStringLiteral("/hostile.log");
        if (!server.start(python, { base.path() + QStringLiteral("/hostile.py"), QString::number(port), mode }, log)
            || !testservers::waitForPort(port, server.pid())) {
            why = QStringLiteral("the hostile server did not start: ") + QString::fromUtf8(readAll(log));
            return false;
        }
        return true;
    }
};

// The starter site, built the way an export builds it, and the uploader
// with the publish panel's roads over it.
class PublishRoadsTest : public StarterSiteTest {
protected:
    PublishRoadsTest()
        : StarterSiteTest(QStringLiteral("Site.lqxl"))
    {
    }

    void SetUp() override
    {
        useBuiltHelperTools();
        StarterSiteTest::SetUp();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        ASSERT_TRUE(SiteBuildRun(document).wait());
        ASSERT_TRUE(QFileInfo::exists(homepage(QStringLiteral("index.html"))));
    }

    void TearDown() override
    {
        lq::setOpenURLHandler({});
        lq::setTransferLimits(lq::TransferLimits());
    }

    bool waitForTheUploader() { return processEventsUntil([&] { return !sender.isRunning(); }, 120000); }
    std::shared_ptr<XmlD> current() { return document.createXmlD(QString()); }
    QString activity() { return document.activityText(); }
    PublishRequest toWebDAV(const QString& address, const QString& passPhrase, bool changesOnly)
    {
        PublishRequest request;
        request.road = PublishRequest::Road::WebDAV;
        request.pathName = homepage();
        request.changesOnly = changesOnly;
        request.baseURL = address;
        request.passPhrase = passPhrase;
        return request;
    }
    PublishRequest toFolder(const QString& folder, bool changesOnly)
    {
        PublishRequest request;
        request.road = PublishRequest::Road::Folder;
        request.pathName = homepage();
        request.changesOnly = changesOnly;
        request.folder = folder;
        return request;
    }
    PublishRequest overFTP(XmlLocation& location, bool changesOnly)
    {
        PublishRequest request;
        request.road = PublishRequest::Road::FTP;
        request.pathName = homepage();
        request.changesOnly = changesOnly;
        request.location = &location;
        return request;
    }

    SendController sender { &document };
    Publisher roads { document, sender };
};

constexpr const char* refusedRecord = "The record of the last publication was set aside";

TEST_F(PublishRoadsTest, ARecordNamingPlacesOutsideTheFolderIsSetAsideAndEverythingIsCopied)
{
    const QString out = work.filePath(QStringLiteral("out"));
    const QString destination = out + QStringLiteral("/site");
    writeAll(out + QStringLiteral("/victim.txt"), "beside the export");
    writeAll(out + QStringLiteral("/victim/inside.txt"), "in a folder beside the export");
    writeAll(work.filePath(QStringLiteral("far.txt")), "two folders up");
    writeAll(destination + QStringLiteral("/stale.html"), "left by hand");
    writeHostileRecord(folder, current().get(),
        { { { QStringLiteral("..") }, QStringLiteral("victim.txt") }, { {}, QStringLiteral("../victim.txt") },
            { { QStringLiteral(".."), QStringLiteral("victim") }, QStringLiteral("inside.txt") },
            { { QStringLiteral("pictures") }, QStringLiteral("..\\..\\far.txt") }, { {}, QStringLiteral("../../far.txt") } });

    roads.send(toFolder(destination, true));
    ASSERT_TRUE(waitForTheUploader());
    EXPECT_FALSE(sender.taskError()) << sender.status2().toStdString();
    for (const QString& kept : { out + QStringLiteral("/victim.txt"), out + QStringLiteral("/victim/inside.txt"), work.filePath(QStringLiteral("far.txt")) })
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
    // Treated as no record: every file arrived and nothing was removed.
    QStringList expected = filesBelow(homepage());
    expected.append(QStringLiteral("stale.html"));
    expected.sort();
    EXPECT_EQ(filesBelow(destination), expected);
    EXPECT_TRUE(sender.status1().startsWith(QStringLiteral("Published ") + QString::number(filesBelow(homepage()).size()) + QStringLiteral(" files")))
        << sender.status1().toStdString();
    // The panel and the Activity log say why.
    EXPECT_TRUE(sender.status2().startsWith(QLatin1String(refusedRecord))) << sender.status2().toStdString();
    EXPECT_TRUE(activity().contains(QLatin1String(refusedRecord))) << activity().toStdString();
    // The record is now the site as published, and it is taken again.
    QString why;
    std::shared_ptr<XmlD> stored = lq::readLastXmlD(folder, &why);
    ASSERT_TRUE(stored) << why.toStdString();
    EXPECT_EQ(stored->filePaths(), current()->filePaths());
}

TEST_F(PublishRoadsTest, AChangeSetNamingPlacesOutsideTheFolderRemovesNothingThere)
{
    // A change set made from a hostile tree without reading the record.
    const QString out = work.filePath(QStringLiteral("out"));
    const QString destination = out + QStringLiteral("/site");
    writeAll(out + QStringLiteral("/victim.txt"), "beside the export");
    auto hostile = XmlD::create();
    for (const QString& name : { QStringLiteral(".."), QStringLiteral("../victim.txt"), QStringLiteral("..\\victim.txt"), QStringLiteral("") }) {
        auto node = XmlF::create();
        node->setName(name);
        hostile->addChild(node);
    }
    auto parent = XmlD::create();
    parent->setName(QStringLiteral(".."));
    auto victim = XmlF::create();
    victim->setName(QStringLiteral("victim.txt"));
    parent->addChild(victim);
    hostile->addChild(parent);
    std::shared_ptr<XmlD> now = current();
    auto bom = XmlBom::createWithSourceDest(now.get(), hostile.get());
    ASSERT_EQ(bom->removeFiles()->fileCount(), 5);
    bom->setRootSource(homepage());
    bom->setRootDest(destination);
    EXPECT_EQ(bom->createFiles(), QString());
    EXPECT_EQ(readAll(out + QStringLiteral("/victim.txt")), QByteArray("beside the export"));
    EXPECT_EQ(filesBelow(destination), filesBelow(homepage()));
}

TEST_F(PublishRoadsTest, OverWebDAVARecordNamingPlacesOutsideTheFolderSendsNoDelete)
{
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    writeAll(server.davRoot() + QStringLiteral("/victim.txt"), "beside the site");
    writeAll(server.davRoot() + QStringLiteral("/site/victim.txt"), "a file of the site folder");
    if (::geteuid() == 0)
        testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("-R"), QStringLiteral("www-data:www-data"), server.davRoot() });
    const QString site = WebDAVRoad::webDAVAddress(server.address()) + QStringLiteral("/site");
    writeHostileRecord(folder, current().get(),
        { { { QStringLiteral("..") }, QStringLiteral("victim.txt") }, { {}, QStringLiteral("../victim.txt") }, { {}, QStringLiteral("%2e%2e/victim.txt") } });

    roads.send(toWebDAV(site, QStringLiteral("tester:secret"), true));
    ASSERT_TRUE(waitForTheUploader());
    EXPECT_FALSE(sender.taskError()) << sender.status2().toStdString();
    const QStringList requests = server.requests();
    EXPECT_TRUE(requests.filter(QStringLiteral("DELETE")).isEmpty()) << requests.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/victim.txt")), QByteArray("beside the site"));
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/site/victim.txt")), QByteArray("a file of the site folder"));
    QStringList expected = filesBelow(homepage()) << QStringLiteral("victim.txt");
    expected.sort();
    EXPECT_EQ(filesBelow(server.davRoot() + QStringLiteral("/site")), expected);
    EXPECT_TRUE(sender.status2().startsWith(QLatin1String(refusedRecord))) << sender.status2().toStdString();

    // A change set that names such places all the same: each is refused
    // before it is sent, and the upload says that not everything went.
    sender.cancel();
    const int before = server.requests().size();
    std::shared_ptr<XmlD> now = current();
    std::shared_ptr<XmlD> hostile = withHostileEntries(now.get(),
        { { { QStringLiteral("..") }, QStringLiteral("victim.txt") }, { {}, QStringLiteral("../victim.txt") } });
    auto bom = XmlBom::createWithSourceDest(now.get(), hostile.get());
    ASSERT_EQ(bom->removeFiles()->fileCount(), 2);
    sender.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom.get(), site, homepage(), QStringLiteral("tester:secret"), now, QString(), 0);
    ASSERT_TRUE(waitForTheUploader());
    const QStringList later = server.requests().mid(before);
    EXPECT_TRUE(later.filter(QStringLiteral("DELETE")).isEmpty()) << later.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(readAll(server.davRoot() + QStringLiteral("/victim.txt")), QByteArray("beside the site"));
    EXPECT_TRUE(sender.taskError());
    // Nothing went; the one line says so, then why.
    EXPECT_TRUE(sender.status2().startsWith(QStringLiteral("Nothing was published to ") + site
        + QStringLiteral(". 2 file(s) could not be sent or removed; the details name each. Refused a name that leads out of the site folder: ")))
        << sender.status2().toStdString();
    EXPECT_TRUE(activity().contains(QStringLiteral("Refused a name that leads out of the site folder: ..%2Fvictim.txt"))) << activity().toStdString();
}

// The FTP and SFTP roads (parameter 0 and 1) to real servers on 127.0.0.1.
class LineProtocolValues : public PublishRoadsTest, public ::testing::WithParamInterface<int> {
protected:
    bool sftp() const { return GetParam() == 1; }
    QString serverRoot() const { return sftp() ? sftpServer.root() : ftpServer.root(); }

    void SetUp() override
    {
        PublishRoadsTest::SetUp();
        if (HasFatalFailure())
            return;
        if (sftp() ? !sftpServer.start() : !ftpServer.start())
            GTEST_SKIP() << "server unavailable: " << (sftp() ? sftpServer.why : ftpServer.why).toStdString();
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
        // The server's new host key, trusted as the user asked about it would.
        if (sftp())
            ASSERT_TRUE(sftpServer.trustHostKey(lq::supportFolder() + QStringLiteral("/known_hosts")));
        configure();
    }

    // The destination as the account was made.
    void configure()
    {
        location().setServerType(XmlLocation::FTPServer);
        location().setFtpType(GetParam());
        location().setUsername(sftp() ? sftpServer.user : QStringLiteral("tester"));
        location().setPassword(QStringLiteral("secret"));
        location().setLocation(hostAndPort());
        location().setFtpFolder(QStringLiteral("www/site"));
    }

    XmlLocation& location() { return *document.location(); }
    QString hostAndPort() const { return QStringLiteral("127.0.0.1:") + QString::number(sftp() ? sftpServer.port : ftpServer.port); }

    testservers::FTPServer ftpServer;
    testservers::SFTPServer sftpServer;
};

TEST_P(LineProtocolValues, ALineBreakInAFieldNeverBecomesACommand)
{
    struct Case {
        const char* what;
        std::function<void(XmlLocation&, const QString& hostAndPort)> set;
        QString refusal;   // "" when the publication goes through
    };
    const QList<Case> cases = {
        { "commands after the password",
            [](XmlLocation& at, const QString&) { at.setPassword(QStringLiteral("secret\nCONNECT\nDELETE victim.html")); },
            QStringLiteral("The password holds a line break") },
        { "a carriage return in the password", [](XmlLocation& at, const QString&) { at.setPassword(QStringLiteral("secret\rQUIT")); },
            QStringLiteral("The password holds a line break") },
        { "a NUL in the password", [](XmlLocation& at, const QString&) { at.setPassword(QStringLiteral("secret") + QChar(0) + QStringLiteral("x")); },
            QStringLiteral("The password holds a NUL character") },
        { "commands after the user name", [](XmlLocation& at, const QString&) { at.setUsername(at.username() + QStringLiteral("\nDELETE victim.html")); },
            QStringLiteral("The user name holds a line break") },
        { "commands after the host",
            [](XmlLocation& at, const QString& host) { at.setLocation(host + QStringLiteral("\nCONNECT\nDELETE victim.html")); },
            QStringLiteral("The server address holds a line break") },
        { "commands in the folder", [](XmlLocation& at, const QString&) { at.setFtpFolder(QStringLiteral("www\nDELETE victim.html\nx")); },
            QStringLiteral("Refused folder") },
        { "a password pasted with a newline", [](XmlLocation& at, const QString&) { at.setPassword(QStringLiteral("secret\n")); }, QString() },
        { "a password pasted with CR LF", [](XmlLocation& at, const QString&) { at.setPassword(QStringLiteral("secret\r\n")); }, QString() },
    };
    const QString base = serverRoot() + QStringLiteral("/www/site");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(serverRoot() + QStringLiteral("/victim.html"), "outside the publish folder");
        QDir(serverRoot() + QStringLiteral("/www")).removeRecursively();
        QFile::remove(folder + QStringLiteral("/lastbom.xmlbase"));
        c.set(location(), hostAndPort());
        roads.send(overFTP(location(), false));
        ASSERT_TRUE(waitForTheUploader());
        EXPECT_TRUE(QFileInfo::exists(serverRoot() + QStringLiteral("/victim.html")));
        if (c.refusal.isEmpty()) {
            EXPECT_FALSE(sender.taskError()) << sender.status2().toStdString() << sender.debugLog().toStdString();
            EXPECT_EQ(filesBelow(base), filesBelow(homepage()));
        } else {
            EXPECT_TRUE(sender.taskError());
            EXPECT_TRUE(sender.status2().contains(c.refusal)) << sender.status2().toStdString();
            EXPECT_TRUE(filesBelow(base).isEmpty()) << filesBelow(base).join(QLatin1Char(' ')).toStdString();
            EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
        }
        EXPECT_FALSE(sender.debugLog().contains(QStringLiteral("Unknown command"))) << sender.debugLog().toStdString();
        sender.cancel();
        configure();
    }
}

TEST_P(LineProtocolValues, ARecordNamingPlacesOutsideTheFolderRemovesNothingThere)
{
    writeAll(serverRoot() + QStringLiteral("/www/victim.html"), "beside the publish folder");
    if (sftp())
        testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("-R"), sftpServer.user + QLatin1Char(':'), serverRoot() });
    writeHostileRecord(folder, current().get(), { { { QStringLiteral("..") }, QStringLiteral("victim.html") }, { {}, QStringLiteral("../victim.html") } });
    roads.send(overFTP(location(), true));
    ASSERT_TRUE(waitForTheUploader());
    EXPECT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(readAll(serverRoot() + QStringLiteral("/www/victim.html")), QByteArray("beside the publish folder"));
    EXPECT_EQ(filesBelow(serverRoot() + QStringLiteral("/www/site")), filesBelow(homepage()));
    EXPECT_FALSE(sender.debugLog().contains(QStringLiteral("DELETE"))) << sender.debugLog().toStdString();
    EXPECT_TRUE(sender.status2().startsWith(QLatin1String(refusedRecord))) << sender.status2().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Protocols, LineProtocolValues, ::testing::Values(0, 1), [](const ::testing::TestParamInfo<int>& info) {
    return info.param == 0 ? std::string("FTP") : std::string("SFTP");
});

TEST_F(PublishRoadsTest, AWebDAVAccountIsOneLineForTheRequestTool)
{
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    const QString site = WebDAVRoad::webDAVAddress(server.address()) + QStringLiteral("/site");
    struct Case {
        const char* what;
        QString passPhrase;
        bool sent;
    };
    for (const Case& c : { Case { "pasted with a newline", QStringLiteral("tester:secret\n"), true },
             Case { "user pasted with CR LF", QStringLiteral("tester\r\n:secret"), true },
             Case { "a line break inside", QStringLiteral("tester:sec\nret"), false } }) {
        SCOPED_TRACE(c.what);
        const int before = server.requests().size();
        roads.send(toWebDAV(site, c.passPhrase, false));
        ASSERT_TRUE(waitForTheUploader());
        EXPECT_EQ(sender.taskError(), !c.sent) << sender.status2().toStdString();
        if (c.sent) {
            EXPECT_EQ(filesBelow(server.davRoot() + QStringLiteral("/site")), filesBelow(homepage()));
        } else {
            EXPECT_EQ(sender.status2(), QStringLiteral("The user name or password holds a line break, which cannot be sent to the transfer tool; "
                                                       "nothing was sent. Type it again on one line."));
            EXPECT_EQ(server.requests().size(), before);
        }
        sender.cancel();
    }
}

TEST_F(PublishRoadsTest, AServerThatAnswersWithoutEndOrByTheByteIsLeft)
{
    // Bounds small enough for a test; the defaults are minutes and megabytes.
    lq::TransferLimits limits;
    limits.stallSeconds = 5;
    limits.baseSeconds = 2;
    limits.slowestBytesPerSecond = 1024 * 1024;
    limits.listingBytes = 64 * 1024;
    limits.listingNames = 2000;
    lq::setTransferLimits(limits);
    struct Case {
        const char* mode;
        bool test;          // the FTP connection test, else a WebDAV publication
        QString headline;
        QString says;
    };
    const QList<Case> cases = {
        { "endless listing", true, QStringLiteral("Test Failed"), QStringLiteral("the server's listing is longer than 2000 names or 65536 bytes") },
        { "slow listing", true, QStringLiteral("Test Failed"), QStringLiteral("the server stopped answering") },
        { "slow answer", false, QStringLiteral("The publication stopped"), QStringLiteral("Network connection timed out: the server stopped answering") },
        { "silent ftp", true, QStringLiteral("Test Failed"), QStringLiteral("the server stopped answering") },
        { "silent http", false, QStringLiteral("The publication stopped"), QStringLiteral("Network connection timed out: the server stopped answering") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        HostileServer server;
        if (!server.start(QString::fromLatin1(c.mode)))
            GTEST_SKIP() << server.why.toStdString();
        const QString address = QStringLiteral("127.0.0.1:") + QString::number(server.port);
        if (c.test) {
            XmlLocation& at = *document.location();
            at.setServerType(XmlLocation::FTPServer);
            at.setFtpType(0);
            at.setUsername(QStringLiteral("tester"));
            at.setPassword(QStringLiteral("secret"));
            at.setLocation(address);
            at.setFtpFolder(QStringLiteral("site"));
            roads.testConnection(overFTP(at, true));
        } else {
            roads.send(toWebDAV(WebDAVRoad::webDAVAddress(address) + QStringLiteral("/site"), QStringLiteral("tester:secret"), false));
        }
        ASSERT_TRUE(waitForTheUploader());
        EXPECT_TRUE(sender.taskError());
        EXPECT_EQ(sender.status1(), c.headline);
        EXPECT_TRUE(sender.status2().contains(c.says)) << sender.status2().toStdString();
        EXPECT_TRUE(activity().contains(c.says)) << activity().toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
        sender.cancel();
    }
}

// The window's own build before each publication, as the publish panel starts it.
class PublishAfterEditingTest : public PublishRoadsTest {
protected:
    void SetUp() override
    {
        PublishRoadsTest::SetUp();
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
    }
    void TearDown() override
    {
        window.reset();
        PublishRoadsTest::TearDown();
    }

    bool buildInTheWindow()
    {
        bool built = false;
        window->prepareForExport([&] { built = true; });
        return processEventsUntil([&] { return built; }, 120000);
    }
    void clickOperation(XmlWebPhotoAlbum::ClickOperation operation)
    {
        for (const auto& album : templateNumbered(1)->childrenOfType<XmlWebPhotoAlbum>())
            album->settings().setClickOp(operation);
    }

    ScopedModalHandler modal;
    std::unique_ptr<MyDocumentWindow> window;
};

TEST_F(PublishAfterEditingTest, AFileTheBuildNoLongerMakesIsRemovedAtTheNextPublication)
{
    auto album = addPage(home(), 1, QStringLiteral("Trip"));
    for (int i = 0; i < 2; ++i) {
        const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
        writeAll(source, jpegBytes(400, 300, i == 0 ? Qt::darkRed : Qt::darkCyan));
        ASSERT_NE(album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo %1").arg(i)), nullptr);
    }
    writeAll(folder + QStringLiteral("/files/notes.txt"), "a file of my own");
    clickOperation(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    const QString slideshow = QStringLiteral("slideshow") + QString::number(album->pageSeqNumber()) + QStringLiteral(".html");
    const QString destination = work.filePath(QStringLiteral("out"));
    ASSERT_TRUE(buildInTheWindow());
    ASSERT_TRUE(QFileInfo::exists(homepage(slideshow))) << filesBelow(homepage()).join(QLatin1Char(' ')).toStdString();
    roads.send(toFolder(destination, true));
    ASSERT_TRUE(waitForTheUploader());
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_TRUE(QFileInfo::exists(destination + QLatin1Char('/') + slideshow));
    EXPECT_EQ(readAll(destination + QStringLiteral("/notes.txt")), QByteArray("a file of my own"));
    sender.cancel();

    // A click now opens the lightbox: the slideshow page is made no more,
    // and the next publication of the changes removes it.
    clickOperation(XmlWebPhotoAlbum::ClickOperation::Lightbox);
    ASSERT_TRUE(buildInTheWindow());
    EXPECT_FALSE(QFileInfo::exists(homepage(slideshow)));
    roads.send(toFolder(destination, true));
    ASSERT_TRUE(waitForTheUploader());
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination + QLatin1Char('/') + slideshow));
    EXPECT_EQ(filesBelow(destination), filesBelow(homepage()));
    EXPECT_TRUE(filesBelow(destination).contains(QStringLiteral("notes.txt")));
}

TEST_F(PublishAfterEditingTest, TheHomePageUnderAnotherNameIsAlsoTheIndexPage)
{
    auto* first = dynamic_cast<XmlWebItem*>(site().defaultAlbum().get());
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->fileName(), QStringLiteral("index.html"));
    first->setFileName(QStringLiteral("home.html"));
    ASSERT_TRUE(buildInTheWindow());
    ASSERT_TRUE(QFileInfo::exists(homepage(QStringLiteral("home.html"))));
    EXPECT_EQ(readAll(homepage(QStringLiteral("index.html"))), readAll(homepage(QStringLiteral("home.html"))));
}

} // namespace
