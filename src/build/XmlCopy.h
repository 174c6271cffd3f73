#pragma once

#include "build/XmlCreate.h"

// The step that copies a support file into the site.
class XmlCopy final : public XmlCreate {
public:
    explicit XmlCopy(Key key);

    static std::shared_ptr<XmlCopy> create();
    static XmlCopy* cast(XmlBase* object) { return dynamic_cast<XmlCopy*>(object); }

    QString elementName() const override;
};
