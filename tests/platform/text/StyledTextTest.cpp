#include "platform/Exception.h"
#include "platform/text/StyledText.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using lq::Range;
using lq::StyledText;
using lq::TextAttributes;

namespace {

TextAttributes bold()
{
    TextAttributes attributes;
    attributes.font = lq::Font::helvetica(14).withBold(true);
    return attributes;
}

TextAttributes plain()
{
    TextAttributes attributes;
    attributes.font = lq::Font::helvetica(14);
    return attributes;
}

TextAttributes typed(int type)
{
    TextAttributes attributes = plain();
    attributes.setValue(lq::TextKey::type, type);
    return attributes;
}

std::vector<Range> runRanges(const StyledText& text)
{
    std::vector<Range> ranges;
    for (const lq::AttributeRun& run : text.runs())
        ranges.push_back(run.range);
    return ranges;
}

} // namespace

TEST(TextStyledText, EqualNeighboursJoinAndAddedAttributesSplitRuns)
{
    StyledText text;
    text.append(QStringLiteral("ab"), bold());
    text.append(QStringLiteral("cd"), plain());
    text.append(QStringLiteral("ef"), plain());
    EXPECT_EQ(text.string(), QStringLiteral("abcdef"));
    EXPECT_EQ(runRanges(text), (std::vector<Range> { { 0, 2 }, { 2, 4 } }));

    text.addAttribute(lq::TextKey::type, 1, { 1, 2 });
    EXPECT_EQ(runRanges(text), (std::vector<Range> { { 0, 1 }, { 1, 1 }, { 2, 1 }, { 3, 3 } }));
    EXPECT_EQ(text.attributesAt(1).value(lq::TextKey::type), QVariant(1));
    EXPECT_TRUE(text.attributesAt(1).font->isBold());
    EXPECT_FALSE(text.attributesAt(3).custom.contains(QStringLiteral("QZType")));

    // Taking the key off again joins the runs it split.
    text.removeAttribute(lq::TextKey::type, { 0, 6 });
    EXPECT_EQ(runRanges(text), (std::vector<Range> { { 0, 2 }, { 2, 4 } }));
}

TEST(TextStyledText, AttributesAtAnIndexComeWithTheirLongestRange)
{
    StyledText text;
    text.append(QStringLiteral("one "), typed(0));
    text.append(QStringLiteral("two "), bold());
    text.append(QStringLiteral("three"), typed(0));
    text.addAttribute(lq::TextKey::linkLocation, QStringLiteral("index.html"), { 2, 8 });

    Range effective;
    text.attributesAt(5, &effective);
    EXPECT_EQ(effective, (Range { 4, 4 }));
    text.attributesAt(5, &effective, { 5, 8 });
    EXPECT_EQ(effective, (Range { 5, 3 }));

    // One key's range crosses runs that differ in other attributes.
    EXPECT_EQ(text.longestEffectiveRange(lq::TextKey::linkLocation, 5), (Range { 2, 8 }));
    EXPECT_EQ(text.longestEffectiveRange(lq::TextKey::linkLocation, 0), (Range { 0, 2 }));
    EXPECT_EQ(text.longestEffectiveRange(lq::TextKey::linkLocation, 5, { 3, 4 }), (Range { 3, 4 }));
    EXPECT_EQ(text.longestEffectiveRange(lq::TextKey::font, 9), (Range { 8, 5 }));

    const std::vector<lq::AttributeRun> runs = text.runs({ 3, 3 });
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].range, (Range { 3, 1 }));
    EXPECT_EQ(runs[1].range, (Range { 4, 2 }));
    EXPECT_EQ(runs[1].attributes.font, bold().font);
}

TEST(TextStyledText, ReplacedTextTakesTheAttributesAroundIt)
{
    StyledText base;
    base.append(QStringLiteral("ab"), bold());
    base.append(QStringLiteral("cd"), plain());

    struct Case {
        const char* name;
        Range range;
        const char* insert;
        const char* result;
        std::vector<Range> runs;
    };
    const Case cases[] = {
        // The first replaced character gives its attributes.
        { "replace across runs", { 1, 2 }, "XY", "aXYd", { { 0, 3 }, { 3, 1 } } },
        // Nothing replaced: the character before.
        { "insert after bold", { 2, 0 }, "Z", "abZcd", { { 0, 3 }, { 3, 2 } } },
        // At the start there is none before: the first character.
        { "insert at start", { 0, 0 }, "Z", "Zabcd", { { 0, 3 }, { 3, 2 } } },
        { "delete", { 1, 2 }, "", "ad", { { 0, 1 }, { 1, 1 } } },
        { "append at end", { 4, 0 }, "e", "abcde", { { 0, 2 }, { 2, 3 } } },
    };
    for (const Case& c : cases) {
        StyledText text = base;
        text.replace(c.range, QString::fromLatin1(c.insert));
        EXPECT_EQ(text.string(), QString::fromLatin1(c.result)) << c.name;
        EXPECT_EQ(runRanges(text), c.runs) << c.name;
    }

    // Styled text inserted between equal attributes joins both neighbours.
    StyledText text = base;
    text.replace({ 2, 0 }, StyledText(QStringLiteral("--"), plain()));
    text.replace({ 0, 2 }, StyledText(QStringLiteral("xy"), plain()));
    EXPECT_EQ(text.string(), QStringLiteral("xy--cd"));
    EXPECT_EQ(runRanges(text), (std::vector<Range> { { 0, 6 } }));

    // A text may be inserted into itself.
    StyledText twice = base;
    twice.replace({ 2, 0 }, twice);
    EXPECT_EQ(twice.string(), QStringLiteral("ababcdcd"));
    EXPECT_EQ(runRanges(twice), (std::vector<Range> { { 0, 4 }, { 4, 4 } }));
}

TEST(TextStyledText, SettingAndAddingAttributesOverARange)
{
    StyledText text(QStringLiteral("abcdef"), typed(2));

    TextAttributes colour;
    colour.foregroundColour = lq::Colour { 0, 0, 0.5f, 1 };
    text.addAttributes(colour, { 2, 2 });
    EXPECT_EQ(text.attributesAt(2).value(lq::TextKey::type), QVariant(2)) << "adding keeps what was there";
    EXPECT_EQ(text.attributesAt(3).foregroundColour, colour.foregroundColour);

    text.setAttributes(plain(), { 1, 4 });
    EXPECT_EQ(text.attributesAt(2), plain()) << "setting replaces everything";
    EXPECT_EQ(runRanges(text), (std::vector<Range> { { 0, 1 }, { 1, 4 }, { 5, 1 } }));

    text.removeAttribute(lq::TextKey::font, { 0, 6 });
    EXPECT_FALSE(text.attributesAt(2).font.has_value());
    EXPECT_TRUE(text.attributesAt(2).isEmpty());
}

TEST(TextStyledText, RangesBeyondTheTextRaise)
{
    StyledText text(QStringLiteral("abc"), plain());
    const quint64 revision = text.revision();
    auto raisesRangeException = [](const std::function<void()>& operation) {
        try {
            operation();
        } catch (const lq::Exception& e) {
            return e.name() == QStringLiteral("NSRangeException");
        }
        return false;
    };
    EXPECT_TRUE(raisesRangeException([&] { text.attributesAt(3); }));
    EXPECT_TRUE(raisesRangeException([&] { text.replace({ 2, 2 }, QStringLiteral("x")); }));
    EXPECT_TRUE(raisesRangeException([&] { text.addAttributes(plain(), { 4, 0 }); }));
    EXPECT_TRUE(raisesRangeException([&] { text.runs({ 0, 4 }); }));
    EXPECT_TRUE(raisesRangeException([&] { StyledText().attributesAt(0); }));
    EXPECT_EQ(text.string(), QStringLiteral("abc"));
    EXPECT_EQ(text.revision(), revision) << "a refused edit changes nothing";
}

TEST(TextStyledText, EveryEditChangesTheRevision)
{
    StyledText text(QStringLiteral("abc"), plain());
    quint64 revision = text.revision();
    const std::vector<std::function<void()>> edits = {
        [&] { text.append(QStringLiteral("d"), plain()); },
        [&] { text.replace({ 0, 1 }, QStringLiteral("x")); },
        [&] { text.addAttribute(lq::TextKey::type, 3, { 0, 2 }); },
        [&] { text.removeAttribute(lq::TextKey::type, { 0, 2 }); },
        [&] { text.setAttributes(bold(), { 1, 1 }); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i]();
        EXPECT_NE(text.revision(), revision) << "edit " << i;
        revision = text.revision();
    }
}

TEST(TextStyledText, SubstringAndParagraphRanges)
{
    StyledText text;
    text.append(QStringLiteral("ab\n"), bold());
    text.append(QStringLiteral("cd\r\nef"), plain());
    const StyledText middle = text.substring({ 1, 4 });
    EXPECT_EQ(middle.string(), QStringLiteral("b\ncd"));
    EXPECT_EQ(runRanges(middle), (std::vector<Range> { { 0, 2 }, { 2, 2 } }));

    struct Case {
        Range range;
        Range paragraphs;
    };
    const Case cases[] = {
        { { 0, 0 }, { 0, 3 } },
        { { 1, 1 }, { 0, 3 } },
        { { 2, 1 }, { 0, 3 } }, // the terminator itself
        { { 3, 0 }, { 3, 4 } }, // "\r\n" is one terminator
        { { 5, 1 }, { 3, 4 } },
        { { 6, 0 }, { 3, 4 } },
        { { 2, 2 }, { 0, 7 } },
        { { 8, 1 }, { 7, 2 } },
        { { 9, 0 }, { 7, 2 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(text.paragraphRangeForRange(c.range), c.paragraphs) << c.range.location << "," << c.range.length;
}

TEST(TextStyledText, LineRangesAlsoEndAtLineSeparators)
{
    // A line separator (U+2028, or U+0085) breaks a line inside a paragraph.
    const StyledText text(QStringLiteral("ab") + QChar(0x2028) + QStringLiteral("cd\r\nef") + QChar(0x0085) + QStringLiteral("g"), plain());
    struct Case {
        Range range;
        Range lines;
        Range paragraphs;
    };
    const Case cases[] = {
        { { 0, 0 }, { 0, 3 }, { 0, 7 } },
        { { 2, 1 }, { 0, 3 }, { 0, 7 } },
        { { 3, 0 }, { 3, 4 }, { 0, 7 } },
        { { 6, 0 }, { 3, 4 }, { 0, 7 } }, // inside "\r\n"
        { { 4, 4 }, { 3, 7 }, { 0, 11 } },
        { { 8, 1 }, { 7, 3 }, { 7, 4 } },
        { { 11, 0 }, { 10, 1 }, { 7, 4 } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text.lineRangeForRange(c.range), c.lines) << c.range.location << "," << c.range.length;
        EXPECT_EQ(text.paragraphRangeForRange(c.range), c.paragraphs) << c.range.location << "," << c.range.length;
    }
    EXPECT_THROW(text.lineRangeForRange({ 11, 1 }), lq::Exception);
}
