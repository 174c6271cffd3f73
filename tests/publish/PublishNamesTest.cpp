// Files under every name a file can have, put in the site's own "files"
// folder and published as the program publishes them: the starter site made
// by MyDocument::newDocument, built by the document's own build and sent by
// the Publisher into a folder, to apache2 (WebDAV), pyftpdlib (FTP) and sshd
// (SFTP) on 127.0.0.1. What arrives is compared byte for byte with the
// built folder.
#include "document/DocumentSiteBuilder.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/HostileNames.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"

#include <QUrl>

#include <ostream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

enum class Road { Folder, WebDAV, FTP, SFTP };

void PrintTo(Road road, std::ostream* out)
{
    const char* names[] = { "Folder", "WebDAV", "FTP", "SFTP" };
    *out << names[static_cast<int>(road)];
}

std::string roadName(const ::testing::TestParamInfo<Road>& info)
{
    std::ostringstream name;
    PrintTo(info.param, &name);
    return name.str();
}

QStringList sorted(QStringList items)
{
    items.sort();
    return items;
}

QStringList without(QStringList items, const QStringList& left)
{
    for (const QString& item : left)
        items.removeAll(item);
    return items;
}

class PublishNames : public StarterSiteTest, public ::testing::WithParamInterface<Road> {
protected:
    PublishNames()
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
        QString why;
        switch (GetParam()) {
        case Road::Folder:
            break;
        case Road::WebDAV:
            if (!webDAV.start(false))
                why = webDAV.why;
            break;
        case Road::FTP:
            if (!ftp.start())
                why = ftp.why;
            break;
        case Road::SFTP:
            if (!sftp.start())
                why = sftp.why;
            break;
        }
        if (!why.isEmpty())
            GTEST_SKIP() << "server unavailable: " << why.toStdString();
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
        // The server's new host key, trusted as the user asked about it would.
        if (GetParam() == Road::SFTP)
            ASSERT_TRUE(sftp.trustHostKey(lq::supportFolder() + QStringLiteral("/known_hosts")));
        configure();
        publisher.setSiteBuilder(&builder);
        publisher.addObserver(&reports);
        // Each name as a file of the site's own, and as a folder holding a
        // file of the same name; every file of its own length.
        int length = 0;
        for (const QString& name : hostileNames()) {
            writeAll(folder + QStringLiteral("/files/") + name, "named " + name.toUtf8() + QByteArray(length += 700, 'n'));
            writeAll(folder + QStringLiteral("/files/in ") + name + QLatin1Char('/') + name, "inside " + name.toUtf8() + QByteArray(length += 700, 'i'));
        }
    }

    void TearDown() override { lq::setOpenURLHandler({}); }

    // The destination, as the Send tab stores it.
    void configure()
    {
        XmlLocation& where = *document.location();
        switch (GetParam()) {
        case Road::Folder:
            where.setServerType(XmlLocation::LocalFolder);
            where.setExportFolder(QUrl::fromLocalFile(serverFolder()).toString());
            break;
        case Road::WebDAV:
            where.setServerType(XmlLocation::WebDAV);
            where.setLocation(webDAV.url() + QStringLiteral("/site"));
            where.setUsername(QStringLiteral("tester"));
            where.setPassword(QStringLiteral("secret"));
            break;
        case Road::FTP:
        case Road::SFTP:
            where.setServerType(XmlLocation::FTPServer);
            where.setFtpType(GetParam() == Road::SFTP ? 1 : 0);
            where.setLocation(QStringLiteral("127.0.0.1:") + QString::number(GetParam() == Road::SFTP ? sftp.port : ftp.port));
            where.setUsername(GetParam() == Road::SFTP ? sftp.user : QStringLiteral("tester"));
            where.setPassword(QStringLiteral("secret"));
            where.setFtpFolder(QStringLiteral("site"));
            break;
        }
    }

    QString serverFolder() const
    {
        switch (GetParam()) {
        case Road::Folder: return work.filePath(QStringLiteral("published"));
        case Road::WebDAV: return webDAV.davRoot() + QStringLiteral("/site");
        case Road::FTP: return ftp.root() + QStringLiteral("/site");
        case Road::SFTP: return sftp.root() + QStringLiteral("/site");
        }
        return QString();
    }

    // The files of the built site whose names the road cannot carry: FTP's
    // commands are lines, so no name of it can hold a line end.
    QStringList uncarried()
    {
        if (GetParam() != Road::FTP)
            return {};
        QStringList paths;
        for (const QString& path : filesBelow(homepage()))
            if (path.contains(QLatin1Char('\n')))
                paths.append(path);
        return paths;
    }

    // Publishes as the Send tab's Export does: the site built, then sent.
    const PublishObserver::Ending* publish(bool changesOnly)
    {
        sender.cancel();
        const qsizetype before = reports.endings.size();
        publisher.publish(PublishRequest::fromLocation(*document.location(), homepage(), changesOnly));
        if (!reports.waitForEnding(before, 300000))
            return nullptr;
        return reports.lastEnding();
    }

    // Whether the server holds the built site as it is, less the files
    // that could not go, byte for byte, and nothing else.
    void expectTheBuiltSiteOnTheServer(const QStringList& left)
    {
        const QStringList expected = without(filesBelow(homepage()), left);
        EXPECT_EQ(filesBelow(serverFolder()), expected);
        for (const QString& path : expected)
            EXPECT_EQ(readAll(serverFolder() + QLatin1Char('/') + path), readAll(homepage(path))) << XmlD::shownName(path).toStdString();
    }

    testservers::WebDAVServer webDAV;
    testservers::FTPServer ftp;
    testservers::SFTPServer sftp;
    RecordingPublishObserver reports;
    SendController sender { &document };
    DocumentSiteBuilder builder { document };
    Publisher publisher { document, sender };
};

} // namespace

TEST_P(PublishNames, EveryFileArrivesUnderItsOwnNameAndNothingIsSentTwice)
{
    const PublishObserver::Ending* first = publish(false);
    ASSERT_TRUE(first) << reports.story().toStdString();
    const QStringList left = uncarried();
    ASSERT_GT(filesBelow(homepage()).size(), 2 * hostileNames().size());
    // What could not go is named, with why; everything else went.
    QStringList failed;
    for (const FileFailure& failure : first->failures) {
        failed.append(failure.path);
        EXPECT_TRUE(failure.why.contains(QLatin1Char('"') + XmlD::shownName(failure.path) + QLatin1Char('"'))) << failure.why.toStdString();
    }
    EXPECT_EQ(sorted(failed), left) << reports.story().toStdString();
    EXPECT_EQ(first->outcome, left.isEmpty() ? PublishObserver::Outcome::Published : PublishObserver::Outcome::Failed)
        << reports.story().toStdString();
    expectTheBuiltSiteOnTheServer(left);
    // The record of the publication holds what arrived, under its own names.
    std::shared_ptr<XmlD> stored = document.lastXmlD();
    ASSERT_TRUE(stored);
    EXPECT_EQ(sorted(stored->filePaths()), without(filesBelow(homepage()), left));

    // Published again unchanged: nothing is sent again.
    const qsizetype seen = reports.events.size();
    const PublishObserver::Ending* second = publish(true);
    ASSERT_TRUE(second) << reports.story().toStdString();
    EXPECT_TRUE(reports.events.mid(seen).filter(QStringLiteral("| Sending ")).isEmpty()) << reports.story().toStdString();
    if (left.isEmpty())
        EXPECT_EQ(second->line, QStringLiteral("Nothing changed since the last publication"));
    EXPECT_EQ(second->failures.size(), left.size());
    expectTheBuiltSiteOnTheServer(left);

    // Files of such names taken out of the site go from the server too.
    for (const QString& name : hostileNames().mid(0, 6)) {
        ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/files/") + name)) << name.toStdString();
        ASSERT_TRUE(QDir(folder + QStringLiteral("/files/in ") + name).removeRecursively()) << name.toStdString();
    }
    const PublishObserver::Ending* third = publish(true);
    ASSERT_TRUE(third) << reports.story().toStdString();
    EXPECT_EQ(third->failures.size(), left.size()) << reports.story().toStdString();
    expectTheBuiltSiteOnTheServer(left);
}

INSTANTIATE_TEST_SUITE_P(Roads, PublishNames, ::testing::Values(Road::Folder, Road::WebDAV, Road::FTP, Road::SFTP), roadName);
