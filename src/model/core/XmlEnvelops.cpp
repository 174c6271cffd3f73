#include "model/core/XmlEnvelops.h"

XmlEnvelops::XmlEnvelops(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlEnvelops> XmlEnvelops::create()
{
    return make<XmlEnvelops>();
}

bool XmlEnvelops::canYouBeMyParent(XmlBase*)
{
    return true;
}
