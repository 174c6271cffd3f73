#pragma once

#include "model/XmlBase.h"

// The site's home page: the top of the page tree.
class XmlHomePage : public XmlBase {
public:
    explicit XmlHomePage(Key key);

    static std::shared_ptr<XmlHomePage> create();
    static XmlHomePage* cast(XmlBase* object) { return dynamic_cast<XmlHomePage*>(object); }

    QString elementName() const override;
    QString name() const override;
    // Pages: album and group pages, never the trash.
    bool canYouBeMyParent(XmlBase* child) override;
    XmlHomePage* homepage() override;
    // Every page of the site, depth first in navigation order, each group before its pages.
    XmlBaseList webItems() override;
};
