#include "elements/XmlSlideshow.h"

XmlSlideshow::XmlSlideshow(Key key)
    : XmlWebText(key)
{
}

std::shared_ptr<XmlSlideshow> XmlSlideshow::create()
{
    return make<XmlSlideshow>();
}

QString XmlSlideshow::elementName() const
{
    return QStringLiteral("cssSlideShow");
}
