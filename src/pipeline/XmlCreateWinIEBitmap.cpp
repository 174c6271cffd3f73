#include "pipeline/XmlCreateWinIEBitmap.h"

#include "pipeline/BuildSteps.h"
#include "platform/ExceptionFrame.h"
#include "platform/ValueStrings.h"
#include "templates/XmlCSSImage.h"

XmlCreateWinIEBitmap::XmlCreateWinIEBitmap(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateWinIEBitmap> XmlCreateWinIEBitmap::create()
{
    return make<XmlCreateWinIEBitmap>();
}

QString XmlCreateWinIEBitmap::elementName() const
{
    return QStringLiteral("QZcreateWinIEBitmap");
}

void XmlCreateWinIEBitmap::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("image"))
            _image = value;
        else if (key == QStringLiteral("filename"))
            _imageFilename = value;
        else if (key == QStringLiteral("size"))
            _imageSize = lq::stringToSize(value);
        else if (key == QStringLiteral("type"))
            _imageType = lq::stepInteger(value);
        else if (key == QStringLiteral("x"))
            _xoffset = lq::stepInteger(value);
        else if (key == QStringLiteral("y"))
            _yoffset = lq::stepInteger(value);
        else
            XmlRun::setAttributeTo(key, value);
    });
}

bool XmlCreateWinIEBitmap::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (XmlCSSImage* image = lq::registered<XmlCSSImage>(_image))
            image->createWinIEBitmapSizeTypeXY(_imageFilename, _imageSize, _imageType, _xoffset, _yoffset);
        return false;
    });
}

QString XmlCreateWinIEBitmap::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlCSSImage* image = lq::registered<XmlCSSImage>(_image);
        if (!processor() || !image)
            return QStringLiteral("");
        return processorStatus() + QStringLiteral("  create win ie bitmap:") + image->UUID() + QLatin1Char('\n');
    });
}
