#include "ui/editors/QZArraySelectView.h"

#include "ui/editors/EditorHost.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

QZArraySelectView::QZArraySelectView(QWidget* parent)
    : IconGridView(QSizeF(180, 135), 10, parent)
{
}

QZArraySelectView::~QZArraySelectView() = default;

IconGridView::CaptionLayout& QZArraySelectView::captionLayout() const
{
    static CaptionLayout layout;
    return layout;
}

void QZArraySelectView::setDocument(EditorHost* document)
{
    _document = document;
}

void QZArraySelectView::setAlbum(XmlBase* album)
{
    _album = album ? album->sharedFromThis() : XmlBasePtr();
}

XmlBasePtr QZArraySelectView::xmlobject() const
{
    if (XmlBasePtr album = _album.lock())
        return album;
    return _document ? _document->currentObject() : nullptr;
}

int QZArraySelectView::selectedIndex()
{
    const int count = numObjects();
    if (_selectedIndex >= count)
        _selectedIndex = count - 1;
    return _selectedIndex;
}

int QZArraySelectView::indexOfObjectAtPoint(QPointF point) const
{
    const QSizeF cell = cellSize();
    if (cell.width() == 0 || cell.height() == 0)
        return 0;
    const int rows = numRows();
    const int columns = numColumns();
    int row = static_cast<int>(std::trunc(point.y() / cell.height()));
    int column = static_cast<int>(std::trunc(point.x() / cell.width()));
    if (row >= rows)
        row = rows - 1;
    if (column >= columns)
        column = columns - 1;
    return column + row * columns;
}

void QZArraySelectView::paintEvent(QPaintEvent* event)
{
    lq::uiFrame(this, "drawRect:", [&] {
        fitSize();
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        const int selected = selectedIndex();
        for (int i = 0; i < numObjects(); ++i)
            drawObjectAtIndex(painter, i, selected);
    });
}

void QZArraySelectView::drawObjectAtIndex(QPainter& painter, int index, int selected)
{
    lq::uiFrame(this, "drawObjectAtIndex:", [&] {
        const XmlBasePtr shown = xmlobject();
        const XmlBasePtr child = shown ? shown->childAtIndex(index) : nullptr;
        if (!child)
            return;
        // Pages show their representative picture, or the "noimage" placeholder.
        QImage icon;
        if (auto* page = dynamic_cast<XmlWebItem*>(child.get())) {
            std::shared_ptr<XmlPhotoRep> picture = page->rep();
            if (!picture)
                picture = page->norep();
            icon = picture ? picture->iconImage() : QImage();
        } else {
            icon = child->iconImage();
        }
        const QRectF item = rectOfObjectAtIndex(index);
        drawIconInRect(painter, icon, item);
        drawSelectionFrame(painter, item, 3.0, index == selected ? QColor(Qt::blue) : QColor(Qt::gray));
        drawTextContentsInRect(painter, child->name(), captionRectOfObjectAtIndex(index));
    });
}

void QZArraySelectView::select(QPointF at)
{
    setFocus(Qt::MouseFocusReason);
    _selectedIndex = indexOfObjectAtPoint(at);
    update();
}

void QZArraySelectView::mousePressEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseDown:", [&] {
        if (event->button() != Qt::LeftButton)
            return;
        select(event->position());
        event->accept();
    });
}

void QZArraySelectView::mouseDoubleClickEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseDown:", [&] {
        if (event->button() != Qt::LeftButton)
            return;
        select(event->position());
        event->accept();
        if (_action)
            _action(this);
    });
}
