#pragma once

// An outline of straight and cubic Bézier segments with the line settings it
// is stroked with (width, cap, join, dashes), drawn into the current graphics
// context. Built on QPainterPath; the fill rule is non-zero winding, so parts
// that overlap with the same winding stay inside.

#include "platform/Geometry.h"

#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

namespace lq {

class BezierPath {
public:
    enum class LineCap { Butt, Round, Square };
    enum class LineJoin { Miter, Round, Bevel };

    BezierPath();
    explicit BezierPath(const QPainterPath& path);

    static BezierPath withRect(const Rect& rect);
    // The oval inscribed in the rectangle.
    static BezierPath withOval(const Rect& rect);

    // --- Construction -------------------------------------------------------
    void moveTo(const Point& point);
    void lineTo(const Point& point);
    void curveTo(const Point& end, const Point& control1, const Point& control2);
    void closePath();
    void appendRect(const Rect& rect);
    void appendOval(const Rect& rect);
    void appendPath(const BezierPath& other);
    // A rounded corner: the corner at `corner` between the line from the
    // current point towards it and the line from it towards `towards`,
    // rounded with the radius. Appends a line from the current point to where
    // the arc starts, then the arc, which ends on the line towards `towards`.
    // With a radius of 0 or less, or when the three points lie on one line,
    // it is a line to the corner. On an empty path it starts at the corner.
    void appendArcFromPointToPoint(const Point& corner, const Point& towards, float radius);
    void removeAllPoints();

    // --- Queries ----------------------------------------------------------
    // One segment of the outline: a move or a line to points[0], or a curve
    // to points[2] with the control points points[0] and points[1].
    struct Element {
        enum Kind { MoveTo, LineTo, CurveTo };
        Kind kind = MoveTo;
        Point points[3];
    };

    // No points at all.
    bool isEmpty() const { return _path.elementCount() == 0; }
    // The segments in order (closing a subpath adds a line back to its start
    // unless it ends there already).
    QList<Element> elements() const;
    int elementCount() const { return static_cast<int>(elements().size()); }
    Point currentPoint() const;
    // The smallest rectangle containing all points, control points included.
    Rect controlPointBounds() const;
    // The smallest rectangle containing the outline.
    Rect bounds() const;
    bool containsPoint(const Point& point) const;
    const QPainterPath& path() const { return _path; }

    // Every point goes through the transform.
    void transformUsingAffineTransform(const QTransform& transform);

    // --- Line settings ------------------------------------------------------
    float lineWidth() const { return _lineWidth; }
    void setLineWidth(float width) { _lineWidth = width; }
    LineCap lineCapStyle() const { return _cap; }
    void setLineCapStyle(LineCap cap) { _cap = cap; }
    LineJoin lineJoinStyle() const { return _join; }
    void setLineJoinStyle(LineJoin join) { _join = join; }
    // Alternating dash and gap lengths in user units; the phase is how far
    // into the pattern the line starts. An empty pattern draws solid.
    void setLineDash(const QList<float>& pattern, float phase);
    const QList<float>& lineDash() const { return _dash; }
    float lineDashPhase() const { return _dashPhase; }
    // The pen that strokes the path with these settings (the colour is left
    // to the context).
    QPen pen() const;

    // --- Drawing into the current graphics context ------------------------
    // Nothing happens while no context is current.
    void fill() const;
    void stroke() const;
    // The clip of the current context shrinks to the path's inside.
    void addClip() const;

private:
    void fillByWinding();

    QPainterPath _path;
    float _lineWidth = 1.0f;
    LineCap _cap = LineCap::Butt;
    LineJoin _join = LineJoin::Miter;
    QList<float> _dash;
    float _dashPhase = 0.0f;
};

} // namespace lq
