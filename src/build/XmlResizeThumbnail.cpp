#include "build/XmlResizeThumbnail.h"

#include "model/application/MyApplication.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"

XmlResizeThumbnail::XmlResizeThumbnail(Key key)
    : XmlRun(key)
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

bool XmlResizeThumbnail::run()
{
    return lq::modelFrame(this, "run", [&] {
        const XmlBasePtr found = MyApplication::shared().xmlbase(_photo);
        if (XmlPhoto* photo = XmlPhoto::cast(found.get()))
            photo->resizeThumbnail(sizeToString(_size));
        return true;
    });
}
