#pragma once

#include "model/imaging/XmlDrawObject.h"

// A label callout: a filled box with a pointer to its anchor.
class XmlDrawLabel final : public XmlDrawObject {
public:
    explicit XmlDrawLabel(Key key);

    static std::shared_ptr<XmlDrawLabel> create();
    static XmlDrawLabel* cast(XmlBase* object) { return dynamic_cast<XmlDrawLabel*>(object); }

    QString elementName() const override;
    bool hasAnchorPoint() const override { return true; }
    bool hasTextbox() const override { return true; }
    void draw() override;
};
