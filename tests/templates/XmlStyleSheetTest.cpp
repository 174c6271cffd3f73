#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlGroup.h"
#include "theme/XmlTheme.h"
#include "platform/ValueStrings.h"
#include "support/ElementTrees.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A box placed by its own position and size, as the page elements of the
// layout editor are.
class PlacedBox : public XmlBoxModel {
public:
    explicit PlacedBox(Key key)
        : XmlBoxModel(key)
    {
        _absolute = true;
        _widthFixed = true;
        _heightFixed = true;
    }
    static std::shared_ptr<PlacedBox> create(const QString& name, int x, int y, int w, int h)
    {
        auto box = make<PlacedBox>();
        box->setName(name);
        box->setLeft(x);
        box->setTop(y);
        box->setWidth(w);
        box->setHeight(h);
        return box;
    }
    // The page elements count as enabled while they are visible.
    bool enabled() override { return visible(); }
};

std::shared_ptr<XmlStyleSheet> readSheet(const QString& text)
{
    return std::dynamic_pointer_cast<XmlStyleSheet>(XmlBase::createWithXmlRootDir(text, QString()));
}

TEST(XmlStyleSheetTest, FreshTemplateWritesItsAttributesInOrder)
{
    const auto sheet = XmlStyleSheet::create();
    const QString xml = sheet->createXml();
    EXPECT_TRUE(xml.contains(QStringLiteral(
        " tseq=\"0\" ticon=\"0\" custom=\"0\" pto=\"0\" plo=\"0\" mph=\"600\" wwp=\"0\" sbs=\"0\" cph=\"0\" cpv=\"0\""
        " ihs=\"0\" ivs=\"0\" hnv=\"1\" browserFlow=\"0\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("bkgndColor=\"#333333\""))) << xml.toStdString();
    EXPECT_EQ(sheet->filename(), QStringLiteral("theme.css"));
    sheet->setTemplateSeqNum(4);
    EXPECT_EQ(sheet->filename(), QStringLiteral("theme4.css"));
}

TEST(XmlStyleSheetTest, ReadsEveryAttributeAndDropsTheVisibilityLists)
{
    const auto sheet = readSheet(QStringLiteral(
        "<cssStyleSheet v=\"1\" v2=\"1\" primary=\"Content,Masthead\" secondary=\"Slideshow\" tseq=\"3\" ticon=\"5\""
        " custom=\"1\" pto=\"10\" plo=\"20\" mph=\"700\" wwp=\"900\" sbs=\"1\" cph=\"1\" cpv=\"257\" ihs=\"6\" ivs=\"7\""
        " hnv=\"0\" browserFlow=\"1\"></cssStyleSheet>"));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->templateSeqNum(), 3);
    EXPECT_EQ(sheet->ticon(), 5);
    EXPECT_EQ(sheet->custom(), 1);
    EXPECT_EQ(sheet->pageTopOffset(), 10);
    EXPECT_EQ(sheet->pageLeftOffset(), 20);
    EXPECT_EQ(sheet->pageMinHeight(), 700);
    EXPECT_EQ(sheet->storedPageWidth(), 900);
    EXPECT_EQ(sheet->sidebarSide(), 1);
    EXPECT_TRUE(sheet->centerHorz());
    EXPECT_TRUE(sheet->centerVert()); // 257's low byte is 1
    EXPECT_EQ(sheet->horizontalSpace(), 6);
    EXPECT_EQ(sheet->verticalSpace(), 7);
    EXPECT_FALSE(sheet->hasNav());
    EXPECT_TRUE(sheet->browserFlow());

    const QString xml = sheet->createXml();
    EXPECT_FALSE(xml.contains(QStringLiteral("primary")));
    EXPECT_FALSE(xml.contains(QStringLiteral("secondary")));
    EXPECT_TRUE(xml.contains(QStringLiteral(" wwp=\"0\""))); // the laid-out width
    EXPECT_EQ(readSheet(xml)->createXml(), xml);
}

TEST(XmlStyleSheetTest, LoadingPutsTheStandardElementsInTheirPlaces)
{
    struct Case {
        QString children;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        { "<cssWebFooter name=\"Footer\"></cssWebFooter><cssWebBox name=\"Masthead\"></cssWebBox>"
          "<cssWebContent name=\"Content\"></cssWebContent>",
          { "Content", "Masthead", "Footer" } },
        { "<cssVornBox name=\"X\"></cssVornBox><cssWebMenu name=\"Navigation\"></cssWebMenu>"
          "<cssWebFooter name=\"Footer\"></cssWebFooter><cssWebBox name=\"Page Title\"></cssWebBox>"
          "<cssSlideShow name=\"Slideshow\"></cssSlideShow><cssPhotoAlbum name=\"Photo Album\"></cssPhotoAlbum>"
          "<cssWebBox name=\"Masthead\"></cssWebBox><cssWebContent name=\"Content\"></cssWebContent>",
          // A Vorn Box's name is always "Vorn Box".
          { "Content", "Masthead", "Photo Album", "Slideshow", "Page Title", "Navigation", "Footer", "Vorn Box" } },
        // No slideshow: index 3 is left to whatever stands there.
        { "<cssWebBox name=\"Masthead\"></cssWebBox><cssWebContent name=\"Content\"></cssWebContent>"
          "<cssPhotoAlbum name=\"Photo Album\"></cssPhotoAlbum>",
          { "Content", "Masthead", "Photo Album" } },
    };
    for (const Case& c : cases) {
        const auto sheet = readSheet(QStringLiteral("<cssStyleSheet>%1</cssStyleSheet>").arg(c.children));
        ASSERT_TRUE(sheet);
        EXPECT_EQ(childNames(*sheet), c.expected);
    }
}

// Two elements of one standard name: the reading puts one in its place once,
// and the written template reads back as it was (the fuzzer's input that
// found it lies in fuzz/corpus/xml_reader).
TEST(XmlStyleSheetTest, TwoElementsOfOneNameReadBackAsTheyWereWritten)
{
    const QString text = QStringLiteral("<cssStyleSheet><cssWebMenu v=\"0\" name=\"Navigation\"/><cssWebBox/><cssWebBox/><cssWebBox/>"
                                        "<cssWebBox/><cssWebMenu v=\"1\" name=\"Navigation\"/></cssStyleSheet>");
    const auto first = readSheet(text);
    ASSERT_TRUE(first);
    const QString once = first->createXml();
    QString written = once;
    for (int round = 0; round < 3; ++round) {
        const auto again = readSheet(written);
        ASSERT_TRUE(again);
        written = again->createXml();
        EXPECT_EQ(written, once) << "round " << round;
    }
    // The visible menu is the one in the menu's place, read after read.
    const auto sheet = readSheet(written);
    const XmlBaseList children = sheet->children();
    ASSERT_EQ(children.size(), 6);
    EXPECT_EQ(children[5]->name(), QStringLiteral("Navigation"));
    EXPECT_TRUE(XmlCSS::cast(children[5].get())->visible());
    EXPECT_FALSE(XmlCSS::cast(children[0].get())->visible());
}

TEST(XmlStyleSheetTest, VisibilityListsHideTheElementsTheyDoNotName)
{
    const auto sheet = readSheet(QStringLiteral(
        "<cssStyleSheet primary=\"Content,Masthead\" secondary=\"Slideshow\"><cssWebContent name=\"Content\"></cssWebContent>"
        "<cssWebBox name=\"Masthead\"></cssWebBox><cssSlideShow name=\"Slideshow\"></cssSlideShow>"
        "<cssWebMenu name=\"Navigation\"></cssWebMenu></cssStyleSheet>"));
    ASSERT_TRUE(sheet);
    const auto visibility = [&](const char* name) {
        auto element = std::dynamic_pointer_cast<XmlCSS>(sheet->getElementWithName(QString::fromLatin1(name)));
        return std::make_pair(element->baseVisibility(), element->visibleInSlideshow());
    };
    EXPECT_EQ(visibility("Content"), std::make_pair(true, false));
    EXPECT_EQ(visibility("Masthead"), std::make_pair(true, false));
    EXPECT_EQ(visibility("Slideshow"), std::make_pair(false, true));
    EXPECT_EQ(visibility("Navigation"), std::make_pair(false, false));
    EXPECT_EQ(sheet->getElementWithName(QStringLiteral("Missing")), nullptr);
}

TEST(XmlStyleSheetTest, LayoutComputesThePageExtentAndEdges)
{
    struct Box {
        const char* name;
        int x, y, w, h;
        bool visible = true;
    };
    struct Case {
        const char* label;
        std::vector<Box> boxes;
        int width, height, left, right;
        const char* leftEdge;
        const char* rightEdge;
        lq::Rect canvas;
        int middleSlice;
    };
    const std::vector<Case> cases = {
        { "nothing visible", { { "A", 10, 10, 50, 50, false } }, 0, 0, 0, 0, "", "", lq::Rect(0, 0, 1, 1000), 0 },
        { "one box", { { "A", 10, 20, 100, 580 } }, 100, 580, 10, 110, "A", "A", lq::Rect(0, 0, 110, 1000), 600 },
        { "same leftmost x", { { "A", 5, 0, 50, 50, true }, { "B", 5, 100, 300, 900, true } },
          300, 1000, 5, 305, "A", "B", lq::Rect(0, 0, 305, 2000), 1000 },
        { "tall page", { { "A", 0, 0, 800, 2450, true } }, 800, 2450, 0, 800, "A", "A", lq::Rect(0, 0, 800, 3000), 2450 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeDocument document;
        const auto theme = XmlTheme::create();
        theme->setDocument(&document);
        const auto sheet = XmlStyleSheet::create();
        theme->addChild(sheet);
        for (const Box& b : c.boxes) {
            auto box = PlacedBox::create(QString::fromLatin1(b.name), b.x, b.y, b.w, b.h);
            box->setVisible(b.visible);
            sheet->addChild(box);
        }
        const int changesBefore = document.changes;
        const auto page = XmlAlbum::create();
        sheet->relayoutFlags(page.get(), 0);
        EXPECT_EQ(sheet->pageWidth(), c.width);
        EXPECT_EQ(sheet->pageHeight(), c.height);
        EXPECT_EQ(sheet->pageLeft(), c.left);
        EXPECT_EQ(sheet->pageRight(), c.right);
        EXPECT_EQ(sheet->leftEdgeElement(), QString::fromLatin1(c.leftEdge));
        EXPECT_EQ(sheet->rightEdgeElement(), QString::fromLatin1(c.rightEdge));
        EXPECT_EQ(sheet->objectRect(), c.canvas);
        EXPECT_EQ(sheet->middleSlice(), c.middleSlice);
        // Layout marks nothing and leaves change marking as it found it.
        EXPECT_EQ(document.changes, changesBefore);
        EXPECT_EQ(document.suppressed, 0);
        EXPECT_EQ(sheet->currentAlbumUUID(), page->UUID());
        theme->setDocument(nullptr);
    }
}

TEST(XmlStyleSheetTest, LayoutWithoutAPageUsesTheCurrentAlbumOrStops)
{
    const auto sheet = XmlStyleSheet::create();
    sheet->addChild(PlacedBox::create(QStringLiteral("A"), 0, 0, 40, 40));
    sheet->relayoutFlags(nullptr, 0);
    EXPECT_EQ(sheet->pageWidth(), 0);
    const auto page = XmlAlbum::create();
    sheet->setCurrentAlbum(page.get());
    sheet->relayoutFlags(nullptr, 0);
    EXPECT_EQ(sheet->pageWidth(), 40);
}

TEST(XmlStyleSheetTest, FooterJoinsLastAndTheContentBoxBeforeIt)
{
    const auto sheet = XmlStyleSheet::create();
    const auto footer = XmlWebFooter::create();
    footer->setName(QStringLiteral("Footer"));
    sheet->addChild(footer);
    sheet->addChild(PlacedBox::create(QStringLiteral("A"), 0, 0, 200, 300));
    const auto page = XmlAlbum::create();
    sheet->relayoutFlags(page.get(), 0);
    EXPECT_EQ(sheet->middleSlice(), 300);
    EXPECT_EQ(footer->currentAlbumUUID(), page->UUID());
    EXPECT_EQ(sheet->leftEdgeElement(), QStringLiteral("A"));
}

TEST(XmlStyleSheetTest, HitTestsAndSelection)
{
    const auto sheet = XmlStyleSheet::create();
    const auto back = PlacedBox::create(QStringLiteral("Back"), 0, 0, 400, 400);
    const auto front = PlacedBox::create(QStringLiteral("Front"), 100, 100, 50, 50);
    const auto hidden = PlacedBox::create(QStringLiteral("Hidden"), 0, 0, 400, 400);
    hidden->setVisible(false);
    const auto slideshow = XmlSlideshow::create();
    slideshow->setName(QStringLiteral("Slideshow"));
    // A text element is a 100 x 100 box of its own: keep it clear of the others.
    slideshow->setTop(500);
    slideshow->setLeft(500);
    sheet->addChild(back);
    sheet->addChild(front);
    sheet->addChild(hidden);
    sheet->addChild(slideshow);
    const auto page = XmlAlbum::create();
    sheet->relayoutFlags(page.get(), 0);

    EXPECT_EQ(sheet->objectAtPoint(lq::Point(120, 120)), front);
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(10, 10)), back);
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(900, 900)), nullptr);
    EXPECT_EQ(sheet->objectForEditingAtPoint(lq::Point(900, 900)), nullptr);

    const XmlBaseList selectable = sheet->selectableObjects();
    ASSERT_EQ(selectable.size(), 2);
    EXPECT_EQ(selectable[0], back);
    EXPECT_EQ(selectable[1], front);

    // The slideshow shows only on pages with photos: no guide of its own here.
    const QStringList guides = sheet->guideRectArray();
    ASSERT_EQ(guides.size(), 2);
    EXPECT_EQ(guides[1], lq::rectToString(lq::Rect(100, 100, 50, 50)));

    // The slideshow view selects the slideshow alone.
    const auto album = XmlWebPhotoAlbum::create();
    album->setName(QStringLiteral("Photo Album"));
    sheet->addChild(album);
    // An album shows only on a page with photos.
    page->addChild(XmlPhoto::create());
    album->setCurrentAlbum(page.get());
    sheet->setPageView(page.get(), XmlStyleSheet::View::Slideshow);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Slideshow);
    const XmlBaseList slideshowOnly = sheet->selectableObjects();
    ASSERT_EQ(slideshowOnly.size(), 1);
    EXPECT_EQ(slideshowOnly[0], slideshow);
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(10, 10)), slideshow);
}

TEST(XmlStyleSheetTest, SlideshowViewOnlyForAlbumPagesWithAVisiblePhotoAlbum)
{
    const auto sheet = XmlStyleSheet::create();
    sheet->addChild(PlacedBox::create(QStringLiteral("Navigation"), 0, 0, 10, 10));
    const auto hiddenBox = PlacedBox::create(QStringLiteral("Hidden"), 0, 0, 10, 10);
    hiddenBox->setVisible(false);
    sheet->addChild(hiddenBox);
    const auto album = XmlAlbum::create();
    const auto group = XmlGroup::create();

    EXPECT_EQ(sheet->setPageView(nullptr, XmlStyleSheet::View::Slideshow), 0);
    EXPECT_EQ(sheet->setPageView(album.get(), XmlStyleSheet::View::Slideshow), 1);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Page); // no photo album
    const auto photos = XmlWebPhotoAlbum::create();
    photos->setName(QStringLiteral("Photo Album"));
    sheet->addChild(photos);
    // An album shows only on a page with photos.
    album->addChild(XmlPhoto::create());
    photos->setCurrentAlbum(album.get());
    sheet->addChild(XmlVornBox::create());
    // The photo album counts among the enabled elements; the Vorn Box does not.
    EXPECT_EQ(sheet->setPageView(group.get(), XmlStyleSheet::View::Slideshow), 2);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Page);
    photos->setVisible(false);
    sheet->setPageView(album.get(), XmlStyleSheet::View::Slideshow);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Page);
    photos->setVisible(true);
    // Only thumbnails that open the slideshow page make one.
    photos->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    sheet->setPageView(album.get(), XmlStyleSheet::View::Slideshow);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Page);
    photos->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    sheet->setPageView(album.get(), XmlStyleSheet::View::Slideshow);
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Slideshow);
    EXPECT_EQ(sheet->visibleElements(), QStringList({ "Navigation" }));
    EXPECT_EQ(sheet->view(), XmlStyleSheet::View::Slideshow);
    EXPECT_TRUE(sheet->allowImageInBackground());
}

TEST(XmlStyleSheetTest, VornBoxesAreNumberedAddedMovedAndDeleted)
{
    FakeDocument document;
    const auto theme = XmlTheme::create();
    theme->setVornboxSeqNumber(4);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    theme->setDocument(&document);
    sheet->addChild(XmlWebMenu::create());

    const auto a = sheet->addVornBox();
    const auto b = sheet->addVornBox();
    const auto c = sheet->addVornBox();
    EXPECT_EQ(theme->peekVornboxSeqNumber(), 7);
    EXPECT_GT(document.changes, 0);
    EXPECT_EQ(sheet->getVornBoxes(), (QList<std::shared_ptr<XmlVornBox>>{ a, b, c }));

    sheet->moveVornBoxUp(a.get()); // first: nothing
    sheet->moveVornBoxDown(c.get()); // last: nothing
    EXPECT_EQ(sheet->getVornBoxes(), (QList<std::shared_ptr<XmlVornBox>>{ a, b, c }));
    sheet->moveVornBoxUp(c.get());
    EXPECT_EQ(sheet->getVornBoxes(), (QList<std::shared_ptr<XmlVornBox>>{ a, c, b }));
    sheet->moveVornBoxDown(a.get());
    EXPECT_EQ(sheet->getVornBoxes(), (QList<std::shared_ptr<XmlVornBox>>{ c, a, b }));
    EXPECT_TRUE(XmlWebMenu::cast(sheet->firstChild().get()));

    sheet->deleteVornBox(a.get());
    EXPECT_EQ(sheet->getVornBoxes(), (QList<std::shared_ptr<XmlVornBox>>{ c, b }));
    sheet->deleteVornBox(a.get()); // no longer a child
    EXPECT_EQ(sheet->numberChildren(), 3);
    theme->setDocument(nullptr);
}

TEST(XmlStyleSheetTest, EditorStateAndFontBagMarkNothing)
{
    FakeDocument document;
    const auto theme = XmlTheme::create();
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    theme->setDocument(&document);
    sheet->setShowVornViews(true);
    sheet->setCurrentWidget(QStringLiteral("Masthead"));
    sheet->setTemplateSeqNum(2);
    EXPECT_FALSE(sheet->addFontBag(QStringLiteral("h1")));
    EXPECT_TRUE(sheet->addFontBag(QStringLiteral("h1")));
    sheet->clearFontBag();
    EXPECT_FALSE(sheet->addFontBag(QStringLiteral("h1")));
    EXPECT_EQ(document.notices, 0);

    struct Setter {
        const char* label;
        std::function<void()> set;
    };
    const std::vector<Setter> setters = {
        { "ticon", [&] { sheet->setTicon(1); } },         { "custom", [&] { sheet->setCustom(1); } },
        { "pto", [&] { sheet->setPageTopOffset(1); } },   { "plo", [&] { sheet->setPageLeftOffset(1); } },
        { "mph", [&] { sheet->setPageMinHeight(1); } },   { "wwp", [&] { sheet->setPageWidth(1); } },
        { "sbs", [&] { sheet->setSidebarSide(1); } },     { "cph", [&] { sheet->setCenterHorz(true); } },
        { "cpv", [&] { sheet->setCenterVert(true); } },   { "ivs", [&] { sheet->setVerticalSpace(1); } },
        { "ihs", [&] { sheet->setHorizontalSpace(1); } }, { "hnv", [&] { sheet->setHasNav(false); } },
        { "browserFlow", [&] { sheet->setBrowserFlow(true); } },
    };
    for (const Setter& setter : setters) {
        const int before = document.changes;
        setter.set();
        EXPECT_EQ(document.changes, before + 1) << setter.label;
    }
    theme->setDocument(nullptr);
}

} // namespace
