#include "platform/text/RtfCodec.h"

#include <gtest/gtest.h>

using lq::Colour;
using lq::Font;
using lq::RtfCodec;
using lq::StyledText;
using lq::TextAlignment;
using lq::TextAttributes;

namespace {

TextAttributes styled(const Font& font, std::optional<Colour> colour, std::optional<TextAlignment> alignment,
                      bool underline = false)
{
    TextAttributes a;
    a.font = font;
    a.foregroundColour = colour;
    if (alignment) {
        lq::ParagraphStyle style;
        style.alignment = *alignment;
        a.paragraphStyle = style;
    }
    if (underline)
        a.underlineStyle = 1;
    return a;
}

StyledText readBack(const StyledText& text)
{
    const std::optional<StyledText> read = RtfCodec::fromRtf(RtfCodec::toRtf(text));
    EXPECT_TRUE(read.has_value());
    return read.value_or(StyledText());
}

} // namespace

TEST(RtfCodec, WritesAndReadsEveryStyleBack)
{
    StyledText text;
    text.append(QStringLiteral("Hello"), styled(Font::helvetica(24).withBold(true), Colour(1, 0, 0), TextAlignment::Center));
    text.append(QStringLiteral(" world\n"), styled(Font(QStringLiteral("Times-Roman"), 13.5).withItalic(true), Colour(0, 0, 1),
                                                   TextAlignment::Center, true));
    text.append(QStringLiteral("{odd} \\chars\\\ttab \u00e9\u20ac\U0001F600\n"),
                styled(Font(QStringLiteral("Courier New"), 10), std::nullopt, TextAlignment::Right));
    text.append(QStringLiteral("plain"), TextAttributes());

    const QByteArray rtf = RtfCodec::toRtf(text);
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit";
    const StyledText read = readBack(text);
    EXPECT_EQ(read.string(), text.string());
    EXPECT_EQ(read.runs().size(), text.runs().size());
    EXPECT_TRUE(read == text) << rtf.constData();
}

TEST(RtfCodec, ReadsTheRtfOfOlderDocuments)
{
    const QByteArray legacy = "{\\rtf1\\mac\\ansicpg1252\\cocoartf824\\cocoasubrtf420\n"
                              "{\\fonttbl\\f0\\fswiss\\fcharset77 Helvetica-Bold;\\f1\\fnil\\fcharset77 Georgia;}\n"
                              "{\\colortbl;\\red255\\green255\\blue255;\\red0\\green128\\blue255;}\n"
                              "{\\*\\expandedcolortbl;;}\n{\\info{\\title x}}\n"
                              "\\pard\\tx560\\tx1120\\tx1680\\ql\\qnatural\\pardirnatural\\qc\n"
                              "\n\\f0\\b\\fs48 \\cf2 Caf\\'e9 \\u8364? \\ul under\\ulnone  \\i it\\i0  \\b0 x\\par\n"
                              "\\pard\\qr\\f1\\fs20\\cf0 {\\*\\unknown skipped}line\\tab two}";
    const std::optional<StyledText> read = RtfCodec::fromRtf(legacy);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->string(), QStringLiteral("Caf\u00e9 \u20ac under it x\nline\ttwo"));

    const TextAttributes first = read->attributesAt(0);
    ASSERT_TRUE(first.font.has_value());
    EXPECT_EQ(first.font->face(), QStringLiteral("Helvetica"));
    EXPECT_TRUE(first.font->isBold());
    EXPECT_EQ(first.font->pixelSize(), 24);
    EXPECT_EQ(first.foregroundColour, Colour(0, 128 / 255.0f, 1));
    ASSERT_TRUE(first.paragraphStyle.has_value());
    EXPECT_EQ(first.paragraphStyle->alignment, TextAlignment::Center);
    EXPECT_FALSE(first.isUnderlined());

    EXPECT_TRUE(read->attributesAt(read->string().indexOf(u"under")).isUnderlined());
    EXPECT_FALSE(read->attributesAt(read->string().indexOf(u" it")).isUnderlined());
    EXPECT_TRUE(read->attributesAt(read->string().indexOf(u"it")).font->isItalic());

    const TextAttributes last = read->attributesAt(read->string().indexOf(u"two"));
    EXPECT_EQ(last.font->face(), QStringLiteral("Georgia"));
    EXPECT_EQ(last.font->pixelSize(), 10);
    EXPECT_FALSE(last.foregroundColour.has_value());
    EXPECT_EQ(last.paragraphStyle->alignment, TextAlignment::Right);
}

TEST(RtfCodec, RefusesWhatIsNotRtf)
{
    for (const QByteArray& data : { QByteArray(), QByteArray("plain text"), QByteArray("\x89PNG\r\n"), QByteArray("{\\rt") })
        EXPECT_FALSE(RtfCodec::fromRtf(data).has_value()) << data.constData();
    // An empty document is RTF all the same.
    const std::optional<StyledText> empty = RtfCodec::fromRtf("{\\rtf1\\ansi}");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
}

// Whatever a text holds, one write settles it: the RTF written for what was
// read back is the RTF written before, and the characters come back (every
// paragraph end as a line feed).
TEST(RtfCodec, OneWriteIsStable)
{
    struct Case {
        const char* what;
        QString text;
        QString readBack;
        // Where the text passes into a run of the other style, if it does.
        std::vector<qsizetype> splits = {};
    };
    const std::vector<Case> cases {
        { "control characters", QStringLiteral("bell\a back\b vt\v ff\f esc\x1b us\x1f end"),
            QStringLiteral("bell\a back\b vt\v ff\f esc\x1b us\x1f end") },
        { "a zero character", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QStringLiteral("a") + QChar(0) + QStringLiteral("b") },
        { "delete and the C1 controls", QStringLiteral("x\x7f y\u0085 z\u009f"), QStringLiteral("x\x7f y\u0085 z\u009f") },
        { "a run of control characters alone", QStringLiteral("\x01\x02\x03"), QStringLiteral("\x01\x02\x03") },
        { "paragraph ends of every kind", QStringLiteral("one\r\ntwo\rthree\u2029four\nfive"), QStringLiteral("one\ntwo\nthree\nfour\nfive") },
        { "tabs, line separators and braces", QStringLiteral("\t{a}\\\u2028b"), QStringLiteral("\t{a}\\\u2028b") },
        { "a lone surrogate", QStringLiteral("x") + QChar(0xd800) + QStringLiteral("y"), QStringLiteral("x") + QChar(0xd800) + QStringLiteral("y") },
        { "a CR LF split between two runs", QStringLiteral("one\r\ntwo"), QStringLiteral("one\ntwo"), { 4 } },
        { "the line feed of a CR LF alone in its run", QStringLiteral("one\r\ntwo"), QStringLiteral("one\ntwo"), { 4, 5 } },
        { "control characters alone in a run", QStringLiteral("a\x02\x03" "b"), QStringLiteral("a\x02\x03" "b"), { 1, 3 } },
    };
    for (const Case& c : cases) {
        const TextAttributes styles[] = {
            styled(Font::helvetica(14).withBold(true), Colour(0, 0.5f, 0), TextAlignment::Right),
            styled(Font(QStringLiteral("Georgia"), 14).withItalic(true), Colour(0, 0, 1), TextAlignment::Right),
        };
        StyledText text;
        text.append(QStringLiteral("plain "), TextAttributes());
        qsizetype from = 0;
        std::size_t style = 0;
        for (const qsizetype split : c.splits) {
            text.append(c.text.mid(from, split - from), styles[style]);
            from = split;
            style = 1 - style;
        }
        text.append(c.text.mid(from), styles[style]);
        text.append(QStringLiteral(" after"), styled(Font(QStringLiteral("Georgia"), 11), std::nullopt, std::nullopt, true));
        const QByteArray once = RtfCodec::toRtf(text);
        const StyledText read = readBack(text);
        EXPECT_EQ(read.string(), QStringLiteral("plain ") + c.readBack + QStringLiteral(" after")) << c.what << "\n" << once.constData();
        EXPECT_EQ(RtfCodec::toRtf(read), once) << c.what;
        for (char byte : once)
            EXPECT_LT(static_cast<unsigned char>(byte), 0x80) << c.what << ": RTF is 7-bit";
    }
}
