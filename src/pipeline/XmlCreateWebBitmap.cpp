#include "pipeline/XmlCreateWebBitmap.h"

#include "pipeline/BuildSteps.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlCSSImage.h"

XmlCreateWebBitmap::XmlCreateWebBitmap(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlCreateWebBitmap> XmlCreateWebBitmap::create()
{
    return make<XmlCreateWebBitmap>();
}

QString XmlCreateWebBitmap::elementName() const
{
    return QStringLiteral("QZcreateWebBitmap");
}

void XmlCreateWebBitmap::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("image"))
            _imageuuid = value;
        else
            XmlRun::setAttributeTo(key, value);
    });
}

bool XmlCreateWebBitmap::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (XmlCSSImage* image = lq::registered<XmlCSSImage>(_imageuuid))
            image->createWebImage();
        return false;
    });
}

QString XmlCreateWebBitmap::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlCSSImage* image = lq::registered<XmlCSSImage>(_imageuuid);
        if (!processor() || !image)
            return QStringLiteral("");
        return processorStatus() + QStringLiteral("  create web bitmap:") + image->UUID() + QLatin1Char('\n');
    });
}
