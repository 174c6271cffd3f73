#include "editors/photo/BBContainer.h"

#include "editors/photo/BorderBitmap.h"

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
