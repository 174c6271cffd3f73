#pragma once

#include "model/core/XmlBase.h"

// Where and how the site is published: server kind, address, account and
// the settings of the FTP roads.
class XmlLocation final : public XmlBase {
public:
    explicit XmlLocation(Key key);

    static std::shared_ptr<XmlLocation> create();
    static XmlLocation* cast(XmlBase* object) { return dynamic_cast<XmlLocation*>(object); }

    QString elementName() const override;
};
