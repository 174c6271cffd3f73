#pragma once

#include "imaging/XmlDraw.h"

// The mask shape of a picture.
class XmlShape : public XmlDraw {
public:
    explicit XmlShape(Key key);

    static std::shared_ptr<XmlShape> create();
    static XmlShape* cast(XmlBase* object) { return dynamic_cast<XmlShape*>(object); }

    QString elementName() const override;
};
