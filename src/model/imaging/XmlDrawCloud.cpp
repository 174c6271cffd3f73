#include "model/imaging/XmlDrawCloud.h"

#include "platform/ExceptionFrame.h"
#include "platform/graphics/GraphicsContext.h"

#include <cmath>

XmlDrawCloud::XmlDrawCloud(Key key)
    : XmlDrawObject(key)
    , segments { {
          { 225, 0, 90, 0, 50 },
          { 180, 10, 120, 10, 65 },
          { 135, 0, 90, 0, 70 },
          { 135, 10, 100, 0, 60 },
          { 110, 10, 110, 0, 70 },
          { 45, 10, 100, 10, 65 },
          { 45, 0, 90, 0, 50 },
          { 0, 20, 135, 0, 65 },
          { 305, 10, 90, 10, 80 },
          { 305, 0, 90, 0, 100 },
          { 250, 20, 130, 10, 73 },
      } }
{
    lq::Point p(25, 152);
    cloudPath.moveTo(p);
    for (const Segment& s : segments) {
        p = addCurveToPathWithStartPointWithStartAngleWithArcWithRadiusClockwise(cloudPath, p, s.startAngle, s.backtrack1,
                                                                                 s.radius, false);
        p = addCurveToPathWithStartPointWithStartAngleWithArcWithRadiusClockwise(
            cloudPath, p, s.startAngle + s.backtrack1, s.segmentAngle, s.radius, true);
        p = addCurveToPathWithStartPointWithStartAngleWithArcWithRadiusClockwise(
            cloudPath, p, s.startAngle + s.backtrack1 - s.segmentAngle, s.backtrack2, s.radius, false);
    }
    cloudPath.closePath();
}

std::shared_ptr<XmlDrawCloud> XmlDrawCloud::create()
{
    return make<XmlDrawCloud>();
}

QString XmlDrawCloud::elementName() const
{
    return QStringLiteral("IWdrawcloud");
}

lq::Rect XmlDrawCloud::textRect() const
{
    const lq::Rect body = bodyRect();
    return body.inset(body.width() / 9.0f, body.height() / 7.0f);
}

lq::Point XmlDrawCloud::findCenterWithRadiusWithStartAngle(const lq::Point& p, float radius, float angle) const
{
    const float theta = (angle - 180.0f) / 180.0f * pi;
    return lq::Point(p.x + radius * std::cos(theta), p.y + radius * std::sin(theta));
}

lq::Point XmlDrawCloud::addCurveToPathWithStartPointWithStartAngleWithArcWithRadiusClockwise(
    lq::BezierPath& path, const lq::Point& p, float angle, float arc, float radius, bool clockwise) const
{
    const float d = clockwise ? 1.0f : -1.0f;
    const auto radians = [this](float degrees) { return degrees / 180.0f * pi; };
    const float arm = magic / 90.0f * arc * radius;
    const lq::Point c = findCenterWithRadiusWithStartAngle(p, radius, angle);
    const float end = angle - arc * d;
    const lq::Point e(c.x + radius * std::cos(radians(end)), c.y + radius * std::sin(radians(end)));
    const lq::Point control1(p.x + arm * std::cos(radians(angle - 90.0f * d)), p.y + arm * std::sin(radians(angle - 90.0f * d)));
    const lq::Point control2(e.x + arm * std::cos(radians(end + 90.0f * d)), e.y + arm * std::sin(radians(end + 90.0f * d)));
    path.curveTo(e, control1, control2);
    return e;
}

void XmlDrawCloud::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const lq::Rect body = bodyRect();
        const float w = body.width();
        const float h = body.height();
        const lq::Point a = _anchorPoint;
        const float dx = body.midX() - a.x;
        const float dy = body.midY() - a.y;
        const auto bubble = [&](float divisor, lq::Point centre) {
            const float bw = w / divisor;
            const float bh = h / divisor;
            lq::BezierPath oval = lq::BezierPath::withOval(lq::Rect(centre.x - bw / 2, centre.y - bh / 2, bw, bh));
            fillThenStroke(oval, thickness());
        };
        bubble(5, lq::Point(a.x + dx / 3, a.y + dy / 3));
        bubble(7, lq::Point(a.x + dx / 7, a.y + dy / 7));
        bubble(9, a);

        {
            lq::GraphicsContext::SavedState saved;
            context->concat(QTransform::fromScale(w / 400.0, h / 300.0) * QTransform::fromTranslate(body.x(), body.y()));
            lq::BezierPath outline = cloudPath;
            fillThenStroke(outline, thickness() * 3);
        }
        context->setColor(foregroundColor());
        DrawTextContents();
    });
}
