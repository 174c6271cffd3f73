#include "model/XmlWidgetPhoto.h"

XmlWidgetPhoto::XmlWidgetPhoto(Key key)
    : XmlPhoto(key)
{
}

std::shared_ptr<XmlWidgetPhoto> XmlWidgetPhoto::create()
{
    return make<XmlWidgetPhoto>();
}

QString XmlWidgetPhoto::elementName() const
{
    return QStringLiteral("QZwidgetphoto");
}
