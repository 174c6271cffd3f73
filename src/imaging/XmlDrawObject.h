#pragma once

#include "imaging/XmlDraw.h"

// The base of the callouts and of the picture: a body rectangle, optional
// anchor and tail points, colours, a line thickness and a styled text, which
// travels as the element's content.
class XmlDrawObject : public XmlDraw {
public:
    explicit XmlDrawObject(Key key);

    static std::shared_ptr<XmlDrawObject> create();
    static XmlDrawObject* cast(XmlBase* object) { return dynamic_cast<XmlDrawObject*>(object); }

    QString elementName() const override;
};
