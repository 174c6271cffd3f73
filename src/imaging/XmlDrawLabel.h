#pragma once

#include "imaging/XmlDrawObject.h"

// A label callout with a pointer.
class XmlDrawLabel final : public XmlDrawObject {
public:
    explicit XmlDrawLabel(Key key);

    static std::shared_ptr<XmlDrawLabel> create();
    static XmlDrawLabel* cast(XmlBase* object) { return dynamic_cast<XmlDrawLabel*>(object); }

    QString elementName() const override;
};
