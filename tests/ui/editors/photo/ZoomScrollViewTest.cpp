#include "ui/editors/photo/IWView.h"
#include "ui/editors/photo/ZoomScrollView.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyPopUpButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>

TEST(ZoomScrollView, PutsTheZoomAndCentreButtonsBesideTheHorizontalScrollBar)
{
    ZoomScrollView scroller;
    auto* canvas = new IWView;
    scroller.setSubView(canvas);
    scroller.resize(400, 300);
    scroller.show();
    QApplication::processEvents();

    EXPECT_EQ(scroller.subView(), canvas);
    EXPECT_EQ(scroller.widget(), canvas);
    EXPECT_EQ(scroller.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(scroller.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(scroller.frameShape(), QFrame::Box);

    const auto frameIn = [&](QWidget* widget) { return QRect(widget->mapTo(&scroller, QPoint(0, 0)), widget->size()); };
    const QRect bar = frameIn(scroller.horizontalScrollBar());
    const QRect zoom = frameIn(scroller.zoomButton());
    const QRect centre = frameIn(scroller.centerButton());
    EXPECT_EQ(zoom.width(), 55);
    EXPECT_EQ(centre.width(), 75);
    // From the right: the zoom pop-up, the centre button, then the scroll bar.
    EXPECT_EQ(zoom.right(), scroller.viewport()->geometry().right());
    EXPECT_EQ(centre.right() + 1, zoom.left());
    EXPECT_LE(bar.right() + 1, centre.left());
    EXPECT_EQ(zoom.top(), bar.top());
    EXPECT_GT(bar.width(), 100);

    // The zoom items carry their percentage; 0 fits.
    MyPopUpButton* zoomItems = scroller.zoomButton();
    EXPECT_EQ(zoomItems->selectedTag(), ZoomScrollView::fitZoomTag);
    EXPECT_TRUE(zoomItems->selectItemWithTag(200));
    EXPECT_EQ(zoomItems->selectedTag(), 200);
    EXPECT_GE(zoomItems->indexOfItemWithTag(100), 0);

    // The scrolled view is sized anew with every change of size.
    EXPECT_EQ(canvas->size(), scroller.viewport()->size());
    scroller.resize(520, 380);
    QApplication::processEvents();
    EXPECT_EQ(canvas->size(), scroller.viewport()->size());
    EXPECT_GT(canvas->width(), 400);
}
