#include "build/XmlCreateSlide.h"

XmlCreateSlide::XmlCreateSlide(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateSlide> XmlCreateSlide::create()
{
    return make<XmlCreateSlide>();
}

QString XmlCreateSlide::elementName() const
{
    return QStringLiteral("QZcreateSlide");
}
