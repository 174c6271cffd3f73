#include "build/XmlCreateWinIEBitmap.h"

XmlCreateWinIEBitmap::XmlCreateWinIEBitmap(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateWinIEBitmap> XmlCreateWinIEBitmap::create()
{
    return make<XmlCreateWinIEBitmap>();
}

QString XmlCreateWinIEBitmap::elementName() const
{
    return QStringLiteral("QZcreateWinIEBitmap");
}
