#include "model/site/XmlBodyHTML.h"

XmlBodyHTML::XmlBodyHTML(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlBodyHTML> XmlBodyHTML::create()
{
    return make<XmlBodyHTML>();
}

QString XmlBodyHTML::elementName() const
{
    return QStringLiteral("bodyHTML");
}
