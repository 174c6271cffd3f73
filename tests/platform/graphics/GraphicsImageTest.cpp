#include "model/core/XmlBase.h"
#include "platform/ImageFiles.h"
#include "platform/graphics/GraphicsImage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <random>

namespace {

QImage solid(int w, int h, const QColor& colour, QImage::Format format)
{
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

} // namespace

TEST(GraphicsImage, RepresentationOfPicturesFromFiles)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Case {
        const char* file;
        QImage::Format format;
        QColor colour;
        bool alpha;
    };
    const std::vector<Case> cases = {
        { "opaque.jpg", QImage::Format_RGB32, QColor(250, 10, 20), false },
        { "opaque.png", QImage::Format_RGB32, QColor(250, 10, 20), false },
        { "clear.png", QImage::Format_ARGB32, QColor(250, 10, 20, 128), true },
        { "grey.png", QImage::Format_Grayscale8, QColor(90, 90, 90), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        QImage original = solid(30, 20, c.colour, c.format);
        original.setDotsPerMeterX(11811); // 300 dpi
        original.setDotsPerMeterY(11811);
        const QString path = folder.filePath(QString::fromLatin1(c.file));
        ASSERT_TRUE(original.save(path));

        const lq::GraphicsImage image(lq::loadImageFile(path));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), lq::Size(30, 20)); // points are pixels, whatever the resolution
        EXPECT_EQ(image.representationCount(), 1);
        const std::optional<lq::BitmapImageRep> rep = image.bitmapRepresentation();
        ASSERT_TRUE(rep);
        EXPECT_EQ(rep->bitsPerPixel, 32);
        EXPECT_EQ(rep->bytesPerRow, 30 * 4);
        EXPECT_EQ(rep->pixelsWide, 30);
        EXPECT_EQ(rep->pixelsHigh, 20);
        EXPECT_EQ(rep->hasAlpha, c.alpha);
        // Red, green, blue, alpha in that order.
        const uint8_t* p = rep->bitmapData + 5 * rep->bytesPerRow + 5 * 4;
        if (c.alpha) {
            EXPECT_EQ(p[3], 128);
        } else {
            EXPECT_NEAR(p[0], c.colour.red(), 4);
            EXPECT_NEAR(p[1], c.colour.green(), 4);
            EXPECT_NEAR(p[2], c.colour.blue(), 4);
            EXPECT_EQ(p[3], 255);
        }
    }

    // 24-bit pixels stay as they are.
    const lq::GraphicsImage rgb(solid(3, 2, Qt::red, QImage::Format_RGB888));
    EXPECT_EQ(rgb.bitmapRepresentation()->bitsPerPixel, 24);
    EXPECT_EQ(lq::GraphicsImage().representationCount(), 0);
    EXPECT_FALSE(lq::GraphicsImage().bitmapRepresentation());
}

TEST(GraphicsImage, NewImagesToDrawInto)
{
    lq::GraphicsImage image = lq::GraphicsImage::withSize(lq::Size(10.2f, 5));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), lq::Size(11, 5));
    EXPECT_EQ(image.toQImage().pixelColor(3, 3).alpha(), 0);
    EXPECT_TRUE(lq::GraphicsImage::withSize(lq::Size(0, 5)).isNull());
    EXPECT_TRUE(lq::GraphicsImage::withSize(lq::Size(5, -1)).isNull());

    const lq::GraphicsImage copy = image; // shares the pixels until drawn into
    {
        lq::GraphicsImage::Focus focus(image);
        EXPECT_EQ(lq::GraphicsContext::current(), &focus.context());
        focus.context().setColor(lq::Colour(0, 1, 0));
        // y grows downward from the top left.
        focus.context().fillRect(lq::Rect(0, 0, 11, 2));
    }
    EXPECT_EQ(lq::GraphicsContext::current(), nullptr);
    EXPECT_EQ(image.toQImage().pixelColor(5, 1), QColor(0, 255, 0));
    EXPECT_EQ(image.toQImage().pixelColor(5, 3).alpha(), 0);
    EXPECT_EQ(copy.toQImage().pixelColor(5, 1).alpha(), 0);
    const std::optional<lq::BitmapImageRep> rep = image.bitmapRepresentation();
    ASSERT_TRUE(rep);
    EXPECT_EQ(rep->bitsPerPixel, 32);
    EXPECT_EQ(rep->bitmapData[5 * 4 + 1], 255); // green in the second byte

    // Drawing aimed at an image without pixels goes nowhere, not into the
    // context around it.
    lq::GraphicsImage outer = lq::GraphicsImage::withSize(lq::Size(4, 4));
    {
        lq::GraphicsImage::Focus outerFocus(outer);
        lq::GraphicsImage nothing;
        {
            lq::GraphicsImage::Focus focus(nothing);
            focus.context().setColor(lq::Colour(1, 0, 0));
            focus.context().fillRect(lq::Rect(0, 0, 4, 4));
        }
        EXPECT_EQ(lq::GraphicsContext::current(), &outerFocus.context());
    }
    EXPECT_EQ(outer.toQImage().pixelColor(1, 1).alpha(), 0);
}

TEST(GraphicsImage, DrawsIntoTheCurrentContext)
{
    QImage pixels = solid(2, 2, Qt::blue, QImage::Format_RGB32);
    pixels.setPixelColor(0, 0, Qt::red);
    const lq::GraphicsImage image(pixels);
    lq::GraphicsImage target = lq::GraphicsImage::withSize(lq::Size(8, 8));
    {
        lq::GraphicsImage::Focus focus(target);
        focus.context().setImageInterpolation(lq::ImageInterpolation::None);
        image.drawInRect(lq::Rect(0, 0, 4, 4), lq::Rect(0, 0, 1, 1), lq::CompositingOperation::SourceOver, 1.0f);
        image.drawAtPoint(lq::Point(6, 6), lq::Rect(), lq::CompositingOperation::SourceOver, 1.0f);
        image.drawAtPoint(lq::Point(4, 0), lq::Rect(1, 1, 1, 1), lq::CompositingOperation::SourceOver, 0.5f);
    }
    const QImage drawn = target.toQImage();
    EXPECT_EQ(drawn.pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(drawn.pixelColor(6, 6), QColor(255, 0, 0));
    EXPECT_EQ(drawn.pixelColor(7, 7), QColor(0, 0, 255));
    EXPECT_NEAR(drawn.pixelColor(4, 0).alpha(), 128, 2);
    EXPECT_EQ(drawn.pixelColor(5, 0).alpha(), 0);
}

TEST(GraphicsImage, RotatesPixelForPixel)
{
    std::mt19937 random(3);
    QImage source(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            source.setPixel(x, y, 0xff000000u | (random() & 0xffffffu));
    const lq::GraphicsImage image(source);
    const QImage clockwise = image.rotatedBy(90).toQImage();
    const QImage counter = image.rotatedBy(-90).toQImage();
    const QImage half = image.rotatedBy(180).toQImage();
    ASSERT_EQ(clockwise.size(), QSize(3, 5));
    ASSERT_EQ(counter.size(), QSize(3, 5));
    ASSERT_EQ(half.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const QRgb expected = source.pixel(x, y);
            EXPECT_EQ(clockwise.pixel(2 - y, x), expected) << x << "," << y;
            EXPECT_EQ(counter.pixel(y, 4 - x), expected) << x << "," << y;
            EXPECT_EQ(half.pixel(4 - x, 2 - y), expected) << x << "," << y;
        }
    EXPECT_TRUE(lq::GraphicsImage().rotatedBy(90).isNull());
}

TEST(GraphicsImage, ResizingAveragesWhatItReduces)
{
    QImage checkers(100, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            checkers.setPixelColor(x, y, (x + y) % 2 ? Qt::white : Qt::black);
    const QImage small = lq::GraphicsImage(checkers).resizedTo(lq::Size(10, 10)).toQImage();
    ASSERT_EQ(small.size(), QSize(10, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_NEAR(small.pixelColor(x, y).green(), 128, 10) << x << "," << y;
    EXPECT_TRUE(lq::GraphicsImage(checkers).resizedTo(lq::Size(0, 10)).isNull());
}
