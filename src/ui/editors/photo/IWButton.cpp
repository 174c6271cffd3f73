#include "ui/editors/photo/IWButton.h"

#include "model/imaging/XmlShape.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

struct IWButton::ShapeAttribute {
    const char* label;
    bool needed;
    int minimum;
    int maximum;
    int defaultValue;
    int iconValue;
};

const IWButton::ShapeAttribute& IWButton::attribute() const
{
    static constexpr ShapeAttribute noAttribute { "Blank", false, 0, 0, 0, 0 };
    // By shape number.
    static constexpr ShapeAttribute shapes[] = {
        { "Blank", false, 0, 0, 0, 0 },     // rectangle
        { "Blank", false, 0, 0, 0, 0 },     // oval
        { "Radius", true, 1, 50, 10, 25 },  // rounded rectangle
        { "Radius", true, 1, 50, 10, 25 },  // cut corners
        { "Angle", true, -45, 45, 10, 3 },  // parallelogram
        { "Angle", true, -45, 45, 10, 3 },  // trapezoid
        { "Angle", true, -180, 180, 0, 0 }, // diamond
        { "Angle", true, -30, 30, 10, 3 },  // hexagon
        { "Blank", false, 0, 0, 0, 0 },     // heart
        { "Sides", true, 5, 12, 5, 5 },     // regular polygon
        { "Depth", true, 1, 50, 5, 20 },    // star
        { "Depth", true, 1, 35, 11, 20 },   // notched rectangle
    };
    const int shape = tag();
    if (shape < 0 || shape >= static_cast<int>(std::size(shapes)))
        return noAttribute;
    return shapes[shape];
}

IWButton::IWButton(int tag, QWidget* parent)
    : MyButton(tag, QString(), parent)
    , _shape(XmlShape::create())
{
    _shape->setShape(static_cast<XmlShape::ShapeKind>(tag));
    _shape->setAttribute(getThumb1());
    setIconSize(QSize(iconWidth, iconHeight));
    setIcon(QIcon(QPixmap::fromImage(makeImageWithWidthAndHeight(iconWidth, iconHeight))));
    _shape->setAttribute(getDefault1());
}

IWButton::~IWButton() = default;

QString IWButton::getValue1Label() const
{
    return QString::fromLatin1(attribute().label);
}

bool IWButton::getNeedAttr1() const
{
    return attribute().needed;
}

int IWButton::getAttrMin1() const
{
    return attribute().minimum;
}

int IWButton::getAttrMax1() const
{
    return attribute().maximum;
}

int IWButton::getDefault1() const
{
    return attribute().defaultValue;
}

int IWButton::getThumb1() const
{
    return attribute().iconValue;
}

int IWButton::getAttr1() const
{
    return _shape->attribute();
}

void IWButton::setAttr1(int value)
{
    _shape->setAttribute(std::clamp(value, getAttrMin1(), getAttrMax1()));
}

double IWButton::getRadiusFromWidthAndHeight(double w, double h) const
{
    return _shape->getRadiusFromWidthAndHeight(w, h);
}

double IWButton::getLengthFromAngle(double x) const
{
    return _shape->getLengthFromAngle(x);
}

std::optional<QPainterPath> IWButton::makePathWithWidthAndHeight(int w, int h) const
{
    const std::optional<lq::BezierPath> path = _shape->makePathWithWidthAndHeight(w, h);
    if (!path)
        return std::nullopt;
    return path->path();
}

QImage IWButton::makeImageWithWidthAndHeight(int w, int h) const
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (const std::optional<QPainterPath> path = makePathWithWidthAndHeight(w, h)) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // The outline's y grows upward; the picture's downward.
        painter.setTransform(QTransform(1, 0, 0, -1, 0, h));
        painter.fillPath(*path, QColor(128, 128, 128));
    }
    return image;
}
