#pragma once

#include "model/XmlBase.h"

// The base of everything on a photo's canvas that draws itself.
class XmlDraw : public XmlBase {
public:
    explicit XmlDraw(Key key);

    static std::shared_ptr<XmlDraw> create();
    static XmlDraw* cast(XmlBase* object) { return dynamic_cast<XmlDraw*>(object); }

    QString elementName() const override;
};
