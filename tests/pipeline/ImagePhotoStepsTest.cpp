#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlCreateBitmapSlice.h"
#include "pipeline/XmlCreateSlide.h"
#include "pipeline/XmlCreateWebBitmap.h"
#include "pipeline/XmlCreateWebImage.h"
#include "pipeline/XmlCreateWinIEBitmap.h"
#include "pipeline/XmlImportPhoto.h"
#include "pipeline/XmlPasswordProtect.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRebuildPhoto.h"
#include "pipeline/XmlResizeThumbnail.h"
#include "model/imaging/XmlCanvas.h"
#include "model/site/XmlPhoto.h"
#include "platform/Escaping.h"
#include "templates/XmlCSSBackground.h"
#include "templates/XmlCSSImage.h"
#include "support/ScopedServices.h"
#include "support/ChildNames.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/QueueDocument.h"
#include "support/ThemeInFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A photo with a pattern, so that scaling shows.
QByteArray photoBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, w, h / 2, Qt::red);
    painter.fillRect(0, h / 2, w, h - h / 2, Qt::blue);
    painter.end();
    return encoded(image, "JPG");
}

class ImagePhotoStepsTest : public SiteWithQueueTest {
protected:
    std::shared_ptr<XmlPhoto> import(int w, int h)
    {
        const QString path = sources.filePath(QStringLiteral("in") + QString::number(++_imports) + QStringLiteral(".jpg"));
        writeAll(path, photoBytes(w, h));
        return album->importPhotoIndexCaption(path, -1, QString());
    }
    QString header(const QString& status) const
    {
        return QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(folder.path()) + QStringLiteral("\" status=\"")
            + status + QStringLiteral("\">");
    }
    QString published(const QString& name) const { return homepage(QStringLiteral("pictures/") + name); }
    void drain() { document.drain(); }

    QTemporaryDir sources;
    int _imports = 0;
};

} // namespace

TEST_F(ImagePhotoStepsTest, PhotoStepsOfAScriptWriteTheImagesAndTheirLines)
{
    PictureLimits limits(1024, 768);
    auto first = import(1600, 1200);
    auto second = import(800, 600);
    ASSERT_TRUE(first && second);
    const int a = first->imageSeqNumber();
    const int b = second->imageSeqNumber();
    LogCapture log;
    document.queue.startProcessor(processorScript(header(QStringLiteral("Creating HTML for Home"))
        + QStringLiteral("<QZcreateWebImage photo=\"") + first->UUID() + QStringLiteral("\" thumbSize=\"{160, 120}\" fullSize=\"1\" />")
        + QStringLiteral("<QZcreateSlide photo=\"") + second->UUID() + QStringLiteral("\" size=\"{300, 300}\" />")
        + QStringLiteral("<QZcreateSlide photo=\"0000000000000BAD\" size=\"{300, 300}\" />")
        + QStringLiteral("<QZcreateWebImage photo=\"0000000000000BAD\" thumbSize=\"{160, 120}\" />")
        + QStringLiteral("</QZprocessor>")));
    drain();

    EXPECT_EQ(pictureSize(published(QStringLiteral("image%1.jpg").arg(a))), QSize(1024, 768));
    EXPECT_EQ(pictureSize(published(QStringLiteral("thumb%1.jpg").arg(a))), QSize(160, 120));
    EXPECT_EQ(pictureSize(published(QStringLiteral("slide%1.jpg").arg(b))), QSize(300, 225));
    EXPECT_FALSE(QFileInfo::exists(published(QStringLiteral("slide%1.jpg").arg(a))));
    const QString activity = document.queue.activityText();
    EXPECT_TRUE(activity.contains(QStringLiteral("Creating HTML for Home create web image:%1\n").arg(a))) << activity.toStdString();
    EXPECT_TRUE(activity.contains(QStringLiteral("Creating HTML for Home create slide:") + QString::number(b) + QLatin1Char(' ')
        + second->UUID() + QLatin1Char('\n')))
        << activity.toStdString();
    EXPECT_FALSE(activity.contains(QStringLiteral("ERROR"))) << activity.toStdString();
    EXPECT_TRUE(log.lines.contains(QStringLiteral("no photo!"))) << log.lines.join('\n').toStdString();
}

TEST_F(ImagePhotoStepsTest, ScriptAttributesAndTheirDefaults)
{
    struct Case {
        const char* text;
        std::function<void(XmlBase*)> check;
    };
    const std::vector<Case> cases {
        { "<QZcreateWebImage photo=\"P\" thumbSize=\"{160, 120}\" fullSize=\"1\" frame=\"F\" frameRect=\"{{1, 2}, {30, 40}}\" thumbRect=\"{{5, 6}, {20, 10}}\" />",
            [](XmlBase* s) {
                auto* step = XmlCreateWebImage::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->photo(), QStringLiteral("P"));
                EXPECT_EQ(step->thumbSize(), lq::Size(160, 120));
                EXPECT_EQ(step->fullSize(), 1);
                EXPECT_EQ(step->frame(), QStringLiteral("F"));
                EXPECT_EQ(step->frameRect(), lq::Rect(1, 2, 30, 40));
                EXPECT_EQ(step->thumbRect(), lq::Rect(5, 6, 20, 10));
            } },
        { "<QZcreateWebImage photo=\"P\" fullSize=\"yes\" />",
            [](XmlBase* s) {
                auto* step = XmlCreateWebImage::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->fullSize(), 0) << "not a number";
                EXPECT_EQ(step->thumbSize(), lq::Size());
                EXPECT_TRUE(step->frame().isNull());
                EXPECT_EQ(step->frameRect(), lq::Rect());
                EXPECT_EQ(step->thumbRect(), lq::Rect());
            } },
        { "<QZcreateSlide photo=\"P\" size=\"{640, 480}\" />",
            [](XmlBase* s) {
                auto* step = XmlCreateSlide::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->photo(), QStringLiteral("P"));
                EXPECT_EQ(step->size(), lq::Size(640, 480));
            } },
        { "<QZcreateWebBitmap image=\"I\" />",
            [](XmlBase* s) {
                auto* step = XmlCreateWebBitmap::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->imageuuid(), QStringLiteral("I"));
            } },
        { "<QZcreateBitmapSlice image=\"I\" top=\"12\" bottom=\"x\"/>",
            [](XmlBase* s) {
                auto* step = XmlCreateBitmapSlice::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->image(), QStringLiteral("I"));
                EXPECT_EQ(step->topSlice(), 12);
                EXPECT_EQ(step->bottomSlice(), 0);
            } },
        { "<QZcreateWinIEBitmap image=\"I\" filename=\"ie1.png\" size=\"{200, 100}\" type=\"1\" x=\"50\" y=\"-3\" />",
            [](XmlBase* s) {
                auto* step = XmlCreateWinIEBitmap::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->image(), QStringLiteral("I"));
                EXPECT_EQ(step->imageFilename(), QStringLiteral("ie1.png"));
                EXPECT_EQ(step->imageSize(), lq::Size(200, 100));
                EXPECT_EQ(step->imageType(), 1);
                EXPECT_EQ(step->xoffset(), 50);
                EXPECT_EQ(step->yoffset(), -3);
            } },
        { "<QZpassword album=\"A\" filename=\"p.html\" newname=\"xxA.html\" bkgnd=\"#FFFFFF\" />",
            [](XmlBase* s) {
                auto* step = XmlPasswordProtect::cast(s);
                ASSERT_NE(step, nullptr);
                EXPECT_EQ(step->album(), QStringLiteral("A"));
                EXPECT_EQ(step->filename(), QStringLiteral("p.html"));
                EXPECT_EQ(step->newname(), QStringLiteral("xxA.html"));
                EXPECT_EQ(step->bkgnd(), QStringLiteral("#FFFFFF"));
                EXPECT_EQ(step->createXml().trimmed(), QStringLiteral("<QZpassword album=\"A\" filename=\"p.html\" newname=\"xxA.html\" bkgnd=\"#FFFFFF\"/>"))
                    << "written back as read";
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const XmlBasePtr step = XmlBase::createWithXmlRootDir(QString::fromUtf8(c.text), QString());
        ASSERT_NE(step, nullptr);
        c.check(step.get());
    }
}

TEST_F(ImagePhotoStepsTest, ImportedFilesEndInTheirOrderAtAnIndexAndAtTheEnd)
{
    // Two photos there already: "in1" and "in2".
    import(120, 90);
    import(120, 90);
    struct Case {
        const char* what;
        int index;
        QStringList names;
    };
    const Case cases[] = {
        { "between the two", 1, { "in1", "x", "y", "z", "in2" } },
        { "at the end", -1, { "in1", "in2", "x", "y", "z" } },
    };
    for (const Case& c : cases) {
        for (const auto& photo : album->childrenOfType<XmlPhoto>()) {
            if (photo->name().size() == 1)
                album->removeChild(photo.get());
        }
        QStringList files;
        for (const char* name : { "x", "y", "z" }) {
            files.append(sources.filePath(QString::fromLatin1(name) + QStringLiteral(".jpg")));
            writeAll(files.last(), photoBytes(80, 60));
        }
        document.queue.startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex(files, album->UUID(), c.index));
        drain();
        EXPECT_EQ(childNames(*album), c.names) << c.what;
    }
}

TEST_F(ImagePhotoStepsTest, InMemoryStepsAndObjectsThatAreGone)
{
    auto photo = import(400, 300);
    ASSERT_TRUE(photo);
    const QString picture = sources.filePath(QStringLiteral("new.jpg"));
    writeAll(picture, photoBytes(200, 100));

    auto processor = XmlProcessor::create();
    processor->setStatusMessage(QStringLiteral("Rebuilding photo album..."));
    processor->addChild(XmlRebuildPhoto::createForUUID(photo->UUID()));
    processor->addChild(XmlResizeThumbnail::createForUUIDSize(photo->UUID(), lq::Size(100, 100)));
    processor->addChild(XmlImportPhoto::createForFileAlbumIndex(picture, album->UUID(), 0));
    int refreshes = 0;
    document.queue.setRefreshHandler([&] { ++refreshes; });
    document.queue.startProcessor(processor);
    drain();

    const QString activity = document.queue.activityText();
    const QString n = QString::number(photo->imageSeqNumber());
    EXPECT_TRUE(activity.contains(QStringLiteral("Rebuilding photo album... rebuild photo:") + n + QLatin1Char('\n'))) << activity.toStdString();
    EXPECT_TRUE(activity.contains(QStringLiteral("Rebuilding photo album... resize thumbnail:") + n + QLatin1Char('\n'))) << activity.toStdString();
    EXPECT_TRUE(activity.contains(QStringLiteral("Rebuilding photo album...\n"))) << "the import's line: " << activity.toStdString();
    EXPECT_TRUE(QFileInfo::exists(photo->iconFilename())) << "internal images made";
    EXPECT_EQ(photo->canvas()->thumbAspectX(), 100);
    const auto photos = album->childrenOfType<XmlPhoto>();
    ASSERT_EQ(photos.size(), 2);
    EXPECT_NE(photos.front(), photo) << "imported at index 0";
    EXPECT_GE(refreshes, 1);

    // Objects deleted before their steps run: the answers stay, nothing happens.
    struct Gone {
        const char* what;
        std::shared_ptr<XmlRun> step;
        bool answer;
        QString line;
    };
    const std::vector<Gone> gone {
        { "rebuild", XmlRebuildPhoto::createForUUID(QStringLiteral("0000000000000BAD")), true, QString() },
        { "resize", XmlResizeThumbnail::createForUUIDSize(QStringLiteral("0000000000000BAD"), lq::Size(9, 9)), true, QString() },
        { "import", XmlImportPhoto::createForFileAlbumIndex(picture, QStringLiteral("0000000000000BAD"), 0), false, QStringLiteral("S\n") },
        { "password", XmlPasswordProtect::createForAlbumFilenameNewnameBkgnd(QStringLiteral("0000000000000BAD"),
              QStringLiteral("p.html"), QStringLiteral("xx.html"), QStringLiteral("#FFFFFF")), false, QString() },
    };
    auto holder = XmlProcessor::create();
    holder->setStatusMessage(QStringLiteral("S"));
    for (const Gone& g : gone) {
        SCOPED_TRACE(g.what);
        holder->addChild(g.step);
        EXPECT_EQ(g.step->statusMessage(), g.line) << "the import keeps the base line";
        EXPECT_EQ(g.step->run(), g.answer);
    }
    EXPECT_EQ(album->childrenOfType<XmlPhoto>().size(), 2);
}

TEST_F(ImagePhotoStepsTest, ThumbnailsOfNewSizesAreMadeByOneResizingScript)
{
    auto first = import(400, 300);
    auto second = import(300, 400);
    ASSERT_TRUE(first && second);
    const std::shared_ptr<XmlProcessor> resizing = XmlResizeThumbnail::createProcessorForThumbnails(
        { { first->UUID(), lq::Size(100, 75) }, { second->UUID(), lq::Size(45, 60) } });
    EXPECT_EQ(resizing->statusMessage(), QStringLiteral("Resizing Thumbnails..."));
    ASSERT_EQ(resizing->numberChildren(), 2);
    document.queue.startProcessor(resizing);
    drain();

    const QString activity = document.queue.activityText();
    for (const auto& [photo, size] : { std::pair { first, lq::Size(100, 75) }, std::pair { second, lq::Size(45, 60) } }) {
        SCOPED_TRACE(photo->imageSeqNumber());
        EXPECT_TRUE(activity.contains(QStringLiteral("Resizing Thumbnails... resize thumbnail:")
            + QString::number(photo->imageSeqNumber()) + QLatin1Char('\n'))) << activity.toStdString();
        EXPECT_EQ(photo->thumbnail().size(), size);
        EXPECT_FALSE(photo->pendingResize());
    }
}

TEST(ImageBackgroundSteps, BackgroundStepsNameTheImageByItsUUID)
{
    QTemporaryDir folder;
    FakeDocument document;
    auto theme = ThemeInFolder::create(folder.path());
    theme->setDocument(&document);
    auto background = XmlCSSBackground::create();
    theme->addChild(background);
    auto record = XmlCSSImage::create();
    record->setParent(background.get());
    record->setImageUUID(QStringLiteral("U"));
    record->setIType(2);
    writeAll(folder.filePath(QStringLiteral("bitmaps2/U.png")), encoded(bands(10, { { 20, Qt::red }, { 30, Qt::green }, { 10, Qt::blue } }), "PNG"));

    const QString uuid = record->UUID();
    auto processor = processorScript(QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(folder.path())
        + QStringLiteral("\" status=\"Creating CSS for Main\">") + QStringLiteral("<QZcreateWebBitmap image=\"") + uuid
        + QStringLiteral("\" /><QZcreateBitmapSlice image=\"") + uuid + QStringLiteral("\" top=\"20\" bottom=\"10\"/>")
        + QStringLiteral("<QZcreateWinIEBitmap image=\"") + uuid
        + QStringLiteral("\" filename=\"ie.png\" size=\"{40, 40}\" type=\"0\" x=\"0\" y=\"0\" /></QZprocessor>"));
    ASSERT_NE(processor, nullptr);
    const QStringList names { QStringLiteral("create web bitmap:"), QStringLiteral("create bitmap slice:"),
        QStringLiteral("create win ie bitmap:") };
    const auto steps = processor->children();
    ASSERT_EQ(steps.size(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* step = XmlRun::cast(steps[i].get());
        EXPECT_EQ(step->statusMessage(), QStringLiteral("Creating CSS for Main  ") + names[i] + uuid + QLatin1Char('\n'));
        EXPECT_EQ(uuid.size(), 16);
        EXPECT_FALSE(step->run());
    }
    const QDir made(folder.filePath(QStringLiteral("homepage/bitmaps")));
    EXPECT_TRUE(made.exists(QStringLiteral("U.png")));
    EXPECT_TRUE(made.exists(QStringLiteral("ie.png")));
    EXPECT_EQ(QImage(made.filePath(QStringLiteral("ie.png"))).size(), QSize(40, 40));
    EXPECT_GE(made.entryList({ QStringLiteral("*.jpg") }).size(), 3) << "top, middle and bottom slices";

    // Gone images: empty lines, nothing written.
    record->setParent(nullptr);
    const QString stale = uuid;
    record.reset();
    auto again = processorScript(QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(folder.path())
        + QStringLiteral("\" status=\"S\"><QZcreateWebBitmap image=\"") + stale + QStringLiteral("\" /></QZprocessor>"));
    auto* step = XmlRun::cast(again->children().front().get());
    EXPECT_EQ(step->statusMessage(), QString());
    EXPECT_FALSE(step->run());
    theme->setDocument(nullptr);
}

namespace {

TEST_F(ImagePhotoStepsTest, ImportStepsTakeTheLibrarysCaptionWhenMade)
{
    const QString beach = sources.filePath(QStringLiteral("beach.jpg"));
    const QString hills = sources.filePath(QStringLiteral("hills.jpg"));
    writeAll(beach, photoBytes(40, 30));
    writeAll(hills, photoBytes(40, 30));
    QHash<QString, QString> library { { beach, QStringLiteral("Sun & <sea>") } };
    QStringList asked;
    const ScopedServices lookup([&](lq::Services& services) {
        services.captionLookup = [&](const QString& file) {
            asked.append(file);
            return library.value(file);
        };
    });

    const auto script = XmlImportPhoto::createProcessorForFilesAlbumIndex({ beach, hills }, album->UUID(), 0);
    EXPECT_EQ(asked, (QStringList { hills, beach })) << "one question per step, when it is made";
    ASSERT_EQ(script->numberChildren(), 2);
    EXPECT_TRUE(XmlImportPhoto::cast(script->childAtIndex(0).get())->caption().isNull());
    EXPECT_EQ(XmlImportPhoto::cast(script->childAtIndex(1).get())->caption(), QStringLiteral("Sun & <sea>"));

    // What the library says later changes nothing of a step already made.
    library.insert(hills, QStringLiteral("Too late"));
    document.queue.startProcessor(script);
    drain();
    EXPECT_EQ(album->photoCaptions(), (QStringList { "<p>Sun &amp; &lt;sea&gt;</p>", "<p>hills</p>" }));
}

} // namespace
