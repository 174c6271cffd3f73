#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/site/XmlSite.h"
#include "platform/Codecs.h"
#include "platform/Exception.h"
#include "platform/ImageFiles.h"
#include "platform/graphics/GraphicsImage.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// A picture in a canvas of a site whose document the test controls.
struct PictureInSite {
    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlCanvas> canvas = XmlCanvas::create();
    std::shared_ptr<XmlImage> picture = XmlImage::create();

    PictureInSite()
    {
        // Filters on, with no sharpening and no colour change to start from.
        canvas->setUseFilter(true);
        canvas->setHighboost(0);
        site->setDocument(&document);
        canvas->setParent(site.get());
        picture->setParent(canvas.get());
        document.changes = 0;
    }
    ~PictureInSite()
    {
        picture->setParent(nullptr);
        canvas->setParent(nullptr);
        site->setDocument(nullptr);
    }
};

QImage solid(int w, int h, const QColor& colour, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

// An image whose top half is one colour and bottom half another.
QImage halves(int w, int h, const QColor& top, const QColor& bottom, QImage::Format format)
{
    QImage image(w, h, format);
    image.fill(bottom);
    QPainter painter(&image);
    painter.fillRect(0, 0, w, h / 2, top);
    return image;
}

// The element drawn at the offset into a white image of the size, through
// the drawing base as the canvas draws its parts.
QImage render(XmlDraw& element, QSize size, QPointF offset = QPointF())
{
    lq::GraphicsImage target = lq::GraphicsImage::withSize(lq::Size(size.width(), size.height()));
    {
        lq::GraphicsImage::Focus focus(target);
        focus.context().setColor(lq::Colour::white());
        focus.context().fillRect(lq::Rect(0, 0, size.width(), size.height()));
        focus.context().concat(QTransform::fromTranslate(offset.x(), offset.y()));
        element.draw();
    }
    return target.toQImage();
}

bool near(const QColor& actual, const QColor& expected, int tolerance = 8)
{
    return std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

std::string describe(const QColor& c)
{
    return "(" + std::to_string(c.red()) + ", " + std::to_string(c.green()) + ", " + std::to_string(c.blue()) + ")";
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(XmlImage, Defaults)
{
    auto picture = XmlImage::create();
    EXPECT_EQ(picture->elementName(), QStringLiteral("IWimage"));
    EXPECT_FALSE(picture->haveContent());
    EXPECT_TRUE(picture->image().isNull());
    EXPECT_TRUE(picture->crop().isZero());
    ASSERT_NE(picture->shape(), nullptr);
    EXPECT_EQ(picture->shape()->parent(), picture.get());
    EXPECT_EQ(picture->shape()->shape(), XmlShape::ShapeKind::Rectangle);
    EXPECT_EQ(picture->borderColor(), lq::Colour::black());
    EXPECT_EQ(picture->borderWidth(), 0);
    EXPECT_TRUE(picture->useShape());
    EXPECT_FALSE(picture->dropShadow());
    EXPECT_FALSE(picture->showCrop());
    EXPECT_FALSE(picture->fillBkgnd());
    EXPECT_EQ(picture->indata(), 0);
    EXPECT_EQ(picture->backgroundColor(), lq::Colour::white());
}

TEST(XmlImage, ImageFromFilesSetsTheBody)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* name : { "picture.jpg", "picture.png" }) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(QString::fromLatin1(name));
        QImage original = solid(64, 48, QColor(200, 30, 30));
        original.setDotsPerMeterX(11811); // 300 dpi: the size in points is still the pixel size
        original.setDotsPerMeterY(11811);
        ASSERT_TRUE(lq::saveImageFile(original, path, 0.9f));
        const lq::GraphicsImage image(lq::loadImageFile(path));
        auto picture = XmlImage::createFromImage(image);
        EXPECT_EQ(picture->bodyRect(), lq::Rect(0, 0, 64, 48));
        EXPECT_EQ(picture->image().size(), lq::Size(64, 48));
    }
}

TEST(XmlImage, CropAndBody)
{
    auto picture = XmlImage::createFromImage(lq::GraphicsImage(solid(40, 20, Qt::red)));
    struct Case {
        const char* what;
        lq::Rect crop;
        lq::Rect stored;
        lq::Rect body;
    };
    const std::vector<Case> cases = {
        { "no crop shows the whole", lq::Rect(), lq::Rect(), lq::Rect(0, 0, 40, 20) },
        { "zero width stores no crop", lq::Rect(5, 5, 0, 10), lq::Rect(), lq::Rect(0, 0, 40, 20) },
        { "negative height stores no crop", lq::Rect(5, 5, 10, -3), lq::Rect(), lq::Rect(0, 0, 40, 20) },
        { "fractions widen to whole pixels", lq::Rect(1.5f, 2.2f, 3.1f, 4), lq::Rect(1, 2, 4, 5), lq::Rect(1, 2, 4, 5) },
        { "partly outside shows the overlap", lq::Rect(30, 10, 20, 20), lq::Rect(30, 10, 20, 20), lq::Rect(30, 10, 10, 10) },
        { "wholly outside shows the whole", lq::Rect(50, 50, 10, 10), lq::Rect(50, 50, 10, 10), lq::Rect(0, 0, 40, 20) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        picture->setCrop(c.crop);
        EXPECT_EQ(picture->crop(), c.stored);
        EXPECT_EQ(picture->bodyRect(), c.body);
    }
    picture->setCrop(lq::Rect(0, 0, 10, 10));
    EXPECT_EQ(picture->boundingRect(lq::Rect()), lq::Rect(0, 0, 10, 10));
    EXPECT_EQ(picture->boundingRect(lq::Rect(20, 20, 5, 5)), lq::Rect(0, 0, 25, 25));
}

TEST(XmlImage, ChangeMarks)
{
    PictureInSite t;
    XmlImage& picture = *t.picture;
    picture.setImage(lq::GraphicsImage());
    EXPECT_EQ(t.document.changes, 0);
    EXPECT_TRUE(picture.bodyRect().isZero());

    picture.setImage(lq::GraphicsImage(solid(30, 10, Qt::blue)));
    EXPECT_EQ(t.document.changes, 1);
    EXPECT_EQ(picture.bodyRect(), lq::Rect(0, 0, 30, 10));
    // No image leaves the body as it was.
    picture.setImage(lq::GraphicsImage());
    EXPECT_EQ(picture.bodyRect(), lq::Rect(0, 0, 30, 10));
    EXPECT_EQ(t.document.changes, 1);

    picture.setShowCrop(true);
    picture.setFillBkgnd(true);
    EXPECT_EQ(t.document.changes, 1);

    picture.setCrop(lq::Rect(1, 1, 5, 5));
    picture.setBorderWidth(3);
    picture.setBorderColor(lq::Colour(1, 0, 0));
    picture.setDropShadow(true);
    picture.setUseShape(false);
    EXPECT_EQ(t.document.changes, 6);

    picture.reset();
    EXPECT_EQ(t.document.changes, 7);
    EXPECT_TRUE(picture.crop().isZero());
    EXPECT_EQ(picture.borderWidth(), 0);
    EXPECT_FALSE(picture.dropShadow());
    EXPECT_EQ(picture.borderColor(), lq::Colour(1, 0, 0)); // stays
    EXPECT_FALSE(picture.useShape());                       // stays

    // A new shape becomes the picture's; the old one is let go.
    auto shape = XmlShape::create();
    XmlShape* old = picture.shape();
    picture.setShape(shape);
    EXPECT_EQ(shape->parent(), &picture);
    EXPECT_NE(old, shape.get());
    EXPECT_GE(t.document.changes, 8);
}

TEST(XmlImage, ElementText)
{
    auto picture = XmlImage::createFromImage(lq::GraphicsImage(solid(40, 20, Qt::red)));
    picture->setCrop(lq::Rect(5, 5, 10, 10));
    picture->setBorderColor(lq::Colour(1, 0, 0, 1));
    picture->setBorderWidth(3);
    picture->setDropShadow(true);
    picture->shape()->setShape(XmlShape::ShapeKind::RoundedRectangle);
    picture->shape()->setAttribute(15);
    picture->setShowCrop(true);

    const QString xml = picture->createXml();
    // The body is written as the whole image, whatever the crop.
    EXPECT_TRUE(xml.startsWith(QStringLiteral(
        "<IWimage bodyrect=\"{{0, 0}, {40, 20}}\" thickness=\"2.000000\" backgroundcolor=\"1.000000 1.000000 1.000000 "
        "1.000000\" foregroundcolor=\"0.000000 0.000000 0.000000 1.000000\" crop=\"{{5, 5}, {10, 10}}\" "
        "bordercolor=\"1.000000 0.000000 0.000000 1.000000\" borderwidth=\"3\" dropshadow=\"1\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<IWshape shape=\"2\" attribute=\"15\"/>"))) << xml.toStdString();
    EXPECT_FALSE(xml.contains(QStringLiteral("indata")));
    EXPECT_EQ(picture->crop(), lq::Rect(5, 5, 10, 10)); // put back after writing

    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlImage::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->crop(), lq::Rect(5, 5, 10, 10));
    EXPECT_EQ(copy->borderColor(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(copy->borderWidth(), 3);
    EXPECT_TRUE(copy->dropShadow());
    EXPECT_FALSE(copy->showCrop()); // never stored
    EXPECT_EQ(copy->bodyRect(), lq::Rect(5, 5, 10, 10));
    // The shape is read into the picture's own shape, not attached as a child.
    ASSERT_NE(copy->shape(), nullptr);
    EXPECT_EQ(copy->shape()->shape(), XmlShape::ShapeKind::RoundedRectangle);
    EXPECT_EQ(copy->shape()->attribute(), 15);
    EXPECT_EQ(copy->shape()->parent(), copy);
    EXPECT_EQ(copy->numberChildren(), 0);
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlImage, EmbeddedLegacyPicture)
{
    const QByteArray png = pngBytes(solid(12, 7, Qt::green));
    const QString xml = QStringLiteral("<IWimage indata=\"1\"><!-- data -->%1<!-- data --></IWimage>\n")
                            .arg(lq::base64EncodeText(png));
    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* picture = XmlImage::cast(read.get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->indata(), 1);
    // Decoded once reading ends, before anybody asks for the image.
    EXPECT_EQ(picture->bodyRect(), lq::Rect(0, 0, 12, 7));
    EXPECT_EQ(picture->image().size(), lq::Size(12, 7));

    // Bytes that are no picture leave a picture without one.
    auto plain = XmlImage::create();
    plain->setImageData(QByteArray("not a picture"));
    EXPECT_TRUE(plain->image().isNull());
}

TEST(XmlImage, RotateImage)
{
    QImage source = solid(40, 20, Qt::white);
    source.setPixelColor(0, 0, Qt::red);
    const lq::GraphicsImage image(source);
    struct Case {
        int degrees;
        QSize size;
        QPoint red;
    };
    const std::vector<Case> cases = {
        { 90, QSize(20, 40), QPoint(19, 0) },   // clockwise: top left to top right
        { -90, QSize(20, 40), QPoint(0, 39) },  // counter-clockwise: to bottom left
        { 180, QSize(40, 20), QPoint(39, 19) },
        { 0, QSize(40, 20), QPoint(39, 19) },   // any other value turns by half a turn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        const QImage turned = XmlImage::rotateImageDegrees(image, c.degrees).toQImage();
        ASSERT_EQ(turned.size(), c.size);
        int reds = 0;
        for (int y = 0; y < turned.height(); ++y)
            for (int x = 0; x < turned.width(); ++x)
                reds += near(turned.pixelColor(x, y), Qt::red, 2) ? 1 : 0;
        EXPECT_EQ(reds, 1);
        EXPECT_TRUE(near(turned.pixelColor(c.red), Qt::red, 0)) << describe(turned.pixelColor(c.red));
    }
}

TEST(XmlImage, ResizeImage)
{
    struct Case {
        QSize source;
        lq::Size limit;
        QSize expected;
    };
    const std::vector<Case> cases = {
        { QSize(1000, 500), lq::Size(400, 400), QSize(400, 200) },
        { QSize(500, 1000), lq::Size(400, 400), QSize(200, 400) },
        { QSize(300, 200), lq::Size(400, 400), QSize(300, 200) }, // never enlarged
        { QSize(1600, 1000), lq::Size(800, 600), QSize(800, 500) },
        { QSize(1000, 1600), lq::Size(800, 600), QSize(375, 600) },
    };
    for (const Case& c : cases) {
        const lq::GraphicsImage image(solid(c.source.width(), c.source.height(), Qt::darkCyan));
        const lq::GraphicsImage limited = XmlImage::resizeImageToLimitSize(image, c.limit);
        EXPECT_EQ(limited.toQImage().size(), c.expected) << c.source.width() << "x" << c.source.height();
        EXPECT_TRUE(near(limited.toQImage().pixelColor(c.expected.width() / 2, c.expected.height() / 2), Qt::darkCyan, 1));
    }
    const QImage exact = XmlImage::resizeImageToSize(lq::GraphicsImage(solid(10, 10, Qt::red)), lq::Size(3, 17)).toQImage();
    EXPECT_EQ(exact.size(), QSize(3, 17));
    EXPECT_TRUE(near(exact.pixelColor(1, 8), Qt::red, 1));

    LogCapture log;
    EXPECT_THROW(XmlImage::resizeImageToLimitSize(lq::GraphicsImage(), lq::Size(10, 10)), lq::Exception);
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Catch:XmlImage resizeImage:toLimitSize: Divide By 0: width or height = 0")))
        << log.lines.join(QLatin1Char('\n')).toStdString();
}

TEST(XmlImage, DrawsWithShapeBorderAndShadow)
{
    const QColor blue(0, 0, 255), red(255, 0, 0), white(255, 255, 255);
    struct Probe {
        QPoint at;
        QColor colour;   // expected colour, unless darker is set
        bool darker = false;
    };
    struct Case {
        const char* what;
        int shape;
        bool useShape;
        int border;
        bool shadow;
        std::vector<Probe> probes;
    };
    // A 100 x 100 blue picture drawn at (10, 10) into a white 120 x 120 image.
    const std::vector<Case> cases = {
        { "oval", 1, true, 0, false, { { QPoint(12, 12), white }, { QPoint(60, 60), blue }, { QPoint(98, 98), white } } },
        { "oval with a red border", 1, true, 4, false,
          { { QPoint(11, 60), red }, { QPoint(60, 11), red }, { QPoint(108, 60), red }, { QPoint(60, 60), blue },
            { QPoint(12, 12), white }, { QPoint(8, 60), white } } },
        { "oval with a drop shadow", 1, true, 0, true,
          { { QPoint(98, 98), white, true }, { QPoint(60, 113), white, true }, { QPoint(60, 60), blue },
            { QPoint(12, 12), white } } },
        { "rectangle with a drop shadow", 0, true, 0, true,
          { { QPoint(112, 60), white, true }, { QPoint(60, 112), white, true }, { QPoint(5, 60), white } } },
        { "no shape: no clip, no border, no shadow", 1, false, 4, true,
          { { QPoint(12, 12), blue }, { QPoint(11, 60), blue }, { QPoint(98, 98), blue }, { QPoint(113, 60), white },
            { QPoint(60, 113), white } } },
        { "an unknown shape draws unclipped", 12, true, 4, true,
          { { QPoint(12, 12), blue }, { QPoint(11, 60), blue }, { QPoint(60, 113), white } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto picture = XmlImage::createFromImage(lq::GraphicsImage(solid(100, 100, blue)));
        picture->shape()->setShape(static_cast<XmlShape::ShapeKind>(c.shape));
        picture->setUseShape(c.useShape);
        picture->setBorderColor(lq::Colour(1, 0, 0));
        picture->setBorderWidth(c.border);
        picture->setDropShadow(c.shadow);
        const QImage drawn = render(*picture, QSize(120, 120), QPointF(10, 10));
        for (const Probe& probe : c.probes) {
            const QColor actual = drawn.pixelColor(probe.at);
            if (probe.darker)
                EXPECT_LT(actual.red(), 235) << probe.at.x() << "," << probe.at.y() << " " << describe(actual);
            else
                EXPECT_TRUE(near(actual, probe.colour)) << probe.at.x() << "," << probe.at.y() << " " << describe(actual);
        }
    }
}

TEST(XmlImage, DrawsTheCropAndItsSurroundings)
{
    // Top half red, bottom half blue; the crop takes the top half.
    auto picture = XmlImage::createFromImage(lq::GraphicsImage(halves(40, 40, Qt::red, Qt::blue, QImage::Format_ARGB32)));
    picture->setCrop(lq::Rect(0, 0, 40, 20));
    QImage drawn = render(*picture, QSize(40, 40));
    EXPECT_TRUE(near(drawn.pixelColor(20, 10), Qt::red));
    EXPECT_TRUE(near(drawn.pixelColor(20, 30), Qt::white));

    // In crop mode the rest shows faded.
    picture->setShowCrop(true);
    drawn = render(*picture, QSize(40, 40));
    EXPECT_TRUE(near(drawn.pixelColor(20, 10), Qt::red));
    EXPECT_TRUE(near(drawn.pixelColor(20, 30), QColor(153, 153, 255), 3)) << describe(drawn.pixelColor(20, 30));

    // With the background filled first, the bounding rectangle takes its colour.
    picture->setShowCrop(false);
    picture->setFillBkgnd(true);
    picture->setBackgroundColor(lq::Colour(0, 1, 0));
    picture->shape()->setShape(XmlShape::ShapeKind::Oval);
    drawn = render(*picture, QSize(40, 40));
    EXPECT_TRUE(near(drawn.pixelColor(1, 1), Qt::green));
    EXPECT_TRUE(near(drawn.pixelColor(20, 30), Qt::white));
}

TEST(XmlImage, DrawsThroughTheFiltersOnlyWhenAsked)
{
    const QColor grey(76, 76, 76);
    struct Case {
        const char* what;
        bool inCanvas, useFilter, testMode;
        QColor expected;
    };
    const std::vector<Case> cases = {
        { "canvas asks, preview shown", true, true, true, grey },
        { "layout tab selected", true, true, false, Qt::red },
        { "canvas does not ask", true, false, true, Qt::red },
        { "picture outside a canvas", false, true, true, Qt::red },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PictureInSite t;
        t.document.inTestMode = c.testMode;
        t.canvas->setUseFilter(c.useFilter);
        t.canvas->setSaturation(-1.0);
        if (!c.inCanvas)
            t.picture->setParent(t.site.get());
        t.picture->setImage(lq::GraphicsImage(solid(20, 20, Qt::red)));
        const QImage drawn = render(*t.picture, QSize(20, 20));
        EXPECT_TRUE(near(drawn.pixelColor(10, 10), c.expected, 1)) << describe(drawn.pixelColor(10, 10));
    }
}

TEST(XmlImage, FilteredPicturesStayUpright)
{
    // 32-bit pixels are read in place, 24-bit ones copied bottom row first;
    // both come out the right way up, cropped to the right half.
    for (QImage::Format format : { QImage::Format_ARGB32, QImage::Format_RGB32, QImage::Format_RGB888 }) {
        SCOPED_TRACE(static_cast<int>(format));
        PictureInSite t;
        t.document.inTestMode = true;
        t.canvas->setBrightness(0.2);
        t.canvas->setHighboost(0.5);
        t.picture->setImage(lq::GraphicsImage(halves(20, 20, Qt::red, Qt::blue, format)));
        const std::optional<lq::BitmapImageRep> rep = t.picture->image().bitmapRepresentation();
        ASSERT_TRUE(rep);
        EXPECT_EQ(rep->bitsPerPixel, format == QImage::Format_RGB888 ? 24 : 32);

        QImage drawn = render(*t.picture, QSize(20, 20));
        const QColor top = drawn.pixelColor(10, 4), bottom = drawn.pixelColor(10, 15);
        EXPECT_TRUE(near(top, QColor(255, 12, 12), 2)) << describe(top);
        EXPECT_TRUE(near(bottom, QColor(12, 12, 255), 2)) << describe(bottom);

        t.picture->setCrop(lq::Rect(0, 10, 20, 10)); // the bottom half only
        drawn = render(*t.picture, QSize(20, 20));
        EXPECT_TRUE(near(drawn.pixelColor(10, 4), Qt::white, 0)) << describe(drawn.pixelColor(10, 4));
        EXPECT_TRUE(near(drawn.pixelColor(10, 15), QColor(12, 12, 255), 2)) << describe(drawn.pixelColor(10, 15));
    }
}

TEST(XmlImage, FilteredPictureTooSmallToSharpenIsDrawnUnsharpened)
{
    PictureInSite t;
    t.document.inTestMode = true;
    t.canvas->setHighboost(1.0);
    t.picture->setImage(lq::GraphicsImage(solid(10, 2, Qt::red)));
    const QImage drawn = render(*t.picture, QSize(10, 2));
    EXPECT_TRUE(near(drawn.pixelColor(5, 1), Qt::red, 1)) << describe(drawn.pixelColor(5, 1));
}

TEST(XmlImage, FilterStepsTakeTheCanvasSettings)
{
    // A 3 x 3 picture drawn at its own size through the filters: the centre
    // pixel shows what each setting did to it. The centre is grey 60 among
    // grey 50 (mean luma 460 / 9), or one colour all over.
    struct Case {
        const char* what;
        QColor centre, around;
        double highboost, brightness, contrast, saturation;
        QColor expected;
    };
    const QColor grey60(60, 60, 60), grey50(50, 50, 50), warm(200, 100, 50);
    const std::vector<Case> cases = {
        // Sharpened by a quarter of the amount: 60 x 3 - 0.25 x 400.
        { "sharpening by a quarter", grey60, grey50, 1.0, 0, 0, 0, QColor(80, 80, 80) },
        // 60 + 255 x 0.1, truncated.
        { "brightness only", grey60, grey50, 0, 0.4, 0, 0, QColor(85, 85, 85) },
        // (60 - 51.1) x 1.25 + 51.1, truncated.
        { "contrast only", grey60, grey50, 0, 0, 1.0, 0, QColor(62, 62, 62) },
        { "saturation only", warm, warm, 0, 0, 0, -1.0, QColor(124, 124, 124) },
        // All three 0: the colours are not recomputed (which would truncate
        // 200, 100, 50 to 199, 100, 49).
        { "no colour change", warm, warm, 0, 0, 0, 0, warm },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PictureInSite t;
        t.document.inTestMode = true;
        t.canvas->setHighboost(c.highboost);
        t.canvas->setBrightness(c.brightness);
        t.canvas->setContrast(c.contrast);
        t.canvas->setSaturation(c.saturation);
        QImage pixels = solid(3, 3, c.around, QImage::Format_RGB32);
        pixels.setPixelColor(1, 1, c.centre);
        t.picture->setImage(lq::GraphicsImage(pixels));
        t.picture->setUseShape(false);
        const QImage drawn = render(*t.picture, QSize(3, 3));
        EXPECT_TRUE(near(drawn.pixelColor(1, 1), c.expected, 0)) << describe(drawn.pixelColor(1, 1));
    }
}
