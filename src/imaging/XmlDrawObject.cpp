#include "imaging/XmlDrawObject.h"

#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

#include <algorithm>

XmlDrawObject::XmlDrawObject(Key key)
    : XmlDraw(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlDrawObject> XmlDrawObject::create()
{
    return make<XmlDrawObject>();
}

QString XmlDrawObject::elementName() const
{
    return QStringLiteral("IWdrawobject");
}

void XmlDrawObject::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"bodyrect")
            setBodyRect(stringToRect(value));
        else if (key == u"backgroundcolor")
            setBackgroundColor(stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"foregroundcolor")
            setForegroundColor(stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"thickness")
            setThickness(lq::floatValue(value));
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlDrawObject::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QStringLiteral(" bodyrect=\"%1\"").arg(rectToString(storedBodyRect()));
        xml += QString::asprintf(" thickness=\"%f\"", static_cast<double>(_thickness));
        xml += QStringLiteral(" backgroundcolor=\"%1\"").arg(colorToString(_backgroundColor));
        xml += QStringLiteral(" foregroundcolor=\"%1\"").arg(colorToString(_foregroundColor));
    });
}

lq::Rect XmlDrawObject::bodyRect() const
{
    return _objectBodyRect;
}

void XmlDrawObject::setBodyRect(const lq::Rect& rect)
{
    setStored(_objectBodyRect, rect.integral(), "setBodyRect:");
}

void XmlDrawObject::setBackgroundColor(const lq::Colour& colour)
{
    setStored(_backgroundColor, colour, "setBackgroundColor:");
}

void XmlDrawObject::setForegroundColor(const lq::Colour& colour)
{
    setStored(_foregroundColor, colour, "setForegroundColor:");
}

void XmlDrawObject::setThickness(float thickness)
{
    setStored(_thickness, thickness, "setThickness:");
}

lq::Rect XmlDrawObject::boundingRect(const lq::Rect& rect)
{
    return lq::modelFrame(this, "boundingRect:", [&] {
        return unionRectWithRect(bodyRect(), rect);
    });
}

lq::Rect XmlDrawObject::unionRectWithRect(const lq::Rect& a, const lq::Rect& b)
{
    if (a == b)
        return a;
    if (a.isZero())
        return b;
    if (b.isZero())
        return a;
    const float left = std::min(a.minX(), b.minX());
    const float top = std::min(a.minY(), b.minY());
    return lq::Rect(left, top, std::max(a.maxX(), b.maxX()) - left, std::max(a.maxY(), b.maxY()) - top);
}
