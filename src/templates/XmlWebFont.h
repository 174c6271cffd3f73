#pragma once

#include "templates/XmlCSS.h"

// The font record of a text-bearing page element.
class XmlWebFont : public XmlCSS {
public:
    explicit XmlWebFont(Key key);

    static std::shared_ptr<XmlWebFont> create();
    static XmlWebFont* cast(XmlBase* object) { return dynamic_cast<XmlWebFont*>(object); }

    QString elementName() const override;
};
