#include "platform/text/TextContainer.h"

#include "platform/text/LayoutManager.h"

#include <cmath>

namespace lq {

namespace {
qreal nonNegative(qreal value)
{
    return (std::isfinite(value) && value > 0) ? value : 0;
}
} // namespace

TextContainer::TextContainer(QSizeF size)
    : _size(nonNegative(size.width()), nonNegative(size.height()))
{
}

TextContainer::~TextContainer()
{
    if (_layoutManager)
        _layoutManager->forgetTextContainer(this);
}

void TextContainer::setContainerSize(QSizeF size)
{
    const QSizeF newSize(nonNegative(size.width()), nonNegative(size.height()));
    if (newSize == _size)
        return;
    _size = newSize;
    invalidateLayout();
}

void TextContainer::setLineFragmentPadding(qreal padding)
{
    padding = nonNegative(padding);
    if (padding == _lineFragmentPadding)
        return;
    _lineFragmentPadding = padding;
    invalidateLayout();
}

bool TextContainer::isSimpleRectangularTextContainer() const
{
    return true;
}

QRectF TextContainer::lineFragmentRectForProposedRect(const QRectF& proposedRect, QRectF* remainingRect) const
{
    if (remainingRect)
        *remainingRect = QRectF();
    const qreal left = std::max<qreal>(proposedRect.x(), 0);
    const qreal right = std::min(proposedRect.x() + proposedRect.width(), _size.width());
    if (proposedRect.y() < 0 || proposedRect.y() + proposedRect.height() > _size.height() || right < left)
        return QRectF();
    return QRectF(left, proposedRect.y(), right - left, proposedRect.height());
}

bool TextContainer::containsPoint(QPointF point) const
{
    return point.x() >= 0 && point.y() >= 0 && point.x() <= _size.width() && point.y() <= _size.height();
}

void TextContainer::invalidateLayout()
{
    if (_layoutManager)
        _layoutManager->textContainerChangedGeometry(this);
}

} // namespace lq
