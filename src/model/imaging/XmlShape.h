#pragma once

#include "model/imaging/XmlDraw.h"
#include "platform/graphics/BezierPath.h"

#include <optional>

// The mask shape of a picture: a shape number and one parameter whose meaning
// depends on the shape (a percentage, an angle in degrees or a count). It
// builds the shape's outline for a width and height; the picture clips its
// pixels to that outline, casts its drop shadow from it and strokes it as
// its border. Owned by exactly one picture and written inside it.
//
// Shapes: 0 rectangle, 1 oval, 2 rounded rectangle, 3 cut corners,
// 4 parallelogram, 5 trapezoid, 6 diamond, 7 hexagon, 8 heart, 9 regular
// polygon, 10 star of fifteen points, 11 notched rectangle.
class XmlShape final : public XmlDraw {
public:
    // Polygons with more sides than this are drawn with this many: beyond it
    // a polygon cannot be told from an oval, and an unbounded count read from
    // a file would build an outline of billions of points.
    static constexpr int maximumPolygonSides = 10000;

    explicit XmlShape(Key key);

    static std::shared_ptr<XmlShape> create();
    static XmlShape* cast(XmlBase* object) { return dynamic_cast<XmlShape*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    // The outlines a shape can have. A stored number outside them has no
    // outline and is written back as it was read.
    enum class ShapeKind : int {
        Rectangle = 0,
        Oval = 1,
        RoundedRectangle = 2,
        CutCorners = 3,
        Parallelogram = 4,
        Trapezoid = 5,
        Diamond = 6,
        Hexagon = 7,
        Heart = 8,
        Polygon = 9,
        Star = 10,
        NotchedRectangle = 11,
    };
    ShapeKind shape() const { return _shape; }
    void setShape(ShapeKind shape);
    int attribute() const { return _attribute; }
    void setAttribute(int attribute);

    // The picture draws the shape; the shape itself draws nothing.
    void draw() override;

    // attribute x the shorter of w and h / 100.
    double getRadiusFromWidthAndHeight(double w, double h) const;
    // tan(attribute in degrees) x x.
    double getLengthFromAngle(double x) const;

    // The outline in the rectangle from (0, 0) to (w, h), y growing upwards
    // (y = 0 is the bottom edge). Nothing for a number outside the kinds.
    std::optional<lq::BezierPath> makePathWithWidthAndHeight(int w, int h);

private:
    ShapeKind _shape = ShapeKind::Rectangle;
    int _attribute = 0;
};
