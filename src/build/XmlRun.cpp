#include "build/XmlRun.h"

XmlRun::XmlRun(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlRun> XmlRun::create()
{
    return make<XmlRun>();
}
