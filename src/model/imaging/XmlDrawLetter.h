#pragma once

#include "model/imaging/XmlDrawObject.h"

// Bare text without a box.
class XmlDrawLetter final : public XmlDrawObject {
public:
    explicit XmlDrawLetter(Key key);

    static std::shared_ptr<XmlDrawLetter> create();
    static XmlDrawLetter* cast(XmlBase* object) { return dynamic_cast<XmlDrawLetter*>(object); }

    QString elementName() const override;
    bool hasTextbox() const override { return true; }
    void draw() override;
};
