#include "pipeline/XmlRebuildPhoto.h"

#include "pipeline/BuildSteps.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

XmlRebuildPhoto::XmlRebuildPhoto(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlRebuildPhoto> XmlRebuildPhoto::create()
{
    return make<XmlRebuildPhoto>();
}

std::shared_ptr<XmlRebuildPhoto> XmlRebuildPhoto::createForUUID(const QString& photo)
{
    return lq::classFrame("XmlRebuildPhoto +createForUUID:", [&] {
        std::shared_ptr<XmlRebuildPhoto> step = create();
        step->_photo = photo;
        return step;
    });
}

bool XmlRebuildPhoto::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (XmlPhoto* photo = lq::registered<XmlPhoto>(_photo))
            photo->createInternalImages();
        return true;
    });
}

QString XmlRebuildPhoto::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlPhoto* photo = lq::registered<XmlPhoto>(_photo);
        if (!processor() || !photo)
            return QStringLiteral("");
        return processorStatus() + QStringLiteral(" rebuild photo:") + QString::number(photo->imageSeqNumber())
            + QLatin1Char('\n');
    });
}
