#include "model/feed/XmlRSSItem.h"

XmlRSSItem::XmlRSSItem(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlRSSItem> XmlRSSItem::create()
{
    return make<XmlRSSItem>();
}

QString XmlRSSItem::elementName() const
{
    return QStringLiteral("QZrssitem");
}
