#pragma once

#include "imaging/XmlDraw.h"
#include "platform/Colour.h"

// The base of the callouts and of the picture: a body rectangle, optional
// anchor and tail points, colours, a line thickness and a styled text, which
// travels as the element's content.
class XmlDrawObject : public XmlDraw {
public:
    explicit XmlDrawObject(Key key);

    static std::shared_ptr<XmlDrawObject> create();
    static XmlDrawObject* cast(XmlBase* object) { return dynamic_cast<XmlDrawObject*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    // The body in canvas coordinates; kinds may answer another rectangle
    // than the stored one (the picture answers its crop).
    virtual lq::Rect bodyRect() const;
    // The rectangle written as "bodyrect": bodyRect, unless a subclass stores more.
    virtual lq::Rect storedBodyRect() const { return bodyRect(); }
    // Stores the smallest integral rectangle that contains the given one; an
    // empty one stores the zero rectangle.
    void setBodyRect(const lq::Rect& rect);

    const lq::Colour& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const lq::Colour& colour);
    const lq::Colour& foregroundColor() const { return _foregroundColor; }
    void setForegroundColor(const lq::Colour& colour);
    // Line width in points.
    float thickness() const { return _thickness; }
    void setThickness(float thickness);

    // The union of the body and the rectangle.
    lq::Rect boundingRect(const lq::Rect& rect) override;

    // a when both are equal; else a zero rectangle counts for nothing; else
    // the smallest rectangle that contains both.
    static lq::Rect unionRectWithRect(const lq::Rect& a, const lq::Rect& b);

protected:
    // Always integral; set directly by kinds that take their body from
    // somewhere else without marking the document changed twice.
    lq::Rect _objectBodyRect;

private:
    lq::Colour _backgroundColor = lq::Colour::white();
    lq::Colour _foregroundColor = lq::Colour::black();
    float _thickness = 2.0f;
};
