#include "pipeline/XmlRebuildPhoto.h"

#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

XmlRebuildPhoto::XmlRebuildPhoto(Key key)
    : XmlPhotoStep(key)
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
        if (XmlPhoto* photo = stepPhoto())
            photo->createInternalImages();
        return true;
    });
}

QString XmlRebuildPhoto::activityLine(XmlPhoto& photo) const
{
    return QStringLiteral("rebuild photo:") + QString::number(photo.imageSeqNumber());
}
