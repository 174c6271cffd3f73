#include "platform/graphics/BezierPath.h"

#include "platform/graphics/GraphicsContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lq {

namespace {

QPointF toQ(const Point& point)
{
    return QPointF(point.x, point.y);
}

Point fromQ(const QPointF& point)
{
    return Point(static_cast<float>(point.x()), static_cast<float>(point.y()));
}

double length(const QPointF& v)
{
    return std::hypot(v.x(), v.y());
}

} // namespace

BezierPath::BezierPath() = default;

BezierPath::BezierPath(const QPainterPath& path)
    : _path(path)
{
    fillByWinding();
}

void BezierPath::fillByWinding()
{
    // Only once there are points: setting the rule on a path without any
    // would give it a first point at the origin.
    if (_path.elementCount() > 0)
        _path.setFillRule(Qt::WindingFill);
}

BezierPath BezierPath::withRect(const Rect& rect)
{
    BezierPath path;
    path.appendRect(rect);
    return path;
}

BezierPath BezierPath::withOval(const Rect& rect)
{
    BezierPath path;
    path.appendOval(rect);
    return path;
}

void BezierPath::moveTo(const Point& point)
{
    _path.moveTo(toQ(point));
    fillByWinding();
}

void BezierPath::lineTo(const Point& point)
{
    _path.lineTo(toQ(point));
    fillByWinding();
}

void BezierPath::curveTo(const Point& end, const Point& control1, const Point& control2)
{
    _path.cubicTo(toQ(control1), toQ(control2), toQ(end));
    fillByWinding();
}

void BezierPath::closePath()
{
    _path.closeSubpath();
}

void BezierPath::appendRect(const Rect& rect)
{
    _path.addRect(rect.toQRectF());
    fillByWinding();
}

void BezierPath::appendOval(const Rect& rect)
{
    _path.addEllipse(rect.toQRectF());
    fillByWinding();
}

void BezierPath::appendPath(const BezierPath& other)
{
    _path.addPath(other._path);
    fillByWinding();
}

void BezierPath::appendArcFromPointToPoint(const Point& corner, const Point& towards, float radius)
{
    if (isEmpty()) {
        moveTo(corner);
        return;
    }
    const QPointF start = _path.currentPosition();
    const QPointF p1 = toQ(corner);
    const QPointF p2 = toQ(towards);
    const QPointF back = start - p1;   // from the corner back to where we are
    const QPointF ahead = p2 - p1;     // from the corner on to where we go
    const double backLength = length(back);
    const double aheadLength = length(ahead);
    if (!(radius > 0) || backLength == 0 || aheadLength == 0) {
        lineTo(corner);
        return;
    }
    const QPointF d1 = back / backLength;
    const QPointF d2 = ahead / aheadLength;
    const double cosine = std::clamp(QPointF::dotProduct(d1, d2), -1.0, 1.0);
    const double angle = std::acos(cosine); // the angle at the corner
    const double cross = d1.x() * d2.y() - d1.y() * d2.x();
    // On one line (going straight on, or turning back): no corner to round.
    if (angle < 1e-9 || std::numbers::pi - angle < 1e-9 || std::abs(cross) < 1e-12) {
        lineTo(corner);
        return;
    }
    const double half = angle / 2.0;
    const double tangentDistance = radius / std::tan(half);
    const QPointF t1 = p1 + d1 * tangentDistance;
    const QPointF t2 = p1 + d2 * tangentDistance;
    _path.lineTo(t1);

    // The circle touches both lines; its centre lies on the bisector.
    QPointF bisector = d1 + d2;
    bisector /= length(bisector);
    const QPointF centre = p1 + bisector * (radius / std::sin(half));
    const double sweep = std::numbers::pi - angle;
    const double startAngle = std::atan2(t1.y() - centre.y(), t1.x() - centre.x());
    const double endAngle = std::atan2(t2.y() - centre.y(), t2.x() - centre.x());
    double delta = endAngle - startAngle;
    while (delta > std::numbers::pi)
        delta -= 2 * std::numbers::pi;
    while (delta < -std::numbers::pi)
        delta += 2 * std::numbers::pi;
    const double direction = delta < 0 ? -1.0 : 1.0;

    // Cubic segments of at most a quarter circle each.
    const int segments = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-9)));
    const double step = sweep / segments * direction;
    const double arm = 4.0 / 3.0 * std::tan(std::abs(step) / 4.0) * radius;
    double a = startAngle;
    for (int i = 0; i < segments; ++i) {
        const double b = a + step;
        const QPointF from = centre + QPointF(std::cos(a), std::sin(a)) * static_cast<double>(radius);
        const QPointF to = i == segments - 1 ? t2 : centre + QPointF(std::cos(b), std::sin(b)) * static_cast<double>(radius);
        // Tangents along the direction of travel.
        const QPointF tangentFrom = QPointF(-std::sin(a), std::cos(a)) * direction;
        const QPointF tangentTo = QPointF(-std::sin(b), std::cos(b)) * direction;
        _path.cubicTo(from + tangentFrom * arm, to - tangentTo * arm, to);
        a = b;
    }
}

void BezierPath::removeAllPoints()
{
    _path = QPainterPath();
}

QList<BezierPath::Element> BezierPath::elements() const
{
    QList<Element> result;
    const int count = _path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element& e = _path.elementAt(i);
        Element element;
        if (e.isMoveTo()) {
            element.kind = Element::MoveTo;
            element.points[0] = fromQ(e);
        } else if (e.isLineTo()) {
            element.kind = Element::LineTo;
            element.points[0] = fromQ(e);
        } else if (e.isCurveTo() && i + 2 < count) {
            element.kind = Element::CurveTo;
            element.points[0] = fromQ(e);
            element.points[1] = fromQ(_path.elementAt(i + 1));
            element.points[2] = fromQ(_path.elementAt(i + 2));
            i += 2;
        } else {
            continue;
        }
        result.append(element);
    }
    return result;
}

Point BezierPath::currentPoint() const
{
    return fromQ(_path.currentPosition());
}

Rect BezierPath::controlPointBounds() const
{
    return Rect(_path.controlPointRect());
}

Rect BezierPath::bounds() const
{
    return Rect(_path.boundingRect());
}

bool BezierPath::containsPoint(const Point& point) const
{
    return _path.contains(toQ(point));
}

void BezierPath::transformUsingAffineTransform(const QTransform& transform)
{
    _path = transform.map(_path);
    fillByWinding();
}

void BezierPath::setLineDash(const QList<float>& pattern, float phase)
{
    _dash = pattern;
    _dashPhase = phase;
}

QPen BezierPath::pen() const
{
    QPen pen;
    pen.setWidthF(std::max(0.0f, _lineWidth));
    pen.setCapStyle(_cap == LineCap::Square ? Qt::SquareCap : _cap == LineCap::Round ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(_join == LineJoin::Round ? Qt::RoundJoin : _join == LineJoin::Bevel ? Qt::BevelJoin : Qt::MiterJoin);
    // A miter reaches at most five line widths out from the join point.
    pen.setMiterLimit(5.0);

    // Qt measures dashes in line widths; a pattern of odd length repeats
    // once more so that dashes and gaps keep alternating.
    const bool usable = !_dash.isEmpty()
        && std::all_of(_dash.begin(), _dash.end(), [](float v) { return v >= 0; })
        && std::any_of(_dash.begin(), _dash.end(), [](float v) { return v > 0; });
    if (usable) {
        const double unit = _lineWidth > 0 ? _lineWidth : 1.0;
        QList<qreal> dashes;
        const int repeats = _dash.size() % 2 == 1 ? 2 : 1;
        for (int r = 0; r < repeats; ++r)
            for (float v : _dash)
                dashes.append(std::max(1e-6, v / unit));
        pen.setDashPattern(dashes);
        pen.setDashOffset(_dashPhase / unit);
    }
    return pen;
}

void BezierPath::fill() const
{
    if (GraphicsContext* context = GraphicsContext::current())
        context->fillPath(_path);
}

void BezierPath::stroke() const
{
    if (GraphicsContext* context = GraphicsContext::current())
        context->strokePath(_path, pen());
}

void BezierPath::addClip() const
{
    if (GraphicsContext* context = GraphicsContext::current())
        context->clipToPath(_path);
}

} // namespace lq
