#include "imaging/XmlDrawCloud.h"

XmlDrawCloud::XmlDrawCloud(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawCloud> XmlDrawCloud::create()
{
    return make<XmlDrawCloud>();
}

QString XmlDrawCloud::elementName() const
{
    return QStringLiteral("IWdrawcloud");
}
