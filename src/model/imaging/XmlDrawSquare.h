#pragma once

#include "model/imaging/XmlDrawObject.h"

// A rectangle outline; its text is kept but never drawn.
class XmlDrawSquare final : public XmlDrawObject {
public:
    explicit XmlDrawSquare(Key key);

    static std::shared_ptr<XmlDrawSquare> create();
    static XmlDrawSquare* cast(XmlBase* object) { return dynamic_cast<XmlDrawSquare*>(object); }

    QString elementName() const override;

    void draw() override;
};
