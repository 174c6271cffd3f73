#include "model/site/XmlContent.h"

XmlContent::XmlContent(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlContent> XmlContent::create()
{
    return make<XmlContent>();
}

QString XmlContent::elementName() const
{
    return QStringLiteral("QZcontent");
}
