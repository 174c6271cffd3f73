#include "model/imaging/XmlDrawArrow.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawArrow::XmlDrawArrow(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawArrow> XmlDrawArrow::create()
{
    return make<XmlDrawArrow>();
}

QString XmlDrawArrow::elementName() const
{
    return QStringLiteral("IWdrawarrow");
}

lq::Rect XmlDrawArrow::bodyRect() const
{
    return lq::Rect();
}

void XmlDrawArrow::draw()
{
    lq::modelFrame(this, "draw", [&] {
        if (!lq::GraphicsContext::current())
            return;
        lq::BezierPath path;
        path.moveTo(_tailPoint);
        path.lineTo(_anchorPoint);
        strokeWith(path, thickness());
        if (!(_anchorPoint == _tailPoint)) {
            appendHead(path, _anchorPoint, std::atan2(_anchorPoint.y - _tailPoint.y, _anchorPoint.x - _tailPoint.x));
            strokeWith(path, thickness());
            path.fill();
        }
    });
}
