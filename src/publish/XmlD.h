#pragma once

#include "model/core/XmlBase.h"

// A folder of a digest tree; its children are its subfolders and files.
class XmlD : public XmlBase {
public:
    explicit XmlD(Key key);

    static std::shared_ptr<XmlD> create();
    static XmlD* cast(XmlBase* object) { return dynamic_cast<XmlD*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
