#pragma once

#include "model/core/XmlBase.h"

// The site's footer text, as stored rich text; every page's footer shows it. Its only payload is its content text.
class XmlFooter final : public XmlBase {
public:
    explicit XmlFooter(Key key);

    static std::shared_ptr<XmlFooter> create();
    static XmlFooter* cast(XmlBase* object) { return dynamic_cast<XmlFooter*>(object); }

    QString elementName() const override;
};
