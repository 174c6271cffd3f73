#include "document/MyDocument.h"
#include "document/SitePictures.h"
#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlProcessor.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Process.h"
#include "support/HtmlValidator.h"
#include "support/SiteBuildRun.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A site made from the starter archive: its own pages, a second text page,
// a password-protected page, a group with an album page of five real photos,
// a feed and one file of the user's own.
class ExportPreparationTest : public StarterSiteTest {
protected:
    ExportPreparationTest()
        : StarterSiteTest(QStringLiteral("Garden %1.lqxl"))
    {
    }

    void SetUp() override
    {
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        StarterSiteTest::SetUp();
    }

    void fillSite()
    {
        addPage(home(), 2, QStringLiteral("Notes"));
        secret = addPage(home(), 2, QStringLiteral("Private"));
        secret->setIsPassword(true);
        secret->setPassword(QStringLiteral("rosebud"));
        album = addPage(*addGroup(), 1);
        // A click on a thumbnail opens the photo's web image.
        for (const auto& photoAlbum : templateNumbered(1)->childrenOfType<XmlWebPhotoAlbum>())
            photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
        for (int i = 0; i < 5; ++i) {
            const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
            writeAll(source, jpegBytes(1600, 1200, QColor::fromHsv(60 * i, 200, 200), 80));
            ASSERT_NE(album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo %1").arg(i)), nullptr);
        }
        publishFeed(QStringLiteral("Garden news"), QStringLiteral("http://example.org/garden"));
        writeAll(folder + QStringLiteral("/files/a.txt"), QByteArray("my own file\n"));
    }

    std::shared_ptr<XmlAlbum> secret;
    std::shared_ptr<XmlAlbum> album;
};

} // namespace

TEST_F(ExportPreparationTest, ARebuiltSiteIsExportedWhole)
{
    fillSite();
    document.rebuildEntireSite();
    runQueue();
    EXPECT_TRUE(QFileInfo(homepage()).isDir());
    EXPECT_TRUE(generated().isEmpty()) << "the rebuild empties the generated site";

    SiteBuildRun build(document);
    EXPECT_FALSE(build.ended) << "the build runs from the queue";
    ASSERT_TRUE(build.wait()) << build.why.toStdString();
    EXPECT_FALSE(document.activityText().contains(QStringLiteral("ERROR"))) << document.activityText().toStdString();
    EXPECT_FALSE(document.activityText().contains(QStringLiteral("error"))) << document.activityText().toStdString();

    // Every page, the style sheets, the feed, the site script and bitmaps.
    QStringList pages;
    for (const XmlBasePtr& item : home().webItems())
        if (auto* page = dynamic_cast<XmlAlbum*>(item.get())) {
            EXPECT_TRUE(QFileInfo::exists(homepage(page->fileName()))) << page->fileName().toStdString();
            pages << page->fileName();
        }
    EXPECT_GE(pages.size(), 5);
    EXPECT_FALSE(QDir(homepage()).entryList({ QStringLiteral("*.css") }).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(homepage(QStringLiteral("rss.xml"))));
    EXPECT_TRUE(QFileInfo::exists(homepage(QStringLiteral("lumenquill.js"))));
    EXPECT_TRUE(QFileInfo::exists(homepage(QStringLiteral("bitmaps/blank.gif"))));
    // The user's own files and the index page.
    EXPECT_EQ(readAll(homepage(QStringLiteral("a.txt"))), QByteArray("my own file\n"));
    auto* first = dynamic_cast<XmlWebItem*>(site().defaultAlbum().get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(readAll(homepage(QStringLiteral("index.html"))), readAll(homepage(first->fileName())));

    // The photos' web images (limited to the picture size) and thumbnails, real JPEGs.
    for (const XmlBasePtr& child : album->photoObjects()) {
        auto* photo = XmlPhoto::cast(child.get());
        const QString n = QString::number(photo->imageSeqNumber());
        const QString webName = QStringLiteral("pictures/image") + n + QStringLiteral(".jpg");
        EXPECT_TRUE(readAll(homepage(album->fileName())).contains(webName.toUtf8()));
        const QSize web = pictureSize(homepage(webName));
        EXPECT_TRUE(web.isValid()) << n.toStdString();
        EXPECT_LE(web.width(), std::max(1024, MyApplication::shared().maxPictureWidth()));
        const QString thumb = homepage(QStringLiteral("pictures/thumb") + n + QStringLiteral(".jpg"));
        const QString framed = homepage(QStringLiteral("pictures/thumb") + n + QStringLiteral(".png"));
        const QSize small = pictureSize(QFileInfo::exists(thumb) ? thumb : framed);
        EXPECT_TRUE(small.isValid() && small.width() < 1600 && small.height() < 1200) << n.toStdString();
    }

    // The protected page is the prompt; the page itself is encrypted in it.
    const QByteArray prompt = readAll(homepage(secret->fileName()));
    EXPECT_TRUE(prompt.contains("qvSealed"));
    EXPECT_FALSE(prompt.contains("Private</")) << "the page's text is not readable";

    // Every page is valid HTML 4.01 Transitional.
    if (!htmlValidatorAvailable())
        GTEST_SKIP() << "onsgmls and the W3C DTDs (opensp, w3c-sgml-lib) are not installed";
    for (const QString& name : QDir(homepage()).entryList({ QStringLiteral("*.html") })) {
        const QString errors = validationErrors(homepage(name));
        EXPECT_TRUE(errors.isEmpty()) << name.toStdString() << ": " << errors.left(1500).toStdString();
    }
}

TEST_F(ExportPreparationTest, PreparingAnUnchangedSiteAgainGivesTheSameBytes)
{
    fillSite();
    ASSERT_TRUE(SiteBuildRun(document).wait());
    const QMap<QString, QByteArray> first = generated();
    ASSERT_FALSE(first.isEmpty());
    ASSERT_TRUE(SiteBuildRun(document).wait());
    const QMap<QString, QByteArray> second = generated();
    EXPECT_EQ(first.keys(), second.keys());
    for (auto it = first.begin(); it != first.end(); ++it)
        EXPECT_EQ(it.value(), second.value(it.key())) << it.key().toStdString();
}

// Each page is written before the next one is made: however many pages the
// site has, the queue holds one page's script at a time, and each page file
// is there as soon as its script has run.
TEST_F(ExportPreparationTest, PagesAreWrittenOneByOne)
{
    fillSite();
    QList<std::shared_ptr<XmlAlbum>> pages;
    for (int i = 0; i < 30; ++i)
        pages.append(addPage(home(), 2, QStringLiteral("Page %1").arg(i)));
    SiteBuildRun build(document);
    qsizetype most = 0;
    int pagesMadeBeforeTheLast = 0;
    // The queue's clock lets one step run per slice.
    qint64 now = 0;
    document.queue().setClock([&now] { return now += 300; });
    for (int turn = 0; turn < 100000 && !document.queue().processors().isEmpty(); ++turn) {
        const auto& scripts = document.queue().processors();
        most = std::max(most, std::count_if(scripts.begin(), scripts.end(), [](const auto& script) {
            return script->statusMessage().startsWith(QStringLiteral("Creating HTML for "));
        }));
        document.queue().processor();
        if (!QFileInfo::exists(homepage(pages.last()->fileName())))
            pagesMadeBeforeTheLast = static_cast<int>(std::count_if(pages.begin(), pages.end(),
                [&](const auto& page) { return QFileInfo::exists(homepage(page->fileName())); }));
    }
    document.queue().stopProcessor();
    document.queue().setClock({});
    ASSERT_TRUE(build.ended) << "told as the last script ran";
    ASSERT_TRUE(build.published) << build.why.toStdString();
    EXPECT_EQ(most, 1) << "one page's script at a time";
    EXPECT_EQ(pagesMadeBeforeTheLast, 29);
    EXPECT_FALSE(document.activityText().contains(QStringLiteral("ERROR"))) << document.activityText().toStdString();
}

TEST_F(ExportPreparationTest, ACancelledBuildGoesNoFurtherAndHomepageIsAlwaysMade)
{
    fillSite();
    ASSERT_TRUE(QDir(folder + QStringLiteral("/files")).removeRecursively());
    SiteBuildRun build(document);
    EXPECT_TRUE(QFileInfo(homepage(QStringLiteral("pictures"))).isDir()) << "made even without the user's files";
    EXPECT_TRUE(QFileInfo(homepage(QStringLiteral("bitmaps"))).isDir());
    ASSERT_FALSE(document.queue().processors().isEmpty());
    // A few steps run, then the build is cancelled: no script of it runs any more.
    for (int slice = 0; slice < 2; ++slice)
        document.queue().processor();
    ASSERT_FALSE(build.ended);
    build.cancel();
    EXPECT_TRUE(build.ended);
    EXPECT_FALSE(build.published);
    EXPECT_EQ(build.why, QStringLiteral("The build of the site was cancelled."));
    EXPECT_TRUE(document.queue().processors().isEmpty());
    EXPECT_FALSE(document.queue().isArmed()) << "no slice is left to run";
}

TEST_F(ExportPreparationTest, TheRebuildKeepsWhatTheSiteAndItsSnapshotsUse)
{
    auto page = XmlAlbum::create();
    home().addChild(page);
    page->newDocument();
    const QString source = work.filePath(QStringLiteral("p.jpg"));
    writeAll(source, jpegBytes(64, 48));
    auto a = page->importPhotoIndexCaption(source, -1, QString());
    auto b = page->importPhotoIndexCaption(source, -1, QString());
    ASSERT_TRUE(a && b);
    const QString pictures = folder + QStringLiteral("/pictures/");
    for (const QString& name : QDir(pictures).entryList(QDir::Files))
        QFile::remove(pictures + name);
    a->setImageSeqNumber(3);
    b->setImageSeqNumber(12);
    for (const char* name : { "image3.jpg", "image12.jpg", "image40.jpg", "image41.jpg", "x.jpg", "img.png" })
        writeAll(pictures + QLatin1String(name), jpegBytes(8, 8));
    writeAll(pictures + QStringLiteral("old/image99.jpg"), jpegBytes(8, 8));
    // A snapshot of the site still names picture 41.
    const QString staging = work.filePath(QStringLiteral("snapshot"));
    writeAll(staging + QStringLiteral("/site.xmlbase"), QByteArray("<QZsite><QZhomepage><QZalbum><QZphoto iseq=\"41\" s=\"1\" alt=\"\"/></QZalbum></QZhomepage></QZsite>"));
    ASSERT_TRUE(lq::runProcess(QStringLiteral("/usr/bin/zip"), { QStringLiteral("-q"), QStringLiteral("-j"),
        folder + QStringLiteral("/revert/old.qvzip"), staging + QStringLiteral("/site.xmlbase") }).succeeded());
    // Stray folders go, plain files stay.
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("junk/deep")));
    writeAll(folder + QStringLiteral("/notes.txt"), QByteArray("kept"));
    writeAll(folder + QStringLiteral("/temp/t.jpg"), QByteArray("cache"));

    EXPECT_EQ(SitePictures(document).getMaxPhotoSequenceNumber(), 99) << "only image<digits> names count, at any depth";
    document.rebuildEntireSite();

    QStringList left = QDir(pictures).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_EQ(left, (QStringList { QStringLiteral("image12.jpg"), QStringLiteral("image3.jpg"), QStringLiteral("image41.jpg") }));
    EXPECT_EQ(site().imageSeqTest(), 42);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/junk")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/notes.txt")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/temp/t.jpg")));
    for (const char* made : { "temp", "bitmaps2", "revert", "homepage/pictures", "homepage/bitmaps", "files" })
        EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + QLatin1String(made)).isDir()) << made;
    ASSERT_EQ(document.queue().processors().size(), 1);
    EXPECT_EQ(document.queue().processors().front()->statusMessage(), QStringLiteral("Rebuilding site..."));
    runQueue();

    // An album rebuild of a page without photos queues nothing.
    auto empty = XmlAlbum::create();
    home().addChild(empty);
    document.rebuildPhotoAlbum(empty.get());
    document.rebuildPhotoAlbum(nullptr);
    EXPECT_TRUE(document.queue().processors().isEmpty());
    document.rebuildPhotoAlbum(page.get());
    ASSERT_EQ(document.queue().processors().size(), 1);
    EXPECT_EQ(document.queue().processors().front()->numberChildren(), 2);
    runQueue();
}
