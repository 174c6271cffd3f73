#pragma once

#include "model/XmlBase.h"

// The base of every style element of a theme: visibility, hit testing and
// the hooks through which an element takes part in page HTML and CSS.
class XmlCSS : public XmlBase {
public:
    explicit XmlCSS(Key key);

    static std::shared_ptr<XmlCSS> create();
    static XmlCSS* cast(XmlBase* object) { return dynamic_cast<XmlCSS*>(object); }

    QString elementName() const override;
};
