#pragma once

#include "templates/XmlBoxModel.h"

// The base of the page elements whose text is laid out with the text system.
class XmlWebText : public XmlBoxModel {
public:
    explicit XmlWebText(Key key);

    static std::shared_ptr<XmlWebText> create();
    static XmlWebText* cast(XmlBase* object) { return dynamic_cast<XmlWebText*>(object); }

    QString elementName() const override;
};
