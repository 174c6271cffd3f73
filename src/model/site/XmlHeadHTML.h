#pragma once

#include "model/core/XmlBase.h"

// The site's raw HTML added to the head of every page; its content is the HTML.
class XmlHeadHTML final : public XmlBase {
public:
    explicit XmlHeadHTML(Key key);

    static std::shared_ptr<XmlHeadHTML> create();
    static XmlHeadHTML* cast(XmlBase* object) { return dynamic_cast<XmlHeadHTML*>(object); }

    QString elementName() const override;
};
