#include "pipeline/XmlResizeThumbnail.h"

#include "model/site/XmlPhoto.h"
#include "pipeline/XmlProcessor.h"
#include "platform/ExceptionFrame.h"
#include "platform/ValueStrings.h"

XmlResizeThumbnail::XmlResizeThumbnail(Key key)
    : XmlPhotoStep(key)
{
}

std::shared_ptr<XmlResizeThumbnail> XmlResizeThumbnail::create()
{
    return make<XmlResizeThumbnail>();
}

std::shared_ptr<XmlResizeThumbnail> XmlResizeThumbnail::createForUUIDSize(const QString& photo, const lq::Size& size)
{
    return lq::classFrame("XmlResizeThumbnail +createForUUID:size:", [&] {
        std::shared_ptr<XmlResizeThumbnail> step = create();
        step->_photo = photo;
        step->_size = size;
        return step;
    });
}

std::shared_ptr<XmlProcessor> XmlResizeThumbnail::createProcessorForThumbnails(const QList<ThumbnailResize>& thumbnails)
{
    std::shared_ptr<XmlProcessor> resizing = XmlProcessor::create();
    resizing->setStatusMessage(QStringLiteral("Resizing Thumbnails..."));
    for (const ThumbnailResize& thumbnail : thumbnails)
        resizing->addChild(createForUUIDSize(thumbnail.photo, thumbnail.size));
    return resizing;
}

bool XmlResizeThumbnail::run()
{
    return lq::modelFrame(this, "run", [&] {
        if (XmlPhoto* photo = stepPhoto())
            photo->resizeThumbnail(lq::sizeToString(_size));
        return true;
    });
}

QString XmlResizeThumbnail::activityLine(XmlPhoto& photo) const
{
    return QStringLiteral("resize thumbnail:") + QString::number(photo.imageSeqNumber());
}
