#include "imaging/XmlShape.h"

XmlShape::XmlShape(Key key)
    : XmlDraw(key)
{
}

std::shared_ptr<XmlShape> XmlShape::create()
{
    return make<XmlShape>();
}

QString XmlShape::elementName() const
{
    return QStringLiteral("IWshape");
}
