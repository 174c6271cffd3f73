#include "model/site/XmlGroup.h"

#include "model/site/XmlPhotoRep.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"

XmlGroup::XmlGroup(Key key)
    : XmlAlbum(key)
{
    _canEditLink = false;
    _have_children = true;
}

std::shared_ptr<XmlGroup> XmlGroup::create()
{
    return make<XmlGroup>();
}

QString XmlGroup::elementName() const
{
    return QStringLiteral("QZgroup");
}

bool XmlGroup::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (!child)
            return false;
        if (isSelfOrDescendantOf(child))
            return false;
        if (XmlGroup::cast(child))
            return false;
        return XmlWebItem::cast(child) != nullptr;
    });
}

QImage XmlGroup::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlgroup"));
}

XmlBaseList XmlGroup::webItemsOf(const XmlBase& parent)
{
    XmlBaseList items;
    items.reserve(10);
    for (const auto& item : parent.childrenOfType<XmlWebItem>()) {
        items.append(item);
        if (XmlGroup* group = XmlGroup::cast(item.get()))
            items.append(group->webItems());
    }
    return items;
}

QList<MenuItem> XmlGroup::menuItems()
{
    return lq::modelFrame(this, "menuItems", [&] {
        if (!siteRoot())
            return QList<MenuItem>();
        QList<MenuItem> items { menuItem() };
        items.append(XmlAlbum::menuItems());
        return items;
    });
}

XmlBaseList XmlGroup::webItems()
{
    return lq::modelFrame(this, "webItems", [&] {
        return webItemsOf(*this);
    });
}

QStringList XmlGroup::photoCaptions()
{
    return lq::modelFrame(this, "photoCaptions", [&] {
        const XmlBaseList kids = children();
        QStringList captions;
        captions.reserve(kids.size());
        for (const XmlBasePtr& child : kids)
            captions.append(QStringLiteral("<p>%1</p>").arg(child->name()));
        return captions;
    });
}

XmlBaseList XmlGroup::photoObjects()
{
    return lq::modelFrame(this, "photoObjects", [&] {
        XmlBaseList pictures;
        pictures.reserve(20);
        for (const auto& page : childrenOfType<XmlAlbum>()) {
            std::shared_ptr<XmlPhotoRep> picture = page->rep();
            pictures.append(picture ? picture : page->norep());
        }
        return pictures;
    });
}

int XmlGroup::numberPhotos()
{
    return lq::modelFrame(this, "numberPhotos", [&] {
        return static_cast<int>(childrenOfType<XmlAlbum>().size());
    });
}

QStringList XmlGroup::picturesInSite()
{
    return lq::modelFrame(this, "picturesInSite", [&] {
        QStringList names;
        names.reserve(10);
        for (const auto& page : childrenOfType<XmlAlbum>())
            names.append(page->picturesInSite());
        return names;
    });
}

void XmlGroup::setTemplateForUUID(int number, const QString& uuid)
{
    lq::modelFrame(this, "setTemplate:forUUID:", [&] {
        for (const auto& page : childrenOfType<XmlAlbum>())
            page->setTemplateForUUID(number, uuid);
        XmlAlbum::setTemplateForUUID(number, uuid);
    });
}
