#pragma once

#include "model/core/XmlBase.h"

// The root of the feed settings: the channel of the site's RSS feed, whose
// children are the feed's items.
class XmlRSS final : public XmlBase {
public:
    explicit XmlRSS(Key key);

    static std::shared_ptr<XmlRSS> create();
    static XmlRSS* cast(XmlBase* object) { return dynamic_cast<XmlRSS*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
