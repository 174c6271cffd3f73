#include "model/core/XmlGarbageDump.h"

XmlGarbageDump::XmlGarbageDump(Key key)
    : XmlBase(key)
{
    _have_children = true;
    setHaveContent(true);
}

std::shared_ptr<XmlGarbageDump> XmlGarbageDump::create()
{
    return make<XmlGarbageDump>();
}

XmlBasePtr XmlGarbageDump::createChildFromTag(const QString&)
{
    return create();
}

bool XmlGarbageDump::canYouBeMyParent(XmlBase*)
{
    return true;
}
