#include "publish/XmlLocation.h"

XmlLocation::XmlLocation(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlLocation> XmlLocation::create()
{
    return make<XmlLocation>();
}

QString XmlLocation::elementName() const
{
    return QStringLiteral("QZlocation");
}
