#pragma once

#include "model/core/XmlBase.h"

// An album page's own text, as stored rich text; the page's content box shows it. Its only payload is its content text.
class XmlContent final : public XmlBase {
public:
    explicit XmlContent(Key key);

    static std::shared_ptr<XmlContent> create();
    static XmlContent* cast(XmlBase* object) { return dynamic_cast<XmlContent*>(object); }

    QString elementName() const override;
};
