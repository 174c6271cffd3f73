#include "build/XmlCreateBitmapSlice.h"

XmlCreateBitmapSlice::XmlCreateBitmapSlice(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateBitmapSlice> XmlCreateBitmapSlice::create()
{
    return make<XmlCreateBitmapSlice>();
}

QString XmlCreateBitmapSlice::elementName() const
{
    return QStringLiteral("QZcreateBitmapSlice");
}
