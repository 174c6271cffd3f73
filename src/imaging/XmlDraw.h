#pragma once

#include "model/core/XmlBase.h"
#include "platform/Geometry.h"

// The base of everything on a photo's canvas that draws itself. Drawing goes
// into the current graphics context in canvas coordinates (y grows downward).
class XmlDraw : public XmlBase {
public:
    explicit XmlDraw(Key key);

    static std::shared_ptr<XmlDraw> create();
    static XmlDraw* cast(XmlBase* object) { return dynamic_cast<XmlDraw*>(object); }

    QString elementName() const override;

    // Draws the element into the current graphics context; the base draws nothing.
    virtual void draw();
    // The union of the element's own extent and the rectangle, so that a
    // container can fold its parts into one rectangle. The base has no extent
    // and answers the zero rectangle.
    virtual lq::Rect boundingRect(const lq::Rect& rect);
};
