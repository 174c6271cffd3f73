#include "ui/editors/photo/BBContainer.h"

#include "ui/editors/photo/BorderBitmap.h"

BBContainer::BBContainer(QWidget* parent)
    : QWidget(parent)
    , _borderBitmap(new BorderBitmap(this))
{
    _borderBitmap->setGeometry(rect());
}

QSize BBContainer::sizeHint() const
{
    return _borderBitmap->sizeHint();
}

void BBContainer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    _borderBitmap->setGeometry(rect());
}
