#pragma once

#include "model/core/XmlBase.h"

// One item of the site's feed: announces one page of the site.
class XmlRSSItem final : public XmlBase {
public:
    explicit XmlRSSItem(Key key);

    static std::shared_ptr<XmlRSSItem> create();
    static XmlRSSItem* cast(XmlBase* object) { return dynamic_cast<XmlRSSItem*>(object); }

    QString elementName() const override;
};
