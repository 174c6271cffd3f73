#include "imaging/XmlDrawObject.h"

XmlDrawObject::XmlDrawObject(Key key)
    : XmlDraw(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlDrawObject> XmlDrawObject::create()
{
    return make<XmlDrawObject>();
}

QString XmlDrawObject::elementName() const
{
    return QStringLiteral("IWdrawobject");
}
