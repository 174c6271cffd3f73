#include "ui/layout/MyScrollView.h"

#include "ui/layout/QZLayoutView.h"
#include "ui/widgets/RulerView.h"

#include <QEvent>
#include <QScrollBar>

MyScrollView::MyScrollView(QWidget* parent)
    : QScrollArea(parent)
{
    // Both scrollers, in the small size; a line border.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setAttribute(Qt::WA_MacSmallSize);
    verticalScrollBar()->setAttribute(Qt::WA_MacSmallSize);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    // The document view keeps the size it gives itself.
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

MyScrollView::~MyScrollView() = default;

void MyScrollView::enableRulers()
{
    if (_hasRulers)
        return;
    _horizontalRuler = new RulerView(Qt::Horizontal, this);
    _verticalRuler = new RulerView(Qt::Vertical, this);
    for (RulerView* ruler : {_horizontalRuler, _verticalRuler}) {
        ruler->setMeasurementUnits(QStringLiteral("Grummets"));
        ruler->setAutoFillBackground(true);
        ruler->show();
    }
    _hasRulers = true;
    setViewportMargins(rulerThickness, rulerThickness, 0, 0);
    placeRulers();
    if (auto* canvas = qobject_cast<QZLayoutView*>(_subView.data())) {
        canvas->setHorzRulerView(_horizontalRuler);
        canvas->setVertRulerView(_verticalRuler);
    }
}

void MyScrollView::setSubview(QWidget* view)
{
    if (!view || view == widget())
        return;
    // A view shows in one scroll view at a time.
    for (QWidget* above = view->parentWidget(); above; above = above->parentWidget()) {
        if (auto* other = qobject_cast<MyScrollView*>(above)) {
            if (other->widget() == view) {
                other->takeWidget();
                other->_subView = nullptr;
            }
            break;
        }
    }
    if (QWidget* previous = takeWidget())
        previous->setParent(nullptr);
    setWidget(view);
    view->resize(viewport()->size());
    view->show();
    _subView = view;
    if (auto* canvas = qobject_cast<QZLayoutView*>(view)) {
        canvas->setHorzRulerView(horizontalRulerView());
        canvas->setVertRulerView(verticalRulerView());
    }
}

bool MyScrollView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        placeRulers();
        tile();
    }
    return QScrollArea::viewportEvent(event);
}

void MyScrollView::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    if (_hasRulers) {
        _horizontalRuler->setVisibleStart(horizontalScrollBar()->value());
        _verticalRuler->setVisibleStart(verticalScrollBar()->value());
    }
}

void MyScrollView::tile()
{
    if (auto* canvas = qobject_cast<QZLayoutView*>(_subView.data()))
        canvas->recalcFrameInView();
}

void MyScrollView::placeRulers()
{
    if (!_hasRulers)
        return;
    const QRect area = viewport()->geometry();
    _horizontalRuler->setGeometry(area.x(), area.y() - rulerThickness, area.width(), rulerThickness);
    _verticalRuler->setGeometry(area.x() - rulerThickness, area.y(), rulerThickness, area.height());
}
