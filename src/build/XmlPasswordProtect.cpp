#include "build/XmlPasswordProtect.h"

XmlPasswordProtect::XmlPasswordProtect(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlPasswordProtect> XmlPasswordProtect::create()
{
    return make<XmlPasswordProtect>();
}

QString XmlPasswordProtect::elementName() const
{
    return QStringLiteral("QZpassword");
}
