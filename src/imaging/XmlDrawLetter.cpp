#include "imaging/XmlDrawLetter.h"

XmlDrawLetter::XmlDrawLetter(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLetter> XmlDrawLetter::create()
{
    return make<XmlDrawLetter>();
}

QString XmlDrawLetter::elementName() const
{
    return QStringLiteral("IWletter");
}
