#include "model/core/XmlBase.h"
#include "platform/ValueStrings.h"
#include "platform/text/ParagraphStyle.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace lq {
// Internal linkage: other test files may print these their own way.
[[maybe_unused]] static void PrintTo(const Colour& c, std::ostream* os)
{
    *os << '(' << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ')';
}
[[maybe_unused]] static void PrintTo(const Rect& r, std::ostream* os)
{
    *os << r.toString().toStdString();
}
} // namespace lq

using lq::Colour;

namespace {

constexpr float half = 128 / 255.0;

void expectColour(const std::optional<Colour>& answer, const std::optional<Colour>& expected)
{
    ASSERT_EQ(answer.has_value(), expected.has_value());
    if (!expected)
        return;
    EXPECT_NEAR(answer->r, expected->r, 1e-6);
    EXPECT_NEAR(answer->g, expected->g, 1e-6);
    EXPECT_NEAR(answer->b, expected->b, 1e-6);
    EXPECT_NEAR(answer->a, expected->a, 1e-6);
}

} // namespace

TEST(ValueStrings, StringToColorReadsHashAndComponentForms)
{
    struct Case {
        QString text;
        std::optional<Colour> expected;
    };
    const Colour orange(1, half, 0, 1);
    const std::vector<Case> cases = {
        { QStringLiteral("#FF8000"), orange },
        { QStringLiteral("#ff8000"), orange },
        { QStringLiteral("#FF8000AA"), orange }, // characters after the six digits are ignored
        { QStringLiteral("#0G0000"), Colour(0, 0, 0, 1) }, // a character that is no digit reads as 0
        { QStringLiteral("#0a0B0c"), Colour(10 / 255.0f, 11 / 255.0f, 12 / 255.0f, 1) },
        { QStringLiteral("#\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC"), Colour(0, 0, 0, 1) },
        // Nothing for empty texts and hash forms too short to hold three components.
        { QStringLiteral("#FFF"), std::nullopt },
        { QStringLiteral("#FF800"), std::nullopt },
        { QStringLiteral(""), std::nullopt },
        { QString(), std::nullopt },
        // Component form: exactly four blank-separated parts, else opaque black.
        { QStringLiteral("1 0 0 1"), Colour(1, 0, 0, 1) },
        { QStringLiteral("0.1 0.2 0.3 0.4"), Colour(0.1f, 0.2f, 0.3f, 0.4f) },
        { QStringLiteral("1 0 0"), Colour::black() },
        { QStringLiteral("1  0 0 1"), Colour::black() }, // the empty part makes five
        { QStringLiteral("1 0 0 1 "), Colour::black() },
        { QStringLiteral("black"), Colour::black() },
        // Each part's leading number; a part without one is 0.
        { QStringLiteral("x 0.5 0.25abc 1"), Colour(0, 0.5f, 0.25f, 1) },
        { QStringLiteral("1,5 0 0 1"), Colour(1, 0, 0, 1) }, // C-locale numbers only
        // Components stay within 0..1.
        { QStringLiteral("1.5 -1 0.5 1e999"), Colour(1, 0, 0.5f, 1) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.isNull() ? std::string("<null>") : c.text.toStdString());
        expectColour(lq::stringToColor(c.text), c.expected);
    }
}

TEST(ValueStrings, ColorToStringWritesSixDecimalsAndRoundTrips)
{
    EXPECT_EQ(lq::colorToString(Colour(1, 0.5f, 0, 1)), QStringLiteral("1.000000 0.500000 0.000000 1.000000"));
    EXPECT_EQ(lq::colorToString(*lq::stringToColor(QStringLiteral("0.1 0.2 0.3 0.4"))),
        QStringLiteral("0.100000 0.200000 0.300000 0.400000"));

    const std::vector<Colour> colours = {
        Colour(0.123456f, 0.654321f, 0.999999f, 0.000001f),
        Colour(1, half, 0, 0.25f),
        Colour::clear(),
        Colour::white(),
    };
    for (const Colour& c : colours) {
        const QString text = lq::colorToString(c);
        SCOPED_TRACE(text.toStdString());
        const std::optional<Colour> back = lq::stringToColor(text);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(lq::colorToString(*back), text);
        EXPECT_NEAR(back->a, c.a, 1e-6);
    }
}

TEST(ValueStrings, ColorToCSSStringTruncatesAndDropsAlpha)
{
    struct Case {
        Colour colour;
        const char* css;
        int asInt;
    };
    const std::vector<Case> cases = {
        { Colour(0.999f, 0.5f, 0, 1), "#FE7F00", 0xFE7F00 }, // truncation, not rounding
        { Colour::fromWhite(0.5f), "#7F7F7F", 0x7F7F7F },
        { Colour::white(), "#FFFFFF", 0xFFFFFF },
        { Colour(0, 0, 1, 0.2f), "#0000FF", 0x0000FF },
        { Colour::clear(), "#000000", 0 },
        // Out-of-range components are brought into 0..1, never three digits.
        { Colour(2, -1, 0.5f, 1), "#FF007F", 0xFF007F },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.css);
        EXPECT_EQ(lq::colorToCSSString(c.colour), QString::fromLatin1(c.css));
        EXPECT_EQ(lq::colorToInt(c.colour), c.asInt);
    }

    // The CSS form read back is opaque.
    const std::optional<Colour> back = lq::stringToColor(lq::colorToCSSString(Colour(0.2f, 0.4f, 0.6f, 0.3f)));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->a, 1.0f);
}

TEST(ValueStrings, EveryHashColourSurvivesARoundTrip)
{
    // Box and font colours are stored in the CSS form: reading and writing
    // them again must not drift, whatever the component.
    for (int v = 0; v < 256; ++v) {
        const QString css = QString::asprintf("#%02X%02X%02X", v, 255 - v, v / 2);
        const std::optional<Colour> colour = lq::stringToColor(css);
        ASSERT_TRUE(colour.has_value());
        EXPECT_EQ(lq::colorToCSSString(*colour), css);
    }
}

TEST(ValueStrings, HexDigits)
{
    struct Case {
        char c;
        int value;
    };
    const std::vector<Case> cases = {
        { '0', 0 }, { '1', 1 }, { '9', 9 }, { 'a', 10 }, { 'A', 10 }, { 'f', 15 }, { 'F', 15 },
        { 'g', 0 }, { 'G', 0 }, { ' ', 0 }, { '\0', 0 }, { static_cast<char>(0xC1), 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.c));
        EXPECT_EQ(lq::hexChar(c.c), c.value);
    }
    EXPECT_EQ(lq::hexColorHex('F', 'F'), 1.0f);
    EXPECT_EQ(lq::hexColorHex('8', '0'), half);
    EXPECT_EQ(lq::hexColorHex('0', '0'), 0.0f);
}

TEST(ValueStrings, GeometryStrings)
{
    EXPECT_EQ(lq::rectToString(lq::Rect(1.5f, 2, 3, 4)), QStringLiteral("{{1.5, 2}, {3, 4}}"));
    EXPECT_EQ(lq::stringToRect(QStringLiteral("{{1, 2}}")), lq::Rect(1, 2, 0, 0));
    EXPECT_EQ(lq::stringToRect(QStringLiteral("{{0, 0}, {199, 200}}")), lq::Rect(0, 0, 199, 200));
    EXPECT_EQ(lq::pointToString(lq::Point(50, 60.5f)), QStringLiteral("{50, 60.5}"));
    EXPECT_EQ(lq::stringToPoint(QStringLiteral("{50, 60.5}")), lq::Point(50, 60.5f));
    EXPECT_EQ(lq::sizeToString(lq::Size(640, 480)), QStringLiteral("{640, 480}"));
    EXPECT_EQ(lq::stringToSize(QStringLiteral("{640}")), lq::Size(640, 0));
}

TEST(ValueStrings, Booleans)
{
    EXPECT_EQ(lq::boolToString(true), QStringLiteral("YES"));
    EXPECT_EQ(lq::boolToString(false), QStringLiteral("NO"));
    EXPECT_EQ(lq::boolToString(7), QStringLiteral("YES"));

    struct Case {
        QString text;
        bool value;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("YES"), true },
        { QStringLiteral("yes"), false },
        { QStringLiteral("Yes"), false },
        { QStringLiteral("1"), false },
        { QStringLiteral("NO"), false },
        { QStringLiteral(" YES"), false },
        { QStringLiteral(""), false },
        { QString(), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(lq::stringToBool(c.text), c.value);
    }
}

TEST(ValueStrings, HexString)
{
    struct Case {
        QString text;
        quint32 value;
    };
    const std::vector<Case> cases = {
        { QStringLiteral("0x1F"), 31 },
        { QStringLiteral("0X1f"), 31 },
        { QStringLiteral("1F"), 31 },
        { QStringLiteral("  \n ff"), 255 },
        { QStringLiteral("12zz"), 0x12 },
        { QStringLiteral("DEADBEEF"), 0xDEADBEEF },
        { QStringLiteral("123456789"), 0xFFFFFFFF }, // too large
        { QStringLiteral("0x"), 0 },
        { QStringLiteral("zz"), 0 },
        { QStringLiteral(""), 0 },
        { QString(), 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(lq::hexString(c.text), c.value);
    }
}

TEST(ValueStrings, TabStopsAreThirtySixLeftStopsEvery28Points)
{
    const QList<lq::TabStop> stops = lq::standardTabStops();
    ASSERT_EQ(stops.size(), 36);
    EXPECT_EQ(stops.first().location, 0.0);
    EXPECT_EQ(stops.last().location, 980.0);
    for (int i = 0; i < stops.size(); ++i) {
        EXPECT_EQ(stops[i].type, lq::TabStop::Type::Left);
        EXPECT_EQ(stops[i].location, i * 28.0);
    }
}
