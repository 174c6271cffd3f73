#include "imaging/XmlDrawBalloon.h"

XmlDrawBalloon::XmlDrawBalloon(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawBalloon> XmlDrawBalloon::create()
{
    return make<XmlDrawBalloon>();
}

QString XmlDrawBalloon::elementName() const
{
    return QStringLiteral("IWdrawballoon");
}
