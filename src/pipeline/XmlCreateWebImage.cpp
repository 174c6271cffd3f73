#include "pipeline/XmlCreateWebImage.h"

#include "pipeline/BuildSteps.h"
#include "platform/ValueStrings.h"
#include "templates/XmlPictureFrame.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

XmlCreateWebImage::XmlCreateWebImage(Key key)
    : XmlPhotoStep(key)
{
}

std::shared_ptr<XmlCreateWebImage> XmlCreateWebImage::create()
{
    return make<XmlCreateWebImage>();
}

QString XmlCreateWebImage::elementName() const
{
    return QStringLiteral("QZcreateWebImage");
}

void XmlCreateWebImage::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("thumbSize"))
            _thumbSize = lq::stringToSize(value);
        else if (key == QStringLiteral("fullSize"))
            _fullSize = lq::stepInteger(value);
        else if (key == QStringLiteral("frame"))
            _frame = value;
        else if (key == QStringLiteral("frameRect"))
            _frameRect = lq::stringToRect(value);
        else if (key == QStringLiteral("thumbRect"))
            _thumbRect = lq::stringToRect(value);
        else
            XmlPhotoStep::setAttributeTo(key, value);
    });
}

bool XmlCreateWebImage::run()
{
    return lq::modelFrame(this, "run", [&] {
        XmlPhoto* photo = stepPhoto();
        if (!photo)
            return false;
        XmlPictureFrame* frame = _frame.isNull() ? nullptr : lq::registered<XmlPictureFrame>(_frame);
        photo->createWebImageFullSizeFrameFrameRectThumbRect(_thumbSize, _fullSize != 0, frame, _frameRect, _thumbRect);
        return false;
    });
}

QString XmlCreateWebImage::activityLine(XmlPhoto& photo) const
{
    return QStringLiteral("create web image:") + QString::number(photo.imageSeqNumber());
}
