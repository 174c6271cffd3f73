#include "model/imaging/XmlShape.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace lq::literals;

namespace {

constexpr double pi = std::numbers::pi;

lq::Point at(double x, double y)
{
    return lq::Point(static_cast<float>(x), static_cast<float>(y));
}

// A vertex of the shapes laid on the inscribed oval: angle 0 is the top
// middle, growing clockwise.
lq::Point ovalVertex(double angle, int w, int h)
{
    return at((std::sin(angle) + 1.0) * w * 0.5, (std::cos(angle) + 1.0) * h * 0.5);
}

// A slant limited to half the width either way, so the sides never cross.
double limitedSlant(double slant, int w)
{
    const double limit = w / 2;
    return std::clamp(slant, -limit, limit);
}

// --- One outline builder per shape kind ------------------------------------------------------
// Each takes the width and height as whole pixels (their halves are whole
// pixels too, as the shapes have always been drawn).

lq::BezierPath rectangle(int w, int h)
{
    lq::BezierPath path;
    path.appendRect(lq::Rect(0, 0, static_cast<float>(w), static_cast<float>(h)));
    return path;
}

lq::BezierPath oval(int w, int h)
{
    lq::BezierPath path;
    path.appendOval(lq::Rect(0, 0, static_cast<float>(w), static_cast<float>(h)));
    return path;
}

lq::BezierPath roundedRectangle(int w, int h, double r)
{
    lq::BezierPath path;
    path.moveTo(at(w * 0.5, h));
    path.appendArcFromPointToPoint(at(0, h), at(0, 0), static_cast<float>(r));
    path.appendArcFromPointToPoint(at(0, 0), at(w, 0), static_cast<float>(r));
    path.appendArcFromPointToPoint(at(w, 0), at(w, h), static_cast<float>(r));
    path.appendArcFromPointToPoint(at(w, h), at(0, h), static_cast<float>(r));
    path.closePath();
    return path;
}

lq::BezierPath cutCorners(int w, int h, double r)
{
    lq::BezierPath path;
    path.moveTo(at(r, 0));
    path.lineTo(at(0, r));
    path.lineTo(at(0, h - r));
    path.lineTo(at(r, h));
    path.lineTo(at(w - r, h));
    path.lineTo(at(w, h - r));
    path.lineTo(at(w, r));
    path.lineTo(at(w - r, 0));
    path.closePath();
    return path;
}

// The slant d leans the sides right (positive) or left.
lq::BezierPath parallelogram(int w, int h, double d)
{
    lq::BezierPath path;
    if (d > 0) {
        path.moveTo(at(0, 0));
        path.lineTo(at(d, h));
        path.lineTo(at(w, h));
        path.lineTo(at(w - d, 0));
    } else {
        path.moveTo(at(-d, 0));
        path.lineTo(at(0, h));
        path.lineTo(at(w + d, h));
        path.lineTo(at(w, 0));
    }
    path.closePath();
    return path;
}

// The slant d narrows the top (positive) or the bottom.
lq::BezierPath trapezoid(int w, int h, double d)
{
    lq::BezierPath path;
    if (d > 0) {
        path.moveTo(at(d, 0));
        path.lineTo(at(w - d, 0));
        path.lineTo(at(w, h));
        path.lineTo(at(0, h));
    } else {
        path.moveTo(at(0, 0));
        path.lineTo(at(w, 0));
        path.lineTo(at(w + d, h));
        path.lineTo(at(-d, h));
    }
    path.closePath();
    return path;
}

// Four vertices on the oval, turned by the angle.
lq::BezierPath diamond(int w, int h, double turn)
{
    lq::BezierPath path;
    path.moveTo(ovalVertex(turn + 0.0, w, h));
    const double s = 2 * pi * 0.25;
    for (double t = s; t < 2 * pi; t += s)
        path.lineTo(ovalVertex(turn + t, w, h));
    path.closePath();
    return path;
}

// The slant d sets the side points in (a positive attribute) or out.
lq::BezierPath hexagon(int w, int h, double d, int attribute)
{
    lq::BezierPath path;
    if (attribute <= 0) {
        path.moveTo(at(0, 0));
        path.lineTo(at(-d, h / 2));
        path.lineTo(at(0, h));
        path.lineTo(at(w, h));
        path.lineTo(at(w + d, h / 2));
        path.lineTo(at(w, 0));
    } else {
        path.moveTo(at(d, 0));
        path.lineTo(at(0, h / 2));
        path.lineTo(at(d, h));
        path.lineTo(at(w - d, h));
        path.lineTo(at(w, h / 2));
        path.lineTo(at(w - d, 0));
    }
    path.closePath();
    return path;
}

lq::BezierPath heart(int w, int h)
{
    lq::BezierPath path;
    path.moveTo(at(w / 2, 0));
    path.curveTo(at(0, 5 * h / 7), at(0, 2 * h / 7), at(0, 3 * h / 7));
    path.curveTo(at(w / 4, h), at(0, 6 * h / 7), at(w / 8, h));
    path.curveTo(at(w / 2, 6 * h / 7), at(w * 2.5 * 0.125, h), at(3 * w / 8, h * 6.8 / 7.0));
    path.curveTo(at(3 * w / 4, h), at(5 * w / 8, h * 6.8 / 7.0), at(w * 5.5 * 0.125, h));
    path.curveTo(at(w, 5 * h / 7), at(7 * w / 8, h), at(w, 6 * h / 7));
    path.curveTo(at(w / 2, 0), at(w, 3 * h / 7), at(w, 2 * h / 7));
    path.closePath();
    return path;
}

// A regular polygon of `sides` sides; no sides (or a negative count, which
// a file can hold) make no outline.
lq::BezierPath polygon(int w, int h, int sides)
{
    lq::BezierPath path;
    if (sides <= 0)
        return path;
    const int n = std::min(sides, XmlShape::maximumPolygonSides);
    // Odd polygons have a vertex at the top middle, even ones a flat top.
    const double start = n % 2 == 1 ? 2 * pi / n : pi / n;
    path.moveTo(ovalVertex(start + 0.0, w, h));
    const double s = 2 * pi / n;
    for (double t = s; t < 2 * pi; t += s)
        path.lineTo(ovalVertex(t + start, w, h));
    path.closePath();
    return path;
}

// A star of fifteen points, the inner ones `depth` percent in.
lq::BezierPath star(int w, int h, int depth)
{
    lq::BezierPath path;
    path.moveTo(at(w * 0.0 * 0.5 + w / 2, h * 0.5 + h / 2));
    const double s = 2 * pi / 30.0;
    double f = 1.0;
    for (double t = s; t < 2 * pi; t += s) {
        f = f == 1.0 ? 1.0 + depth / -100.0 : 1.0;
        path.lineTo(at(w / 2 + std::sin(t) * w * f * 0.5, h / 2 + std::cos(t) * h * f * 0.5));
    }
    path.closePath();
    return path;
}

// Corner squares of side r, the sides set back by r / 2.
lq::BezierPath notchedRectangle(int w, int h, double r)
{
    lq::BezierPath path;
    path.moveTo(at(0, 0));
    path.lineTo(at(r, 0));
    path.lineTo(at(r, r * 0.5));
    path.lineTo(at(w - r, r * 0.5));
    path.lineTo(at(w - r, 0));
    path.lineTo(at(w, 0));
    path.lineTo(at(w, r));
    path.lineTo(at(w - r * 0.5, r));
    path.lineTo(at(w - r * 0.5, h - r));
    path.lineTo(at(w, h - r));
    path.lineTo(at(w, h));
    path.lineTo(at(w - r, h));
    path.lineTo(at(w - r, h - r * 0.5));
    path.lineTo(at(r, h - r * 0.5));
    path.lineTo(at(r, h));
    path.lineTo(at(0, h));
    path.lineTo(at(0, h - r));
    path.lineTo(at(r * 0.5, h - r));
    path.lineTo(at(r * 0.5, r));
    path.lineTo(at(0, r));
    path.closePath();
    return path;
}

} // namespace

XmlShape::XmlShape(Key key)
    : XmlDraw(key)
{
}

std::shared_ptr<XmlShape> XmlShape::create()
{
    return make<XmlShape>();
}

QString XmlShape::elementName() const
{
    return QStringLiteral("IWshape");
}

void XmlShape::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"shape"_sv)
            setShape(static_cast<ShapeKind>(lq::intValue(value)));
        else if (key == u"attribute"_sv)
            setAttribute(lq::intValue(value));
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlShape::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QString::asprintf(" shape=\"%d\"", static_cast<int>(_shape));
        xml += QString::asprintf(" attribute=\"%d\"", _attribute);
    });
}

void XmlShape::setShape(ShapeKind shape)
{
    setStored(_shape, shape, "setShape:");
}

void XmlShape::setAttribute(int attribute)
{
    setStored(_attribute, attribute, "setAttribute:");
}

void XmlShape::draw()
{
}

double XmlShape::getRadiusFromWidthAndHeight(double w, double h) const
{
    const double shorter = h > w ? w : h;
    return _attribute * shorter / 100.0;
}

double XmlShape::getLengthFromAngle(double x) const
{
    return std::tan(_attribute * pi / 180.0) * x;
}

std::optional<lq::BezierPath> XmlShape::makePathWithWidthAndHeight(int w, int h)
{
    return lq::modelFrame(this, "makePathWithWidth:andHeight:", [&]() -> std::optional<lq::BezierPath> {
        const double r = getRadiusFromWidthAndHeight(w, h);
        switch (_shape) {
        case ShapeKind::Rectangle:
            return rectangle(w, h);
        case ShapeKind::Oval:
            return oval(w, h);
        case ShapeKind::RoundedRectangle:
            return roundedRectangle(w, h, r);
        case ShapeKind::CutCorners:
            return cutCorners(w, h, r);
        case ShapeKind::Parallelogram:
            return parallelogram(w, h, limitedSlant(getLengthFromAngle(h), w));
        case ShapeKind::Trapezoid:
            return trapezoid(w, h, limitedSlant(getLengthFromAngle(h), w));
        case ShapeKind::Diamond:
            return diamond(w, h, _attribute * pi / 180.0);
        case ShapeKind::Hexagon:
            return hexagon(w, h, limitedSlant(getLengthFromAngle(h / 2), w), _attribute);
        case ShapeKind::Heart:
            return heart(w, h);
        case ShapeKind::Polygon:
            return polygon(w, h, _attribute);
        case ShapeKind::Star:
            return star(w, h, _attribute);
        case ShapeKind::NotchedRectangle:
            return notchedRectangle(w, h, r);
        }
        return std::nullopt;
    });
}
