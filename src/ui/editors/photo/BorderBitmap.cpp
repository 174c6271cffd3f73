#include "ui/editors/photo/BorderBitmap.h"

#include "platform/Resources.h"

#include <QPainter>

#include <algorithm>

namespace {

// The picture's lower-left corner, measured up from the view's bottom edge.
constexpr int pictureLeft = 133;
constexpr int pictureBottom = -16;
constexpr qreal pictureOpacity = 0.8;

} // namespace

BorderBitmap::BorderBitmap(QWidget* parent)
    : QWidget(parent)
    , _picture(lq::resourcePath(QStringLiteral("images/border.png")))
{
}

QPoint BorderBitmap::pictureOrigin() const
{
    return QPoint(pictureLeft, height() - pictureBottom - _picture.height());
}

QSize BorderBitmap::sizeHint() const
{
    return QSize(pictureLeft + _picture.width(), std::max(0, _picture.height() + pictureBottom));
}

void BorderBitmap::paintEvent(QPaintEvent*)
{
    if (_picture.isNull())
        return;
    QPainter painter(this);
    painter.setOpacity(pictureOpacity);
    painter.drawImage(pictureOrigin(), _picture);
}
