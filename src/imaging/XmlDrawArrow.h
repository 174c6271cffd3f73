#pragma once

#include "imaging/XmlDrawObject.h"

// An arrow callout, from its tail to its anchor.
class XmlDrawArrow final : public XmlDrawObject {
public:
    explicit XmlDrawArrow(Key key);

    static std::shared_ptr<XmlDrawArrow> create();
    static XmlDrawArrow* cast(XmlBase* object) { return dynamic_cast<XmlDrawArrow*>(object); }

    QString elementName() const override;
};
