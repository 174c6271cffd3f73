#include "ui/widgets/MyVertScroller.h"

#include <QScrollBar>

MyVertScroller::MyVertScroller(QWidget* parent)
    : QScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    verticalScrollBar()->setAttribute(Qt::WA_MacSmallSize);
    setWidgetResizable(true);
}

void MyVertScroller::setSubView(QWidget* view)
{
    setWidget(view);
    if (view)
        view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
}
