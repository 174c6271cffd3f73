#include "model/XmlHomePage.h"

#include "model/XmlGroup.h"
#include "model/XmlTrash.h"
#include "model/XmlWebItem.h"
#include "platform/ExceptionFrame.h"

#include <typeinfo>

XmlHomePage::XmlHomePage(Key key)
    : XmlBase(key)
{
    _have_children = true;
    // The name is always "Website" and never written.
    _edit_name = false;
}

std::shared_ptr<XmlHomePage> XmlHomePage::create()
{
    return make<XmlHomePage>();
}

QString XmlHomePage::elementName() const
{
    return QStringLiteral("QZhomepage");
}

QString XmlHomePage::name() const
{
    return QStringLiteral("Website");
}

bool XmlHomePage::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        if (child && typeid(*child) == typeid(XmlTrash))
            return false;
        return XmlWebItem::cast(child) != nullptr;
    });
}

XmlHomePage* XmlHomePage::homepage()
{
    return this;
}

XmlBaseList XmlHomePage::webItems()
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
