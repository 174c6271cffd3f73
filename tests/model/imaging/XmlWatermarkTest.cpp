#include "model/imaging/XmlWatermark.h"
#include "platform/graphics/GraphicsImage.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// The bounding box of the pixels the watermark draws into an empty picture
// of the frame's size; a null rectangle when it draws nothing.
QRect drawnArea(XmlWatermark& watermark, int w, int h)
{
    watermark.boundingRect(lq::Rect(0, 0, static_cast<float>(w), static_cast<float>(h)));
    lq::GraphicsImage image = lq::GraphicsImage::withSize(lq::Size(static_cast<float>(w), static_cast<float>(h)));
    {
        lq::GraphicsImage::Focus focus(image);
        watermark.draw();
    }
    const QImage pixels = image.toQImage().convertToFormat(QImage::Format_ARGB32);
    QRect area;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(pixels.pixel(x, y)) > 0)
                area = area.united(QRect(x, y, 1, 1));
    return area;
}

std::shared_ptr<XmlWatermark> mark(int placement, const QString& text = QStringLiteral("Copyright"))
{
    auto watermark = XmlWatermark::create();
    watermark->setPlacement(placement);
    watermark->setContent(text);
    watermark->setTextColor(lq::Colour(0, 0, 0, 1));
    return watermark;
}

} // namespace

TEST(XmlWatermark, DefaultsAndElementText)
{
    auto watermark = XmlWatermark::create();
    EXPECT_EQ(watermark->placement(), 0);
    EXPECT_EQ(watermark->textSize(), 24.0f);
    EXPECT_EQ(watermark->textColor(), lq::Colour(0, 0, 0, 0.5f));
    EXPECT_EQ(watermark->variableSizeText(), 0);

    watermark->setPlacement(9);
    watermark->setTextSize(30.5f);
    watermark->setTextColor(lq::Colour(1, 0, 0, 0.25f));
    watermark->setVariableSizeText(25);
    watermark->setContent(QStringLiteral("(c) 2008"));
    const QString xml = watermark->createXml();
    EXPECT_TRUE(xml.startsWith(QStringLiteral(
        "<IWwatermark placement=\"9\" textsize=\"30.500000\" textcolor=\"1.000000 0.000000 0.000000 0.250000\">")))
        << xml.toStdString();
    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlWatermark::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->placement(), 9);
    EXPECT_EQ(copy->textSize(), 30.5f);
    EXPECT_EQ(copy->textColor(), lq::Colour(1, 0, 0, 0.25f));
    EXPECT_EQ(copy->content(), QStringLiteral("(c) 2008"));
    EXPECT_EQ(copy->variableSizeText(), 0) << "never stored";
}

TEST(XmlWatermark, ColourAndAlphaAreSetApart)
{
    SiteInDocument doc;
    auto watermark = XmlWatermark::create();
    watermark->setParent(doc.site.get());
    expectEachMarksTheDocumentOnce(doc.document, {
        { "alpha", [&] { watermark->setTextAlpha(0.25f); } },
        { "colour", [&] { watermark->setTextColorWithoutAlpha(lq::Colour(1, 0, 0, 1)); } },
        { "placement", [&] { watermark->setPlacement(2); } },
        { "size", [&] { watermark->setTextSize(12); } },
    });
    EXPECT_EQ(watermark->textColor(), lq::Colour(1, 0, 0, 0.25f));
    EXPECT_EQ(watermark->textAlpha(), 0.25f);

    const int before = doc.document.changes;
    watermark->reset();
    watermark->setVariableSizeText(50);
    EXPECT_EQ(doc.document.changes, before) << "reset and the variable size are no changes";
    EXPECT_EQ(watermark->placement(), 0);
    EXPECT_EQ(watermark->textSize(), 24.0f);
    EXPECT_EQ(watermark->textColor(), lq::Colour(1, 0, 0, 0.25f));
    watermark->setParent(nullptr);
}

TEST(XmlWatermark, VariableSizeFollowsTheFrame)
{
    auto watermark = mark(1);
    watermark->boundingRect(lq::Rect(0, 0, 1000, 600));
    EXPECT_EQ(watermark->drawingTextSize(), 24.0f);
    watermark->setVariableSizeText(50);
    EXPECT_EQ(watermark->drawingTextSize(), 32.0f);
    watermark->setVariableSizeText(25);
    EXPECT_EQ(watermark->drawingTextSize(), 64.0f);

    // Twice the font size draws text about twice as high.
    watermark->setVariableSizeText(50);
    const int small = drawnArea(*watermark, 1000, 600).height();
    watermark->setVariableSizeText(25);
    const int large = drawnArea(*watermark, 1000, 600).height();
    EXPECT_NEAR(static_cast<double>(large) / small, 2.0, 0.25) << small << " " << large;
}

TEST(XmlWatermark, NothingIsDrawnWithoutPlacementOrText)
{
    EXPECT_TRUE(drawnArea(*mark(0), 300, 200).isNull());
    EXPECT_TRUE(drawnArea(*mark(1, QString()), 300, 200).isNull());
    EXPECT_TRUE(drawnArea(*mark(10), 300, 200).isNull());
    EXPECT_TRUE(drawnArea(*mark(-1), 300, 200).isNull());
    EXPECT_FALSE(drawnArea(*mark(1), 300, 200).isNull());
}

TEST(XmlWatermark, PlacementsPutTheTextWhereTheySay)
{
    const int w = 400;
    const int h = 300;
    struct Case {
        int placement;
        std::function<bool(const QRect&)> holds;
        const char* where;
    };
    const std::vector<Case> cases = {
        { 1, [&](const QRect& a) { return std::abs(a.center().x() - w / 2) < 15 && std::abs(a.center().y() - h / 2) < 15; }, "centred" },
        { 2, [&](const QRect& a) { return a.top() < 20 && a.left() < 20 && a.bottom() > h - 30; }, "down the diagonal" },
        { 3, [&](const QRect& a) { return a.height() > 60 && a.width() > 60; }, "one slanted copy" },
        { 5, [&](const QRect& a) { return a.right() > w - 30 && a.bottom() > h - 15 && a.left() > w / 2; }, "lower right" },
        { 6, [&](const QRect& a) { return a.bottom() > h - 10 && a.left() < 10 && a.top() > h - 40; }, "along the bottom" },
        { 9, [&](const QRect& a) { return a.right() >= w - 2 && a.width() < 40 && a.height() > 60; }, "up the right edge" },
    };
    for (const Case& c : cases) {
        const QRect area = drawnArea(*mark(c.placement), w, h);
        EXPECT_FALSE(area.isNull()) << c.where;
        EXPECT_TRUE(c.holds(area)) << c.where << ": " << area.x() << ", " << area.y() << ", " << area.width() << " x "
                                   << area.height();
    }
    // Placements 7 and 8 lie outside the frame.
    EXPECT_TRUE(drawnArea(*mark(7), w, h).isNull());
    EXPECT_TRUE(drawnArea(*mark(8), w, h).isNull());
}

TEST(XmlWatermark, BoundsGrowOnlyForTheOutsidePlacements)
{
    const lq::Rect frame(10, 20, 400, 300);
    for (int placement = 0; placement <= 5; ++placement)
        EXPECT_EQ(mark(placement)->boundingRect(frame), frame) << placement;
    EXPECT_EQ(mark(8, QString())->boundingRect(frame), frame) << "no text";

    const lq::Rect left = mark(8)->boundingRect(frame);
    const float th = frame.x() - left.x();
    EXPECT_GT(th, 20);
    EXPECT_LT(th, 40);
    EXPECT_EQ(left, lq::Rect(10 - th, 20, 400 + th, 300));
    EXPECT_EQ(mark(9)->boundingRect(frame), lq::Rect(10, 20, 400 + th, 300));
    EXPECT_EQ(mark(6)->boundingRect(frame), lq::Rect(10, 20, 400, 300 + th));
    EXPECT_EQ(mark(7)->boundingRect(frame), lq::Rect(10, 20 - th, 400, 300 + th));
    // Long text wraps at the frame's width along the bottom: two lines.
    const QString longText = QStringLiteral("Copyright by the photographer of this album, all rights reserved");
    EXPECT_EQ(mark(6, longText)->boundingRect(frame), lq::Rect(10, 20, 400, 300 + 2 * th));
}
