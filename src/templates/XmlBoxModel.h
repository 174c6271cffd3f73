#pragma once

#include "templates/XmlCSSBackground.h"

// The base of every positioned page element: position, size, padding,
// borders and drop shadow. Its only children are its fonts.
class XmlBoxModel : public XmlCSSBackground {
public:
    explicit XmlBoxModel(Key key);

    static std::shared_ptr<XmlBoxModel> create();
    static XmlBoxModel* cast(XmlBase* object) { return dynamic_cast<XmlBoxModel*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
