#include "model/core/XmlEnvelop.h"

XmlEnvelop::XmlEnvelop(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlEnvelop> XmlEnvelop::create()
{
    return make<XmlEnvelop>();
}
