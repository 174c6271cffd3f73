#include "ui/layout/CautionTape.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int stripeWidth = 10;

} // namespace

CautionTape::CautionTape(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(tapeHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CautionTape::setNumberOfPages(int pages)
{
    setToolTip(QStringLiteral("This template is used by ") + QString::number(pages)
        + QStringLiteral(" pages: a change to it shows on each of them."));
}

void CautionTape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(250, 210, 0));
    painter.setRenderHint(QPainter::Antialiasing);
    const int h = height();
    QPainterPath stripes;
    // Black bands leaning to the right, every second stripe width.
    for (int x = -h; x < width() + h; x += 2 * stripeWidth) {
        stripes.moveTo(x, h);
        stripes.lineTo(x + h, 0);
        stripes.lineTo(x + h + stripeWidth, 0);
        stripes.lineTo(x + stripeWidth, h);
        stripes.closeSubpath();
    }
    painter.fillPath(stripes, Qt::black);
}
