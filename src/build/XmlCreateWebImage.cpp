#include "build/XmlCreateWebImage.h"

XmlCreateWebImage::XmlCreateWebImage(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateWebImage> XmlCreateWebImage::create()
{
    return make<XmlCreateWebImage>();
}

QString XmlCreateWebImage::elementName() const
{
    return QStringLiteral("QZcreateWebImage");
}
