#pragma once

#include "model/core/XmlBase.h"

// A theme of an earlier document generation (read from "QZtheme"), converted
// into a current theme. It writes itself as "theme", so a converted file
// reads back as an XmlTheme.
class XmlLegacyTheme final : public XmlBase {
public:
    explicit XmlLegacyTheme(Key key);

    static std::shared_ptr<XmlLegacyTheme> create();
    static XmlLegacyTheme* cast(XmlBase* object) { return dynamic_cast<XmlLegacyTheme*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
