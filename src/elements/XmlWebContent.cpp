#include "elements/XmlWebContent.h"

XmlWebContent::XmlWebContent(Key key)
    : XmlBoxModel(key)
{
}

std::shared_ptr<XmlWebContent> XmlWebContent::create()
{
    return make<XmlWebContent>();
}

QString XmlWebContent::elementName() const
{
    return QStringLiteral("cssWebContent");
}
