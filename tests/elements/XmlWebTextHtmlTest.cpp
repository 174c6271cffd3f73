#include "elements/StoredTextTokenizer.h"
#include "elements/XmlWebText.h"
#include "model/core/XmlBase.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct StyledRun {
    const char* text;
    int bits = 0;
    const char* link = nullptr;
    int newWindow = 0;
};

lq::ParagraphStyle paragraph(lq::TextAlignment alignment = lq::TextAlignment::Left,
                             lq::WritingDirection direction = lq::WritingDirection::LeftToRight)
{
    lq::ParagraphStyle style = lq::ParagraphStyle::defaultStyle();
    style.tabStops = lq::standardTabStops();
    style.alignment = alignment;
    style.baseWritingDirection = direction;
    return style;
}

// Styled text of runs with inline bits, as the reader makes it.
lq::StyledText styled(const std::vector<StyledRun>& runs, const lq::ParagraphStyle& style = paragraph(), int kind = 0)
{
    lq::StyledText text;
    for (const StyledRun& run : runs) {
        lq::TextAttributes attributes;
        attributes.paragraphStyle = style;
        attributes.font = lq::Font::helvetica(12).withBold(run.bits & InlineBits::bold).withItalic(run.bits & InlineBits::italic);
        if (run.bits & InlineBits::underline)
            attributes.underlineStyle = 1;
        if (run.link) {
            attributes.setValue(lq::TextKey::linkLocation, QString::fromUtf8(run.link));
            attributes.setValue(lq::TextKey::linkNewWindow, run.newWindow);
        }
        attributes.setValue(lq::TextKey::type, kind);
        text.append(QString::fromUtf8(run.text), attributes);
    }
    return text;
}

// A container that places every line 12.7 pixels lower than proposed.
class LoweredContainer : public lq::TextContainer {
public:
    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF* remaining) const override
    {
        return lq::TextContainer::lineFragmentRectForProposedRect(proposed.translated(0, 12.7), remaining);
    }
};

// Laid-out text for the writers.
struct Laid {
    explicit Laid(const lq::StyledText& text, std::shared_ptr<lq::TextContainer> box = nullptr)
        : storage(std::make_shared<lq::StyledText>(text))
        , container(box ? std::move(box) : std::make_shared<lq::TextContainer>(QSizeF(500, 1000)))
    {
        container->setLineFragmentPadding(0);
        layout.setTextStorage(storage);
        layout.addTextContainer(container);
    }
    QRectF bounds(quint32 location, quint32 length)
    {
        return layout.boundingRectForGlyphRange({ location, length }, container.get());
    }

    std::shared_ptr<lq::StyledText> storage;
    std::shared_ptr<lq::TextContainer> container;
    lq::LayoutManager layout;
};

int cut(double value)
{
    return static_cast<int>(value);
}

} // namespace

TEST(XmlWebTextHtml, RunsOpenAndCloseTheirTagsInStackOrder)
{
    struct Case {
        const char* what;
        std::vector<StyledRun> runs;
        const char* html;
    };
    using namespace InlineBits;
    const std::vector<Case> cases {
        { "plain", { { "x" } }, "x" },
        { "bold, then bold italic", { { "x", bold }, { "y", bold | italic } }, "<b>x<i>y</i></b>" },
        { "italic, then bold italic", { { "x", italic }, { "y", bold | italic } }, "<i>x<b>y</b></i>" },
        { "bold italic, then italic", { { "x", bold | italic }, { "y", italic } }, "<b><i>x</i></b><i>y</i>" },
        { "a single blank between styled runs", { { "a", bold }, { " " }, { "b", italic } }, "<b>a</b>&nbsp;<i>b</i>" },
        { "underline", { { "u", underline }, { "v" } }, "<u>u</u>v" },
        { "a link drops its underline", { { "l", underline, "page2.html" } }, "<a href=\"page2.html\">l</a>" },
        { "a link in a new window, bold inside", { { "n", 0, "http://x.example/", 1 }, { "b", bold, "http://x.example/", 1 } },
          "<a href=\"http://x.example/\" target=\"_blank\">n<b>b</b></a>" },
        // Each link keeps its own target, also when nothing lies between them.
        { "two links side by side", { { "a", 0, "a.html" }, { "b", bold, "b.html" }, { "c", 0, "b.html", 1 } },
          "<a href=\"a.html\">a</a><a href=\"b.html\"><b>b</b></a><a href=\"b.html\" target=\"_blank\">c</a>" },
        { "text is escaped", { { "<&>\"", 0 } }, "&lt;&amp;&gt;&quot;" },
        // A page's address cannot end the attribute it stands in.
        { "link targets are attribute-escaped", { { "l", 0, "a.html?x=1&y=\"2\"<>" } },
          "<a href=\"a.html?x=1&amp;y=&quot;2&quot;&lt;&gt;\">l</a>" },
    };
    const auto text = XmlWebText::create();
    for (const Case& c : cases) {
        const QString html = text->createHTMLfromAttributedStringAtXAtYPrePost(styled(c.runs), 3, 4, "<p", "</p>");
        EXPECT_EQ(html, QString("<p style=\"top: 4px; left: 3px;\">") + QString::fromUtf8(c.html) + "</p>") << c.what;
    }
}

TEST(XmlWebTextHtml, ElementFormsCarryPlaceDirectionAndAlignment)
{
    const auto text = XmlWebText::create();
    const lq::StyledText plain = styled({ { "x" } });
    const lq::StyledText right = styled({ { "x" } }, paragraph(lq::TextAlignment::Right));
    const lq::StyledText rtlCentred =
        styled({ { "x" } }, paragraph(lq::TextAlignment::Center, lq::WritingDirection::RightToLeft));

    EXPECT_EQ(text->createHTMLfromAttributedStringInRectPrePost(plain, lq::Rect(100.9f, 62.7f, 300.5f, 14), "<p id=\"pt\" class=\"pt\"", "</p>\n"),
              QString("<p id=\"pt\" class=\"pt\" style=\"top: 62px; left:100px; width: 300px;\">x</p>\n"));
    EXPECT_EQ(text->createHTMLfromAttributedStringInRectPrePost(right, lq::Rect(1, 2, 3, 4), "<p", "</p>"),
              QString("<p style=\"top: 2px; left:1px; width: 3px; text-align: right;\">x</p>"));
    EXPECT_EQ(text->createHTMLfromAttributedStringInRectPrePost(rtlCentred, lq::Rect(1, 2, 3, 4), "<p", "</p>"),
              QString("<p dir=\"rtl\" style=\"top: 2px; left:1px; width: 3px; text-align: center;\">x</p>"));
    EXPECT_EQ(text->createHTMLfromAttributedStringAtXAtYPrePost(rtlCentred, 5, 6, "<span", "</span>"),
              QString("<span dir=\"rtl\" style=\"top: 6px; left: 5px;\">x</span>"));

    // Empty text gives nothing at all.
    EXPECT_EQ(text->createHTMLfromAttributedStringInRectPrePost(lq::StyledText(), lq::Rect(1, 2, 3, 4), "<p", "</p>"), QString(""));
    EXPECT_EQ(text->createHTMLfromAttributedStringAtXAtYPrePost(lq::StyledText(), 1, 2, "<p", "</p>"), QString(""));
    EXPECT_EQ(text->createHTMLfromAttributedStringAtXAtYWidth(lq::StyledText(), 1, 2, 3), QString(""));
}

TEST(XmlWebTextHtml, BlocksByKindCarryTheFontCheckIdOncePerPage)
{
    const auto sheet = XmlStyleSheet::create();
    const auto text = XmlWebText::create();
    sheet->addChild(text);
    const auto block = [&](int kind, const lq::ParagraphStyle& style = paragraph()) {
        return text->createHTMLfromAttributedStringAtXAtYWidth(styled({ { "x" } }, style, kind), 3, 4, 200);
    };

    const lq::ParagraphStyle rtlCentred = paragraph(lq::TextAlignment::Center, lq::WritingDirection::RightToLeft);
    EXPECT_EQ(block(0, rtlCentred),
              QString("<p id=\"cp\" dir=\"rtl\" style=\"top: 4px; left: 3px; width: 200px; text-align: center;\">x</p>"));
    EXPECT_EQ(block(0, paragraph(lq::TextAlignment::Right)),
              QString("<p style=\"top: 4px; left: 3px; width: 200px; text-align: right;\">x</p>"));
    EXPECT_EQ(block(1), QString("<h1 id=\"ch1\" style=\"top: 4px; left: 3px;\">x</h1>"));
    EXPECT_EQ(block(2), QString("<h2 id=\"ch2\" style=\"top: 4px; left: 3px;\">x</h2>"));
    EXPECT_EQ(block(3), QString("<h4 id=\"ch4\" style=\"top: 4px; left: 3px;\">x</h4>"));
    EXPECT_EQ(block(3), QString("<h4 style=\"top: 4px; left: 3px;\">x</h4>"));
    EXPECT_EQ(block(4), QString("<h5 style=\"top: 4px; left: 3px;\">x</h5>"));
    EXPECT_EQ(block(5), QString("<h6 style=\"top: 4px; left: 3px;\">x</h6>"));
    EXPECT_EQ(block(9), QString("<p style=\"top: 4px; left: 3px;\">x</p>"));

    // A new page empties the bag; in browser flow no block carries an id.
    sheet->clearFontBag();
    sheet->setBrowserFlow(true);
    EXPECT_EQ(block(0), QString("<p style=\"top: 4px; left: 3px;\">x</p>"));
    sheet->setBrowserFlow(false);
    EXPECT_EQ(block(0), QString("<p id=\"cp\" style=\"top: 4px; left: 3px;\">x</p>"));
}

TEST(XmlWebTextHtml, TabsCutALineIntoPiecesAtTheirOwnPlaces)
{
    const auto text = XmlWebText::create();
    Laid laid(styled({ { "Name\tValue" } }));
    const QRectF name = laid.bounds(0, 4);
    const QRectF value = laid.bounds(5, 5);
    // The second piece starts at a tab stop after the first.
    ASSERT_GT(value.x(), name.right());
    EXPECT_EQ(std::fmod(value.x(), 28.0), 0.0);

    QString html;
    text->appendHTMLFromLayoutManagerPrePostOffset(html, &laid.layout, "<p", "</p>\n", lq::Point(10, 20));
    EXPECT_EQ(html, QString::asprintf("<p style=\"top: %dpx; left: %dpx;\">Name</p>\n"
                                      "<p style=\"top: %dpx; left: %dpx;\">Value</p>\n",
                                      cut(20 + name.y()), cut(10 + name.x()), cut(20 + value.y()), cut(10 + value.x())));

    // In the bounding variant every piece spans the box.
    html.clear();
    text->appendHTMLFromLayoutManagerPrePostBounding(html, &laid.layout, "<p", "</p>\n", lq::Rect(100, 50, 300, 40));
    EXPECT_EQ(html, QString::asprintf("<p style=\"top: %dpx; left:100px; width: 300px;\">Name</p>\n"
                                      "<p style=\"top: %dpx; left:100px; width: 300px;\">Value</p>\n",
                                      cut(50 + name.y()), cut(50 + value.y())));
}

TEST(XmlWebTextHtml, BlanksAndTabsThatLeadALineAreNeverWritten)
{
    const auto text = XmlWebText::create();
    Laid laid(styled({ { "one  \n \t two\n   \nthree" } }));
    const std::vector<lq::LineFragment> lines = laid.layout.lineFragments();
    ASSERT_EQ(lines.size(), 4u);

    QString html;
    text->appendHTMLFromLayoutManagerPrePostOffset(html, &laid.layout, "<p", "</p>", lq::Point(0, 0));
    // Inner and trailing blanks stay in the piece; the line of blanks writes nothing.
    EXPECT_EQ(html, QString::asprintf("<p style=\"top: %dpx; left: 0px;\">one&#160; </p>"
                                      "<p style=\"top: %dpx; left: %dpx;\">two</p>"
                                      "<p style=\"top: %dpx; left: 0px;\">three</p>",
                                      cut(lines[0].rect.y()), cut(lines[1].rect.y()), cut(laid.bounds(9, 3).x()),
                                      cut(lines[3].rect.y())));

    // Nothing laid out, nothing written.
    Laid empty { lq::StyledText() };
    html.clear();
    text->appendHTMLFromLayoutManagerPrePostOffset(html, &empty.layout, "<p", "</p>", lq::Point(0, 0));
    EXPECT_EQ(html, QString());
}

TEST(XmlWebTextHtml, BoundingVariantPlacesEachLineAtItsTop)
{
    const auto text = XmlWebText::create();
    Laid laid(styled({ { "Aligned" } }, paragraph(lq::TextAlignment::Center)), std::make_shared<LoweredContainer>());
    ASSERT_NEAR(laid.bounds(0, 7).y(), 12.7, 1e-4);
    QString html;
    text->appendHTMLFromLayoutManagerPrePostBounding(html, &laid.layout, "<p", "</p>", lq::Rect(100, 50, 300, 40));
    EXPECT_EQ(html, QString("<p style=\"top: 62px; left:100px; width: 300px; text-align: center;\">Aligned</p>"));
}

TEST(XmlWebTextHtml, BlocksOfAlignedPiecesSpanTheInnerWidth)
{
    const auto text = XmlWebText::create();
    text->setLeft(40);
    text->setTop(30);
    text->setWidth(250);
    text->setPl(5);
    text->setPr(5);
    Laid centred(styled({ { "Mid" } }, paragraph(lq::TextAlignment::Center)));
    QString html;
    text->appendHTMLFromLayoutManagerOffset(html, &centred.layout, lq::Point(45, 30));
    EXPECT_EQ(html, QString::asprintf("<p id=\"cp\" style=\"top: %dpx; left: 45px; width: 240px; text-align: center;\">Mid</p>",
                                      cut(30 + centred.bounds(0, 3).y())));

    Laid left(styled({ { "Left" } }));
    html.clear();
    text->appendHTMLFromLayoutManagerOffset(html, &left.layout, lq::Point(45, 30));
    EXPECT_EQ(html, QString::asprintf("<p id=\"cp\" style=\"top: %dpx; left: %dpx;\">Left</p>",
                                      cut(30 + left.bounds(0, 4).y()), cut(45 + left.bounds(0, 4).x())));
}

TEST(XmlWebTextHtml, InlineBitsOfARun)
{
    const auto text = XmlWebText::create();
    lq::TextAttributes attributes;
    EXPECT_EQ(text->getHTMLtags(attributes), 0);
    attributes.font = lq::Font::helvetica(12).withBold(true).withItalic(true);
    attributes.underlineStyle = 1;
    EXPECT_EQ(text->getHTMLtags(attributes), InlineBits::bold | InlineBits::italic | InlineBits::underline);
    EXPECT_FALSE(text->currentLink().isValid());
    attributes.setValue(lq::TextKey::linkLocation, QStringLiteral("x.html"));
    attributes.setValue(lq::TextKey::linkNewWindow, 1);
    EXPECT_EQ(text->getHTMLtags(attributes), InlineBits::bold | InlineBits::italic | InlineBits::link);
    EXPECT_EQ(text->currentLink(), QVariant(QString("x.html")));
    EXPECT_EQ(text->currentNewWindowFlag(), 1);

    text->pushStack(2);
    text->pushStack(8);
    EXPECT_EQ(text->popStack(), 8);
    EXPECT_EQ(text->popStack(), 2);
    EXPECT_EQ(text->popStack(), 0);
}
