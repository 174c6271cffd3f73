#include "model/imaging/XmlDrawCircle.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawCircle::XmlDrawCircle(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawCircle> XmlDrawCircle::create()
{
    return make<XmlDrawCircle>();
}

QString XmlDrawCircle::elementName() const
{
    return QStringLiteral("IWdrawcircle");
}


void XmlDrawCircle::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::BezierPath path = lq::BezierPath::withOval(bodyRect());
        strokeWith(path, thickness());
    });
}
