// What the FTP and SFTP roads leave on a server, and what they believe of
// it: the starter site made by MyDocument::newDocument, built by the
// document's own build and sent by the Publisher to pyftpdlib (FTP) and
// sshd (SFTP) on 127.0.0.1. Site files named like temporary files are
// published, kept and removed like any other; a temporary file is removed
// only when the program made it; and a file the server says it stored but
// does not hold is a failure, named, and sent again.
#include "document/DocumentSiteBuilder.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"

#include "support/ChildProcesses.h"
#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"

#include <QUrl>

#include <csignal>

#include <gtest/gtest.h>

namespace {

QStringList without(QStringList items, const QStringList& left)
{
    for (const QString& item : left)
        items.removeAll(item);
    return items;
}

class TemporaryFiles : public StarterSiteTest {
protected:
    TemporaryFiles()
        : StarterSiteTest(QStringLiteral("Site.lqxl"))
    {
    }

    // Starts the server of the road (relayed over SFTP, so that it can be
    // told to lie) and makes it the destination; false when it cannot run here.
    bool startServer(bool overSFTP)
    {
        useBuiltHelperTools();
        sftp = overSFTP;
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
        sftpServer.relayed = true;
        if (sftp ? !sftpServer.start() : !ftpServer.start())
            return false;
        // The user trusted the server's key at its first connection.
        if (sftp)
            EXPECT_TRUE(sftpServer.trustHostKey(lq::supportFolder() + QStringLiteral("/known_hosts")));
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::FTPServer);
        where.setFtpType(sftp ? 1 : 0);
        where.setLocation(QStringLiteral("127.0.0.1:") + QString::number(sftp ? sftpServer.port : ftpServer.port));
        where.setUsername(sftp ? sftpServer.user : QStringLiteral("tester"));
        where.setPassword(QStringLiteral("secret"));
        where.setFtpFolder(QStringLiteral("site"));
        publisher.setSiteBuilder(&builder);
        publisher.addObserver(&reports);
        return true;
    }
    QString why() const { return sftp ? sftpServer.why : ftpServer.why; }

    void TearDown() override { lq::setOpenURLHandler({}); }

    QString serverFolder() const { return (sftp ? sftpServer.root() : ftpServer.root()) + QStringLiteral("/site"); }

    // A file the user put on the server, beside the site's.
    void placeOnTheServer(const QString& path, const QByteArray& bytes)
    {
        writeAll(serverFolder() + QLatin1Char('/') + path, bytes);
        if (sftp)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("-R"), sftpServer.user + QLatin1Char(':'), serverFolder() });
    }

    void lieAbout(const QString& name, const QString& lie)
    {
        if (sftp)
            sftpServer.lieAbout(name, lie);
        else
            ftpServer.lieAbout(name, lie);
    }

    // Builds and publishes as the Send tab's Export does; how it ended.
    const PublishObserver::Ending* publish(bool changesOnly)
    {
        sender.cancel();
        const qsizetype before = reports.endings.size();
        publisher.publish(PublishRequest::fromLocation(*document.location(), homepage(), changesOnly));
        if (!reports.waitForEnding(before, 300000))
            return nullptr;
        return reports.lastEnding();
    }

    // The server holds the built site byte for byte, and besides it only
    // the files named.
    void expectTheBuiltSite(const QStringList& besides)
    {
        EXPECT_EQ(without(filesBelow(serverFolder()), besides), filesBelow(homepage()));
        for (const QString& path : filesBelow(homepage()))
            EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + path), readAll(homepage(path))) << path.toStdString();
    }

    QString leftoverRecord() const { return QString::fromUtf8(readAll(folder + QStringLiteral("/leftovers.txt"))); }

    bool sftp = false;
    testservers::FTPServer ftpServer;
    testservers::SFTPServer sftpServer;
    RecordingPublishObserver reports;
    SendController sender { &document };
    DocumentSiteBuilder builder { document };
    Publisher publisher { document, sender };
};

class TemporaryNames : public TemporaryFiles, public ::testing::WithParamInterface<bool> {
};

std::string roadName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "SFTP" : "FTP";
}

} // namespace

TEST_P(TemporaryNames, SiteFilesNamedLikeTemporaryFilesArePublishedKeptAndRemovedLikeAnyOther)
{
    if (!startServer(GetParam()))
        GTEST_SKIP() << "server unavailable: " << why().toStdString();
    const QStringList names { QStringLiteral("notes.lqpart"), QStringLiteral(".x.lqpart"), QStringLiteral("x"), QStringLiteral("x.lqpart"),
        QStringLiteral("a.txt"), QStringLiteral("a.txt.lqpart"), QStringLiteral(".lq-0000000000000000.tmp") };
    // The user's own files on the server, named like temporary files.
    const QStringList mine { QStringLiteral("files/.mine.lqpart"), QStringLiteral("files/.lq-1111111111111111.tmp"), QStringLiteral("y.lqpart") };
    for (const QString& path : mine)
        placeOnTheServer(path, "the user's own " + path.toUtf8());

    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        // Each of its own length, changed at every round.
        int length = 0;
        for (const QString& name : names)
            writeAll(folder + QStringLiteral("/files/") + name, "round " + QByteArray::number(round) + " " + name.toUtf8() + QByteArray(length += 300 * round, 'n'));
        const PublishObserver::Ending* ending = publish(round > 1);
        ASSERT_TRUE(ending) << reports.events.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Published) << ending->detail.toStdString();
        EXPECT_TRUE(ending->failures.isEmpty()) << ending->failures.value(0).why.toStdString();
        expectTheBuiltSite(mine);
        for (const QString& path : mine)
            EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + path), "the user's own " + path.toUtf8()) << path.toStdString();
        // Nothing was left behind to remember.
        EXPECT_EQ(leftoverRecord(), QString());
    }

    // "x" taken out of the site goes from the server alone.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/files/x")));
    const PublishObserver::Ending* ending = publish(true);
    ASSERT_TRUE(ending);
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Published) << ending->detail.toStdString();
    EXPECT_FALSE(QFileInfo::exists(serverFolder() + QStringLiteral("/x")));
    expectTheBuiltSite(mine);
    ASSERT_TRUE(QFileInfo::exists(homepage(QStringLiteral(".x.lqpart"))));
    EXPECT_EQ(readAll(serverFolder() + QStringLiteral("/.x.lqpart")), readAll(homepage(QStringLiteral(".x.lqpart"))));
}

TEST_P(TemporaryNames, ATransferStoppedPartWayLeavesATemporaryFileTheNextPublicationRemoves)
{
    if (!startServer(GetParam()))
        GTEST_SKIP() << "server unavailable: " << why().toStdString();
    const QString mine = QStringLiteral("files/.lq-2222222222222222.tmp");
    placeOnTheServer(mine, "the user's own");
    writeAll(folder + QStringLiteral("/files/big.bin"), QByteArray(300 * 1024 * 1024, 'b'));
    sender.cancel();
    const qsizetype before = reports.endings.size();
    publisher.publish(PublishRequest::fromLocation(*document.location(), homepage(), false));
    // Stopped once the large file is on its way: a file the site does not
    // hold, and larger than any other of the site, has appeared on the
    // server (a small file's temporary name is there only for a moment).
    const auto strangers = [&] { return without(without(filesBelow(serverFolder()), filesBelow(homepage())), { mine }); };
    const auto largeStranger = [&] {
        for (const QString& path : strangers())
            if (QFileInfo(serverFolder() + QLatin1Char('/') + path).size() > 4 * 1024 * 1024)
                return true;
        return false;
    };
    ASSERT_TRUE(processEventsUntil([&] { return largeStranger() || reports.endings.size() > before; }, 300000));
    ASSERT_EQ(reports.endings.size(), before) << "the file arrived before the tool could be stopped";
    const pid_t tool = childRunning(QString::fromUtf8(LQ_TEST_LIBEXEC) + (GetParam() ? QStringLiteral("/SFTP") : QStringLiteral("/FTP")));
    ASSERT_GT(tool, 0);
    ::kill(tool, SIGKILL);
    ASSERT_TRUE(reports.waitForEnding(before, 300000));
    EXPECT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Failed);
    const QStringList left = strangers();
    ASSERT_EQ(left.size(), 1) << left.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(QFileInfo::exists(serverFolder() + QStringLiteral("/big.bin")));
    // The program remembers the one temporary file it made there.
    EXPECT_TRUE(leftoverRecord().startsWith(left.first() + QLatin1Char(' '))) << leftoverRecord().toStdString();
    EXPECT_EQ(leftoverRecord().count(QLatin1Char('\n')), 1) << leftoverRecord().toStdString();

    const PublishObserver::Ending* ending = publish(true);
    ASSERT_TRUE(ending);
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Published) << ending->detail.toStdString();
    expectTheBuiltSite({ mine });
    EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + mine), "the user's own");
    EXPECT_EQ(leftoverRecord(), QString());
}

INSTANTIATE_TEST_SUITE_P(Roads, TemporaryNames, ::testing::Bool(), roadName);

namespace {

// A server that says it stored a file and holds something else.
struct Lie {
    bool sftp;
    const char* lie;
    QString why;   // what the publication says of the file
};

void PrintTo(const Lie& lie, std::ostream* out)
{
    *out << (lie.sftp ? "SFTP " : "FTP ") << lie.lie;
}

class UntrueServer : public TemporaryFiles, public ::testing::WithParamInterface<Lie> {
};

// The site's file "files/lost page.html", published as "lost page.html".
const QString Lied = QStringLiteral("lost page.html");
const QByteArray LiedBytes = "<p>a page the server says it stored</p>" + QByteArray(2000, 'p');

} // namespace

TEST_P(UntrueServer, TheFileIsANamedFailureAndTheNextPublicationSendsIt)
{
    if (!startServer(GetParam().sftp))
        GTEST_SKIP() << "server unavailable: " << why().toStdString();
    writeAll(folder + QStringLiteral("/files/") + Lied, LiedBytes);
    lieAbout(QStringLiteral("lost page.html"), QString::fromLatin1(GetParam().lie));
    const PublishObserver::Ending* ending = publish(false);
    ASSERT_TRUE(ending) << reports.events.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed);
    ASSERT_EQ(ending->failures.size(), 1) << ending->detail.toStdString();
    EXPECT_EQ(ending->failures.first().path, Lied);
    EXPECT_EQ(ending->failures.first().why, GetParam().why);
    EXPECT_TRUE(ending->detail.contains(GetParam().why)) << ending->detail.toStdString();
    // The record does not claim it; everything else arrived.
    std::shared_ptr<XmlD> stored = document.lastXmlD();
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->filePaths().contains(Lied));
    EXPECT_EQ(stored->filePaths().size(), filesBelow(homepage()).size() - 1);
    for (const QString& path : without(filesBelow(homepage()), { Lied }))
        EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + path), readAll(homepage(path))) << path.toStdString();

    // The server tells the truth again: the next publication sends the file.
    lieAbout(QString(), QString());
    ending = publish(true);
    ASSERT_TRUE(ending);
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Published) << ending->detail.toStdString();
    EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + Lied), LiedBytes);
    EXPECT_TRUE(document.lastXmlD()->filePaths().contains(Lied));
}

INSTANTIATE_TEST_SUITE_P(Lies, UntrueServer,
    ::testing::Values(
        Lie { false, "nothing", QStringLiteral("The server said it stored \"lost page.html\" but holds none; it is sent again at the next publication.") },
        Lie { true, "nothing", QStringLiteral("The server said it stored \"lost page.html\" but holds none; it is sent again at the next publication.") },
        Lie { false, "elsewhere",
            QStringLiteral("The server stored \"lost page.html\" under another name, \"lost_page.html\"; it is sent again at the next publication.") },
        Lie { true, "elsewhere",
            QStringLiteral("The server stored \"lost page.html\" under another name, \"lost_page.html\"; it is sent again at the next publication.") },
        Lie { false, "short",
            QStringLiteral("The server said it stored \"lost page.html\" but holds ") + QString::number(LiedBytes.size() / 2)
                + QStringLiteral(" bytes under its name, not the file sent; it is sent again at the next publication.") }),
    [](const ::testing::TestParamInfo<Lie>& info) {
        return std::string(info.param.sftp ? "SFTP_" : "FTP_") + info.param.lie;
    });
