#include "model/feed/XmlRSS.h"

#include "model/feed/XmlRSSItem.h"
#include "platform/ExceptionFrame.h"

#include <typeinfo>

XmlRSS::XmlRSS(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlRSS> XmlRSS::create()
{
    return make<XmlRSS>();
}

QString XmlRSS::elementName() const
{
    return QStringLiteral("QZrss");
}

bool XmlRSS::canYouBeMyParent(XmlBase* child)
{
    // Items only, and exactly items: the feed is written from them as they are.
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return child != nullptr && typeid(*child) == typeid(XmlRSSItem);
    });
}
