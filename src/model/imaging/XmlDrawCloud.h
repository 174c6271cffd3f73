#pragma once

#include "model/imaging/XmlDrawObject.h"
#include "platform/graphics/BezierPath.h"

#include <array>

// A thought-cloud callout: a bumpy outline scaled onto the body, with three
// bubbles shrinking toward the anchor.
class XmlDrawCloud final : public XmlDrawObject {
public:
    explicit XmlDrawCloud(Key key);

    static std::shared_ptr<XmlDrawCloud> create();
    static XmlDrawCloud* cast(XmlBase* object) { return dynamic_cast<XmlDrawCloud*>(object); }

    QString elementName() const override;
    bool hasAnchorPoint() const override { return true; }
    bool hasTextbox() const override { return true; }
    // The body inset by a ninth of its width and a seventh of its height.
    lq::Rect textRect() const override;
    void draw() override;

    // The centre of the circle of the radius on which the point lies at the
    // angle (degrees).
    lq::Point findCenterWithRadiusWithStartAngle(const lq::Point& p, float radius, float angle) const;
    // Appends one circular arc of `arc` degrees from the point, starting at
    // the angle, as one cubic curve; answers its end point.
    lq::Point addCurveToPathWithStartPointWithStartAngleWithArcWithRadiusClockwise(lq::BezierPath& path, const lq::Point& p,
                                                                                 float angle, float arc, float radius,
                                                                                 bool clockwise) const;
    // The outline in its design space of 400 x 300 units.
    const lq::BezierPath& outline() const { return cloudPath; }

private:
    struct Segment {
        float startAngle;
        float backtrack1;
        float segmentAngle;
        float backtrack2;
        float radius;
    };

    // Control-arm factor of a quarter circle.
    float magic = 0.552f;
    std::array<Segment, 11> segments;
    lq::BezierPath cloudPath;
};
