#include "elements/XmlWebText.h"

XmlWebText::XmlWebText(Key key)
    : XmlBoxModel(key)
{
}

std::shared_ptr<XmlWebText> XmlWebText::create()
{
    return make<XmlWebText>();
}

QString XmlWebText::elementName() const
{
    return QStringLiteral("cssWebText");
}
