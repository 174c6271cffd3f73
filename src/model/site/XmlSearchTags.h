#pragma once

#include "model/core/XmlBase.h"

// The plain text of every page's keywords meta tag. Its only payload is its content text.
class XmlSearchTags final : public XmlBase {
public:
    explicit XmlSearchTags(Key key);

    static std::shared_ptr<XmlSearchTags> create();
    static XmlSearchTags* cast(XmlBase* object) { return dynamic_cast<XmlSearchTags*>(object); }

    QString elementName() const override;
};
