#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

namespace {

using Element = lq::BezierPath::Element;

QImage strokeInto(const lq::BezierPath& path, int w, int h, const QTransform& transform = QTransform())
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    lq::GraphicsContext::Scope scope(image);
    scope.context().concat(transform);
    scope.context().setColor(lq::Colour(1, 0, 0));
    path.stroke();
    return image;
}

bool painted(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).alpha() > 128;
}

double distance(const lq::Point& a, const lq::Point& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

TEST(GraphicsBezierPath, ArcFromPointToPointRoundsTheCorner)
{
    lq::BezierPath path;
    path.moveTo(lq::Point(0, 0));
    path.appendArcFromPointToPoint(lq::Point(10, 0), lq::Point(10, 10), 4);
    const QList<Element> elements = path.elements();
    ASSERT_EQ(elements.size(), 3);
    EXPECT_EQ(elements[1].kind, Element::LineTo);
    EXPECT_EQ(elements[1].points[0], lq::Point(6, 0)); // where the arc begins
    ASSERT_EQ(elements[2].kind, Element::CurveTo);
    const lq::Point end = elements[2].points[2];
    EXPECT_NEAR(end.x, 10, 1e-4);
    EXPECT_NEAR(end.y, 4, 1e-4);
    // The control arms of a quarter circle lie along the two lines.
    const double arm = 4.0 / 3.0 * std::tan(M_PI / 8) * 4;
    EXPECT_NEAR(elements[2].points[0].x, 6 + arm, 1e-4);
    EXPECT_NEAR(elements[2].points[0].y, 0, 1e-4);
    EXPECT_NEAR(elements[2].points[1].x, 10, 1e-4);
    EXPECT_NEAR(elements[2].points[1].y, 4 - arm, 1e-4);
    EXPECT_EQ(path.currentPoint(), end);
}

TEST(GraphicsBezierPath, ArcAroundASharpCornerStaysOnItsCircle)
{
    // A corner of about 11 degrees: the arc turns through nearly half a circle.
    const float radius = 2;
    lq::BezierPath path;
    path.moveTo(lq::Point(0, 0));
    path.appendArcFromPointToPoint(lq::Point(40, 0), lq::Point(0, 8), radius);
    const QList<Element> elements = path.elements();
    ASSERT_GE(elements.size(), 4); // the line and at least two curves
    const double half = std::atan2(8.0, 40.0) / 2;
    const lq::Point centre(static_cast<float>(40 - radius / std::tan(half)), radius);
    const lq::Point start = elements[1].points[0];
    EXPECT_NEAR(distance(start, centre), radius, 1e-3);
    EXPECT_NEAR(start.y, 0, 1e-4);
    for (int i = 2; i < elements.size(); ++i) {
        ASSERT_EQ(elements[i].kind, Element::CurveTo);
        EXPECT_NEAR(distance(elements[i].points[2], centre), radius, 1e-3);
    }
    // It ends on the line from the corner towards the second point.
    const lq::Point end = path.currentPoint();
    EXPECT_NEAR(end.y / (40 - end.x), 8.0 / 40.0, 1e-3);
}

TEST(GraphicsBezierPath, ArcWithoutACornerIsALine)
{
    struct Case {
        const char* what;
        lq::Point corner, towards;
        float radius;
    };
    const std::vector<Case> cases = {
        { "radius 0", { 10, 0 }, { 10, 10 }, 0 },
        { "negative radius", { 10, 0 }, { 10, 10 }, -3 },
        { "straight on", { 10, 0 }, { 20, 0 }, 4 },
        { "turning back", { 10, 0 }, { 5, 0 }, 4 },
        { "corner at the current point", { 0, 0 }, { 5, 5 }, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lq::BezierPath path;
        path.moveTo(lq::Point(0, 0));
        path.lineTo(lq::Point(0, 0)); // no length: left out
        path.appendArcFromPointToPoint(c.corner, c.towards, c.radius);
        for (const Element& e : path.elements())
            EXPECT_NE(e.kind, Element::CurveTo);
        EXPECT_EQ(path.currentPoint(), c.corner);
    }
    lq::BezierPath empty;
    empty.appendArcFromPointToPoint(lq::Point(3, 4), lq::Point(9, 9), 2);
    EXPECT_EQ(empty.currentPoint(), lq::Point(3, 4));
}

TEST(GraphicsBezierPath, DashesWithAPhase)
{
    lq::BezierPath line;
    line.moveTo(lq::Point(0, 5));
    line.lineTo(lq::Point(40, 5));
    line.setLineWidth(2);
    line.setLineDash({ 4, 4 }, 0);
    QImage dashed = strokeInto(line, 40, 10);
    EXPECT_TRUE(painted(dashed, 1, 5));
    EXPECT_FALSE(painted(dashed, 5, 5));
    EXPECT_TRUE(painted(dashed, 9, 5));

    line.setLineDash({ 4, 4 }, 4); // half a period on: gaps and dashes swap
    dashed = strokeInto(line, 40, 10);
    EXPECT_FALSE(painted(dashed, 1, 5));
    EXPECT_TRUE(painted(dashed, 5, 5));

    line.setLineDash({ 6 }, 0); // one length: dashes and gaps alike
    dashed = strokeInto(line, 40, 10);
    EXPECT_TRUE(painted(dashed, 2, 5));
    EXPECT_FALSE(painted(dashed, 8, 5));
    EXPECT_TRUE(painted(dashed, 14, 5));

    line.setLineDash({}, 0);
    dashed = strokeInto(line, 40, 10);
    EXPECT_TRUE(painted(dashed, 5, 5));
}

TEST(GraphicsBezierPath, CapsAndWidthsInDesignUnits)
{
    lq::BezierPath line;
    line.moveTo(lq::Point(10, 10));
    line.lineTo(lq::Point(30, 10));
    line.setLineWidth(4);
    QImage butt = strokeInto(line, 40, 20);
    EXPECT_FALSE(painted(butt, 9, 10));
    line.setLineCapStyle(lq::BezierPath::LineCap::Square);
    QImage square = strokeInto(line, 40, 20);
    EXPECT_TRUE(painted(square, 9, 10)); // half the width past each end
    EXPECT_TRUE(painted(square, 31, 10));
    EXPECT_FALSE(painted(square, 33, 10));

    // The width is in the units of the transform: 2 units at scale 3 are 6 pixels.
    lq::BezierPath thin;
    thin.moveTo(lq::Point(0, 5));
    thin.lineTo(lq::Point(20, 5));
    thin.setLineWidth(2);
    const QImage scaled = strokeInto(thin, 60, 30, QTransform::fromScale(3, 3));
    EXPECT_TRUE(painted(scaled, 30, 13));
    EXPECT_TRUE(painted(scaled, 30, 16));
    EXPECT_FALSE(painted(scaled, 30, 11));
    EXPECT_FALSE(painted(scaled, 30, 18));
}

TEST(GraphicsBezierPath, FillsClipsAndTransforms)
{
    // Two overlapping squares wound the same way: the overlap is inside.
    lq::BezierPath squares = lq::BezierPath::withRect(lq::Rect(0, 0, 10, 10));
    squares.appendRect(lq::Rect(5, 5, 10, 10));
    EXPECT_TRUE(squares.containsPoint(lq::Point(7, 7)));

    // Mirrored and moved, as the picture places its shapes.
    lq::BezierPath triangle;
    triangle.moveTo(lq::Point(0, 0));
    triangle.lineTo(lq::Point(10, 0));
    triangle.lineTo(lq::Point(5, 10));
    triangle.closePath();
    triangle.transformUsingAffineTransform(QTransform::fromScale(1, -1) * QTransform::fromTranslate(20, 30));
    EXPECT_EQ(triangle.elements()[2].points[0], lq::Point(25, 20));
    EXPECT_EQ(triangle.controlPointBounds(), lq::Rect(20, 20, 10, 10));

    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        lq::GraphicsContext::Scope scope(image);
        scope.context().setColor(lq::Colour(0, 0, 1));
        triangle.addClip();
        lq::BezierPath::withRect(lq::Rect(0, 0, 40, 40)).fill();
    }
    EXPECT_TRUE(painted(image, 25, 28));
    EXPECT_FALSE(painted(image, 21, 21));
    EXPECT_FALSE(painted(image, 5, 5));

    // Without a current context nothing is drawn and nothing fails.
    triangle.fill();
    triangle.stroke();
    triangle.addClip();
    lq::BezierPath oval = lq::BezierPath::withOval(lq::Rect(0, 0, 10, 20));
    EXPECT_FALSE(oval.isEmpty());
    oval.removeAllPoints();
    EXPECT_TRUE(oval.isEmpty());
}
