#include "templates/XmlCSSImage.h"

XmlCSSImage::XmlCSSImage(Key key)
    : XmlBase(key)
{
    _edit_name = false;
}

std::shared_ptr<XmlCSSImage> XmlCSSImage::create()
{
    return make<XmlCSSImage>();
}

QString XmlCSSImage::elementName() const
{
    return QStringLiteral("QZimage");
}
