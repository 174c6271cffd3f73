// The layout canvas's alignment guides: which guide each kind of alignment
// finds, how far a guide runs, and the table of the other elements' rectangles.
#include "ui/layout/AlignmentGuides.h"

#include <gtest/gtest.h>

#include <ostream>

namespace lq {
[[maybe_unused]] static void PrintTo(const Point& p, std::ostream* os)
{
    *os << p.toString().toStdString();
}
} // namespace lq

namespace {

TEST(AlignmentGuides, EachAlignmentFindsItsGuideAndOnlyExactlyInLine)
{
    // The other element: left 100, right 300, top 0, bottom 100, centre (200, 50).
    const lq::Rect other(100, 0, 200, 100);
    struct Case {
        const char* what;
        lq::Rect selection;
        bool edges;
        bool centres;
        unsigned found;
    };
    const Case cases[] = {
        {"left edge on its left edge", lq::Rect(100, 200, 100, 80), true, false, AlignmentGuides::LeftEdge},
        {"left edge on its right edge", lq::Rect(300, 200, 40, 80), true, false, AlignmentGuides::LeftEdge},
        {"right edge on its left edge", lq::Rect(50, 200, 50, 80), true, false, AlignmentGuides::RightEdge},
        {"top edge on its bottom edge", lq::Rect(400, 100, 50, 50), true, false, AlignmentGuides::TopEdge},
        {"bottom edge on its top edge", lq::Rect(400, -50, 50, 50), true, false, AlignmentGuides::BottomEdge},
        {"top and bottom on its top and bottom", lq::Rect(400, 0, 50, 100), true, false,
            AlignmentGuides::TopEdge | AlignmentGuides::BottomEdge},
        {"centres across", lq::Rect(175, 300, 50, 50), false, true, AlignmentGuides::CentreX},
        // Centres are rounded up: 30 + 19.5 gives 50.
        {"centres down, rounded up", lq::Rect(400, 30, 50, 39), false, true, AlignmentGuides::CentreY},
        {"one unit off", lq::Rect(101, 200, 100, 80), true, true, 0},
        {"edge guides switched off", lq::Rect(100, 200, 100, 80), false, true, 0},
        {"centre guides switched off", lq::Rect(175, 300, 50, 50), true, false, 0},
        // The selection is made integral first: its left edge goes down to 99.
        {"a fraction left of the edge", lq::Rect(99.5f, 200, 100, 80), true, false, 0},
        {"a fraction right of the edge", lq::Rect(100.25f, 200, 99.5f, 80), true, false, AlignmentGuides::LeftEdge},
    };
    AlignmentGuides guides;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        guides.setObjectRectsIgnoringRect({other.toString()}, lq::Rect());
        guides.calcGuidelines(test.selection, test.edges, test.centres);
        EXPECT_EQ(guides.lastGuideHitTest(), test.found);
    }
    // The centre guide has its own rounded place.
    guides.calcGuidelines(lq::Rect(400, 30, 50, 39), false, true);
    EXPECT_EQ(guides.guideHeadPoint(5), lq::Point(100.5f, 50.5f));
    EXPECT_EQ(guides.guideTailPoint(5), lq::Point(450.5f, 50.5f));
}

TEST(AlignmentGuides, AGuideRunsOverEveryRectangleInLineAndTheSelection)
{
    AlignmentGuides guides;
    guides.setObjectRectsIgnoringRect(
        {lq::Rect(100, 0, 200, 100).toString(), lq::Rect(100, 500, 50, 50).toString(), lq::Rect(600, 900, 10, 10).toString()},
        lq::Rect());
    EXPECT_TRUE(guides.calcGuidelines(lq::Rect(100, 200, 100, 80), true, true));
    EXPECT_EQ(guides.lastGuideHitTest(), unsigned(AlignmentGuides::LeftEdge));
    EXPECT_EQ(guides.guideHeadPoint(0), lq::Point(100.5f, 0.5f));
    EXPECT_EQ(guides.guideTailPoint(0), lq::Point(100.5f, 550.5f));
    // The same guides again: no change to show.
    EXPECT_FALSE(guides.calcGuidelines(lq::Rect(100, 210, 100, 80), true, true));
    // Without a selection nothing is found, and that is a change.
    EXPECT_TRUE(guides.calcGuidelines(std::nullopt, true, true));
    EXPECT_EQ(guides.lastGuideHitTest(), 0u);
}

TEST(AlignmentGuides, TheTableLeavesOutTheSelectionsOwnRectangleAndKeepsAtMost4096)
{
    AlignmentGuides guides;
    const lq::Rect own(10, 10, 50, 50);
    guides.setObjectRectsIgnoringRect({own.toString(), lq::Rect(0, 0, 5, 5).toString(), own.toString()}, own);
    ASSERT_EQ(guides.numObjectRects(), 1);
    EXPECT_EQ(guides.objectRect(0), lq::Rect(0, 0, 5, 5));

    QStringList many;
    for (int index = 0; index < 4100; ++index)
        many.append(lq::Rect(float(index), 0, 1, 1).toString());
    guides.setObjectRectsIgnoringRect(many, lq::Rect());
    EXPECT_EQ(guides.numObjectRects(), 4096);
    EXPECT_EQ(guides.objectRect(4095), lq::Rect(4095, 0, 1, 1));

    guides.setObjectRectsIgnoringRect({}, lq::Rect());
    EXPECT_EQ(guides.numObjectRects(), 0);
    guides.calcGuidelines(lq::Rect(0, 0, 1, 1), true, true);
    EXPECT_EQ(guides.lastGuideHitTest(), 0u);
}

} // namespace
