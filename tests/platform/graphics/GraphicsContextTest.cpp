#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Shadow.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

QImage transparentImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TEST(GraphicsContext, ScopesNestAndEndInOrder)
{
    EXPECT_EQ(lq::GraphicsContext::current(), nullptr);
    QImage outerImage = transparentImage(4, 4), innerImage = transparentImage(4, 4);
    {
        lq::GraphicsContext::Scope outer(outerImage);
        EXPECT_EQ(lq::GraphicsContext::current(), &outer.context());
        {
            lq::GraphicsContext::Scope inner(innerImage);
            EXPECT_EQ(lq::GraphicsContext::current(), &inner.context());
            inner.context().setColor(lq::Colour(0, 0, 1));
            inner.context().fillRect(lq::Rect(0, 0, 4, 4));
        }
        EXPECT_EQ(lq::GraphicsContext::current(), &outer.context());
        outer.context().setColor(lq::Colour(1, 0, 0));
        outer.context().fillRect(lq::Rect(0, 0, 4, 4));
    }
    EXPECT_EQ(lq::GraphicsContext::current(), nullptr);
    EXPECT_EQ(outerImage.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(innerImage.pixelColor(1, 1), QColor(0, 0, 255));

    // Over a painter of the caller's, whose own state comes back afterwards.
    QImage target = transparentImage(4, 4);
    QPainter painter(&target);
    painter.setOpacity(0.5);
    {
        lq::GraphicsContext::Scope scope(painter);
        scope.context().concat(QTransform::fromScale(3, 3));
        scope.context().saveGraphicsState(); // left unbalanced on purpose
    }
    EXPECT_EQ(painter.worldTransform(), QTransform());
    EXPECT_DOUBLE_EQ(painter.opacity(), 0.5);
}

TEST(GraphicsContext, SavedStateComesBack)
{
    QImage image = transparentImage(10, 10);
    lq::GraphicsContext::Scope scope(image);
    lq::GraphicsContext& context = scope.context();
    context.setColor(lq::Colour(1, 0, 0));
    {
        lq::GraphicsContext::SavedState saved;
        EXPECT_EQ(context.savedStateCount(), 1);
        context.setColor(lq::Colour(0, 1, 0));
        context.setStrokeColor(lq::Colour(0, 0, 1));
        context.setShadow(lq::Shadow(3, lq::Colour::black(), lq::Size(1, 1)));
        context.concat(QTransform::fromTranslate(5, 5));
        context.clipToRect(lq::Rect(0, 0, 2, 2));
        EXPECT_TRUE(context.painter().hasClipping());
    }
    EXPECT_EQ(context.savedStateCount(), 0);
    EXPECT_EQ(context.fillColor(), lq::Colour(1, 0, 0));
    EXPECT_EQ(context.strokeColor(), lq::Colour(1, 0, 0));
    EXPECT_FALSE(context.shadow().has_value());
    EXPECT_EQ(context.transform(), QTransform());
    EXPECT_FALSE(context.painter().hasClipping());

    // A restore without a save changes nothing.
    context.restoreGraphicsState();
    EXPECT_EQ(context.fillColor(), lq::Colour(1, 0, 0));

    // The interpolation is the context's, kept across a restore.
    context.saveGraphicsState();
    context.setImageInterpolation(lq::ImageInterpolation::High);
    context.restoreGraphicsState();
    EXPECT_EQ(context.imageInterpolation(), lq::ImageInterpolation::High);
}

TEST(GraphicsContext, ConcatenatedTransformsApplyToPointsFirst)
{
    QImage image = transparentImage(10, 10);
    lq::GraphicsContext::Scope scope(image);
    lq::GraphicsContext& context = scope.context();
    // One transform that first moves, then scales.
    context.concat(QTransform::fromTranslate(10, 0) * QTransform::fromScale(2, 2));
    EXPECT_EQ(context.transform().map(QPointF(1, 0)), QPointF(22, 0));
    // A further one acts before those already in force.
    context.concat(QTransform().rotate(90));
    EXPECT_EQ(context.transform().map(QPointF(1, 0)), QPointF(20, 2));
}

TEST(GraphicsContext, ClipsFillsAndStrokes)
{
    QImage image = transparentImage(20, 20);
    {
        lq::GraphicsContext::Scope scope(image);
        lq::GraphicsContext& context = scope.context();
        context.clipToRect(lq::Rect(0, 0, 10, 20));
        QPainterPath lower;
        lower.addRect(0, 10, 20, 10);
        context.clipToPath(lower); // both clips hold: the lower left quarter
        context.setFillColor(lq::Colour(0, 1, 0));
        context.fillRect(lq::Rect(0, 0, 20, 20));
    }
    EXPECT_EQ(image.pixelColor(5, 15), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(15, 15).alpha(), 0);
    EXPECT_EQ(image.pixelColor(5, 5).alpha(), 0);

    QImage lines = transparentImage(20, 20);
    {
        lq::GraphicsContext::Scope scope(lines);
        scope.context().setFillColor(lq::Colour(0, 1, 0));
        scope.context().setStrokeColor(lq::Colour(1, 0, 0));
        QPainterPath line;
        line.moveTo(0, 10);
        line.lineTo(20, 10);
        QPen pen;
        pen.setWidthF(4);
        pen.setCapStyle(Qt::FlatCap);
        scope.context().strokePath(line, pen);
    }
    EXPECT_EQ(lines.pixelColor(10, 9), QColor(255, 0, 0));
    EXPECT_EQ(lines.pixelColor(10, 5).alpha(), 0);
}

TEST(GraphicsContext, DrawsPartsOfImagesAtAFraction)
{
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixelColor(0, 0, Qt::red);
    source.setPixelColor(1, 0, Qt::blue);
    QImage target(4, 4, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::white);
    {
        lq::GraphicsContext::Scope scope(target);
        lq::GraphicsContext& context = scope.context();
        context.setImageInterpolation(lq::ImageInterpolation::None);
        context.drawImage(source, lq::Rect(0, 0, 4, 2), lq::Rect(1, 0, 1, 1), lq::CompositingOperation::SourceOver, 1.0f);
        context.drawImage(source, lq::Rect(0, 2, 4, 2), lq::Rect(0, 0, 1, 1), lq::CompositingOperation::SourceOver, 0.5f);
    }
    EXPECT_EQ(target.pixelColor(3, 1), QColor(0, 0, 255));
    const QColor faded = target.pixelColor(3, 3);
    EXPECT_EQ(faded.red(), 255);
    EXPECT_NEAR(faded.green(), 128, 2);
    EXPECT_NEAR(faded.blue(), 128, 2);

    // A source reaching past the image draws only the part the image has.
    QImage partial(4, 1, QImage::Format_ARGB32_Premultiplied);
    partial.fill(Qt::transparent);
    {
        lq::GraphicsContext::Scope scope(partial);
        scope.context().setImageInterpolation(lq::ImageInterpolation::None);
        scope.context().drawImage(source, lq::Rect(0, 0, 4, 1), lq::Rect(0, 0, 4, 1), lq::CompositingOperation::SourceOver, 1.0f);
    }
    EXPECT_EQ(partial.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(partial.pixelColor(1, 0), QColor(0, 0, 255));
    EXPECT_EQ(partial.pixelColor(2, 0).alpha(), 0);
}

TEST(GraphicsContext, HighInterpolationAveragesReductions)
{
    // One-pixel stripes, black and white, reduced tenfold.
    QImage stripes(200, 4, QImage::Format_RGB32);
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 4; ++y)
            stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
    for (lq::ImageInterpolation quality : { lq::ImageInterpolation::High, lq::ImageInterpolation::None }) {
        QImage target(20, 4, QImage::Format_ARGB32_Premultiplied);
        target.fill(Qt::red);
        {
            lq::GraphicsContext::Scope scope(target);
            scope.context().setImageInterpolation(quality);
            scope.context().drawImage(stripes, lq::Rect(0, 0, 20, 4), lq::Rect(), lq::CompositingOperation::SourceOver, 1.0f);
        }
        for (int x = 0; x < 20; ++x) {
            const int grey = target.pixelColor(x, 2).green();
            if (quality == lq::ImageInterpolation::High)
                EXPECT_NEAR(grey, 128, 10) << x;
            else
                EXPECT_TRUE(grey == 0 || grey == 255) << x << ": " << grey;
        }
    }
}

TEST(GraphicsContext, HighInterpolationReducesThePartDrawnAtItsFullResolution)
{
    // A cropped region (a thumbnail's framing) of a picture, and the whole
    // picture, reduced: each gives exactly what a reduction of that part
    // alone gives, in every pixel layout the pictures come in, and the
    // picture itself is left as it was.
    struct Case {
        const char* what;
        QImage::Format format;
        QRect part;
    };
    const std::vector<Case> cases = {
        { "a part of an RGBA picture", QImage::Format_RGBX8888, QRect(37, 21, 120, 80) },
        { "a part reaching the right edge", QImage::Format_RGBA8888_Premultiplied, QRect(100, 0, 140, 60) },
        { "a part of a 24-bit picture", QImage::Format_RGB888, QRect(3, 5, 90, 150) },
        { "a part of a grey picture", QImage::Format_Grayscale8, QRect(11, 13, 70, 70) },
        { "the whole picture", QImage::Format_RGB32, QRect(0, 0, 240, 160) },
    };
    QImage picture(240, 160, QImage::Format_RGB32);
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 240; ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x * y) % 256));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage source = picture.convertToFormat(c.format);
        const QImage before = source.copy();
        const QSize reduced(c.part.width() / 5, c.part.height() / 5);
        QImage drawn(reduced, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        {
            lq::GraphicsContext::Scope scope(drawn);
            scope.context().setImageInterpolation(lq::ImageInterpolation::High);
            scope.context().drawImage(source, lq::Rect(0, 0, reduced.width(), reduced.height()),
                lq::Rect(c.part.x(), c.part.y(), c.part.width(), c.part.height()), lq::CompositingOperation::SourceOver, 1.0f);
        }
        QImage expected(reduced, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::transparent);
        {
            QPainter painter(&expected);
            painter.drawImage(QPoint(0, 0), source.copy(c.part).scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(source, before);
    }
}

TEST(GraphicsContext, ShadowsFallInDevicePixels)
{
    struct Case {
        const char* what;
        float blur;
        double scale;
        bool clipped;
    };
    const std::vector<Case> cases = {
        { "sharp", 0, 1, false },
        { "sharp under a scale", 0, 2, false },
        { "blurred", 6, 1, false },
        { "clipped", 0, 1, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QImage image = transparentImage(60, 60);
        {
            lq::GraphicsContext::Scope scope(image);
            lq::GraphicsContext& context = scope.context();
            if (c.clipped)
                context.clipToRect(lq::Rect(0, 0, 30, 60));
            context.concat(QTransform::fromScale(c.scale, c.scale));
            // Offset (5, -5): five pixels right and five down, whatever the scale.
            context.setShadow(lq::Shadow(c.blur, lq::Colour(1, 0, 0), lq::Size(5, -5)));
            context.setColor(lq::Colour(0, 0, 1));
            const double side = 20 / c.scale;
            context.fillRect(lq::Rect(10 / c.scale, 10 / c.scale, side, side));
        }
        EXPECT_EQ(image.pixelColor(20, 20), QColor(0, 0, 255)); // the fill lies over its shadow
        const QColor right = image.pixelColor(32, 20), below = image.pixelColor(20, 32), far = image.pixelColor(38, 20);
        if (c.clipped) {
            EXPECT_EQ(right.alpha(), 0);
            EXPECT_EQ(below, QColor(255, 0, 0));
        } else if (c.blur == 0) {
            EXPECT_EQ(right, QColor(255, 0, 0));
            EXPECT_EQ(below, QColor(255, 0, 0));
            EXPECT_EQ(far.alpha(), 0);
            EXPECT_EQ(image.pixelColor(12, 8).alpha(), 0);
        } else {
            EXPECT_GT(right.alpha(), 100);
            EXPECT_LT(right.alpha(), 255);
            EXPECT_GT(far.alpha(), 0); // the blur spreads past the sharp edge at 35
        }
    }
}

TEST(GraphicsShadow, BlurSpreadsEvenly)
{
    QImage dot(41, 41, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    dot.setPixelColor(20, 20, QColor(0, 0, 0, 255));
    const lq::Shadow shadow(8, lq::Colour::black(), lq::Size());
    EXPECT_GE(shadow.blurExtent(), 12);
    QImage spread = dot;
    shadow.blur(spread);
    EXPECT_LT(spread.pixelColor(20, 20).alpha(), 255);
    EXPECT_EQ(spread.pixelColor(16, 20).alpha(), spread.pixelColor(24, 20).alpha());
    EXPECT_EQ(spread.pixelColor(20, 16).alpha(), spread.pixelColor(20, 24).alpha());
    EXPECT_GE(spread.pixelColor(20, 20).alpha(), spread.pixelColor(22, 20).alpha());
    QImage unchanged = dot;
    lq::Shadow().blur(unchanged);
    EXPECT_EQ(unchanged, dot);
}
