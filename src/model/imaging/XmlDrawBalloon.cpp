#include "model/imaging/XmlDrawBalloon.h"

#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>
#include "platform/ExceptionFrame.h"

XmlDrawBalloon::XmlDrawBalloon(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawBalloon> XmlDrawBalloon::create()
{
    return make<XmlDrawBalloon>();
}

QString XmlDrawBalloon::elementName() const
{
    return QStringLiteral("IWdrawballoon");
}

lq::Rect XmlDrawBalloon::textRect() const
{
    const lq::Rect body = bodyRect();
    const float inset = std::min(body.width(), body.height()) / 16.0f;
    return body.inset(inset, inset);
}

void XmlDrawBalloon::draw()
{
    lq::modelFrame(this, "draw", [&] {
        if (!lq::GraphicsContext::current())
            return;
        const lq::Rect body = bodyRect();
        const float x = body.x();
        const float y = body.y();
        const float w = body.width();
        const float h = body.height();
        const float s = std::min(w, h);
        const float r = s * 0.125f;
        const float m = s * 0.0625f;
        float gx = 0;
        float gy = 0;
        if (w > h)
            gx = std::max(0.0f, (w - h) / 2 - r - m);
        else
            gy = std::max(0.0f, (h - w) / 2 - r - m);

        const lq::Point anchor = _anchorPoint;
        float t = 4 * pi;
        float k = pi / 4;
        if (!body.contains(anchor)) {
            t = std::atan2(anchor.y - (y + h / 2), anchor.x - (x + w / 2));
            if (t < 0)
                t += 2 * pi;
            k = std::atan2(h / 2, w / 2);
        }
        // The tail: out of the side at the first point, to the anchor, back in at the last.
        lq::BezierPath path;
        const auto tail = [&](float from, float to, lq::Point out, lq::Point back) {
            if (from <= t && t < to) {
                path.lineTo(out);
                path.lineTo(anchor);
                path.lineTo(back);
            }
        };
        path.moveTo(lq::Point(x + w, y + h / 2));
        tail(0, k, lq::Point(x + w, y + h / 2 + gy), lq::Point(x + w, y + h - r - m));
        path.appendArcFromPointToPoint(lq::Point(x + w, y + h), lq::Point(x, y + h), r);
        tail(k, pi / 2, lq::Point(x + w - r - m, y + h), lq::Point(x + w / 2 + gx, y + h));
        path.lineTo(lq::Point(x + w / 2, y + h));
        tail(pi / 2, pi - k, lq::Point(x + w / 2 - gx, y + h), lq::Point(x + r + m, y + h));
        path.appendArcFromPointToPoint(lq::Point(x, y + h), lq::Point(x, y), r);
        tail(pi - k, pi, lq::Point(x, y + h - r - m), lq::Point(x, y + h / 2 + gy));
        path.lineTo(lq::Point(x, y + h / 2));
        tail(pi, pi + k, lq::Point(x, y + h / 2 - gy), lq::Point(x, y + r + m));
        path.appendArcFromPointToPoint(lq::Point(x, y), lq::Point(x + w, y), r);
        tail(pi + k, 3 * pi / 2, lq::Point(x + r + m, y), lq::Point(x + w / 2 - gx, y));
        path.lineTo(lq::Point(x + w / 2, y));
        tail(3 * pi / 2, 2 * pi - k, lq::Point(x + w / 2 + gx, y), lq::Point(x + w - r - m, y));
        path.appendArcFromPointToPoint(lq::Point(x + w, y), lq::Point(x + w, y + h), r);
        tail(2 * pi - k, 2 * pi, lq::Point(x + w, y + r + m), lq::Point(x + w, y + h / 2 - gy));
        path.closePath();

        fillThenStroke(path, thickness());
        DrawTextContents();
    });
}
