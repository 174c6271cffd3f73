#include "elements/QZTextContainer.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Exception.h"
#include "platform/ValueStrings.h"
#include "platform/Workspace.h"
#include "platform/graphics/GraphicsImage.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "support/FakeDocument.h"
#include "support/FixedBox.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A site with two album pages under its home page, and a template in a
// theme that reaches the document, holding the content box at (50, 100),
// 400 by 200.
class ContentLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        site->homepage()->addChild(album);
        site->homepage()->addChild(other);
        album->setFileName(QStringLiteral("page1.html"));
        other->setFileName(QStringLiteral("page2.html"));
        other->setPageSeqNumber(7);
        document.pages = site->homepage()->webItems();
        theme->setDocument(&document);
        theme->addChild(sheet);
        box->setName(QStringLiteral("Content"));
        box->newDocument();
        box->setLeft(50);
        box->setTop(100);
        box->setWidth(400);
        box->setHeight(200);
        sheet->addChild(box);
    }
    void TearDown() override
    {
        theme->setDocument(nullptr);
        lq::setOpenURLHandler({});
    }

    void setText(const QString& stored) { album->webcontent()->setContent(stored); }
    QString laidOut() const { return box->textStorage() ? box->textStorage()->string() : QString(); }
    QString pass(XmlWebContent& element, PagePass number)
    {
        QString html;
        element.appendHTMLPagePassSheet(html, album.get(), number, sheet.get());
        return html;
    }
    std::shared_ptr<XmlWebFooter> addFooter()
    {
        auto footer = XmlWebFooter::create();
        footer->setName(QStringLiteral("Footer"));
        footer->setLeft(50);
        footer->setWidth(400);
        footer->setHeight(40);
        footer->setVoffset(10);
        sheet->addChild(footer);
        return footer;
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    std::shared_ptr<XmlAlbum> other = XmlAlbum::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebContent> box = XmlWebContent::create();
};

} // namespace

TEST_F(ContentLayout, ReadsThePagesTextWithTheRecordOfEachParagraph)
{
    setText(QStringLiteral("<p>abc"));
    box->relayoutFlags(album.get(), 0);
    EXPECT_EQ(laidOut(), QStringLiteral("abc"));

    box->caption()->setLineSpacing(3);
    setText(QStringLiteral("<p>a</p><h3>b</h3><h4 class=\"center\" class=\"right\">c</h4><h6 dir=\"rtl\"><b>d</b></h6>"
                           "<x>skipped</x>"));
    box->relayoutFlags(album.get(), 0);
    ASSERT_EQ(laidOut(), QStringLiteral("a\nb\nc\nd"));
    const lq::StyledText& text = *box->textStorage();
    struct Expected {
        quint32 at;
        int type;
        int size;
        lq::TextAlignment alignment;
        lq::WritingDirection direction;
        int lineSpacing;
    };
    const Expected expected[] = {
        { 0, 0, 14, lq::TextAlignment::Left, lq::WritingDirection::LeftToRight, 0 },
        // The line end keeps the paragraph before it.
        { 1, 0, 14, lq::TextAlignment::Left, lq::WritingDirection::LeftToRight, 0 },
        { 2, 1, 16, lq::TextAlignment::Left, lq::WritingDirection::LeftToRight, 0 },
        { 4, 3, 14, lq::TextAlignment::Right, lq::WritingDirection::LeftToRight, 3 },
        { 6, 5, 14, lq::TextAlignment::Left, lq::WritingDirection::RightToLeft, 0 },
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.at);
        const lq::TextAttributes attributes = text.attributesAt(e.at);
        EXPECT_EQ(attributes.value(lq::TextKey::type).toInt(), e.type);
        ASSERT_TRUE(attributes.font);
        EXPECT_EQ(qRound(attributes.font->pixelSize()), e.size);
        ASSERT_TRUE(attributes.paragraphStyle);
        EXPECT_EQ(attributes.paragraphStyle->alignment, e.alignment);
        EXPECT_EQ(attributes.paragraphStyle->baseWritingDirection, e.direction);
        EXPECT_EQ(attributes.paragraphStyle->lineSpacing, e.lineSpacing);
    }
    EXPECT_TRUE(text.attributesAt(6).font->isBold());
    EXPECT_FALSE(text.attributesAt(4).font->isBold());
}

TEST_F(ContentLayout, PageWithoutItsTextElementLaysOutEmptyAndKeepsTheStoredHeight)
{
    const auto footer = addFooter();
    const auto stray = XmlAlbum::create(); // in no site: it has no footer
    footer->relayoutFlags(stray.get(), 0);
    ASSERT_TRUE(footer->textStorage());
    EXPECT_TRUE(footer->textStorage()->isEmpty());
    EXPECT_EQ(footer->internalHeight(), 40);
    EXPECT_EQ(footer->actualHeight(), 40);

    // The footer shows the site's footer text.
    site->homepage()->footer()->setContent(QStringLiteral("<p>foot</p>"));
    footer->relayoutFlags(album.get(), 0);
    EXPECT_EQ(footer->textStorage()->string(), QStringLiteral("foot"));
}

TEST_F(ContentLayout, LinksBecomeClickAreasThatShowTheirPage)
{
    std::vector<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) { opened.push_back(url); return true; });
    setText(QStringLiteral("<p>see <a href=\"page2.html\">two</a> or <a pseq=\"7\" target=\"_blank\">seven</a>"
                           " <a pseq=\"99\">gone</a></p>"));
    sheet->relayoutFlags(album.get(), 0);
    ASSERT_EQ(laidOut(), QStringLiteral("see two or seven gone"));
    ASSERT_EQ(document.trackingAreas.size(), 3u);
    EXPECT_EQ(document.trackingAreas[0].uuid, box->UUID());
    EXPECT_EQ(document.trackingAreas[0].data, QStringLiteral("{4, 3}"));
    EXPECT_EQ(document.trackingAreas[1].data, QStringLiteral("{11, 5}"));
    const lq::Rect area = document.trackingAreas[0].rect;
    EXPECT_GT(area.x(), 50.0f);
    EXPECT_GE(area.y(), 100.0f);
    EXPECT_LT(area.maxX(), 450.0f);

    const lq::StyledText& text = *box->textStorage();
    EXPECT_EQ(text.attributesAt(12).value(lq::TextKey::linkLocation).toString(), QStringLiteral("page2.html"));
    EXPECT_EQ(text.attributesAt(12).value(lq::TextKey::linkNewWindow).toInt(), 1);
    EXPECT_EQ(text.attributesAt(4).foregroundColour, box->font()->linkNormal());
    EXPECT_TRUE(text.attributesAt(4).isUnderlined());
    // A page number whose page is gone: link colour and underline, no location.
    EXPECT_FALSE(text.attributesAt(18).value(lq::TextKey::linkLocation).isValid());
    EXPECT_TRUE(text.attributesAt(18).isUnderlined());

    box->mouseClick(QStringLiteral("{4, 3}"));
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages[0].page, other.get());
    EXPECT_EQ(document.selectedPages[0].index, -1);
    box->mouseClick(QStringLiteral("{17, 4}"));
    EXPECT_EQ(document.selectedPages.size(), 1u);
    EXPECT_TRUE(opened.empty());

    // A layout that does not read the text again keeps the click areas.
    sheet->relayoutFlags(album.get(), 2);
    EXPECT_EQ(document.trackingAreas.size(), 3u);
}

TEST_F(ContentLayout, LinkFeedbackTakesHoverAndClickedColoursOfTheParagraphsRecord)
{
    box->font()->setLinkHover(lq::Colour(1, 0, 0, 1));
    box->font()->setLinkClicked(lq::Colour(0, 1, 0, 1));
    box->alternate()->setLinkHover(lq::Colour(0, 0, 1, 1));
    box->heading()->setLinkHover(lq::Colour(1, 1, 0, 1));
    setText(QStringLiteral("<h5><a href=\"x\">alt</a></h5><h1><a href=\"y\">head</a></h1>"));
    box->relayoutFlags(album.get(), 0);
    lq::LayoutManager* manager = box->layoutManager();

    box->mouseEntered(QStringLiteral("{0, 3}"));
    EXPECT_EQ(manager->temporaryForegroundColourAtCharacterIndex(1), lq::Colour(1, 0, 0, 1));
    box->mouseDown(QStringLiteral("{0, 3}"));
    EXPECT_EQ(manager->temporaryForegroundColourAtCharacterIndex(1), lq::Colour(0, 1, 0, 1));
    box->mouseEntered(QStringLiteral("{4, 4}"));
    EXPECT_EQ(manager->temporaryForegroundColourAtCharacterIndex(5), lq::Colour(1, 1, 0, 1));
    EXPECT_EQ(document.redisplayed.size(), 3u);
    EXPECT_EQ(document.redisplayed.back(), box->objectRect());
    box->mouseExited(QStringLiteral("{0, 3}"));
    EXPECT_FALSE(manager->temporaryForegroundColourAtCharacterIndex(1));
    // The stored colours are untouched.
    EXPECT_EQ(box->textStorage()->attributesAt(1).foregroundColour, box->alternate()->linkNormal());
    // Ranges outside the text are ignored.
    box->mouseEntered(QStringLiteral("{40, 3}"));
    EXPECT_EQ(document.redisplayed.size(), 4u);
}

TEST_F(ContentLayout, ExtendPageReachesThePagesLowestElementButNeverForTheFooter)
{
    setText(QStringLiteral("<p>short</p>"));
    sheet->addChild(FixedBox::create(500, 0, 100, 600)); // ends 300 below the box's stored bottom
    const auto footer = addFooter();
    footer->setExtendPage(true);
    sheet->relayoutFlags(album.get(), 0);
    EXPECT_EQ(box->internalHeight(), 200);
    EXPECT_EQ(box->pageBounds(), lq::Rect(50, 0, 550, 600));
    box->setExtendPage(true);
    EXPECT_EQ(box->internalHeight(), 500);
    EXPECT_EQ(box->actualHeight(), 500);
    // The positioned box on the page reaches as far.
    EXPECT_EQ(pass(*box, PagePass::ContentBox),
              QStringLiteral("<div id=\"contentbox\" style=\"top: 100px; left: 50px; width: 400px; height: 500px;\">&nbsp;</div>\n"));
    EXPECT_EQ(footer->pageBounds(), lq::Rect(50, 0, 550, 600));
    EXPECT_EQ(footer->calcTop(), 610);
    EXPECT_EQ(footer->internalHeight(), 40);

    // The template takes the grown box into the page.
    sheet->relayoutFlags(album.get(), 0);
    EXPECT_EQ(sheet->middleSlice(), 600);
    EXPECT_EQ(sheet->pageHeight(), 650);
}

TEST_F(ContentLayout, DropShadowAndPaddingShapeTheTextArea)
{
    setText(QStringLiteral("<p>x</p>"));
    box->setDropShadow(1);
    box->relayoutFlags(album.get(), 0);
    EXPECT_EQ(box->internalWidth(), 392);
    EXPECT_EQ(box->internalHeight(), 192);
    EXPECT_EQ(box->actualHeight(), 200);

    box->setDropShadow(0);
    box->setBl(30);
    box->setPl(30);
    box->setPr(400);
    EXPECT_EQ(box->internalWidth(), -60); // not held at 0
    box->setBl(0);
    box->setPl(0);
    box->setPr(0);
    // Text longer than the box grows it.
    setText(QStringLiteral("<p>") + QStringLiteral("word ").repeated(400) + QStringLiteral("</p>"));
    box->relayoutFlags(album.get(), 0);
    const int bottom = box->bottomOfText();
    EXPECT_GT(box->internalHeight(), 200);
    EXPECT_EQ(bottom, box->internalHeight() + 100);

    // Clean-up drops the text objects; the next question lays the text out again.
    const int grown = box->internalHeight();
    box->cleanup();
    EXPECT_EQ(box->textStorage(), nullptr);
    EXPECT_EQ(box->internalHeight(), grown);
    ASSERT_NE(box->textStorage(), nullptr);
}

TEST_F(ContentLayout, OtherElementsAreFloatsButTheFooterIsNot)
{
    sheet->setVerticalSpace(4);
    sheet->setHorizontalSpace(6);
    sheet->addChild(FixedBox::create(50, 100, 100, 300));
    addFooter()->setTrog(true); // pinned over the box's text: still no float
    setText(QStringLiteral("<p>") + QStringLiteral("word ").repeated(40) + QStringLiteral("</p>"));
    sheet->relayoutFlags(album.get(), 0);
    const auto* container = dynamic_cast<const QZTextContainer*>(box->textContainer().get());
    ASSERT_TRUE(container);
    EXPECT_EQ(container->floatingRects(), QStringList { lq::rectToString(lq::Rect(50, 100, 100, 300)) });
    EXPECT_EQ(container->boundingRect(), lq::Rect(50, 100, 400, 200));
    EXPECT_EQ(container->paddingTop(), 4);
    EXPECT_EQ(container->paddingLeft(), 6);
    const std::vector<lq::LineFragment> lines = box->layoutManager()->lineFragments();
    ASSERT_FALSE(lines.empty());
    // The obstacle reaches 100 into the text area, plus the spacing.
    EXPECT_EQ(lines.front().rect.x(), 106);
}

TEST_F(ContentLayout, HeightChangesOfTheContainerLayTheTemplateOutAgain)
{
    setText(QStringLiteral("<p>x</p>"));
    sheet->relayoutFlags(album.get(), 0);
    lq::TextContainer* container = box->textContainer().get();
    box->layoutManagerDidCompleteLayoutForTextContainerAtEnd(box->layoutManager(), container, true);
    EXPECT_EQ(document.selectedObjectRefreshes, 1);
    box->layoutManagerDidCompleteLayoutForTextContainerAtEnd(box->layoutManager(), container, true);
    EXPECT_EQ(document.selectedObjectRefreshes, 1);
    container->setContainerSize(QSizeF(1000000, 500));
    box->layoutManagerDidCompleteLayoutForTextContainerAtEnd(box->layoutManager(), container, true);
    EXPECT_EQ(document.selectedObjectRefreshes, 2);
    EXPECT_EQ(box->currentAlbumUUID(), album->UUID());
}

TEST_F(ContentLayout, EditingInPlaceStoresTheTextAndRestoresTheWrapping)
{
    sheet->addChild(FixedBox::create(50, 100, 100, 300));
    setText(QStringLiteral("<p>one <b>two</b></p>"));
    sheet->relayoutFlags(album.get(), 0);
    auto* container = dynamic_cast<QZTextContainer*>(box->textContainer().get());
    ASSERT_TRUE(container);
    ASSERT_EQ(container->floatingRects().size(), 1);

    box->endEditingInView(); // never started: nothing
    EXPECT_EQ(document.contentEditingEnded, 0);

    EXPECT_TRUE(box->startEditingAtPointTextView(lq::Point(60, 110), nullptr));
    EXPECT_TRUE(box->isEditing());
    EXPECT_FALSE(box->startEditingAtPointTextView(lq::Point(60, 110), nullptr));
    EXPECT_EQ(box->editingFrame(), lq::Rect(50, 100, 800, 200));
    // A plain rectangle while the view edits the text.
    EXPECT_TRUE(container->floatingRects().isEmpty());
    EXPECT_EQ(box->textStorage()->attributesAt(0).foregroundColour, lq::Colour::black());

    lq::StyledText& text = *box->textStorage();
    text.replace({ 0, 3 }, QStringLiteral("1 < 2"));
    lq::TextAttributes centred;
    lq::ParagraphStyle style = *text.attributesAt(0).paragraphStyle;
    style.alignment = lq::TextAlignment::Center;
    centred.paragraphStyle = style;
    text.addAttributes(centred, { 0, text.length() });
    text.append(QStringLiteral("\n"), text.attributesAt(0));
    text.append(QStringLiteral("\n"), text.attributesAt(0));
    lq::TextAttributes heading = text.attributesAt(0);
    heading.setValue(lq::TextKey::paragraphKind, 1);
    heading.paragraphStyle->alignment = lq::TextAlignment::Left;
    text.append(QStringLiteral("Title"), heading);

    box->endEditingInView();
    EXPECT_FALSE(box->isEditing());
    EXPECT_EQ(document.contentEditingEnded, 1);
    EXPECT_EQ(album->webcontent()->content(),
              QStringLiteral("<p class=\"center\">1 &lt; 2 <b>two</b></p><p class=\"center\">&nbsp;</p><h1>Title</h1>"));
    EXPECT_EQ(container->floatingRects().size(), 1);
    EXPECT_EQ(laidOut(), QStringLiteral("1 < 2 two\n \nTitle")); // the empty paragraph holds "&nbsp;"
    box->endEditingInView();
    EXPECT_EQ(document.contentEditingEnded, 1);
}

// --- Page HTML ---------------------------------------------------------------------------------

TEST_F(ContentLayout, PositionedModeWritesFontChecksTheBoxAndOneElementPerLine)
{
    setText(QStringLiteral("<p>one</p><p>two</p><p>&#160; &#160; </p><p>three</p>"));
    sheet->relayoutFlags(album.get(), 0);
    sheet->clearFontBag();

    const QString checks = pass(*box, PagePass::HeadScript);
    const QStringList lines = checks.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("fc.addfs(\"cp\", ")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", 14, \"div.content p\");")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 16, \"div.content h1\");")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("fc.addfs(\"ch2\", ")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\"div.content h4\");")));

    EXPECT_EQ(pass(*box, PagePass::ContentBox),
              QStringLiteral("<div id=\"contentbox\" style=\"top: 100px; left: 50px; width: 400px; height: 200px;\">&nbsp;</div>\n"));
    const QString text = pass(*box, PagePass::ContentText);
    EXPECT_TRUE(text.startsWith(QStringLiteral("<div class=\"content\">\n<p id=\"cp\" style=\"top: 100px; left: 50px;\">one</p>\n")))
        << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral(" id=\"cp\"")), 1);
    EXPECT_EQ(text.count(QStringLiteral("<p")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral(">three</p>\n</div>\n")));
    for (PagePass other : { PagePass::Head, PagePass::FirstLayer, PagePass::BackgroundVorns, PagePass::MastheadBox, PagePass::NavigationItems, PagePass::ForegroundVorns, PagePass::AfterPage, PagePass::Steps })
        EXPECT_TRUE(pass(*box, other).isEmpty()) << other;
}

TEST_F(ContentLayout, LinePiecesBetweenTabsStandApart)
{
    setText(QStringLiteral("<p>Name&#009;Value</p>"));
    sheet->relayoutFlags(album.get(), 0);
    sheet->clearFontBag();
    const QString text = pass(*box, PagePass::ContentText);
    EXPECT_EQ(text.count(QStringLiteral("<p")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("left: 50px;\">Name</p>")));
    // "Value" stands at the tab stop after "Name" (stops every 28 pixels).
    const QRegularExpressionMatch value = QRegularExpression(QStringLiteral("left: (\\d+)px;\">Value</p>")).match(text);
    ASSERT_TRUE(value.hasMatch()) << text.toStdString();
    const int left = value.captured(1).toInt() - 50;
    EXPECT_GT(left, 0);
    EXPECT_EQ(left % 28, 0);
    EXPECT_FALSE(text.contains(u'\t'));
}

TEST_F(ContentLayout, FlowModeWritesParagraphsInTheBoxAroundSpacers)
{
    sheet->setBrowserFlow(true);
    box->setPl(5);
    box->setPr(5);
    setText(QStringLiteral("<p>one</p><p></p><h1 class=\"right\">a&#009;b</h1>"));
    sheet->relayoutFlags(album.get(), 0);
    EXPECT_TRUE(pass(*box, PagePass::HeadScript).isEmpty());
    EXPECT_EQ(pass(*box, PagePass::ContentBox),
              QStringLiteral("<div id=\"contentbox\" class=\"vornhtml\" style=\"top: 100px; left:50px; width: 390px;\">\n"
                             "<div class=\"lf\" style=\"width: 1px; height: 200px;\"></div>\n"
                             "<div class=\"rf\" style=\"width: 1px; height: 200px;\"></div>\n"
                             "<p>one</p>\n"
                             "<h1 style=\"text-align: right;\">a&nbsp;&nbsp;&nbsp;&nbsp;b</h1>\n"
                             "</div>\n"));
    EXPECT_TRUE(pass(*box, PagePass::ContentText).isEmpty());

    // An empty box holds only the spacers.
    setText(QString());
    sheet->relayoutFlags(album.get(), 0);
    EXPECT_EQ(pass(*box, PagePass::ContentBox).count(QStringLiteral("<p")), 0);
}

TEST_F(ContentLayout, FooterWritesItsBoxTextCreditAndCopyStep)
{
    const auto footer = addFooter();
    sheet->relayoutFlags(album.get(), 0);
    sheet->clearFontBag();
    const int top = footer->calcTop();
    EXPECT_EQ(top, 310);

    const QString checks = pass(*footer, PagePass::HeadScript);
    EXPECT_TRUE(checks.startsWith(QStringLiteral("fc.addfs(\"fp\", ")));
    EXPECT_TRUE(checks.endsWith(QStringLiteral(", 14, \"#footer p\");\n")));
    EXPECT_EQ(pass(*footer, PagePass::ContentBox),
              QStringLiteral("<div id=\"footerbox\" style=\"top: 310px; left: 50px; width: 400px; height: 40px;\">&nbsp;</div>\n"));
    EXPECT_EQ(pass(*footer, PagePass::ContentText),
              QStringLiteral("<div id=\"footer\">\n</div>\n"
                             "<div id=\"createwithbox\" style=\"top: 400px; left: 200px; height: 31px; position: absolute; display: block;\">"
                             "<a href=\"https://lumenquill.org/\"><img border=\"0\" src=\"createdwith.gif\" alt=\"Created With...\""
                             " height=\"31\" width=\"99\"/></a>&#160;&#160;</div>\n"));
    EXPECT_EQ(pass(*footer, PagePass::Steps), QStringLiteral("<QZcopy dir=\"homepage\" filename=\"createdwith.gif\" />"));

    // Flow mode: an empty footer still holds a paragraph.
    sheet->setBrowserFlow(true);
    footer->setCreatedWith(false);
    EXPECT_TRUE(pass(*footer, PagePass::HeadScript).isEmpty());
    EXPECT_EQ(pass(*footer, PagePass::ContentBox), QStringLiteral("<div id=\"footerbox\" style=\"top: 310px; left:50px; width: 400px;\">\n"
                                               "<p>&nbsp;</p></div>\n"));
    EXPECT_TRUE(pass(*footer, PagePass::ContentText).isEmpty());
    EXPECT_TRUE(pass(*footer, PagePass::Steps).isEmpty());
    // With text: its paragraphs, and no spacers (only the content box has them).
    site->homepage()->footer()->setContent(QStringLiteral("<p>foot</p><p class=\"center\">note</p>"));
    sheet->relayoutFlags(album.get(), 0);
    EXPECT_EQ(pass(*footer, PagePass::ContentBox), QStringLiteral("<div id=\"footerbox\" style=\"top: 310px; left:50px; width: 400px;\">\n"
                                               "<p>foot</p>\n<p style=\"text-align: center;\">note</p>\n</div>\n"));
    sheet->setBrowserFlow(false);
    sheet->clearFontBag();
    const QString lines = pass(*footer, PagePass::ContentText);
    EXPECT_TRUE(lines.startsWith(QStringLiteral("<div id=\"footer\">\n<p id=\"fp\" style=\"top: 310px; left: 50px;\">foot</p>\n")))
        << lines.toStdString();
    EXPECT_EQ(lines.count(QStringLiteral(" id=")), 2); // the division's and the first paragraph's
    sheet->setBrowserFlow(true);
    site->homepage()->footer()->setContent(QString());
    sheet->relayoutFlags(album.get(), 0);

    // The snippet goes in raw, in either mode.
    footer->setUseHtmlSnippet(true);
    footer->htmlSnippet()->setContent(QStringLiteral("<script>count()</script>"));
    for (bool flow : { true, false }) {
        sheet->setBrowserFlow(flow);
        EXPECT_EQ(pass(*footer, PagePass::ContentBox), QStringLiteral("<div id=\"footerbox\" style=\"top: 310px; left:50px; width: 400px; height: 40px;\">\n"
                                                   "<script>count()</script></div>\n"));
        EXPECT_TRUE(pass(*footer, PagePass::ContentText).isEmpty());
    }
}

TEST_F(ContentLayout, OneParagraphElementKeepsTagsNestedAndLinksQuoted)
{
    const auto run = [](const QString& characters, bool bold, bool italic, const QString& link = QString(),
                        bool underline = false) {
        lq::TextAttributes attributes;
        attributes.font = lq::Font::helvetica(14).withBold(bold).withItalic(italic);
        if (underline)
            attributes.underlineStyle = 1;
        if (!link.isNull())
            attributes.setValue(lq::TextKey::linkLocation, link);
        return lq::StyledText(characters, attributes);
    };
    lq::StyledText text = run(QStringLiteral("x"), true, true);
    text.append(run(QStringLiteral("y"), false, true));
    text.append(run(QStringLiteral(" "), false, false));
    text.append(run(QStringLiteral("go"), false, false, QStringLiteral("a\"b<c>&d"), true));
    text.append(run(QStringLiteral("to"), false, false, QStringLiteral("other")));
    sheet->setBrowserFlow(true);
    EXPECT_EQ(box->createHTMLfromAttributedStringAtRect(text, lq::Rect()),
              QStringLiteral("<p><b><i>x</i></b><i>y</i>&nbsp;<a href=\"a&quot;b&lt;c&gt;&amp;d\">go</a>"
                             "<a href=\"other\">to</a></p>\n"));

    sheet->setBrowserFlow(false);
    lq::TextAttributes right;
    right.paragraphStyle = lq::ParagraphStyle::defaultStyle();
    right.paragraphStyle->alignment = lq::TextAlignment::Right;
    right.setValue(lq::TextKey::type, 3);
    lq::StyledText aligned(QStringLiteral("r"), right);
    EXPECT_EQ(box->createHTMLfromAttributedStringAtRect(aligned, lq::Rect(400.7f, 120.2f, 150.9f, 20)),
              QStringLiteral("<h4 id=\"ch4\" style=\"top: 120px; left: 200px; width: 350px; text-align: right;\">r</h4>\n"));
    right.setValue(lq::TextKey::type, 4);
    right.paragraphStyle->alignment = lq::TextAlignment::Center;
    right.paragraphStyle->baseWritingDirection = lq::WritingDirection::RightToLeft;
    EXPECT_EQ(box->createHTMLfromAttributedStringAtRect(lq::StyledText(QStringLiteral("c"), right), lq::Rect(10, 5, 50, 20)),
              QStringLiteral("<h5 dir=\"rtl\" style=\"top: 5px; left: -90px; width: 250px; text-align: center;\">c</h5>\n"));
    EXPECT_TRUE(box->createHTMLfromAttributedStringAtRect(lq::StyledText(), lq::Rect()).isEmpty());
}

TEST_F(ContentLayout, CssStylesTheBoxSpacersAndBothKindsOfText)
{
    QString css;
    box->appendCSS(css);
    EXPECT_TRUE(css.startsWith(QStringLiteral("#contentbox {border-top: #000000 solid 0px; ")));
    EXPECT_TRUE(css.contains(QStringLiteral("display: block; position: absolute; }\n"
                                            "div.lf { float:left; clear: left; display: block; margin: 0px; padding:0px; "
                                            "border:none; background:none; line-height: 1px; font-size: 1px;}\n"
                                            "div.rf { float:right;")));
    EXPECT_FALSE(css.section(u'}', 0, 0).contains(QStringLiteral("padding")));
    for (const char* tag : { "p", "h1", "h2", "h4" }) {
        SCOPED_TRACE(tag);
        EXPECT_TRUE(css.contains(QStringLiteral("div.content %1 {position: absolute; white-space: nowrap; display: block; margin: 0px; font-family")
                                     .arg(QLatin1String(tag))));
        EXPECT_TRUE(css.contains(QStringLiteral("div.vornhtml %1 {margin: 0px; font-family").arg(QLatin1String(tag))));
        EXPECT_TRUE(css.contains(QStringLiteral("div.content %1 a:hover {").arg(QLatin1String(tag))));
        EXPECT_TRUE(css.contains(QStringLiteral("div.vornhtml %1 a:active {").arg(QLatin1String(tag))));
    }
    EXPECT_FALSE(css.contains(QStringLiteral("h5")));
    sheet->setBrowserFlow(true);
    QString flow;
    box->appendCSS(flow);
    EXPECT_TRUE(flow.section(u'}', 0, 0).contains(QStringLiteral("padding: 0px 0px 0px 0px; ")));
}

TEST_F(ContentLayout, SnippetFooterShowsAHatchedBoxInPlaceOfItsText)
{
    const auto footer = addFooter();
    footer->setLeft(0);
    footer->setVoffset(0);
    footer->setWidth(100);
    footer->setHeight(60);
    site->homepage()->footer()->setContent(QStringLiteral("<p>MMMM MMMM</p>"));
    footer->setPageBounds(lq::Rect());
    footer->relayoutFlags(album.get(), 0);
    const auto drawn = [&](const std::function<void()>& draw) {
        lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(100, 60));
        {
            lq::GraphicsImage::Focus focus(canvas);
            draw();
        }
        return canvas.toQImage();
    };
    const auto count = [](const QImage& image, const std::function<bool(const QColor&)>& test) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    const auto isYellow = [](const QColor& c) { return c.alpha() > 200 && c.red() > 200 && c.green() > 200 && c.blue() < 60; };
    const auto isBlack = [](const QColor& c) { return c.alpha() > 200 && c.red() < 60 && c.green() < 60 && c.blue() < 60; };

    // Without the snippet: the text and no hatching.
    const QImage text = drawn([&] { footer->drawText(); });
    EXPECT_GT(count(text, isBlack), 0);
    EXPECT_EQ(count(drawn([&] { footer->drawObject(); }), isYellow), 0);

    footer->setUseHtmlSnippet(true);
    EXPECT_EQ(count(drawn([&] { footer->drawText(); }), [](const QColor& c) { return c.alpha() > 0; }), 0);
    const QImage hatched = drawn([&] { footer->drawObject(); });
    EXPECT_GT(count(hatched, isYellow), 20);
    EXPECT_GT(count(hatched, isBlack), 20);
}

TEST_F(ContentLayout, PointsAndParagraphsOfTheLaidOutText)
{
    setText(QStringLiteral("<p>ab</p><p>cd</p><p>ef</p>"));
    box->relayoutFlags(album.get(), 0);
    ASSERT_EQ(laidOut(), QStringLiteral("ab\ncd\nef"));
    const std::vector<lq::LineFragment> lines = box->layoutManager()->lineFragments();
    ASSERT_GE(lines.size(), 3u);
    const float secondLine = 100 + lines[1].rect.y() + 1;
    EXPECT_EQ(box->getCharacterPositionForPoint(lq::Point(999, 101)), 0);
    EXPECT_EQ(box->getCharacterPositionForPoint(lq::Point(60, secondLine)), 3);
    EXPECT_EQ(box->getCharacterPositionForPoint(lq::Point(60, 301)), -1); // below the text area

    struct Align {
        float x;
        int block;
    };
    for (const Align& a : { Align { 50, 0 }, Align { 183, 0 }, Align { 184, 1 }, Align { 316, 1 }, Align { 317, 2 } })
        EXPECT_EQ(box->getBlockAlignForPoint(lq::Point(a.x, 0)), a.block) << a.x;

    struct Step {
        int index;
        int previous;
        int next;
    };
    for (const Step& s : { Step { 0, 0, 3 }, Step { 4, 0, 6 }, Step { 7, 3, -1 }, Step { -1, 3, -1 } }) {
        EXPECT_EQ(box->previousParagraph(s.index), s.previous) << s.index;
        EXPECT_EQ(box->nextParagraph(s.index), s.next) << s.index;
    }
    EXPECT_EQ(box->getIndexOfBeginingOfParagraph(5), 5);
}

namespace {

// A content box whose text area fails to be measured while `fail` is set.
class FailingContent : public XmlWebContent {
public:
    explicit FailingContent(Key key)
        : XmlWebContent(key)
    {
    }
    static std::shared_ptr<FailingContent> create() { return make<FailingContent>(); }
    int internalWidth() const override
    {
        if (fail)
            lq::raise("NSRangeException", "no width here");
        return XmlWebContent::internalWidth();
    }
    bool fail = false;
};

} // namespace

TEST_F(ContentLayout, LayoutFailuresAreLoggedAndTheBoxKeepsItsText)
{
    const auto failing = FailingContent::create();
    failing->setWidth(300);
    failing->setHeight(100);
    sheet->addChild(failing);
    setText(QStringLiteral("<p>old</p>"));
    failing->relayoutFlags(album.get(), 0);
    ASSERT_EQ(failing->textStorage()->string(), QStringLiteral("old"));

    setText(QStringLiteral("<p>new</p>"));
    failing->fail = true;
    LogCapture log;
    EXPECT_NO_THROW(failing->relayoutFlags(album.get(), 0));
    ASSERT_GE(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[log.lines.size() - 2].startsWith(QStringLiteral("webcontent error: ")));
    failing->fail = false;
    EXPECT_EQ(log.lines.last(), failing->createXml());
    EXPECT_EQ(failing->textStorage()->string(), QStringLiteral("old"));
}

TEST_F(ContentLayout, WindowsFixUpBitmapCoversTheWholeHeightOfTheBox)
{
    setText(QStringLiteral("<p>short</p>"));
    sheet->addChild(FixedBox::create(500, 0, 100, 600));
    box->setExtendPage(true);
    box->setBkgnd(4); // repeated down
    box->image()->setImageUUID(QStringLiteral("0123456789ABCDEF"));
    box->image()->setAttributeTo(QStringLiteral("itype"), QStringLiteral("2"));
    box->image()->setAttributeTo(QStringLiteral("ow"), QStringLiteral("100"));
    box->image()->setAttributeTo(QStringLiteral("oh"), QStringLiteral("50"));
    sheet->relayoutFlags(album.get(), 0);
    ASSERT_EQ(box->actualHeight(), 500);

    QString rule;
    box->appendCSSWinIESuffix(rule, QStringLiteral("0p1"));
    EXPECT_TRUE(rule.startsWith(QStringLiteral("#contentbox { background-image: url(bitmaps/transparent.gif); ")));
    QString step;
    box->genCSSWinIEBitmap(step);
    EXPECT_TRUE(step.contains(QStringLiteral(" size=\"{100, 500}\" "))) << step.toStdString();
}
