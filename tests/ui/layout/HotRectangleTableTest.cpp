// The canvas's table of hot rectangles: where areas go, how the high-water
// mark follows them, and the hover and press calls the elements get.
#include "ui/layout/HotRectangleTable.h"

#include "support/ui/MouseSpyElement.h"

#include <gtest/gtest.h>

namespace {

class HotRectangleTableTest : public ::testing::Test {
protected:
    HotRectangleTable table;
    std::shared_ptr<MouseSpyElement> first = MouseSpyElement::create();
    std::shared_ptr<MouseSpyElement> second = MouseSpyElement::create();
};

TEST_F(HotRectangleTableTest, AreasTakeTheFirstFreeSlotsAndTheMarkFollowsThem)
{
    for (int i = 0; i < 5; ++i)
        table.addTrackingDataForObjectDataRect(first->UUID(), QString::number(i), lq::Rect(float(10 * i), 0, 10, 10));
    for (int i = 5; i < 10; ++i)
        table.addTrackingDataForObjectDataRect(second->UUID(), QString::number(i), lq::Rect(float(10 * i), 0, 10, 10));
    EXPECT_EQ(table.numberTracking(), 10);
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(table.slot(slot).data, QString::number(slot));

    // Clearing the owner of slots 5 to 9 brings the mark down to 5, and the
    // next area goes into slot 5.
    table.clearTrackingDataForObject(second->UUID());
    EXPECT_EQ(table.numberTracking(), 5);
    table.addTrackingDataForObjectDataRect(second->UUID(), QStringLiteral("new"), lq::Rect(0, 50, 10, 10));
    EXPECT_EQ(table.slot(5).data, QStringLiteral("new"));
    EXPECT_EQ(table.numberTracking(), 6);

    // A cleared slot in the middle is reused before the end grows.
    table.clearTrackingDataForObject(first->UUID());
    EXPECT_EQ(table.numberTracking(), 6);
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("again"), lq::Rect());
    EXPECT_EQ(table.slot(0).data, QStringLiteral("again"));
    EXPECT_FALSE(table.slot(1).inUse);

    table.clearTrackingData();
    EXPECT_EQ(table.numberTracking(), 0);
    EXPECT_EQ(table.slotsInUse(), 0);
}

TEST_F(HotRectangleTableTest, AFullTableDropsTheNextArea)
{
    for (int i = 0; i < HotRectangleTable::capacity; ++i)
        table.addTrackingDataForObjectDataRect(first->UUID(), QString::number(i), lq::Rect(0, 0, 1, 1));
    ASSERT_EQ(table.numberTracking(), 4096);
    table.addTrackingDataForObjectDataRect(second->UUID(), QStringLiteral("dropped"), lq::Rect(0, 0, 100, 100));
    EXPECT_EQ(table.numberTracking(), 4096);
    EXPECT_EQ(table.slotsInUse(), 4096);
    for (int slot = 0; slot < HotRectangleTable::capacity; ++slot)
        ASSERT_EQ(table.slot(slot).uuid, first->UUID()) << slot;
}

TEST_F(HotRectangleTableTest, HoverEntersOnceAndLeaves)
{
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("menu 1"), lq::Rect(10, 10, 20, 10));
    EXPECT_TRUE(table.mouseMoved(lq::Point(15, 15)));
    EXPECT_TRUE(table.mouseMoved(lq::Point(16, 15)));
    EXPECT_EQ(first->taken(), QStringList {QStringLiteral("mouseEntered: menu 1")});
    // The right and bottom edges lie outside, the left and top ones inside.
    EXPECT_FALSE(table.mouseMoved(lq::Point(30, 15)));
    EXPECT_EQ(first->taken(), QStringList {QStringLiteral("mouseExited: menu 1")});
    EXPECT_TRUE(table.mouseMoved(lq::Point(10, 10)));
    EXPECT_FALSE(table.mouseMoved(lq::Point(20, 20)));
    EXPECT_EQ(first->taken(), (QStringList {QStringLiteral("mouseEntered: menu 1"), QStringLiteral("mouseExited: menu 1")}));

    // Clearing an area the pointer is in tells its element it left.
    table.mouseMoved(lq::Point(12, 12));
    first->taken();
    table.clearTrackingDataForObject(first->UUID());
    EXPECT_EQ(first->taken(), QStringList {QStringLiteral("mouseExited: menu 1")});
}

TEST_F(HotRectangleTableTest, APressTracksItsAreaUntilRelease)
{
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("link"), lq::Rect(0, 0, 50, 20));
    table.mouseMoved(lq::Point(5, 5));
    EXPECT_EQ(first->taken(), QStringList {QStringLiteral("mouseEntered: link")});

    // Press inside, drag out, come back, release inside.
    EXPECT_EQ(table.mouseDown(lq::Point(5, 5)), 0);
    EXPECT_FALSE(table.mouseDragged(lq::Point(80, 5)));
    EXPECT_FALSE(table.mouseDragged(lq::Point(90, 5)));
    EXPECT_TRUE(table.mouseDragged(lq::Point(10, 5)));
    table.mouseUp(lq::Point(10, 6));
    EXPECT_EQ(first->taken(), (QStringList {QStringLiteral("mouseDown: link"), QStringLiteral("mouseExited: link"),
                                  QStringLiteral("mouseDown: link"), QStringLiteral("mouseClick: link")}));
    EXPECT_EQ(table.mouseDownObjectNum(), -1);

    // Released outside: no click.
    table.mouseDown(lq::Point(5, 5));
    table.mouseUp(lq::Point(70, 5));
    EXPECT_EQ(first->taken(), (QStringList {QStringLiteral("mouseDown: link"), QStringLiteral("mouseExited: link")}));

    // A press over nothing presses nothing.
    EXPECT_EQ(table.mouseDown(lq::Point(200, 200)), -1);
    table.mouseUp(lq::Point(5, 5));
    EXPECT_TRUE(first->taken().isEmpty());
}

TEST_F(HotRectangleTableTest, OverlappingAreasAllHoverButOnlyTheLowerSlotIsPressed)
{
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("under"), lq::Rect(0, 0, 40, 40));
    table.addTrackingDataForObjectDataRect(second->UUID(), QStringLiteral("over"), lq::Rect(20, 20, 40, 40));
    table.mouseMoved(lq::Point(30, 30));
    EXPECT_EQ(first->taken(), QStringList {QStringLiteral("mouseEntered: under")});
    EXPECT_EQ(second->taken(), QStringList {QStringLiteral("mouseEntered: over")});
    EXPECT_EQ(table.mouseDown(lq::Point(30, 30)), 0);
    table.mouseUp(lq::Point(30, 30));
    EXPECT_EQ(first->taken(), (QStringList {QStringLiteral("mouseDown: under"), QStringLiteral("mouseClick: under")}));
    EXPECT_TRUE(second->taken().isEmpty());
}

TEST_F(HotRectangleTableTest, AnAreaWhoseElementIsGoneAnswersNothing)
{
    auto gone = MouseSpyElement::create();
    table.addTrackingDataForObjectDataRect(gone->UUID(), QStringLiteral("x"), lq::Rect(0, 0, 10, 10));
    gone.reset();
    EXPECT_TRUE(table.mouseMoved(lq::Point(1, 1)));
    EXPECT_EQ(table.mouseDown(lq::Point(1, 1)), 0);
    table.mouseUp(lq::Point(1, 1));
    table.clearTrackingData();
    EXPECT_EQ(table.numberTracking(), 0);
}

TEST_F(HotRectangleTableTest, AClickMayFillTheTableAnew)
{
    // Showing another page from a click lays it out, which rebuilds the table.
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("page 2"), lq::Rect(0, 0, 10, 10));
    first->duringCall = [&] {
        if (first->calls.last().startsWith(QLatin1String("mouseClick:"))) {
            table.clearTrackingData();
            table.addTrackingDataForObjectDataRect(second->UUID(), QStringLiteral("next page"), lq::Rect(0, 0, 5, 5));
        }
    };
    table.mouseDown(lq::Point(1, 1));
    table.mouseUp(lq::Point(1, 1));
    EXPECT_EQ(table.numberTracking(), 1);
    EXPECT_EQ(table.slot(0).uuid, second->UUID());
}

#ifndef QT_NO_DEBUG
using HotRectangleTableDeathTest = HotRectangleTableTest;

TEST_F(HotRectangleTableDeathTest, AnElementChangingTheTableDuringAScanStops)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    table.addTrackingDataForObjectDataRect(first->UUID(), QStringLiteral("a"), lq::Rect(0, 0, 10, 10));
    first->duringCall = [&] { table.clearTrackingDataForObject(first->UUID()); };
    EXPECT_DEATH(table.mouseMoved(lq::Point(1, 1)), "during a scan");
}
#endif

} // namespace
