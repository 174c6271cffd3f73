#include "pipeline/XmlPhotoStep.h"

#include "model/site/XmlPhoto.h"
#include "pipeline/BuildSteps.h"
#include "platform/ExceptionFrame.h"

XmlPhotoStep::XmlPhotoStep(Key key)
    : XmlRun(key)
{
}

void XmlPhotoStep::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("photo"))
            _photo = value;
        else
            XmlRun::setAttributeTo(key, value);
    });
}

XmlPhoto* XmlPhotoStep::stepPhoto() const
{
    return lq::registered<XmlPhoto>(_photo);
}

QString XmlPhotoStep::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlPhoto* photo = stepPhoto();
        if (!processor() || !photo)
            return QStringLiteral("");
        return processorStatus() + QLatin1Char(' ') + activityLine(*photo) + QLatin1Char('\n');
    });
}
