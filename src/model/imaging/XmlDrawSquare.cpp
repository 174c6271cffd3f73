#include "model/imaging/XmlDrawSquare.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawSquare::XmlDrawSquare(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawSquare> XmlDrawSquare::create()
{
    return make<XmlDrawSquare>();
}

QString XmlDrawSquare::elementName() const
{
    return QStringLiteral("IWdrawsquare");
}


void XmlDrawSquare::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::BezierPath path = lq::BezierPath::withRect(bodyRect());
        strokeWith(path, thickness());
    });
}
