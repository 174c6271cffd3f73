#include "model/XmlWebItem.h"

XmlWebItem::XmlWebItem(Key key)
    : XmlBase(key)
    , _pageUUID(makeUUID())
{
}

std::shared_ptr<XmlWebItem> XmlWebItem::create()
{
    return make<XmlWebItem>();
}

QString XmlWebItem::externalLink() const
{
    return _externalLink;
}

XmlHomePage* XmlWebItem::homepage()
{
    return _parent ? _parent->homepage() : nullptr;
}
