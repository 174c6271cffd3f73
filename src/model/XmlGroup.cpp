#include "model/XmlGroup.h"

#include "platform/ExceptionFrame.h"

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

XmlBaseList XmlGroup::webItems()
{
    return lq::modelFrame(this, "webItems", [&] {
        XmlBaseList items;
        items.reserve(10);
        for (const XmlBasePtr& child : children()) {
            if (!XmlWebItem::cast(child.get()))
                continue;
            items.append(child);
            if (XmlGroup* group = XmlGroup::cast(child.get()))
                items.append(group->webItems());
        }
        return items;
    });
}
