#include "templates/XmlWebFont.h"

XmlWebFont::XmlWebFont(Key key)
    : XmlCSS(key)
{
}

std::shared_ptr<XmlWebFont> XmlWebFont::create()
{
    return make<XmlWebFont>();
}

QString XmlWebFont::elementName() const
{
    return QStringLiteral("cssFont");
}
