#include "platform/text/TextDocumentConversion.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

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
