#include "publish/Publisher.h"

#include "document/DocumentSiteBuilder.h"
#include "publish/PublishObserver.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"
#include "platform/Workspace.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"

#include <QRegularExpression>
#include <QUrl>

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
    void buildSite(std::function<void()> then, std::function<void(const QString&)> failed) override
    {
        ++builds;
        if (!failWith.isEmpty()) {
            failed(failWith);
            return;
        }
        _built.buildSite(std::move(then), std::move(failed));
    }

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
        publisher.setObserver(&observer);
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
    EXPECT_FALSE(sender.panelVisible());
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
