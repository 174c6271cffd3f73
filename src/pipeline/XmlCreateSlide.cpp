#include "pipeline/XmlCreateSlide.h"

#include "pipeline/BuildSteps.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"

XmlCreateSlide::XmlCreateSlide(Key key)
    : XmlRun(key)
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
        if (key == QStringLiteral("photo"))
            _photo = value;
        else if (key == QStringLiteral("size"))
            _size = stringToSize(value);
        else
            XmlRun::setAttributeTo(key, value);
    });
}

bool XmlCreateSlide::run()
{
    return lq::modelFrame(this, "run", [&] {
        XmlPhoto* photo = lq::registered<XmlPhoto>(_photo);
        if (!photo) {
            lq::log(QStringLiteral("no photo!"));
            return false;
        }
        photo->createSlideImage(_size);
        return false;
    });
}

QString XmlCreateSlide::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&]() -> QString {
        XmlPhoto* photo = lq::registered<XmlPhoto>(_photo);
        if (!processor() || !photo)
            return QStringLiteral("");
        return processorStatus() + QStringLiteral(" create slide:") + QString::number(photo->imageSeqNumber())
            + QLatin1Char(' ') + photo->UUID() + QLatin1Char('\n');
    });
}
