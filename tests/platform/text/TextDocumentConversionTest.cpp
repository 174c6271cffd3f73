#include "platform/Exception.h"
#include "platform/text/TextDocumentConversion.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

#include <QTextCursor>
#include <QTextDocument>

using lq::Range;
using lq::StyledText;
using lq::TextAttributes;

namespace {

StyledText richSample()
{
    lq::ParagraphStyle centred;
    centred.alignment = lq::TextAlignment::Center;
    centred.baseWritingDirection = lq::WritingDirection::RightToLeft;
    centred.lineSpacing = 4;
    centred.tabStops = lq::standardTabStops();
    lq::ParagraphStyle plainStyle;
    plainStyle.alignment = lq::TextAlignment::Left;
    plainStyle.tabStops = { { lq::TabStop::Type::Right, 100.5 }, { lq::TabStop::Type::Decimal, 200 } };
    plainStyle.paragraphSpacing = 3;

    TextAttributes heading;
    heading.font = lq::Font(QStringLiteral("Times-Roman"), 18).withBold(true);
    heading.foregroundColour = lq::Colour { 0.2f, 0.2f, 0.2f, 1 };
    heading.paragraphStyle = centred;
    heading.setValue(lq::TextKey::type, 1);
    TextAttributes link = heading;
    link.underlineStyle = 1;
    link.foregroundColour = lq::Colour { 0, 0, 0.5f, 1 };
    link.setValue(lq::TextKey::linkLocation, QStringLiteral("page2.html"));
    link.setValue(lq::TextKey::linkNewWindow, 1);
    TextAttributes newline = heading;
    newline.font = lq::Font(QStringLiteral("Times-Roman"), 18);
    TextAttributes body;
    body.font = lq::Font(QStringLiteral("Georgia"), 13.5).withItalic(true);
    body.paragraphStyle = plainStyle;
    body.setValue(lq::TextKey::type, 0);
    TextAttributes noStyle;
    noStyle.setValue(lq::TextKey::menuType, 2);

    StyledText text;
    text.append(QStringLiteral("Title "), heading);
    text.append(QStringLiteral("link"), link);
    text.append(QStringLiteral("\n"), newline);
    text.append(QStringLiteral("Name\tValue\r\n"), body);
    text.append(QStringLiteral("\n"), body);
    text.append(QStringLiteral("bare"), noStyle);
    text.append(QStringLiteral("\n"), noStyle);
    return text;
}

} // namespace

TEST(TextDocumentConversion, StyledTextSurvivesTheDocument)
{
    const std::vector<StyledText> samples = {
        StyledText(),
        StyledText(QStringLiteral("plain"), {}),
        StyledText(QStringLiteral("\n\n"), {}),
        richSample(),
    };
    for (const StyledText& sample : samples) {
        QTextDocument document;
        lq::setDocumentStyledText(&document, sample);
        const StyledText back = lq::documentStyledText(&document);
        EXPECT_EQ(back.string(), sample.string());
        EXPECT_TRUE(back == sample) << sample.string().toStdString();
    }
}

TEST(TextDocumentConversion, TypedTextTakesTheAttributesItIsTypedInto)
{
    const StyledText sample = richSample();
    QTextDocument document;
    lq::setDocumentStyledText(&document, sample);

    // After "link", inside the heading paragraph.
    QTextCursor cursor(&document);
    cursor.setPosition(10);
    cursor.insertText(QStringLiteral("!"));
    const StyledText edited = lq::documentStyledText(&document);
    EXPECT_EQ(edited.string().left(12), QStringLiteral("Title link!\n"));
    EXPECT_EQ(edited.attributesAt(10), sample.attributesAt(9));

    // A new paragraph keeps the paragraph style of the one it was split from.
    cursor.setPosition(2);
    cursor.insertBlock();
    const StyledText split = lq::documentStyledText(&document);
    EXPECT_EQ(split.string().left(4), QStringLiteral("Ti\nt"));
    EXPECT_EQ(split.attributesAt(3).paragraphStyle, sample.attributesAt(0).paragraphStyle);
}

TEST(TextDocumentConversion, QtEditsAreReadBack)
{
    QTextDocument document;
    lq::setDocumentStyledText(&document, richSample());
    QTextCursor cursor(&document);
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontWeight(QFont::Normal);
    format.setFontUnderline(true);
    cursor.mergeCharFormat(format);
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    cursor.mergeBlockFormat(block);

    const StyledText edited = lq::documentStyledText(&document);
    const TextAttributes first = edited.attributesAt(0);
    EXPECT_EQ(first.font->face(), QStringLiteral("Times-Roman"));
    EXPECT_FALSE(first.font->isBold());
    EXPECT_EQ(first.font->pixelSize(), 18);
    EXPECT_EQ(first.underlineStyle, 1);
    EXPECT_EQ(first.paragraphStyle->alignment, lq::TextAlignment::Right);
    EXPECT_EQ(first.paragraphStyle->lineSpacing, 4) << "the rest of the style stays";
    EXPECT_EQ(first.value(lq::TextKey::type), QVariant(1));
}

TEST(TextDocumentConversion, PositionsAndIndexesAcrossTerminators)
{
    // "\r\n" is one position of the document and two indexes of the text.
    QTextDocument document;
    lq::setDocumentStyledText(&document, StyledText(QStringLiteral("ab\r\ncd\ne"), {}));
    EXPECT_EQ(lq::documentStyledLength(&document), 8u);
    struct Case {
        quint32 index;
        int position;
    };
    const Case toPosition[] = {
        { 0, 0 }, { 2, 2 }, { 3, 2 } /* inside "\r\n" */, { 4, 3 }, { 6, 5 }, { 7, 6 }, { 8, 7 }, { 50, 7 },
    };
    for (const Case& c : toPosition)
        EXPECT_EQ(lq::documentPositionForIndex(&document, c.index), c.position) << c.index;
    const Case toIndex[] = { { 0, 0 }, { 2, 2 }, { 4, 3 }, { 6, 5 }, { 7, 6 }, { 8, 7 }, { 8, 50 }, { 0, -3 } };
    for (const Case& c : toIndex)
        EXPECT_EQ(lq::indexForDocumentPosition(&document, c.position), c.index) << c.position;
}

TEST(TextDocumentConversion, RangeEditsMatchThoseOfStyledText)
{
    TextAttributes colour;
    colour.foregroundColour = lq::Colour { 0.5f, 0, 0, 1 };
    TextAttributes keyed;
    keyed.setValue(lq::TextKey::linkLocation, QStringLiteral("x.html"));
    TextAttributes styled;
    styled.paragraphStyle = lq::ParagraphStyle::defaultStyle();
    styled.paragraphStyle->alignment = lq::TextAlignment::Justified;

    // The sample: "Title link\n" (0-10), "Name\tValue\r\n" (11-22), "\n" (23),
    // "bare\n" (24-28). Ranges leave "\r\n" whole (the document keeps one
    // set of attributes per terminator) and give paragraph styles to whole
    // paragraphs (the document keeps one per paragraph).
    struct Case {
        const char* name;
        std::function<void(StyledText&)> onText;
        std::function<void(QTextDocument*)> onDocument;
    };
    auto add = [](const char* name, const TextAttributes& attributes, Range range) {
        return Case { name, [=](StyledText& t) { t.addAttributes(attributes, range); },
            [=](QTextDocument* d) { lq::addDocumentAttributes(d, attributes, range); } };
    };
    auto remove = [](const char* name, QStringView key, Range range) {
        return Case { name, [=](StyledText& t) { t.removeAttribute(key, range); },
            [=](QTextDocument* d) { lq::removeDocumentAttribute(d, key, range); } };
    };
    const Case cases[] = {
        add("colour across a terminator", colour, { 3, 10 }),
        add("custom key over \"\\r\\n\"", keyed, { 8, 15 }),
        add("the empty paragraph's terminator", colour, { 23, 1 }),
        add("a terminator alone", keyed, { 10, 1 }),
        add("paragraph style over whole paragraphs", styled, { 11, 13 }),
        remove("font everywhere", lq::TextKey::font, { 0, 29 }),
        remove("a custom key", lq::TextKey::type, { 5, 20 }),
        remove("paragraph style", lq::TextKey::paragraphStyle, { 0, 11 }),
        add("nothing", colour, { 4, 0 }),
    };
    for (const Case& c : cases) {
        StyledText expected = richSample();
        c.onText(expected);
        QTextDocument document;
        lq::setDocumentStyledText(&document, richSample());
        c.onDocument(&document);
        EXPECT_TRUE(lq::documentStyledText(&document) == expected) << c.name;
        // One undo step takes a change back.
        if (!(expected == richSample()))
            document.undo();
        EXPECT_TRUE(lq::documentStyledText(&document) == richSample()) << c.name;
    }

    QTextDocument document;
    lq::setDocumentStyledText(&document, richSample());
    EXPECT_THROW(lq::addDocumentAttributes(&document, colour, { 20, 10 }), lq::Exception);
    EXPECT_TRUE(lq::documentStyledText(&document) == richSample());
}

TEST(TextDocumentConversion, ATerminatorKeepsItsAttributesWhenTheTextBeforeItChanges)
{
    // Text typed into the document: the terminator has no attributes of its
    // own and is read with those of the text before it.
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("ab"), lq::charFormatForAttributes(richSample().attributesAt(0)));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("cd"));
    const StyledText before = lq::documentStyledText(&document);

    TextAttributes colour;
    colour.foregroundColour = lq::Colour { 0, 0.5f, 0, 1 };
    lq::addDocumentAttributes(&document, colour, { 0, 2 });
    StyledText expected = before;
    expected.addAttributes(colour, { 0, 2 });
    EXPECT_TRUE(lq::documentStyledText(&document) == expected);
    EXPECT_EQ(lq::documentStyledText(&document).attributesAt(2), before.attributesAt(2));
}
