// Album pages as the site writes them: a site made from the starter, its
// album page of photos (titled and captioned in several languages) given
// each thumbnail click and each album option, built through the document's
// queue; every page it writes is checked against the HTML 4.01 Transitional
// DTD, read in the character set the page declares.
#include "elements/XmlWebContent.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlPhoto.h"
#include "pipeline/SiteScripts.h"
#include "support/HtmlValidator.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using ClickOperation = XmlWebPhotoAlbum::ClickOperation;
using CartType = XmlWebPhotoAlbum::CartType;

struct AlbumCase {
    const char* name;
    ClickOperation click;
    std::function<void(XmlWebPhotoAlbum&)> options;
};

void PrintTo(const AlbumCase& c, std::ostream* out) { *out << c.name; }

class AlbumPagesTest : public StarterSiteTest, public ::testing::WithParamInterface<AlbumCase> {
protected:
    AlbumPagesTest()
        : StarterSiteTest(QStringLiteral("Album.lqxl"))
    {
    }
};

TEST_P(AlbumPagesTest, EveryPageIsValidHtml401)
{
    if (!htmlValidatorAvailable())
        GTEST_SKIP() << "onsgmls and the W3C DTDs (opensp, w3c-sgml-lib) are not installed";
    const AlbumCase& c = GetParam();
    // Titles and captions in the characters of several languages: markup
    // characters, a dash, a typographic apostrophe, accents and Japanese.
    const QString title = QStringLiteral("Harbour \u2014 the fisher\u2019s caf\u00e9, \u6e2f\u306e\u671d");
    auto page = addPage(home(), 1, title);
    page->setContent(title);
    page->webcontent()->setContent(QStringLiteral("<p>Boats &amp; nets, early in the day \u2014 caf\u00e9 \u6e2f.</p>"));
    const QString captions[] = {
        QStringLiteral("Boat \"0\" & <net>"),
        QStringLiteral("Early light \u2014 the harbour\u2019s mouth"),
        QStringLiteral("Caf\u00e9 cr\u00e8me, na\u00efve"),
        QStringLiteral("\u6e2f\u306e\u671d\u3001\u6f01\u8239"),
    };
    for (int i = 0; i < 4; ++i) {
        const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
        writeAll(source, jpegBytes(160 + 40 * (i % 2), 120, i % 2 ? Qt::darkRed : Qt::darkCyan, 90));
        ASSERT_NE(page->importPhotoIndexCaption(source, i, captions[i]), nullptr);
    }
    auto* album = dynamic_cast<XmlWebPhotoAlbum*>(templateNumbered(1)->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    album->settings().setClickOp(c.click);
    if (c.options)
        c.options(*album);
    lq::createProcessor(site());
    runQueue();

    QStringList pages;
    for (const QString& name : generated().keys()) {
        if (!name.endsWith(QStringLiteral(".html")))
            continue;
        pages.append(name);
        const QString errors = validationErrors(homepage(name));
        EXPECT_TRUE(errors.isEmpty()) << name.toStdString() << ":\n" << errors.toStdString();
    }
    const QString harbour = page->fileName();
    EXPECT_TRUE(pages.contains(harbour)) << pages.join(u' ').toStdString();
    const bool slideshowPage = c.click == ClickOperation::SlideshowPage;
    EXPECT_EQ(pages.contains(QStringLiteral("slideshow%1.html").arg(page->pageSeqNumber())), slideshowPage) << pages.join(u' ').toStdString();
}

class AlbumBelowTheTextTest : public StarterSiteTest {
protected:
    AlbumBelowTheTextTest()
        : StarterSiteTest(QStringLiteral("Album.lqxl"))
    {
    }
};

// An album set to follow the description takes its top from the bottom of
// the page text, moves down as the text grows, and the page reaches below it.
TEST_F(AlbumBelowTheTextTest, TheGridStartsWhereThePageTextEnds)
{
    XmlStyleSheet* sheet = templateNumbered(1);
    auto* album = dynamic_cast<XmlWebPhotoAlbum*>(sheet->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);
    XmlWebContent* content = nullptr;
    for (const XmlBasePtr& child : sheet->children()) {
        auto* box = dynamic_cast<XmlWebContent*>(child.get());
        if (box && box->pageRole() == XmlCSS::PageRole::Text) {
            content = box;
            break;
        }
    }
    ASSERT_NE(content, nullptr);
    album->settings().setAfterDescription(1);
    auto page = addPage(home(), 1, QStringLiteral("Harbour"));
    for (int i = 0; i < 3; ++i) {
        const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
        writeAll(source, jpegBytes(160, 120, Qt::darkCyan, 90));
        ASSERT_NE(page->importPhotoIndexCaption(source, i, QStringLiteral("Boat %1").arg(i)), nullptr);
    }

    int previousTop = 0;
    for (int paragraphs : { 2, 12 }) {
        QString text;
        for (int i = 0; i < paragraphs; ++i)
            text += QStringLiteral("<p>Boats and nets, early in the day, paragraph %1.</p>").arg(i);
        page->webcontent()->setContent(text);
        sheet->relayoutFlags(page.get(), 0);
        const int bottom = content->bottomOfText();
        EXPECT_GT(bottom, previousTop) << paragraphs << " paragraphs";
        EXPECT_EQ(album->calcTop(), bottom) << paragraphs << " paragraphs";
        EXPECT_EQ(static_cast<int>(album->objectRect().y()), bottom) << paragraphs << " paragraphs";
        // The page above the foot ends below the grid.
        EXPECT_GE(sheet->middleSlice(), bottom + static_cast<int>(album->objectRect().height())) << paragraphs << " paragraphs";
        previousTop = bottom;
    }
}

class AlbumThumbnailLinksTest : public StarterSiteTest {
protected:
    AlbumThumbnailLinksTest()
        : StarterSiteTest(QStringLiteral("Links.lqxl"))
    {
    }
};

// What a visitor's click on a thumbnail does, as the page writes it: for
// each click operation the whole line of the first thumbnail, its link and
// its image, in the words of the album's design ("{image}" the photo's
// image number, "{page}" the page's number).
TEST_F(AlbumThumbnailLinksTest, EachClickOperationWritesItsLinkAndImage)
{
    auto page = addPage(home(), 1, QStringLiteral("Harbour"));
    for (int i = 0; i < 2; ++i) {
        const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
        writeAll(source, jpegBytes(160, 120, Qt::darkCyan, 90));
        ASSERT_NE(page->importPhotoIndexCaption(source, i, QStringLiteral("Boats & \u201cnets\u201d \u2014 <early>")), nullptr);
    }
    auto* first = XmlPhoto::cast(page->childAtIndex(0).get());
    ASSERT_NE(first, nullptr);
    first->caption()->setEmbeddedLink(QStringLiteral("http://example.org/boats?a=1&b=2"));
    first->caption()->setNewWindow(1);
    first->setAltText(QStringLiteral("Boats at the quay"));
    auto* album = dynamic_cast<XmlWebPhotoAlbum*>(templateNumbered(1)->getElementWithName(QStringLiteral("Photo Album")).get());
    ASSERT_NE(album, nullptr);

    struct Case {
        const char* what;
        ClickOperation click;
        bool toolTips;
        const char* line;
    };
    const Case cases[] = {
        { "the slideshow page at the photo", ClickOperation::SlideshowPage, false,
          "<a href=\"slideshow{page}.html#0\">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
        { "the full picture in a new window", ClickOperation::NewWindow, false,
          "<a href=\"pictures/image{image}.jpg\" target=\"_blank\">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
        { "nothing", ClickOperation::Nothing, false,
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/>" },
        { "the caption's link, in the window it asks for", ClickOperation::CaptionLink, false,
          "<a href=\"http://example.org/boats?a=1&amp;b=2\" target=\"_blank\">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
        { "the slideshow on the page", ClickOperation::SlideshowElement, false,
          "<a href=\"javascript:ss.goto_slide(0)\">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
        { "the lightbox, titled with the caption", ClickOperation::Lightbox, false,
          "<a href=\"pictures/image{image}.jpg\" rel=\"lightbox[lq]\" title=\"Boats &amp; &ldquo;nets&rdquo; \u2014 &lt;early&gt; \">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
        { "the lightbox, with the caption as the thumbnail's tool tip", ClickOperation::Lightbox, true,
          "<a href=\"pictures/image{image}.jpg\" rel=\"lightbox[lq]\" title=\"Boats &amp; &ldquo;nets&rdquo; \u2014 &lt;early&gt; \">"
          "<img class=\"photo\" src=\"pictures/thumb{image}.jpg\" alt=\"Boats at the quay\" "
          "title=\"Boats &amp; &ldquo;nets&rdquo; \u2014 &lt;early&gt; \" "
          "style=\"top: 368px; left: 12px; width: 120px; height: 90px;\"/></a>" },
    };
    for (const Case& c : cases) {
        album->settings().setClickOp(c.click);
        album->settings().setShowToolTips(c.toolTips);
        lq::createProcessor(site());
        runQueue();
        const QString html = QString::fromUtf8(readAll(homepage(page->fileName())));
        const qsizetype at = html.indexOf(QStringLiteral("src=\"pictures/thumb"));
        ASSERT_GE(at, 0) << c.what << "\n" << html.toStdString();
        const qsizetype start = html.lastIndexOf(QLatin1Char('\n'), at) + 1;
        const QString line = html.mid(start, html.indexOf(QLatin1Char('\n'), at) - start);
        const QString expected = QString::fromUtf8(c.line)
                                     .replace(QStringLiteral("{image}"), QString::number(first->imageSeqNumber()))
                                     .replace(QStringLiteral("{page}"), QString::number(page->pageSeqNumber()));
        EXPECT_EQ(line.toStdString(), expected.toStdString()) << c.what;
    }
}

const AlbumCase albumCases[] = {
    { "SlideshowPage", ClickOperation::SlideshowPage, {} },
    { "NewWindow", ClickOperation::NewWindow, {} },
    { "Nothing", ClickOperation::Nothing, {} },
    { "CaptionLink", ClickOperation::CaptionLink, {} },
    { "SlideshowElement", ClickOperation::SlideshowElement, {} },
    { "Lightbox", ClickOperation::Lightbox, {} },
    { "LightboxWithoutCaptionsOrTooltips", ClickOperation::Lightbox,
      [](XmlWebPhotoAlbum& a) { a.settings().setShowCaptions(false); a.settings().setShowToolTips(false); } },
    { "SlideshowPageCaptionsAbove", ClickOperation::SlideshowPage,
      [](XmlWebPhotoAlbum& a) { a.settings().setShowCaptions(true); a.settings().setCaptionsAbove(true); a.settings().setShowToolTips(true); } },
    { "LightboxBuyNow", ClickOperation::Lightbox,
      [](XmlWebPhotoAlbum& a) { a.settings().setCartType(CartType::BuyNow); a.settings().setThumbnailCaption(1); a.settings().setThumbnailButton(1); } },
    { "SlideshowPageAddToCart", ClickOperation::SlideshowPage,
      [](XmlWebPhotoAlbum& a) { a.settings().setCartType(CartType::AddToCart); a.settings().setThumbnailButton(1); a.settings().setSlideshowButton(1); a.settings().setSlideshowCaption(1); } },
    { "SlideshowElementBuyNow", ClickOperation::SlideshowElement,
      [](XmlWebPhotoAlbum& a) { a.settings().setCartType(CartType::BuyNow); a.settings().setSlideshowButton(1); } },
    { "LightboxAfterTheDescription", ClickOperation::Lightbox, [](XmlWebPhotoAlbum& a) { a.settings().setAfterDescription(1); } },
    { "LightboxCollage", ClickOperation::Lightbox, [](XmlWebPhotoAlbum& a) { a.settings().setAfterDescription(2); a.settings().setHasCollage(1); } },
    { "SlideshowPageCollage", ClickOperation::SlideshowPage, [](XmlWebPhotoAlbum& a) { a.settings().setAfterDescription(2); a.settings().setHasCollage(1); } },
    { "NewWindowFreeCropping", ClickOperation::NewWindow,
      [](XmlWebPhotoAlbum& a) { a.settings().setAutoCropFreestyle(1); a.settings().setCols(2); a.settings().setRows(1); } },
};

INSTANTIATE_TEST_SUITE_P(EveryClickAndOption, AlbumPagesTest, ::testing::ValuesIn(albumCases),
                         [](const ::testing::TestParamInfo<AlbumCase>& info) { return std::string(info.param.name); });

} // namespace
