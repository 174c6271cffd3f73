#include "imaging/XmlDraw.h"

XmlDraw::XmlDraw(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlDraw> XmlDraw::create()
{
    return make<XmlDraw>();
}

QString XmlDraw::elementName() const
{
    return QStringLiteral("IWdraw");
}

void XmlDraw::draw()
{
}

lq::Rect XmlDraw::boundingRect(const lq::Rect&)
{
    return lq::Rect();
}
