#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "model/core/ElementFactory.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "theme/XmlTheme.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlCSS.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

// A page template whose view the test chooses.
class TemplateInView : public XmlStyleSheet {
public:
    explicit TemplateInView(Key key) : XmlStyleSheet(key) {}
    static std::shared_ptr<TemplateInView> create() { return make<TemplateInView>(); }
    void showView(int view) { _page = static_cast<View>(view); }
};

// A box at a fixed place on the page.
class PlacedBox : public XmlBoxModel {
public:
    explicit PlacedBox(Key key) : XmlBoxModel(key) {}
    static std::shared_ptr<PlacedBox> create(const lq::Rect& rect, const QString& name)
    {
        auto box = make<PlacedBox>();
        box->rect = rect;
        box->setName(name);
        return box;
    }
    lq::Rect objectRect() const override { return rect; }
    lq::Rect rect;
};

// A Vorn Box at a fixed place on the page.
class PlacedVornBox : public XmlVornBox {
public:
    explicit PlacedVornBox(Key key) : XmlVornBox(key) {}
    static std::shared_ptr<PlacedVornBox> create(const lq::Rect& rect, const QString& name)
    {
        auto box = make<PlacedVornBox>();
        box->rect = rect;
        box->setName(name);
        return box;
    }
    lq::Rect objectRect() const override { return rect; }
    lq::Rect rect;
};

// A style element that records the requests passed on to it and answers
// itself to the editing search when told to.
class Probe : public XmlCSS {
public:
    explicit Probe(Key key) : XmlCSS(key) { _have_children = true; }
    static std::shared_ptr<Probe> create(const QString& name, QStringList* journal)
    {
        auto probe = make<Probe>();
        probe->setName(name);
        probe->journal = journal;
        return probe;
    }
    void note(const char* request) { journal->append(name() + QLatin1Char(':') + QLatin1String(request)); }
    void cleanup() override { note("cleanup"); XmlCSS::cleanup(); }
    void startAnimations() override { note("start"); XmlCSS::startAnimations(); }
    void stopAnimations() override { note("stop"); XmlCSS::stopAnimations(); }
    void convert1_2Bitmaps() override { note("convert"); XmlCSS::convert1_2Bitmaps(); }
    void unpackToDirectory(const QString& folder) override { note("unpack"); XmlCSS::unpackToDirectory(folder); }
    XmlBasePtr objectForEditingAtPoint(const lq::Point& point) override
    {
        if (XmlBasePtr inner = XmlCSS::objectForEditingAtPoint(point))
            return inner;
        if (editable && visible())
            return sharedFromThis();
        return nullptr;
    }

    QStringList* journal = nullptr;
    bool editable = false;
};

XmlCSS* styleOf(const XmlBasePtr& element)
{
    return XmlCSS::cast(element.get());
}

} // namespace

TEST(XmlCSS, FreshDefaultsAndEmptyHooks)
{
    auto style = XmlCSS::create();
    EXPECT_EQ(style->elementName(), QStringLiteral("css"));
    EXPECT_TRUE(style->visible());
    EXPECT_TRUE(style->baseVisibility());
    EXPECT_TRUE(style->visibleInSlideshow());
    EXPECT_FALSE(style->sameas());
    EXPECT_FALSE(style->enabled());
    EXPECT_FALSE(style->canDoubleClick());
    EXPECT_FALSE(style->isEditing());
    EXPECT_FALSE(style->startEditingAtPointTextView(lq::Point(1, 1), nullptr));
    EXPECT_FALSE(style->hasNextSelectableObjectInside(true));
    EXPECT_EQ(style->objectRect(), lq::Rect());
    EXPECT_EQ(style->getCurrentAlbum(), nullptr);
    // No factory entry: no stored file holds a plain style element.
    EXPECT_EQ(lq::factoryCreateChildFromTag(QStringLiteral("css")), nullptr);

    // The generation hooks of the base add nothing to what they are given.
    const QString before = QStringLiteral("<start>");
    QString text = before;
    style->appendHTMLPagePassSheet(text, nullptr, PagePass::ContentBox, nullptr);
    style->appendCSS(text);
    style->appendCSSWinIESuffix(text, QStringLiteral("1p2"));
    style->appendJavascriptWinIE(text);
    style->genCSSBitmap(text);
    EXPECT_EQ(text, before);
    XmlBaseList selectable;
    style->getSelectableObjects(selectable);
    EXPECT_TRUE(selectable.isEmpty());
}

TEST(XmlCSS, VisibilityFlagsComeBeforeTheNameAndSubclassAttributes)
{
    auto font = XmlWebFont::create();
    font->setName(QStringLiteral("default"));
    EXPECT_TRUE(font->createXml().startsWith(QStringLiteral("<cssFont v=\"1\" v2=\"1\" name=\"default\" font=")))
        << font->createXml().toStdString();

    font->setVisible(false);
    EXPECT_TRUE(font->createXml().startsWith(QStringLiteral("<cssFont v=\"0\" v2=\"1\" name=\"default\" font=")))
        << font->createXml().toStdString();

    // Without a name the flags stand alone.
    auto plain = XmlCSS::create();
    plain->setVisibleInSlideshow(false);
    EXPECT_EQ(plain->createXml(), QStringLiteral("<css v=\"1\" v2=\"0\"/>\n"));
}

TEST(XmlCSS, ReadsFlagsAsStoredNumbersAndDropsSameas)
{
    const XmlBasePtr read = XmlBase::createWithXmlRootDir(
        QStringLiteral("<cssFont sameas=\"1\" v=\"0\" v2=\"2\" name=\"heading\"/>"), QString());
    XmlCSS* font = styleOf(read);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->sameas());
    EXPECT_FALSE(font->visible());
    EXPECT_TRUE(font->visibleInSlideshow());
    EXPECT_EQ(font->name(), QStringLiteral("heading"));
    // Other numbers than 0 and 1 survive; "sameas" is gone after the next save.
    const QString written = font->createXml();
    EXPECT_TRUE(written.startsWith(QStringLiteral("<cssFont v=\"0\" v2=\"2\" name=\"heading\" font="))) << written.toStdString();
    EXPECT_FALSE(written.contains(QStringLiteral("sameas"))) << written.toStdString();

    // The names are compared exactly.
    const XmlBasePtr upper = XmlBase::createWithXmlRootDir(QStringLiteral("<cssFont V=\"0\" Sameas=\"1\"/>"), QString());
    ASSERT_NE(styleOf(upper), nullptr);
    EXPECT_TRUE(styleOf(upper)->visible());
    EXPECT_FALSE(styleOf(upper)->sameas());
}

TEST(XmlCSS, VisibilitySettersMarkTheDocumentChanged)
{
    struct Case {
        const char* what;
        std::function<void(XmlCSS&)> set;
        std::function<bool(XmlCSS&)> read;
    };
    const std::vector<Case> cases {
        { "setVisible", [](XmlCSS& s) { s.setVisible(false); }, [](XmlCSS& s) { return s.baseVisibility(); } },
        { "setVisibleInSlideshow", [](XmlCSS& s) { s.setVisibleInSlideshow(false); },
          [](XmlCSS& s) { return s.visibleInSlideshow(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDocument document;
        auto theme = XmlTheme::create();
        theme->setDocument(&document);
        auto sheet = XmlStyleSheet::create();
        theme->addChild(sheet);
        auto font = XmlWebFont::create();
        sheet->addChild(font);
        document.changes = 0;

        c.set(*font);
        EXPECT_FALSE(c.read(*font));
        EXPECT_EQ(document.changes, 1);
        theme->setDocument(nullptr);
    }
}

TEST(XmlCSS, VisibleFollowsTheDirectParentsView)
{
    struct Case {
        const char* what;
        int view;      // view of the template above
        bool direct;   // the element is a direct child of the template
        int v;
        int v2;
        bool visible;
    };
    const std::vector<Case> cases {
        { "page view answers v", 0, true, 1, 0, true },
        { "page view, hidden", 0, true, 0, 1, false },
        { "slideshow view answers v2", 1, true, 1, 0, false },
        { "slideshow view, shown there only", 1, true, 0, 1, true },
        { "font inside a box answers its own v", 1, false, 1, 0, true },
        { "font inside a box, hidden", 1, false, 0, 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto sheet = TemplateInView::create();
        sheet->showView(c.view);
        auto box = PlacedBox::create(lq::Rect(0, 0, 10, 10), QStringLiteral("Content"));
        sheet->addChild(box);
        auto font = XmlWebFont::create();
        box->addChild(font);
        XmlCSS& element = c.direct ? static_cast<XmlCSS&>(*box) : static_cast<XmlCSS&>(*font);
        element.setVisible(c.v != 0);
        element.setVisibleInSlideshow(c.v2 != 0);
        EXPECT_EQ(element.visible(), c.visible);
        // These two never look at the view.
        EXPECT_EQ(element.baseVisibility(), c.v != 0);
        EXPECT_EQ(element.visibleInSlideshow(), c.v2 != 0);
    }

    // Without a parent the answer is v.
    auto loose = XmlWebFont::create();
    loose->setVisibleInSlideshow(false);
    EXPECT_TRUE(loose->visible());
}

TEST(XmlCSS, HitTestOnThePageView)
{
    // Content at (0,0)-(100,100); a Vorn Box later in the list over (50,50)-(150,150).
    auto sheet = TemplateInView::create();
    auto content = PlacedBox::create(lq::Rect(0, 0, 100, 100), QStringLiteral("Content"));
    auto vorn = PlacedVornBox::create(lq::Rect(50, 50, 100, 100), QStringLiteral("Box 1"));
    auto hidden = PlacedBox::create(lq::Rect(200, 0, 50, 50), QStringLiteral("Footer"));
    hidden->setVisible(false);
    auto footer = PlacedBox::create(lq::Rect(200, 0, 50, 50), QStringLiteral("Masthead"));
    sheet->addChild(footer);
    sheet->addChild(content);
    sheet->addChild(vorn);
    sheet->addChild(hidden);

    struct Case {
        lq::Point point;
        XmlCSS* expected;
    };
    const std::vector<Case> cases {
        { lq::Point(10, 10), content.get() },
        { lq::Point(60, 60), content.get() }, // the plain box wins over the Vorn Box
        { lq::Point(120, 120), vorn.get() },
        { lq::Point(210, 10), footer.get() }, // the hidden box on top of it hits nothing
        { lq::Point(100, 10), nullptr },      // on the maximum edge: outside
        { lq::Point(500, 500), nullptr },     // no child: not the template either
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point.toString().toStdString());
        EXPECT_EQ(sheet->objectAtPoint(c.point).get(), c.expected);
    }

    // An invisible receiver hits nothing, even inside its own rectangle.
    sheet->setVisible(false);
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(10, 10)), nullptr);
}

TEST(XmlCSS, HitTestOnTheSlideshowView)
{
    auto sheet = TemplateInView::create();
    auto content = PlacedBox::create(lq::Rect(0, 0, 100, 100), QStringLiteral("Content"));
    sheet->addChild(content);
    sheet->showView(1);

    // Without a "Slideshow" element nothing can be hit.
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(10, 10)), nullptr);

    // An element of that name that is no slideshow does not count either.
    auto impostor = PlacedBox::create(lq::Rect(0, 0, 100, 100), QStringLiteral("Slideshow"));
    sheet->addChild(impostor);
    EXPECT_EQ(sheet->objectAtPoint(lq::Point(10, 10)), nullptr);
    sheet->removeChild(impostor.get());

    auto slideshow = XmlSlideshow::create();
    slideshow->setName(QStringLiteral("Slideshow"));
    sheet->addChild(slideshow);
    // Any point, inside the slideshow's rectangle or not, even over another box.
    for (const lq::Point& point : { lq::Point(10, 10), lq::Point(5000, -20) })
        EXPECT_EQ(sheet->objectAtPoint(point).get(), slideshow.get());

    // A box shown on the page but not on the slideshow page is invisible there.
    content->setVisibleInSlideshow(false);
    EXPECT_FALSE(content->visible());
    EXPECT_EQ(content->objectAtPoint(lq::Point(10, 10)), nullptr);
}

TEST(XmlCSS, EditingSearchAsksOnlyStyleChildrenLastFirst)
{
    QStringList journal;
    auto root = Probe::create(QStringLiteral("root"), &journal);
    auto first = Probe::create(QStringLiteral("first"), &journal);
    auto second = Probe::create(QStringLiteral("second"), &journal);
    auto inner = Probe::create(QStringLiteral("inner"), &journal);
    root->addChild(first);
    root->addChild(second);
    second->addChild(inner);
    root->addChild(XmlBase::create()); // not a style element: skipped

    const lq::Point point(5, 5);
    // Nobody below answers: nothing, never the receiver itself.
    auto box = PlacedBox::create(lq::Rect(0, 0, 10, 10), QStringLiteral("Content"));
    box->addChild(XmlWebFont::create());
    EXPECT_EQ(box->objectForEditingAtPoint(point), nullptr);
    EXPECT_EQ(root->objectForEditingAtPoint(point), nullptr);

    first->editable = true;
    EXPECT_EQ(root->objectForEditingAtPoint(point).get(), first.get());
    // The later child is asked first, and its descendants before it.
    inner->editable = true;
    second->editable = true;
    EXPECT_EQ(root->objectForEditingAtPoint(point).get(), inner.get());

    // An invisible element answers nothing for its whole subtree.
    second->setVisible(false);
    EXPECT_EQ(root->objectForEditingAtPoint(point).get(), first.get());
    root->setVisible(false);
    EXPECT_EQ(root->objectForEditingAtPoint(point), nullptr);
}

TEST(XmlCSS, RequestsFanOutToStyleChildrenInOrder)
{
    struct Case {
        const char* what;
        std::function<void(XmlCSS&)> send;
        const char* request;
    };
    const std::vector<Case> cases {
        { "cleanup", [](XmlCSS& s) { s.cleanup(); }, "cleanup" },
        { "startAnimations", [](XmlCSS& s) { s.startAnimations(); }, "start" },
        { "stopAnimations", [](XmlCSS& s) { s.stopAnimations(); }, "stop" },
        { "convert1_2Bitmaps", [](XmlCSS& s) { s.convert1_2Bitmaps(); }, "convert" },
        { "unpackToDirectory", [](XmlCSS& s) { s.unpackToDirectory(QStringLiteral("/nowhere")); }, "unpack" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList journal;
        auto root = XmlStyleSheet::create();
        auto a = Probe::create(QStringLiteral("a"), &journal);
        auto a1 = Probe::create(QStringLiteral("a1"), &journal);
        auto b = Probe::create(QStringLiteral("b"), &journal);
        root->addChild(a);
        root->addChild(XmlBase::create());
        root->addChild(b);
        a->addChild(a1);
        c.send(*root);
        const QString r = QLatin1String(c.request);
        EXPECT_EQ(journal, (QStringList { "a:" + r, "a1:" + r, "b:" + r }));
    }
}

TEST(XmlCSS, BitmapListsAndPictureRenamesReachEveryPicture)
{
    auto sheet = XmlStyleSheet::create();
    auto box = PlacedBox::create(lq::Rect(0, 0, 10, 10), QStringLiteral("Content"));
    auto first = XmlCSSImage::create();
    auto second = XmlCSSImage::create();
    auto unnamed = XmlCSSImage::create();
    first->setImageUUID(QStringLiteral("AAAA000000000001"));
    second->setImageUUID(QStringLiteral("BBBB000000000002"));
    sheet->addChild(first);
    sheet->addChild(box);
    box->addChild(second);
    box->addChild(unnamed);

    QStringList names;
    sheet->listOfBitmaps(names);
    EXPECT_EQ(names, (QStringList { "AAAA000000000001", "BBBB000000000002" }));

    sheet->changeImageUUID({ { QStringLiteral("BBBB000000000002"), QStringLiteral("AAAA000000000001") } });
    EXPECT_EQ(first->imageUUID(), QStringLiteral("AAAA000000000001"));
    EXPECT_EQ(second->imageUUID(), QStringLiteral("AAAA000000000001"));
}

TEST(XmlCSS, CurrentAlbumLivesOnlyWhileItsAlbumPageDoes)
{
    auto style = XmlCSS::create();
    {
        auto album = XmlAlbum::create();
        style->setCurrentAlbum(album.get());
        EXPECT_EQ(style->currentAlbumUUID(), album->UUID());
        EXPECT_EQ(style->getCurrentAlbum(), album);
    }
    // Released: the registry no longer knows it.
    EXPECT_EQ(style->getCurrentAlbum(), nullptr);

    // A group page is a kind of album page; an element of another kind answers nothing.
    auto group = XmlGroup::create();
    style->setCurrentAlbum(group.get());
    EXPECT_EQ(style->getCurrentAlbum().get(), group.get());
    auto other = XmlWebFont::create();
    style->setCurrentAlbum(other.get());
    EXPECT_EQ(style->getCurrentAlbum(), nullptr);

    // No page drops the kept one.
    auto album = XmlAlbum::create();
    style->setCurrentAlbum(album.get());
    style->setCurrentAlbum(nullptr);
    EXPECT_TRUE(style->currentAlbumUUID().isEmpty());
    EXPECT_EQ(style->getCurrentAlbum(), nullptr);
}

TEST(XmlCSS, EndOfInPlaceEditingTellsTheDocument)
{
    FakeDocument document;
    auto theme = XmlTheme::create();
    theme->setDocument(&document);
    auto sheet = XmlStyleSheet::create();
    theme->addChild(sheet);
    auto box = PlacedBox::create(lq::Rect(0, 0, 10, 10), QStringLiteral("Content"));
    sheet->addChild(box);

    box->endEditingInView();
    EXPECT_EQ(document.contentEditingEnded, 1);
    theme->setDocument(nullptr);

    // Outside a document it does nothing.
    auto loose = XmlCSS::create();
    loose->endEditingInView();
    EXPECT_EQ(document.contentEditingEnded, 1);
}
