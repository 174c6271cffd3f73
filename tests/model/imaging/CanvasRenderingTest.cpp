#include "model/imaging/BitmapRoutines.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlDrawSquare.h"
#include "model/imaging/XmlImage.h"
#include "model/site/XmlPhoto.h"
#include "platform/graphics/GraphicsContext.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {

// A drawable whose bounds are exactly the rectangle: an arrow between two corners.
std::shared_ptr<XmlDrawArrow> spanning(float w, float h)
{
    auto arrow = XmlDrawArrow::create();
    arrow->setTailPoint(lq::Point(0, 0));
    arrow->setAnchorPoint(lq::Point(w, h));
    return arrow;
}

QColor at(const lq::GraphicsImage& image, int x, int y)
{
    return image.toQImage().pixelColor(x, y);
}

bool near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Four quadrants, so that a picture turned or mirrored shows: red top left,
// green top right, blue bottom left, yellow bottom right.
QImage quadrants(int w, int h, QImage::Format format)
{
    QImage image(w, h, format);
    QPainter painter(&image);
    painter.fillRect(0, 0, w / 2, h / 2, Qt::red);
    painter.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    painter.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    painter.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

} // namespace

TEST(CanvasRendering, LimitOnlyShrinksWidthFirst)
{
    struct Case {
        float w, h;
        int limitW, limitH;
        int expectedW, expectedH;
    };
    const std::vector<Case> cases = {
        { 1600, 1000, 800, 600, 800, 500 },
        { 1000, 1600, 800, 600, 375, 600 },
        { 300, 200, 800, 600, 300, 200 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        auto drawable = spanning(c.w, c.h);
        int w = -1;
        int h = -1;
        drawable->adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(c.limitW, c.limitH, &w, &h);
        EXPECT_EQ(w, c.expectedW);
        EXPECT_EQ(h, c.expectedH);
        const lq::GraphicsImage image = drawable->makeImageWithLimitWidthAndLimitHeight(c.limitW, c.limitH);
        EXPECT_EQ(image.pixelsWide(), c.expectedW);
        EXPECT_EQ(image.pixelsHigh(), c.expectedH);
    }
    // Without bounds nothing is made and the out-arguments stay.
    auto nothing = XmlDrawSquare::create();
    int w = 7;
    int h = 9;
    nothing->adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(10, 10, &w, &h);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 9);
    EXPECT_TRUE(nothing->makeImageWithLimitWidthAndLimitHeight(10, 10).isNull());
    EXPECT_TRUE(nothing->makeImage().isNull());
}

TEST(CanvasRendering, FixedAndMaximumSizes)
{
    EXPECT_EQ(spanning(1000.7f, 500.9f)->makeImage().size(), lq::Size(1000, 500));
    EXPECT_EQ(spanning(300, 200)->makeImageWithMaxWidthAndMaxHeight(600, 600).size(), lq::Size(600, 400));

    // Drawn at the maximum size, the drawable is centred in the box.
    auto square = XmlDrawSquare::create();
    square->setBodyRect(lq::Rect(0, 0, 300, 200));
    square->setThickness(2);
    square->setForegroundColor(lq::Colour(1, 0, 0));
    lq::GraphicsImage target = lq::GraphicsImage::withSize(lq::Size(600, 600));
    {
        lq::GraphicsImage::Focus focus(target);
        square->drawImageWithMaxWidthAndMaxHeightAtPoint(600, 600, lq::Point(0, 0));
    }
    EXPECT_EQ(at(target, 300, 95).alpha(), 0) << "above the box";
    EXPECT_EQ(at(target, 300, 300).alpha(), 0) << "a square is not filled";
    EXPECT_TRUE(near(at(target, 300, 100), Qt::red)) << "the top edge at y 100";
    EXPECT_TRUE(near(at(target, 300, 499), Qt::red)) << "the bottom edge at y 500";
    EXPECT_EQ(at(target, 300, 505).alpha(), 0);

    // Limited and top-aligned: only centred horizontally.
    lq::GraphicsImage limited = lq::GraphicsImage::withSize(lq::Size(400, 400));
    {
        lq::GraphicsImage::Focus focus(limited);
        square->drawImageWithLimitWidthAndLimitHeightAtPointTopAlign(400, 400, lq::Point(0, 0), true);
    }
    EXPECT_TRUE(near(at(limited, 200, 0), Qt::red));
    EXPECT_TRUE(near(at(limited, 50, 100), Qt::red)) << "the left edge at x 50";
}

TEST(CanvasRendering, ThumbnailFrame)
{
    auto canvas = XmlCanvas::create();
    const lq::Rect r(0, 0, 1600, 1200);
    canvas->setThumbScale(0);
    EXPECT_EQ(canvas->calcThumbnailWithWidth(r, 160), lq::Rect(720, 540, 160, 120));
    canvas->setThumbScale(1);
    EXPECT_EQ(canvas->calcThumbnailWithWidth(r, 160), lq::Rect(0, 0, 1600, 1200));
    canvas->setThumbScale(0.5f);
    canvas->setThumbOffsetX(0);
    canvas->setThumbOffsetY(1);
    EXPECT_EQ(canvas->calcThumbnailWithWidth(r, 160), lq::Rect(0, 540, 880, 660));
    // A wide picture: the largest frame is as high as the picture.
    canvas->setThumbScale(1);
    canvas->setThumbOffsetX(0.5f);
    EXPECT_EQ(canvas->calcThumbnailWithWidth(lq::Rect(10, 20, 2000, 600), 160), lq::Rect(610, 20, 800, 600));
}

TEST(CanvasRendering, IconsKeepThePicturesProportions)
{
    struct Case {
        int w, h;
        lq::Size icon;
    };
    for (const Case& c : std::vector<Case> { { 640, 480, lq::Size(120, 90) }, { 480, 640, lq::Size(68, 90) },
                                             { 1000, 100, lq::Size(120, 12) } }) {
        auto canvas = XmlCanvas::createFromImage(lq::GraphicsImage(quadrants(c.w, c.h, QImage::Format_RGB32)));
        const lq::GraphicsImage icon = canvas->createIconImageWithMaxSize(lq::Size(120, 90));
        EXPECT_EQ(icon.size(), c.icon) << c.w << " x " << c.h;
    }
    auto canvas = XmlCanvas::createFromImage(lq::GraphicsImage(quadrants(480, 640, QImage::Format_RGB32)));
    const lq::GraphicsImage icon = canvas->createIconImageWithMaxSize(lq::Size(120, 90));
    EXPECT_TRUE(near(at(icon, 10, 10), Qt::red));
    EXPECT_TRUE(near(at(icon, 60, 80), Qt::yellow));
    EXPECT_TRUE(XmlCanvas::create()->createIconImageWithMaxSize(lq::Size(120, 90)).isNull());
    EXPECT_TRUE(canvas->createIconImageWithMaxSize(lq::Size(0, 90)).isNull());
}

TEST(CanvasRendering, FilteredThumbnailsStandUpright)
{
    // 32-bit and 24-bit pictures (the 24-bit rows padded beyond 3 bytes per
    // pixel), framed off-centre so that a mirrored cut shows.
    for (const QImage::Format format : { QImage::Format_RGB32, QImage::Format_RGB888 }) {
        SCOPED_TRACE(format);
        auto canvas = XmlCanvas::createFromImage(lq::GraphicsImage(quadrants(321, 241, format)));
        const std::optional<lq::BitmapImageRep> rep = canvas->image()->image().bitmapRepresentation();
        ASSERT_TRUE(rep.has_value());
        EXPECT_EQ(rep->bitsPerPixel, format == QImage::Format_RGB32 ? 32 : 24);
        canvas->setHighboost(0);
        canvas->setThumbScale(0.5f);
        canvas->setThumbOffsetX(0);
        canvas->setThumbOffsetY(0.1f);
        // The frame: 241 x 181 at (0, 6): mostly the top left quadrant.
        const lq::GraphicsImage thumbnail = canvas->createThumbnailWithSize(lq::Size(160, 120));
        ASSERT_EQ(thumbnail.size(), lq::Size(160, 120));
        EXPECT_TRUE(near(at(thumbnail, 20, 10), Qt::red)) << "top left";
        EXPECT_TRUE(near(at(thumbnail, 140, 10), Qt::green)) << "top right";
        EXPECT_TRUE(near(at(thumbnail, 20, 110), Qt::blue)) << "bottom left";
        EXPECT_TRUE(near(at(thumbnail, 140, 110), Qt::yellow)) << "bottom right";
        // Where the quadrants meet: the frame's top is at row 6, so the
        // boundary row 120 lands at (120 - 6) x 120 / 181 = 75.6.
        EXPECT_TRUE(near(at(thumbnail, 20, 73), Qt::red));
        EXPECT_TRUE(near(at(thumbnail, 20, 78), Qt::blue));
    }
}

TEST(CanvasRendering, ThumbnailFiltersApplyWheneverSet)
{
    auto canvas = XmlCanvas::createFromImage(lq::GraphicsImage(solid(320, 240, QColor(100, 100, 100))));
    canvas->setHighboost(0);
    const QColor plain = at(canvas->createThumbnailWithSize(lq::Size(160, 120)), 80, 60);
    canvas->setBrightness(0.5);
    const QColor brighter = at(canvas->createThumbnailWithSize(lq::Size(160, 120)), 80, 60);
    EXPECT_TRUE(near(plain, QColor(100, 100, 100), 2));
    EXPECT_GT(brighter.red(), plain.red() + 20) << "the user's setting is not asked";
    EXPECT_FALSE(canvas->useFilter());
}

TEST(CanvasRendering, ThumbnailShowsCalloutsOnlyWhenThePhotoSaysSo)
{
    auto photo = XmlPhoto::create();
    XmlCanvas& canvas = *photo->canvas();
    canvas.setImage(XmlImage::createFromImage(lq::GraphicsImage(solid(320, 240, Qt::blue))));
    canvas.setHighboost(0);
    auto box = XmlDrawLetterBox::create();
    box->contents()->setText(lq::StyledText());
    box->setBodyRect(lq::Rect(0, 0, 160, 120));
    box->setBackgroundColor(lq::Colour(1, 0, 0));
    canvas.drawObjects()->addChild(box);

    EXPECT_TRUE(near(at(canvas.createThumbnailWithSize(lq::Size(160, 120)), 20, 20), Qt::blue));
    photo->setShowObjects(true);
    const lq::GraphicsImage shown = canvas.createThumbnailWithSize(lq::Size(160, 120));
    EXPECT_TRUE(near(at(shown, 20, 20), Qt::red));
    EXPECT_TRUE(near(at(shown, 140, 100), Qt::blue));
    EXPECT_TRUE(canvas.createThumbnailWithSize(lq::Size(0, 120)).isNull());
}

TEST(CanvasRendering, ZeroSizesRaise)
{
    auto canvas = XmlCanvas::create();
    LogCapture log;
    EXPECT_ANY_THROW(canvas->calcThumbnailWithWidth(lq::Rect(0, 0, 100, 100), 0));
    EXPECT_TRUE(log.lines.join(u'\n').contains(QStringLiteral("thumb.height = 0"))) << log.lines.join(u'\n').toStdString();
    auto flat = spanning(100, 0);
    EXPECT_ANY_THROW(flat->makeImageWithMaxWidthAndMaxHeight(10, 10));
}

TEST(CanvasRendering, WrappedRowsMayBeWiderThanThePixels)
{
    // Two pixels per row, rows 12 bytes apart.
    std::vector<uint8_t> pixels(3 * 12, 0);
    pixels[12 + 4] = 200; // row 1, pixel 1, red
    bitmap* wrapped = bitmap_wrap(pixels.data(), 2, 3, 12);
    ASSERT_NE(wrapped, nullptr);
    bitmap* view = bitmap_crop(wrapped, 1, 1, 1, 1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->pixels[0], 200);
    bitmap_free(view, 0);
    bitmap_free(wrapped, 0);
    EXPECT_EQ(bitmap_wrap(pixels.data(), 4, 3, 12), nullptr) << "rows narrower than the pixels";
}
