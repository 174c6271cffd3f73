#include "imaging/XmlImage.h"

XmlImage::XmlImage(Key key)
    : XmlDrawObject(key)
{
    // Unlike the callouts, the picture carries no text.
    setHaveContent(false);
}

std::shared_ptr<XmlImage> XmlImage::create()
{
    return make<XmlImage>();
}

QString XmlImage::elementName() const
{
    return QStringLiteral("IWimage");
}
