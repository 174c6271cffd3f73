// The site navigator in its window: the rows it shows and the current object
// it follows, new pages and groups, real JPEG files dropped on its rows,
// pages and photos moved and trashed, and the drops it refuses.
#include "model/site/XmlGroup.h"
#include "support/ChildNames.h"
#include "support/SiteInDocument.h"
#include "support/ui/SitePanes.h"

#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The site a user has right after making it: the starter's pages, with a
// page "Holiday" of the test's own before them.
class QZNavViewerTest : public SitePanesTest {
protected:
    QZNavViewerTest() { keepStarterPages = true; }

    // A new page of the kind, numbered and named as the site's pages are.
    template <class Page>
    std::shared_ptr<Page> newPage(XmlBase& parent)
    {
        auto page = Page::create();
        parent.addChild(page);
        page->newDocument();
        return page;
    }
};

TEST_F(QZNavViewerTest, ShowsTheSiteTreeAndFollowsTheCurrentObject)
{
    const auto photo = addPhoto(*album, QStringLiteral("A"), Qt::red);
    trash().addChild(XmlAlbum::create());
    window->updateNavEditor();

    EXPECT_EQ(rowNames(navOutline()), (QStringList { home().name(), files().name(), trash().name() }));
    EXPECT_TRUE(navOutline().isExpanded(rowOf(navOutline(), &home())));
    EXPECT_EQ(navigator().getSelectedObject().get(), &home());
    EXPECT_EQ(window->currentType(), 0);
    // What the trash and the files hold is their panes' to show.
    ItemModelAdaptor* rows = navOutline().adaptor();
    EXPECT_FALSE(rows->hasChildren(rowOf(navOutline(), &trash())));
    EXPECT_FALSE(rows->hasChildren(rowOf(navOutline(), &files())));
    EXPECT_TRUE(rows->hasChildren(rowOf(navOutline(), album.get()))) << "an album page shows its photos";

    // Choosing a row makes its element current: its pane is loaded once.
    const int albumLoads = loads(EditorKind::Album);
    choose(navOutline(), album.get());
    EXPECT_EQ(window->currentType(), 1);
    EXPECT_EQ(window->currentAlbum(), album.get());
    EXPECT_EQ(loads(EditorKind::Album), albumLoads + 1);

    // The window's own change of current object is only shown: the photo's
    // pane is loaded once, not again through the navigator's selection.
    const int photoLoads = loads(EditorKind::ImageWell);
    window->setCurrentObject(photo.get());
    EXPECT_EQ(navigator().getSelectedObject(), photo);
    EXPECT_TRUE(navOutline().isExpanded(rowOf(navOutline(), album.get())));
    EXPECT_EQ(loads(EditorKind::ImageWell), photoLoads + 1);
    EXPECT_EQ(window->currentType(), 3);

    // The trash and the files bring up their panes.
    choose(navOutline(), &trash());
    EXPECT_EQ(window->currentType(), 4);
    EXPECT_EQ(window->lastEditView(), &trashPane());
    choose(navOutline(), &files());
    EXPECT_EQ(window->currentType(), 6);
    EXPECT_EQ(window->lastEditView(), &filesPane());
}

TEST_F(QZNavViewerTest, AddsPagesAndGroupsWhereTheSelectionSays)
{
    const auto group = newPage<XmlGroup>(home());
    const auto inner = newPage<XmlAlbum>(*group);
    const auto photo = addPhoto(*album, QStringLiteral("P"), Qt::red);
    window->updateNavEditor();

    // With the trash chosen, new pages go into the home page, numbered in turn.
    choose(navOutline(), &trash());
    const int before = home().numberChildren();
    for (int i = 0; i < 3; ++i)
        navigator().addAlbum();
    ASSERT_EQ(home().numberChildren(), before + 3);
    const int first = XmlAlbum::cast(home().childAtIndex(before).get())->pageSeqNumber();
    for (int i = 0; i < 3; ++i) {
        auto* page = XmlAlbum::cast(home().childAtIndex(before + i).get());
        ASSERT_TRUE(page && !XmlGroup::cast(page));
        const QString number = QString::number(first + i);
        EXPECT_EQ(page->name(), QStringLiteral("Page ") + number);
        EXPECT_EQ(page->fileName(), QStringLiteral("page") + number + QStringLiteral(".html"));
        EXPECT_TRUE(rowOf(navOutline(), page).isValid()) << "shown at once";
    }
    EXPECT_EQ(trash().numberChildren(), 0);
    EXPECT_EQ(window->currentType(), 4) << "a new page is not chosen";

    struct Case {
        const char* what;
        XmlBase* selected;
        bool group;
        XmlBase* receiver;
    };
    const std::vector<Case> cases {
        { "a page with a photo chosen: beside the photo's page", photo.get(), false, &home() },
        { "a page with a page of a group chosen: into that group", inner.get(), false, group.get() },
        { "a page with a group chosen: into the group", group.get(), false, group.get() },
        { "a page with the files chosen: into the home page", &files(), false, &home() },
        { "a group with a group chosen: into the home page", group.get(), true, &home() },
        { "a group with a page of a group chosen: into the home page", inner.get(), true, &home() },
        { "a group with a photo chosen: into the home page", photo.get(), true, &home() },
    };
    for (const Case& c : cases) {
        choose(navOutline(), c.selected);
        const int count = c.receiver->numberChildren();
        c.group ? navigator().addGroup() : navigator().addAlbum();
        ASSERT_EQ(c.receiver->numberChildren(), count + 1) << c.what;
        auto* made = XmlAlbum::cast(c.receiver->lastChild().get());
        ASSERT_NE(made, nullptr) << c.what;
        EXPECT_EQ(XmlGroup::cast(made) != nullptr, c.group) << c.what;
        const QString number = QString::number(made->pageSeqNumber());
        EXPECT_EQ(made->name(), (c.group ? QStringLiteral("Group ") : QStringLiteral("Page ")) + number) << c.what;
        EXPECT_EQ(made->fileName(), QStringLiteral("page") + number + QStringLiteral(".html")) << c.what;
    }

    // Nothing chosen: nothing added.
    navOutline().selectionModel()->clearSelection();
    const QString tree = home().createXml();
    navigator().addAlbum();
    navigator().addGroup();
    EXPECT_EQ(home().createXml(), tree);
}

TEST_F(QZNavViewerTest, PicturesDroppedOnAPageComeFirstInTheirOrder)
{
    addPhoto(*album, QStringLiteral("X"), Qt::gray);
    window->updateNavEditor();
    const QStringList pictures { sourcePicture(QStringLiteral("A.jpg"), Qt::red), sourcePicture(QStringLiteral("B.jpg"), Qt::green),
        sourcePicture(QStringLiteral("C.jpg"), Qt::blue) };
    const DragAnswer answer = dropFiles(navOutline(), pictures, rectOf(navOutline(), album.get()).center());
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction);
    EXPECT_EQ(window->currentAlbum(), album.get()) << "the page is chosen";
    drainQueue();
    EXPECT_EQ(album->photoCaptions(), (QStringList { "<p>A</p>", "<p>B</p>", "<p>C</p>", "<p>X</p>" }));
    for (const auto& photo : album->childrenOfType<XmlPhoto>())
        EXPECT_TRUE(QFileInfo::exists(photo->originalFilename())) << photo->originalFilename().toStdString();
    EXPECT_TRUE(document.activityText().contains(QStringLiteral("Importing Photos..."))) << document.activityText().toStdString();
    EXPECT_EQ(rowNames(navOutline(), rowOf(navOutline(), album.get())), (QStringList { "A", "B", "C", "X" }));
}

TEST_F(QZNavViewerTest, PicturesDroppedBetweenTheTopRowsMakeANewPage)
{
    const QStringList pictures { sourcePicture(QStringLiteral("A.jpg"), Qt::red), sourcePicture(QStringLiteral("B.jpg"), Qt::green) };
    const int pages = home().numberChildren();
    const QString before = home().createXml();

    // Not on the home page's row, nor on a group's.
    const auto group = newPage<XmlGroup>(home());
    window->updateNavEditor();
    EXPECT_FALSE(dropFiles(navOutline(), pictures, rectOf(navOutline(), &home()).center()).accepted);
    EXPECT_FALSE(dropFiles(navOutline(), pictures, rectOf(navOutline(), group.get()).center()).accepted);
    EXPECT_EQ(home().numberChildren(), pages + 1);

    EXPECT_TRUE(dropFiles(navOutline(), pictures, gapAbove(navOutline(), &trash())).accepted);
    ASSERT_EQ(home().numberChildren(), pages + 2);
    auto* made = XmlAlbum::cast(home().lastChild().get());
    ASSERT_TRUE(made && !XmlGroup::cast(made));
    EXPECT_EQ(made->name(), QStringLiteral("Page ") + QString::number(made->pageSeqNumber()));
    EXPECT_EQ(window->currentAlbum(), made);
    drainQueue();
    EXPECT_EQ(made->photoCaptions(), (QStringList { "<p>A</p>", "<p>B</p>" }));
    EXPECT_EQ(album->numberChildren(), 0);
}

TEST_F(QZNavViewerTest, FilesDroppedOnTheFilesRowAreCopiedIntoTheSite)
{
    const QString picture = sourcePicture(QStringLiteral("A.jpg"), Qt::red);
    const QString notes = sources.filePath(QStringLiteral("notes.txt"));
    writeAll(notes, "plain text");
    const int pages = home().numberChildren();

    EXPECT_TRUE(dropFiles(navOutline(), { picture, notes }, rectOf(navOutline(), &files()).center()).accepted);
    EXPECT_EQ(readAll(files().fullname() + QStringLiteral("/A.jpg")), readAll(picture));
    EXPECT_EQ(readAll(files().fullname() + QStringLiteral("/notes.txt")), QByteArray("plain text"));
    EXPECT_EQ(childNames(files()), (QStringList { "A.jpg", "notes.txt" }));
    EXPECT_TRUE(QFileInfo::exists(picture)) << "copied, not moved";
    EXPECT_TRUE(document.queue().isIdle()) << "no import";
    EXPECT_EQ(home().numberChildren(), pages) << "no new page";
    EXPECT_EQ(album->numberChildren(), 0);
}

TEST_F(QZNavViewerTest, PagesAndPhotosMoveAndGoToTheTrash)
{
    const auto other = newPage<XmlAlbum>(home());
    const auto group = newPage<XmlGroup>(home());
    const auto photo = addPhoto(*album, QStringLiteral("A"), Qt::red);
    addPhoto(*album, QStringLiteral("B"), Qt::green);
    window->updateNavEditor();
    navOutline().expandObject(album.get());

    EXPECT_TRUE(dropElement(navOutline(), *photo, rectOf(navOutline(), other.get()).center()).accepted);
    EXPECT_EQ(photo->parent(), other.get());
    EXPECT_TRUE(dropElement(navOutline(), *other, rectOf(navOutline(), group.get()).center()).accepted);
    EXPECT_EQ(other->parent(), group.get());
    // Nothing goes where it cannot be.
    const QString tree = home().createXml();
    EXPECT_FALSE(dropElement(navOutline(), *group, rectOf(navOutline(), album.get()).center()).accepted) << "a group on a page";
    EXPECT_FALSE(dropElement(navOutline(), *album, gapAbove(navOutline(), &trash())).accepted) << "a page beside the home page";
    EXPECT_FALSE(dropElement(navOutline(), *album, rectOf(navOutline(), &files()).center()).accepted) << "a page on the files";
    EXPECT_EQ(home().createXml(), tree);

    // A page dropped on the trash goes there whole; the row after it is chosen.
    choose(navOutline(), album.get());
    const XmlBasePtr next = navOutline().objectAfterDeletion(album.get());
    EXPECT_TRUE(dropElement(navOutline(), *album, rectOf(navOutline(), &trash()).center()).accepted);
    EXPECT_EQ(album->parent(), &trash());
    EXPECT_EQ(childNames(*album), QStringList { "B" });
    EXPECT_EQ(navigator().getSelectedObject(), next);
    EXPECT_EQ(window->currentObject(), next);

    // The Delete key sends the chosen page there too.
    choose(navOutline(), group.get());
    QTest::keyClick(&navOutline(), Qt::Key_Delete);
    EXPECT_EQ(group->parent(), &trash());
    EXPECT_EQ(childNames(*group), QStringList { other->name() });

    // The home page, the files and the trash stay, and cannot be dragged.
    for (XmlBase* fixed : { static_cast<XmlBase*>(&home()), static_cast<XmlBase*>(&files()), static_cast<XmlBase*>(&trash()) }) {
        choose(navOutline(), fixed);
        QTest::keyClick(&navOutline(), Qt::Key_Delete);
        EXPECT_EQ(fixed->parent(), &site()) << fixed->name().toStdString();
        EXPECT_FALSE(navOutline().dragIdentifiersForItems({ fixed }).has_value()) << fixed->name().toStdString();
    }
    EXPECT_TRUE(navOutline().dragIdentifiersForItems({ photo.get() }).has_value());
}

TEST_F(QZNavViewerTest, PicturesDroppedBetweenTwoPhotosComeInThere)
{
    for (const char* name : { "P0", "P1", "P2" })
        addPhoto(*album, QString::fromLatin1(name), Qt::gray);
    window->updateNavEditor();
    navOutline().expandObject(album.get());
    const QStringList pictures { sourcePicture(QStringLiteral("A.jpg"), Qt::red), sourcePicture(QStringLiteral("B.jpg"), Qt::green),
        sourcePicture(QStringLiteral("C.jpg"), Qt::blue) };
    // Between the second and the third photo: child index 2.
    EXPECT_TRUE(dropFiles(navOutline(), pictures, gapAbove(navOutline(), album->childAtIndex(2).get())).accepted);
    drainQueue();
    EXPECT_EQ(album->photoCaptions(), (QStringList { "<p>P0</p>", "<p>P1</p>", "<p>A</p>", "<p>B</p>", "<p>C</p>", "<p>P2</p>" }));
}

TEST_F(QZNavViewerTest, APageMovesWithinItsParentToTheGapItIsDroppedIn)
{
    ASSERT_GE(home().numberChildren(), 4) << "the starter's pages follow the test's own";
    window->updateNavEditor();
    struct Case {
        const char* what;
        int from;
        int dropIndex;
        int landsAt;
    };
    const Case cases[] {
        { "down, from 1 to the gap at 3", 1, 3, 2 },
        { "up, from 3 to the gap at 1", 3, 1, 1 },
    };
    for (const Case& c : cases) {
        const XmlBasePtr page = home().childAtIndex(c.from);
        const XmlBasePtr atGap = home().childAtIndex(c.dropIndex);
        QStringList expected = childNames(home());
        expected.move(c.from, c.landsAt);
        EXPECT_TRUE(dropElement(navOutline(), *page, gapAbove(navOutline(), atGap.get())).accepted) << c.what;
        EXPECT_EQ(home().indexOfChild(page.get()), c.landsAt) << c.what;
        EXPECT_EQ(childNames(home()), expected) << c.what;
        window->updateNavEditor();
    }
}

TEST_F(QZNavViewerTest, ElementsAreRefusedWherePagesAndPhotosCannotBe)
{
    const auto group = newPage<XmlGroup>(home());
    const auto other = newPage<XmlGroup>(home());
    const auto inner = newPage<XmlAlbum>(*group);
    const auto photo = addPhoto(*album, QStringLiteral("A"), Qt::red);
    window->updateNavEditor();
    navOutline().expandObject(album.get());
    navOutline().expandObject(group.get());

    struct Case {
        const char* what;
        XmlBase* dragged;
        XmlBase* target;
    };
    const Case cases[] {
        { "a group on a group", other.get(), group.get() },
        { "a group on a page in a group", other.get(), inner.get() },
        { "a photo on a group", photo.get(), group.get() },
        { "a photo on the home page", photo.get(), &home() },
        { "a page on a page", inner.get(), album.get() },
    };
    const QString tree = site().createXml();
    for (const Case& c : cases) {
        EXPECT_FALSE(dropElement(navOutline(), *c.dragged, rectOf(navOutline(), c.target).center()).accepted) << c.what;
        EXPECT_EQ(site().createXml(), tree) << c.what;
    }
    EXPECT_EQ(photo->parent(), album.get());
    EXPECT_EQ(other->parent(), &home());
}

TEST_F(QZNavViewerTest, TheDeleteKeyOnANewSiteSendsPagesAndPhotosToItsTrash)
{
    // The starter's own pages, and a photo, as a new user deletes them.
    const auto photo = addPhoto(*album, QStringLiteral("A"), Qt::red);
    const QString picture = photo->originalFilename();
    XmlBasePtr about;
    for (const XmlBasePtr& page : home().children())
        if (page->name() == QStringLiteral("About"))
            about = page;
    ASSERT_NE(about, nullptr);
    window->updateNavEditor();
    navOutline().expandObject(album.get());
    document.clearChangeCount();
    for (XmlBase* doomed : { static_cast<XmlBase*>(photo.get()), about.get() }) {
        choose(navOutline(), doomed);
        QTest::keyClick(&navOutline(), Qt::Key_Delete);
        EXPECT_EQ(doomed->parent(), &trash()) << doomed->name().toStdString();
    }
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_TRUE(modal.state->alerts.isEmpty()) << "the trash gives them back: no question";
    EXPECT_TRUE(QFileInfo::exists(picture));

    // Saved and opened again, they are still in the trash.
    ASSERT_TRUE(document.saveFileWithComment(document.fileName(), QStringLiteral("deleted two")));
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(document.fileName())) << reopened.lastError().toStdString();
    EXPECT_EQ(childNames(*reopened.site()->trash()), (QStringList { "A", "About" }));
}

TEST_F(QZNavViewerTest, PagesOfAnotherOpenSiteAreRefused)
{
    SiteInDocument other;
    auto stranger = XmlAlbum::create();
    other.site->homepage()->addChild(stranger);
    const QString tree = home().createXml();
    for (const QPoint at : { rectOf(navOutline(), &home()).center(), rectOf(navOutline(), &trash()).center(), gapAbove(navOutline(), album.get()) })
        EXPECT_FALSE(dropElement(navOutline(), *stranger, at).accepted);
    EXPECT_EQ(stranger->parent(), other.site->homepage());
    EXPECT_EQ(home().createXml(), tree);
    EXPECT_EQ(trash().numberChildren(), 0);
}

} // namespace
