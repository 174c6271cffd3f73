// Stored rich text written from styled text as the editor and the page
// elements hold it.
#include "elements/StoredTextWriter.h"
#include "platform/text/StyledText.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Attributes of editor text, built up per case.
struct StyledRun {
    QString text = QString();
    int kind = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QVariant link = QVariant();
    int newWindow = 0;
    lq::TextAlignment alignment = lq::TextAlignment::Left;
    lq::WritingDirection direction = lq::WritingDirection::LeftToRight;
};

lq::StyledText editorText(const std::vector<StyledRun>& runs)
{
    lq::StyledText text;
    for (const StyledRun& run : runs) {
        lq::TextAttributes attributes;
        attributes.font = lq::Font::helvetica(12).withBold(run.bold).withItalic(run.italic);
        attributes.setValue(lq::TextKey::paragraphKind, run.kind);
        lq::ParagraphStyle style;
        style.alignment = run.alignment;
        style.baseWritingDirection = run.direction;
        attributes.paragraphStyle = style;
        if (run.underline)
            attributes.underlineStyle = 1;
        if (run.link.isValid()) {
            attributes.setValue(lq::TextKey::link, run.link);
            attributes.setValue(lq::TextKey::linkNewWindow, run.newWindow);
        }
        text.append(run.text, attributes);
    }
    return text;
}

} // namespace

TEST(StoredTextWriter, WritesParagraphsWithTheirKindsAndStyles)
{
    using lq::TextAlignment;
    const struct {
        const char* what;
        std::vector<StyledRun> runs;
        const char* stored;
    } cases[] = {
        { "nothing", {}, "" },
        { "a heading and a paragraph",
          { { .text = "Title\n", .kind = 1, .alignment = TextAlignment::Center }, { .text = "One " }, { .text = "bold", .bold = true }, { .text = " word" } },
          "<h1 class=\"center\">Title</h1><p>One <b>bold</b> word</p>" },
        { "every kind, and one it does not know",
          { { .text = "a\n" }, { .text = "b\n", .kind = 1 }, { .text = "c\n", .kind = 2 }, { .text = "d\n", .kind = 3 },
            { .text = "e\n", .kind = 4 }, { .text = "f\n", .kind = 5 }, { .text = "g", .kind = 7 } },
          "<p>a</p><h1>b</h1><h2>c</h2><h4>d</h4><h5>e</h5><h6>f</h6><p>g</p>" },
        { "direction and alignment",
          { { .text = "r\n", .alignment = TextAlignment::Right, .direction = lq::WritingDirection::RightToLeft },
            { .text = "j", .alignment = TextAlignment::Justified } },
          "<p dir=\"rtl\" class=\"right\">r</p><p>j</p>" },
        { "an empty line, and a last line break that opens no paragraph",
          { { .text = "a\n\nb\n" } }, "<p>a</p><p>&nbsp;</p><p>b</p>" },
        { "one line break", { { .text = "\n", .kind = 2 } }, "<h2>&nbsp;</h2>" },
        { "other line breaks", { { .text = "a\r\nb\xe2\x80\xa8" "c" } }, "<p>a</p><p>b</p><p>c</p>" },
        { "bold and italic, then only italic: nesting stays proper",
          { { .text = "both", .bold = true, .italic = true }, { .text = "it", .italic = true }, { .text = "u", .italic = true, .underline = true } },
          "<p><b><i>both</i></b><i>it<u>u</u></i></p>" },
        { "links of both kinds",
          { { .text = "page", .link = 12, .newWindow = 1 }, { .text = " " }, { .text = "web", .bold = true, .link = QStringLiteral("http://x.org/?a=1&b=\"2\"") } },
          "<p><a pseq=\"12\" target=\"_blank\">page</a> <a href=\"http://x.org/?a=1&b=&quot;2&quot;\"><b>web</b></a></p>" },
        { "two links next to each other stay two",
          { { .text = "one", .link = QStringLiteral("a") }, { .text = "two", .link = QStringLiteral("b") }, { .text = "new", .link = QStringLiteral("b"), .newWindow = 1 } },
          "<p><a href=\"a\">one</a><a href=\"b\">two</a><a href=\"b\" target=\"_blank\">new</a></p>" },
        { "a link value of another kind writes neither tag",
          { { .text = "x", .link = QVariant(1.5) }, { .text = "y", .bold = true, .link = QVariant(QStringList { "z" }) } },
          "<p>x<b>y</b></p>" },
        { "markup characters are escaped",
          { { .text = "1 < 2 & \"q\"\t." } }, "<p>1 &lt; 2 &amp; &quot;q&quot;&#009;.</p>" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(writeStoredText(editorText(c.runs)), QString::fromUtf8(c.stored)) << c.what;
}

TEST(StoredTextWriter, WithoutKindsEveryParagraphIsNormal)
{
    const lq::StyledText text = editorText({ { .text = "a\n", .kind = 1 }, { .text = "b", .kind = 3, .alignment = lq::TextAlignment::Center } });
    EXPECT_EQ(writeStoredText(text, false), QStringLiteral("<p>a</p><p class=\"center\">b</p>"));
    EXPECT_EQ(writeStoredText(text, true), QStringLiteral("<h1>a</h1><h4 class=\"center\">b</h4>"));
}

TEST(StoredTextWriter, TextLaidOutByAPageElementKeepsItsKindsAndAddresses)
{
    lq::TextAttributes heading;
    heading.setValue(lq::TextKey::type, 2);
    lq::TextAttributes link;
    link.setValue(lq::TextKey::linkLocation, QStringLiteral("page.html"));
    link.setValue(lq::TextKey::linkNewWindow, 1);
    lq::StyledText text;
    text.append(QStringLiteral("Sub\n"), heading);
    text.append(QStringLiteral("go"), link);
    // Plain text: no attributes at all.
    text.append(QStringLiteral(" on"), lq::TextAttributes());
    EXPECT_EQ(writeStoredText(text), QStringLiteral("<h2>Sub</h2><p><a href=\"page.html\" target=\"_blank\">go</a> on</p>"));
}
