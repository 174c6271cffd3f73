#include "model/site/XmlHeadHTML.h"

XmlHeadHTML::XmlHeadHTML(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlHeadHTML> XmlHeadHTML::create()
{
    return make<XmlHeadHTML>();
}

QString XmlHeadHTML::elementName() const
{
    return QStringLiteral("headHTML");
}
