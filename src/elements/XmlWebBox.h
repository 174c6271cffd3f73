#pragma once

#include "elements/XmlWebText.h"

// The masthead or page-title box of a page template; its name decides which.
class XmlWebBox final : public XmlWebText {
public:
    explicit XmlWebBox(Key key);

    static std::shared_ptr<XmlWebBox> create();
    static XmlWebBox* cast(XmlBase* object) { return dynamic_cast<XmlWebBox*>(object); }

    QString elementName() const override;
};
