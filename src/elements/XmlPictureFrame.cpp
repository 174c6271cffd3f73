#include "elements/XmlPictureFrame.h"

XmlPictureFrame::XmlPictureFrame(Key key)
    : XmlBoxModel(key)
{
}

std::shared_ptr<XmlPictureFrame> XmlPictureFrame::create()
{
    return make<XmlPictureFrame>();
}

QString XmlPictureFrame::elementName() const
{
    return QStringLiteral("cssPictureFrame");
}

void XmlPictureFrame::drawObjectBackground(const lq::Rect&, bool)
{
}
