#pragma once

#include "model/imaging/XmlDrawObject.h"

// A filled text box.
class XmlDrawLetterBox final : public XmlDrawObject {
public:
    explicit XmlDrawLetterBox(Key key);

    static std::shared_ptr<XmlDrawLetterBox> create();
    static XmlDrawLetterBox* cast(XmlBase* object) { return dynamic_cast<XmlDrawLetterBox*>(object); }

    QString elementName() const override;
    bool hasTextbox() const override { return true; }
    void draw() override;
};
