#pragma once

#include "build/XmlRun.h"

// The step that password-protects a generated page.
class XmlPasswordProtect final : public XmlRun {
public:
    explicit XmlPasswordProtect(Key key);

    static std::shared_ptr<XmlPasswordProtect> create();
    static XmlPasswordProtect* cast(XmlBase* object) { return dynamic_cast<XmlPasswordProtect*>(object); }

    QString elementName() const override;
};
