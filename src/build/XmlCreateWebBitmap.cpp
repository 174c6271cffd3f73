#include "build/XmlCreateWebBitmap.h"

XmlCreateWebBitmap::XmlCreateWebBitmap(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateWebBitmap> XmlCreateWebBitmap::create()
{
    return make<XmlCreateWebBitmap>();
}

QString XmlCreateWebBitmap::elementName() const
{
    return QStringLiteral("QZcreateWebBitmap");
}
