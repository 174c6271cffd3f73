#pragma once

#include "model/imaging/XmlDrawObject.h"

// An oval outline inscribed in the body; its text is kept but never drawn.
class XmlDrawCircle final : public XmlDrawObject {
public:
    explicit XmlDrawCircle(Key key);

    static std::shared_ptr<XmlDrawCircle> create();
    static XmlDrawCircle* cast(XmlBase* object) { return dynamic_cast<XmlDrawCircle*>(object); }

    QString elementName() const override;

    void draw() override;
};
