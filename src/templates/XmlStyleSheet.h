#pragma once

#include "templates/XmlCSSBackground.h"

// A page template: the page geometry, its page elements and its fonts.
class XmlStyleSheet : public XmlCSSBackground {
public:
    explicit XmlStyleSheet(Key key);

    static std::shared_ptr<XmlStyleSheet> create();
    static XmlStyleSheet* cast(XmlBase* object) { return dynamic_cast<XmlStyleSheet*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
