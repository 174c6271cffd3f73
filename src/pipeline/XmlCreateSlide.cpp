#include "pipeline/XmlCreateSlide.h"

#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/ValueStrings.h"

XmlCreateSlide::XmlCreateSlide(Key key)
    : XmlPhotoStep(key)
{
}

std::shared_ptr<XmlCreateSlide> XmlCreateSlide::create()
{
    return make<XmlCreateSlide>();
}

QString XmlCreateSlide::elementName() const
{
    return QStringLiteral("QZcreateSlide");
}

void XmlCreateSlide::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("size"))
            _size = lq::stringToSize(value);
        else
            XmlPhotoStep::setAttributeTo(key, value);
    });
}

bool XmlCreateSlide::run()
{
    return lq::modelFrame(this, "run", [&] {
        XmlPhoto* photo = stepPhoto();
        if (!photo) {
            lq::log(QStringLiteral("no photo!"));
            return false;
        }
        photo->createSlideImage(_size);
        return false;
    });
}

QString XmlCreateSlide::activityLine(XmlPhoto& photo) const
{
    return QStringLiteral("create slide:") + QString::number(photo.imageSeqNumber()) + QLatin1Char(' ') + photo.UUID();
}
