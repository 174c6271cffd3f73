#include "elements/XmlWebBox.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A site with an album page, and a template holding a masthead and a page
// title box, in a recording document.
class XmlWebBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        site->homepage()->addChild(album);
        album->setContent(QStringLiteral("Summer"));
        masthead = site->homepage()->masthead().get();
        masthead->setContent(QStringLiteral("Home"));
        masthead->setLinkTo(QStringLiteral("index.html"));
        theme->setDocument(&document);
        theme->addChild(sheet);
        place(*mastheadBox, "Masthead", 10, 20);
        place(*titleBox, "Page Title", 100, 20);
    }
    void TearDown() override { theme->setDocument(nullptr); }

    void place(XmlWebBox& box, const char* name, int top, int left)
    {
        box.setName(QString::fromLatin1(name));
        box.setTop(top);
        box.setLeft(left);
        box.setWidth(300);
        box.setHeight(40);
        box.setBt(1);
        box.setPt(2);
        box.setBl(3);
        box.setPl(4);
        box.newDocument();
        sheet->addChild(box.sharedFromThis());
    }

    QString pass(XmlWebBox& box, PagePass number)
    {
        box.relayoutFlags(album.get(), 0);
        QString html;
        box.appendHTMLPagePassSheet(html, album.get(), number, sheet.get());
        return html;
    }

    // The tops of the box's laid-out lines on the page.
    std::vector<int> lineTops(XmlWebBox& box)
    {
        std::vector<int> tops;
        for (const lq::LineFragment& line : box.layoutManager()->lineFragments())
            tops.push_back(static_cast<int>(box.internalRect().y() + line.rect.y()));
        return tops;
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    XmlMasthead* masthead = nullptr;
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebBox> mastheadBox = XmlWebBox::create();
    std::shared_ptr<XmlWebBox> titleBox = XmlWebBox::create();
};

} // namespace

TEST_F(XmlWebBoxTest, NewBoxIsAPlacedEditableTextElement)
{
    const auto box = XmlWebBox::create();
    EXPECT_EQ(box->elementName(), QString("cssWebBox"));
    EXPECT_TRUE(box->absolute());
    EXPECT_TRUE(box->widthFixed());
    EXPECT_TRUE(box->heightFixed());
    EXPECT_EQ(box->objectRect(), lq::Rect(0, 0, 100, 100));
    EXPECT_TRUE(box->enabled());
    EXPECT_TRUE(box->canDoubleClick());
    EXPECT_FALSE(XmlWebText::create()->enabled());
    EXPECT_FALSE(box->firstLine());
}

TEST_F(XmlWebBoxTest, MastheadWithTextAndLink)
{
    EXPECT_EQ(pass(*mastheadBox, PagePass::MastheadBox),
              QString("<div id=\"mastheadbox\" style=\"top: 10px; left: 20px; width: 297px; height: 39px;\">&nbsp;</div>\n"));
    const std::vector<int> tops = lineTops(*mastheadBox);
    ASSERT_EQ(tops.size(), 1u);
    EXPECT_EQ(pass(*mastheadBox, PagePass::MastheadText),
              QString::asprintf("<a id =\"mh\" class=\"mh\" href=\"index.html\" style=\"top: %dpx; left:27px; width: 293px;\">Home</a>\n",
                                tops[0]));
    EXPECT_EQ(tops[0], 13);

    // Without a link the lines are paragraphs.
    masthead->setLinkTo(QStringLiteral(""));
    EXPECT_EQ(pass(*mastheadBox, PagePass::MastheadText),
              QString::asprintf("<p id =\"mh\" class=\"mh\" style=\"top: %dpx; left:27px; width: 293px;\">Home</p>\n", tops[0]));

    // Every other pass writes nothing.
    for (PagePass number : { PagePass::Head, PagePass::FirstLayer, PagePass::ContentBox, PagePass::AlbumBox, PagePass::PageTitleBox, PagePass::MiddleVorns, PagePass::Thumbnails, PagePass::PageTitleText, PagePass::LastLayer, PagePass::AfterPage, PagePass::Steps })
        EXPECT_EQ(pass(*mastheadBox, number), QString()) << number;
}

TEST_F(XmlWebBoxTest, MastheadWithALinkAndNoTextIsAClickableBox)
{
    masthead->setContent(QStringLiteral(""));
    const QString div = pass(*mastheadBox, PagePass::MastheadBox);
    EXPECT_TRUE(div.startsWith("<div id=\"mastheadbox\" onclick=\"location.href='index.html';\" style=\"cursor: pointer; "))
        << div.toStdString();
    EXPECT_TRUE(div.endsWith("top: 10px; left: 20px; width: 297px; height: 39px;\">&nbsp;</div>\n")) << div.toStdString();
    EXPECT_EQ(pass(*mastheadBox, PagePass::MastheadText), QString());
}

TEST_F(XmlWebBoxTest, LinksCannotBreakTheMarkupOrTheScript)
{
    struct Case {
        const char* link;
        const char* href;
        const char* onclick;
    };
    const std::vector<Case> cases {
        // Ordinary addresses stay as they are; an ampersand is written as
        // the attribute needs it, and the browser reads it back as "&".
        { "page.html?a=1&b=2", "page.html?a=1&amp;b=2", "page.html?a=1&amp;b=2" },
        { "x\" onmouseover=\"alert(1)", "x&quot; onmouseover=&quot;alert(1)", "x&quot; onmouseover=&quot;alert(1)" },
        { "a<b>c", "a&lt;b&gt;c", "a&lt;b&gt;c" },
        { "it's';alert(2);'", "it's';alert(2);'", "it\\'s\\';alert(2);\\'" },
    };
    for (const Case& c : cases) {
        masthead->setLinkTo(QString::fromUtf8(c.link));
        masthead->setContent(QStringLiteral("Home"));
        EXPECT_TRUE(pass(*mastheadBox, PagePass::MastheadText).startsWith(QString("<a id =\"mh\" class=\"mh\" href=\"") + c.href + "\" style="))
            << c.link;
        masthead->setContent(QStringLiteral(""));
        EXPECT_TRUE(pass(*mastheadBox, PagePass::MastheadBox).startsWith(QString("<div id=\"mastheadbox\" onclick=\"location.href='") + c.onclick
                                                     + "';\" style=\"cursor: pointer; "))
            << c.link;
    }
}

TEST_F(XmlWebBoxTest, PageTitleWritesOneParagraphPerLine)
{
    album->setContent(QStringLiteral("First line\nSecond line"));
    EXPECT_EQ(pass(*titleBox, PagePass::PageTitleBox),
              QString("<div id=\"pagetitlebox\" style=\"top: 100px; left: 20px; width: 297px; height: 39px;\">&nbsp;</div>\n"));
    const std::vector<int> tops = lineTops(*titleBox);
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_LT(tops[0], tops[1]);
    EXPECT_EQ(pass(*titleBox, PagePass::PageTitleText),
              QString::asprintf("<p id=\"pt\" class=\"pt\" style=\"top: %dpx; left:27px; width: 293px;\">First line</p>\n"
                                "<p id=\"pt\" class=\"pt\" style=\"top: %dpx; left:27px; width: 293px;\">Second line</p>\n",
                                tops[0], tops[1]));
    for (PagePass number : { PagePass::MastheadBox, PagePass::MastheadText })
        EXPECT_EQ(pass(*titleBox, number), QString()) << number;
}

TEST_F(XmlWebBoxTest, FontCheckLinesInTheSetUpPass)
{
    const auto record = mastheadBox->font();
    record->setFontSize(22);
    const int lineHeight = static_cast<int>(record->createFont()->defaultLineHeight());
    ASSERT_GT(lineHeight, 0);
    const QString expected = QString::asprintf("fc.addfs(\"mh\", %d, 22, \"p.mh\");\n"
                                               "fc.addfs(\"amh\", %d, 22, \"a.mh\");\n",
                                               lineHeight, lineHeight);
    EXPECT_EQ(pass(*mastheadBox, PagePass::HeadScript), expected);
    // With or without a link.
    masthead->setLinkTo(QStringLiteral(""));
    EXPECT_EQ(pass(*mastheadBox, PagePass::HeadScript), expected);

    const auto title = titleBox->font();
    EXPECT_EQ(pass(*titleBox, PagePass::HeadScript), QString::asprintf("fc.addfs(\"pt\", %d, %d, \"p.pt\");\n",
                                                      static_cast<int>(title->createFont()->defaultLineHeight()),
                                                      title->fontSize()));

    // A box of another name takes no part in the page.
    mastheadBox->setName(QStringLiteral("Other"));
    for (PagePass number : { PagePass::HeadScript, PagePass::MastheadBox, PagePass::PageTitleBox, PagePass::MastheadText, PagePass::PageTitleText })
        EXPECT_EQ(pass(*mastheadBox, number), QString()) << number;
}

TEST_F(XmlWebBoxTest, StyleRules)
{
    const auto rules = [](XmlWebBox& box, const QString& boxSelector, const QString& textSelector) {
        QString fontParameters;
        box.font()->appendCSSFontParameters(fontParameters);
        QString borders;
        box.appendCSSBorders(borders);
        QString background;
        box.appendCSSBackground(background);
        QString expected;
        if (textSelector == u"p.mh") {
            expected += "a.mh { text-decoration: none; display: block; position: absolute; margin: 0px; white-space: nowrap; "
                + fontParameters + "}\n";
        }
        expected += boxSelector + " {" + borders + background + "display: block; position: absolute; }\n";
        expected += textSelector + " {display: block; position: absolute; margin: 0px; white-space: nowrap; " + fontParameters
            + "}\n";
        return expected;
    };
    mastheadBox->font()->setBold(true);
    QString css;
    mastheadBox->appendCSS(css);
    EXPECT_EQ(css, rules(*mastheadBox, "#mastheadbox", "p.mh"));
    EXPECT_TRUE(css.contains("font-weight: bold; "));

    css.clear();
    titleBox->appendCSS(css);
    EXPECT_EQ(css, rules(*titleBox, "#pagetitlebox", "p.pt"));

    titleBox->setName(QStringLiteral("Sidebar"));
    css.clear();
    titleBox->appendCSS(css);
    EXPECT_EQ(css, rules(*titleBox, "boxmodelbox", "textbox"));

    // A plain colour background needs no fix for the other browser.
    css.clear();
    mastheadBox->appendCSSWinIESuffix(css, "0p1");
    EXPECT_EQ(css, QString());
}

TEST_F(XmlWebBoxTest, EditingStoresPlainTextIntoTheSiteAndThePage)
{
    mastheadBox->relayoutFlags(album.get(), 0);
    mastheadBox->textStorage()->replace({ 0, 4 }, QStringLiteral("Welcome"));
    mastheadBox->endEditingInView();
    EXPECT_EQ(masthead->content(), QString("Welcome"));
    EXPECT_EQ(document.contentEditingEnded, 1);

    titleBox->relayoutFlags(album.get(), 0);
    lq::TextAttributes bold;
    bold.font = lq::Font::helvetica(12).withBold(true);
    titleBox->textStorage()->append(QStringLiteral(" Holidays"), bold);
    titleBox->endEditingInView();
    EXPECT_EQ(album->content(), QString("Summer Holidays"));
    EXPECT_EQ(document.contentEditingEnded, 2);
    EXPECT_EQ(masthead->content(), QString("Welcome"));
}

TEST_F(XmlWebBoxTest, TextBoxHeightIsTheUsedHeight)
{
    const auto box = XmlWebBox::create();
    EXPECT_EQ(box->textBoxHeight(), 0);
    album->setContent(QStringLiteral("One\nTwo"));
    titleBox->relayoutFlags(album.get(), 0);
    EXPECT_EQ(titleBox->textBoxHeight(),
              static_cast<int>(titleBox->layoutManager()->usedRectForTextContainer(titleBox->textContainer().get()).height()));
    EXPECT_GT(titleBox->textBoxHeight(), static_cast<int>(titleBox->font()->createFont()->defaultLineHeight()));
}

TEST_F(XmlWebBoxTest, TemplateWithBothBoxesReadsBackByteForByte)
{
    mastheadBox->font()->setLinkNormal(lq::Colour(1, 0, 0, 1));
    mastheadBox->font()->setUnderlineLinks(false);
    titleBox->setFirstLine(true);
    titleBox->setBkgnd(1);
    titleBox->setBkgndColor(lq::Colour(0, 0.5f, 1, 1));
    const auto readSheet = [](const QString& text) {
        return std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::createWithXmlRootDir(text, QString()));
    };
    // The template as a saved file holds it: read once, the standard
    // elements stand in their places.
    const auto saved = readSheet(sheet->createXml());
    ASSERT_NE(saved, nullptr);
    const QString xml = saved->createXml();
    EXPECT_TRUE(xml.contains(" underlineLinks=\"0\" linkNormal=\"#FF0000\" linkHover=\"#0000B2\" linkVisited=\"#333333\" "
                             "firstline=\"0\" fontsHaveData=\"1\""))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains("firstline=\"1\" fontsHaveData=\"1\"")) << xml.toStdString();

    const auto read = readSheet(xml);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->createXml(), xml);
    const auto box = std::dynamic_pointer_cast<XmlWebBox>(read->getElementWithName(QStringLiteral("Masthead")));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->underlineLinks());
    EXPECT_EQ(box->linkNormal(), lq::Colour(1, 0, 0, 1));
}

TEST(XmlWebTextAttributes, OldFilesMoveTheirLinkSettingsIntoTheFontRecord)
{
    // Written before font records held link settings, with a legacy line spacing.
    const QString old = QStringLiteral(
        "<cssWebBox v=\"1\" v2=\"1\" name=\"Masthead\" underlineLinks=\"0\" linkNormal=\"#00FF00\" linkHover=\"#0000FF\" "
        "linkVisited=\"#FF0000\" normalLS=\"4\" firstline=\"1\"><cssFont v=\"1\" v2=\"1\" name=\"default\"/></cssWebBox>");
    const auto box = std::dynamic_pointer_cast<XmlWebBox>(XmlBase::createWithXmlRootDir(old, QString()));
    ASSERT_NE(box, nullptr);
    const auto record = box->font();
    EXPECT_FALSE(record->underlineLinks());
    EXPECT_EQ(record->linkNormal(), lq::Colour(0, 1, 0, 1));
    EXPECT_EQ(record->linkHover(), lq::Colour(0, 0, 1, 1));
    EXPECT_EQ(record->linkClicked(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(record->lineSpacing(), 4);
    EXPECT_TRUE(box->firstLine());
    EXPECT_FALSE(box->createXml().contains("normalLS"));

    // A file that has them keeps the record's own.
    const QString current = QStringLiteral(
        "<cssWebBox v=\"1\" v2=\"1\" name=\"Masthead\" underlineLinks=\"0\" linkNormal=\"#00FF00\" fontsHaveData=\"1\">"
        "<cssFont v=\"1\" v2=\"1\" name=\"default\" underlineLinks=\"1\" linkNormal=\"#000080\"/></cssWebBox>");
    const auto kept = std::dynamic_pointer_cast<XmlWebBox>(XmlBase::createWithXmlRootDir(current, QString()));
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->underlineLinks());
    EXPECT_EQ(kept->linkNormal(), lq::stringToColor("#000080").value());
}
