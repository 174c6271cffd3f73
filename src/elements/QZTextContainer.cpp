#include "elements/QZTextContainer.h"

#include "model/core/XmlBase.h"
#include "platform/ValueStrings.h"

#include <algorithm>
#include <cmath>

namespace {

// The height of the bands that the spacer divs are cut into.
constexpr int bandHeight = 10;

} // namespace

QZTextContainer::QZTextContainer()
    : lq::TextContainer()
{
}

void QZTextContainer::setBoundingRect(const lq::Rect& bounds)
{
    mybounds = bounds;
    setContainerSize(QSizeF(std::max(0.0f, bounds.width()), containerSize().height()));
    invalidateLayout();
}

void QZTextContainer::setPaddingTopLeftBottomRight(int top, int left, int bottom, int right)
{
    _pt = top;
    _pl = left;
    _pb = bottom;
    _pr = right;
    invalidateLayout();
}

void QZTextContainer::addFloatingRect(const QString& rect)
{
    if (floats.isEmpty())
        floats.reserve(10);
    floats.append(rect);
    _floatRects.push_back(lq::stringToRect(rect));
    invalidateLayout();
}

void QZTextContainer::clearFloatingRects()
{
    floats.clear();
    _floatRects.clear();
    invalidateLayout();
}

bool QZTextContainer::isSimpleRectangularTextContainer() const
{
    return false;
}

QZTextContainer::Frame QZTextContainer::frame() const
{
    Frame f;
    f.width = mybounds.width();
    if (f.width - static_cast<float>(_pl + _pr) < 50) {
        _pl = 0;
        _pr = 0;
        f.width = 50;
    }
    f.middle = f.width / 2;
    f.p30 = static_cast<float>(static_cast<double>(f.width) * 0.3);
    f.p70 = static_cast<float>(static_cast<double>(f.width) * 0.7);
    f.narrowest = std::max(50.0f, f.width / 10);
    return f;
}

QZTextContainer::Band QZTextContainer::fitBand(const Frame& f, float y, float height) const
{
    Band band;
    band.width = f.width;
    for (const lq::Rect& rect : _floatRects) {
        const lq::Rect obstacle(rect.x() - mybounds.x() - static_cast<float>(_pl),
                                rect.y() - mybounds.y() - static_cast<float>(_pt),
                                rect.width() + static_cast<float>(_pl + _pr),
                                rect.height() + static_cast<float>(_pt + _pb));
        if (!obstacle.intersects(lq::Rect(band.left, y, band.width, height)))
            continue;
        const float right = obstacle.maxX();
        bool leftSide = obstacle.x() < f.middle;
        if (obstacle.x() <= f.middle && right >= f.middle) {
            const bool covers30 = obstacle.x() <= f.p30 && f.p30 <= right;
            const bool covers70 = obstacle.x() <= f.p70 && f.p70 <= right;
            if (covers30 == covers70) {
                band.blocked = true;
                band.blockedBottom = obstacle.maxY();
                return band;
            }
            leftSide = covers30;
        }
        if (leftSide) {
            band.width -= right - band.left;
            band.left = right;
        } else {
            band.width = obstacle.x() - band.left;
        }
    }
    return band;
}

QRectF QZTextContainer::lineFragmentRectForProposedRect(const QRectF& proposedRect, QRectF* remainingRect) const
{
    if (remainingRect)
        *remainingRect = QRectF();
    float y = static_cast<float>(proposedRect.y());
    const float height = static_cast<float>(proposedRect.height());
    const double bottom = containerSize().height();
    while (true) {
        // Below the container (or no number at all): no more lines fit.
        if (!(static_cast<double>(y) < bottom))
            return QRectF();
        const Frame f = frame();
        const Band band = fitBand(f, y, height);
        if (band.blocked)
            y = band.blockedBottom;
        if (band.width < f.narrowest) {
            y += height;
            continue;
        }
        if (band.blocked)
            continue;
        return QRectF(band.left, y, band.width, height);
    }
}

bool QZTextContainer::containsPoint(QPointF point) const
{
    const lq::Point p(static_cast<float>(point.x()), static_cast<float>(point.y()));
    if (!lq::Rect(0, 0, mybounds.width(), mybounds.height()).contains(p))
        return false;
    for (const lq::Rect& rect : _floatRects) {
        const lq::Rect moved(rect.x() - mybounds.x(), rect.y() - mybounds.y(), rect.width(),
                             rect.height() + static_cast<float>(_pt));
        if (moved.contains(p))
            return false;
    }
    return true;
}

void QZTextContainer::createHTMLfloatsMaxheight(QString& html, float maxheight) const
{
    const Frame f = frame();
    int pendingHeight = 0;
    int pendingLeft = 0;
    int pendingRight = 0;
    double y = 0;
    while (y < static_cast<double>(maxheight)) {
        const Band band = fitBand(f, static_cast<float>(y), bandHeight);
        if (band.blocked) {
            if (pendingHeight > 0)
                writeDivsLeftRightHeight(html, pendingLeft, pendingRight, pendingHeight);
            pendingHeight = 0;
            // The distance to the obstacle's bottom, rounded up to a multiple
            // of the band height. It is above 0 (the obstacle meets the band),
            // so rounding it up first keeps a bottom less than a pixel below y
            // from giving a pair 0 high that never moves on.
            const double distance = std::clamp(std::ceil(static_cast<double>(band.blockedBottom) - y), 1.0, 1.0e8);
            const int height = (static_cast<int>(distance) + bandHeight - 1) / bandHeight * bandHeight;
            writeDivsLeftRightHeight(html, -1, -1, height);
            y += height;
            continue;
        }
        int left = -1;
        int right = -1;
        if (!(band.width < f.narrowest)) {
            left = static_cast<int>(std::floor(band.left));
            right = static_cast<int>(std::floor(f.width - band.width - band.left));
        }
        if (pendingHeight == 0) {
            pendingLeft = left;
            pendingRight = right;
            pendingHeight = bandHeight;
        } else if (left == pendingLeft && right == pendingRight) {
            pendingHeight += bandHeight;
        } else {
            // The run takes this band too; the next band starts a new one.
            writeDivsLeftRightHeight(html, pendingLeft, pendingRight, pendingHeight + bandHeight);
            pendingHeight = 0;
        }
        y += bandHeight;
    }
    if (pendingHeight > 0)
        writeDivsLeftRightHeight(html, pendingLeft, pendingRight, pendingHeight);
}

void QZTextContainer::writeDivsLeftRightHeight(QString& html, int left, int right, int height)
{
    if (left >= 0 && right >= 0) {
        html += QString::asprintf("<div class=\"lf\" style=\"width: %dpx; height: %dpx;\"></div>\n",
                                  left == 0 ? 1 : left, height);
        html += QString::asprintf("<div class=\"rf\" style=\"width: %dpx; height: %dpx;\"></div>\n",
                                  right == 0 ? 1 : right, height);
    } else {
        html += QString::asprintf("<div class=\"lf\" style=\"width: 50%%; height: %dpx;\"></div>\n", height);
        html += QString::asprintf("<div class=\"rf\" style=\"width: 49%%; height: %dpx;\"></div>\n", height);
    }
}
