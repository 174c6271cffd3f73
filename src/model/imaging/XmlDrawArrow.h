#pragma once

#include "model/imaging/XmlDrawObject.h"

// An arrow from its tail to its anchor; it has no body and no text box.
class XmlDrawArrow final : public XmlDrawObject {
public:
    explicit XmlDrawArrow(Key key);

    static std::shared_ptr<XmlDrawArrow> create();
    static XmlDrawArrow* cast(XmlBase* object) { return dynamic_cast<XmlDrawArrow*>(object); }

    QString elementName() const override;
    bool hasAnchorPoint() const override { return true; }
    bool hasTailPoint() const override { return true; }
    // Always the zero rectangle: only the anchor and the tail count.
    lq::Rect bodyRect() const override;
    void draw() override;
};
