#include "pipeline/XmlResizeThumbnail.h"
#include "templates/XmlPictureFrame.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlTrash.h"
#include "platform/graphics/GraphicsContext.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"
#include "support/StarterSite.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A frame that records its drawing and paints its background green.
class RecordingFrame : public XmlPictureFrame {
public:
    using XmlPictureFrame::XmlPictureFrame;
    static std::shared_ptr<RecordingFrame> create() { return make<RecordingFrame>(); }
    void drawObjectBackground(const lq::Rect& rect, bool background) override
    {
        calls.append(background ? QStringLiteral("background") : QStringLiteral("overlay"));
        if (background && lq::GraphicsContext::current()) {
            lq::GraphicsContext::current()->setColor(lq::Colour(0, 1, 0));
            lq::GraphicsContext::current()->fillRect(rect);
        }
    }
    QStringList calls;
};

// A real JPEG photo: top half red, bottom half blue.
QByteArray halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, w, h / 2, Qt::red);
    painter.fillRect(0, h / 2, w, h - h / 2, Qt::blue);
    painter.end();
    return encoded(image, "JPG");
}

QImage decoded(const QString& path)
{
    QImage image;
    image.loadFromData(readAll(path));
    return image;
}

} // namespace

class XmlPhotoImageFilesTest : public SiteInFolderTest {
protected:
    // A photo of the picture, imported into the album page and numbered.
    std::shared_ptr<XmlPhoto> import(const QByteArray& bytes, XmlBase* page = nullptr)
    {
        std::shared_ptr<XmlPhoto> photo = XmlPhoto::createFromFile(source(QStringLiteral("in.jpg"), bytes));
        EXPECT_NE(photo, nullptr);
        (page ? page : album.get())->addChild(photo);
        photo->newDocument(QString());
        return photo;
    }
    QString published(const char* name, int number, const char* extension) const
    {
        return QStringLiteral("%1/homepage/pictures/%2%3.%4").arg(folder.path(), QString::fromLatin1(name), QString::number(number),
                                                                 QString::fromLatin1(extension));
    }
};

TEST_F(XmlPhotoImageFilesTest, InternalImagesAreWrittenIntoTemp)
{
    auto photo = import(halves(400, 300));
    photo->createInternalImages();
    EXPECT_EQ(photo->backstoreCount(), 0);
    EXPECT_EQ(pictureSize(photo->thumbnailFilename()), QSize(320, 240));
    EXPECT_EQ(pictureSize(photo->iconFilename()), QSize(120, 90));
    EXPECT_EQ(pictureSize(photo->fullSizeFilename()), QSize(400, 300));
    EXPECT_TRUE(photo->thumbnailFilename().startsWith(folder.path() + QStringLiteral("/temp/")));

    // Kept in memory; a photo read anew takes them from "temp".
    EXPECT_EQ(photo->thumbnail().size(), lq::Size(320, 240));
    QFile::remove(photo->fullSizeFilename());
    auto again = XmlPhoto::create();
    again->setImageSeqNumber(photo->imageSeqNumber());
    album->addChild(again);
    EXPECT_EQ(again->thumbnail().size(), lq::Size(320, 240));
    EXPECT_EQ(again->iconImage().size(), QSize(120, 90));
    EXPECT_FALSE(QFileInfo::exists(photo->fullSizeFilename())) << "read, not made again";
    // A missing cache file is made again rather than reported.
    QFile::remove(photo->iconFilename());
    auto third = XmlPhoto::create();
    third->setImageSeqNumber(photo->imageSeqNumber());
    album->addChild(third);
    EXPECT_EQ(third->iconImage().size(), QSize(120, 90));
    EXPECT_TRUE(QFileInfo::exists(photo->iconFilename()));
}

TEST_F(XmlPhotoImageFilesTest, WebImageAndThumbnailOfARealPhoto)
{
    PictureLimits limits(1024, 768);
    auto photo = import(halves(1600, 1200));
    photo->createWebImageFullSizeFrameFrameRectThumbRect(lq::Size(160, 120), true, nullptr, lq::Rect(), lq::Rect());
    const int n = photo->imageSeqNumber();
    const QImage web = decoded(published("image", n, "jpg"));
    ASSERT_FALSE(web.isNull());
    EXPECT_EQ(web.size(), QSize(1024, 768)) << "the full-size image, limited to the picture size";
    EXPECT_EQ(readAll(published("image", n, "jpg")), readAll(photo->fullSizeFilename()));
    const QImage thumb = decoded(published("thumb", n, "jpg"));
    ASSERT_FALSE(thumb.isNull());
    EXPECT_EQ(thumb.size(), QSize(160, 120));
    EXPECT_GT(thumb.pixelColor(80, 10).red(), 200) << "upright: red on top";
    EXPECT_GT(thumb.pixelColor(80, 110).blue(), 200);
    EXPECT_EQ(photo->canvas()->thumbAspectX(), 160);
    EXPECT_EQ(photo->canvas()->thumbAspectY(), 120);

    photo->createSlideImage(lq::Size(500.9f, 300));
    EXPECT_EQ(decoded(published("slide", n, "jpg")).size(), QSize(400, 300));
}

TEST_F(XmlPhotoImageFilesTest, WhoGetsAWebImage)
{
    // With the site's image well off, the web image is the stored picture itself.
    site->setDisableImageWell(1);
    auto photo = import(halves(200, 100));
    photo->createWebImageFullSizeFrameFrameRectThumbRect(lq::Size(), true, nullptr, lq::Rect(), lq::Rect());
    EXPECT_EQ(readAll(published("image", photo->imageSeqNumber(), "jpg")), readAll(stored(photo->imageSeqNumber())));
    EXPECT_FALSE(QFileInfo::exists(published("thumb", photo->imageSeqNumber(), "jpg"))) << "a zero size writes no thumbnail";
    site->setDisableImageWell(0);

    // A photo on a group page gets none.
    auto group = XmlGroup::create();
    site->homepage()->addChild(group);
    auto grouped = import(halves(200, 100), group.get());
    grouped->createWebImageFullSizeFrameFrameRectThumbRect(lq::Size(80, 60), true, nullptr, lq::Rect(), lq::Rect());
    EXPECT_FALSE(QFileInfo::exists(published("image", grouped->imageSeqNumber(), "jpg")));
    EXPECT_TRUE(QFileInfo::exists(published("thumb", grouped->imageSeqNumber(), "jpg")));

    // A representative picture: thumbnail and icon, no full-size image, and
    // its earlier web image goes.
    auto rep = XmlPhotoRep::create();
    rep->setImageSeqNumber(77);
    album->addChild(rep);
    rep->canvas()->setImage(XmlImage::createFromImage(lq::GraphicsImage(solid(100, 80, Qt::green))));
    writeAll(published("image", 77, "jpg"), "old");
    rep->createWebImageFullSizeFrameFrameRectThumbRect(lq::Size(320, 240), true, nullptr, lq::Rect(), lq::Rect());
    EXPECT_FALSE(QFileInfo::exists(published("image", 77, "jpg")));
    EXPECT_FALSE(QFileInfo::exists(rep->fullSizeFilename()));
    EXPECT_TRUE(QFileInfo::exists(rep->iconFilename()));
    EXPECT_EQ(pictureSize(published("thumb", 77, "jpg")), QSize(320, 240));
}

TEST_F(XmlPhotoImageFilesTest, ThumbnailOfAnotherSizeIsMadeLater)
{
    auto photo = import(halves(400, 300));
    photo->createInternalImages();
    auto frame = RecordingFrame::create();
    lq::GraphicsImage target = lq::GraphicsImage::withSize(lq::Size(200, 200));
    std::optional<lq::Size> later;
    {
        lq::GraphicsImage::Focus focus(target);
        later = photo->drawThumbNailAtFrameFrameRect(lq::Rect(20, 20, 160, 120), frame.get(), lq::Rect(0, 0, 200, 200));
    }
    ASSERT_TRUE(later.has_value());
    EXPECT_EQ(*later, lq::Size(160, 120));
    const auto step = XmlResizeThumbnail::createForUUIDSize(photo->UUID(), *later);
    EXPECT_TRUE(photo->pendingResize());
    EXPECT_EQ(frame->calls, QStringList { QStringLiteral("background") }) << "only the frame's background";
    EXPECT_EQ(target.toQImage().pixelColor(100, 60), QColor(Qt::green));

    // Meanwhile nothing is drawn at all.
    EXPECT_EQ(photo->drawThumbNailAtFrameFrameRect(lq::Rect(20, 20, 160, 120), frame.get(), lq::Rect(0, 0, 200, 200)), std::nullopt);
    EXPECT_EQ(frame->calls.size(), 1);

    EXPECT_TRUE(step->run());
    EXPECT_FALSE(photo->pendingResize());
    EXPECT_EQ(photo->thumbnail().size(), lq::Size(160, 120));
    EXPECT_EQ(pictureSize(photo->thumbnailFilename()), QSize(160, 120));
    {
        lq::GraphicsImage::Focus focus(target);
        EXPECT_EQ(photo->drawThumbNailAtFrameFrameRect(lq::Rect(20, 20, 160, 120), frame.get(), lq::Rect(0, 0, 200, 200)),
                  std::nullopt);
    }
    EXPECT_EQ(frame->calls.size(), 3);
    EXPECT_GT(target.toQImage().pixelColor(100, 30).red(), 200);
    EXPECT_GT(target.toQImage().pixelColor(100, 130).blue(), 200);
    EXPECT_EQ(target.toQImage().pixelColor(100, 190), QColor(Qt::green));

    // A step for a photo that is gone does nothing and still succeeds.
    EXPECT_TRUE(XmlResizeThumbnail::createForUUIDSize(QStringLiteral("0000000000000000"), lq::Size(1, 1))->run());
}

TEST_F(XmlPhotoImageFilesTest, FramedThumbnailIsDrawnIntoAPicture)
{
    auto photo = import(halves(400, 300));
    auto frame = RecordingFrame::create();
    photo->createWebImageFullSizeFrameFrameRectThumbRect(lq::Size(100, 75), false, frame.get(), lq::Rect(0, 0, 140, 115),
                                                         lq::Rect(20, 20, 100, 75));
    const QString png = published("thumb", photo->imageSeqNumber(), "png");
    const QImage framed = decoded(png);
    ASSERT_EQ(framed.size(), QSize(140, 115));
    EXPECT_EQ(framed.pixelColor(5, 5), QColor(Qt::green));
    EXPECT_GT(framed.pixelColor(70, 25).red(), 200);
    EXPECT_GT(framed.pixelColor(70, 90).blue(), 200);
    EXPECT_FALSE(QFileInfo::exists(published("image", photo->imageSeqNumber(), "jpg")));
    EXPECT_EQ(frame->calls, (QStringList { QStringLiteral("background"), QStringLiteral("overlay") }));
}

TEST_F(XmlPhotoImageFilesTest, ThumbnailFitsTheBox)
{
    auto photo = import(halves(200, 100));
    photo->loadBackstore(nullptr);
    EXPECT_EQ(photo->aspectThumbRectForSize(lq::Rect(10, 10, 100, 100), lq::Size(100, 100)), lq::Rect(10, 35, 100, 50));
    photo->releaseBackstore(nullptr);
    auto empty = XmlPhoto::create();
    EXPECT_ANY_THROW(empty->aspectThumbRectForSize(lq::Rect(0, 0, 10, 10), lq::Size(10, 10)));
}

// --- The images of a stored picture larger than the limits ----------------------------------------

namespace {

// Four quarters of different colours, so that a shifted or cropped picture shows.
QImage quarters(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, w / 2, h / 2, Qt::red);
    painter.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    painter.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    painter.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

// The largest difference of a colour channel between two pictures of one
// size, leaving out the pixels near the lines between the quarters that
// either shows (at the middle of each side, or of the crop's).
int largestDifferenceInsideTheQuarters(const QImage& first, const QImage& second)
{
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    const int marginX = std::max(2, a.width() / 20);
    const int marginY = std::max(2, a.height() / 20);
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(x - a.width() / 2) < marginX || std::abs(y - a.height() / 2) < marginY || x < marginX
                || y < marginY || a.width() - x <= marginX || a.height() - y <= marginY)
                continue;
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({ largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q)) });
        }
    return largest;
}

} // namespace

// A site made from the starter with an album page whose photo was imported
// while the picture limits were larger than they are now: its stored
// picture is larger than the limits the build works to.
class XmlPhotoStoredPictureTest : public StarterSiteTest {
protected:
    XmlPhotoStoredPictureTest()
        : StarterSiteTest(QStringLiteral("Pictures.lqxl"))
    {
    }

    std::shared_ptr<XmlPhoto> importUnderLargeLimits(const QImage& picture)
    {
        const PictureLimits large(8192, 8192);
        const QString path = work.filePath(QStringLiteral("photo.jpg"));
        writeAll(path, encoded(picture, "JPG"));
        const std::shared_ptr<XmlAlbum> page = addPage(home(), 1, QStringLiteral("Photos"));
        std::shared_ptr<XmlPhoto> photo = page->importPhotoIndexCaption(path, -1, QStringLiteral("A photo"));
        EXPECT_NE(photo, nullptr);
        if (photo)
            EXPECT_EQ(pictureSize(photo->originalFilename()), picture.size());
        return photo;
    }

    // The photo's internal images as written: thumbnail, icon and full size.
    static QList<QByteArray> internalImages(XmlPhoto& photo)
    {
        photo.createInternalImages();
        return { readAll(photo.thumbnailFilename()), readAll(photo.iconFilename()), readAll(photo.fullSizeFilename()) };
    }
    // The same, made while the whole picture is held.
    static QList<QByteArray> internalImagesOfTheWholePicture(XmlPhoto& photo)
    {
        photo.loadBackstore(nullptr);
        const QList<QByteArray> images = internalImages(photo);
        photo.releaseBackstore(nullptr);
        return images;
    }
};

TEST_F(XmlPhotoStoredPictureTest, PicturesLessThanTwiceTheLimitsGiveTheBytesOfTheWholePicture)
{
    const std::vector<QSize> sizes = { QSize(800, 600), QSize(1024, 768), QSize(1600, 1200), QSize(2040, 1530) };
    for (const QSize& size : sizes) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        const std::shared_ptr<XmlPhoto> photo = importUnderLargeLimits(quarters(size.width(), size.height()));
        ASSERT_NE(photo, nullptr);
        const PictureLimits limits(1024, 768);
        const QList<QByteArray> whole = internalImagesOfTheWholePicture(*photo);
        ASSERT_EQ(photo->backstoreCount(), 0);
        for (const QByteArray& image : whole)
            EXPECT_FALSE(image.isEmpty());
        EXPECT_EQ(internalImages(*photo), whole);
        photo->loadBackstoreForImages(lq::Size(320, 240));
        EXPECT_FALSE(photo->canvas()->image()->isReduced());
        EXPECT_EQ(photo->canvas()->image()->image().size(), lq::Size(size.width(), size.height()));
        photo->releaseBackstore(nullptr);
    }
}

TEST_F(XmlPhotoStoredPictureTest, LargePicturesAreDecodedNoLargerThanTheirImagesNeed)
{
    struct Case {
        const char* label;
        QSize limits;
        std::function<void(XmlCanvas&)> frame;
        lq::Size decoded;
    };
    const std::vector<Case> cases = {
        { "twice the limits: a half", QSize(1024, 768), nullptr, lq::Size(1024, 768) },
        { "four times: a quarter", QSize(512, 384), nullptr, lq::Size(512, 384) },
        { "the thumbnail needs more than the limits: a quarter", QSize(256, 192), nullptr, lq::Size(512, 384) },
        { "a small thumbnail: an eighth", QSize(256, 192),
            [](XmlCanvas& canvas) {
                canvas.setThumbAspectX(160);
                canvas.setThumbAspectY(120);
            },
            lq::Size(256, 192) },
        { "a crop of one quarter needs its pixels: a half", QSize(512, 384),
            [](XmlCanvas& canvas) { canvas.image()->setCrop(lq::Rect(1024, 768, 1024, 768)); }, lq::Size(1024, 768) },
        { "a thumbnail framed close needs the whole picture", QSize(512, 384),
            [](XmlCanvas& canvas) { canvas.setThumbScale(0); }, lq::Size(2048, 1536) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::shared_ptr<XmlPhoto> photo = importUnderLargeLimits(quarters(2048, 1536));
        ASSERT_NE(photo, nullptr);
        XmlCanvas& canvas = *photo->canvas();
        if (c.frame)
            c.frame(canvas);
        const PictureLimits limits(c.limits.width(), c.limits.height());
        const lq::Size thumbnail(canvas.thumbAspectX(), canvas.thumbAspectY());

        photo->loadBackstoreForImages(thumbnail);
        EXPECT_EQ(canvas.image()->image().size(), c.decoded);
        EXPECT_EQ(canvas.image()->isReduced(), c.decoded != lq::Size(2048, 1536));
        // The canvas's geometry stays the stored picture's.
        EXPECT_EQ(canvas.image()->storedBodyRect(), lq::Rect(0, 0, 2048, 1536));
        photo->releaseBackstore(nullptr);

        // The images are those of the whole picture, but for the pixels
        // along the edges between the quarters.
        const QList<QByteArray> whole = internalImagesOfTheWholePicture(*photo);
        const QList<QByteArray> made = internalImages(*photo);
        ASSERT_EQ(made.size(), whole.size());
        for (int i = 0; i < whole.size(); ++i) {
            SCOPED_TRACE(i);
            QImage a, b;
            ASSERT_TRUE(a.loadFromData(whole[i]));
            ASSERT_TRUE(b.loadFromData(made[i]));
            ASSERT_EQ(b.size(), a.size());
            EXPECT_LE(largestDifferenceInsideTheQuarters(a, b), 12);
        }
    }
}

TEST_F(XmlPhotoStoredPictureTest, AReducedPictureIsNeverStoredAndGivesWayToTheWholeOne)
{
    const std::shared_ptr<XmlPhoto> photo = importUnderLargeLimits(quarters(2048, 1536));
    ASSERT_NE(photo, nullptr);
    const PictureLimits limits(512, 384);
    const QByteArray stored = readAll(photo->originalFilename());

    photo->loadBackstoreForImages(lq::Size(160, 120));
    ASSERT_TRUE(photo->canvas()->image()->isReduced());
    photo->saveOriginalImage();
    EXPECT_EQ(readAll(photo->originalFilename()), stored);

    // A holder that needs the picture itself, as the photo editor does, gets it whole.
    photo->loadBackstore(nullptr);
    EXPECT_FALSE(photo->canvas()->image()->isReduced());
    EXPECT_EQ(photo->canvas()->image()->image().size(), lq::Size(2048, 1536));
    EXPECT_EQ(photo->backstoreCount(), 2);
    photo->releaseBackstore(nullptr);
    photo->releaseBackstore(nullptr);
    EXPECT_TRUE(photo->canvas()->image()->image().isNull());
    EXPECT_EQ(photo->canvas()->image()->storedBodyRect(), lq::Rect(0, 0, 2048, 1536));
}
