#include "imaging/XmlDrawSquare.h"

XmlDrawSquare::XmlDrawSquare(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawSquare> XmlDrawSquare::create()
{
    return make<XmlDrawSquare>();
}

QString XmlDrawSquare::elementName() const
{
    return QStringLiteral("IWdrawsquare");
}
