#pragma once

#include "templates/XmlBoxModel.h"

// The sidebar box of a page template.
class XmlSideBar final : public XmlBoxModel {
public:
    explicit XmlSideBar(Key key);

    static std::shared_ptr<XmlSideBar> create();
    static XmlSideBar* cast(XmlBase* object) { return dynamic_cast<XmlSideBar*>(object); }

    QString elementName() const override;
};
