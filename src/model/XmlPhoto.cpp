#include "model/XmlPhoto.h"

XmlPhoto::XmlPhoto(Key key)
    : XmlBase(key)
{
    _edit_name = false;
}

std::shared_ptr<XmlPhoto> XmlPhoto::create()
{
    return make<XmlPhoto>();
}

QString XmlPhoto::elementName() const
{
    return QStringLiteral("QZphoto");
}
