#pragma once

#include "model/core/XmlBase.h"

// The plain text of every page's description meta tag. Its only payload is its content text.
class XmlDescription final : public XmlBase {
public:
    explicit XmlDescription(Key key);

    static std::shared_ptr<XmlDescription> create();
    static XmlDescription* cast(XmlBase* object) { return dynamic_cast<XmlDescription*>(object); }

    QString elementName() const override;
};
