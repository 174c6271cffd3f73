#include "elements/QZTextContainer.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/PreviewView.h"
#include "platform/ValueStrings.h"
#include "platform/Workspace.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestMovie.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// A template in a theme that reaches the document, with its content box and
// one Vorn Box from the theme's counter, and a site whose pages the boxes
// are laid out for.
class VornBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        site->homepage()->addChild(album);
        site->homepage()->addChild(other);
        album->setFileName(QStringLiteral("page1.html"));
        other->setFileName(QStringLiteral("page2.html"));
        document.pages = site->homepage()->webItems();
        theme->setDocument(&document);
        theme->setRootDir(folder.path());
        theme->setVornboxSeqNumber(5);
        theme->addChild(sheet);
        content->setName(QStringLiteral("Content"));
        content->newDocument();
        sheet->addChild(content);
        box = sheet->addVornBox();
        box->setLeft(10);
        box->setTop(20);
        box->setWidth(200);
        box->setHeight(100);
        document.changes = 0;
    }
    void TearDown() override
    {
        theme->setDocument(nullptr);
        lq::setOpenURLHandler({});
    }

    QString pass(PagePass number)
    {
        QString html;
        box->appendHTMLPagePassSheet(html, album.get(), number, sheet.get());
        return html;
    }
    QString css()
    {
        QString text;
        box->appendCSS(text);
        return text;
    }
    void makeQuickTime(const QString& file)
    {
        box->settings().setType(0);
        box->settings().setExternalType(1);
        box->settings().setExternalHTML(file);
    }
    void writeMovie(const QString& name, double width, double height)
    {
        writeAll(folder.filePath(QStringLiteral("files/") + name), testmovie::movie(width, height));
    }

    QTemporaryDir folder;
    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
    std::shared_ptr<XmlAlbum> other = XmlAlbum::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebContent> content = XmlWebContent::create();
    std::shared_ptr<XmlVornBox> box;
};

} // namespace

// --- Model and stored form ---------------------------------------------------------------------

TEST_F(VornBox, ANewBoxIsAnInlineFrameInTheForegroundWithASnippetPart)
{
    for (const std::shared_ptr<XmlVornBox>& fresh : { XmlVornBox::create(), box }) {
        const QString xml = fresh->createXml();
        for (const char* expected : { " type=\"0\"", " externalType=\"0\"", " fullname=\"Vorn Box\"",
                                      " zlocation=\"Foreground\"", " externalHTML=\"\"", " qtSize=\"{0, 0}\"",
                                      "<htmlSnippet" })
            EXPECT_TRUE(xml.contains(QLatin1String(expected))) << expected << "\n" << xml.toStdString();
    }
    EXPECT_EQ(box->name(), QStringLiteral("Vorn Box"));
    EXPECT_TRUE(box->visible());
    EXPECT_FALSE(box->visibleInSlideshow());
    EXPECT_TRUE(box->enabled());
}

TEST_F(VornBox, BoxesAreNumberedFromTheThemesCounter)
{
    const std::shared_ptr<XmlVornBox> second = sheet->addVornBox();
    EXPECT_EQ(box->vornSeqNum(), 5);
    EXPECT_EQ(second->vornSeqNum(), 6);
    EXPECT_EQ(second->uniquename(), QStringLiteral("x6"));
    EXPECT_EQ(theme->peekVornboxSeqNumber(), 7);
}

TEST_F(VornBox, OnlyALayerBoxHasALayerOfItsOwn)
{
    for (int type : { 0, 1, 2 }) {
        box->settings().setType(type);
        document.changes = 0;
        box->settings().setZlocation(QStringLiteral("Background"));
        EXPECT_EQ(box->zlocation(), QStringLiteral("Foreground")) << type;
        EXPECT_EQ(document.changes, 0) << type;
        EXPECT_EQ(box->getCorrectPass(), PagePass::ForegroundVorns) << type;
    }
    box->settings().setType(3);
    document.changes = 0;
    box->settings().setZlocation(QStringLiteral("Middle"));
    EXPECT_EQ(box->zlocation(), QStringLiteral("Middle"));
    EXPECT_EQ(document.changes, 1);
    EXPECT_EQ(box->getCorrectPass(), PagePass::MiddleVorns);
    box->setBkgnd(1);
    box->setTransparentBkgnd(0);
    EXPECT_EQ(box->bkgnd(), 5);
    EXPECT_EQ(box->transparentBkgnd(), 1);
    box->settings().setType(0);
    EXPECT_EQ(box->bkgnd(), 1);
    EXPECT_EQ(box->zlocation(), QStringLiteral("Foreground"));
}

TEST_F(VornBox, EverySettingSurvivesWritingAndReading)
{
    box->settings().setType(3);
    box->settings().setZlocation(QStringLiteral("Background"));
    box->settings().setWrapsText(true);
    box->settings().setExternalType(3);
    box->settings().setExternalHTML(QStringLiteral("a \"b\" & <c>.png"));
    box->setFullname(QStringLiteral("Banner"));
    box->settings().setClickLinkTo(QStringLiteral("http://example.com/?a=1&b=2"));
    box->settings().setRollOverImage(QStringLiteral("over.png"));
    box->settings().setNewWindow(true);
    box->settings().setScrollbars(true);
    box->settings().setAutostart(true);
    box->settings().setMoviecontroller(true);
    box->settings().setLoopmovie(true);
    box->settings().setScale(2);
    box->settings().setHiddenQT(1);
    box->settings().setQTSize(lq::Size(320, 256));
    box->settings().setBaseSize(lq::Size(12, 34));
    box->htmlSnippet()->setContent(QStringLiteral("<b>hi</b>"));

    const XmlBasePtr read = XmlBase::createWithXmlRootDir(box->createXml(), folder.path());
    XmlVornBox* copy = XmlVornBox::cast(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->vornSeqNum(), 5);
    EXPECT_EQ(copy->type(), 3);
    EXPECT_EQ(copy->zlocation(), QStringLiteral("Background"));
    EXPECT_TRUE(copy->settings().wrapsText());
    EXPECT_EQ(copy->settings().externalType(), 3);
    EXPECT_EQ(copy->settings().externalHTML(), box->settings().externalHTML());
    EXPECT_EQ(copy->fullname(), QStringLiteral("Banner"));
    EXPECT_EQ(copy->settings().clickLinkTo(), box->settings().clickLinkTo());
    EXPECT_EQ(copy->settings().rollOverImage(), QStringLiteral("over.png"));
    EXPECT_TRUE(copy->settings().newWindow() && copy->settings().scrollbars() && copy->settings().autostart() && copy->settings().moviecontroller()
                && copy->settings().loopmovie());
    EXPECT_EQ(copy->settings().scale(), 2);
    EXPECT_EQ(copy->settings().hiddenQT(), 1);
    EXPECT_EQ(copy->settings().qtSize(), lq::Size(320, 256));
    EXPECT_EQ(copy->settings().baseSize(), lq::Size(12, 34));
    EXPECT_EQ(copy->htmlSnippet()->content(), QStringLiteral("<b>hi</b>"));
    EXPECT_EQ(copy->numberChildren(), 0);
}

TEST_F(VornBox, ALayerReadBeforeTheTypeIsLost)
{
    const XmlBasePtr early = XmlBase::createWithXmlRootDir(
        QStringLiteral("<cssVornBox zlocation=\"Middle\" type=\"3\"></cssVornBox>"), folder.path());
    const XmlBasePtr late = XmlBase::createWithXmlRootDir(
        QStringLiteral("<cssVornBox type=\"3\" zlocation=\"Middle\"></cssVornBox>"), folder.path());
    ASSERT_TRUE(XmlVornBox::cast(early.get()) && XmlVornBox::cast(late.get()));
    EXPECT_EQ(XmlVornBox::cast(early.get())->zlocation(), QStringLiteral("Foreground"));
    EXPECT_EQ(XmlVornBox::cast(late.get())->zlocation(), QStringLiteral("Middle"));
}

TEST_F(VornBox, AQuickTimeBoxSizesItselfFromItsMovie)
{
    makeQuickTime(QStringLiteral("movie.mov"));
    box->setBl(1);
    box->setPl(2);
    box->setPr(3);
    box->setBr(4);
    box->setBt(5);
    box->setPt(6);
    box->setBb(7);
    box->setPb(8);
    struct Case {
        lq::Size qt;
        int width;
        int height;
        int internalHeight;
    };
    const Case cases[] = {
        { lq::Size(0, 0), 110, 126, 0 },
        { lq::Size(320, 0), 330, 26, 0 },
        { lq::Size(0, 50), 110, 76, 50 },
        { lq::Size(320.7f, 240.9f), 330, 266, 240 },
    };
    for (const Case& c : cases) {
        box->settings().setQTSize(c.qt);
        EXPECT_FALSE(box->widthFixed() || box->heightFixed());
        EXPECT_EQ(box->calcWidth(), c.width) << c.qt.width;
        EXPECT_EQ(box->calcHeight(), c.height) << c.qt.height;
        EXPECT_EQ(box->width(), c.width);
        EXPECT_EQ(box->height(), c.height);
        EXPECT_EQ(box->internalHeight(), c.internalHeight);
    }
    // The inspector's fixed size does not count.
    box->setWidth(999);
    box->setHeight(999);
    EXPECT_EQ(box->calcWidth(), 330);
    box->settings().setExternalType(0);
    EXPECT_EQ(box->calcWidth(), 999);
}

// --- Template CSS and page HTML ----------------------------------------------------------------

TEST_F(VornBox, LayerBoxesWriteInTheirLayersPass)
{
    box->settings().setType(3);
    struct Case {
        const char* layer;
        PagePass pass;
        bool zIndex;
    };
    const Case cases[] = { { "Foreground", PagePass::ForegroundVorns, true }, { "Background", PagePass::BackgroundVorns, false },
                           { "Middle", PagePass::MiddleVorns, false }, { "Anything", PagePass::ForegroundVorns, true } };
    for (const Case& c : cases) {
        box->settings().setZlocation(QLatin1String(c.layer));
        for (int number = int(PagePass::HeadScript); number <= int(PagePass::Steps); ++number) {
            const QString html = pass(static_cast<PagePass>(number));
            if (static_cast<PagePass>(number) == c.pass)
                EXPECT_EQ(html, box->htmlDivTagsVornStyle(QStringLiteral("vorn5"), QString())) << c.layer;
            else
                EXPECT_TRUE(html.isEmpty()) << c.layer << " pass " << number;
        }
        const QString rule = css();
        EXPECT_TRUE(rule.startsWith(QStringLiteral("div#vorn5 {margin: 0px; display: block; position: absolute; ")));
        EXPECT_TRUE(rule.endsWith(c.zIndex ? QStringLiteral("overflow: hidden; z-index:100; }\n")
                                           : QStringLiteral("overflow: hidden; }\n")))
            << rule.toStdString();
    }
    // The rule is there for hidden boxes too.
    box->setVisible(false);
    EXPECT_TRUE(css().startsWith(QStringLiteral("div#vorn5 {")));
}

TEST_F(VornBox, AQuickTimeBoxCallsTheSiteScript)
{
    makeQuickTime(QStringLiteral("movie.mov"));
    box->settings().setQTSize(lq::Size(0, 0));
    EXPECT_EQ(box->calcWidth(), 100);
    EXPECT_EQ(box->calcHeight(), 100);
    EXPECT_EQ(pass(PagePass::ForegroundVorns),
              QStringLiteral("<div id=\"vorn5\" style=\"top: 20px; left: 10px; width: 100px; height: 100px;\">"
                             "<div id=\"xvorn5\" class=\"vornhtml\" style=\"padding: 0px 0px 0px 0px;\">"
                             "</div></div>\n"
                             "<script language=\"Javascript\" type=\"text/javascript\">\n"
                             "insertQuicktime('xvorn5', 'movie.mov', '100', '0', 'false', 'false', 'false', 'false');\n"
                             "</script>\n"));
    EXPECT_TRUE(pass(PagePass::ContentText).isEmpty());
    EXPECT_EQ(css(), QStringLiteral("div#vorn5 {margin: 0px; display: block; position: absolute; "
                                    "border-top: #000000 solid 0px; border-left: #000000 solid 0px; "
                                    "border-bottom: #000000 solid 0px; border-right: #000000 solid 0px; "
                                    "background-color: transparent; }\n"))
        << css().toStdString();

    box->setDropShadow(1);
    box->settings().setAutostart(true);
    box->settings().setHiddenQT(3);
    EXPECT_TRUE(pass(PagePass::ForegroundVorns).contains(QStringLiteral("'movie.mov', '92', '0', 'true', 'false', 'false', 'true');")));

    // A stored name cannot leave the script string or end the script.
    box->settings().setExternalHTML(QStringLiteral("it's\\</script>.mov"));
    EXPECT_TRUE(pass(PagePass::ForegroundVorns).contains(QStringLiteral("'xvorn5', 'it\\'s\\\\<\\/script>.mov', ")));
}

TEST_F(VornBox, AFlashBoxPassesLoopScaleAndBackgroundColour)
{
    box->settings().setExternalType(2);
    box->settings().setExternalHTML(QStringLiteral("intro.swf"));
    box->setBkgndColor(lq::Colour(1, 0, 0, 1));
    box->settings().setLoopmovie(true);
    const char* words[] = { "Default", "noborder", "exactfit", "Default" };
    for (int scale = 0; scale < 4; ++scale) {
        box->settings().setScale(scale);
        EXPECT_TRUE(pass(PagePass::ForegroundVorns).endsWith(QStringLiteral("insertFlash('xvorn5', 'intro.swf', '200', '100', 'true', '")
                                      + QLatin1String(words[scale]) + QStringLiteral("', '#FF0000');\n</script>\n")))
            << pass(PagePass::ForegroundVorns).toStdString();
    }
}

TEST_F(VornBox, AnImageBoxWritesItsLinkAndRollover)
{
    box->settings().setExternalType(3);
    const QString outer = QStringLiteral("<div id=\"vorn5\" style=\"top: 20px; left: 10px; width: 200px; height: 100px;\">"
                                         "<div id=\"xvorn5\" class=\"vornhtml\" style=\"padding: 0px 0px 0px 0px;\">");
    EXPECT_EQ(pass(PagePass::ForegroundVorns), outer + QStringLiteral("</div></div>\n"));

    box->settings().setExternalHTML(QStringLiteral("I.png"));
    EXPECT_EQ(pass(PagePass::ForegroundVorns), outer + QStringLiteral("<img src=\"I.png\" alt=\"\" style=\"border: 0px; \" /></div></div>\n"));

    box->settings().setClickLinkTo(QStringLiteral("http://example.com/?a=1&b=2"));
    EXPECT_EQ(pass(PagePass::ForegroundVorns), outer + QStringLiteral("<a href=\"http://example.com/?a=1&amp;b=2\" target=\"_self\">"
                                               "<img src=\"I.png\" alt=\"\" style=\"border: 0px; \" /></a>\n"
                                               "</div></div>\n"));

    box->settings().setNewWindow(true);
    box->settings().setExternalHTML(QStringLiteral("it's \"I\".png"));
    box->settings().setRollOverImage(QStringLiteral("R.png"));
    EXPECT_EQ(pass(PagePass::ForegroundVorns),
              outer + QStringLiteral("<a href=\"http://example.com/?a=1&amp;b=2\" target=\"_blank\">"
                                     "<img src=\"it's &quot;I&quot;.png\" alt=\"\" style=\"border: 0px; \""
                                     " id=\"xvornro5\" onload=\"vornro5 = new rollOver('xvornro5', "
                                     "'it\\'s &quot;I&quot;.png', 'R.png')\" onmouseout=\"vornro5.mouseOut()\""
                                     " onmouseover=\"vornro5.mouseOver()\" /></a>\n</div></div>\n"));
    EXPECT_TRUE(css().contains(QStringLiteral("overflow: hidden; ")));
}

TEST_F(VornBox, InlineFramesSnippetsAndUnknownItemsCloseTheirDivisions)
{
    box->setPt(1);
    box->setPr(2);
    box->setPb(3);
    box->setPl(4);
    box->settings().setExternalHTML(QStringLiteral("http://example.com/\"><script>"));
    box->settings().setScrollbars(true);
    EXPECT_EQ(pass(PagePass::ForegroundVorns), QStringLiteral("<div id=\"vorn5\" style=\"top: 20px; left: 10px; width: 200px; height: 100px;\">"
                                       "<iframe id=\"ivorn5\" frameborder=\"0\" height=\"100\" scrolling=\"yes\" "
                                       "src=\"http://example.com/&quot;&gt;&lt;script&gt;\" width=\"200\">"
                                       "This browser does not support iframes</iframe>\n</div>\n"));

    box->settings().setExternalType(7);
    EXPECT_TRUE(pass(PagePass::ForegroundVorns).endsWith(QStringLiteral("style=\"padding: 1px 2px 3px 4px;\"></div></div>\n")));

    box->settings().setType(2);
    box->htmlSnippet()->setContent(QStringLiteral("<em>raw & \"as is\"</em>"));
    EXPECT_EQ(pass(PagePass::ForegroundVorns), QStringLiteral("<div id=\"vorn5\" style=\"top: 20px; left: 10px; width: 200px; height: 100px;\">"
                                       "<div class=\"vornhtml\" style=\"padding: 1px 2px 3px 4px;\">"
                                       "<em>raw & \"as is\"</em></div></div>\n"));
}

// --- Rich text ---------------------------------------------------------------------------------

TEST_F(VornBox, RichTextTakesTheContentBoxsRecordsAndRegistersItsLinks)
{
    box->settings().setType(1);
    content->heading()->setFontSize(30);
    content->heading()->setLinkHover(lq::Colour(0, 1, 0, 1));
    content->font()->setLinkHover(lq::Colour(1, 0, 0, 1));
    box->setContent(QStringLiteral("<p>plain <a href=\"page2.html\">next</a></p>"
                                   "<h3>big <a href=\"http://example.com/\">out</a></h3><h4>c</h4>"));
    box->relayoutFlags(album.get(), 0);
    ASSERT_TRUE(box->textStorage());
    const lq::StyledText& text = *box->textStorage();
    EXPECT_EQ(text.string(), QStringLiteral("plain next\nbig out\nc"));
    EXPECT_EQ(text.attributesAt(0).value(lq::TextKey::type).toInt(), 0);
    EXPECT_EQ(text.attributesAt(11).value(lq::TextKey::type).toInt(), 1);
    EXPECT_EQ(text.attributesAt(19).value(lq::TextKey::type).toInt(), 3);
    EXPECT_EQ(text.attributesAt(11).font->pixelSize(), 30);
    EXPECT_EQ(text.attributesAt(6).foregroundColour, content->font()->linkNormal());

    ASSERT_EQ(document.trackingAreas.size(), 2u);
    EXPECT_EQ(document.trackingAreas[0].data, QStringLiteral("{6, 4}"));
    EXPECT_EQ(document.trackingAreas[1].data, QStringLiteral("{15, 3}"));
    const lq::Rect inner = box->internalRect();
    EXPECT_TRUE(inner.toQRectF().contains(document.trackingAreas[0].rect.toQRectF()));

    // A heading's link hovers in the heading record's colour.
    box->mouseEntered(QStringLiteral("{15, 3}"));
    EXPECT_EQ(box->layoutManager()->temporaryForegroundColourAtCharacterIndex(16), lq::Colour(0, 1, 0, 1));
    box->mouseEntered(QStringLiteral("{6, 4}"));
    EXPECT_EQ(box->layoutManager()->temporaryForegroundColourAtCharacterIndex(7), lq::Colour(1, 0, 0, 1));
    box->mouseExited(QStringLiteral("{6, 4}"));
    EXPECT_FALSE(box->layoutManager()->temporaryForegroundColourAtCharacterIndex(7).has_value());
    EXPECT_EQ(document.redisplayed.size(), 3u);

    // A page's link selects the page; any other goes to the browser.
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    box->mouseClick(QStringLiteral("{6, 4}"));
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages[0].page, other.get());
    EXPECT_EQ(document.selectedPages[0].index, -1);
    box->mouseClick(QStringLiteral("{15, 3}"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://example.com/")));

    // The page: the box's division, then the positioned paragraphs.
    const QString html = pass(PagePass::ForegroundVorns);
    EXPECT_TRUE(html.startsWith(box->htmlDivTagsVornStyle(QStringLiteral("vorn5"), QString())
                                + QStringLiteral("<div class=\"content\"><p")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"page2.html\">next</a>")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</h4></div>\n")));
}

TEST_F(VornBox, ATabSplitsARichTextLineUnlessItIsCentred)
{
    box->settings().setType(1);
    box->setBl(3);
    box->setPl(7);
    box->setContent(QStringLiteral("<p>A&#009;B</p><p class=\"center\">C&#009;D</p>"));
    box->relayoutFlags(album.get(), 0);
    const QString html = pass(PagePass::ForegroundVorns);
    EXPECT_EQ(html.count(QStringLiteral("<p")), 4) << html.toStdString();
    EXPECT_EQ(html.count(QStringLiteral("left: 20px; width: 190px; text-align: center;")), 2) << html.toStdString();
}

TEST_F(VornBox, WithoutAContentBoxTheTextHasNoRecords)
{
    sheet->removeChild(content.get());
    box->settings().setType(1);
    box->setContent(QStringLiteral("<p>x <a href=\"y\">y</a></p>"));
    EXPECT_EQ(box->font(), nullptr);
    box->relayoutFlags(album.get(), 0);
    ASSERT_TRUE(box->textStorage());
    EXPECT_EQ(box->textStorage()->string(), QStringLiteral("x y"));
    EXPECT_TRUE(box->createXml().contains(QStringLiteral(" underlineLinks=\"1\"")));
}

// --- Previews ----------------------------------------------------------------------------------

TEST_F(VornBox, ThePreviewPageOfASnippet)
{
    box->settings().setType(2);
    box->htmlSnippet()->setContent(QStringLiteral("SNIPPET"));
    const QString html = box->htmlString();
    const QString base = QUrl::fromLocalFile(folder.path() + QStringLiteral("/files/")).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<html>\n<head>\n<meta http-equiv=\"content-type\" "
                                               "content=\"text/html; charset=UTF-8\">\n<base href=\"")
                                + base + QStringLiteral("\" >\n<style type=\"text/css\">\nbody { ")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("div.vornhtml")));
    EXPECT_TRUE(html.contains(QStringLiteral("function rollOver (ident, normal, over) {\n")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</head>\n<body>\n<div class=\"vornhtml\">SNIPPET</div>\n</body></html>")));

    for (int type : { 1, 3 }) {
        box->settings().setType(type);
        EXPECT_TRUE(box->htmlString().isNull()) << type;
    }
    box->settings().setType(0);
    EXPECT_TRUE(box->htmlString().isNull());
    box->settings().setExternalType(3);
    box->settings().setExternalHTML(QStringLiteral("I.png"));
    EXPECT_TRUE(box->htmlString().endsWith(QStringLiteral("<body>\n<img src=\"I.png\" />\n</body></html>")));
    box->settings().setExternalType(1);
    EXPECT_TRUE(box->htmlString().contains(QStringLiteral("<PARAM NAME=\"Loop\" VALUE=\"false\" />\n")));
    box->settings().setExternalType(2);
    EXPECT_TRUE(box->htmlString().contains(QStringLiteral("#version=6,0,40,0\" HEIGHT=\"100\" WIDTH=\"200\" >\n")));
}

TEST_F(VornBox, ThePreviewBaseAddressSurvivesAnOddFolderName)
{
    QTemporaryDir odd(QDir::tempPath() + QStringLiteral("/vorn #?% XXXXXX"));
    ASSERT_TRUE(odd.isValid());
    theme->setRootDir(odd.path());
    box->settings().setType(2);
    const QString html = box->htmlString();
    const QString expected = QUrl::fromLocalFile(odd.path() + QStringLiteral("/files/")).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(expected.contains(QStringLiteral("%23")) && expected.contains(QStringLiteral("%3F")));
    EXPECT_TRUE(html.contains(QStringLiteral("<base href=\"") + expected + QStringLiteral("\" >\n")));
    EXPECT_EQ(QUrl(expected).toLocalFile(), odd.path() + QStringLiteral("/files/"));
}

TEST_F(VornBox, UpdateVornMeasuresTheMovie)
{
    writeMovie(QStringLiteral("movie.mov"), 320, 240);
    makeQuickTime(QStringLiteral("movie.mov"));
    box->updateVorn();
    EXPECT_EQ(box->settings().qtSize(), lq::Size(320, 240));
    box->settings().setMoviecontroller(true);
    box->updateVorn();
    EXPECT_EQ(box->settings().qtSize(), lq::Size(320, 256));
    document.changes = 0;

    // A movie that cannot be read leaves the size; other boxes measure nothing.
    box->settings().setExternalHTML(QStringLiteral("missing.mov"));
    box->updateVorn();
    EXPECT_EQ(box->settings().qtSize(), lq::Size(320, 256));
    writeMovie(QStringLiteral("other.mov"), 64, 48);
    box->settings().setExternalHTML(QStringLiteral("other.mov"));
    box->settings().setExternalType(2);
    box->updateVorn();
    EXPECT_EQ(box->settings().qtSize(), lq::Size(320, 256));
}

TEST_F(VornBox, LiveViewsOnlyWhileTheTemplateShowsThem)
{
    box->settings().setType(2);
    EXPECT_FALSE(box->requiresView());
    EXPECT_EQ(box->createView(), nullptr);
    sheet->setShowVornViews(true);
    struct Case {
        int type;
        int external;
        bool view;
    };
    const Case cases[] = { { 0, 0, false }, { 0, 1, true }, { 0, 2, false }, { 0, 3, true },
                           { 1, 0, false }, { 2, 0, true },  { 3, 0, false } };
    for (const Case& c : cases) {
        box->settings().setType(c.type);
        box->settings().setExternalType(c.external);
        EXPECT_EQ(box->requiresView(), c.view) << c.type << "/" << c.external;
    }

    box->settings().setType(2);
    box->htmlSnippet()->setContent(QStringLiteral("hello"));
    std::unique_ptr<lq::PreviewView> web = box->createView();
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->kind(), lq::PreviewView::Kind::Web);
    EXPECT_FALSE(web->drawsBackground());
    EXPECT_EQ(web->html(), box->htmlString());
    EXPECT_EQ(web->frame(), box->internalRect());

    // The canvas keeps the view; layout places it, drawing asks it to show again.
    document.widgetViews[5] = web.get();
    box->setBl(2);
    box->setPt(3);
    box->relayoutFlags(album.get(), 0);
    EXPECT_EQ(web->frame(), lq::Rect(12, 23, 198, 97));
    const int requests = web->displayRequests();
    QImage canvas(300, 200, QImage::Format_ARGB32_Premultiplied);
    {
        lq::GraphicsContext::Scope scope(canvas);
        box->drawObject();
    }
    EXPECT_EQ(web->displayRequests(), requests + 1);
    box->htmlSnippet()->setContent(QStringLiteral("again"));
    box->reloadPage();
    EXPECT_EQ(web->loads(), 2);
    EXPECT_TRUE(web->html().contains(QStringLiteral("again")));

    writeMovie(QStringLiteral("movie.mov"), 320, 240);
    makeQuickTime(QStringLiteral("movie.mov"));
    box->settings().setHiddenQT(1);
    box->settings().setAutostart(true);
    std::unique_ptr<lq::PreviewView> movie = box->createView();
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->kind(), lq::PreviewView::Kind::Movie);
    EXPECT_TRUE(movie->isHidden());
    EXPECT_TRUE(movie->isPlaying());
    EXPECT_FALSE(movie->loops());
    EXPECT_EQ(box->settings().qtSize(), lq::Size(320, 240));
    document.widgetViews.clear();
}

TEST(VornBoxDrawing, ThePlaceholderHatchingEveryTwentyPoints)
{
    const std::vector<XmlVornBox::Line> lines = XmlVornBox::placeholderHatchLines(lq::Rect(10, 20, 100, 40));
    ASSERT_EQ(lines.size(), 7u); // d = 0, 20, ..., 120
    EXPECT_EQ(lines[0].start, lq::Point(10, 20));
    EXPECT_EQ(lines[0].end, lq::Point(10, 20));
    EXPECT_EQ(lines[1].start, lq::Point(30, 20));
    EXPECT_EQ(lines[1].end, lq::Point(10, 40));
    // d = 60: the end runs along the bottom edge.
    EXPECT_EQ(lines[3].start, lq::Point(70, 20));
    EXPECT_EQ(lines[3].end, lq::Point(30, 60));
    // d = 120: the start runs down the right edge.
    EXPECT_EQ(lines[6].start, lq::Point(110, 40));
    EXPECT_EQ(lines[6].end, lq::Point(90, 60));
    EXPECT_EQ(XmlVornBox::placeholderHatchLines(lq::Rect(0, 0, 20, 20)).size(), 2u);
}

TEST_F(VornBox, ItemsWithoutAViewDrawAPlaceholderWithTheirName)
{
    box->settings().setExternalType(2);
    box->settings().setExternalHTML(QStringLiteral("intro.swf"));
    sheet->setShowVornViews(true);
    QImage canvas(300, 200, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        lq::GraphicsContext::Scope scope(canvas);
        box->drawObject();
    }
    ASSERT_TRUE(box->textStorage());
    EXPECT_EQ(box->textStorage()->string(), QStringLiteral("Vorn Box\nintro.swf"));
    // White under the label, dashes elsewhere.
    EXPECT_EQ(canvas.pixelColor(12, 22), QColor(Qt::white));
    int yellow = 0;
    int black = 0;
    for (int y = 60; y < 120; ++y) {
        for (int x = 10; x < 210; ++x) {
            const QColor pixel = canvas.pixelColor(x, y);
            if (pixel.alpha() < 100)
                continue;
            if (pixel.red() > 120 && pixel.green() > 120 && pixel.blue() < 100)
                ++yellow;
            else if (pixel.red() < 80 && pixel.green() < 80 && pixel.blue() < 80)
                ++black;
        }
    }
    EXPECT_GT(yellow, 50);
    EXPECT_GT(black, 50);

    box->setFullname(QStringLiteral("Mine"));
    box->settings().setExternalHTML(QStringLiteral(""));
    {
        lq::GraphicsContext::Scope scope(canvas);
        box->drawObject();
    }
    EXPECT_EQ(box->textStorage()->string(), QStringLiteral("Mine\n"));
}

TEST_F(VornBox, ALayerBoxPushesTheContentTextAsideOnlyWhenSetTo)
{
    content->setLeft(0);
    content->setTop(0);
    content->setWidth(400);
    content->setHeight(300);
    const auto floats = [&] {
        sheet->relayoutFlags(album.get(), 0);
        const auto* container = dynamic_cast<const QZTextContainer*>(content->textContainer().get());
        return container ? container->floatingRects() : QStringList();
    };
    const QString frame = lq::rectToString(box->objectRect());
    for (int type : { 0, 1, 2 }) {
        box->settings().setType(type);
        EXPECT_EQ(floats(), QStringList { frame }) << type;
    }
    box->settings().setType(3);
    EXPECT_TRUE(floats().isEmpty());
    box->settings().setWrapsText(true);
    EXPECT_EQ(floats(), QStringList { frame });
}

