#include "elements/XmlWebBox.h"

XmlWebBox::XmlWebBox(Key key)
    : XmlWebText(key)
{
}

std::shared_ptr<XmlWebBox> XmlWebBox::create()
{
    return make<XmlWebBox>();
}

QString XmlWebBox::elementName() const
{
    return QStringLiteral("cssWebBox");
}
