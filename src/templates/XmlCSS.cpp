#include "templates/XmlCSS.h"

XmlCSS::XmlCSS(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlCSS> XmlCSS::create()
{
    return make<XmlCSS>();
}

QString XmlCSS::elementName() const
{
    return QStringLiteral("css");
}
