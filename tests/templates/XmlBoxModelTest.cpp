#include "elements/XmlWebFooter.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWebItem.h"
#include "platform/Exception.h"
#include "platform/Workspace.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlCSSBackground.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/LogCapture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>

namespace {

// A box whose placement flags the test chooses, as each page element class
// fixes them in its constructor.
class PlacedBox : public XmlBoxModel {
public:
    explicit PlacedBox(Key key) : XmlBoxModel(key) {}
    static std::shared_ptr<PlacedBox> create(bool widthFixed, bool heightFixed, bool absolute)
    {
        auto box = make<PlacedBox>();
        box->_widthFixed = widthFixed;
        box->_heightFixed = heightFixed;
        box->_absolute = absolute;
        return box;
    }
};

// A footer placed absolutely, as the footer element is.
class PlacedFooter : public XmlWebFooter {
public:
    explicit PlacedFooter(Key key) : XmlWebFooter(key) {}
    static std::shared_ptr<PlacedFooter> create()
    {
        auto footer = make<PlacedFooter>();
        footer->_widthFixed = true;
        footer->_heightFixed = true;
        footer->_absolute = true;
        return footer;
    }
};

// A box whose borders are drawn into bitmaps.
class BitmapBorderBox : public XmlBoxModel {
public:
    explicit BitmapBorderBox(Key key) : XmlBoxModel(key) {}
    static std::shared_ptr<BitmapBorderBox> create() { return make<BitmapBorderBox>(); }
    bool bordersAreBitmap() const override { return true; }
};

// A box whose inner width cannot be computed.
class FailingBox : public XmlBoxModel {
public:
    explicit FailingBox(Key key) : XmlBoxModel(key) {}
    static std::shared_ptr<FailingBox> create(std::function<void()> failure)
    {
        auto box = make<FailingBox>();
        box->failure = std::move(failure);
        return box;
    }
    int internalWidth() const override
    {
        failure();
        return 0;
    }
    std::function<void()> failure;
};

const QString backgroundAttributes = QStringLiteral(
    " v=\"1\" v2=\"1\" bkgnd=\"0\" bkgndColor=\"#FFFFFF\" ts=\"0\" bs=\"0\" bx=\"0\" by=\"0\" tbkgnd=\"0\"");

QString attributesOf(XmlBoxModel& box)
{
    QString xml;
    box.appendAttributes(xml);
    return xml;
}

// A box with distinct values on every side.
void fillSides(XmlBoxModel& box)
{
    box.setTop(11);
    box.setLeft(12);
    box.setWidth(300);
    box.setHeight(200);
    box.setPt(1);
    box.setPl(2);
    box.setPb(3);
    box.setPr(4);
    box.setBt(5);
    box.setBl(6);
    box.setBb(7);
    box.setBr(8);
    box.setBType(XmlBoxModel::BorderType::Dashed);
    box.setBtColor(lq::Colour(1, 0, 0, 1));
    box.setBlColor(lq::Colour(0, 1, 0, 0.5f));
    box.setBbColor(lq::Colour(0, 0, 1, 1));
    box.setBrColor(lq::Colour(0.999f, 0.5f, 0.25f, 1));
    box.setDropShadow(1);
}

} // namespace

// --- Element protocol --------------------------------------------------------------------------

TEST(XmlBoxModel, NewBoxHasItsDefaults)
{
    const auto box = XmlBoxModel::create();
    EXPECT_EQ(box->elementName(), QString("cssBoxModel"));
    EXPECT_TRUE(box->canHaveChildren());
    EXPECT_FALSE(box->widthFixed());
    EXPECT_FALSE(box->heightFixed());
    EXPECT_FALSE(box->absolute());
    EXPECT_FALSE(box->bordersAreBitmap());
    for (int value : { box->top(), box->left(), box->width(), box->height(), box->pt(), box->pl(), box->pb(),
                       box->pr(), box->bt(), box->bl(), box->bb(), box->br(), box->dropShadow() })
        EXPECT_EQ(value, 0);
    EXPECT_EQ(box->bType(), XmlBoxModel::BorderType::Solid);
    for (const lq::Colour& colour : { box->btColor(), box->blColor(), box->bbColor(), box->brColor() })
        EXPECT_EQ(colour, lq::Colour(0, 0, 0, 1));
    EXPECT_EQ(box->textStorage(), nullptr);
    EXPECT_EQ(box->numberChildren(), 0);
}

TEST(XmlBoxModel, AcceptsOnlyFontsAsChildren)
{
    const auto box = XmlBoxModel::create();
    EXPECT_TRUE(box->canYouBeMyParent(XmlWebFont::create().get()));
    EXPECT_FALSE(box->canYouBeMyParent(XmlBoxModel::create().get()));
    EXPECT_FALSE(box->canYouBeMyParent(XmlCSSBackground::create().get()));
    EXPECT_FALSE(box->canYouBeMyParent(XmlBase::create().get()));
    EXPECT_FALSE(box->canYouBeMyParent(nullptr));
    EXPECT_NE(XmlBoxModel::cast(XmlWebFooter::create().get()), nullptr);
    EXPECT_EQ(XmlBoxModel::cast(XmlWebFont::create().get()), nullptr);
}

TEST(XmlBoxModel, WritesItsAttributesInOrderAfterTheBackground)
{
    const auto box = PlacedBox::create(true, true, true);
    fillSides(*box);
    EXPECT_EQ(attributesOf(*box),
              backgroundAttributes
                  + " top=\"11\" left=\"12\" width=\"300\" height=\"200\" pt=\"1\" pl=\"2\" pb=\"3\" pr=\"4\""
                    " bt=\"5\" bl=\"6\" bb=\"7\" br=\"8\" bType=\"3\""
                    " btColor=\"#FF0000\" blColor=\"#00FF00\" bbColor=\"#0000FF\" brColor=\"#FE7F3F\" ds=\"1\"");
}

TEST(XmlBoxModel, WritesPositionAndSizeOnlyAsItsFlagsSay)
{
    const QString sides = " pt=\"0\" pl=\"0\" pb=\"0\" pr=\"0\" bt=\"0\" bl=\"0\" bb=\"0\" br=\"0\" bType=\"0\""
                          " btColor=\"#000000\" blColor=\"#000000\" bbColor=\"#000000\" brColor=\"#000000\" ds=\"0\"";
    struct Case {
        const char* what;
        std::shared_ptr<XmlBoxModel> box;
        QString placement;
        // What the class writes after the box's attributes.
        QString own = QString();
    };
    const std::vector<Case> cases {
        { "nothing fixed", PlacedBox::create(false, false, false), "" },
        { "absolute", PlacedBox::create(false, false, true), " top=\"11\" left=\"12\"" },
        { "width fixed", PlacedBox::create(true, false, false), " width=\"300\"" },
        { "height fixed", PlacedBox::create(false, true, false), " height=\"200\"" },
        // The footer places itself below the text: its top is never stored.
        { "footer", PlacedFooter::create(), " left=\"12\" width=\"300\" height=\"200\"",
          " underlineLinks=\"1\" linkNormal=\"#00007F\" linkHover=\"#0000B2\" linkVisited=\"#333333\""
          " fontsHaveData=\"1\" extendPage=\"0\" voffset=\"0\" createdWith=\"1\" viewCounter=\"0\""
          " useHtmlSnippet=\"0\" trog=\"0\"" },
    };
    for (const Case& c : cases) {
        c.box->setTop(11);
        c.box->setLeft(12);
        c.box->setWidth(300);
        c.box->setHeight(200);
        QString expected = backgroundAttributes + c.placement + sides + c.own;
        EXPECT_EQ(attributesOf(*c.box), expected) << c.what;
    }
}

TEST(XmlBoxModel, AttributesReadBackIntoTheSameBoxButAlphaIsLost)
{
    const auto written = PlacedBox::create(true, true, true);
    fillSides(*written);
    const auto read = PlacedBox::create(true, true, true);
    ASSERT_TRUE(read->readAttributes(attributesOf(*written)));

    EXPECT_EQ(attributesOf(*read), attributesOf(*written));
    EXPECT_EQ(read->top(), 11);
    EXPECT_EQ(read->height(), 200);
    EXPECT_EQ(read->br(), 8);
    EXPECT_EQ(read->bType(), XmlBoxModel::BorderType::Dashed);
    EXPECT_EQ(read->dropShadow(), 1);
    // Stored as CSS hex colours: the half-transparent green comes back opaque.
    EXPECT_EQ(read->blColor(), lq::Colour(0, 1, 0, 1));
    EXPECT_EQ(read->btColor(), lq::Colour(1, 0, 0, 1));
}

TEST(XmlBoxModel, ReadsEachAttributeThroughItsSetter)
{
    const auto box = XmlBoxModel::create();
    struct Case {
        const char* key;
        const char* value;
        std::function<int(XmlBoxModel&)> get;
        int expected;
    };
    const std::vector<Case> cases {
        { "top", "-5", &XmlBoxModel::top, -5 },
        { "left", "7", &XmlBoxModel::left, 7 },
        { "width", "640", &XmlBoxModel::width, 640 },
        { "height", "480", &XmlBoxModel::height, 480 },
        { "ds", "2", &XmlBoxModel::dropShadow, 2 },
        { "pt", "1", &XmlBoxModel::pt, 1 },
        { "pl", "2", &XmlBoxModel::pl, 2 },
        { "pb", "3", &XmlBoxModel::pb, 3 },
        { "pr", "4", &XmlBoxModel::pr, 4 },
        { "bt", "5", &XmlBoxModel::bt, 5 },
        { "bl", "6", &XmlBoxModel::bl, 6 },
        { "bb", "7", &XmlBoxModel::bb, 7 },
        { "br", "8", &XmlBoxModel::br, 8 },
        { "bType", "5", [](XmlBoxModel& b) { return static_cast<int>(b.bType()); }, 5 },
        { "bkgnd", "1", [](XmlBoxModel& b) { return b.bkgnd(); }, 1 },
    };
    for (const Case& c : cases) {
        box->setAttributeTo(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        EXPECT_EQ(c.get(*box), c.expected) << c.key;
    }

    box->setAttributeTo("btColor", "#336699");
    box->setAttributeTo("blColor", "#ff0000");
    box->setAttributeTo("bbColor", "1 1 1 1");
    box->setAttributeTo("brColor", "#FFF"); // no colour at all
    EXPECT_EQ(box->btColor(), lq::Colour(0x33 / 255.0f, 0x66 / 255.0f, 0x99 / 255.0f, 1));
    EXPECT_EQ(box->blColor(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(box->bbColor(), lq::Colour(1, 1, 1, 1));
    EXPECT_EQ(box->brColor(), lq::Colour::black());
}

TEST(XmlBoxModel, EverySetterMarksTheDocumentChangedButReadingDoesNot)
{
    FakeDocument document;
    const auto theme = XmlTheme::create();
    theme->setDocument(&document);
    const auto box = XmlBoxModel::create();
    theme->addChild(box);

    struct Case {
        const char* what;
        std::function<void(XmlBoxModel&)> set;
    };
    const lq::Colour grey = lq::Colour::fromWhite(0.5f);
    const std::vector<Case> cases {
        { "setTop", [](XmlBoxModel& b) { b.setTop(1); } },
        { "setLeft", [](XmlBoxModel& b) { b.setLeft(1); } },
        { "setWidth", [](XmlBoxModel& b) { b.setWidth(1); } },
        { "setWidthForSidebar", [](XmlBoxModel& b) { b.setWidthForSidebar(2); } },
        { "setHeight", [](XmlBoxModel& b) { b.setHeight(1); } },
        { "setPt", [](XmlBoxModel& b) { b.setPt(1); } },
        { "setPl", [](XmlBoxModel& b) { b.setPl(1); } },
        { "setPb", [](XmlBoxModel& b) { b.setPb(1); } },
        { "setPr", [](XmlBoxModel& b) { b.setPr(1); } },
        { "setBt", [](XmlBoxModel& b) { b.setBt(1); } },
        { "setBl", [](XmlBoxModel& b) { b.setBl(1); } },
        { "setBb", [](XmlBoxModel& b) { b.setBb(1); } },
        { "setBr", [](XmlBoxModel& b) { b.setBr(1); } },
        { "setBType", [](XmlBoxModel& b) { b.setBType(XmlBoxModel::BorderType::Double); } },
        { "setDropShadow", [](XmlBoxModel& b) { b.setDropShadow(1); } },
        { "setBtColor", [&](XmlBoxModel& b) { b.setBtColor(grey); } },
        { "setBlColor", [&](XmlBoxModel& b) { b.setBlColor(grey); } },
        { "setBbColor", [&](XmlBoxModel& b) { b.setBbColor(grey); } },
        { "setBrColor", [&](XmlBoxModel& b) { b.setBrColor(grey); } },
    };
    for (const Case& c : cases) {
        document.changes = 0;
        c.set(*box);
        EXPECT_EQ(document.changes, 1) << c.what;
    }
    EXPECT_EQ(box->width(), 2);

    document.changes = 0;
    ASSERT_TRUE(box->readAttributes(" pt=\"3\" bt=\"4\" btColor=\"#FF0000\" ds=\"1\""));
    EXPECT_EQ(box->bt(), 4);
    EXPECT_EQ(document.changes, 0);
    theme->setDocument(nullptr);
}

// --- Fonts -------------------------------------------------------------------------------------

TEST(XmlBoxModel, FontIsTheChildNamedDefaultMadeOnFirstUse)
{
    const auto box = XmlBoxModel::create();
    const auto heading = box->addFontName(QStringLiteral("ignored"), QStringLiteral("heading"));
    EXPECT_EQ(heading->name(), QString("heading"));
    EXPECT_EQ(heading->parent(), box.get());

    const auto font = box->font();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->name(), QString("default"));
    EXPECT_EQ(font->fontSize(), 14);
    EXPECT_EQ(box->numberChildren(), 2);
    EXPECT_EQ(box->font(), font);
    EXPECT_EQ(box->numberChildren(), 2);
}

TEST(XmlBoxModel, NewDocumentGivesTheBoxOneDefaultFont)
{
    const auto box = XmlBoxModel::create();
    box->newDocument();
    ASSERT_EQ(box->numberChildren(), 1);
    EXPECT_EQ(box->firstChild()->name(), QString("default"));

    // A box that already has its default font keeps it and gains no second.
    const auto kept = box->font();
    box->newDocument();
    EXPECT_EQ(box->numberChildren(), 1);
    EXPECT_EQ(box->font(), kept);
}

// --- Geometry ----------------------------------------------------------------------------------

TEST(XmlBoxModel, OuterAndInnerRectangles)
{
    struct Case {
        const char* what;
        bool widthFixed, heightFixed;
        int width, height;
        int pt, pl, pb, pr, bt, bl, bb, br, ds;
        lq::Rect outer;
        lq::Rect inner;
    };
    const std::vector<Case> cases {
        { "plain", true, true, 100, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, { 20, 10, 100, 50 }, { 20, 10, 100, 50 } },
        { "borders and padding", true, true, 100, 50, 1, 2, 3, 4, 5, 6, 7, 8, 0,
          { 20, 10, 100, 50 }, { 28, 16, 100 - 6 - 8 - 2 - 4, 50 - 5 - 7 - 1 - 3 } },
        { "drop shadow", true, true, 100, 50, 0, 0, 0, 0, 0, 0, 0, 0, 1, { 20, 10, 100, 50 }, { 20, 10, 92, 42 } },
        { "shadow, borders and padding", true, true, 100, 50, 2, 2, 2, 2, 3, 3, 3, 3, 1,
          { 20, 10, 100, 50 }, { 25, 15, 82, 32 } },
        // Borders and padding larger than the box: the width stops at 0, the height does not.
        { "too small", true, true, 20, 20, 5, 5, 5, 5, 10, 10, 10, 10, 0, { 20, 10, 20, 20 }, { 35, 25, 0, -10 } },
    };
    for (const Case& c : cases) {
        const auto box = PlacedBox::create(c.widthFixed, c.heightFixed, true);
        box->setTop(10);
        box->setLeft(20);
        box->setWidth(c.width);
        box->setHeight(c.height);
        box->setPt(c.pt);
        box->setPl(c.pl);
        box->setPb(c.pb);
        box->setPr(c.pr);
        box->setBt(c.bt);
        box->setBl(c.bl);
        box->setBb(c.bb);
        box->setBr(c.br);
        box->setDropShadow(c.ds);
        EXPECT_EQ(box->objectRect(), c.outer) << c.what;
        EXPECT_EQ(box->internalRect(), c.inner) << c.what;
    }
}

TEST(XmlBoxModel, BoxesThatAreNotFixedFollowTheirParentBox)
{
    const auto outer = PlacedBox::create(true, true, true);
    outer->setTop(100);
    outer->setLeft(50);
    outer->setWidth(400);
    outer->setHeight(300);
    outer->setBt(2);
    outer->setBl(3);
    outer->setBr(4);
    outer->setPt(5);
    outer->setPl(6);
    outer->setPr(7);
    outer->setDropShadow(1);
    const auto inner = PlacedBox::create(false, true, false);
    inner->setTop(999);
    inner->setLeft(999);
    inner->setHeight(20);
    outer->addChild(inner);

    EXPECT_EQ(inner->calcTop(), 107);
    EXPECT_EQ(inner->calcLeft(), 59);
    EXPECT_EQ(inner->calcWidth(), 400 - 3 - 4 - 6 - 7 - 8);
    EXPECT_EQ(inner->objectRect(), lq::Rect(59, 107, 372, 20));

    // Without a box above it a box that is not fixed lies at 0 with no width.
    const auto alone = PlacedBox::create(false, true, false);
    alone->setTop(5);
    alone->setLeft(5);
    alone->setWidth(5);
    EXPECT_EQ(alone->calcTop(), 0);
    EXPECT_EQ(alone->calcLeft(), 0);
    EXPECT_EQ(alone->calcWidth(), 0);
}

TEST(XmlBoxModel, SetObjectRectTakesWhatTheFlagsAllowCutToWholePixels)
{
    struct Case {
        const char* what;
        bool widthFixed, heightFixed, absolute;
        int top, left, width, height;
    };
    const std::vector<Case> cases {
        { "everything fixed", true, true, true, 20, 10, 300, 40 },
        { "only absolute", false, false, true, 20, 10, 1, 2 },
        { "only the width", true, false, false, 3, 4, 300, 2 },
        { "only the height", false, true, false, 3, 4, 1, 40 },
    };
    for (const Case& c : cases) {
        const auto box = PlacedBox::create(c.widthFixed, c.heightFixed, c.absolute);
        box->setTop(3);
        box->setLeft(4);
        box->setWidth(1);
        box->setHeight(2);
        box->setObjectRect(lq::Rect(10.9f, 20.7f, 300.99f, 40.5f));
        EXPECT_EQ(box->top(), c.top) << c.what;
        EXPECT_EQ(box->left(), c.left) << c.what;
        EXPECT_EQ(box->width(), c.width) << c.what;
        EXPECT_EQ(box->height(), c.height) << c.what;
    }

    const auto box = PlacedBox::create(true, true, true);
    box->setObjectRect(lq::Rect(-2.5f, -0.5f, std::nanf(""), 1.0e20f));
    EXPECT_EQ(box->left(), -2);
    EXPECT_EQ(box->top(), 0);
    EXPECT_EQ(box->width(), 0);
    EXPECT_GT(box->height(), 2000000000);
}

// --- Page HTML and template CSS ----------------------------------------------------------------

TEST(XmlBoxModel, DivTagsForARectangleAreCutToWholePixels)
{
    const auto box = XmlBoxModel::create();
    EXPECT_EQ(box->htmlDivTagsForRect("contentbox", lq::Rect(10.7f, -3.5f, 200.2f, 99.9f)),
              QString("<div id=\"contentbox\" style=\"top: -3px; left: 10px; width: 200px; height: 99px;\">&nbsp;</div>\n"));
}

TEST(XmlBoxModel, OwnDivLeavesBordersAndShadowOutsideAndPaddingInside)
{
    const auto box = PlacedBox::create(true, true, true);
    box->setTop(30);
    box->setLeft(40);
    box->setWidth(100);
    box->setHeight(50);
    box->setDropShadow(1);
    EXPECT_EQ(box->htmlDivTagsVornStyle("mastheadbox", QString()),
              QString("<div id=\"mastheadbox\" style=\"top: 30px; left: 40px; width: 92px; height: 42px;\">&nbsp;</div>\n"));

    box->setBt(1);
    box->setBl(2);
    box->setBb(3);
    box->setBr(4);
    box->setPt(10);
    box->setPl(10);
    box->setPb(10);
    box->setPr(10);
    box->setDropShadow(0);
    EXPECT_EQ(box->htmlDivTagsVornStyle("x3", QStringLiteral("z-index: 3;")),
              QString("<div id=\"x3\" style=\"z-index: 3; top: 30px; left: 40px; width: 94px; height: 46px;\">&nbsp;</div>\n"));
    // An empty style is still a style: only a null one leaves it out.
    EXPECT_EQ(box->htmlDivTagsVornStyle("x3", QStringLiteral("")),
              QString("<div id=\"x3\" style=\" top: 30px; left: 40px; width: 94px; height: 46px;\">&nbsp;</div>\n"));
}

TEST(XmlBoxModel, BorderTypeNames)
{
    const auto box = XmlBoxModel::create();
    const std::vector<std::pair<int, QString>> cases {
        { 0, "solid" }, { 1, "double" }, { 2, "dotted" }, { 3, "dashed" },
        { 4, "groove" }, { 5, "ridge" }, { 6, "solid" }, { 7, "solid" }, { -1, "solid" },
    };
    for (const auto& [type, name] : cases)
        EXPECT_EQ(XmlBoxModel::borderType(static_cast<XmlBoxModel::BorderType>(type)), name) << type;
}

TEST(XmlBoxModel, BorderAndPaddingRules)
{
    const auto box = XmlBoxModel::create();
    QString css = QStringLiteral("#contentbox { ");
    box->appendCSSBorders(css);
    box->appendCSSPadding(css);
    EXPECT_EQ(css, QString("#contentbox { border-top: #000000 solid 0px; border-left: #000000 solid 0px; "
                           "border-bottom: #000000 solid 0px; border-right: #000000 solid 0px; "
                           "padding: 0px 0px 0px 0px; "));

    fillSides(*box);
    box->setBType(XmlBoxModel::BorderType::Groove);
    css.clear();
    box->appendCSSBorders(css);
    box->appendCSSPadding(css);
    EXPECT_EQ(css, QString("border-top: #FF0000 groove 5px; border-left: #00FF00 groove 6px; "
                           "border-bottom: #0000FF groove 7px; border-right: #FE7F3F groove 8px; "
                           "padding: 1px 4px 3px 2px; "));

    const auto bitmap = BitmapBorderBox::create();
    fillSides(*bitmap);
    css.clear();
    bitmap->appendCSSBorders(css);
    bitmap->appendCSSPadding(css);
    EXPECT_EQ(css, QString("border: 0px; padding: 6px 12px 10px 8px; "));
}

// --- Text layout -------------------------------------------------------------------------------

namespace {

// A site with one album page under its home page, a theme that reaches the
// document, and a masthead box in the theme.
class XmlBoxModelLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        site = XmlSite::create();
        site->newDocument();
        album = XmlAlbum::create();
        site->homepage()->addChild(album);
        album->setFileName(QStringLiteral("page7.html"));
        masthead = site->homepage()->masthead().get();
        masthead->setContent(QStringLiteral("Our site"));
        masthead->setLinkTo(QStringLiteral("http://example.com/"));
        theme = XmlTheme::create();
        theme->setDocument(&document);
        box = PlacedBox::create(true, true, true);
        box->setName(QStringLiteral("Masthead"));
        box->setTop(10);
        box->setLeft(20);
        box->setWidth(300);
        box->setHeight(40);
        box->setBt(2);
        box->setPt(3);
        box->setBl(4);
        box->setPl(5);
        theme->addChild(box);
    }
    void TearDown() override
    {
        theme->setDocument(nullptr);
        lq::setOpenURLHandler({});
    }

    QString laidOutText() const { return box->textStorage() ? box->textStorage()->string() : QString(); }

    FakeDocument document;
    std::shared_ptr<XmlSite> site;
    std::shared_ptr<XmlAlbum> album;
    XmlMasthead* masthead = nullptr;
    std::shared_ptr<XmlTheme> theme;
    std::shared_ptr<PlacedBox> box;
};

} // namespace

TEST_F(XmlBoxModelLayout, MastheadShowsTheSiteMastheadAndRegistersItsLink)
{
    box->relayoutFlags(album.get(), 0);

    EXPECT_EQ(laidOutText(), QString("Our site"));
    EXPECT_EQ(box->currentAlbumUUID(), album->UUID());
    ASSERT_EQ(document.trackingAreas.size(), 1u);
    EXPECT_EQ(document.trackingAreas[0].uuid, box->UUID());
    EXPECT_EQ(document.trackingAreas[0].data, QString("http://example.com/"));
    EXPECT_EQ(document.trackingAreas[0].rect, lq::Rect(29, 15, 291, 35));
    EXPECT_EQ(box->textContainer()->containerSize(), QSizeF(291, 1000000));
    EXPECT_EQ(box->textContainer()->lineFragmentPadding(), 0);
    EXPECT_EQ(box->layoutManager()->glyphRangeForTextContainer(box->textContainer().get()).length, 8u);

    // Laid out again, the box replaces its area instead of adding a second.
    box->relayoutFlags(album.get(), 0);
    EXPECT_EQ(document.trackingAreas.size(), 1u);
}

TEST_F(XmlBoxModelLayout, GeometryQueriesLayTheTextOutButChangeNothing)
{
    const auto flowing = PlacedBox::create(true, false, true);
    flowing->setName(QStringLiteral("Masthead"));
    flowing->setWidth(300);
    theme->addChild(flowing);
    flowing->setCurrentAlbum(album.get());
    const int children = flowing->numberChildren();
    const int changes = document.changes;

    // Asking for the height lays the remembered page's text out once, and
    // neither registers click areas nor adds the font record.
    const XmlBoxModel& asked = *flowing;
    EXPECT_GT(asked.internalHeight(), 0);
    EXPECT_EQ(asked.calcHeight(), asked.internalHeight());
    ASSERT_NE(flowing->textStorage(), nullptr);
    EXPECT_EQ(flowing->textStorage()->string(), QString("Our site"));
    EXPECT_TRUE(document.trackingAreas.empty());
    EXPECT_TRUE(document.trackingCleared.isEmpty());
    EXPECT_EQ(flowing->numberChildren(), children);
    EXPECT_EQ(document.changes, changes);

    // The page's own layout registers the masthead's link.
    flowing->relayoutFlags(album.get(), 0);
    EXPECT_EQ(document.trackingAreas.size(), 1u);
}

TEST_F(XmlBoxModelLayout, WithoutAPageTheRememberedOneIsUsed)
{
    box->relayoutFlags(nullptr, 0);
    EXPECT_EQ(box->textStorage(), nullptr);
    EXPECT_TRUE(document.trackingAreas.empty());

    box->relayoutFlags(album.get(), 0);
    masthead->setContent(QStringLiteral("Renamed"));
    box->relayoutFlags(nullptr, 0);
    EXPECT_EQ(laidOutText(), QString("Renamed"));
}

TEST_F(XmlBoxModelLayout, NonZeroFlagsLeaveEverythingAsItIs)
{
    box->relayoutFlags(album.get(), 0);
    const auto other = XmlAlbum::create();
    site->homepage()->addChild(other);
    masthead->setContent(QStringLiteral("Changed"));
    masthead->setLinkTo(QStringLiteral(""));
    const QStringList clearedBefore = document.trackingCleared;

    for (int flags : { 1, 2, -1 }) {
        box->relayoutFlags(other.get(), flags);
        EXPECT_EQ(laidOutText(), QString("Our site")) << flags;
        EXPECT_EQ(box->currentAlbumUUID(), album->UUID()) << flags;
        EXPECT_EQ(document.trackingAreas.size(), 1u) << flags;
        EXPECT_EQ(document.trackingCleared, clearedBefore) << flags;
    }
}

TEST_F(XmlBoxModelLayout, AnEmptyLinkRemovesTheEarlierAreaAndRegistersNone)
{
    box->relayoutFlags(album.get(), 0);
    ASSERT_EQ(document.trackingAreas.size(), 1u);
    masthead->setLinkTo(QStringLiteral(""));
    box->relayoutFlags(album.get(), 0);
    EXPECT_TRUE(document.trackingAreas.empty());
    EXPECT_EQ(document.trackingCleared.last(), box->UUID());
}

TEST_F(XmlBoxModelLayout, TextComesFromTheBoxName)
{
    album->setContent(QStringLiteral("Holiday 2024"));
    struct Case {
        const char* name;
        QString text;
    };
    const std::vector<Case> cases {
        { "Masthead", "Our site" },
        { "Page Title", "Holiday 2024" },
        { "Footer", "" },
        { "masthead", "" },
    };
    for (const Case& c : cases) {
        box->setName(QString::fromLatin1(c.name));
        document.trackingAreas.clear();
        box->relayoutFlags(album.get(), 0);
        EXPECT_EQ(laidOutText(), c.text) << c.name;
        // Only the masthead has a click area.
        EXPECT_EQ(document.trackingAreas.size(), c.name == std::string("Masthead") ? 1u : 0u) << c.name;
    }

    // A page in the trash has no masthead above it: the masthead box is empty.
    const auto trashed = XmlAlbum::create();
    site->trash()->addChild(trashed);
    box->setName(QStringLiteral("Masthead"));
    box->relayoutFlags(trashed.get(), 0);
    EXPECT_EQ(laidOutText(), QString(""));
    EXPECT_TRUE(document.trackingAreas.empty());
}

TEST_F(XmlBoxModelLayout, TextTakesTheDefaultFontsAttributes)
{
    const auto font = box->font();
    font->setFont(9);
    font->setFontSize(20);
    font->setFontColor(lq::Colour(1, 0, 0, 1));
    font->setUnderline(true);
    struct Case {
        int alignment;
        lq::TextAlignment expected;
    };
    const std::vector<Case> cases {
        { 0, lq::TextAlignment::Left },
        { 1, lq::TextAlignment::Center },
        { 2, lq::TextAlignment::Right },
        { 3, lq::TextAlignment::Left },
    };
    for (const Case& c : cases) {
        font->setAlignment(static_cast<XmlWebFont::Alignment>(c.alignment));
        box->relayoutFlags(album.get(), 0);
        const lq::TextAttributes attributes = box->textStorage()->attributesAt(0);
        ASSERT_TRUE(attributes.paragraphStyle.has_value());
        EXPECT_EQ(attributes.paragraphStyle->alignment, c.expected) << c.alignment;
        EXPECT_EQ(attributes.paragraphStyle->tabStops, lq::standardTabStops());
        EXPECT_EQ(attributes.font, font->createFont());
        EXPECT_EQ(attributes.foregroundColour, lq::Colour(1, 0, 0, 1));
        EXPECT_EQ(attributes.underlineStyle, 1);
        // One run over the whole text.
        EXPECT_EQ(box->textStorage()->runs().size(), 1u);
    }
}

TEST_F(XmlBoxModelLayout, HeightThatIsNotFixedFollowsTheText)
{
    const auto loose = PlacedBox::create(true, false, true);
    loose->setName(QStringLiteral("Page Title"));
    loose->setWidth(200);
    loose->setBt(1);
    loose->setBb(2);
    loose->setPt(3);
    loose->setPb(4);
    loose->setDropShadow(1);
    theme->addChild(loose);
    album->setContent(QStringLiteral("Title"));

    // No page known yet: nothing to measure.
    EXPECT_EQ(loose->internalHeight(), 0);
    EXPECT_EQ(loose->calcHeight(), 18);

    loose->setCurrentAlbum(album.get());
    const int line = static_cast<int>(loose->font()->createFont()->defaultLineHeight());
    ASSERT_GT(line, 0);
    EXPECT_EQ(loose->internalHeight(), line);
    EXPECT_EQ(loose->calcHeight(), line + 1 + 2 + 3 + 4 + 8);
    EXPECT_EQ(loose->objectRect().height(), static_cast<float>(line + 18));
}

TEST_F(XmlBoxModelLayout, CleanupDropsTheTextSystemUntilTheNextLayout)
{
    box->relayoutFlags(album.get(), 0);
    ASSERT_NE(box->textStorage(), nullptr);
    box->cleanup();
    EXPECT_EQ(box->textStorage(), nullptr);
    EXPECT_EQ(box->layoutManager(), nullptr);
    EXPECT_EQ(box->textContainer(), nullptr);
    box->relayoutFlags(nullptr, 0);
    EXPECT_EQ(laidOutText(), QString("Our site"));
}

TEST_F(XmlBoxModelLayout, SetObjectRectLaysTheTextOutForTheNewWidth)
{
    box->relayoutFlags(album.get(), 0);
    box->setObjectRect(lq::Rect(0, 0, 109, 40));
    EXPECT_EQ(box->textContainer()->containerSize().width(), 100);
    ASSERT_EQ(document.trackingAreas.size(), 1u);
    EXPECT_EQ(document.trackingAreas[0].rect, lq::Rect(9, 5, 100, 35));
}

TEST_F(XmlBoxModelLayout, FailuresAreLoggedWithTheBoxAndGoNoFurther)
{
    const auto failing = FailingBox::create([] { lq::raise("NSRangeException", "no width here"); });
    failing->setName(QStringLiteral("Masthead"));
    theme->addChild(failing);
    LogCapture log;
    EXPECT_NO_THROW(failing->relayoutFlags(album.get(), 0));
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_EQ(log.lines[0], QString("boxmodel relayout error: NSRangeException: no width here"));
    EXPECT_EQ(log.lines[1], failing->createXml());
    // The text system stays as far as it got.
    ASSERT_NE(failing->textStorage(), nullptr);
    EXPECT_EQ(failing->textStorage()->string(), QString("Our site"));
}

TEST_F(XmlBoxModelLayout, ThrowsThatAreNotFailuresGoOnToTheCaller)
{
    const auto failing = FailingBox::create([] { throw std::runtime_error("not ours"); });
    theme->addChild(failing);
    EXPECT_THROW(failing->relayoutFlags(album.get(), 0), std::runtime_error);
}

// --- Clicks and editing ------------------------------------------------------------------------

TEST_F(XmlBoxModelLayout, ClickOnALinkShowsThePageOrOpensTheAddress)
{
    const auto external = XmlWebItem::create();
    external->setExternalLink(QStringLiteral("http://elsewhere.example/"));
    const auto twin = XmlAlbum::create();
    twin->setFileName(QStringLiteral("page7.html"));
    document.pages = { external, album, twin };
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });

    struct Case {
        const char* link;
        bool selects;
        XmlAlbum* page;
        QList<QUrl> opens;
    };
    const std::vector<Case> cases {
        // The first page with the address wins.
        { "page7.html", true, album.get(), {} },
        // A page that is no album page stands for the default album.
        { "http://elsewhere.example/", true, nullptr, {} },
        { "http://example.com/", false, nullptr, { QUrl("http://example.com/") } },
        // A relative address names no page here and is not a place to open.
        { "page9.html", false, nullptr, {} },
        { "", false, nullptr, {} },
    };
    for (const Case& c : cases) {
        document.selectedPages.clear();
        opened.clear();
        box->mouseClick(QString::fromLatin1(c.link));
        if (c.selects) {
            ASSERT_EQ(document.selectedPages.size(), 1u) << c.link;
            EXPECT_EQ(document.selectedPages[0].page, c.page) << c.link;
            EXPECT_EQ(document.selectedPages[0].index, -1) << c.link;
        } else {
            EXPECT_TRUE(document.selectedPages.empty()) << c.link;
        }
        EXPECT_EQ(opened, c.opens) << c.link;
    }
}

TEST_F(XmlBoxModelLayout, EditingInPlace)
{
    box->font()->setFontColor(lq::Colour(0, 0, 1, 1));
    box->relayoutFlags(album.get(), 0);

    EXPECT_TRUE(box->canDoubleClick());
    EXPECT_TRUE(box->startEditingAtPointTextView(lq::Point(1, 1), nullptr));
    EXPECT_EQ(box->textStorage()->attributesAt(0).foregroundColour, lq::Colour::black());
    EXPECT_EQ(box->textStorage()->runs().size(), 1u);
    EXPECT_FALSE(box->isEditing());

    box->endEditingInView();
    EXPECT_EQ(document.contentEditingEnded, 1);

    XmlBaseList selectable;
    box->getSelectableObjects(selectable);
    ASSERT_EQ(selectable.size(), 1);
    EXPECT_EQ(selectable[0].get(), box.get());
    EXPECT_FALSE(box->hasNextSelectableObjectInside(true));
}
