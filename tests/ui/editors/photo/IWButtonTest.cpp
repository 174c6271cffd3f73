#include "ui/editors/photo/IWButton.h"

#include "model/imaging/XmlShape.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QPixmap>

#include <cmath>
#include <vector>

namespace {

std::vector<QPointF> corners(const QPainterPath& path)
{
    std::vector<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.push_back(path.elementAt(i));
    return points;
}

bool inked(const QImage& icon, int x, int y)
{
    return qAlpha(icon.pixel(x, y)) > 128;
}

QImage iconOf(const IWButton& button)
{
    return button.icon().pixmap(button.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(IWButton, KnowsEachShapesAttribute)
{
    struct Row {
        const char* label;
        bool needed;
        int minimum, maximum, defaultValue, iconValue;
    };
    const Row rows[] = {
        { "Blank", false, 0, 0, 0, 0 },     { "Blank", false, 0, 0, 0, 0 },  { "Radius", true, 1, 50, 10, 25 },
        { "Radius", true, 1, 50, 10, 25 },  { "Angle", true, -45, 45, 10, 3 }, { "Angle", true, -45, 45, 10, 3 },
        { "Angle", true, -180, 180, 0, 0 }, { "Angle", true, -30, 30, 10, 3 }, { "Blank", false, 0, 0, 0, 0 },
        { "Sides", true, 5, 12, 5, 5 },     { "Depth", true, 1, 50, 5, 20 },  { "Depth", true, 1, 35, 11, 20 },
        { "Blank", false, 0, 0, 0, 0 },     { "Blank", false, 0, 0, 0, 0 },
    };
    for (int tag = 0; tag < static_cast<int>(std::size(rows)); ++tag) {
        const Row& row = rows[tag];
        const IWButton button(tag);
        EXPECT_EQ(button.tag(), tag);
        EXPECT_EQ(button.getValue1Label(), QString(row.label)) << tag;
        EXPECT_EQ(button.getNeedAttr1(), row.needed) << tag;
        EXPECT_EQ(button.getAttrMin1(), row.minimum) << tag;
        EXPECT_EQ(button.getAttrMax1(), row.maximum) << tag;
        EXPECT_EQ(button.getDefault1(), row.defaultValue) << tag;
        EXPECT_EQ(button.getThumb1(), row.iconValue) << tag;
        // A new button holds its shape's default.
        EXPECT_EQ(button.getAttr1(), row.defaultValue) << tag;
    }
    // The tags are the model's shape numbers.
    EXPECT_EQ(IWButton(static_cast<int>(XmlShape::ShapeKind::Polygon)).getValue1Label(), QString("Sides"));
}

TEST(IWButton, KeepsTheAttributeInItsShapesRange)
{
    struct Case {
        int tag;
        int given;
        int kept;
    };
    const Case cases[] = {
        { 2, 99, 50 }, { 2, 0, 1 },     { 2, 33, 33 },  { 6, -200, -180 }, { 6, 200, 180 }, { 6, -17, -17 },
        { 0, 7, 0 },   { 1, -3, 0 },    { 8, 99, 0 },   { 9, 3, 5 },       { 9, 20, 12 },   { 11, 40, 35 },
        { 4, -60, -45 }, { 7, 31, 30 }, { 12, 5, 0 },
    };
    for (const Case& c : cases) {
        IWButton button(c.tag);
        button.setAttr1(c.given);
        EXPECT_EQ(button.getAttr1(), c.kept) << "shape " << c.tag << " given " << c.given;
    }
}

TEST(IWButton, DrawsItsIconWithTheIconValueThenHoldsTheDefault)
{
    for (int tag = 0; tag < 12; ++tag) {
        IWButton button(tag);
        EXPECT_EQ(button.iconSize(), QSize(31, 20)) << tag;
        const QImage icon = iconOf(button);
        ASSERT_EQ(icon.size(), QSize(31, 20)) << tag;
        // The icon is the shape at the icon value, not at the default.
        IWButton atIconValue(tag);
        atIconValue.setAttr1(atIconValue.getThumb1());
        EXPECT_EQ(icon, atIconValue.makeImageWithWidthAndHeight(31, 20).convertToFormat(QImage::Format_ARGB32)) << tag;
        EXPECT_EQ(button.getAttr1(), button.getDefault1()) << tag;
        // Filled grey.
        EXPECT_EQ(QColor(icon.pixel(15, 10)), QColor(128, 128, 128)) << tag;
    }

    // Rounded corners of radius 5 (25 % of 20) leave the corner pixels empty.
    const QImage rounded = iconOf(IWButton(2));
    EXPECT_FALSE(inked(rounded, 0, 0));
    EXPECT_FALSE(inked(rounded, 30, 19));
    EXPECT_TRUE(inked(rounded, 0, 10));
    const QImage rectangle = iconOf(IWButton(0));
    EXPECT_TRUE(inked(rectangle, 0, 0));
    EXPECT_TRUE(inked(rectangle, 30, 19));

    // Upside up: the heart's lobes are at the top of the picture, its tip at the bottom.
    const QImage heart = iconOf(IWButton(8));
    EXPECT_TRUE(inked(heart, 7, 1));
    EXPECT_TRUE(inked(heart, 23, 1));
    EXPECT_FALSE(inked(heart, 15, 1));
    EXPECT_TRUE(inked(heart, 15, 17));
    EXPECT_FALSE(inked(heart, 3, 17));

    // A tag outside the shapes has no outline: an empty icon.
    IWButton blank(12);
    EXPECT_FALSE(blank.makePathWithWidthAndHeight(31, 20).has_value());
    const QImage none = iconOf(blank);
    for (int y = 0; y < none.height(); ++y) {
        for (int x = 0; x < none.width(); ++x)
            ASSERT_FALSE(inked(none, x, y)) << x << "," << y;
    }
}

TEST(IWButton, SlantsAreLimitedToHalfTheWidth)
{
    struct Case {
        int tag, angle;
        std::vector<QPointF> points;
    };
    // 31 x 20, y up: tan 45 degrees x 20 = 20, more than 31 div 2 = 15.
    const Case cases[] = {
        { 4, 45, { { 0, 0 }, { 15, 20 }, { 31, 20 }, { 16, 0 }, { 0, 0 } } },
        { 4, -45, { { 15, 0 }, { 0, 20 }, { 16, 20 }, { 31, 0 }, { 15, 0 } } },
        { 5, 45, { { 15, 0 }, { 16, 0 }, { 31, 20 }, { 0, 20 }, { 15, 0 } } },
        { 5, -45, { { 0, 0 }, { 31, 0 }, { 16, 20 }, { 15, 20 }, { 0, 0 } } },
    };
    for (const Case& c : cases) {
        IWButton button(c.tag);
        button.setAttr1(c.angle);
        const std::optional<QPainterPath> path = button.makePathWithWidthAndHeight(31, 20);
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(corners(*path), c.points) << c.tag << " " << c.angle;
    }
    IWButton slanted(4);
    slanted.setAttr1(45);
    EXPECT_DOUBLE_EQ(slanted.getLengthFromAngle(20), 20.0 * std::tan(45 * M_PI / 180));
    slanted.setAttr1(10);
    IWButton radius(2);
    radius.setAttr1(10);
    EXPECT_DOUBLE_EQ(radius.getRadiusFromWidthAndHeight(31, 20), 2.0);
    EXPECT_DOUBLE_EQ(radius.getRadiusFromWidthAndHeight(40, 40), 4.0);
}

TEST(IWButton, PolygonsAndStarsSitOnTheInscribedOval)
{
    // Five sides: a corner at the top centre; six: a level top edge.
    IWButton polygon(9);
    const std::vector<QPointF> five = corners(*polygon.makePathWithWidthAndHeight(31, 20));
    const auto topCentre = std::find_if(five.begin(), five.end(), [](const QPointF& p) {
        return std::abs(p.x() - 15.5) < 1e-4 && std::abs(p.y() - 20) < 1e-4;
    });
    EXPECT_NE(topCentre, five.end());
    polygon.setAttr1(6);
    std::vector<QPointF> six = corners(*polygon.makePathWithWidthAndHeight(31, 20));
    six.pop_back(); // the closing line back to the start
    ASSERT_EQ(six.size(), 6u);
    std::sort(six.begin(), six.end(), [](const QPointF& a, const QPointF& b) { return a.y() > b.y(); });
    EXPECT_NEAR(six[0].y(), six[1].y(), 1e-4);
    EXPECT_GT(six[1].y(), six[2].y() + 1);

    // Depth 50: every other point halfway to the centre.
    IWButton star(10);
    star.setAttr1(50);
    const std::vector<QPointF> points = corners(*star.makePathWithWidthAndHeight(31, 20));
    ASSERT_GE(points.size(), 31u);
    for (std::size_t i = 0; i < 31; ++i) {
        const double dx = (points[i].x() - 15) / 15.5;
        const double dy = (points[i].y() - 10) / 10;
        const double expected = i % 2 == 1 ? 0.5 : 1.0;
        EXPECT_NEAR(std::hypot(dx, dy), expected, 1e-4) << i;
    }
}
