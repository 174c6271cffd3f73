#include "platform/Colour.h"
#include "platform/Geometry.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <vector>

namespace lq {
// Internal linkage: other test files may print geometry their own way.
[[maybe_unused]] static void PrintTo(const Rect& r, std::ostream* os)
{
    *os << r.toString().toStdString();
}
[[maybe_unused]] static void PrintTo(const Point& p, std::ostream* os)
{
    *os << p.toString().toStdString();
}
[[maybe_unused]] static void PrintTo(const Size& s, std::ostream* os)
{
    *os << s.toString().toStdString();
}
} // namespace lq

using lq::Point;
using lq::Rect;
using lq::Size;

TEST(Geometry, AccessorsAndEmptiness)
{
    const Rect r(10, 20, 30, 40);
    EXPECT_EQ(r.minX(), 10);
    EXPECT_EQ(r.midX(), 25);
    EXPECT_EQ(r.maxX(), 40);
    EXPECT_EQ(r.minY(), 20);
    EXPECT_EQ(r.midY(), 40);
    EXPECT_EQ(r.maxY(), 60);
    EXPECT_EQ(r, Rect(Point(10, 20), Size(30, 40)));
    EXPECT_NE(r, Rect(10, 20, 30, 41));

    EXPECT_TRUE(Rect().isZero());
    EXPECT_TRUE(Rect().isEmpty());
    EXPECT_FALSE(r.isEmpty());
    EXPECT_TRUE(Rect(5, 5, 0, 10).isEmpty());
    EXPECT_TRUE(Rect(5, 5, 10, -1).isEmpty());
    EXPECT_FALSE(Rect(5, 5, 0, 10).isZero());
}

TEST(Geometry, UnionIgnoresEmptyRectangles)
{
    struct Case {
        const char* what;
        Rect a, b, expected;
    };
    const std::vector<Case> cases = {
        { "two rectangles", Rect(0, 0, 10, 10), Rect(20, 5, 10, 20), Rect(0, 0, 30, 25) },
        { "one inside the other", Rect(0, 0, 100, 100), Rect(10, 10, 5, 5), Rect(0, 0, 100, 100) },
        { "negative origins", Rect(-10, -20, 5, 5), Rect(0, 0, 1, 1), Rect(-10, -20, 11, 21) },
        { "running union from the zero rectangle", Rect(), Rect(50, 60, 10, 10), Rect(50, 60, 10, 10) },
        { "zero width on the left", Rect(-100, -100, 0, 500), Rect(1, 2, 3, 4), Rect(1, 2, 3, 4) },
        { "zero height on the right", Rect(1, 2, 3, 4), Rect(500, 500, 10, 0), Rect(1, 2, 3, 4) },
        { "negative width", Rect(1, 2, 3, 4), Rect(0, 0, -10, 10), Rect(1, 2, 3, 4) },
        { "both empty", Rect(5, 5, 0, 3), Rect(7, 7, 3, 0), Rect() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.a.united(c.b), c.expected);
        EXPECT_EQ(c.b.united(c.a), c.expected);
    }
}

TEST(Geometry, IntersectionOfDisjointRectanglesIsZero)
{
    struct Case {
        const char* what;
        Rect a, b, expected;
        bool intersects;
    };
    const std::vector<Case> cases = {
        { "overlap", Rect(0, 0, 10, 10), Rect(5, 6, 10, 10), Rect(5, 6, 5, 4), true },
        { "contained", Rect(0, 0, 100, 100), Rect(10, 20, 5, 5), Rect(10, 20, 5, 5), true },
        { "apart", Rect(0, 0, 10, 10), Rect(20, 20, 5, 5), Rect(), false },
        { "apart in y only", Rect(0, 0, 10, 10), Rect(0, 30, 10, 5), Rect(), false },
        { "touching edges", Rect(0, 0, 10, 10), Rect(10, 0, 10, 10), Rect(), false },
        { "touching corners", Rect(0, 0, 10, 10), Rect(10, 10, 10, 10), Rect(), false },
        { "empty inside", Rect(0, 0, 10, 10), Rect(5, 5, 0, 2), Rect(5, 5, 0, 2), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.a.intersected(c.b), c.expected);
        EXPECT_EQ(c.b.intersected(c.a), c.expected);
        EXPECT_EQ(c.a.intersects(c.b), c.intersects);
        EXPECT_EQ(c.b.intersects(c.a), c.intersects);
    }
}

TEST(Geometry, PointIsInsideOnMinEdgesButNotOnMaxEdges)
{
    const Rect r(10, 20, 30, 40);
    struct Case {
        Point p;
        bool inside;
    };
    const std::vector<Case> cases = {
        { Point(10, 20), true }, // the min corner
        { Point(10, 59.9f), true },
        { Point(39.9f, 20), true },
        { Point(25, 40), true },
        { Point(40, 30), false }, // on the max x edge
        { Point(20, 60), false }, // on the max y edge
        { Point(40, 60), false },
        { Point(9.99f, 30), false },
        { Point(20, 19.99f), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p.toString().toStdString());
        EXPECT_EQ(r.contains(c.p), c.inside);
    }
    // An empty rectangle holds no point, not even its origin.
    EXPECT_FALSE(Rect(10, 20, 0, 40).contains(Point(10, 20)));
}

TEST(Geometry, ContainsRectangle)
{
    const Rect r(0, 0, 100, 50);
    EXPECT_TRUE(r.contains(r));
    EXPECT_TRUE(r.contains(Rect(10, 10, 90, 40)));
    EXPECT_FALSE(r.contains(Rect(10, 10, 91, 40)));
    EXPECT_FALSE(r.contains(Rect(-1, 0, 10, 10)));
    EXPECT_FALSE(r.contains(Rect(10, 10, 0, 5))); // empty
}

TEST(Geometry, IntegralIsSmallestWholeRectangleContainingIt)
{
    struct Case {
        Rect r, expected;
    };
    const std::vector<Case> cases = {
        { Rect(0.5f, 1.5f, 2, 2), Rect(0, 1, 3, 3) },
        { Rect(0.25f, 0.25f, 0.5f, 0.5f), Rect(0, 0, 1, 1) },
        { Rect(-0.5f, -1.2f, 1, 1), Rect(-1, -2, 2, 2) },
        { Rect(3, 4, 5, 6), Rect(3, 4, 5, 6) },
        { Rect(1.9f, 0, 0.2f, 1), Rect(1, 0, 2, 1) },
        // Empty rectangles become the zero rectangle, wherever they lie.
        { Rect(3.5f, 4, 0, 5), Rect() },
        { Rect(3.5f, 4, 5, -2), Rect() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r.toString().toStdString());
        EXPECT_EQ(c.r.integral(), c.expected);
    }
}

TEST(Geometry, InsetAndOffset)
{
    const Rect r(10, 10, 100, 50);
    EXPECT_EQ(r.inset(5, 10), Rect(15, 20, 90, 30));
    EXPECT_EQ(r.inset(-10, -10), Rect(0, 0, 120, 70));
    EXPECT_EQ(r.offset(-10, 5), Rect(0, 15, 100, 50));
}

TEST(Geometry, QtConversions)
{
    const Rect r(1.5f, -2, 3, 4.25f);
    EXPECT_EQ(r.toQRectF(), QRectF(1.5, -2, 3, 4.25));
    EXPECT_EQ(Rect::fromQRectF(r.toQRectF()), r);
    EXPECT_EQ(Point::fromQPointF(QPointF(3.5, -1)), Point(3.5f, -1));
    EXPECT_EQ(Point(3.5f, -1).toQPointF(), QPointF(3.5, -1));
    EXPECT_EQ(Size::fromQSizeF(QSizeF(7, 8.5)), Size(7, 8.5f));
    EXPECT_EQ(Size(7, 8.5f).toQSizeF(), QSizeF(7, 8.5));
}

TEST(Geometry, TextForms)
{
    struct Case {
        Rect r;
        const char* text;
    };
    const std::vector<Case> cases = {
        { Rect(1.5f, 2, 3, 4), "{{1.5, 2}, {3, 4}}" },
        { Rect(0, 0, 199, 200), "{{0, 0}, {199, 200}}" },
        { Rect(-1, 0.25f, 1e6f, 1234567), "{{-1, 0.25}, {1e+06, 1.23457e+06}}" },
        { Rect(), "{{0, 0}, {0, 0}}" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.r.toString(), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(Point(0.1f, -7).toString(), QStringLiteral("{0.1, -7}"));
    EXPECT_EQ(Size(640, 480.5f).toString(), QStringLiteral("{640, 480.5}"));
}

TEST(Geometry, ParsersReadNumbersInOrderAndZeroTheMissing)
{
    struct Case {
        QString text;
        Rect expected;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("{{1.5, 2}, {3, 4}}"), Rect(1.5f, 2, 3, 4) },
        { QStringLiteral("{{1, 2}}"), Rect(1, 2, 0, 0) },
        { QStringLiteral("{{-1.5, 2e1}, {+3, .5}}"), Rect(-1.5f, 20, 3, 0.5f) },
        { QStringLiteral("{{1e+06, 1.23457e+06}, {0, 0}}"), Rect(1e6f, 1234570, 0, 0) },
        { QStringLiteral("1 2 3 4 5"), Rect(1, 2, 3, 4) },
        { QStringLiteral("{{x, 2}, {-, 4}}"), Rect(2, 4, 0, 0) },
        // Hexadecimal and named values are not numbers; their digits are.
        { QStringLiteral("{{0x10, inf}, {nan, 3}}"), Rect(0, 10, 3, 0) },
        // What does not fit a float reads as 0.
        { QStringLiteral("{{1e999, -1e40}, {5, 6}}"), Rect(0, 0, 5, 6) },
        { QStringLiteral("garbage"), Rect() },
        { QStringLiteral(""), Rect() },
        { QString(), Rect() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(Rect::fromString(c.text), c.expected);
    }
    EXPECT_EQ(Point::fromString(QStringLiteral("{3.25, -4}")), Point(3.25f, -4));
    EXPECT_EQ(Point::fromString(QStringLiteral("{3.25}")), Point(3.25f, 0));
    EXPECT_EQ(Size::fromString(QStringLiteral("{640, 480}")), Size(640, 480));
    EXPECT_EQ(Size::fromString(QStringLiteral("")), Size());
}

TEST(Geometry, TextFormsRoundTrip)
{
    const std::vector<Rect> rects = { Rect(1.5f, 2, 3, 4), Rect(-120, 0.125f, 1024, 768), Rect(0.5f, 1e-3f, 3e5f, 2) };
    for (const Rect& r : rects) {
        SCOPED_TRACE(r.toString().toStdString());
        EXPECT_EQ(Rect::fromString(r.toString()), r);
        EXPECT_EQ(Point::fromString(r.origin.toString()), r.origin);
        EXPECT_EQ(Size::fromString(r.size.toString()), r.size);
    }
}

// The device colour goes to QColor only for painting; the conversions keep
// what QColor's 16-bit channels can hold.
TEST(Colour, QColorConversions)
{
    using lq::Colour;
    const QColor painted = Colour(1, 0.5f, 0, 0.25f).toQColor();
    EXPECT_TRUE(painted.isValid());
    EXPECT_NEAR(painted.redF(), 1.0, 1e-4);
    EXPECT_NEAR(painted.greenF(), 0.5, 1e-4);
    EXPECT_NEAR(painted.blueF(), 0.0, 1e-4);
    EXPECT_NEAR(painted.alphaF(), 0.25, 1e-4);

    // Out-of-range components are clamped rather than turning into extended RGB.
    const QColor clamped = Colour(2, -1, 0.5f, 1.5f).toQColor();
    EXPECT_EQ(clamped, QColor::fromRgbF(1.0f, 0.0f, 0.5f, 1.0f)); // plain RGB, not extended
    EXPECT_EQ(clamped.red(), 255);
    EXPECT_EQ(clamped.green(), 0);
    EXPECT_EQ(clamped.alpha(), 255);

    const Colour fromRgb = Colour::fromQColor(QColor(255, 128, 0));
    EXPECT_NEAR(fromRgb.r, 1.0f, 1e-4);
    EXPECT_NEAR(fromRgb.g, 128 / 255.0f, 1e-4);
    EXPECT_NEAR(fromRgb.b, 0.0f, 1e-4);
    EXPECT_EQ(fromRgb.a, 1.0f);

    // Other colour models come over as their RGB equivalent.
    const Colour grey = Colour::fromQColor(QColor::fromHsvF(0.3f, 0, 0.5f, 0.75f));
    EXPECT_NEAR(grey.r, 0.5f, 1e-4);
    EXPECT_NEAR(grey.g, 0.5f, 1e-4);
    EXPECT_NEAR(grey.b, 0.5f, 1e-4);
    EXPECT_NEAR(grey.a, 0.75f, 1e-4);

    EXPECT_EQ(Colour::fromQColor(QColor()), Colour::black());
    EXPECT_EQ(Colour(), Colour::black());
    EXPECT_EQ(Colour(0.2f, 0.4f, 2, std::numeric_limits<float>::quiet_NaN()).clamped(), Colour(0.2f, 0.4f, 1, 0));
}
