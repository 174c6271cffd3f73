#include "elements/XmlWebMenu.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/graphics/GraphicsImage.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlCSSBackground.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/SiteInDocument.h"

#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QStringList namesOf(const std::optional<QList<MenuItem>>& items)
{
    QStringList names;
    if (items) {
        for (const MenuItem& item : *items)
            names.append(item.name);
    }
    return names;
}

int menuType(const XmlWebMenu::ItemText& item)
{
    return item.textStorage()->attributesAt(0).value(lq::TextKey::menuType).toInt();
}

// A site whose home page lists "One" (1), the group "Group" (2) with "Four"
// (4) and "Five" (5), and "Three" (3); its theme holds a template with the
// menu, both in one recording document.
class XmlWebMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site->newDocument();
        document.siteRoot = site.get();
        site->setDocument(&document);
        theme->setDocument(&document);
        theme->addChild(sheet);
        sheet->addChild(menu);
        menu->newDocument();
        menu->setName(QStringLiteral("Navigation"));

        XmlHomePage* home = site->homepage();
        one = page(home, 1, "One");
        group = XmlGroup::create();
        group->setPageSeqNumber(2);
        group->setName(QStringLiteral("Group"));
        group->setFileName(QStringLiteral("page2.html"));
        home->addChild(group);
        four = page(group.get(), 4, "Four");
        five = page(group.get(), 5, "Five");
        three = page(home, 3, "Three");

        menu->setTop(10);
        menu->setLeft(20);
        menu->setWidth(150);
        menu->setBt(1);
        menu->setPt(2);
        menu->setBl(3);
        menu->setPl(4);
    }
    void TearDown() override
    {
        site->setDocument(nullptr);
        theme->setDocument(nullptr);
    }

    static std::shared_ptr<XmlAlbum> page(XmlBase* parent, int seq, const char* name)
    {
        auto album = XmlAlbum::create();
        album->setPageSeqNumber(seq);
        album->setName(QString::fromUtf8(name));
        album->setFileName(QStringLiteral("page%1.html").arg(seq));
        parent->addChild(album);
        return album;
    }

    // The item rectangles that the layout registered, by item number.
    std::vector<std::pair<QString, lq::Rect>> areas() const
    {
        std::vector<std::pair<QString, lq::Rect>> found;
        for (const auto& area : document.trackingAreas) {
            if (area.uuid == menu->UUID())
                found.emplace_back(area.data, area.rect);
        }
        return found;
    }

    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlTheme> theme = XmlTheme::create();
    std::shared_ptr<XmlStyleSheet> sheet = XmlStyleSheet::create();
    std::shared_ptr<XmlWebMenu> menu = XmlWebMenu::create();
    std::shared_ptr<XmlAlbum> one;
    std::shared_ptr<XmlGroup> group;
    std::shared_ptr<XmlAlbum> four;
    std::shared_ptr<XmlAlbum> five;
    std::shared_ptr<XmlAlbum> three;
};

} // namespace

// --- Model ----------------------------------------------------------------------------------------

TEST(XmlWebMenu, NewMenuWritesItsAttributesAfterTheBoxAndItsFourBackgrounds)
{
    const auto menu = XmlWebMenu::create();
    EXPECT_EQ(menu->elementName(), QString("cssWebMenu"));
    EXPECT_TRUE(menu->enabled());
    EXPECT_TRUE(menu->widthFixed());
    EXPECT_TRUE(menu->absolute());
    EXPECT_FALSE(menu->heightFixed());
    EXPECT_EQ(menu->hoverItem(), -1);
    EXPECT_EQ(menu->clickItem(), -1);

    const QString xml = menu->createXml();
    const QString attributes =
        " orient=\"0\" hspace=\"0\" nBkgnd=\"#FFFFFF\" nText=\"#000000\" hBkgnd=\"#FFFFFF\" hText=\"#000000\""
        " cBkgnd=\"#FFFFFF\" cText=\"#000000\" crBkgnd=\"#FFFFFF\" crText=\"#000000\""
        " nBkEn=\"0\" hBkEn=\"0\" cBkEn=\"0\" crBkEn=\"0\""
        " nUnderline=\"0\" hUnderline=\"0\" cUnderline=\"0\" crUnderline=\"0\""
        " mipt=\"0\" mipl=\"0\" mipb=\"0\" mipr=\"0\" mibt=\"0\" mibl=\"0\" mibb=\"0\" mibr=\"0\""
        " mibtype=\"0\" mispace=\"0\" mibtc=\"#7F7F7F\" miblc=\"#7F7F7F\" mibbc=\"#7F7F7F\" mibrc=\"#7F7F7F\""
        " gtype=\"0\" npl=\"0\" ism=\"0\" miw=\"30\" sfs=\"12\" ugr=\"0\">";
    // The box's attributes end with its shadow; the menu's follow at once.
    EXPECT_TRUE(xml.contains(QStringLiteral(" ds=\"0\"") + attributes)) << xml.toStdString();

    const qsizetype normal = xml.indexOf("<normalBkgnd");
    const qsizetype hover = xml.indexOf("<hoverBkgnd");
    const qsizetype current = xml.indexOf("<currentBkgnd");
    const qsizetype click = xml.indexOf("<clickBkgnd");
    ASSERT_GT(normal, 0);
    EXPECT_LT(normal, hover);
    EXPECT_LT(hover, current);
    EXPECT_LT(current, click);
}

TEST(XmlWebMenu, ReadsItsAttributesAndBackgroundsBack)
{
    const auto menu = XmlWebMenu::create();
    menu->setOrientation(1);
    menu->itemStyle().setHoverText(lq::Colour(1, 0, 0, 0.5f));
    menu->itemStyle().setMispace(7);
    menu->itemStyle().setMibtype(3);
    menu->itemStyle().setMibrc(lq::Colour(0, 0, 1));
    menu->itemStyle().setIndentSubmenu(9);
    menu->itemStyle().setMiWidth(44);
    menu->itemStyle().setSubFontSize(10);
    menu->itemStyle().setNavTypeForGroup(2);
    menu->setCurrentBkgnd(lq::Colour(0, 1, 0));
    menu->setCurrentBkgndEn(true);
    menu->itemStyle().setClickUnderline(1);
    menu->setUseGraphicRollover(true);
    menu->font()->setFontSize(17);

    const auto back = std::dynamic_pointer_cast<XmlWebMenu>(XmlBase::createWithXmlRootDir(menu->createXml(), QString()));
    ASSERT_TRUE(back);
    // A horizontal menu of rollover pictures has items of one width, and says so in the file.
    EXPECT_EQ(back->orientation(), 2);
    EXPECT_TRUE(back->createXml().contains(" orient=\"2\""));
    EXPECT_TRUE(back->useGraphicRollover());
    // Colours keep no alpha.
    EXPECT_EQ(back->itemStyle().hoverText(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(back->itemStyle().mispace(), 7);
    EXPECT_EQ(back->itemStyle().mibtype(), 3);
    EXPECT_EQ(back->itemStyle().mibrc(), lq::Colour(0, 0, 1));
    EXPECT_EQ(back->itemStyle().indentSubmenu(), 9);
    EXPECT_EQ(back->itemStyle().miWidth(), 44);
    EXPECT_EQ(back->itemStyle().subFontSize(), 10);
    EXPECT_EQ(back->itemStyle().navTypeForGroup(), 2);
    EXPECT_EQ(back->currentBkgnd(), lq::Colour(0, 1, 0));
    EXPECT_EQ(back->itemStyle().clickUnderline(), 1);
    EXPECT_EQ(back->currentBkgnd2()->bkgnd(), 2);
    EXPECT_EQ(back->currentBkgnd2()->transparentBkgnd(), 1);
    EXPECT_EQ(back->font()->fontSize(), 17);
    // The backgrounds are the menu's own parts, not children: the font is the only child.
    EXPECT_EQ(back->numberChildren(), 1);
    EXPECT_EQ(back->currentBkgnd2()->parent(), back.get());
}

TEST(XmlWebMenu, FlagsAndTheIgnoredAttributes)
{
    const auto menu = XmlWebMenu::create();
    menu->setAttributeTo("nBkEn", "257"); // one byte of it: 1
    menu->setAttributeTo("hBkEn", "256"); // one byte of it: 0
    menu->setAttributeTo("npl", "5");
    menu->setAttributeTo("hspace", "40");
    menu->setAttributeTo("mipt", "x");
    menu->setAttributeTo("mibtc", "nonsense");
    EXPECT_TRUE(menu->normalBkgndEn());
    EXPECT_EQ(menu->normalBkgnd2()->bkgnd(), 1);
    EXPECT_FALSE(menu->hoverBkgndEn());
    EXPECT_EQ(menu->navPlacement(), 0);
    EXPECT_EQ(menu->itemStyle().mipt(), 0);
    EXPECT_EQ(menu->itemStyle().mibtc(), lq::Colour::black());
    EXPECT_TRUE(menu->createXml().contains(" orient=\"0\" hspace=\"0\""));
}

TEST(XmlWebMenu, EnablesGraphicRolloverAndPlacement)
{
    const auto sheet = XmlStyleSheet::create();
    const auto menu = XmlWebMenu::create();
    sheet->addChild(menu);

    menu->setHoverBkgndEn(true);
    EXPECT_EQ(menu->hoverBkgnd2()->bkgnd(), 1);
    menu->setHoverBkgndEn(false);
    EXPECT_EQ(menu->hoverBkgnd2()->bkgnd(), 0);

    // A background showing its picture counts as enabled whatever the flag.
    menu->clickBkgnd2()->setBkgnd(2);
    EXPECT_TRUE(menu->clickBkgndEn());
    EXPECT_TRUE(menu->createXml().contains(" cBkEn=\"1\""));

    menu->setNormalBkgndEn(true);
    menu->setUseGraphicRollover(true);
    for (const auto& background : { menu->normalBkgnd2(), menu->hoverBkgnd2(), menu->clickBkgnd2(), menu->currentBkgnd2() }) {
        EXPECT_EQ(background->bkgnd(), 2);
        EXPECT_EQ(background->transparentBkgnd(), 1);
    }
    // With rollover pictures a flag leaves the picture mode alone.
    menu->setCurrentBkgndEn(true);
    EXPECT_EQ(menu->currentBkgnd2()->bkgnd(), 2);
    // Off again, every background goes back to its flag, the picture modes too.
    menu->setUseGraphicRollover(false);
    EXPECT_EQ(menu->normalBkgnd2()->bkgnd(), 1);
    EXPECT_EQ(menu->hoverBkgnd2()->bkgnd(), 0);
    EXPECT_EQ(menu->clickBkgnd2()->bkgnd(), 0);
    EXPECT_EQ(menu->currentBkgnd2()->bkgnd(), 1);
    EXPECT_EQ(menu->normalBkgnd2()->transparentBkgnd(), 0);

    // The stored orientation stays: 1 reads as 2 only while rollovers are on.
    menu->setOrientation(1);
    EXPECT_EQ(menu->orientation(), 1);
    menu->setUseGraphicRollover(true);
    EXPECT_EQ(menu->orientation(), 2);
    menu->setUseGraphicRollover(false);
    EXPECT_EQ(menu->orientation(), 1);

    EXPECT_EQ(menu->navPlacement(), 0);
    sheet->setHasNav(false);
    EXPECT_EQ(menu->navPlacement(), 99);
}

TEST(XmlWebMenu, EverySetterMarksTheDocumentOnce)
{
    SiteInDocument site;
    const auto theme = XmlTheme::create();
    theme->setDocument(&site.document);
    const auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    const auto menu = XmlWebMenu::create();
    sheet->addChild(menu);
    const lq::Colour red(1, 0, 0);
    expectEachMarksTheDocumentOnce(site.document, {
        { "normalBkgnd", [&] { menu->setNormalBkgnd(red); } },
        { "hoverText", [&] { menu->itemStyle().setHoverText(red); } },
        { "clickUnderline", [&] { menu->itemStyle().setClickUnderline(1); } },
        { "mipr", [&] { menu->itemStyle().setMipr(2); } },
        { "mibb", [&] { menu->itemStyle().setMibb(2); } },
        { "mibtype", [&] { menu->itemStyle().setMibtype(2); } },
        { "mispace", [&] { menu->itemStyle().setMispace(2); } },
        { "miblc", [&] { menu->itemStyle().setMiblc(red); } },
        { "miWidth", [&] { menu->itemStyle().setMiWidth(2); } },
        { "indentSubmenu", [&] { menu->itemStyle().setIndentSubmenu(2); } },
        { "subFontSize", [&] { menu->itemStyle().setSubFontSize(2); } },
        { "navTypeForGroup", [&] { menu->itemStyle().setNavTypeForGroup(2); } },
        { "orientation", [&] { menu->setOrientation(2); } },
    });
    const int before = site.document.changes;
    menu->setNavPlacement(3);
    EXPECT_EQ(site.document.changes, before);
    theme->setDocument(nullptr);
}

TEST(XmlWebMenu, PictureOperationsReachTheStateBackgroundsInTheirOrder)
{
    const auto menu = XmlWebMenu::create();
    const std::pair<XmlCSSBackground*, const char*> parts[] = {
        { menu.get(), "B" },
        { menu->normalBkgnd2().get(), "N" },
        { menu->hoverBkgnd2().get(), "H" },
        { menu->clickBkgnd2().get(), "K" },
        { menu->currentBkgnd2().get(), "C" },
    };
    for (const auto& [background, picture] : parts) {
        background->setBkgnd(2);
        background->image()->setImageUUID(QString::fromLatin1(picture));
    }
    QStringList names;
    menu->listOfBitmaps(names);
    EXPECT_EQ(names, QStringList({ "N", "H", "C", "K", "B" }));

    // Style sheet steps: the box's own picture first.
    QString script;
    menu->genCSSBitmap(script);
    QStringList images;
    for (const QString& step : script.split("/>", Qt::SkipEmptyParts))
        images.append(step.section('"', 1, 1));
    EXPECT_EQ(images, QStringList({ menu->image()->UUID(), menu->normalBkgnd2()->image()->UUID(),
                                    menu->hoverBkgnd2()->image()->UUID(), menu->currentBkgnd2()->image()->UUID(),
                                    menu->clickBkgnd2()->image()->UUID() }));

    // Every picture element is written: the box's, then the four states'.
    const QString xml = menu->createXml();
    EXPECT_EQ(xml.count("<QZimage"), 5);
    EXPECT_LT(xml.indexOf("<QZimage"), xml.indexOf("<normalBkgnd"));
}

TEST(XmlWebMenu, CleanupDropsTheItemTexts)
{
    const auto menu = XmlWebMenu::create();
    menu->cleanup();
    EXPECT_TRUE(menu->contentsArray().empty());
}

// --- Items --------------------------------------------------------------------------------------------

TEST_F(XmlWebMenuTest, ItemsCurrentPageAndGroupForEachKindOfMenu)
{
    struct Case {
        int type;
        XmlBase* shown;
        QStringList items;
        QStringList subItems;
        int currentPage;
        int currentGroup;
    };
    const Case cases[] = {
        // The group's item is current for a page inside it.
        { 0, four.get(), { "One", "Group", "Three" }, {}, 2, -1 },
        // The group's own list, group first; the page itself is current.
        { 1, four.get(), { "Group", "Four", "Five" }, {}, 4, -1 },
        { 1, one.get(), { "One", "Group", "Three" }, {}, 1, -1 },
        // The group's pages as a submenu under the group's item.
        { 2, four.get(), { "One", "Group", "Three" }, { "Four", "Five" }, 4, 1 },
        { 2, group.get(), { "One", "Group", "Three" }, { "Four", "Five" }, 2, 1 },
        { 2, three.get(), { "One", "Group", "Three" }, {}, 3, 2 },
    };
    for (const Case& c : cases) {
        menu->itemStyle().setNavTypeForGroup(c.type);
        EXPECT_EQ(namesOf(menu->getMenuItems(c.shown)), c.items) << c.type;
        EXPECT_EQ(namesOf(menu->getSubMenuItems(c.shown)), c.subItems) << c.type;
        EXPECT_EQ(menu->getSubMenuItems(c.shown).has_value(), !c.subItems.isEmpty()) << c.type;
        EXPECT_EQ(menu->getCurrentPageNum(c.shown), c.currentPage) << c.type;
        EXPECT_EQ(menu->getCurrentGroupNum(c.shown), c.currentGroup) << c.type;
    }

    // A group is an album page: shown, it is the menu's current page and its item is current.
    menu->itemStyle().setNavTypeForGroup(2);
    menu->relayoutFlags(group.get(), 0);
    EXPECT_EQ(menu->currentAlbumUUID(), group->UUID());
    ASSERT_EQ(menu->contentsArray().size(), 3u);
    EXPECT_EQ(menuType(*menu->contentsArray()[1]), 0);
    EXPECT_EQ(menu->subContentsArray().size(), 2u);
}

TEST_F(XmlWebMenuTest, NoListsWithoutASiteAndNoSubmenuForAnEmptyGroup)
{
    menu->itemStyle().setNavTypeForGroup(2);
    four->setShowInNav(false);
    five->setShowInNav(false);
    EXPECT_FALSE(menu->getSubMenuItems(group.get()));

    document.siteRoot = nullptr;
    EXPECT_FALSE(menu->getMenuItems(one.get()));
    const auto loose = XmlWebMenu::create();
    EXPECT_FALSE(loose->getMenuItems(one.get()));
}

TEST_F(XmlWebMenuTest, ItemTextsCarryTheirStateAndName)
{
    one->setName(QStringLiteral("A & B <x>"));
    menu->itemStyle().setCurrentText(lq::Colour(1, 0, 0));
    menu->itemStyle().setCurrentUnderline(1);
    menu->relayoutFlags(one.get(), 0);
    ASSERT_EQ(menu->contentsArray().size(), 3u);
    EXPECT_EQ(menu->currentSeqNumber(), 1);
    const lq::StyledText& first = *menu->contentsArray()[0]->textStorage();
    // The name reaches the item text as it is.
    EXPECT_EQ(first.string(), QString("A & B <x>"));
    const lq::TextAttributes attributes = first.attributesAt(0);
    EXPECT_EQ(attributes.value(lq::TextKey::menuType).toInt(), 0);
    EXPECT_EQ(attributes.foregroundColour, lq::Colour(1, 0, 0));
    EXPECT_EQ(attributes.underlineStyle, 1);
    EXPECT_EQ(attributes.paragraphStyle->alignment, lq::TextAlignment::Left);
    EXPECT_EQ(attributes.paragraphStyle->tabStops, lq::standardTabStops());
    EXPECT_EQ(menuType(*menu->contentsArray()[1]), 1);
    // A vertical item text is as wide as the item's inside.
    EXPECT_EQ(menu->contentsArray()[1]->textContainer()->containerSize(), QSizeF(menu->menuItemInternalWidth(), 1000000));
    EXPECT_EQ(menu->menuItemInternalWidth(), 150 - 3 - 4);

    // A state outside 0 to 3 gives no colour, underline or state.
    XmlWebMenu::ItemText& text = *menu->contentsArray()[2];
    menu->fillContentsWithStringTypeSubmenu(text, QStringLiteral("Odd"), 7, true);
    const lq::TextAttributes odd = text.textStorage()->attributesAt(0);
    EXPECT_FALSE(odd.contains(lq::TextKey::menuType));
    EXPECT_FALSE(odd.foregroundColour);
    EXPECT_FALSE(odd.underlineStyle);
    EXPECT_EQ(odd.font->pixelSize(), 12);
}

TEST_F(XmlWebMenuTest, AlignmentOfItemTextsFollowsOrientationAndFont)
{
    struct Case {
        int orientation;
        int fontAlignment;
        lq::TextAlignment expected;
    };
    const Case cases[] = {
        { 0, 0, lq::TextAlignment::Left }, { 0, 1, lq::TextAlignment::Center }, { 0, 2, lq::TextAlignment::Right },
        { 1, 1, lq::TextAlignment::Left }, { 2, 0, lq::TextAlignment::Center }, { 2, 2, lq::TextAlignment::Center },
    };
    for (const Case& c : cases) {
        menu->setOrientation(c.orientation);
        menu->font()->setAlignment(static_cast<XmlWebFont::Alignment>(c.fontAlignment));
        menu->relayoutFlags(one.get(), 0);
        EXPECT_EQ(menu->contentsArray()[0]->textStorage()->attributesAt(0).paragraphStyle->alignment, c.expected)
            << c.orientation << " " << c.fontAlignment;
    }
    // With orientation 2 every item text is miWidth wide.
    EXPECT_EQ(menu->contentsArray()[0]->textContainer()->containerSize().width(), 30);
}

// --- Layout and geometry --------------------------------------------------------------------------------

TEST_F(XmlWebMenuTest, VerticalSubmenuFollowsItsGroupInTheClickAreas)
{
    menu->itemStyle().setNavTypeForGroup(2);
    menu->itemStyle().setMispace(5);
    menu->itemStyle().setMipt(1);
    menu->itemStyle().setMibb(2);
    menu->relayoutFlags(four.get(), 0);

    const auto found = areas();
    QStringList order;
    for (const auto& [data, rect] : found)
        order.append(data);
    EXPECT_EQ(order, QStringList({ "0", "1", "1000", "1001", "2" }));
    ASSERT_EQ(menu->subContentsArray().size(), 2u);

    const int itemExtra = 1 + 2; // padding and border heights
    const auto height = [&](const XmlWebMenu::ItemText& text) { return text.usedHeight() + itemExtra; };
    float y = 10 + 1 + 2;
    const float x = 20 + 3 + 4;
    EXPECT_EQ(found[0].second, lq::Rect(x, y, 150 - 7, static_cast<float>(height(*menu->contentsArray()[0]))));
    y += 5 + height(*menu->contentsArray()[0]);
    y += 5 + height(*menu->contentsArray()[1]);
    EXPECT_EQ(found[2].second, lq::Rect(x, y, 150 - 7, static_cast<float>(height(*menu->subContentsArray()[0]))));
    y += 5 + height(*menu->subContentsArray()[0]);
    y += 5 + height(*menu->subContentsArray()[1]);
    // Half a spacing more after the submenu: 5 / 2 = 2.
    EXPECT_EQ(found[4].second.y(), y + 2);

    // Submenu texts take the submenu's font size.
    EXPECT_EQ(menu->subContentsArray()[0]->textStorage()->attributesAt(0).font->pixelSize(), 12);
    EXPECT_EQ(menuType(*menu->subContentsArray()[0]), 0);
    EXPECT_EQ(menuType(*menu->contentsArray()[1]), 1);

    // The drawn height leaves the half spacing after the submenu out.
    int expected = 1 + 2; // box border and padding
    expected += 2 * 5 + 3 * itemExtra;
    for (const auto& text : menu->contentsArray())
        expected += text->usedHeight();
    expected += 5 + 2 * itemExtra;
    for (const auto& text : menu->subContentsArray())
        expected += text->usedHeight();
    EXPECT_EQ(menu->calcHeight(), expected);

    // Laid out again, the areas are replaced, not added.
    menu->relayoutFlags(four.get(), 0);
    EXPECT_EQ(areas().size(), 5u);
}

TEST_F(XmlWebMenuTest, HorizontalRowsWidthsAndLeadingSpace)
{
    menu->setOrientation(2);
    menu->itemStyle().setMiWidth(30);
    menu->setWidth(97 + 3 + 4);
    menu->itemStyle().setNavTypeForGroup(2);
    menu->relayoutFlags(four.get(), 0);

    EXPECT_EQ(menu->horzMenuWidth(), 90);
    EXPECT_EQ(menu->horzSubMenuWidth(), 60);
    EXPECT_EQ(menu->internalWidth(), 97);
    EXPECT_EQ(menu->leadingHorzSpace(), 0);
    menu->font()->setAlignment(XmlWebFont::Alignment::Center);
    EXPECT_EQ(menu->leadingHorzSpace(), 3); // 7 spare, half of it cut to a whole pixel
    EXPECT_EQ(menu->leadingSubHorzSpace(), 18);
    menu->font()->setAlignment(XmlWebFont::Alignment::Right);
    EXPECT_EQ(menu->leadingHorzSpace(), 7);

    menu->relayoutFlags(four.get(), 0);
    const auto found = areas();
    ASSERT_EQ(found.size(), 5u);
    const float top = 10 + 1 + 2;
    EXPECT_EQ(found[0].second.origin, lq::Point(20 + 3 + 4 + 7, top));
    EXPECT_EQ(found[1].second.x(), 20 + 3 + 4 + 7 + 30);
    // The submenu is a second row right under the first, from its own leading space.
    const float rowHeight = found[2].second.height();
    EXPECT_EQ(found[3].first, QString("1000"));
    EXPECT_EQ(found[3].second.origin, lq::Point(20 + 3 + 4 + 37, top + rowHeight));
    EXPECT_EQ(found[4].second.x(), 20 + 3 + 4 + 37 + 30);

    // The rows make the menu wider than stored when they need to.
    menu->setWidth(50);
    EXPECT_EQ(menu->internalWidth(), 90);
    EXPECT_EQ(menu->width(), 90 + 7);
    EXPECT_EQ(menu->objectRect().width(), 97);
    // The stored width is the menu's width, grown with its rows.
    EXPECT_TRUE(menu->createXml().contains(" width=\"97\""));
    // One row height per row, plus the box's border and padding.
    EXPECT_EQ(menu->calcHeight(), 1 + 2 + menu->contentsArray()[0]->usedHeight() + menu->subContentsArray()[0]->usedHeight());
}

TEST_F(XmlWebMenuTest, HorizontalItemsAsWideAsTheirText)
{
    menu->setOrientation(1);
    menu->itemStyle().setMipl(2);
    menu->itemStyle().setMibr(1);
    menu->itemStyle().setMispace(4);
    menu->relayoutFlags(one.get(), 0);
    int expected = -4;
    for (const auto& text : menu->contentsArray())
        expected += text->usedWidth() + 3 + 4;
    EXPECT_GT(menu->contentsArray()[0]->usedWidth(), 0);
    EXPECT_EQ(menu->horzMenuWidth(), expected);
    // An empty row is one spacing short of nothing.
    EXPECT_EQ(menu->horzSubMenuWidth(), -4);
}

TEST_F(XmlWebMenuTest, ItemTextsFollowNamesFontAndCurrentPageFromOneLayoutToTheNext)
{
    // Each page lays the same menu out again; whatever changed in between
    // must show, and going back must give the first layout again.
    menu->setOrientation(1);
    menu->relayoutFlags(one.get(), 0);
    ASSERT_EQ(menu->contentsArray().size(), 3u);
    const int firstWidth = menu->contentsArray()[0]->usedWidth();
    const int rowWidth = menu->horzMenuWidth();

    menu->relayoutFlags(three.get(), 0);
    EXPECT_EQ(menuType(*menu->contentsArray()[0]), 1);
    EXPECT_EQ(menuType(*menu->contentsArray()[2]), 0);
    EXPECT_EQ(menu->horzMenuWidth(), rowWidth);

    one->setName(QStringLiteral("One hundred and one"));
    menu->relayoutFlags(three.get(), 0);
    EXPECT_EQ(menu->contentsArray()[0]->textStorage()->string(), QStringLiteral("One hundred and one"));
    const int longerWidth = menu->contentsArray()[0]->usedWidth();
    EXPECT_GT(longerWidth, firstWidth);

    const int size = menu->font()->fontSize();
    menu->font()->setFontSize(size * 2);
    menu->relayoutFlags(three.get(), 0);
    EXPECT_GT(menu->contentsArray()[0]->usedWidth(), longerWidth);

    one->setName(QStringLiteral("One"));
    menu->font()->setFontSize(size);
    menu->relayoutFlags(one.get(), 0);
    EXPECT_EQ(menuType(*menu->contentsArray()[0]), 0);
    EXPECT_EQ(menu->contentsArray()[0]->usedWidth(), firstWidth);
    EXPECT_EQ(menu->horzMenuWidth(), rowWidth);
}

// A menu keeps an item for every page of the site but only their sizes
// between layouts: the lines of an item are laid out again when it is drawn.
TEST_F(XmlWebMenuTest, ItemSizesKeptWithoutTheirLinesAreThoseOfAFreshLayout)
{
    for (const int orientation : { 0, 1, 2 }) {
        SCOPED_TRACE(orientation);
        menu->setOrientation(orientation);
        one->setName(QStringLiteral("One, and a name long enough to be broken over two lines in a vertical menu"));
        menu->relayoutFlags(one.get(), 0);
        for (const auto& text : menu->contentsArray()) {
            lq::LayoutManager fresh;
            fresh.setTextStorage(std::make_shared<lq::StyledText>(*text->textStorage()));
            auto container = std::make_shared<lq::TextContainer>(text->textContainer()->containerSize());
            container->setLineFragmentPadding(0);
            fresh.addTextContainer(container);
            const QRectF used = fresh.usedRectForTextContainer(container.get());
            EXPECT_EQ(text->usedWidth(), lq::truncatedPixel(used.width()));
            EXPECT_EQ(text->usedHeight(), lq::truncatedPixel(used.height()));
        }
    }
    // Drawing lays the lines out again, and as they were.
    XmlWebMenu::ItemText& first = *menu->contentsArray()[0];
    const int width = first.usedWidth();
    const int height = first.usedHeight();
    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(400, 200));
    {
        lq::GraphicsImage::Focus focus(canvas);
        menu->drawText();
    }
    EXPECT_EQ(first.layoutManager().glyphRangeForTextContainer(first.textContainer().get()).length,
              first.textStorage()->length());
    EXPECT_EQ(lq::truncatedPixel(first.layoutManager().usedRectForTextContainer(first.textContainer().get()).width()), width);
    EXPECT_EQ(lq::truncatedPixel(first.layoutManager().usedRectForTextContainer(first.textContainer().get()).height()), height);
    bool inked = false;
    const QImage drawn = canvas.toQImage();
    for (int y = 0; y < drawn.height() && !inked; ++y)
        for (int x = 0; x < drawn.width() && !inked; ++x)
            inked = qAlpha(drawn.pixel(x, y)) != 0;
    EXPECT_TRUE(inked);

    // A text changed in place, as the editor changes it, and a container
    // of another size are measured anew.
    const lq::TextAttributes attributes = first.textStorage()->attributesAt(0);
    first.textContainer()->setContainerSize(QSizeF(1000000, 1000000));
    first.textStorage()->setText(lq::StyledText(QStringLiteral("W"), attributes));
    const int narrow = first.usedWidth();
    first.textStorage()->setText(lq::StyledText(QStringLiteral("WWWW"), attributes));
    EXPECT_GT(first.usedWidth(), narrow);
    first.textStorage()->setText(lq::StyledText(QStringLiteral("Wide words wrap"), attributes));
    const int oneLine = first.usedHeight();
    first.textContainer()->setContainerSize(QSizeF(30, 1000000));
    EXPECT_GT(first.usedHeight(), oneLine);
}

TEST_F(XmlWebMenuTest, NothingChangesWithFlagsWithoutAPageOrWithoutItems)
{
    menu->relayoutFlags(nullptr, 0);
    EXPECT_TRUE(menu->contentsArray().empty());
    menu->relayoutFlags(one.get(), 0);
    ASSERT_EQ(menu->contentsArray().size(), 3u);
    const auto first = menu->contentsArray()[0];

    three->setShowInNav(false);
    menu->relayoutFlags(one.get(), 1);
    EXPECT_EQ(menu->contentsArray().size(), 3u);

    document.siteRoot = nullptr;
    menu->relayoutFlags(one.get(), 0);
    EXPECT_EQ(menu->contentsArray().size(), 3u);
    EXPECT_EQ(areas().size(), 3u);

    // The remembered page, one item fewer: the texts that stay are the same.
    document.siteRoot = site.get();
    menu->relayoutFlags(nullptr, 0);
    ASSERT_EQ(menu->contentsArray().size(), 2u);
    EXPECT_EQ(menu->contentsArray()[0], first);
    EXPECT_EQ(areas().size(), 2u);

    menu->cleanup();
    EXPECT_TRUE(menu->contentsArray().empty());
}

TEST_F(XmlWebMenuTest, EmptyListsLeaveTheBoxAlone)
{
    for (const auto& page : { one, std::static_pointer_cast<XmlAlbum>(group), three })
        page->setShowInNav(false);
    menu->setDropShadow(1);
    menu->itemStyle().setMipt(3);
    menu->relayoutFlags(one.get(), 0);
    EXPECT_TRUE(menu->contentsArray().empty());
    EXPECT_TRUE(areas().empty());
    EXPECT_EQ(menu->calcHeight(), 1 + 2 + 8);
    menu->setOrientation(1);
    EXPECT_EQ(menu->calcHeight(), 1 + 2 + 8 + 3);
}

// --- Pointer ----------------------------------------------------------------------------------------------

TEST_F(XmlWebMenuTest, PointerStatesOfTheItems)
{
    menu->relayoutFlags(three.get(), 0);
    const auto& texts = menu->contentsArray();

    menu->mouseEntered("1");
    EXPECT_EQ(menuType(*texts[1]), 2);
    menu->mouseDown("1");
    EXPECT_EQ(menuType(*texts[1]), 3);
    EXPECT_EQ(menu->hoverItem(), -1);
    EXPECT_EQ(menu->clickItem(), 1);
    ASSERT_FALSE(document.redisplayed.empty());
    EXPECT_EQ(document.redisplayed.back(), menu->objectRect());

    // The current page's item stays current under the pointer.
    menu->mouseEntered("2");
    EXPECT_EQ(menuType(*texts[2]), 0);

    menu->mouseExited("1");
    EXPECT_EQ(menuType(*texts[1]), 1);
    EXPECT_EQ(menu->clickItem(), -1);
    EXPECT_EQ(menu->hoverItem(), 2);
}

TEST_F(XmlWebMenuTest, ClicksShowTheItemsPage)
{
    menu->itemStyle().setNavTypeForGroup(2);
    menu->relayoutFlags(four.get(), 0);
    menu->mouseEntered("1001");
    menu->mouseClick("1001");
    ASSERT_EQ(document.selectedPages.size(), 1u);
    // The submenu's list leaves the group out: 1001 is its second page.
    EXPECT_EQ(document.selectedPages[0].page, five.get());
    EXPECT_EQ(document.selectedPages[0].index, -1);
    EXPECT_EQ(menu->hoverItem(), -1);

    menu->mouseClick("0");
    EXPECT_EQ(document.selectedPages.back().page, one.get());
    menu->mouseClick("7");
    menu->mouseClick("1009");
    menu->mouseClick("-1");
    EXPECT_EQ(document.selectedPages.size(), 2u);
}

// A menu of more than a thousand pages: the top-level items past the
// thousandth are numbered apart from the submenu's, so that every page is
// linked, every click area names one item, and a click shows its page.
TEST_F(XmlWebMenuTest, MenusOfMoreThanAThousandPagesLinkEveryPage)
{
    constexpr int extra = 1500;
    std::vector<std::shared_ptr<XmlAlbum>> pages;
    for (int seq = 6; seq < 6 + extra; ++seq)
        pages.push_back(page(site->homepage(), seq, "Page"));
    for (const int orientation : { 0, 1 }) {
        SCOPED_TRACE(orientation);
        menu->setOrientation(orientation);
        menu->itemStyle().setNavTypeForGroup(2);
        document.trackingAreas.clear();
        menu->relayoutFlags(four.get(), 0);
        ASSERT_EQ(menu->contentsArray().size(), static_cast<std::size_t>(3 + extra));

        QString html;
        menu->appendHTMLPagePassSheet(html, four.get(), PagePass::NavigationItems, sheet.get());
        // Each page once: the top-level row (the group's link among them)
        // and the group's two pages in the submenu.
        for (int seq = 1; seq < 6 + extra; ++seq) {
            const QString link = QStringLiteral("href=\"page") + QString::number(seq) + QStringLiteral(".html\"");
            EXPECT_EQ(html.count(link), 1) << link.toStdString();
        }
        EXPECT_EQ(html.count(QStringLiteral("class=\"nav\" href=\"page")), 3 + extra);
        EXPECT_EQ(html.count(QStringLiteral("class=\"subcurrent\" href=\"page4.html\"")), 1);
        EXPECT_EQ(html.count(QStringLiteral("class=\"subnav\" href=\"page5.html\"")), 1);

        QSet<QString> numbers;
        for (const auto& [number, rect] : areas())
            numbers.insert(number);
        EXPECT_EQ(numbers.size(), static_cast<qsizetype>(3 + extra + 2)) << "one click area per item";
    }

    // The 1,201st top-level item is a page of the list, not the submenu's.
    document.selectedPages.clear();
    menu->mouseClick("1200");
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages[0].page, pages[1200 - 3].get());
    // The submenu is numbered after the last top-level item.
    menu->mouseClick(QString::number(3 + extra + 1));
    ASSERT_EQ(document.selectedPages.size(), 2u);
    EXPECT_EQ(document.selectedPages[1].page, five.get());
}

// --- Template CSS and page HTML ---------------------------------------------------------------------------

TEST_F(XmlWebMenuTest, NineRulesInOrder)
{
    QString css;
    menu->appendCSS(css);
    const QStringList lines = css.split('\n', Qt::SkipEmptyParts);
    QStringList selectors;
    for (const QString& line : lines)
        selectors.append(line.left(line.indexOf('{') + 1));
    EXPECT_EQ(selectors, QStringList({ "#navigation {", "a.current {", "a.nav {", "a.nav:hover {", "a.nav:active {",
                                       "a.subcurrent {", "a.subnav {", "a.subnav:hover {", "a.subnav:active {" }));
    ASSERT_EQ(lines.size(), 9);
    for (int i : { 3, 4, 7, 8 }) {
        EXPECT_FALSE(lines[i].contains("font")) << lines[i].toStdString();
        EXPECT_FALSE(lines[i].contains("white-space")) << lines[i].toStdString();
        EXPECT_FALSE(lines[i].contains("overflow")) << lines[i].toStdString();
    }
    EXPECT_TRUE(lines[0].startsWith("#navigation {display: block; position: absolute; white-space: nowrap; border-top: "));
}

TEST_F(XmlWebMenuTest, ItemRulesSpelledOut)
{
    menu->itemStyle().setMipt(1);
    menu->itemStyle().setMipr(2);
    menu->itemStyle().setMipb(3);
    menu->itemStyle().setMipl(4);
    menu->itemStyle().setIndentSubmenu(10);
    menu->itemStyle().setMibt(1);
    menu->itemStyle().setMibtype(2);
    menu->itemStyle().setNormalText(lq::Colour(1, 0, 0));
    menu->itemStyle().setNormalUnderline(1);
    menu->font()->setBold(true);
    menu->font()->setAlignment(XmlWebFont::Alignment::Center);
    const std::optional<lq::Font> face = menu->font()->createFont();
    ASSERT_TRUE(face);
    const int lineHeight = static_cast<int>(face->defaultLineHeight());
    const int subLineHeight = static_cast<int>(face->withPixelSize(12).defaultLineHeight());

    QString css;
    menu->appendCSS(css);
    const QStringList lines = css.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 9);
    const QString borders = "border-top: #7F7F7F dotted 1px; border-left: #7F7F7F dotted 0px; "
                            "border-bottom: #7F7F7F dotted 0px; border-right: #7F7F7F dotted 0px; ";
    EXPECT_EQ(lines[2], "a.nav {display: block; position: absolute; overflow: visible; background-color: transparent; "
                        "color: #FF0000; text-decoration: underline; padding: 1px 2px 3px 4px; "
                        + borders + "margin: 0px; font-family: Helvetica, Arial, sans-serif; font-size: 14px; "
                        + QString("line-height: %1px; ").arg(lineHeight)
                        + "font-style: normal; font-weight: bold; text-align: center; }")
        << lines[2].toStdString();
    EXPECT_TRUE(lines[6].contains("padding: 1px 2px 3px 14px; ")) << lines[6].toStdString();
    EXPECT_TRUE(lines[6].contains(QString("font-size: 12px; line-height: %1px; ").arg(subLineHeight)));
    EXPECT_TRUE(lines[3].startsWith("a.nav:hover {display: block; position: absolute; background"));

    // Horizontal rows: no alignment with orientation 1, centred with 2; nowrap items.
    menu->setOrientation(1);
    css.clear();
    menu->appendCSS(css);
    EXPECT_FALSE(css.contains("text-align"));
    EXPECT_TRUE(css.contains("a.current {display: block; position: absolute; overflow: visible; white-space: nowrap; "));
    menu->setOrientation(2);
    menu->font()->setAlignment(XmlWebFont::Alignment::Right);
    css.clear();
    menu->appendCSS(css);
    EXPECT_EQ(css.count("text-align: center; "), 4);

    // A face number outside the table writes the first family list.
    menu->font()->setFont(12);
    css.clear();
    menu->appendCSSFontParametersForFontWithSize(css, *menu->font(), 0);
    EXPECT_TRUE(css.startsWith("font-family: Helvetica, Arial, sans-serif; font-size: 14px; "));
}

TEST_F(XmlWebMenuTest, FontCheckAndMenuBoxPasses)
{
    menu->itemStyle().setMipt(2);
    menu->itemStyle().setMibb(1);
    menu->itemStyle().setSubFontSize(10);
    menu->relayoutFlags(one.get(), 0);
    const std::optional<lq::Font> face = menu->font()->createFont();
    ASSERT_TRUE(face);
    const int v = 3;
    const int lh = static_cast<int>(face->defaultLineHeight()) + v;
    const int slh = static_cast<int>(face->withPixelSize(10).defaultLineHeight()) + v;

    QString html;
    menu->appendHTMLPagePassSheet(html, one.get(), PagePass::HeadScript, sheet.get());
    EXPECT_EQ(html, QString("fc.addfs(\"ac\", %1, 14, \"a.current\");\n"
                            "fc.addfs(\"an\", %1, 14, \"a.nav\");\n"
                            "fc.addfs(\"asc\", %2, 10, \"a.subcurrent\");\n"
                            "fc.addfs(\"asn\", %2, 10, \"a.subnav\");\n")
                        .arg(lh)
                        .arg(slh));

    menu->setDropShadow(1);
    menu->setBr(2);
    menu->setBb(3);
    html.clear();
    menu->appendHTMLPagePassSheet(html, one.get(), PagePass::NavigationBox, sheet.get());
    EXPECT_EQ(html, QString("<div id=\"navigation\" style=\"top: 10px; left: 20px; width: %1px; height: %2px;\">&nbsp;</div>\n")
                        .arg(150 - 3 - 2 - 8)
                        .arg(menu->calcHeight() - 1 - 3 - 8));

    for (PagePass pass : { PagePass::Head, PagePass::PageTitleBox, PagePass::PageTitleText, PagePass::ContentText, PagePass::AfterPage }) {
        html.clear();
        menu->appendHTMLPagePassSheet(html, one.get(), pass, sheet.get());
        EXPECT_TRUE(html.isEmpty()) << pass;
    }
}

TEST_F(XmlWebMenuTest, LinksOfPass14)
{
    one->setName(QStringLiteral("A & B <x>"));
    one->setIsExternalLink(true);
    one->setExternalLink(QStringLiteral("http://example.com/?a=1&b=\"2\"<>"));
    menu->itemStyle().setMispace(5);
    menu->itemStyle().setMipt(1);
    menu->itemStyle().setMipl(2);
    menu->itemStyle().setMibt(1);
    menu->itemStyle().setIndentSubmenu(6);
    menu->itemStyle().setNavTypeForGroup(2);
    menu->relayoutFlags(four.get(), 0);

    QString html;
    menu->appendHTMLPagePassSheet(html, four.get(), PagePass::NavigationItems, sheet.get());
    const QStringList lines = html.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4 + 5);
    EXPECT_EQ(lines[0], "<a id=\"ac\" class=\"current\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>");
    EXPECT_EQ(lines[3], "<a id=\"asn\" class=\"subnav\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>");
    EXPECT_TRUE(html.endsWith("</a>\n"));

    const auto h = [&](const XmlWebMenu::ItemText& text) { return text.usedHeight(); };
    const auto& top = menu->contentsArray();
    const auto& sub = menu->subContentsArray();
    int y = 10 + 1 + 2;
    const int x = 20 + 3 + 4;
    const int w = 150 - 7 - 2; // inner width less item padding and borders
    EXPECT_EQ(lines[4], QString("<a class=\"nav\" href=\"http://example.com/?a=1&amp;b=&quot;2&quot;&lt;&gt;\" style=\"top: %1px; left: %2px; width: %3px; height: %4px;\">"
                                "A &amp; B &lt;x&gt;</a>")
                            .arg(y)
                            .arg(x)
                            .arg(w)
                            .arg(h(*top[0])));
    y += 5 + h(*top[0]) + 1 + 1;
    EXPECT_TRUE(lines[5].startsWith(QString("<a class=\"nav\" href=\"page2.html\" style=\"top: %1px;").arg(y)));
    y += 5 + h(*top[1]) + 1 + 1;
    EXPECT_EQ(lines[6], QString("<a class=\"subcurrent\" href=\"page4.html\" style=\"top: %1px; left: %2px; width: %3px; height: %4px;\">Four</a>")
                            .arg(y)
                            .arg(x)
                            .arg(w - 6)
                            .arg(h(*sub[0])));
    y += 5 + h(*sub[0]) + 1 + 1;
    EXPECT_TRUE(lines[7].startsWith(QString("<a class=\"subnav\" href=\"page5.html\" style=\"top: %1px;").arg(y)));
    y += 5 + h(*sub[1]) + 1 + 1;
    EXPECT_TRUE(lines[8].startsWith(QString("<a class=\"nav\" href=\"page3.html\" style=\"top: %1px;").arg(y + 2)));

    // Type 0: the group's link is current for a page inside it.
    menu->itemStyle().setNavTypeForGroup(0);
    menu->relayoutFlags(four.get(), 0);
    html.clear();
    menu->appendHTMLPagePassSheet(html, four.get(), PagePass::NavigationItems, sheet.get());
    EXPECT_TRUE(html.contains("<a class=\"current\" href=\"page2.html\""));
    EXPECT_EQ(html.count("class=\"current\" href=\"page"), 1);

    // A site without a home page writes nothing at all.
    document.siteRoot = nullptr;
    html.clear();
    menu->appendHTMLPagePassSheet(html, four.get(), PagePass::NavigationItems, sheet.get());
    EXPECT_TRUE(html.isEmpty());
}

TEST_F(XmlWebMenuTest, HorizontalLinksAndTheirSecondRow)
{
    menu->setOrientation(2);
    menu->itemStyle().setMiWidth(40);
    menu->itemStyle().setMipl(1);
    menu->itemStyle().setMipr(1);
    menu->itemStyle().setMispace(3);
    menu->itemStyle().setNavTypeForGroup(2);
    menu->relayoutFlags(five.get(), 0);
    QString html;
    menu->appendHTMLPagePassSheet(html, five.get(), PagePass::NavigationItems, sheet.get());
    const QStringList lines = html.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4 + 5);
    const int top = 13;
    const int rowHeight = menu->contentsArray()[2]->usedHeight();
    const QRegularExpression position("top: (\\d+)px; left: (\\d+)px; width: (\\d+)px;");
    const auto at = [&](const QString& line) {
        const auto match = position.match(line);
        return std::make_tuple(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    };
    EXPECT_EQ(at(lines[4]), std::make_tuple(top, 27, 40));
    EXPECT_EQ(at(lines[5]), std::make_tuple(top, 27 + 45, 40));
    EXPECT_EQ(at(lines[6]), std::make_tuple(top, 27 + 90, 40));
    EXPECT_EQ(at(lines[7]), std::make_tuple(top + rowHeight, 27, 40));
    EXPECT_TRUE(lines[7].contains("class=\"subnav\""));
    EXPECT_TRUE(lines[8].contains("class=\"subcurrent\""));
    EXPECT_EQ(at(lines[8]), std::make_tuple(top + rowHeight, 27 + 45, 40));
}

TEST_F(XmlWebMenuTest, InternetExplorerVariantsForEveryRule)
{
    QString css;
    menu->appendCSSWinIESuffix(css, QStringLiteral("0p1"));
    EXPECT_TRUE(css.isEmpty()); // backgrounds without PNG pictures need no fix
    QString script;
    menu->genCSSWinIEBitmap(script);
    EXPECT_TRUE(script.isEmpty());

    // A PNG rollover picture of the hover state: the fix for both hover rules.
    menu->setUseGraphicRollover(true);
    XmlCSSBackground& hover = *menu->hoverBkgnd2();
    hover.image()->setImageUUID(QStringLiteral("0123456789ABCDEF"));
    hover.image()->setAttributeTo(QStringLiteral("itype"), QStringLiteral("2"));
    hover.image()->setAttributeTo(QStringLiteral("ow"), QStringLiteral("10"));
    hover.image()->setAttributeTo(QStringLiteral("oh"), QStringLiteral("10"));
    menu->appendCSSWinIESuffix(css, QStringLiteral("0p1"));
    const QStringList rules = css.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rules.size(), 2);
    EXPECT_TRUE(rules[0].startsWith("a.nav:hover { background-image: url(bitmaps/transparent.gif); ")) << rules[0].toStdString();
    EXPECT_TRUE(rules[1].startsWith("a.subnav:hover { ")) << rules[1].toStdString();
}

// --- Drawing, page selection and editing -------------------------------------------------------------------

TEST_F(XmlWebMenuTest, DrawsTheStateBackgroundsAndBorders)
{
    menu->setCurrentBkgnd(lq::Colour(1, 0, 0));
    menu->setCurrentBkgndEn(true);
    menu->setNormalBkgnd(lq::Colour(0, 0, 1));
    menu->setNormalBkgndEn(true);
    menu->itemStyle().setMibl(2);
    menu->itemStyle().setMiblc(lq::Colour(0, 1, 0));
    menu->relayoutFlags(one.get(), 0);
    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(200, 200));
    {
        lq::GraphicsImage::Focus focus(canvas);
        menu->drawObject();
        menu->drawText();
    }
    const QImage image = canvas.toQImage();
    const int firstMiddle = 13 + menu->contentsArray()[0]->usedHeight() / 2;
    const int secondTop = 13 + menu->contentsArray()[0]->usedHeight();
    EXPECT_EQ(image.pixelColor(27, firstMiddle), QColor(0, 255, 0));          // item border
    EXPECT_EQ(image.pixelColor(160, firstMiddle), QColor(255, 0, 0));         // current item
    EXPECT_EQ(image.pixelColor(160, secondTop + 2), QColor(0, 0, 255));       // normal item

    // An item text without state draws the current background; an empty one the normal.
    const auto item = menu->makeContents();
    lq::GraphicsImage small = lq::GraphicsImage::withSize(lq::Size(20, 20));
    {
        lq::GraphicsImage::Focus focus(small);
        menu->drawMenuItemBackgroundRect(*item, lq::Rect(0, 0, 10, 10));
        lq::TextAttributes underlined;
        underlined.underlineStyle = 1;
        item->textStorage()->setText(lq::StyledText("x", underlined));
        menu->drawMenuItemBackgroundRect(*item, lq::Rect(10, 10, 10, 10));
    }
    const QImage states = small.toQImage();
    EXPECT_EQ(states.pixelColor(5, 5), QColor(0, 0, 255));
    EXPECT_EQ(states.pixelColor(15, 15), QColor(255, 0, 0));
}

TEST_F(XmlWebMenuTest, PointsSelectTheItemsPageSpacingIncluded)
{
    menu->itemStyle().setMispace(6);
    menu->relayoutFlags(one.get(), 0);
    const float firstHeight = static_cast<float>(menu->contentsArray()[0]->usedHeight());
    // In the spacing right below the first item.
    menu->selectPageAtPoint(lq::Point(30, 13 + firstHeight + 3));
    ASSERT_EQ(document.selectedPages.size(), 1u);
    EXPECT_EQ(document.selectedPages[0].page, one.get());
    menu->selectPageAtPoint(lq::Point(30, 13 + firstHeight + 7));
    EXPECT_EQ(document.selectedPages.back().page, group.get());
    menu->selectPageAtPoint(lq::Point(5, 5));
    EXPECT_EQ(document.selectedPages.size(), 2u);
}

TEST_F(XmlWebMenuTest, EditingASubmenuItemRenamesItsPage)
{
    menu->itemStyle().setNavTypeForGroup(2);
    menu->itemStyle().setMispace(4);
    menu->itemStyle().setMibt(1);
    menu->itemStyle().setMipl(2);
    menu->itemStyle().setIndentSubmenu(5);
    menu->relayoutFlags(four.get(), 0);
    const auto found = areas();
    ASSERT_EQ(found.size(), 5u);
    const lq::Rect item = found[3].second; // 1001
    ASSERT_EQ(found[3].first, QString("1001"));

    EXPECT_FALSE(menu->canDoubleClick());
    EXPECT_FALSE(menu->startEditingAtPointTextView(lq::Point(1, 1), nullptr));
    ASSERT_TRUE(menu->startEditingAtPointTextView(lq::Point(item.x() + 1, item.y() + 1), nullptr));
    EXPECT_TRUE(menu->isEditing());
    EXPECT_EQ(menu->editMenuItem(), 1001);
    // The text area, without the indent the drawing gives it.
    EXPECT_EQ(menu->editingFrame(), lq::Rect(item.x() + 2, item.y() + 1, item.width() - 2, item.height() - 1));
    const auto container = menu->editingTextContainer();
    ASSERT_EQ(container, menu->subContentsArray()[1]->textContainer());
    lq::StyledText& text = *menu->subContentsArray()[1]->textStorage();
    EXPECT_EQ(text.attributesAt(0).foregroundColour, lq::Colour::black());

    text.replace({ 0, text.length() }, QStringLiteral("Fifth  page "));
    menu->endEditingInView();
    EXPECT_FALSE(menu->isEditing());
    EXPECT_EQ(five->name(), QString("Fifth  page "));
    EXPECT_EQ(menu->editMenuItem(), 1);
    EXPECT_EQ(document.contentEditingEnded, 1);

    // A top-level item made empty is stored empty; starting a second edit ends the first.
    const lq::Rect first = found[0].second;
    ASSERT_TRUE(menu->startEditingAtPointTextView(lq::Point(first.x() + 1, first.y() + 1), nullptr));
    lq::StyledText& firstText = *menu->contentsArray()[0]->textStorage();
    firstText.replace({ 0, firstText.length() }, QString());
    ASSERT_TRUE(menu->startEditingAtPointTextView(lq::Point(item.x() + 1, item.y() + 1), nullptr));
    EXPECT_EQ(one->name(), QString(""));
    EXPECT_EQ(document.contentEditingEnded, 2);
    menu->endEditingInView();
    // Not editing: only the document hears of it.
    menu->endEditingInView();
    EXPECT_EQ(document.contentEditingEnded, 4);
}
