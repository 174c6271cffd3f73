#include "elements/QZTextContainer.h"
#include "model/core/XmlBase.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QString rect(float x, float y, float width, float height)
{
    return lq::rectToString(lq::Rect(x, y, width, height));
}

QRectF line(const QZTextContainer& container, qreal y, qreal height)
{
    return container.lineFragmentRectForProposedRect(QRectF(0, y, 1000, height), nullptr);
}

QString floats(const QZTextContainer& container, float maxheight)
{
    QString html;
    container.createHTMLfloatsMaxheight(html, maxheight);
    return html;
}

QString pair(const char* left, const char* right, int height)
{
    return QString::asprintf("<div class=\"lf\" style=\"width: %s; height: %dpx;\"></div>\n"
                             "<div class=\"rf\" style=\"width: %s; height: %dpx;\"></div>\n",
                             left, height, right, height);
}

} // namespace

TEST(QZTextContainer, WithoutFloatsEveryLineIsTheFullWidth)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(100, 200, 400, 1000));
    EXPECT_FALSE(container.isSimpleRectangularTextContainer());
    EXPECT_EQ(container.firstLineOffset(), 0);
    QRectF remaining(1, 2, 3, 4);
    EXPECT_EQ(container.lineFragmentRectForProposedRect(QRectF(7, 30, 12, 18), &remaining), QRectF(0, 30, 400, 18));
    EXPECT_EQ(remaining, QRectF());

    EXPECT_EQ(floats(container, 95), QString("<div class=\"lf\" style=\"width: 1px; height: 100px;\"></div>\n"
                                             "<div class=\"rf\" style=\"width: 1px; height: 100px;\"></div>\n"));
    EXPECT_EQ(floats(container, 100), pair("1px", "1px", 100));
    EXPECT_EQ(floats(container, 0), QString());
}

TEST(QZTextContainer, ObstaclesNarrowOrPushDownTheLines)
{
    struct Case {
        const char* what;
        QString floatRect;
        QRectF expected; // for the line proposed at y 0, 20 high
    };
    // Text area 400 wide at (100, 200); spacing top 5, left 6, bottom 7, right 8.
    const std::vector<Case> cases {
        { "left half: starts at its right edge plus the right spacing", rect(100, 200, 100, 50), QRectF(108, 0, 292, 20) },
        { "right half: ends at its left edge less the left spacing", rect(400, 200, 100, 50), QRectF(0, 0, 294, 20) },
        { "20 % to 80 %: below it and its spacing", rect(180, 200, 240, 50), QRectF(0, 57, 400, 20) },
        { "40 % to 60 %: below it too", rect(260, 200, 80, 50), QRectF(0, 57, 400, 20) },
        { "over the middle and the 30 % point: a left obstacle", rect(200, 200, 110, 50), QRectF(218, 0, 182, 20) },
        { "over the middle and the 70 % point: a right obstacle", rect(300, 200, 250, 50), QRectF(0, 0, 194, 20) },
        { "lower down: the line is free", rect(100, 300, 100, 50), QRectF(0, 0, 400, 20) },
    };
    for (const Case& c : cases) {
        QZTextContainer container;
        container.setBoundingRect(lq::Rect(100, 200, 400, 1000));
        container.setPaddingTopLeftBottomRight(5, 6, 7, 8);
        container.addFloatingRect(c.floatRect);
        EXPECT_EQ(line(container, 0, 20), c.expected) << c.what;
    }
}

TEST(QZTextContainer, LinesSkipDownByWholeLineHeightsWhileTooNarrow)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(0, 0, 400, 1000));
    container.addFloatingRect(rect(0, 0, 190, 45));
    container.addFloatingRect(rect(210, 0, 190, 45));
    EXPECT_EQ(container.floatingRects().size(), 2);
    // 20 pixels between them is narrower than 50: down by 20 until past both.
    EXPECT_EQ(line(container, 0, 20), QRectF(0, 60, 400, 20));
    EXPECT_EQ(line(container, 5, 20), QRectF(0, 45, 400, 20));

    container.clearFloatingRects();
    EXPECT_EQ(line(container, 0, 20), QRectF(0, 0, 400, 20));
}

TEST(QZTextContainer, ANarrowAreaIsFiftyWideWithoutSideSpacing)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(0, 0, 40, 500));
    container.setPaddingTopLeftBottomRight(3, 5, 4, 5);
    EXPECT_EQ(line(container, 10, 15), QRectF(0, 10, 50, 15));
    EXPECT_EQ(container.paddingLeft(), 0);
    EXPECT_EQ(container.paddingRight(), 0);
    EXPECT_EQ(container.paddingTop(), 3);
    EXPECT_EQ(container.paddingBottom(), 4);
}

TEST(QZTextContainer, SpacerDivsFollowTheObstacles)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(0, 0, 400, 1000));
    // Full width for 23 pixels: one full pair 30 high, then the free rest.
    container.addFloatingRect(rect(0, 0, 400, 23));
    EXPECT_EQ(floats(container, 50), pair("50%", "49%", 30) + pair("1px", "1px", 20));

    // A left obstacle 25 high: its bands join into one run, which also takes
    // the first band with other widths; the free bands after it start anew.
    container.clearFloatingRects();
    container.addFloatingRect(rect(0, 0, 120, 25));
    EXPECT_EQ(floats(container, 60), pair("120px", "1px", 40) + pair("1px", "1px", 20));

    // A space narrower than the narrowest line writes full pairs.
    container.clearFloatingRects();
    container.addFloatingRect(rect(0, 0, 190, 20));
    container.addFloatingRect(rect(210, 0, 190, 20));
    EXPECT_EQ(floats(container, 30), pair("50%", "49%", 30));
}

TEST(QZTextContainer, AnObstacleEndingLessThanAPixelBelowTheBandStillEnds)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(0, 0, 400, 1000));
    // The first blocks the band at 0 and moves it to 10; the second ends
    // half a pixel below 10, so the band there is blocked by a sliver.
    container.addFloatingRect(rect(0, 0, 400, 10));
    container.addFloatingRect(rect(0, 0, 400, 10.5f));
    EXPECT_EQ(floats(container, 30), pair("50%", "49%", 10) + pair("50%", "49%", 10) + pair("1px", "1px", 10));
}

TEST(QZTextContainer, HitTestLeavesOutTheFloatsAndTheirTopSpacing)
{
    QZTextContainer container;
    container.setBoundingRect(lq::Rect(100, 200, 400, 300));
    container.setPaddingTopLeftBottomRight(5, 0, 0, 0);
    container.addFloatingRect(rect(150, 250, 50, 50));
    struct Case {
        QPointF point;
        bool inside;
    };
    const std::vector<Case> cases {
        { { 0, 0 }, true },     { { -1, 0 }, false },   { { 400, 10 }, false }, { { 399, 299 }, true },
        { { 60, 60 }, false },  { { 60, 104 }, false }, { { 60, 106 }, true },  { { 49, 60 }, true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(container.containsPoint(c.point), c.inside) << c.point.x() << "," << c.point.y();
}

TEST(QZTextContainer, LaidOutTextFlowsRoundAFloat)
{
    auto storage = std::make_shared<lq::StyledText>(QString("word ").repeated(30),
                                                    lq::TextAttributes { lq::Font::helvetica(14), {}, {}, {}, {} });
    lq::LayoutManager layout;
    layout.setTextStorage(storage);
    auto container = std::make_shared<QZTextContainer>();
    container->setLineFragmentPadding(0);
    container->setBoundingRect(lq::Rect(50, 50, 300, 1000));
    layout.addTextContainer(container);
    const qreal firstHeight = layout.lineFragments().at(0).rect.height();
    ASSERT_GT(firstHeight, 0);

    // A picture over the left of the first lines, ending a line and a half down.
    container->addFloatingRect(rect(50, 50, 100, firstHeight * 1.5));
    const std::vector<lq::LineFragment> lines = layout.lineFragments();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rect.x(), 100);
    EXPECT_EQ(lines[0].rect.width(), 200);
    EXPECT_EQ(lines[1].rect.x(), 100);
    EXPECT_EQ(lines.back().rect.x(), 0);
    EXPECT_EQ(lines.back().rect.width(), 300);
}
