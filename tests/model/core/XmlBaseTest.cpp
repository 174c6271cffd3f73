#include "model/core/ElementRegistry.h"
#include "model/site/XmlAlbum.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

namespace {

// An element that can hold children, as the container classes are.
class Node : public XmlBase {
public:
    explicit Node(Key key) : XmlBase(key) { _have_children = true; }
    static std::shared_ptr<Node> create() { return make<Node>(); }
    bool canYouBeMyParent(XmlBase*) override { return true; }
};

// A site with a recording document, and a node under it whose children the
// tests work on; the document sees every change notice that reaches the root.
struct Tree {
    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<Node> parent = Node::create();
    std::shared_ptr<Node> a = Node::create();
    std::shared_ptr<Node> b = Node::create();

    Tree()
    {
        site->setDocument(&document);
        site->addChild(parent);
        parent->addChild(a);
        parent->addChild(b);
        document.notices = 0;
        document.changes = 0;
    }
    ~Tree() { site->setDocument(nullptr); }
};

// An element that notes every walk that reaches it in a shared journal.
class Walked : public Node {
public:
    explicit Walked(Key key) : Node(key) {}
    static std::shared_ptr<Walked> create(const QString& name, QStringList* journal)
    {
        auto element = make<Walked>();
        element->setName(name);
        element->journal = journal;
        return element;
    }
    void newDocument() override { note("new"); Node::newDocument(); }
    void postload() override { note("postload"); Node::postload(); }
    void loadBackstore(void* context) override { note("load"); Node::loadBackstore(context); }
    void releaseBackstore(void* context) override { note("release"); Node::releaseBackstore(context); }
    void listOfFilesToCopyAll(QStringList& files, bool all) override { note("files"); Node::listOfFilesToCopyAll(files, all); }
    QStringList* journal = nullptr;

private:
    void note(const char* walk) { journal->append(name() + QLatin1Char(':') + QLatin1String(walk)); }
};

// A walked element with parts of its own outside its children.
class Owner : public Walked {
public:
    explicit Owner(Key key) : Walked(key) {}
    static std::shared_ptr<Owner> create(QStringList* journal)
    {
        auto owner = make<Owner>();
        owner->setName(QStringLiteral("owner"));
        owner->journal = journal;
        owner->first = Walked::create(QStringLiteral("part1"), journal);
        owner->second = Walked::create(QStringLiteral("part2"), journal);
        return owner;
    }
    XmlBaseList ownedParts() const override { return { first, second }; }
    std::shared_ptr<Walked> first;
    std::shared_ptr<Walked> second;
};

} // namespace

TEST(XmlBase, FreshElementDefaults)
{
    auto e = XmlBase::create();
    // Name and content are the empty text, not nothing.
    EXPECT_EQ(e->name(), QStringLiteral(""));
    EXPECT_FALSE(e->name().isNull());
    EXPECT_EQ(e->content(), QStringLiteral(""));
    EXPECT_FALSE(e->content().isNull());
    EXPECT_TRUE(e->canEditName());
    EXPECT_FALSE(e->haveContent());
    EXPECT_FALSE(e->canHaveChildren());
    EXPECT_EQ(e->elementName(), QStringLiteral("xmlbase"));
    EXPECT_EQ(XmlBase::UUID(e->UUID()), e);

    // An element that cannot hold children refuses every tree operation.
    auto child = XmlBase::create();
    EXPECT_EQ(e->addChild(child), nullptr);
    e->insertChildAtIndex(child, 0);
    EXPECT_EQ(e->numberChildren(), 0);
    EXPECT_EQ(e->firstChild(), nullptr);
    EXPECT_EQ(child->parent(), nullptr);
    EXPECT_TRUE(e->children().isEmpty());
}

TEST(XmlBase, UUIDsAreSixteenHexDigitsAndResolveWhileTheElementLives)
{
    const QRegularExpression form(QStringLiteral("^[0-7][0-9A-F]{7}[0-7][0-9A-F]{7}$"));
    for (int i = 0; i < 1000; ++i) {
        const QString uuid = ElementRegistry::makeUUID();
        ASSERT_TRUE(form.match(uuid).hasMatch()) << uuid.toStdString();
    }

    QString uuid;
    {
        auto e = XmlBase::create();
        uuid = e->UUID();
        EXPECT_EQ(XmlBase::UUID(uuid).get(), e.get());
    }
    // The registry does not keep the element alive, and forgets it when it goes.
    EXPECT_EQ(XmlBase::UUID(uuid), nullptr);
    EXPECT_EQ(XmlBase::UUID(QString()), nullptr);
    EXPECT_EQ(XmlBase::UUID(QStringLiteral("0000000000000000")), nullptr);
}

TEST(XmlBase, InsertionPlacesChildrenAndTellsTheDocument)
{
    Tree t;
    auto c = Node::create();
    t.parent->insertChildAtIndex(c, 99);
    EXPECT_EQ(t.parent->indexOfChild(c.get()), 2);
    EXPECT_EQ(c->parent(), t.parent.get());
    EXPECT_GT(t.document.notices, 0);

    auto d = Node::create();
    auto stranger = Node::create();
    t.parent->insertChildAfterChild(d, stranger.get());
    EXPECT_EQ(t.parent->indexOfChild(d.get()), 0);

    auto e = Node::create();
    t.parent->insertChildAfterChild(e, t.a.get());
    EXPECT_EQ(t.parent->indexOfChild(e.get()), 2);
    EXPECT_EQ(t.parent->childAtIndex(1), t.a);

    EXPECT_EQ(t.parent->indexOfChild(stranger.get()), 2147483647);
    EXPECT_EQ(t.parent->indexOfChild(nullptr), XmlBase::NotFound);
    EXPECT_EQ(t.parent->childAtIndex(99), nullptr);
    EXPECT_EQ(t.parent->childAtIndex(-1), nullptr);
}

TEST(XmlBase, RemoveAllChildrenDetachesLastToFirstWithOneNotice)
{
    // Children that note when they find themselves without a parent.
    class Recorder : public Node {
    public:
        explicit Recorder(Key key) : Node(key) {}
        static std::shared_ptr<Recorder> create(QStringList* log) { auto r = make<Recorder>(); r->_log = log; return r; }
        void docChanged() override
        {
            if (!parent() && _log)
                _log->append(name());
            Node::docChanged();
        }
        QStringList* _log = nullptr;
    };

    Tree t;
    t.parent->removeAllChildren();
    QStringList detached;
    for (const char* name : { "first", "second", "third" }) {
        auto r = Recorder::create(&detached);
        r->setName(QString::fromLatin1(name));
        t.parent->addChild(r);
    }
    detached.clear();
    t.document.notices = 0;
    t.parent->removeAllChildren();
    EXPECT_EQ(detached, (QStringList { QStringLiteral("third"), QStringLiteral("third"), QStringLiteral("second"),
                            QStringLiteral("second"), QStringLiteral("first"), QStringLiteral("first") }));
    EXPECT_EQ(t.document.notices, 1);
    EXPECT_EQ(t.parent->numberChildren(), 0);
    EXPECT_EQ(t.a->parent(), nullptr);
}

TEST(XmlBase, RemoveChildFreesTheSubtreeButTheOtherFormKeepsIt)
{
    Tree t;
    QString grandchildUUID;
    {
        auto grandchild = Node::create();
        grandchildUUID = grandchild->UUID();
        t.a->addChild(grandchild);
    }
    // A grandchild that somebody else still holds survives, detached.
    auto heldGrandchild = Node::create();
    t.a->addChild(heldGrandchild);
    QString movedGrandchildUUID;
    {
        auto grandchild = Node::create();
        movedGrandchildUUID = grandchild->UUID();
        t.b->addChild(grandchild);
    }

    t.parent->removeChild(t.a.get());
    EXPECT_EQ(t.parent->indexOfChild(t.a.get()), XmlBase::NotFound);
    EXPECT_EQ(t.a->parent(), nullptr);
    EXPECT_EQ(t.a->numberChildren(), 0);
    EXPECT_EQ(XmlBase::UUID(grandchildUUID), nullptr);
    EXPECT_EQ(heldGrandchild->parent(), nullptr);

    const std::shared_ptr<Node> moved = t.b;
    t.parent->removeChildWithoutDeletingChildren(moved.get());
    EXPECT_EQ(moved->parent(), nullptr);
    ASSERT_EQ(moved->numberChildren(), 1);
    EXPECT_EQ(moved->firstChild()->parent(), moved.get());
    EXPECT_NE(XmlBase::UUID(movedGrandchildUUID), nullptr);

    // Removing something that is not a child changes nothing.
    const int before = t.document.notices;
    t.parent->removeChild(t.a.get());
    EXPECT_EQ(t.document.notices, before);
}

TEST(XmlBase, RemoveFromParentSurvivesLosingTheLastOwner)
{
    auto parent = Node::create();
    QString uuid;
    {
        auto child = Node::create();
        uuid = child->UUID();
        parent->addChild(child);
    }
    XmlBase* child = parent->firstChild().get();
    child->removeFromParent(); // frees the child; ASan reports any use after this
    EXPECT_EQ(parent->numberChildren(), 0);
    EXPECT_EQ(XmlBase::UUID(uuid), nullptr);
}

TEST(XmlBase, FreeingAParentDetachesAHeldChildAndKeepsItsSubtree)
{
    std::shared_ptr<Node> held = Node::create();
    QString grandchildUUID;
    {
        auto parent = Node::create();
        parent->addChild(held);
        auto grandchild = Node::create();
        grandchildUUID = grandchild->UUID();
        held->addChild(grandchild);
    }
    // ASan reports any use of the freed parent through the child's link.
    EXPECT_EQ(held->parent(), nullptr);
    EXPECT_EQ(held->root(), held.get());
    ASSERT_EQ(held->numberChildren(), 1);
    EXPECT_EQ(held->firstChild()->UUID(), grandchildUUID);
    EXPECT_EQ(held->firstChild()->parent(), held.get());
    held->setName(QStringLiteral("still usable"));
}

TEST(XmlBase, SwapChildTakesThePositionOnlyForANewElement)
{
    Tree t;
    auto replacement = Node::create();
    t.parent->swapChildForChild(t.a.get(), replacement);
    EXPECT_EQ(t.parent->indexOfChild(replacement.get()), 0);
    EXPECT_EQ(replacement->parent(), t.parent.get());
    EXPECT_EQ(t.a->parent(), nullptr);

    // The new element is already a child: nothing happens.
    t.parent->swapChildForChild(t.b.get(), replacement);
    EXPECT_EQ(t.parent->indexOfChild(t.b.get()), 1);
    EXPECT_EQ(t.parent->indexOfChild(replacement.get()), 0);
}

TEST(XmlBase, EnumeratorsAreSnapshots)
{
    Tree t;
    const XmlBaseList forward = t.parent->childrenEnumerator();
    const XmlBaseList backward = t.parent->reverseEnumerator();
    t.parent->removeAllChildren();
    ASSERT_EQ(forward.size(), 2);
    EXPECT_EQ(forward[0], t.a);
    EXPECT_EQ(backward[0], t.b);
}

TEST(XmlBase, TypedChildQueriesTakeSubclassesInChildOrder)
{
    const auto parent = Node::create();
    const auto page = XmlAlbum::create();
    const auto plain = Node::create();
    const auto group = XmlGroup::create();
    group->setName("Trips");
    parent->addChild(page);
    parent->addChild(plain);
    parent->addChild(group);

    EXPECT_EQ(parent->childrenOfType<XmlAlbum>(), (QList<std::shared_ptr<XmlAlbum>> { page, group }));
    EXPECT_EQ(parent->childrenOfType<XmlGroup>(), QList<std::shared_ptr<XmlGroup>> { group });
    EXPECT_TRUE(parent->childrenOfType<XmlSite>().isEmpty());
    EXPECT_EQ(parent->firstChildOfType<XmlAlbum>(), page);
    EXPECT_EQ(parent->firstChildOfType<XmlGroup>(), group);
    EXPECT_EQ(parent->firstChildOfType<XmlAlbum>([](const XmlAlbum& a) { return a.name() == u"Trips"; }), group);
    EXPECT_EQ(parent->firstChildOfType<XmlAlbum>([](const XmlAlbum& a) { return a.name() == u"none"; }), nullptr);
    EXPECT_EQ(XmlBase::create()->firstChildOfType<XmlAlbum>(), nullptr);

    // The answer is a copy: the tree may change while it is gone through.
    for (const auto& album : parent->childrenOfType<XmlAlbum>())
        album->removeFromParent();
    EXPECT_EQ(parent->children(), XmlBaseList { plain });
    EXPECT_EQ(plain->childrenOfType<XmlBase>(), XmlBaseList {});
}

TEST(XmlBase, SelectedRangeIsClippedToTheContent)
{
    struct Case {
        quint32 location, length;
        lq::Range expected;
    };
    const Case cases[] = {
        { 5, 10, { 5, 3 } },
        { 9, 2, { 0, 0 } },
        { 0, 4, { 0, 4 } },
        { 8, 1, { 0, 0 } },
        { 3, 0, { 3, 0 } },
        { 8, 0, { 8, 0 } },
        { 9, 0, { 0, 0 } },
    };
    auto e = XmlBase::create();
    e->setHaveContent(true);
    e->setContent(QStringLiteral("abcdefgh"));
    for (const Case& c : cases) {
        e->setSelectedRange({ c.location, c.length });
        EXPECT_EQ(e->selectedRange(), c.expected) << c.location << "," << c.length;
    }
    e->setHaveContent(false);
    e->setSelectedRange({ 1, 2 });
    EXPECT_EQ(e->selectedRange(), lq::Range());
}

TEST(XmlBase, ContentDefaultsAndChecks)
{
    auto root = Node::create();
    auto child = Node::create();
    auto grandchild = Node::create();
    auto sibling = Node::create();
    auto unchecked = Node::create();
    root->addChild(child);
    child->addChild(grandchild);
    root->addChild(unchecked);
    root->addChild(sibling);
    for (const auto& node : { root, child, grandchild, sibling })
        node->setCheck(true);
    unchecked->setCheck(false);
    EXPECT_EQ(child->check(), 1);
    QStringList checked;
    root->fillCheckedItems(checked);
    // Depth first, each element before its children.
    EXPECT_EQ(checked, (QStringList { root->UUID(), child->UUID(), grandchild->UUID(), sibling->UUID() }));

    child->setDefaultContent(QStringLiteral("Type here"));
    EXPECT_TRUE(child->isDefaultContent());
    EXPECT_EQ(child->content(), QStringLiteral("Type here"));

    // Setting no content leaves the empty text and does not touch the content flag.
    child->setContent(QString());
    EXPECT_EQ(child->content(), QStringLiteral(""));
    EXPECT_FALSE(child->content().isNull());
    EXPECT_FALSE(child->haveContent());
}

TEST(XmlBase, FalseAlarmBracketsReachTheDocument)
{
    Tree t;
    t.a->falseAlarm(true);
    t.a->setName(QStringLiteral("quiet"));
    t.a->falseAlarm(false);
    EXPECT_EQ(t.document.changes, 0);
    EXPECT_EQ(t.document.suppressed, 0);
    t.a->setName(QStringLiteral("loud"));
    EXPECT_EQ(t.document.changes, 1);
    EXPECT_EQ(t.a->myDocument(), &t.document);
}

TEST(XmlBase, RootDirAndRefreshGoThroughTheRoot)
{
    auto root = Node::create();
    auto child = Node::create();
    root->addChild(child);
    EXPECT_EQ(child->root(), root.get());
    EXPECT_EQ(child->rootDir(), QDir::tempPath());
    child->setRootDir(QStringLiteral("/ignored")); // the base root ignores it
    EXPECT_EQ(child->rootDir(), QDir::tempPath());
    EXPECT_EQ(child->myDocument(), nullptr);
    EXPECT_EQ(child->filenameWithRoot(QStringLiteral("a/b")), QStringLiteral("a/b"));
}

TEST(XmlBase, OnlySiteAndThemeRootsLeadToADocument)
{
    // A root of another kind that knows a document of its own.
    class Holder : public Node {
    public:
        explicit Holder(Key key) : Node(key) {}
        static std::shared_ptr<Holder> create() { return make<Holder>(); }
        DocumentBase* myDocument() override { return document; }
        DocumentBase* document = nullptr;
    };

    FakeDocument document;
    auto theme = XmlTheme::create();
    theme->setDocument(&document);
    auto templ = Node::create();
    theme->addChild(templ);
    EXPECT_EQ(templ->myDocument(), &document);
    theme->setDocument(nullptr);

    auto holder = Holder::create();
    holder->document = &document;
    auto inner = Node::create();
    holder->addChild(inner);
    EXPECT_EQ(inner->myDocument(), nullptr);
}

TEST(XmlBase, CallSelectorWalksPreOrder)
{
    auto root = Node::create();
    auto a = Node::create();
    auto b = Node::create();
    auto a1 = Node::create();
    root->setName(QStringLiteral("root"));
    a->setName(QStringLiteral("a"));
    a1->setName(QStringLiteral("a1"));
    b->setName(QStringLiteral("b"));
    root->addChild(a);
    a->addChild(a1);
    root->addChild(b);
    QStringList order;
    root->callSelectorOnObject([&](XmlBase& e) { order << e.name(); });
    EXPECT_EQ(order, (QStringList { QStringLiteral("root"), QStringLiteral("a"), QStringLiteral("a1"), QStringLiteral("b") }));
}

TEST(XmlBase, WebItemsAndMenuItemsComeFromTheSite)
{
    auto site = XmlSite::create();
    auto home = XmlHomePage::create();
    auto first = XmlAlbum::create();
    auto group = XmlGroup::create();
    auto inner = XmlAlbum::create();
    auto hidden = XmlAlbum::create();
    site->addChild(home);
    home->addChild(first);
    home->addChild(group);
    group->addChild(inner);
    group->addChild(hidden);
    first->setName(QStringLiteral("First"));
    first->setPageSeqNumber(1);
    first->setExternalLink(QStringLiteral("page1.html"));
    group->setName(QStringLiteral("Group"));
    group->setPageSeqNumber(2);
    inner->setName(QStringLiteral("Inner"));
    inner->setPageSeqNumber(3);
    hidden->setShowInNav(false);

    // Every page depth first, each group before its pages; any element reaches it.
    const XmlBaseList pages = inner->webItems();
    ASSERT_EQ(pages.size(), 4);
    EXPECT_EQ(pages[0], first);
    EXPECT_EQ(pages[1], group);
    EXPECT_EQ(pages[2], inner);
    EXPECT_EQ(pages[3], hidden);

    const QList<MenuItem> groupMenu = group->menuItems();
    ASSERT_EQ(groupMenu.size(), 2);
    EXPECT_EQ(groupMenu[0].page, group);
    EXPECT_EQ(groupMenu[0].seq, 2);
    EXPECT_EQ(groupMenu[1].name, QStringLiteral("Inner"));
    EXPECT_EQ(groupMenu[1].seq, 3);

    const QList<MenuItem> homeMenu = home->menuItems();
    ASSERT_EQ(homeMenu.size(), 2);
    EXPECT_EQ(homeMenu[0].href, QStringLiteral("page1.html"));
    EXPECT_EQ(homeMenu[1].page, group);

    // Outside a site there are neither pages nor menu entries.
    auto loose = XmlGroup::create();
    EXPECT_TRUE(loose->menuItems().isEmpty());
    EXPECT_TRUE(loose->webItems().isEmpty());

    // A group whose pages all stay out of the menu lists only itself.
    inner->setShowInNav(false);
    EXPECT_EQ(group->menuItems().size(), 1);
}

TEST(XmlBase, GroupsAcceptPagesButNotGroupsOrAncestors)
{
    auto group = XmlGroup::create();
    auto album = XmlAlbum::create();
    EXPECT_TRUE(group->canYouBeMyParent(album.get()));
    EXPECT_FALSE(group->canYouBeMyParent(XmlGroup::create().get()));
    EXPECT_FALSE(group->canYouBeMyParent(group.get()));
    EXPECT_FALSE(group->canYouBeMyParent(XmlBase::create().get()));
    EXPECT_FALSE(group->canYouBeMyParent(nullptr));
}

TEST(XmlBase, WalksVisitTheOwnedPartsAheadOfTheChildrenButANewDocumentOnlyTheChildren)
{
    struct Case {
        const char* walk;
        std::function<void(XmlBase&)> send;
        bool reachesParts;
    };
    QStringList files;
    const std::vector<Case> cases {
        { "postload", [](XmlBase& e) { e.postload(); }, true },
        { "load", [](XmlBase& e) { e.loadBackstore(nullptr); }, true },
        { "release", [](XmlBase& e) { e.releaseBackstore(nullptr); }, true },
        { "files", [&](XmlBase& e) { e.listOfFilesToCopyAll(files, true); }, true },
        { "new", [](XmlBase& e) { e.newDocument(); }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.walk);
        QStringList journal;
        auto owner = Owner::create(&journal);
        auto child = Walked::create(QStringLiteral("child"), &journal);
        owner->addChild(child);
        owner->first->addChild(Walked::create(QStringLiteral("inner"), &journal));
        c.send(*owner);
        const QString w = QLatin1String(c.walk);
        const QStringList expected = c.reachesParts
            ? QStringList { "owner:" + w, "part1:" + w, "inner:" + w, "part2:" + w, "child:" + w }
            : QStringList { "owner:" + w, "child:" + w };
        EXPECT_EQ(journal, expected);
    }

    // The operation of callSelectorOnObject meets every element, parts first.
    QStringList journal;
    auto owner = Owner::create(&journal);
    owner->addChild(Walked::create(QStringLiteral("child"), &journal));
    QStringList met;
    owner->callSelectorOnObject([&](XmlBase& e) { met << e.name(); });
    EXPECT_EQ(met, (QStringList { "owner", "part1", "part2", "child" }));
}
