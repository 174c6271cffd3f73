#pragma once

#include "model/site/XmlAlbum.h"

// A group page: holds album pages and presents them as its photos. A group
// is never an external link.
class XmlGroup final : public XmlAlbum {
public:
    explicit XmlGroup(Key key);

    static std::shared_ptr<XmlGroup> create();
    static XmlGroup* cast(XmlBase* object) { return dynamic_cast<XmlGroup*>(object); }

    QString elementName() const override;
    // Pages, but no group (groups do not nest) and no photo.
    bool canYouBeMyParent(XmlBase* child) override;
    QImage iconImage() override;
    // Its pages, each group before its own pages.
    XmlBaseList webItems() override;
    // A group's menu starts with the group itself, then its pages.
    QList<MenuItem> menuItems() override;
    LegacyStyle legacyStyle() const override { return { 1, QStringLiteral("Photo Album") }; }
    // The web items among the parent's children, each group followed by its own, depth first.
    static XmlBaseList webItemsOf(const XmlBase& parent);
    // One paragraph of stored rich text per child, holding the child's name.
    QStringList photoCaptions() override;
    // For each page it holds, its representative picture, or its no-picture
    // placeholder when it has none.
    XmlBaseList photoObjects() override;
    // How many children are album pages.
    int numberPhotos() override;
    // The pictures of every page it holds, in order.
    QStringList picturesInSite() override;
    // Passes the binding to every page it holds, then binds the group itself.
    void setTemplateForUUID(int number, const QString& uuid) override;
};
