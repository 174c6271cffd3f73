#include "pipeline/XmlResizeThumbnail.h"
#include "templates/XmlPictureFrame.h"
#include "imaging/XmlCanvas.h"
#include "imaging/XmlImage.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlTrash.h"
#include "platform/graphics/GraphicsContext.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPainter>

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
