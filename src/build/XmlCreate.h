#pragma once

#include "build/XmlRun.h"

// The step that writes its content text to a file of the site.
class XmlCreate : public XmlRun {
public:
    explicit XmlCreate(Key key);

    static std::shared_ptr<XmlCreate> create();
    static XmlCreate* cast(XmlBase* object) { return dynamic_cast<XmlCreate*>(object); }

    QString elementName() const override;
};
