#include "elements/XmlVornBox.h"

XmlVornBox::XmlVornBox(Key key)
    : XmlWebText(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlVornBox> XmlVornBox::create()
{
    return make<XmlVornBox>();
}

QString XmlVornBox::elementName() const
{
    return QStringLiteral("cssVornBox");
}
