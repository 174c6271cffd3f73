#include "elements/StoredTextTokenizer.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebText.h"
#include "model/site/XmlAlbum.h"
#include "theme/XmlTheme.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A text element in a theme of a recording document, with its font record
// set up as a caller of the reader sets it.
class XmlWebTextReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        theme = XmlTheme::create();
        theme->setDocument(&document);
        theme->addChild(text);
        record = text->font();
        record->setFontColor(lq::Colour(0.5f, 0, 0, 1));
        text->setNormalFont(record->createFont());
        ASSERT_TRUE(text->getNormalFont().has_value());
    }
    void TearDown() override { theme->setDocument(nullptr); }

    lq::StyledText read(const QString& stored, lq::TextAlignment alignment = lq::TextAlignment::Left, int bits = 0)
    {
        return text->getAttributedStringWithAlignmentAttr(stored, alignment, bits);
    }

    FakeDocument document;
    std::shared_ptr<XmlTheme> theme;
    std::shared_ptr<XmlWebText> text = XmlWebText::create();
    std::shared_ptr<XmlWebFont> record;
};

// The runs of styled text as (text, bold) pairs.
std::vector<std::pair<QString, bool>> boldRuns(const lq::StyledText& styled)
{
    std::vector<std::pair<QString, bool>> runs;
    for (const lq::AttributeRun& run : styled.runs())
        runs.emplace_back(styled.string().mid(run.range.location, run.range.length),
                          run.attributes.font && run.attributes.font->isBold());
    return runs;
}

} // namespace

TEST_F(XmlWebTextReader, ReadsTheStringsOfStoredText)
{
    struct Case {
        const char* stored;
        const char* expected;
    };
    const std::vector<Case> cases {
        { "plain text without tags", "" },
        { "<p>a</p><p>b</p>", "a\nb" },
        { "<p><b>x</b> y</p>", "x y" },
        { "<p>a<x>hidden</x>b</p>", "ab" },
        // The unknown "br" consumes "b</p>" as its own content.
        { "<p>a<br>b</p>", "a" },
        { "outside<p>in</p>outside too", "in" },
        { "<h1>Head</h1>\n<h3>three</h3><h6>six</h6>", "Head\nthree\nsix" },
        { "<div><p>skipped with the div</p></div><p>kept</p>", "kept" },
        { "<p>&amp; &lt;tag&gt; &#160; two&nbsp;</p>", "& <tag>   two " },
        { "<p>&nbsp;</p><p>after an empty one</p>", " \nafter an empty one" },
        // A "<" that starts no tag is dropped.
        { "<p>1 <= 2</p>", "1 = 2" },
        // Text that ends inside elements is read up to its end.
        { "<p>open <b>bold <i>and", "open bold and" },
        { "<p>a<b", "a" },
        { "<p>a<x>never closed", "a" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(QString::fromUtf8(c.stored)).string(), QString::fromUtf8(c.expected)) << c.stored;
}

TEST_F(XmlWebTextReader, InlineTagsGiveTheRunsTheirStyle)
{
    const lq::StyledText styled = read("<p><b>x</b> y</p>");
    const std::vector<std::pair<QString, bool>> expected { { "x", true }, { " y", false } };
    EXPECT_EQ(boldRuns(styled), expected);

    const lq::StyledText mixed = read("<p><i>i<u>iu</u></i><u>u</u></p>");
    const lq::TextAttributes italic = mixed.attributesAt(0);
    EXPECT_TRUE(italic.font->isItalic());
    EXPECT_FALSE(italic.underlineStyle.has_value());
    const lq::TextAttributes italicUnderlined = mixed.attributesAt(1);
    EXPECT_TRUE(italicUnderlined.font->isItalic());
    EXPECT_EQ(italicUnderlined.underlineStyle, 1);
    const lq::TextAttributes underlined = mixed.attributesAt(3);
    EXPECT_FALSE(underlined.font->isItalic());
    EXPECT_EQ(underlined.underlineStyle, 1);

    // Every run: the record's colour, kind 0, the element's font family and size.
    for (const lq::AttributeRun& run : mixed.runs()) {
        EXPECT_EQ(run.attributes.foregroundColour, lq::Colour(0.5f, 0, 0, 1));
        EXPECT_EQ(run.attributes.value(lq::TextKey::type), QVariant(0));
        EXPECT_EQ(run.attributes.font->face(), text->getNormalFont()->face());
        EXPECT_EQ(run.attributes.font->pixelSize(), text->getNormalFont()->pixelSize());
    }

    // Initial bits apply to every paragraph, the newline between them excepted.
    const lq::StyledText allBold = read("<p>a</p><p>b</p>", lq::TextAlignment::Left, InlineBits::bold);
    EXPECT_TRUE(allBold.attributesAt(0).font->isBold());
    EXPECT_FALSE(allBold.attributesAt(1).font->isBold());
    EXPECT_TRUE(allBold.attributesAt(2).font->isBold());
}

TEST_F(XmlWebTextReader, ParagraphStylesFromTheDefaultAndTheAttributes)
{
    record->setLineSpacing(3);
    struct Case {
        const char* stored;
        lq::TextAlignment alignment;
        lq::TextAlignment expected;
        lq::WritingDirection direction;
    };
    const std::vector<Case> cases {
        { "<p>x</p>", lq::TextAlignment::Left, lq::TextAlignment::Left, lq::WritingDirection::LeftToRight },
        { "<p>x</p>", lq::TextAlignment::Center, lq::TextAlignment::Center, lq::WritingDirection::LeftToRight },
        { "<p class=\"center\">x</p>", lq::TextAlignment::Left, lq::TextAlignment::Center,
          lq::WritingDirection::LeftToRight },
        { "<h2 class=\"right\">x</h2>", lq::TextAlignment::Left, lq::TextAlignment::Right,
          lq::WritingDirection::LeftToRight },
        // Right is tested after centre and wins.
        { "<p class=\"center\" class=\"right\">x</p>", lq::TextAlignment::Left, lq::TextAlignment::Right,
          lq::WritingDirection::LeftToRight },
        { "<p dir=\"rtl\" class=\"center\">x</p>", lq::TextAlignment::Right, lq::TextAlignment::Center,
          lq::WritingDirection::RightToLeft },
    };
    for (const Case& c : cases) {
        const lq::StyledText styled = read(QString::fromUtf8(c.stored), c.alignment);
        ASSERT_FALSE(styled.isEmpty()) << c.stored;
        const lq::ParagraphStyle style = *styled.attributesAt(0).paragraphStyle;
        EXPECT_EQ(style.alignment, c.expected) << c.stored;
        EXPECT_EQ(style.baseWritingDirection, c.direction) << c.stored;
        EXPECT_EQ(style.lineSpacing, 3) << c.stored;
        EXPECT_EQ(style.paragraphSpacing, 0) << c.stored;
        EXPECT_EQ(style.tabStops, lq::standardTabStops()) << c.stored;
    }

    // The newline between two paragraphs keeps the first one's style.
    const lq::StyledText two = read("<p class=\"right\">a</p><p>b</p>");
    EXPECT_EQ(two.attributesAt(1).paragraphStyle->alignment, lq::TextAlignment::Right);
    EXPECT_EQ(two.attributesAt(2).paragraphStyle->alignment, lq::TextAlignment::Left);
}

TEST_F(XmlWebTextReader, LinksCarryTheirTargetsAndRanges)
{
    const auto page7 = XmlAlbum::create();
    page7->setPageSeqNumber(7);
    page7->setFileName(QStringLiteral("seven.html"));
    const auto page3 = XmlAlbum::create();
    page3->setPageSeqNumber(3);
    page3->setFileName(QStringLiteral("page3.html"));
    document.pages = { page3, page7 };

    const lq::StyledText styled = read("<p>see <a href=\"u\" target=\"_blank\">here</a> and "
                                       "<a pseq=\"7\"><b>seven</b></a> or <a pseq=\"3\">three</a>"
                                       " not <a pseq=\"9\">nine</a></p>");
    ASSERT_EQ(styled.string(), QString("see here and seven or three not nine"));

    const lq::TextAttributes here = styled.attributesAt(4);
    EXPECT_EQ(here.value(lq::TextKey::linkLocation), QVariant(QString("u")));
    EXPECT_EQ(here.value(lq::TextKey::linkNewWindow), QVariant(1));
    // Link runs keep the text colour and are underlined outside Vorn Boxes.
    EXPECT_EQ(here.foregroundColour, lq::Colour(0.5f, 0, 0, 1));
    EXPECT_EQ(here.underlineStyle, 1);

    const lq::TextAttributes seven = styled.attributesAt(13);
    EXPECT_EQ(seven.value(lq::TextKey::linkLocation), QVariant(QString("seven.html")));
    EXPECT_EQ(seven.value(lq::TextKey::linkNewWindow), QVariant(0));
    EXPECT_TRUE(seven.font->isBold());

    EXPECT_EQ(styled.attributesAt(22).value(lq::TextKey::linkLocation), QVariant(QString("page3.html")));

    // No page 9: the link run has no location.
    const lq::TextAttributes nine = styled.attributesAt(32);
    EXPECT_FALSE(nine.value(lq::TextKey::linkLocation).isValid());
    EXPECT_EQ(nine.underlineStyle, 1);

    // The text outside links carries none of the link keys.
    EXPECT_FALSE(styled.attributesAt(0).value(lq::TextKey::linkLocation).isValid());
    EXPECT_FALSE(styled.attributesAt(0).value(lq::TextKey::linkNewWindow).isValid());

    EXPECT_EQ(text->links(), QStringList({ "{4, 4}", "{13, 5}", "{22, 5}", "{32, 4}" }));
}

TEST(XmlWebTextLinks, LinkAttributeTexts)
{
    struct Case {
        const char* attributes;
        QVariant target;
        int newWindow;
    };
    const std::vector<Case> cases {
        { "", QVariant(), 0 },
        { "href=\"http://a.example/?x=1&amp;y=2\"", QVariant(QString("http://a.example/?x=1&amp;y=2")), 0 },
        { "pseq=\"12\" target=\"_blank\"", QVariant(12), 1 },
        { "target=\"_self\" href=\"u\"", QVariant(QString("u")), 0 },
        // An empty attribute is passed over.
        { "title=\"\" href=\"v\"", QVariant(QString("v")), 0 },
        { "href=\"\"", QVariant(), 0 },
        // Names compare exactly; reading stops at "/".
        { "HREF=\"w\"", QVariant(), 0 },
        { "/ href=\"x\"", QVariant(), 0 },
        { "href", QVariant(), 0 },
    };
    for (const Case& c : cases) {
        const StoredLink link = readStoredLink(QString::fromUtf8(c.attributes));
        EXPECT_EQ(link.target, c.target) << c.attributes;
        EXPECT_EQ(link.newWindow, c.newWindow) << c.attributes;
    }
}

TEST_F(XmlWebTextReader, FirstLineOptionReadsOnlyALeadingParagraph)
{
    text->setFirstLine(true);
    EXPECT_EQ(read("<p>one</p><p>two</p>").string(), QString("one"));
    EXPECT_EQ(read("<br><p>a</p>").string(), QString(""));
    EXPECT_EQ(read("text <p>a</p>").string(), QString("a"));
}

TEST(XmlWebTextVornLinks, VornBoxLinksFollowTheRecord)
{
    // A Vorn Box writes in the records of its template's content box.
    const auto sheet = XmlStyleSheet::create();
    const auto content = XmlWebContent::create();
    content->setName(QStringLiteral("Content"));
    sheet->addChild(content);
    const auto box = sheet->addVornBox();
    const auto record = box->font();
    ASSERT_EQ(record, content->font());
    record->setLinkNormal(lq::Colour(0, 1, 0, 1));
    box->setNormalFont(record->createFont());
    for (bool underline : { true, false }) {
        record->setUnderlineLinks(underline);
        const lq::StyledText styled =
            box->getAttributedStringWithAlignmentAttr("<p><a href=\"x\"><u>l</u></a></p>", lq::TextAlignment::Left, 0);
        const lq::TextAttributes link = styled.attributesAt(0);
        EXPECT_EQ(link.foregroundColour, lq::Colour(0, 1, 0, 1));
        EXPECT_EQ(link.underlineStyle.has_value(), underline);
    }
}

TEST(StoredTextTokenizer, DeepNestingEndsWithoutExhaustingTheStack)
{
    QString stored = QStringLiteral("<p>");
    for (int i = 0; i < 100000; ++i)
        stored += QStringLiteral("<b>");
    stored += QStringLiteral("x");
    QString skipped = QStringLiteral("<p>a<x>");
    for (int i = 0; i < 100000; ++i)
        skipped += QStringLiteral("<y>");
    skipped += QStringLiteral("</p><p>b</p>");

    const auto text = XmlWebText::create();
    text->setNormalFont(lq::Font::helvetica(12));
    EXPECT_EQ(text->getAttributedStringWithAlignmentAttr(stored, lq::TextAlignment::Left, 0).string(), QString("x"));
    EXPECT_EQ(text->getAttributedStringWithAlignmentAttr(skipped, lq::TextAlignment::Left, 0).string(), QString("a"));
}

TEST(StoredTextTokenizer, SinksSeeParagraphsRunsAndLinks)
{
    struct Recorder : StoredTextSink {
        QStringList events;
        void beginParagraph(const QString& tag, const QString& attributes, bool afterAnother) override
        {
            events << QStringLiteral("P %1 [%2] %3").arg(tag, attributes).arg(afterAnother);
        }
        void appendRun(const QString& raw, int bits, const StoredLink& link) override
        {
            events << QStringLiteral("R [%1] %2 %3").arg(raw).arg(bits).arg(link.target.toString());
        }
        void linkStart() override { events << QStringLiteral("LS"); }
        void linkEnd() override { events << QStringLiteral("LE"); }
    } recorder;
    StoredTextTokenizer::read("<h4 class=\"c\">a <a href=\"u\">b<i>c</i></a></h4><p>d</p>", recorder);
    EXPECT_EQ(recorder.events, QStringList({
                                   "P h4 [class=\"c\"] 0",
                                   "R [a ] 0 ",
                                   "LS",
                                   "R [b] 8 u",
                                   "R [c] 9 u",
                                   "LE",
                                   "P p [] 1",
                                   "R [d] 0 ",
                               }));
}
