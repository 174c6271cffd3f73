#include "elements/XmlWebMenu.h"

XmlWebMenu::XmlWebMenu(Key key)
    : XmlBoxModel(key)
{
}

std::shared_ptr<XmlWebMenu> XmlWebMenu::create()
{
    return make<XmlWebMenu>();
}

QString XmlWebMenu::elementName() const
{
    return QStringLiteral("cssWebMenu");
}
