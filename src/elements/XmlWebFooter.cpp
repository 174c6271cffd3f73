#include "elements/XmlWebFooter.h"

XmlWebFooter::XmlWebFooter(Key key)
    : XmlWebContent(key)
{
}

std::shared_ptr<XmlWebFooter> XmlWebFooter::create()
{
    return make<XmlWebFooter>();
}

QString XmlWebFooter::elementName() const
{
    return QStringLiteral("cssWebFooter");
}
