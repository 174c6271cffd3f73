// What a publication says when the server will not have it, checked
// against real servers on 127.0.0.1 that do each thing: apache2 (WebDAV,
// also over https with a certificate of its own and with Digest only),
// pyftpdlib (FTP) and sshd (SFTP), a port nobody listens on, a folder the
// account cannot write, a full disk (a small tmpfs under the server's
// folder), and an FTP server that refuses a file with 451. The site is the
// starter site, built by the document's own build and sent by the
// Publisher.
#include "document/DocumentSiteBuilder.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/SiteBuildRun.h"
#include "support/SmallFilesystem.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"

#include <QUrl>

#include <functional>
#include <ostream>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

enum class Road { Folder, WebDAV, FTP, SFTP };

void PrintTo(Road road, std::ostream* out)
{
    const char* names[] = { "Folder", "WebDAV", "FTP", "SFTP" };
    *out << names[static_cast<int>(road)];
}

QStringList without(QStringList items, const QStringList& left)
{
    for (const QString& item : left)
        items.removeAll(item);
    return items;
}

std::string roadName(const ::testing::TestParamInfo<Road>& info)
{
    const char* names[] = { "Folder", "WebDAV", "FTP", "SFTP" };
    return names[static_cast<int>(info.param)];
}

// The starter site, built once by the document's build; each publication
// sends the built folder as it is, as Retry does.
class ServerAnswers : public StarterSiteTest {
protected:
    ServerAnswers()
        : StarterSiteTest(QStringLiteral("Site.lqxl"))
    {
    }

    void SetUp() override
    {
        useBuiltHelperTools();
        StarterSiteTest::SetUp();
        if (HasFatalFailure())
            return;
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        QFile::remove(knownHosts());
        prepareSite();
        SiteBuildRun build(document);
        ASSERT_TRUE(build.wait(120000)) << build.why.toStdString();
        publisher.addObserver(&reports);
    }

    void TearDown() override { lq::setOpenURLHandler({}); }

    // What the site holds besides the starter's pages, before it is built.
    virtual void prepareSite() { }

    static QString knownHosts() { return lq::supportFolder() + QStringLiteral("/known_hosts"); }

    void toWebDAV(const QString& address, const QString& password, bool digest = false)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::WebDAV);
        where.setLocation(address);
        where.setUsername(QStringLiteral("tester"));
        where.setPassword(password);
        where.setDigest(digest ? 1 : 0);
    }
    void toFTP(bool sftp, int port, const QString& user, const QString& password)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::FTPServer);
        where.setFtpType(sftp ? 1 : 0);
        where.setLocation(QStringLiteral("127.0.0.1:") + QString::number(port));
        where.setUsername(user);
        where.setPassword(password);
        where.setFtpFolder(QStringLiteral("site"));
    }
    void toFolder(const QString& path)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::LocalFolder);
        where.setExportFolder(QUrl::fromLocalFile(path).toString());
    }

    // Sends the built folder to the stored destination; how it ended.
    const PublishObserver::Ending* send(bool changesOnly = true)
    {
        sender.cancel();
        const qsizetype before = reports.endings.size();
        publisher.send(PublishRequest::fromLocation(*document.location(), homepage(), changesOnly));
        if (!reports.waitForEnding(before, 180000))
            return nullptr;
        return reports.lastEnding();
    }

    static QStringList pathsOf(const FileFailures& failures)
    {
        QStringList paths;
        for (const FileFailure& failure : failures)
            paths.append(failure.path);
        return paths;
    }

    // Starts the road's server and makes it the destination; the folder
    // the site arrives in on the server, or "" with why when the server
    // cannot run here.
    QString startRoad(Road road, QString* why)
    {
        switch (road) {
        case Road::Folder:
            toFolder(work.filePath(QStringLiteral("published")));
            return work.filePath(QStringLiteral("published"));
        case Road::WebDAV:
            if (!webDAV.start(false))
                *why = webDAV.why;
            toWebDAV(webDAV.url() + QStringLiteral("/site"), QStringLiteral("secret"));
            return webDAV.davRoot() + QStringLiteral("/site");
        case Road::FTP:
            if (!ftp.start())
                *why = ftp.why;
            toFTP(false, ftp.port, QStringLiteral("tester"), QStringLiteral("secret"));
            return ftp.root() + QStringLiteral("/site");
        case Road::SFTP:
            if (!sftp.start())
                *why = sftp.why;
            else
                sftp.trustHostKey(knownHosts());
            toFTP(true, sftp.port, sftp.user, QStringLiteral("secret"));
            return sftp.root() + QStringLiteral("/site");
        }
        return QString();
    }

    // Gives the site folder on the server to the account the server
    // writes as.
    void ownedByTheServer(Road road, const QString& serverFolder)
    {
        QDir().mkpath(serverFolder);
        if (road == Road::WebDAV)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), serverFolder });
        if (road == Road::SFTP)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { sftp.user + QLatin1Char(':'), serverFolder });
    }

    RecordingPublishObserver reports;
    SendController sender { &document };
    Publisher publisher { document, sender };
    testservers::WebDAVServer webDAV;
    testservers::FTPServer ftp;
    testservers::SFTPServer sftp;
};

} // namespace

TEST_F(ServerAnswers, ARefusedAccountAServerThatIsNotThereAndOneNotTrustedSayWhatIsWrong)
{
    testservers::WebDAVServer basic;
    testservers::WebDAVServer digestOnly;
    testservers::WebDAVServer https;
    if (!basic.start(false) || !digestOnly.start(true) || !https.start(false, true))
        GTEST_SKIP() << (basic.why + digestOnly.why + https.why).toStdString();
    if (!ftp.start() || !sftp.start())
        GTEST_SKIP() << (ftp.why + sftp.why).toStdString();
    const int nobody = testservers::freePort();
    const QString stopped = QStringLiteral("127.0.0.1:") + QString::number(nobody);
    const QString noAnswer = QStringLiteral("No server answered at ") + stopped
        + QStringLiteral(": it is stopped or out of reach, or the address or port is wrong.");
    const QString refused = QStringLiteral("The server refused the user name or password.");
    struct Case {
        const char* what;
        std::function<void()> destination;
        QString says;       // how the text begins (the server's own words may follow)
        QString alsoSays;   // "" for nothing more
    };
    const QList<Case> cases = {
        { "WebDAV, a wrong password", [&] { toWebDAV(basic.url() + QStringLiteral("/site"), QStringLiteral("wrong")); }, refused, {} },
        { "FTP, a wrong password", [&] { toFTP(false, ftp.port, QStringLiteral("tester"), QStringLiteral("wrong")); }, refused, {} },
        { "SFTP, a wrong password", [&] { toFTP(true, sftp.port, sftp.user, QStringLiteral("wrong")); }, refused, {} },
        { "WebDAV, Digest asked for", [&] { toWebDAV(digestOnly.url() + QStringLiteral("/site"), QStringLiteral("secret")); },
            QStringLiteral("The server asks for Digest authentication: tick \"Digest\" and publish again."), {} },
        { "WebDAV, no server", [&] { toWebDAV(QStringLiteral("http://") + stopped + QStringLiteral("/site"), QStringLiteral("secret")); }, noAnswer, {} },
        { "FTP, no server", [&] { toFTP(false, nobody, QStringLiteral("tester"), QStringLiteral("secret")); }, noAnswer, {} },
        { "SFTP, no server", [&] { toFTP(true, nobody, sftp.user, QStringLiteral("secret")); }, noAnswer, {} },
        { "WebDAV, a certificate no system trusts", [&] { toWebDAV(https.url() + QStringLiteral("/site"), QStringLiteral("secret")); },
            QStringLiteral("The server's certificate is not one this computer trusts, so nothing was sent ("), QStringLiteral("self-signed") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(knownHosts());
        sftp.trustHostKey(knownHosts());
        c.destination();
        const PublishObserver::Ending* ending = send(false);
        ASSERT_TRUE(ending) << reports.story().toStdString();
        EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed);
        EXPECT_TRUE(ending->detail.startsWith(c.says)) << ending->detail.toStdString();
        EXPECT_TRUE(ending->detail.contains(c.alsoSays)) << ending->detail.toStdString();
        EXPECT_FALSE(ending->detail.contains(QStringLiteral("Error number"))) << ending->detail.toStdString();
        EXPECT_TRUE(ending->failures.isEmpty()) << ending->failures.value(0).why.toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    }
}

// A folder of the site that the account may not write on the server.
class UnwritableFolder : public ServerAnswers, public ::testing::WithParamInterface<Road> {
protected:
    void prepareSite() override { writeAll(folder + QStringLiteral("/files/locked/page.html"), "<p>in a folder the server will not let us write</p>"); }
};

TEST_P(UnwritableFolder, FailsItsFilesOnlyAndSaysWhy)
{
    QString serverFolder;
    QString why;
    switch (GetParam()) {
    case Road::WebDAV:
        if (!webDAV.start(false))
            why = webDAV.why;
        serverFolder = webDAV.davRoot() + QStringLiteral("/site");
        // The server's own account, not the folder's owner, writes.
        QDir().mkpath(serverFolder + QStringLiteral("/locked"));
        testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), serverFolder });
        toWebDAV(webDAV.url() + QStringLiteral("/site"), QStringLiteral("secret"));
        break;
    case Road::FTP:
        ftp.readOnlyFolder = QStringLiteral("site/locked");
        if (!ftp.start())
            why = ftp.why;
        serverFolder = ftp.root() + QStringLiteral("/site");
        toFTP(false, ftp.port, QStringLiteral("tester"), QStringLiteral("secret"));
        break;
    default:
        if (!sftp.start())
            why = sftp.why;
        else
            sftp.trustHostKey(knownHosts());
        serverFolder = sftp.root() + QStringLiteral("/site");
        QDir().mkpath(serverFolder + QStringLiteral("/locked"));
        testservers::runQuietly(QStringLiteral("/bin/chown"), { sftp.user + QLatin1Char(':'), serverFolder });
        toFTP(true, sftp.port, sftp.user, QStringLiteral("secret"));
        break;
    }
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    if (::geteuid() != 0 && GetParam() != Road::FTP)
        GTEST_SKIP() << "only root can make a folder the server's account cannot write";

    const PublishObserver::Ending* ending = send(false);
    ASSERT_TRUE(ending) << reports.story().toStdString();
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed);
    ASSERT_EQ(pathsOf(ending->failures), QStringList { QStringLiteral("locked/page.html") }) << reports.story().toStdString();
    const QString says = ending->failures.first().why;
    // apache's WebDAV answers a folder it cannot write with 500, which is all it tells.
    EXPECT_TRUE(says.startsWith(GetParam() == Road::WebDAV
                ? QStringLiteral("The server failed while handling \"locked/page.html\": it answered 500.")
                : QStringLiteral("The server does not let this account write \"locked/page.html\": its folder is not writable.")))
        << says.toStdString();
    EXPECT_FALSE(says.contains(QStringLiteral("Password"), Qt::CaseInsensitive)) << says.toStdString();
    // One line says what arrived, then what did not and why, on the panel
    // and in the Activity log.
    EXPECT_TRUE(ending->detail.startsWith(QStringLiteral("Published "))) << ending->detail.toStdString();
    EXPECT_TRUE(ending->detail.contains(QStringLiteral(". 1 file(s) could not be sent or removed"))) << ending->detail.toStdString();
    EXPECT_TRUE(ending->detail.contains(says)) << ending->detail.toStdString();
    EXPECT_TRUE(reports.activity.contains(ending->detail)) << reports.story().toStdString();
    // Everything else arrived, and the record claims nothing more.
    const QStringList others = without(filesBelow(homepage()), { QStringLiteral("locked/page.html") });
    EXPECT_EQ(without(filesBelow(serverFolder), { QStringLiteral("locked/page.html") }), others);
    EXPECT_FALSE(QFileInfo::exists(serverFolder + QStringLiteral("/locked/page.html")));
    std::shared_ptr<XmlD> stored = document.lastXmlD();
    ASSERT_TRUE(stored);
    QStringList recorded = stored->filePaths();
    recorded.sort();
    EXPECT_EQ(recorded, others);
}

INSTANTIATE_TEST_SUITE_P(Roads, UnwritableFolder, ::testing::Values(Road::WebDAV, Road::FTP, Road::SFTP), roadName);

// A server whose disk fills while it takes a file: a small file system
// mounted on its site folder.
class FullDisk : public ServerAnswers, public ::testing::WithParamInterface<Road> {
};

TEST_P(FullDisk, KeepsTheOldFileWholeSaysSoAndSendsTheRest)
{
    QString why;
    const QString serverFolder = startRoad(GetParam(), &why);
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    // Room for the site with its small first "big.bin", and a little more.
    writeAll(homepage(QStringLiteral("big.bin")), "the first version is small");
    qint64 room = 512 * 1024;
    for (const QString& path : filesBelow(homepage()))
        room += (QFileInfo(homepage(path)).size() / 4096 + 2) * 4096;
    QDir().mkpath(serverFolder);
    SmallFilesystem disk(room, serverFolder);
    LQ_REQUIRE_MOUNTED(disk);
    ownedByTheServer(GetParam(), serverFolder);

    const PublishObserver::Ending* first = send(false);
    ASSERT_TRUE(first) << reports.story().toStdString();
    ASSERT_EQ(first->outcome, PublishObserver::Outcome::Published) << first->detail.toStdString();

    // The large file cannot fit; a page changed beside it can. Larger than
    // a connection's buffers: the server stops it while it is being sent.
    writeAll(homepage(QStringLiteral("big.bin")), QByteArray(32 * 1024 * 1024, 'b'));
    writeAll(homepage(QStringLiteral("index.html")), readAll(homepage(QStringLiteral("index.html"))) + "<!-- changed -->");
    const PublishObserver::Ending* second = send();
    ASSERT_TRUE(second) << reports.story().toStdString();
    EXPECT_EQ(second->outcome, PublishObserver::Outcome::Failed);
    ASSERT_EQ(pathsOf(second->failures), QStringList { QStringLiteral("big.bin") }) << reports.story().toStdString();
    const QString says = second->failures.first().why;
    // An FTP server that closes the data connection part way may never be
    // heard out: it says only that it stopped taking the file.
    switch (GetParam()) {
    case Road::Folder:
        EXPECT_TRUE(says.startsWith(QStringLiteral("\"big.bin\" could not be copied into the folder:")) && says.contains(QStringLiteral("No space left")))
            << says.toStdString();
        break;
    case Road::FTP:
        EXPECT_TRUE(says.contains(QStringLiteral("\"big.bin\"")) && says.contains(QStringLiteral("disk"))) << says.toStdString();
        break;
    default:
        EXPECT_TRUE(says.startsWith(QStringLiteral("The server's disk is full: \"big.bin\" was not stored."))) << says.toStdString();
        break;
    }
    // The old file is whole, nothing half-written is left beside it, and
    // the page went.
    EXPECT_EQ(readAll(serverFolder + QStringLiteral("/big.bin")), QByteArray("the first version is small"));
    EXPECT_EQ(readAll(serverFolder + QStringLiteral("/index.html")), readAll(homepage(QStringLiteral("index.html"))));
    EXPECT_EQ(filesBelow(serverFolder), filesBelow(homepage()));
    // The record does not claim the new file, so the next publication sends it.
    std::shared_ptr<XmlD> stored = document.lastXmlD();
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->fileNamed(QStringLiteral("big.bin")) == nullptr
        || stored->fileNamed(QStringLiteral("big.bin"))->md5() != document.createXmlD(QString())->fileNamed(QStringLiteral("big.bin"))->md5());
}

INSTANTIATE_TEST_SUITE_P(Roads, FullDisk, ::testing::Values(Road::Folder, Road::WebDAV, Road::FTP, Road::SFTP), roadName);

TEST_F(ServerAnswers, AServerThatRefusesAFileIsQuotedWithTheFile)
{
    ftp.refusedName = QStringLiteral("index.html");
    if (!ftp.start())
        GTEST_SKIP() << ftp.why.toStdString();
    toFTP(false, ftp.port, QStringLiteral("tester"), QStringLiteral("secret"));
    const PublishObserver::Ending* ending = send(false);
    ASSERT_TRUE(ending) << reports.story().toStdString();
    ASSERT_EQ(pathsOf(ending->failures), QStringList { QStringLiteral("index.html") }) << reports.story().toStdString();
    EXPECT_EQ(ending->failures.first().why,
        QStringLiteral("The server did not accept \"index.html\": it answered 451. The server said: \"Requested action aborted: local error in "
                       "processing\"."));
    EXPECT_EQ(without(filesBelow(homepage()), { QStringLiteral("index.html") }), filesBelow(ftp.root() + QStringLiteral("/site")));
}

// A name in the built folder that is not UTF-8 text (a file from an old
// archive, in Latin-1): no road can name it as the site's other files are
// named, so it is named with why and the rest of the site arrives.
class NameNotUtf8 : public ServerAnswers, public ::testing::WithParamInterface<Road> {
};

TEST_P(NameNotUtf8, IsNamedAndTheRestArrives)
{
    QString why;
    const QString serverFolder = startRoad(GetParam(), &why);
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ownedByTheServer(GetParam(), serverFolder);
    const QStringList named = filesBelow(homepage());
    const QByteArray latin1 = QFile::encodeName(homepage(QStringLiteral("caf"))) + "\xe9.txt";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "latin", 5), 5);
    ::close(fd);

    const PublishObserver::Ending* ending = send(false);
    ::unlink(latin1.constData());
    ASSERT_TRUE(ending) << reports.story().toStdString();
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed);
    ASSERT_EQ(pathsOf(ending->failures), QStringList { QStringLiteral("caf\\xE9.txt") }) << reports.story().toStdString();
    EXPECT_EQ(ending->failures.first().why, QStringLiteral("\"caf\\xE9.txt\" could not be read on this computer: its name is not UTF-8 text."));
    EXPECT_TRUE(ending->detail.contains(ending->failures.first().why)) << ending->detail.toStdString();
    EXPECT_EQ(filesBelow(serverFolder), named);
    for (const QString& path : named)
        EXPECT_EQ(readAll(serverFolder + QLatin1Char('/') + path), readAll(homepage(path))) << path.toStdString();
    std::shared_ptr<XmlD> stored = document.lastXmlD();
    ASSERT_TRUE(stored);
    QStringList recorded = stored->filePaths();
    recorded.sort();
    EXPECT_EQ(recorded, named);
}

INSTANTIATE_TEST_SUITE_P(Roads, NameNotUtf8, ::testing::Values(Road::Folder, Road::WebDAV, Road::FTP, Road::SFTP), roadName);
