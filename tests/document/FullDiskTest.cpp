// A site document on a disk that runs full: a save or a revert answers no
// with the system's reason and keeps the saved files whole; a build with steps that
// could not write their files never reaches the publishing.
#include "document/MyDocument.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/ProcessorQueue.h"
#include "platform/FileHelpers.h"
#include "platform/Zip.h"
#include "support/SiteBuildRun.h"
#include "support/SmallFilesystem.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList documentFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"),
    QStringLiteral("location.xmlbase"), QStringLiteral("rss.xmlbase") };

class FullDiskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!disk.isMounted())
            GTEST_SKIP() << "no small file system can be mounted here (mounting needs the right to mount)";
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        folder = disk.filePath(QStringLiteral("Site.lqxl"));
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
    }

    // Three pages, one with photos, and a published feed.
    void fillSite()
    {
        XmlHomePage* home = document.site()->homepage();
        for (int page = 0; page < 3; ++page) {
            auto album = XmlAlbum::create();
            home->addChild(album);
            album->newDocument();
            album->setName(QStringLiteral("Page %1").arg(page));
            if (page == 1)
                for (int i = 0; i < 3; ++i) {
                    const QString source = pictures.filePath(QStringLiteral("in%1.jpg").arg(i));
                    writeAll(source, jpegBytes(400, 300, QColor::fromHsv(90 * i, 200, 200), 80));
                    ASSERT_NE(album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo %1").arg(i)), nullptr);
                }
        }
        document.rss()->setPublish(true);
        document.rss()->setTitle(QStringLiteral("News"));
        ASSERT_TRUE(document.writeWithBackupToFile(folder)) << document.lastError().toStdString();
    }

    QByteArray documentText() const
    {
        QByteArray text;
        for (const QString& name : documentFiles)
            text += readAll(folder + QLatin1Char('/') + name);
        return text;
    }

    SmallFilesystem disk { 24 * 1024 * 1024 };
    QTemporaryDir pictures;
    QString folder;
    MyDocument document;
};

} // namespace

TEST_F(FullDiskTest, ASaveOnAFullDiskAnswersNoWithTheReasonAndKeepsTheFilesWhole)
{
    const QByteArray saved = documentText();
    const int snapshots = QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files).size();
    document.site()->setDisableImageWell(0);
    disk.fillLeaving(0);

    EXPECT_FALSE(document.saveFileWithComment(folder, QString()));
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("No space left on device"))) << document.lastError().toStdString();
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(documentText(), saved);
    EXPECT_EQ(QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files).size(), snapshots);
    // Nothing half-written stays beside the files.
    for (const QString& entry : lq::folderEntries(folder))
        EXPECT_FALSE(entry.contains(QStringLiteral("lqtmp"))) << entry.toStdString();

    // Once there is room again, the same save goes through.
    ASSERT_TRUE(QFile::remove(disk.filePath(QStringLiteral(".filler"))));
    EXPECT_TRUE(document.saveFileWithComment(folder, QString())) << document.lastError().toStdString();
    EXPECT_TRUE(readAll(folder + QStringLiteral("/site.xmlbase")).contains("disableImageWell=\"0\""));
}

TEST_F(FullDiskTest, ARevertOnAFullDiskChangesNothingAndLeavesNothingBehind)
{
    const QString first = folder + QStringLiteral("/revert/") + QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files).value(0);
    fillSite();
    const QByteArray saved = documentText();
    XmlSite* site = document.site();
    disk.fillLeaving(0);

    EXPECT_FALSE(document.revertFromFile(first));
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("could not revert"))) << document.lastError().toStdString();
    EXPECT_EQ(document.site(), site);
    EXPECT_EQ(documentText(), saved);
    for (const QString& entry : lq::folderEntries(folder))
        EXPECT_FALSE(entry.contains(QStringLiteral("lqtmp")) || entry.startsWith(QStringLiteral(".lumenquill-"))) << entry.toStdString();

    // Once there is room again, the same revert goes through.
    ASSERT_TRUE(QFile::remove(disk.filePath(QStringLiteral(".filler"))));
    EXPECT_TRUE(document.revertFromFile(first)) << document.lastError().toStdString();
    EXPECT_NE(documentText(), saved);
}

TEST_F(FullDiskTest, ABuildWithFailedStepsIsNeverHandedToPublishing)
{
    fillSite();
    // With room to spare the export goes through.
    SiteBuildRun roomy(document);
    ASSERT_TRUE(roomy.wait()) << document.activityText().toStdString();

    // With the disk nearly full, pages and pictures cannot all be written
    // (the export makes the built folder afresh: its old files go first).
    ASSERT_TRUE(lq::removeItem(folder + QStringLiteral("/homepage")));
    disk.fillLeaving(48 * 1024);
    SiteBuildRun full(document);
    EXPECT_FALSE(full.wait()) << "a broken build must not be published";
    EXPECT_TRUE(full.ended);
    EXPECT_EQ(full.why, document.lastError());
    EXPECT_GT(document.queue().failedSteps(), 0);
    const QString activity = document.activityText();
    EXPECT_TRUE(activity.contains(QStringLiteral("No space left on device"))) << activity.toStdString();
    EXPECT_TRUE(activity.contains(QStringLiteral("The export stopped"))) << activity.toStdString();
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("nothing was published"))) << document.lastError().toStdString();
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("No space left on device"))) << document.lastError().toStdString();

    // Room again: the next export starts its count afresh and goes through.
    ASSERT_TRUE(QFile::remove(disk.filePath(QStringLiteral(".filler"))));
    SiteBuildRun again(document);
    EXPECT_TRUE(again.wait()) << document.activityText().toStdString();
}

TEST(NewDocumentOnAFullDisk, LeavesNoFolderAndTellsWhy)
{
    SmallFilesystem disk(1024 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    disk.fillLeaving(8 * 1024);
    const QString folder = disk.filePath(QStringLiteral("New.lqxl"));
    MyDocument document;
    EXPECT_FALSE(document.newDocument(folder));
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("No space left on device"))) << document.lastError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(document.site(), nullptr);

    // A starter that unpacks but holds no site says so, and goes too.
    QTemporaryDir work;
    writeAll(work.filePath(QStringLiteral("starter/notes.txt")), "no site here");
    const QString archive = work.filePath(QStringLiteral("starter.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, work.filePath(QStringLiteral("starter")), QStringLiteral("notes.txt"), false));
    const QString other = work.filePath(QStringLiteral("Other.lqxl"));
    EXPECT_FALSE(document.newDocumentFromArchive(other, archive));
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("the starter site cannot be read"))) << document.lastError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(other));
}
