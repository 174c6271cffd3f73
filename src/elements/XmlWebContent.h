#pragma once

#include "templates/XmlBoxModel.h"

// The box that holds a page's own text.
class XmlWebContent : public XmlBoxModel {
public:
    explicit XmlWebContent(Key key);

    static std::shared_ptr<XmlWebContent> create();
    static XmlWebContent* cast(XmlBase* object) { return dynamic_cast<XmlWebContent*>(object); }

    QString elementName() const override;
};
