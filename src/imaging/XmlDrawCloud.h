#pragma once

#include "imaging/XmlDrawObject.h"

// A thought-cloud callout.
class XmlDrawCloud final : public XmlDrawObject {
public:
    explicit XmlDrawCloud(Key key);

    static std::shared_ptr<XmlDrawCloud> create();
    static XmlDrawCloud* cast(XmlBase* object) { return dynamic_cast<XmlDrawCloud*>(object); }

    QString elementName() const override;
};
