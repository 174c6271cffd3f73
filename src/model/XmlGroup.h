#pragma once

#include "model/XmlAlbum.h"

// A group page: holds album pages and presents them as its photos.
class XmlGroup : public XmlAlbum {
public:
    explicit XmlGroup(Key key);

    static std::shared_ptr<XmlGroup> create();
    static XmlGroup* cast(XmlBase* object) { return dynamic_cast<XmlGroup*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
    XmlBaseList webItems() override;
};
