#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "platform/graphics/GraphicsContext.h"
#include "support/SiteInDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

std::shared_ptr<XmlImage> picture(int w, int h, QColor colour = Qt::red)
{
    return XmlImage::createFromImage(lq::GraphicsImage(solid(w, h, colour)));
}

// The element names directly inside the outermost element, in order.
QStringList innerElements(const QString& xml)
{
    QStringList names;
    int depth = 0;
    for (qsizetype i = xml.indexOf(u'<'); i >= 0; i = xml.indexOf(u'<', i + 1)) {
        const QChar next = i + 1 < xml.size() ? xml[i + 1] : QChar();
        if (next == u'!' || next == u'?')
            continue;
        if (next == u'/') {
            --depth;
            continue;
        }
        const qsizetype end = xml.indexOf(u'>', i);
        if (depth == 1)
            names.append(xml.mid(i + 1).section(QRegularExpression(QStringLiteral("[ />]")), 0, 0));
        if (xml[end - 1] != u'/')
            ++depth;
    }
    return names;
}

} // namespace

TEST(XmlCanvasParts, WritesOnlyThePartsThatHoldSomething)
{
    auto canvas = XmlCanvas::create();
    EXPECT_EQ(innerElements(canvas->createXml()), QStringList { QStringLiteral("IWimage") }) << canvas->createXml().toStdString();

    auto balloon = XmlDrawBalloon::create();
    balloon->setBodyRect(lq::Rect(10, 10, 50, 40));
    balloon->setAnchorPoint(lq::Point(100, 100));
    canvas->drawObjects()->addChild(balloon);
    canvas->drawObjects()->addChild(XmlDrawArrow::create());
    canvas->watermark()->setPlacement(5);
    canvas->watermark()->setContent(QStringLiteral("(c) me"));
    const QString xml = canvas->createXml();
    EXPECT_EQ(innerElements(xml), (QStringList { QStringLiteral("IWimage"), QStringLiteral("IWwatermark"), QStringLiteral("IWdrawobjects") }))
        << xml.toStdString();

    // Read back into the canvas's own parts, never as children.
    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlCanvas::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->numberChildren(), 0);
    EXPECT_EQ(copy->watermark()->placement(), 5);
    EXPECT_EQ(copy->watermark()->content(), QStringLiteral("(c) me"));
    ASSERT_EQ(copy->drawObjects()->numberChildren(), 2);
    auto* readBalloon = XmlDrawBalloon::cast(copy->drawObjects()->childAtIndex(0).get());
    ASSERT_NE(readBalloon, nullptr);
    EXPECT_EQ(readBalloon->anchorPoint(), lq::Point(100, 100));
    EXPECT_NE(XmlDrawArrow::cast(copy->drawObjects()->childAtIndex(1).get()), nullptr);
    EXPECT_EQ(copy->image()->parent(), copy);
    EXPECT_EQ(copy->createXml(), xml);
}

TEST(XmlCanvasParts, FramingIsKeptWithinItsRange)
{
    auto canvas = XmlCanvas::create();
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<float()> get;
        float stored;
    };
    const std::vector<Case> cases = {
        { "scale below 0", [&] { canvas->setThumbScale(-0.2f); }, [&] { return canvas->thumbScale(); }, 0 },
        { "scale above 1", [&] { canvas->setThumbScale(1.7f); }, [&] { return canvas->thumbScale(); }, 1 },
        { "offset x below 0", [&] { canvas->setThumbOffsetX(-3); }, [&] { return canvas->thumbOffsetX(); }, 0 },
        { "offset y above 1", [&] { canvas->setThumbOffsetY(2); }, [&] { return canvas->thumbOffsetY(); }, 1 },
        { "offset within", [&] { canvas->setThumbOffsetY(0.25f); }, [&] { return canvas->thumbOffsetY(); }, 0.25f },
        { "aspect below 1", [&] { canvas->setThumbAspectX(0.5f); }, [&] { return canvas->thumbAspectX(); }, 1 },
        { "aspect y below 1", [&] { canvas->setThumbAspectY(-4); }, [&] { return canvas->thumbAspectY(); }, 1 },
        { "reading clamps too", [&] { canvas->setAttributeTo(QStringLiteral("tscale"), QStringLiteral("5")); },
          [&] { return canvas->thumbScale(); }, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.set();
        EXPECT_EQ(c.get(), c.stored);
    }
}

TEST(XmlCanvasParts, CanvasOfAPhotoAlwaysFillsItsBackground)
{
    auto canvas = XmlCanvas::create();
    canvas->setFillBackground(0);
    EXPECT_TRUE(canvas->createXml().contains(QStringLiteral(" fillbackground=\"0\"")));
    auto photo = XmlPhoto::create();
    photo->setCanvas(canvas);
    EXPECT_EQ(canvas->fillBackground(), 1);
    EXPECT_TRUE(canvas->createXml().contains(QStringLiteral(" fillbackground=\"1\"")));
}

TEST(XmlCanvasParts, BoundsTakeInShadowAndCallouts)
{
    auto canvas = XmlCanvas::create();
    canvas->setImage(picture(640, 480));
    EXPECT_EQ(canvas->boundingRect(lq::Rect()), lq::Rect(0, 0, 640, 480));
    canvas->image()->setDropShadow(true);
    EXPECT_EQ(canvas->boundingRect(lq::Rect()), lq::Rect(-10, -10, 660, 500));

    auto arrow = XmlDrawArrow::create();
    arrow->setAnchorPoint(lq::Point(700, 100));
    arrow->setTailPoint(lq::Point(600, -50));
    canvas->drawObjects()->addChild(arrow);
    // The watermark learns the bounds as its frame but adds nothing.
    canvas->watermark()->setPlacement(6);
    canvas->watermark()->setContent(QStringLiteral("below"));
    EXPECT_EQ(canvas->boundingRect(lq::Rect()), lq::Rect(-10, -50, 710, 540));
    EXPECT_EQ(canvas->watermark()->frame(), lq::Rect(-10, -50, 710, 540));
}

TEST(XmlCanvasParts, HitTestingAnswersTheLowestCallout)
{
    auto canvas = XmlCanvas::create();
    canvas->setImage(picture(400, 300));
    auto lower = XmlDrawLetterBox::create();
    lower->setBodyRect(lq::Rect(10, 10, 100, 100));
    auto upper = XmlDrawBalloon::create();
    upper->setBodyRect(lq::Rect(50, 50, 100, 100));
    upper->setAnchorPoint(lq::Point(300, 250));
    auto arrow = XmlDrawArrow::create();
    arrow->setAnchorPoint(lq::Point(200, 20));
    arrow->setTailPoint(lq::Point(380, 20));
    canvas->drawObjects()->addChild(lower);
    canvas->drawObjects()->addChild(upper);
    canvas->drawObjects()->addChild(arrow);
    canvas->watermark()->setPlacement(1);
    canvas->watermark()->setContent(QStringLiteral("mark"));

    EXPECT_EQ(canvas->objectAtPoint(lq::Point(75, 75)), lower.get());
    canvas->bringObjectToTop(lower.get());
    EXPECT_EQ(canvas->objectAtPoint(lq::Point(75, 75)), upper.get());
    EXPECT_EQ(canvas->drawObjects()->lastChild(), lower);
    EXPECT_TRUE(canvas->createXml().indexOf(QStringLiteral("<IWletterbox")) > canvas->createXml().indexOf(QStringLiteral("<IWdrawarrow")));

    EXPECT_EQ(canvas->objectAtPoint(lq::Point(304, 246)), upper.get()) << "near the anchor";
    EXPECT_EQ(canvas->objectAtPoint(lq::Point(196, 24)), arrow.get()) << "near the arrow's anchor";
    EXPECT_EQ(canvas->objectAtPoint(lq::Point(384, 16)), arrow.get()) << "near the arrow's tail";
    EXPECT_EQ(canvas->objectAtPoint(lq::Point(290, 20)), nullptr) << "an arrow's shaft is no body";
    EXPECT_EQ(canvas->objectAtPoint(lq::Point(350, 150)), nullptr) << "the picture and the watermark never answer";

    // A callout that is not in the list is ignored.
    auto stranger = XmlDrawBalloon::create();
    canvas->bringObjectToTop(stranger.get());
    EXPECT_EQ(canvas->drawObjects()->numberChildren(), 3);
}

TEST(XmlCanvasParts, ResetEmptiesTheCanvasButKeepsItsParts)
{
    SiteInDocument doc;
    auto canvas = XmlCanvas::create();
    canvas->setParent(doc.site.get());
    canvas->setImage(picture(50, 50));
    const XmlImage* image = canvas->image().get();
    const XmlWatermark* watermark = canvas->watermark().get();
    canvas->image()->setCrop(lq::Rect(5, 5, 10, 10));
    canvas->drawObjects()->addChild(XmlDrawBalloon::create());
    canvas->watermark()->setPlacement(3);
    canvas->watermark()->setContent(QStringLiteral("kept"));
    doc.document.changes = 0;
    canvas->reset();
    EXPECT_GE(doc.document.changes, 1);
    EXPECT_EQ(canvas->image().get(), image);
    EXPECT_EQ(canvas->watermark().get(), watermark);
    EXPECT_TRUE(canvas->image()->crop().isZero());
    EXPECT_EQ(canvas->drawObjects()->numberChildren(), 0);
    EXPECT_EQ(canvas->watermark()->placement(), 0);
    EXPECT_EQ(canvas->watermark()->content(), QStringLiteral("kept"));
    canvas->setParent(nullptr);
}

TEST(XmlCanvasParts, DrawsPictureCalloutsAndThePagesWatermark)
{
    auto album = XmlAlbum::create();
    auto photo = XmlPhoto::create();
    album->addChild(photo);
    XmlCanvas& canvas = *photo->canvas();
    canvas.setImage(picture(100, 100, Qt::blue));
    canvas.setBackgroundColor(lq::Colour(0, 1, 0));
    auto box = XmlDrawLetterBox::create();
    box->contents()->setText(lq::StyledText());
    box->setBodyRect(lq::Rect(10, 10, 20, 20));
    box->setBackgroundColor(lq::Colour(1, 0, 0));
    canvas.drawObjects()->addChild(box);
    album->watermark()->setPlacement(1);
    EXPECT_EQ(album->watermark()->variableSizeText(), 50);
    album->watermark()->setVariableSizeText(5);
    album->watermark()->setTextColor(lq::Colour(1, 1, 1, 1));
    album->watermark()->setContent(QStringLiteral("WWW"));

    lq::GraphicsImage image = canvas.makeImage();
    ASSERT_EQ(image.pixelsWide(), 100);
    const QImage pixels = image.toQImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(pixels.pixelColor(80, 80), QColor(Qt::blue));
    EXPECT_EQ(pixels.pixelColor(20, 20), QColor(Qt::red));
    int white = 0;
    for (int y = 30; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            white += pixels.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
    EXPECT_GT(white, 20) << "the page's watermark is drawn over the picture";
}

TEST(XmlCanvasParts, TheEditorsDrawingLeavesOutTheFillAndTheCanvasWatermarkAndChangesNothing)
{
    SiteInDocument doc;
    auto album = XmlAlbum::create();
    doc.site->homepage()->addChild(album);
    auto photo = XmlPhoto::create();
    album->addChild(photo);
    XmlCanvas& canvas = *photo->canvas();
    canvas.setImage(picture(100, 100, Qt::blue));
    canvas.image()->shape()->setShape(XmlShape::ShapeKind::Oval);   // an oval: the corners show what lies behind the picture
    canvas.setBackgroundColor(lq::Colour(0, 1, 0));
    XmlWatermark& own = *canvas.watermark();
    own.setPlacement(1);
    own.setVariableSizeText(5);
    own.setTextColor(lq::Colour(1, 1, 1, 1));
    own.setContent(QStringLiteral("WWW"));
    album->watermark()->setPlacement(5);
    album->watermark()->setVariableSizeText(5);
    album->watermark()->setTextColor(lq::Colour(1, 1, 0, 1));
    album->watermark()->setContent(QStringLiteral("YY"));
    const QString stored = canvas.createXml();
    doc.document.changes = 0;

    const auto drawn = [&](bool inEditor) {
        QImage pixels(100, 100, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        {
            lq::GraphicsContext::Scope scope(pixels);
            if (inEditor)
                canvas.drawWithoutFillAndWatermark();
            else
                canvas.draw();
        }
        return pixels.convertToFormat(QImage::Format_ARGB32);
    };
    const auto count = [](const QImage& pixels, QColor colour) {
        int n = 0;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                n += pixels.pixelColor(x, y) == colour ? 1 : 0;
        return n;
    };

    const QImage full = drawn(false);
    EXPECT_EQ(full.pixelColor(2, 2), QColor(Qt::green));
    EXPECT_GT(count(full, Qt::white), 20);
    EXPECT_GT(count(full, Qt::yellow), 5);

    const QImage editor = drawn(true);
    EXPECT_EQ(editor.pixelColor(2, 2).alpha(), 0) << "no background fill";
    EXPECT_EQ(editor.pixelColor(50, 20), QColor(Qt::blue));
    EXPECT_EQ(count(editor, Qt::white), 0) << "no watermark of the canvas's own";
    EXPECT_GT(count(editor, Qt::yellow), 5) << "the page's watermark stays";

    EXPECT_EQ(doc.document.changes, 0);
    EXPECT_EQ(own.placement(), 1);
    EXPECT_EQ(canvas.fillBackground(), 1);
    EXPECT_EQ(canvas.createXml(), stored);
}
