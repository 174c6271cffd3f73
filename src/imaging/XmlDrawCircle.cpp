#include "imaging/XmlDrawCircle.h"

XmlDrawCircle::XmlDrawCircle(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawCircle> XmlDrawCircle::create()
{
    return make<XmlDrawCircle>();
}

QString XmlDrawCircle::elementName() const
{
    return QStringLiteral("IWdrawcircle");
}
