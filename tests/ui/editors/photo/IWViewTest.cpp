#include "ui/editors/photo/IWView.h"
#include "support/GeometryPrinters.h"
#include "support/ui/ViewMouse.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include <ostream>

namespace {

// A view over an element of the test's bounds, without a drawable.
class BoundsView : public IWView {
public:
    BoundsView(const lq::Rect& bounds, QSize size, bool fit = true)
        : bounds(bounds)
        , fit(fit)
    {
        resize(size);
    }
    lq::Rect imageBounds() const override { return bounds; }
    bool fitToScale() const override { return fit; }
    using IWView::setScale;

    lq::Rect bounds;
    bool fit = true;
};

// Paints the view (which builds its transforms) and answers the picture.
QImage painted(QWidget& view)
{
    return view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QPointF centreOf(const lq::Rect& r)
{
    return QPointF(r.x() + 3, r.y() + 3);
}

int grey(const QImage& shot, int x, int y)
{
    return qGray(shot.pixel(x, y));
}

} // namespace

TEST(IWView, FitsTheElementIntoTheViewWithoutEnlargingIt)
{
    struct Case {
        const char* what;
        QSize view;
        lq::Rect bounds;
        bool fit;
        float presetScale;
        float scale;
        lq::Point origin;
    };
    const Case cases[] = {
        { "larger: shrunk", { 500, 500 }, lq::Rect(0, 0, 2000, 1000), true, 1, 0.25f, lq::Point(0, 125) },
        { "smaller: centred at 1", { 500, 500 }, lq::Rect(0, 0, 200, 100), true, 1, 1.0f, lq::Point(150, 200) },
        { "taller: shrunk by height", { 500, 300 }, lq::Rect(0, 0, 400, 600), true, 1, 0.5f, lq::Point(150, 0) },
        { "a fitting element after a zoom", { 500, 500 }, lq::Rect(0, 0, 200, 100), true, 3, 1.0f, lq::Point(150, 200) },
        { "no width: no division", { 500, 500 }, lq::Rect(0, 0, 0, 1000), true, 1, 1.0f, lq::Point(250, -250) },
        { "zoomed: centred at its scale", { 500, 500 }, lq::Rect(0, 0, 2000, 1000), false, 0.5f, 0.5f, lq::Point(-250, 0) },
        { "zoomed in", { 500, 500 }, lq::Rect(0, 0, 200, 100), false, 2, 2.0f, lq::Point(50, 150) },
    };
    for (const Case& c : cases) {
        BoundsView view(c.bounds, c.view, c.fit);
        view.setScale(c.presetScale);
        painted(view);
        EXPECT_FLOAT_EQ(view.scale(), c.scale) << c.what;
        EXPECT_EQ(view.origin(), c.origin) << c.what;
        EXPECT_EQ(view.objectToView().map(QPointF(0, 0)), c.origin.toQPointF()) << c.what;
    }
}

TEST(IWView, ConvertsBetweenObjectAndViewCoordinates)
{
    // An element whose origin is not (0, 0), shrunk to a quarter.
    BoundsView view(lq::Rect(-400, 100, 2000, 1000), QSize(500, 500));
    painted(view);
    ASSERT_FLOAT_EQ(view.scale(), 0.25f);

    view.setBodyRect(lq::Rect(0, 300, 400, 200));
    EXPECT_EQ(view.viewBodyRect(), lq::Rect(100, 175, 100, 50));
    view.setViewBodyRect(lq::Rect(0, 125, 500, 250));
    EXPECT_EQ(view.bodyRect(), lq::Rect(-400, 100, 2000, 1000));

    // The zero rectangle means none: it is not moved by the translation.
    view.setBodyRect(lq::Rect());
    EXPECT_EQ(view.viewBodyRect(), lq::Rect());
    view.setBodyRect(lq::Rect(1, 2, 3, 4));
    view.setViewBodyRect(lq::Rect());
    EXPECT_EQ(view.bodyRect(), lq::Rect());

    view.setAnchorPoint(lq::Point(400, 500));
    EXPECT_EQ(view.viewAnchorPoint(), lq::Point(200, 225));
    view.setViewTailPoint(lq::Point(50, 150));
    EXPECT_EQ(view.tailPoint(), lq::Point(-200, 200));
    EXPECT_EQ(view.viewTailPoint(), lq::Point(50, 150));
    view.setViewAnchorPoint(lq::Point(0, 0));
    EXPECT_EQ(view.anchorPoint(), lq::Point(-400, -400));
}

TEST(IWView, PlacesTenHandlesAndHitsTheLowestFirst)
{
    BoundsView view(lq::Rect(0, 0, 500, 500), QSize(500, 500));
    painted(view);
    view.setBodyRect(lq::Rect(100, 100, 200, 100));
    view.setHasAnchorPoint(true);
    view.setAnchorPoint(lq::Point(400, 50));
    view.calcGrabHandles();

    // Round the rectangle from its bottom-left corner (y grows downward).
    const QPointF points[] = { { 100, 200 }, { 200, 200 }, { 300, 200 }, { 300, 150 }, { 300, 100 },
                               { 200, 100 }, { 100, 100 }, { 100, 150 }, { 400, 50 } };
    for (int handle = 0; handle <= IWView::anchorHandle; ++handle) {
        const QPointF p = points[handle];
        EXPECT_EQ(view.grabberRect(handle), lq::Rect(p.x() - 3, p.y() - 3, 7, 7)) << handle;
        EXPECT_EQ(view.grabberHitTest(p), handle) << handle;
        EXPECT_EQ(view.grabberHitTest(p + QPointF(-3, -3)), handle) << handle;
        EXPECT_EQ(view.grabberHitTest(p + QPointF(3.9, 3.9)), handle) << handle;
        // The far edges are outside.
        EXPECT_EQ(view.grabberHitTest(p + QPointF(4, 0)), -1) << handle;
        EXPECT_EQ(view.grabberHitTest(p + QPointF(0, 4)), -1) << handle;
    }
    EXPECT_EQ(view.grabberHitTest(QPointF(150, 150)), -1);

    // A tiny rectangle: its handles overlap and the lowest number wins.
    view.setBodyRect(lq::Rect(100, 100, 2, 2));
    view.calcGrabHandles();
    EXPECT_EQ(view.grabberHitTest(QPointF(101, 101)), 0);
    EXPECT_EQ(view.grabberHitTest(QPointF(104, 101)), 1);

    // With a tail point the box handles are not placed anew and not hit.
    view.setBodyRect(lq::Rect(100, 100, 200, 100));
    view.calcGrabHandles();
    view.setHasTailPoint(true);
    view.setTailPoint(lq::Point(20, 30));
    view.setBodyRect(lq::Rect(10, 10, 50, 50));
    view.calcGrabHandles();
    EXPECT_EQ(view.grabberRect(0), lq::Rect(97, 197, 7, 7));
    EXPECT_EQ(view.grabberHitTest(QPointF(100, 200)), -1);
    EXPECT_EQ(view.grabberHitTest(QPointF(20, 30)), IWView::tailHandle);
    EXPECT_EQ(view.grabberHitTest(QPointF(400, 50)), IWView::anchorHandle);
}

TEST(IWView, ResizingKeepsTheOppositeEdgesAndAMinimumOf25)
{
    struct Case {
        const char* what;
        int handle;
        QPointF to;
        lq::Rect expected;
    };
    // The rectangle (100, 100, 200, 100): right edge 300, bottom edge 200.
    const Case cases[] = {
        { "bottom-left", 0, { 150, 260 }, lq::Rect(150, 100, 150, 160) },
        { "bottom-left past the right edge", 0, { 400, 250 }, lq::Rect(275, 100, 25, 150) },
        { "bottom above the top", 1, { 999, 120 }, lq::Rect(100, 100, 200, 25) },
        { "bottom-right", 2, { 350, 250 }, lq::Rect(100, 100, 250, 150) },
        { "right past the left edge", 3, { 110, 0 }, lq::Rect(100, 100, 25, 100) },
        { "top-right", 4, { 320, 50 }, lq::Rect(100, 50, 220, 150) },
        { "top-right below the bottom", 4, { 320, 300 }, lq::Rect(100, 175, 220, 25) },
        { "top", 5, { 0, 80 }, lq::Rect(100, 80, 200, 120) },
        { "top-left", 6, { 50, 60 }, lq::Rect(50, 60, 250, 140) },
        { "top-left past both edges", 6, { 900, 900 }, lq::Rect(275, 175, 25, 25) },
        { "left", 7, { 120, 999 }, lq::Rect(120, 100, 180, 100) },
    };
    for (const Case& c : cases) {
        BoundsView view(lq::Rect(0, 0, 500, 500), QSize(500, 500));
        view.setHandlesOn(true);
        view.setBodyRect(lq::Rect(100, 100, 200, 100));
        view.show();
        painted(view);
        // Pressed off the handle's centre: the offset is kept through the drag.
        const QPointF offset(2, -1);
        drag(view, centreOf(view.grabberRect(c.handle)) + offset, c.to + offset);
        EXPECT_EQ(view.bodyRect(), c.expected) << c.what;
    }
}

TEST(IWView, DraggingTheAnchorAndTailMovesOnlyThosePoints)
{
    // Half size: view units are two object units.
    BoundsView view(lq::Rect(0, 0, 1000, 1000), QSize(500, 500));
    view.setHandlesOn(true);
    view.setBodyRect(lq::Rect(200, 200, 400, 200));
    view.setHasAnchorPoint(true);
    view.setAnchorPoint(lq::Point(100, 100));
    view.setHasTailPoint(true);
    view.setTailPoint(lq::Point(800, 800));
    view.show();
    painted(view);

    drag(view, QPointF(400, 400), QPointF(300, 100));
    EXPECT_EQ(view.tailPoint(), lq::Point(600, 200));
    drag(view, QPointF(51, 50), QPointF(81, 70));
    EXPECT_EQ(view.anchorPoint(), lq::Point(160, 140));
    EXPECT_EQ(view.bodyRect(), lq::Rect(200, 200, 400, 200));

    // With a tail point the body cannot be moved: a press inside it draws a band.
    drag(view, QPointF(150, 150), QPointF(160, 170));
    EXPECT_EQ(view.viewBodyRect(), lq::Rect(150, 150, 10, 20));
}

TEST(IWView, MovingTakesTheRectangleAnywhere)
{
    BoundsView view(lq::Rect(0, 0, 1000, 1000), QSize(500, 500));
    view.setBodyRect(lq::Rect(200, 200, 400, 200));
    view.show();
    painted(view);

    drag(view, QPointF(150, 150), QPointF(250, 180));
    EXPECT_EQ(view.bodyRect(), lq::Rect(400, 260, 400, 200));
    // Neither the view nor the element holds it in.
    drag(view, QPointF(210, 140), QPointF(-100, 900));
    EXPECT_EQ(view.bodyRect(), lq::Rect(-220, 1780, 400, 200));
    EXPECT_EQ(view.window()->focusWidget(), &view);
}

TEST(IWView, ARubberBandShowsHandlesWhileItLasts)
{
    BoundsView view(lq::Rect(0, 0, 500, 500), QSize(500, 500));
    view.show();
    painted(view);

    press(view, QPointF(50, 60));
    EXPECT_TRUE(view.handlesOn());
    EXPECT_EQ(view.bodyRect(), lq::Rect());
    moveTo(view, QPointF(150, 100));
    EXPECT_EQ(view.bodyRect(), lq::Rect(50, 60, 100, 40));
    const QImage during = painted(view);
    EXPECT_EQ(QColor(during.pixel(75, 60)), QColor(Qt::black)); // the band's top edge
    EXPECT_EQ(QColor(during.pixel(50, 100)), QColor(128, 128, 128)); // handle 0
    release(view, QPointF(20, 200));
    EXPECT_EQ(view.bodyRect(), lq::Rect(20, 60, 30, 140));
    EXPECT_FALSE(view.handlesOn());
    EXPECT_NE(QColor(painted(view).pixel(30, 60)), QColor(Qt::black));

    // Released where it was pressed: no rectangle, even after moving away and back.
    press(view, QPointF(300, 300));
    moveTo(view, QPointF(340, 350));
    release(view, QPointF(300, 300));
    EXPECT_EQ(view.bodyRect(), lq::Rect());
    EXPECT_EQ(view.viewBodyRect(), lq::Rect());
}

TEST(IWView, ADragEndsByCallingBackItsSubclass)
{
    // A subclass that crops with every press, as the photo editor's crop tool does.
    class CroppingView : public BoundsView {
    public:
        using BoundsView::BoundsView;
        QList<lq::Rect> crops;

    protected:
        void mouseDown(QMouseEvent* event) override
        {
            rubberbandCropRectWithEvent(event->position(), [this] { crops.append(bodyRect()); });
        }
    };
    CroppingView view(lq::Rect(0, 0, 1000, 1000), QSize(500, 500));
    view.show();
    painted(view);
    press(view, QPointF(10, 10));
    moveTo(view, QPointF(60, 30));
    EXPECT_TRUE(view.crops.isEmpty());
    release(view, QPointF(110, 60));
    EXPECT_EQ(view.crops, QList<lq::Rect>{ lq::Rect(20, 20, 200, 100) });
    // A release without a press starts and ends nothing.
    release(view, QPointF(110, 60));
    EXPECT_EQ(view.crops.size(), 1);
}

TEST(IWView, RedrawsTheEditedGeometryGrownBy10)
{
    BoundsView view(lq::Rect(0, 0, 500, 500), QSize(500, 500));
    painted(view);
    view.setBodyRect(lq::Rect(100, 100, 200, 100));
    EXPECT_EQ(view.refreshRect(), QRectF(90, 90, 220, 120));
    view.setHasAnchorPoint(true);
    view.setAnchorPoint(lq::Point(400, 50));
    EXPECT_EQ(view.refreshRect(), QRectF(90, 40, 320, 170));
    // With a tail point the body does not count.
    view.setHasTailPoint(true);
    view.setTailPoint(lq::Point(20, 30));
    view.setAnchorPoint(lq::Point(40, 80));
    EXPECT_EQ(view.refreshRect(), QRectF(10, 20, 40, 70));
}

TEST(IWView, PaintsACheckerboardThatScalesWithTheElement)
{
    struct Case {
        const char* what;
        float scale;
        int square; // view pixels per square
    };
    const Case cases[] = { { "at scale 1", 1, 10 }, { "at scale 2", 2, 20 } };
    for (const Case& c : cases) {
        // The element fills the view exactly, so object (0, 0) is the view's corner.
        const int side = static_cast<int>(200 / c.scale);
        BoundsView view(lq::Rect(0, 0, static_cast<float>(side), static_cast<float>(side)), QSize(200, 200), false);
        view.setScale(c.scale);
        const QImage shot = painted(view);
        const int half = c.square / 2;
        // Rows of squares alternate their start: squares on even columns of even rows.
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                const bool square = (row + column) % 2 == 0;
                EXPECT_NEAR(grey(shot, column * c.square + half, row * c.square + half), square ? 250 : 255, 1)
                    << c.what << " row " << row << " column " << column;
            }
        }
    }
}

TEST(IWView, DrawsHandlesFrameAndDiamonds)
{
    BoundsView view(lq::Rect(0, 0, 500, 500), QSize(500, 500));
    view.setBodyRect(lq::Rect(100, 100, 200, 100));
    view.setHasAnchorPoint(true);
    view.setAnchorPoint(lq::Point(400, 50));

    // Without handles: the checkerboard only.
    QImage shot = painted(view);
    EXPECT_GE(grey(shot, 150, 100), 249);
    EXPECT_GE(grey(shot, 100, 200), 249);

    view.setHandlesOn(true);
    shot = painted(view);
    EXPECT_EQ(QColor(shot.pixel(150, 100)), QColor(Qt::black));   // the frame
    EXPECT_EQ(QColor(shot.pixel(299, 120)), QColor(Qt::black));
    EXPECT_GE(grey(shot, 150, 150), 249);                          // inside
    EXPECT_EQ(QColor(shot.pixel(100, 200)), QColor(128, 128, 128)); // handle 0
    EXPECT_EQ(QColor(shot.pixel(300, 150)), QColor(128, 128, 128)); // handle 3
    EXPECT_EQ(QColor(shot.pixel(400, 50)), QColor(Qt::yellow));     // the anchor's diamond

    // An element with a tail point shows its two diamonds, no box.
    view.setHasTailPoint(true);
    view.setTailPoint(lq::Point(250, 300));
    shot = painted(view);
    EXPECT_EQ(QColor(shot.pixel(250, 300)), QColor(Qt::yellow));
    EXPECT_NE(QColor(shot.pixel(150, 100)), QColor(Qt::black));
    EXPECT_NE(QColor(shot.pixel(100, 200)), QColor(128, 128, 128));
}
