#pragma once

#include "model/core/XmlBase.h"

// The site's raw HTML added to the body of every page; its content is the HTML.
class XmlBodyHTML final : public XmlBase {
public:
    explicit XmlBodyHTML(Key key);

    static std::shared_ptr<XmlBodyHTML> create();
    static XmlBodyHTML* cast(XmlBase* object) { return dynamic_cast<XmlBodyHTML*>(object); }

    QString elementName() const override;
};
