#pragma once

#include "imaging/XmlDraw.h"
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
class XmlShape : public XmlDraw {
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

    int shape() const { return _shape; }
    void setShape(int shape);
    int attribute() const { return _attribute; }
    void setAttribute(int attribute);

    // The picture draws the shape; the shape itself draws nothing.
    void draw() override;

    // attribute x the shorter of w and h / 100.
    double getRadiusFromWidthAndHeight(double w, double h) const;
    // tan(attribute in degrees) x x.
    double getLengthFromAngle(double x) const;

    // The outline in the rectangle from (0, 0) to (w, h), y growing upwards
    // (y = 0 is the bottom edge). Nothing for a shape number outside 0 to 11.
    std::optional<lq::BezierPath> makePathWithWidthAndHeight(int w, int h);

private:
    int _shape = 0;
    int _attribute = 0;
};
