#include "model/imaging/XmlShape.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Element = lq::BezierPath::Element;

// The end points of the path's segments, in order.
std::vector<lq::Point> vertices(const lq::BezierPath& path)
{
    std::vector<lq::Point> points;
    for (const Element& e : path.elements())
        points.push_back(e.kind == Element::CurveTo ? e.points[2] : e.points[0]);
    return points;
}

bool hasCurves(const lq::BezierPath& path)
{
    for (const Element& e : path.elements())
        if (e.kind == Element::CurveTo)
            return true;
    return false;
}

void expectVertices(const lq::BezierPath& path, const std::vector<lq::Point>& expected)
{
    const std::vector<lq::Point> actual = vertices(path);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-3) << "vertex " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-3) << "vertex " << i;
    }
}

lq::BezierPath pathOf(int shapeNumber, int attribute, int w, int h)
{
    auto shape = XmlShape::create();
    shape->setShape(static_cast<XmlShape::ShapeKind>(shapeNumber));
    shape->setAttribute(attribute);
    std::optional<lq::BezierPath> path = shape->makePathWithWidthAndHeight(w, h);
    EXPECT_TRUE(path.has_value());
    return path.value_or(lq::BezierPath());
}

} // namespace

TEST(XmlShape, PolygonOutlines)
{
    // Closing a subpath adds the line back to its start, so the start comes
    // again at the end of every closed outline (the rectangle has it already).
    struct Case {
        const char* what;
        int shape, attribute, w, h;
        std::vector<lq::Point> expected;
    };
    const std::vector<Case> cases = {
        { "rectangle", 0, 0, 40, 30, { { 0, 0 }, { 40, 0 }, { 40, 30 }, { 0, 30 }, { 0, 0 } } },
        { "rounded rectangle of radius 0 has sharp corners", 2, 0, 40, 30,
          { { 20, 30 }, { 0, 30 }, { 0, 0 }, { 40, 0 }, { 40, 30 }, { 20, 30 } } },
        // The doubled corner points of a cut of 0 are lines of no length, which
        // the path leaves out.
        { "cut corners of 0 are the rectangle", 3, 0, 40, 30, { { 0, 0 }, { 0, 30 }, { 40, 30 }, { 40, 0 }, { 0, 0 } } },
        { "cut corners of 10 percent", 3, 10, 40, 30,
          { { 3, 0 }, { 0, 3 }, { 0, 27 }, { 3, 30 }, { 37, 30 }, { 40, 27 }, { 40, 3 }, { 37, 0 }, { 3, 0 } } },
        { "parallelogram slanted at 45 degrees", 4, 45, 40, 10, { { 0, 0 }, { 10, 10 }, { 40, 10 }, { 30, 0 }, { 0, 0 } } },
        { "parallelogram slanted the other way", 4, -45, 40, 10, { { 10, 0 }, { 0, 10 }, { 30, 10 }, { 40, 0 }, { 10, 0 } } },
        { "a steep parallelogram stops at half the width", 4, 89, 9, 100, { { 0, 0 }, { 4, 100 }, { 9, 100 }, { 5, 0 }, { 0, 0 } } },
        { "trapezoid narrowing the bottom", 5, 45, 40, 10, { { 10, 0 }, { 30, 0 }, { 40, 10 }, { 0, 10 }, { 10, 0 } } },
        { "trapezoid narrowing the top", 5, -45, 40, 10, { { 0, 0 }, { 40, 0 }, { 30, 10 }, { 10, 10 }, { 0, 0 } } },
        { "diamond with vertices at the middles of the sides", 6, 0, 40, 30,
          { { 20, 30 }, { 40, 15 }, { 20, 0 }, { 0, 15 }, { 20, 30 } } },
        { "diamond turned a quarter starts at the right middle", 6, 90, 40, 30,
          { { 40, 15 }, { 20, 0 }, { 0, 15 }, { 20, 30 }, { 40, 15 } } },
        { "hexagon of 0 adds the middle points", 7, 0, 40, 30,
          { { 0, 0 }, { 0, 15 }, { 0, 30 }, { 40, 30 }, { 40, 15 }, { 40, 0 }, { 0, 0 } } },
        { "hexagon with pointed sides", 7, 45, 40, 30,
          { { 15, 0 }, { 0, 15 }, { 15, 30 }, { 25, 30 }, { 40, 15 }, { 25, 0 }, { 15, 0 } } },
        { "hexagon with notched sides", 7, -45, 40, 30,
          { { 0, 0 }, { 15, 15 }, { 0, 30 }, { 40, 30 }, { 25, 15 }, { 40, 0 }, { 0, 0 } } },
        { "notched rectangle", 11, 10, 40, 30,
          { { 0, 0 }, { 3, 0 }, { 3, 1.5f }, { 37, 1.5f }, { 37, 0 }, { 40, 0 }, { 40, 3 }, { 38.5f, 3 }, { 38.5f, 27 },
            { 40, 27 }, { 40, 30 }, { 37, 30 }, { 37, 28.5f }, { 3, 28.5f }, { 3, 30 }, { 0, 30 }, { 0, 27 },
            { 1.5f, 27 }, { 1.5f, 3 }, { 0, 3 }, { 0, 0 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const lq::BezierPath path = pathOf(c.shape, c.attribute, c.w, c.h);
        EXPECT_FALSE(hasCurves(path));
        expectVertices(path, c.expected);
    }
}

TEST(XmlShape, RegularPolygonsStandOnTheOval)
{
    const int w = 200, h = 100;
    // A triangle: apex at the top middle (y grows upwards), two vertices below.
    const lq::BezierPath triangle = pathOf(9, 3, w, h);
    std::vector<lq::Point> points = vertices(triangle);
    ASSERT_EQ(points.size(), 4u); // three vertices and the line back to the first
    bool apex = false;
    for (const lq::Point& p : points) {
        apex = apex || (std::abs(p.x - w / 2) < 1e-3 && std::abs(p.y - h) < 1e-3);
        EXPECT_LE(p.y, h + 1e-3);
    }
    EXPECT_TRUE(apex);

    // Every polygon's vertices lie on the inscribed oval; even ones have a flat top.
    for (int n : { 3, 4, 5, 6, 8, 11 }) {
        SCOPED_TRACE(n);
        points = vertices(pathOf(9, n, w, h));
        EXPECT_GE(points.size(), static_cast<size_t>(n + 1));
        float top = -1;
        int atTop = 0;
        for (const lq::Point& p : points) {
            const double dx = (p.x - w / 2.0) / (w / 2.0), dy = (p.y - h / 2.0) / (h / 2.0);
            EXPECT_NEAR(dx * dx + dy * dy, 1.0, 1e-4);
            top = std::max(top, p.y);
        }
        for (size_t i = 0; i + 1 < points.size(); ++i) // the closing point repeats the first
            atTop += std::abs(points[i].y - top) < 1e-3 ? 1 : 0;
        if (n % 2 == 0) {
            EXPECT_GE(atTop, 2);
        }
    }

    // The square is inscribed in the oval, with a flat top.
    expectVertices(pathOf(9, 4, 100, 100),
                   { { 85.3553f, 85.3553f }, { 85.3553f, 14.6447f }, { 14.6447f, 14.6447f }, { 14.6447f, 85.3553f },
                     { 85.3553f, 85.3553f } });
}

TEST(XmlShape, PolygonWithoutSidesIsEmpty)
{
    for (int sides : { 0, -1, -5, std::numeric_limits<int>::min() }) {
        SCOPED_TRACE(sides);
        const lq::BezierPath path = pathOf(9, sides, 100, 80);
        EXPECT_TRUE(path.isEmpty());
    }
    // A count far beyond any polygon one could tell from an oval is limited.
    const lq::BezierPath many = pathOf(9, std::numeric_limits<int>::max(), 100, 80);
    EXPECT_LE(many.elementCount(), XmlShape::maximumPolygonSides + 2);
    EXPECT_GE(many.elementCount(), XmlShape::maximumPolygonSides);
}

TEST(XmlShape, StarAlternatesBetweenTwoRadii)
{
    const int w = 100, h = 60;
    const auto radii = [&](int depth) {
        std::vector<double> r;
        for (const lq::Point& p : vertices(pathOf(10, depth, w, h))) {
            const double dx = (p.x - w / 2.0) / (w / 2.0), dy = (p.y - h / 2.0) / (h / 2.0);
            r.push_back(std::sqrt(dx * dx + dy * dy));
        }
        return r;
    };
    // The first vertex is the top middle (y grows upwards), an outer one.
    const std::vector<lq::Point> points = vertices(pathOf(10, 40, w, h));
    EXPECT_EQ(points.front(), lq::Point(50, 60));

    const std::vector<double> flat = radii(0);
    ASSERT_EQ(flat.size(), 31u); // the start, 29 vertices, the line back
    for (double r : flat)
        EXPECT_NEAR(r, 1.0, 1e-4);
    const std::vector<double> deep = radii(100);
    for (size_t i = 1; i < 30; ++i)
        EXPECT_NEAR(deep[i], i % 2 == 1 ? 0.0 : 1.0, 1e-4) << i;
    const std::vector<double> half = radii(40);
    EXPECT_NEAR(half[1], 0.6, 1e-4);
    EXPECT_NEAR(half[2], 1.0, 1e-4);
}

TEST(XmlShape, CurvedOutlines)
{
    // Oval and heart are curves within the rectangle; an odd width puts the
    // heart's tip at (w - 1) / 2.
    const lq::BezierPath oval = pathOf(1, 0, 40, 30);
    EXPECT_TRUE(hasCurves(oval));
    EXPECT_NEAR(oval.bounds().x(), 0, 1e-3);
    EXPECT_NEAR(oval.bounds().y(), 0, 1e-3);
    EXPECT_NEAR(oval.bounds().maxX(), 40, 1e-3);
    EXPECT_NEAR(oval.bounds().maxY(), 30, 1e-3);

    const lq::BezierPath heart = pathOf(8, 0, 41, 70);
    ASSERT_TRUE(hasCurves(heart));
    const std::vector<lq::Point> points = vertices(heart);
    EXPECT_EQ(points.front(), lq::Point(20, 0));
    EXPECT_EQ(points[1], lq::Point(0, 50));     // 5h/7
    EXPECT_EQ(points[2], lq::Point(10, 70));    // w/4, h
    EXPECT_EQ(points[3], lq::Point(20, 60));    // w/2, 6h/7
    EXPECT_EQ(points[6], lq::Point(20, 0));
    EXPECT_TRUE(heart.containsPoint(lq::Point(20, 30)));

    // A rounded rectangle's corners are arcs of the radius, within the rectangle.
    const lq::BezierPath rounded = pathOf(2, 20, 100, 50); // radius 10
    EXPECT_TRUE(hasCurves(rounded));
    const lq::Rect bounds = rounded.bounds();
    EXPECT_NEAR(bounds.x(), 0, 1e-3);
    EXPECT_NEAR(bounds.maxX(), 100, 1e-3);
    EXPECT_NEAR(bounds.maxY(), 50, 1e-3);
    EXPECT_FALSE(rounded.containsPoint(lq::Point(1, 1)));
    EXPECT_TRUE(rounded.containsPoint(lq::Point(5, 25)));
}

TEST(XmlShape, UnknownShapeHasNoOutline)
{
    auto shape = XmlShape::create();
    for (int number : { 12, -1, 1000 }) {
        shape->setShape(static_cast<XmlShape::ShapeKind>(number));
        EXPECT_FALSE(shape->makePathWithWidthAndHeight(50, 50).has_value()) << number;
    }
}

TEST(XmlShape, AttributeMeasures)
{
    auto shape = XmlShape::create();
    shape->setAttribute(25);
    EXPECT_DOUBLE_EQ(shape->getRadiusFromWidthAndHeight(80, 200), 20.0); // of the width
    EXPECT_DOUBLE_EQ(shape->getRadiusFromWidthAndHeight(200, 80), 20.0); // of the height
    shape->setAttribute(45);
    EXPECT_NEAR(shape->getLengthFromAngle(12), 12.0, 1e-9);
}

TEST(XmlShape, ElementTextAndChangeMarks)
{
    FakeDocument document;
    auto site = XmlSite::create();
    site->setDocument(&document);
    auto shape = XmlShape::create();
    shape->setParent(site.get());
    document.changes = 0;

    shape->setShape(XmlShape::ShapeKind::Polygon);
    shape->setAttribute(-7);
    EXPECT_EQ(document.changes, 2);
    const QString xml = shape->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral("<IWshape shape=\"9\" attribute=\"-7\"/>"))) << xml.toStdString();

    XmlBasePtr read = XmlBase::createWithXmlRootDir(xml, QString());
    auto* copy = XmlShape::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->shape(), XmlShape::ShapeKind::Polygon);
    EXPECT_EQ(copy->attribute(), -7);
    shape->setParent(nullptr);
    site->setDocument(nullptr);
}
