#include "model/imaging/XmlDrawLabel.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawLabel::XmlDrawLabel(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLabel> XmlDrawLabel::create()
{
    return make<XmlDrawLabel>();
}

QString XmlDrawLabel::elementName() const
{
    return QStringLiteral("IWdrawlabel");
}


void XmlDrawLabel::draw()
{
    lq::modelFrame(this, "draw", [&] {
        if (!lq::GraphicsContext::current())
            return;
        const lq::Rect body = bodyRect();
        const lq::Point centre(body.midX(), body.midY());
        lq::BezierPath path;
        path.moveTo(centre);
        path.lineTo(_anchorPoint);
        strokeWith(path, thickness());
        if (!(_anchorPoint == centre)) {
            appendHead(path, _anchorPoint, std::atan2(_anchorPoint.y - centre.y, _anchorPoint.x - centre.x));
            lq::GraphicsContext::current()->setColor(foregroundColor());
            path.fill();
            strokeWith(path, thickness());
        }
        // The box covers the pointer's start.
        path.removeAllPoints();
        path.appendRect(body);
        fillThenStroke(path, thickness());
        DrawTextContents();
    });
}
