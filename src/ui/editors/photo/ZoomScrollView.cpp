#include "ui/editors/photo/ZoomScrollView.h"

#include "ui/editors/photo/IWView.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyPopUpButton.h"

#include <QResizeEvent>
#include <QScrollBar>

ZoomScrollView::ZoomScrollView(QWidget* parent)
    : QScrollArea(parent)
    , _zoomButton(new MyPopUpButton)
    , _centerButton(new MyButton(0, QStringLiteral("Center")))
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setWidgetResizable(false);

    QFont small = font();
    small.setPixelSize(10);
    _zoomButton->setFont(small);
    _zoomButton->setFrame(false);
    _zoomButton->addItemWithTag(QStringLiteral("Fit"), fitZoomTag);
    for (const int percent : { 25, 50, 100, 200, 400 })
        _zoomButton->addItemWithTag(QString::number(percent) + QLatin1Char('%'), percent);
    _zoomButton->setFixedWidth(zoomButtonWidth);
    _centerButton->setFont(small);
    _centerButton->setFixedWidth(centerButtonWidth);
    // Widgets added on the right go next to the scroll bar: the pop-up first,
    // so that it ends up at the far right.
    addScrollBarWidget(_zoomButton, Qt::AlignRight);
    addScrollBarWidget(_centerButton, Qt::AlignRight);
}

void ZoomScrollView::setSubView(IWView* view)
{
    _subView = view;
    setWidget(view);
    if (view)
        view->recalcFrameInView();
}

void ZoomScrollView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    if (_subView)
        _subView->recalcFrameInView();
}
