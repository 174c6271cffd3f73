#pragma once

#include "ui/widgets/MyButton.h"

#include <QImage>
#include <QPainterPath>

#include <memory>
#include <optional>

class XmlShape;

// One mask-shape button of the photo editor. Its tag is the shape number of
// the model's XmlShape (0 rectangle to 11 notched rectangle); it knows the
// shape's attribute (a corner radius, an angle, a number of sides or a
// depth) with its range and default, remembers the value last used with it,
// and shows the shape's outline, filled grey, as a 31 by 20 icon drawn with
// the attribute's icon value. A tag outside the shapes has no attribute and
// no outline.
class IWButton : public MyButton {
    Q_OBJECT
public:
    static constexpr int iconWidth = 31;
    static constexpr int iconHeight = 20;

    // Draws the icon, then holds the shape's default attribute.
    explicit IWButton(int tag, QWidget* parent = nullptr);
    ~IWButton() override;

    // "Blank", "Radius", "Angle", "Sides" or "Depth".
    QString getValue1Label() const;
    bool getNeedAttr1() const;
    int getAttrMin1() const;
    int getAttrMax1() const;
    int getDefault1() const;
    // The attribute the icon is drawn with.
    int getThumb1() const;

    int getAttr1() const;
    // Keeps the value within the shape's range; 0 for shapes without attribute.
    void setAttr1(int value);

    // The attribute in percent of the shorter side.
    double getRadiusFromWidthAndHeight(double w, double h) const;
    // tan(attribute in degrees) times x.
    double getLengthFromAngle(double x) const;

    // The outline for a w by h box with the current attribute, y growing
    // upward from the box's bottom edge; none outside the shapes.
    std::optional<QPainterPath> makePathWithWidthAndHeight(int w, int h) const;
    // A w by h picture, transparent but for the outline filled grey.
    QImage makeImageWithWidthAndHeight(int w, int h) const;

private:
    struct ShapeAttribute;
    const ShapeAttribute& attribute() const;

    // The shape whose outline the button shows and whose attribute it holds;
    // no document's element.
    std::shared_ptr<XmlShape> _shape;
};
