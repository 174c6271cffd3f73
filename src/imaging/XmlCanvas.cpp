#include "imaging/XmlCanvas.h"

#include "imaging/XmlImage.h"

#include "model/files/XmlFiles.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

XmlCanvas::XmlCanvas(Key key)
    : XmlDraw(key)
    , _image(XmlImage::create())
{
    _have_children = true;
    _image->setParent(this);
}

XmlCanvas::~XmlCanvas()
{
    // The picture may outlive the canvas in other hands; it must not point back at it.
    if (_image)
        _image->setParent(nullptr);
}

std::shared_ptr<XmlCanvas> XmlCanvas::create()
{
    return make<XmlCanvas>();
}

QString XmlCanvas::elementName() const
{
    return QStringLiteral("IWcanvas");
}

void XmlCanvas::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        // The filter values are stored as single-precision numbers.
        if (key == u"highboost")
            setHighboost(lq::floatValue(value));
        else if (key == u"brightness")
            setBrightness(lq::floatValue(value));
        else if (key == u"contrast")
            setContrast(lq::floatValue(value));
        else if (key == u"saturation")
            setSaturation(lq::floatValue(value));
        else if (key == u"useFilter")
            setUseFilter(lq::intValue(value) != 0);
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlCanvas::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QString::asprintf(" highboost=\"%f\"", _highboost);
        xml += QString::asprintf(" brightness=\"%f\" contrast=\"%f\" saturation=\"%f\"", _brightness, _contrast, _saturation);
        xml += QString::asprintf(" useFilter=\"%d\"", useFilter() ? 1 : 0);
    });
}

bool XmlCanvas::canYouBeMyParent(XmlBase* child)
{
    // The picture, the callouts and the watermark are owned parts, never
    // children; of the rest only a file tree is taken.
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlFiles::cast(child) != nullptr;
    });
}

QString XmlCanvas::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return _image->createXml();
    });
}

XmlBasePtr XmlCanvas::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"IWimage")
            return _image;
        return XmlDraw::createChildFromTag(tag);
    });
}

void XmlCanvas::postload()
{
    lq::modelFrame(this, "postload", [&] {
        _image->postload();
        XmlDraw::postload();
    });
}

void XmlCanvas::setImage(const std::shared_ptr<XmlImage>& image)
{
    lq::modelFrame(this, "setImage:", [&] {
        if (!image || image == _image)
            return;
        _image->setParent(nullptr);
        _image = image;
        _image->setParent(this);
        docChanged();
    });
}
