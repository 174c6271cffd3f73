#pragma once

#include "elements/XmlWebText.h"

// A free box placed anywhere on a page template: an external item, rich
// text, an HTML snippet or a layer box.
class XmlVornBox : public XmlWebText {
public:
    explicit XmlVornBox(Key key);

    static std::shared_ptr<XmlVornBox> create();
    static XmlVornBox* cast(XmlBase* object) { return dynamic_cast<XmlVornBox*>(object); }

    QString elementName() const override;
    // Vorn Boxes lie above the template's plain boxes.
    bool floatsAbove() const override { return true; }

protected:
    // Link runs take the record's link colour, underlined as the record says.
    bool linksFollowRecordStyle() const override { return true; }
};
