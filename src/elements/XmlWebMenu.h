#pragma once

#include "templates/XmlBoxModel.h"

// The navigation menu of a page template.
class XmlWebMenu final : public XmlBoxModel {
public:
    explicit XmlWebMenu(Key key);

    static std::shared_ptr<XmlWebMenu> create();
    static XmlWebMenu* cast(XmlBase* object) { return dynamic_cast<XmlWebMenu*>(object); }

    QString elementName() const override;
};
