#include "pipeline/XmlCreateBitmapSlice.h"

#include "pipeline/BuildSteps.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlCSSImage.h"

XmlCreateBitmapSlice::XmlCreateBitmapSlice(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateBitmapSlice> XmlCreateBitmapSlice::create()
{
    return make<XmlCreateBitmapSlice>();
}

QString XmlCreateBitmapSlice::elementName() const
{
    return QStringLiteral("QZcreateBitmapSlice");
}

void XmlCreateBitmapSlice::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("image"))
            _image = value;
        else if (key == QStringLiteral("top"))
            _topSlice = lq::stepInteger(value);
        else if (key == QStringLiteral("bottom"))
            _bottomSlice = lq::stepInteger(value);
        else
            XmlRun::setAttributeTo(key, value);
    });
}

bool XmlCreateBitmapSlice::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (XmlCSSImage* image = lq::registered<XmlCSSImage>(_image))
            image->createBitmapSlicesBottom(_topSlice, _bottomSlice);
        return false;
    });
}

QString XmlCreateBitmapSlice::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlCSSImage* image = lq::registered<XmlCSSImage>(_image);
        if (!processor() || !image)
            return QStringLiteral("");
        return processorStatus() + QStringLiteral("  create bitmap slice:") + image->UUID() + QLatin1Char('\n');
    });
}
