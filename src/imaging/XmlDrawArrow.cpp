#include "imaging/XmlDrawArrow.h"

XmlDrawArrow::XmlDrawArrow(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawArrow> XmlDrawArrow::create()
{
    return make<XmlDrawArrow>();
}

QString XmlDrawArrow::elementName() const
{
    return QStringLiteral("IWdrawarrow");
}
