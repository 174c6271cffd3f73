#include "elements/XmlSlideshow.h"

#include "platform/ExceptionFrame.h"

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

void XmlSlideshow::setStyle(int style)
{
    lq::modelFrame(this, "setStyle:", [&] {
        _style = style;
        docChanged();
    });
}

void XmlSlideshow::setThumbRollovers(bool rollovers)
{
    lq::modelFrame(this, "setThumbRollovers:", [&] {
        _thumbRollovers = rollovers;
        docChanged();
    });
}

void XmlSlideshow::setReverseThumbs(bool reverse)
{
    lq::modelFrame(this, "setReverseThumbs:", [&] {
        _reverseThumbs = reverse;
        docChanged();
    });
}
