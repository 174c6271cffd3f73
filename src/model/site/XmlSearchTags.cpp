#include "model/site/XmlSearchTags.h"

XmlSearchTags::XmlSearchTags(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlSearchTags> XmlSearchTags::create()
{
    return make<XmlSearchTags>();
}

QString XmlSearchTags::elementName() const
{
    return QStringLiteral("searchMETA");
}
