#include "ui/editors/CollageThumb.h"

#include "platform/ExceptionFrame.h"

#include <QPainter>

CollageThumb::CollageThumb(QWidget* parent)
    : QWidget(parent)
{
}

void CollageThumb::setParameters(const CollageParameters& parameters)
{
    _parameters = parameters;
    update();
}

void CollageThumb::setNumberPhotos(int count)
{
    _parameters.setNumberPhotos(count);
    update();
}

void CollageThumb::setStyle(int style)
{
    _parameters.setStyle(style);
    update();
}

void CollageThumb::setCollageString(const QString& collage)
{
    _parameters.setCollageString(collage);
    update();
}

QSize CollageThumb::sizeHint() const
{
    return QSize(CollageParameters::miniatureWidth, CollageParameters::miniatureHeight);
}

void CollageThumb::paintEvent(QPaintEvent*)
{
    lq::uiFrame(this, "drawRect:", [&] {
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        // A one-pixel frame inside each cell.
        for (const lq::Rect& cell : _parameters.miniatureCells())
            painter.drawRect(QRectF(cell.x() + 0.5, cell.y() + 0.5, cell.width() - 1, cell.height() - 1));
    });
}
