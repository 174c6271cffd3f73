#include "model/site/XmlWidgetPhoto.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

XmlWidgetPhoto::XmlWidgetPhoto(Key key)
    : XmlPhoto(key)
{
}

std::shared_ptr<XmlWidgetPhoto> XmlWidgetPhoto::create()
{
    return make<XmlWidgetPhoto>();
}

std::shared_ptr<XmlWidgetPhoto> XmlWidgetPhoto::createFromFile(const QString& path)
{
    return lq::classFrame("XmlWidgetPhoto +createFromFile:", [&] {
        return photoFromFile<XmlWidgetPhoto>(path);
    });
}

QString XmlWidgetPhoto::elementName() const
{
    return QStringLiteral("QZwidgetphoto");
}

void XmlWidgetPhoto::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"resize"_sv)
            setDontResize(lq::intValue(value) != 0);
        else if (key == u"click"_sv)
            setClickImage(lq::intValue(value) != 0);
        else if (key == u"link"_sv)
            setLink(value);
        else if (key == u"tooltip"_sv)
            setToolTip(value);
        else
            XmlPhoto::setAttributeTo(key, value);
    });
}

void XmlWidgetPhoto::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlPhoto::appendAttributes(xml);
        xml += QStringLiteral(" resize=\"%1\" click=\"%2\"").arg(QString::number(_dontResize ? 1 : 0), QString::number(_clickImage ? 1 : 0));
        xml += QStringLiteral(" link=\"%1\" tooltip=\"%2\"").arg(lq::escape(_link), lq::escape(_toolTip));
    });
}

void XmlWidgetPhoto::setDontResize(bool dontResize)
{
    setStored(_dontResize, dontResize, "setDontResize:");
}

void XmlWidgetPhoto::setClickImage(bool clickImage)
{
    setStored(_clickImage, clickImage, "setClickImage:");
}

void XmlWidgetPhoto::setLink(const QString& link)
{
    setStored(_link, link, "setLink:");
}

void XmlWidgetPhoto::setToolTip(const QString& toolTip)
{
    setStored(_toolTip, toolTip, "setToolTip:");
}
