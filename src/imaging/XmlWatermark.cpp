#include "imaging/XmlWatermark.h"

XmlWatermark::XmlWatermark(Key key)
    : XmlDraw(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlWatermark> XmlWatermark::create()
{
    return make<XmlWatermark>();
}

QString XmlWatermark::elementName() const
{
    return QStringLiteral("IWwatermark");
}
