#include "publish/Publisher.h"

#include "document/DocumentSiteBuilder.h"
#include "publish/PublishObserver.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"
#include "model/site/XmlWebItem.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <iostream>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// The document's own build, counted; a reason given to `failWith` makes
// the next build fail with it, as a build that could not write does.
class CountedBuilder : public SiteBuilder {
public:
    explicit CountedBuilder(MyDocument& document)
        : _built(document)
    {
    }
    XmlLocation* destination() override { return _built.destination(); }
    QString generatedFolder() override { return _built.generatedFolder(); }
    void buildSite(std::function<void()> then, std::function<void(const QString&)> failed,
        std::function<void(const QString&)> stepLines) override
    {
        ++builds;
        if (!failWith.isEmpty()) {
            failed(failWith);
            return;
        }
        _built.buildSite(std::move(then), std::move(failed), std::move(stepLines));
    }
    void cancelBuild() override { _built.cancelBuild(); }
    bool isBuilding() const override { return _built.isBuilding(); }

    int builds = 0;
    QString failWith;

private:
    DocumentSiteBuilder _built;
};

// What the publisher told its observer.
struct NotedObserver : PublishObserver {
    void buildFailed(const QString& why) override { notes << QStringLiteral("build failed: ") + why; }
    void publicationRefused(const QString& title, const QString& why) override
    {
        notes << QStringLiteral("refused: ") + title;
        reasons << why;
    }
    void destinationNeeded() override { notes << QStringLiteral("destination needed"); }
    QStringList notes;
    QStringList reasons;
};

// The starter site, published by the publisher over the document's build
// and the real uploader.
class PublisherTest : public StarterSiteTest {
protected:
    PublisherTest()
        : StarterSiteTest(QStringLiteral("Site.lqxl"))
    {
    }
    void SetUp() override
    {
        useBuiltHelperTools();
        StarterSiteTest::SetUp();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        publisher.setSiteBuilder(&builder);
        publisher.addObserver(&observer);
        publisher.addObserver(&reports);
    }
    void TearDown() override { lq::setOpenURLHandler({}); }

    // The stored destination: a folder of the test.
    PublishRequest toFolder(bool changesOnly)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::LocalFolder);
        where.setExportFolder(QUrl::fromLocalFile(destination()).toString());
        return PublishRequest::fromLocation(where, homepage(), changesOnly);
    }
    QString destination() const { return work.filePath(QStringLiteral("published")); }
    bool waitForTheUploader()
    {
        return processEventsUntil([&] { return sender.resultShown() || sender.taskError(); }, 120000);
    }

    // Everything the publisher and its uploader told, from the first request on.
    RecordingPublishObserver reports;
    SendController sender { &document };
    CountedBuilder builder { document };
    NotedObserver observer;
    Publisher publisher { document, sender };
};

} // namespace

TEST_F(PublisherTest, APublicationIsBuiltThenSentAndSaysWhatWasPublished)
{
    // Left by an earlier build: the site no longer makes it.
    writeAll(homepage(QStringLiteral("gone.html")), "an old page");
    publisher.publish(toFolder(false));
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(builder.builds, 1);
    EXPECT_TRUE(QFileInfo::exists(homepage(QStringLiteral("index.html"))));
    EXPECT_FALSE(QFileInfo::exists(destination() + QStringLiteral("/gone.html")));
    EXPECT_EQ(filesBelow(destination()), filesBelow(homepage()));
    EXPECT_TRUE(sameFiles(homepage(), destination()));
    const QString published = QStringLiteral("Published ") + QString::number(filesBelow(homepage()).size()) + QStringLiteral(" files");
    EXPECT_TRUE(sender.status1().startsWith(published)) << sender.status1().toStdString();
    EXPECT_TRUE(document.activityText().contains(published)) << document.activityText().toStdString();
    EXPECT_TRUE(observer.notes.isEmpty()) << observer.notes.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PublisherTest, AFailedBuildSendsNothing)
{
    builder.failWith = QStringLiteral("The export stopped: No space left on device");
    publisher.publish(toFolder(false));
    EXPECT_EQ(observer.notes, QStringList { QStringLiteral("build failed: The export stopped: No space left on device") });
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_FALSE(sender.isRunning());
    EXPECT_FALSE(sender.resultShown());
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));

    // Nor from the document's Publish.
    writeAll(folder + QStringLiteral("/lastbom.xmlbase"), "<xmld/>");
    XmlLocation& where = *document.location();
    where.setServerType(XmlLocation::WebDAV);
    where.setLocation(QStringLiteral("http://127.0.0.1:9/site"));
    observer.notes.clear();
    publisher.sendChanges();
    EXPECT_EQ(observer.notes, QStringList { QStringLiteral("build failed: The export stopped: No space left on device") });
    EXPECT_FALSE(sender.isRunning());
    // The run that began with the build ends there, saying why; nothing to retry.
    ASSERT_NE(reports.lastEnding(), nullptr);
    EXPECT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Failed);
    EXPECT_EQ(reports.lastEnding()->detail, QStringLiteral("The export stopped: No space left on device"));
    EXPECT_FALSE(reports.lastEnding()->retry);
    EXPECT_FALSE(QFileInfo::exists(homepage(QStringLiteral("index.html"))));
}

TEST_F(PublisherTest, TheDocumentsPublishLeavesAFolderToThePanelAndRefusesWhatCannotBeUsed)
{
    struct Case {
        const char* name;
        int serverType;
        const char* location;
        const char* note;
    };
    const Case cases[] = {
        {"a folder", XmlLocation::LocalFolder, "", "destination needed"},
        {"an FTP address as WebDAV", XmlLocation::WebDAV, "ftp://127.0.0.1/site", "refused: The WebDAV address cannot be used"},
        {"no FTP server", XmlLocation::FTPServer, "", "refused: The FTP server cannot be used"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlLocation& where = *document.location();
        where.setServerType(c.serverType);
        where.setLocation(QString::fromUtf8(c.location));
        observer.notes.clear();
        observer.reasons.clear();
        publisher.sendChanges();
        EXPECT_EQ(observer.notes, QStringList { QString::fromUtf8(c.note) });
        EXPECT_EQ(builder.builds, 0);
        EXPECT_FALSE(sender.isRunning());
        EXPECT_FALSE(sender.panelVisible());
        // A refusal says why.
        EXPECT_EQ(observer.reasons.size(), QString::fromUtf8(c.note).startsWith(QStringLiteral("refused")) ? 1 : 0);
        EXPECT_TRUE(observer.reasons.filter(QRegularExpression(QStringLiteral("^$"))).isEmpty());
    }
}

TEST_F(PublisherTest, RetrySendsTheChangesOfTheLastPublicationWithoutABuild)
{
    publisher.publish(toFolder(false));
    ASSERT_TRUE(waitForTheUploader());
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    sender.cancel();
    ASSERT_FALSE(sender.resultShown());

    writeAll(homepage(QStringLiteral("late.html")), "written after the publication");
    sender.retry();
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(builder.builds, 1);
    EXPECT_EQ(readAll(destination() + QStringLiteral("/late.html")), QByteArray("written after the publication"));
    EXPECT_TRUE(sender.status1().startsWith(QStringLiteral("Published 1 file"))) << sender.status1().toStdString();
}

TEST_F(PublisherTest, RetryAfterTheSiteWasReadAgainGoesWhereItIsNowStored)
{
    testservers::FTPServer server;
    if (!server.start())
        GTEST_SKIP() << server.why.toStdString();
    XmlLocation* where = document.location();
    where->setServerType(XmlLocation::FTPServer);
    where->setUsername(QStringLiteral("tester"));
    where->setPassword(QStringLiteral("secret"));
    where->setLocation(QStringLiteral("127.0.0.1:") + QString::number(server.port));
    where->setFtpFolder(QStringLiteral("www/first"));
    publisher.publish(PublishRequest::fromLocation(*where, homepage(), false));
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(filesBelow(server.root() + QStringLiteral("/www/first")), filesBelow(homepage()));
    sender.cancel();

    // The site's files are read again, as a revert does, with another folder on the server.
    where->setFtpFolder(QStringLiteral("www/second"));
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("moved"))) << document.lastError().toStdString();
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    ASSERT_NE(document.location(), nullptr);
    writeAll(homepage(QStringLiteral("late.html")), "written after the publication");
    sender.retry();
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(readAll(server.root() + QStringLiteral("/www/second/late.html")), QByteArray("written after the publication"));
    EXPECT_FALSE(QFileInfo::exists(server.root() + QStringLiteral("/www/first/late.html")));
}

namespace {

// The servers of the publication tests, each started when a case first needs it.
struct Servers {
    testservers::WebDAVServer dav;
    testservers::FTPServer ftp;
    testservers::SFTPServer sftp;
    bool davUp = false;
    bool ftpUp = false;
    bool sftpUp = false;

    // "" when the road's server runs, else why it could not start.
    QString start(const QString& road)
    {
        if (road == QStringLiteral("WebDAV")) {
            if (!davUp && (davUp = dav.start(false))) {
                // The folder of the site, writable by the server.
                QDir().mkpath(dav.davRoot() + QStringLiteral("/site"));
                if (::geteuid() == 0)
                    testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), dav.davRoot() + QStringLiteral("/site") });
            }
            return davUp ? QString() : dav.why;
        }
        if (road == QStringLiteral("FTP")) {
            ftpUp = ftpUp || ftp.start();
            return ftpUp ? QString() : ftp.why;
        }
        if (road == QStringLiteral("SFTP")) {
            if (!sftpUp && sftp.start()) {
                sftpUp = true;
                // Its new host key, trusted as the user asked about it would.
                sftp.trustHostKey(lq::supportFolder() + QStringLiteral("/known_hosts"));
            }
            return sftpUp ? QString() : sftp.why;
        }
        return QString();
    }
    // Sets the destination to the road's server with the given password.
    void destine(const QString& road, XmlLocation& where, const QString& password)
    {
        where.setPassword(password);
        if (road == QStringLiteral("WebDAV")) {
            where.setServerType(XmlLocation::WebDAV);
            where.setUsername(QStringLiteral("tester"));
            where.setLocation(dav.address() + QStringLiteral("/site"));
            return;
        }
        where.setServerType(XmlLocation::FTPServer);
        const bool secure = road == QStringLiteral("SFTP");
        where.setFtpType(secure ? 1 : 0);
        where.setUsername(secure ? sftp.user : QStringLiteral("tester"));
        where.setLocation(QStringLiteral("127.0.0.1:") + QString::number(secure ? sftp.port : ftp.port));
        where.setFtpFolder(QStringLiteral("www/site"));
    }
    // Where the road's files land.
    QString landing(const QString& road) const
    {
        if (road == QStringLiteral("WebDAV"))
            return dav.davRoot() + QStringLiteral("/site");
        return (road == QStringLiteral("SFTP") ? sftp.root() : ftp.root()) + QStringLiteral("/www/site");
    }
};

} // namespace

TEST_F(PublisherTest, EachRoadTellsItsStartItsProgressAndTheLineThatEndsIt)
{
    Servers servers;
    // Every run meets a new SFTP host key.
    QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
    for (const QString& road : {QStringLiteral("Folder"), QStringLiteral("WebDAV"), QStringLiteral("FTP"), QStringLiteral("SFTP")}) {
        SCOPED_TRACE(road.toStdString());
        if (const QString why = servers.start(road); !why.isEmpty()) {
            std::cout << "[ SKIPPED  ] " << road.toStdString() << ": " << why.toStdString() << std::endl;
            continue;
        }
        XmlLocation& where = *document.location();
        PublishRequest request;
        QString landing = destination();
        if (road == QStringLiteral("Folder")) {
            request = toFolder(false);
        } else {
            servers.destine(road, where, QStringLiteral("secret"));
            request = PublishRequest::fromLocation(where, homepage(), false);
            landing = servers.landing(road);
        }
        const qsizetype told = reports.events.size();
        const qsizetype progressTold = reports.progress.size();
        const qsizetype endings = reports.endings.size();
        publisher.publish(request);
        ASSERT_TRUE(reports.waitForEnding(endings)) << reports.story().toStdString();
        const QStringList run = reports.events.mid(told);

        // One start at the head of the run, one ending at its tail.
        ASSERT_FALSE(run.isEmpty());
        EXPECT_EQ(run.first(), QStringLiteral("started: Sending Files")) << reports.story().toStdString();
        EXPECT_EQ(run.filter(QRegularExpression(QStringLiteral("^(started|test started): "))).size(), 1);
        EXPECT_EQ(run.filter(QRegularExpression(QStringLiteral("^ended: "))).size(), 1);
        EXPECT_TRUE(run.last().startsWith(QStringLiteral("ended: published: "))) << run.join(QLatin1Char('\n')).toStdString();

        // The progress moves up and ends full.
        QList<int> percents;
        for (const auto& step : reports.progress.mid(progressTold)) {
            if (!step.indeterminate)
                percents << step.percent;
        }
        ASSERT_FALSE(percents.isEmpty());
        EXPECT_EQ(percents.last(), 100);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << run.join(QLatin1Char('\n')).toStdString();
        if (road != QStringLiteral("Folder")) {
            // A server is sent one file at a time, and says how many are left.
            EXPECT_TRUE(std::any_of(percents.begin(), percents.end(), [](int p) { return p > 0 && p < 100; }));
            EXPECT_FALSE(run.filter(QRegularExpression(QStringLiteral("^stage: \\d+ file\\(s\\) left \\| Sending "))).isEmpty());
        }

        // The ending is the panel's closing line, also told to the Activity log.
        const PublishObserver::Ending& end = reports.endings.last();
        EXPECT_EQ(end.outcome, PublishObserver::Outcome::Published);
        EXPECT_EQ(end.title, QStringLiteral("Publication Finished"));
        const QString published = QStringLiteral("Published ") + QString::number(filesBelow(homepage()).size()) + QStringLiteral(" files");
        EXPECT_TRUE(end.line.startsWith(published)) << end.line.toStdString();
        EXPECT_EQ(end.line, sender.status1());
        EXPECT_TRUE(reports.activity.contains(end.line));
        EXPECT_FALSE(end.retry);
        if (road == QStringLiteral("Folder"))
            EXPECT_EQ(end.address, QUrl::fromLocalFile(landing + QStringLiteral("/index.html")).toString());
        else if (road == QStringLiteral("WebDAV"))
            EXPECT_EQ(end.address, QStringLiteral("http://") + servers.dav.address() + QStringLiteral("/site/"));
        else
            EXPECT_EQ(end.address, QString());
        EXPECT_EQ(filesBelow(landing), filesBelow(homepage()));
        EXPECT_TRUE(sameFiles(homepage(), landing));

        // Close puts it away.
        sender.cancel();
        EXPECT_EQ(reports.events.last(), QStringLiteral("dismissed"));
    }
}

TEST_F(PublisherTest, AServerThatRefusesTheAccountEndsTheRunWithAFailureThatSaysWhy)
{
    Servers servers;
    QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
    for (const QString& road : {QStringLiteral("WebDAV"), QStringLiteral("FTP"), QStringLiteral("SFTP")}) {
        SCOPED_TRACE(road.toStdString());
        if (const QString why = servers.start(road); !why.isEmpty()) {
            std::cout << "[ SKIPPED  ] " << road.toStdString() << ": " << why.toStdString() << std::endl;
            continue;
        }
        XmlLocation& where = *document.location();
        servers.destine(road, where, QStringLiteral("wrong"));
        const qsizetype told = reports.events.size();
        const qsizetype endings = reports.endings.size();
        publisher.publish(PublishRequest::fromLocation(where, homepage(), false));
        ASSERT_TRUE(reports.waitForEnding(endings)) << reports.story().toStdString();
        const QStringList run = reports.events.mid(told);
        EXPECT_EQ(run.filter(QRegularExpression(QStringLiteral("^ended: "))).size(), 1) << run.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(run.filter(QStringLiteral("ended: published")).isEmpty());

        const PublishObserver::Ending& end = reports.endings.last();
        EXPECT_EQ(end.outcome, PublishObserver::Outcome::Failed);
        EXPECT_TRUE(end.line.startsWith(QStringLiteral("The publication stopped"))) << end.line.toStdString();
        // Nothing runs any more: the button closes the panel.
        EXPECT_EQ(sender.cancelTitle(), QStringLiteral("Close"));
        // The reason, as the panel's second line and in the Activity log.
        EXPECT_TRUE(end.detail.startsWith(QStringLiteral("The server refused the user name or password."))) << end.detail.toStdString();
        EXPECT_EQ(end.detail, sender.status2());
        EXPECT_TRUE(reports.activity.contains(end.detail)) << run.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(sender.panelVisible());
        // Nothing arrived, and nothing is believed to be there.
        EXPECT_TRUE(filesBelow(servers.landing(road)).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));

        sender.cancel();
        EXPECT_FALSE(sender.panelVisible());
    }
}

TEST_F(PublisherTest, CancelEndsTheRunAsCancelled)
{
    Servers servers;
    if (const QString why = servers.start(QStringLiteral("WebDAV")); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    XmlLocation& where = *document.location();
    servers.destine(QStringLiteral("WebDAV"), where, QStringLiteral("secret"));
    publisher.publish(PublishRequest::fromLocation(where, homepage(), false));
    ASSERT_TRUE(processEventsUntil([&] { return !reports.stages.filter(QStringLiteral("file(s) left")).isEmpty() || !reports.endings.isEmpty(); },
        120000));
    ASSERT_TRUE(reports.endings.isEmpty()) << reports.story().toStdString();
    sender.cancel();
    ASSERT_EQ(reports.endings.size(), 1) << reports.story().toStdString();
    EXPECT_EQ(reports.endings.last().outcome, PublishObserver::Outcome::Cancelled);
    EXPECT_FALSE(sender.isRunning());
    // Not every file went: the stored tree claims only what the server confirmed.
    std::shared_ptr<XmlD> stored = lq::readLastXmlD(folder);
    const QStringList claimed = stored ? stored->filePaths() : QStringList();
    EXPECT_LT(claimed.size(), filesBelow(homepage()).size());
    for (const QString& file : claimed)
        EXPECT_TRUE(QFileInfo::exists(servers.landing(QStringLiteral("WebDAV")) + QLatin1Char('/') + file)) << file.toStdString();
    // The panel stays with what arrived, and the Activity log has the same line.
    EXPECT_TRUE(sender.panelVisible());
    EXPECT_EQ(sender.cancelTitle(), QStringLiteral("Close"));
    EXPECT_EQ(reports.endings.last().line, sender.status1());
    EXPECT_TRUE(sender.status1().startsWith(QStringLiteral("Cancelled: "))) << sender.status1().toStdString();
    EXPECT_EQ(reports.activity.last(), sender.status1());
    sender.cancel();
    EXPECT_FALSE(sender.panelVisible());
}

TEST_F(PublisherTest, CancelWhileTheSiteIsBuiltSendsNothing)
{
    Servers servers;
    if (const QString why = servers.start(QStringLiteral("WebDAV")); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    XmlLocation& where = *document.location();
    servers.destine(QStringLiteral("WebDAV"), where, QStringLiteral("secret"));
    const QStringList requestsBefore = servers.dav.requests();
    // One step a slice, so that the build is surely under way when Cancel comes.
    qint64 now = 0;
    document.queue().setClock([&now] { return now += 600; });
    publisher.publish(PublishRequest::fromLocation(where, homepage(), false));

    // The run begins with the build: the panel shows it, with its Cancel.
    ASSERT_TRUE(sender.isBuilding());
    EXPECT_TRUE(sender.isRunning());
    EXPECT_TRUE(sender.panelVisible());
    EXPECT_EQ(reports.events.mid(reports.events.lastIndexOf(QStringLiteral("started: Sending Files"))).filter(QStringLiteral("stage: Building the site")).size(), 1)
        << reports.story().toStdString();
    for (int slice = 0; slice < 3; ++slice)
        document.queue().processor();
    ASSERT_TRUE(sender.isBuilding()) << "the build takes more than three steps";
    ASSERT_FALSE(document.queue().processors().isEmpty());

    sender.cancel();
    document.queue().setClock({});
    ASSERT_EQ(reports.endings.size(), 1) << reports.story().toStdString();
    EXPECT_EQ(reports.endings.last().outcome, PublishObserver::Outcome::Cancelled);
    EXPECT_FALSE(sender.isBuilding());
    EXPECT_FALSE(sender.isRunning());
    // The panel says so until Close.
    EXPECT_TRUE(sender.panelVisible());
    EXPECT_EQ(sender.status1(), QStringLiteral("Publication cancelled while the site was built: nothing was sent"));
    // Nothing of the build is left to run, and nothing reached the server.
    EXPECT_TRUE(document.queue().processors().isEmpty());
    EXPECT_FALSE(document.queue().isArmed());
    EXPECT_FALSE(builder.isBuilding());
    EXPECT_TRUE(filesBelow(servers.landing(QStringLiteral("WebDAV"))).isEmpty());
    EXPECT_EQ(servers.dav.requests(), requestsBefore);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    EXPECT_TRUE(reports.activity.contains(QStringLiteral("Publication cancelled while the site was built: nothing was sent")));
    EXPECT_TRUE(observer.notes.isEmpty()) << observer.notes.join(QLatin1Char('\n')).toStdString();

    // The next publication builds anew and sends everything.
    const qsizetype endings = reports.endings.size();
    publisher.publish(PublishRequest::fromLocation(where, homepage(), false));
    ASSERT_TRUE(reports.waitForEnding(endings)) << reports.story().toStdString();
    EXPECT_EQ(reports.endings.last().outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(filesBelow(servers.landing(QStringLiteral("WebDAV"))), filesBelow(homepage()));
    EXPECT_EQ(builder.builds, 2);
}

TEST_F(PublisherTest, APublicationLeavesOneLineInTheActivityLogAndItsFilesInTheDetails)
{
    const QString before = document.activityText();
    publisher.publish(toFolder(false));
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    EXPECT_EQ(document.activityText().mid(before.size()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), QStringList { sender.status1() });
    // The details: what the build made, then each file that went.
    const QString details = sender.debugLog();
    EXPECT_TRUE(details.contains(QStringLiteral("saving file:"))) << details.left(2000).toStdString();
    for (const QString& file : filesBelow(homepage()))
        EXPECT_TRUE(details.contains(QStringLiteral("sent ") + file + QStringLiteral(" ("))) << file.toStdString();
    sender.cancel();

    // A page taken out of the site: its file is removed, and the line says so.
    const std::shared_ptr<XmlBase> last = document.webItems().value(document.webItems().size() - 1);
    auto* gone = dynamic_cast<XmlWebItem*>(last.get());
    ASSERT_NE(gone, nullptr);
    const QString goneFile = gone->fileName();
    ASSERT_TRUE(QFileInfo::exists(destination() + QLatin1Char('/') + goneFile));
    gone->parent()->removeChild(gone);
    const QStringList published = filesBelow(destination());
    const QString second = document.activityText();
    publisher.publish(toFolder(true));
    ASSERT_TRUE(waitForTheUploader()) << sender.status2().toStdString();
    ASSERT_FALSE(sender.taskError()) << sender.status2().toStdString();
    QStringList removed = published;
    for (const QString& file : filesBelow(destination()))
        removed.removeAll(file);
    ASSERT_TRUE(removed.contains(goneFile)) << removed.join(QLatin1Char(' ')).toStdString();
    const QStringList lines = document.activityText().mid(second.size()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    const QRegularExpressionMatch said = QRegularExpression(QStringLiteral("^Published \\d+ files? \\(\\d+ bytes?\\) to ")
        + QRegularExpression::escape(destination()) + QStringLiteral(" and removed (\\d+) files? there in \\d+\\.\\d s$"))
                                                .match(lines.first());
    ASSERT_TRUE(said.hasMatch()) << lines.first().toStdString();
    EXPECT_EQ(said.captured(1).toInt(), removed.size());
    for (const QString& file : removed)
        EXPECT_TRUE(sender.debugLog().contains(QStringLiteral("removed ") + file)) << file.toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination() + QLatin1Char('/') + goneFile));
}
