// The trash pane: emptying it deletes exactly the pictures of the trashed
// photos, a file that will not go stops it and is told, the Delete key takes
// one item for good, and pages come back by dragging them to the navigator.
#include "ui/app/VersionList.h"
#include "document/RevertController.h"
#include "model/site/XmlGroup.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "support/ChildNames.h"
#include "support/OutsideTree.h"
#include "support/TestPictures.h"
#include "support/ui/SitePanes.h"
#include "support/ui/ViewMouse.h"

#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class QZTrashTest : public SitePanesTest {
protected:
    std::shared_ptr<XmlAlbum> newPage(XmlBase& parent, const QString& name)
    {
        auto page = XmlAlbum::create();
        parent.addChild(page);
        page->newDocument();
        page->setName(name);
        return page;
    }
    // A photo whose picture has the number.
    std::shared_ptr<XmlPhoto> numberedPhoto(XmlAlbum& page, int number)
    {
        site().setImageSeqNumber(number);
        const auto photo = addPhoto(page, QStringLiteral("photo") + QString::number(number), Qt::darkGreen);
        EXPECT_EQ(photo->imageSeqNumber(), number);
        return photo;
    }
    // Every file of the photo: its picture, its internal images, and the web
    // image and thumbnails a build made of it (written here).
    QStringList filesOf(XmlPhoto& photo)
    {
        const QString web = site().rootDir() + QStringLiteral("/homepage/pictures/");
        const QString n = QString::number(photo.imageSeqNumber());
        QDir().mkpath(web);
        const QStringList built { web + QStringLiteral("thumb") + n + QStringLiteral(".jpg"), web + QStringLiteral("thumb") + n + QStringLiteral(".png"),
            web + QStringLiteral("image") + n + QStringLiteral(".jpg") };
        for (const QString& path : built)
            writeAll(path, "built");
        photo.createInternalImages();
        return QStringList { photo.originalFilename(), photo.thumbnailFilename(), photo.fullSizeFilename(), photo.iconFilename() } + built;
    }
    static QStringList existing(const QStringList& paths)
    {
        QStringList there;
        for (const QString& path : paths) {
            if (QFileInfo::exists(path))
                there.append(path);
        }
        return there;
    }
    void pressDelete(XmlOutlineView& outline, XmlBase* element)
    {
        choose(outline, element);
        QTest::keyClick(&outline, Qt::Key_Delete);
    }
};

TEST_F(QZTrashTest, EmptyingDeletesThePicturesOfTheTrashedPhotosAndNothingElse)
{
    const auto gone = newPage(home(), QStringLiteral("Gone"));
    const auto four = numberedPhoto(*gone, 4);
    const auto kept = numberedPhoto(*album, 5);
    const auto seven = numberedPhoto(*gone, 7);
    const QStringList doomed = filesOf(*four) + filesOf(*seven);
    const QStringList keep = filesOf(*kept);
    ASSERT_EQ(existing(doomed), doomed);
    ASSERT_EQ(existing(keep), keep);
    window->updateNavEditor();
    pressDelete(navOutline(), gone.get());
    ASSERT_EQ(gone->parent(), &trash());

    // Only while the trash is the current object.
    window->setCurrentObject(album.get());
    trashPane().emptyTrash();
    EXPECT_EQ(trash().numberChildren(), 1);
    EXPECT_TRUE(modal.state->alerts.isEmpty());

    choose(navOutline(), &trash());
    ASSERT_EQ(window->lastEditView(), &trashPane());
    EXPECT_EQ(rowNames(*trashPane().outline()), QStringList { "Gone" });
    // The user is asked first, and may keep everything.
    modal.state->alertAnswer = 1;
    trashPane().emptyTrash();
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts.first().buttons, (QStringList { "Empty Trash", "Cancel" }));
    EXPECT_EQ(trash().numberChildren(), 1);
    EXPECT_EQ(existing(doomed), doomed);

    modal.state->alertAnswer = 0;
    trashPane().emptyTrash();
    EXPECT_EQ(trash().numberChildren(), 0);
    EXPECT_EQ(existing(doomed), QStringList());
    EXPECT_EQ(existing(keep), keep);
    EXPECT_EQ(trashPane().outline()->adaptor()->rowCount(), 0);
    EXPECT_EQ(modal.state->alerts.size(), 2) << "only the question, no failure";
}

TEST_F(QZTrashTest, EmptyingATrashHoldingAGroupDeletesThePicturesOfEveryPageInIt)
{
    auto group = XmlGroup::create();
    home().addChild(group);
    group->newDocument();
    const auto first = newPage(*group, QStringLiteral("First"));
    const auto second = newPage(*group, QStringLiteral("Second"));
    QStringList doomed;
    for (XmlAlbum* page : { first.get(), second.get() })
        for (const char* name : { "a", "b" })
            doomed += filesOf(*addPhoto(*page, page->name() + QString::fromLatin1(name), Qt::darkCyan));
    const QStringList keep = filesOf(*addPhoto(*album, QStringLiteral("kept"), Qt::darkRed));
    ASSERT_EQ(existing(doomed), doomed);
    window->updateNavEditor();
    pressDelete(navOutline(), group.get());
    ASSERT_EQ(group->parent(), &trash());

    choose(navOutline(), &trash());
    trashPane().emptyTrash();
    EXPECT_EQ(trash().numberChildren(), 0);
    EXPECT_EQ(existing(doomed), QStringList());
    EXPECT_EQ(existing(keep), keep);
}

// A picture goes with the last photo that uses it: a photo still in the
// site keeps it, and so does a snapshot, which a revert brings back whole.
TEST_F(QZTrashTest, EmptyingKeepsThePicturesThatTheSiteOrASnapshotStillUses)
{
    const auto saved = addPhoto(*album, QStringLiteral("saved"), Qt::darkGreen);
    const QDateTime at(QDate(2031, 5, 4), QTime(10, 20, 30));
    document.setNow([at] { return at; });
    ASSERT_TRUE(document.saveFileWithComment(document.fileName(), QStringLiteral("with the photo")));
    const QString snapshot = document.fileName() + QStringLiteral("/revert/") + MyDocument::snapshotName(at) + QStringLiteral(".qvzip");
    ASSERT_TRUE(QFileInfo::exists(snapshot));
    const QString savedPath = saved->originalFilename();
    const int savedNumber = saved->imageSeqNumber();
    const QByteArray savedPicture = readAll(savedPath);
    ASSERT_FALSE(savedPicture.isEmpty());

    // A photo copied to another page shares its picture with the original.
    const auto other = newPage(home(), QStringLiteral("Other"));
    const auto twin = addPhoto(*album, QStringLiteral("twin"), Qt::darkBlue);
    const auto copy = std::dynamic_pointer_cast<XmlPhoto>(twin->copyWithZone());
    ASSERT_NE(copy, nullptr);
    other->addChild(copy);
    ASSERT_EQ(copy->imageSeqNumber(), twin->imageSeqNumber());
    // A photo imported since the save: no one else has its picture.
    const auto fresh = addPhoto(*album, QStringLiteral("fresh"), Qt::darkMagenta);
    const QStringList freshFiles = filesOf(*fresh);
    window->updateNavEditor();
    for (XmlPhoto* photo : { saved.get(), twin.get(), fresh.get() }) {
        pressDelete(navOutline(), photo);
        ASSERT_EQ(photo->parent(), &trash()) << photo->name().toStdString();
    }

    choose(navOutline(), &trash());
    trashPane().emptyTrash();
    ASSERT_EQ(trash().numberChildren(), 0);
    EXPECT_EQ(existing(freshFiles), QStringList());
    EXPECT_TRUE(QFileInfo::exists(copy->originalFilename())) << "the copy still shows it";
    EXPECT_EQ(pictureSize(copy->originalFilename()), QSize(160, 120));
    EXPECT_EQ(readAll(savedPath), savedPicture) << "the snapshot still names it";

    // Versions > Revert to that save, the emptying not saved: the photo
    // comes back with its picture.
    VersionList* versions = window->versionList();
    window->setMainTab(QStringLiteral("Versions"));
    int row = 0;
    while (row < versions->controller().numberOfRows() && versions->controller().pathAtRow(row) != snapshot)
        ++row;
    ASSERT_LT(row, versions->controller().numberOfRows());
    QAbstractItemModel* rows = versions->table()->model();
    versions->table()->selectionModel()->select(rows->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    modal.state->alertAnswers = { 0 };
    versions->revertButton()->click();
    ASSERT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    XmlAlbum* holiday = nullptr;
    for (const auto& page : document.site()->homepage()->childrenOfType<XmlAlbum>())
        if (page->name() == QStringLiteral("Holiday"))
            holiday = page.get();
    ASSERT_NE(holiday, nullptr);
    const auto back = holiday->childrenOfType<XmlPhoto>();
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back.first()->imageSeqNumber(), savedNumber);
    EXPECT_EQ(readAll(back.first()->originalFilename()), savedPicture);
    EXPECT_EQ(pictureSize(back.first()->originalFilename()), QSize(160, 120));
}

TEST_F(QZTrashTest, AFileThatCannotBeDeletedStopsTheEmptyingAndIsTold)
{
    const auto first = newPage(trash(), QStringLiteral("First"));
    const auto second = newPage(trash(), QStringLiteral("Second"));
    const QStringList firstFiles = filesOf(*numberedPhoto(*first, 4));
    const auto stubborn = numberedPhoto(*second, 6);
    filesOf(*stubborn);
    // A folder where a thumbnail belongs, with something in it, cannot be
    // deleted as a file.
    const QString blocked = site().rootDir() + QStringLiteral("/homepage/pictures/thumb6.png");
    QFile::remove(blocked);
    ASSERT_TRUE(QDir().mkpath(blocked));
    writeAll(blocked + QStringLiteral("/inside"), "x");

    choose(navOutline(), &trash());
    trashPane().emptyTrash();
    EXPECT_EQ(childNames(trash()), QStringList { "Second" }) << "the item and those after it stay";
    EXPECT_EQ(existing(firstFiles), QStringList());
    ASSERT_EQ(modal.state->alerts.size(), 2);
    EXPECT_EQ(modal.state->alerts.last().title, QStringLiteral("The trash could not be emptied"));
    EXPECT_TRUE(modal.state->alerts.last().message.contains(blocked)) << modal.state->alerts.last().message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(stubborn->originalFilename())) << "the photo that stays keeps its picture";
}

TEST_F(QZTrashTest, ListsTitlesDeletesOneItemAndGivesPagesBack)
{
    const auto page = newPage(trash(), QStringLiteral("Page"));
    auto group = XmlGroup::create();
    trash().addChild(group);
    group->setName(QStringLiteral("Group"));
    const auto photo = numberedPhoto(*album, 9);
    const QStringList photoFiles = filesOf(*photo);
    photo->removeFromParentWithoutDeletingChildren();
    trash().addChild(photo);

    choose(navOutline(), &trash());
    XmlOutlineView& outline = *trashPane().outline();
    ItemModelAdaptor* model = outline.adaptor();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Title"));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("Some Photos"));
    EXPECT_EQ(model->index(1, 1).data().toString(), QString());
    EXPECT_EQ(model->index(2, 1).data().toString(), QString());
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);

    // The Delete key asks, then deletes the photo with its files.
    modal.state->alertAnswer = 1;
    pressDelete(outline, photo.get());
    EXPECT_EQ(photo->parent(), &trash());
    EXPECT_EQ(existing(photoFiles), photoFiles);
    modal.state->alertAnswer = 0;
    pressDelete(outline, photo.get());
    EXPECT_EQ(photo->parent(), nullptr);
    EXPECT_EQ(existing(photoFiles), QStringList());
    EXPECT_EQ(childNames(trash()), (QStringList { "Page", "Group" }));

    // A page dragged from the trash onto the navigator's home page comes
    // back after the pages there.
    EXPECT_TRUE(dropElement(navOutline(), *page, rectOf(navOutline(), &home()).center()).accepted);
    EXPECT_EQ(page->parent(), &home());
    EXPECT_EQ(childNames(home()), (QStringList { "Holiday", "Page" }));
    EXPECT_EQ(childNames(trash()), QStringList { "Group" });
}

// A page or photo dragged out of the trash pane to the navigator: the
// pane's list lets it go as it lands, before the drag has ended, and it
// lands where it is dropped: in the gap between two rows, or after what
// the row it is dropped onto holds.
TEST_F(QZTrashTest, ADragOutOfTheTrashLandsWhereItIsDroppedAndLeavesTheListAtOnce)
{
    const auto second = newPage(home(), QStringLiteral("Second"));
    const auto third = newPage(home(), QStringLiteral("Third"));
    QList<std::shared_ptr<XmlPhoto>> shown;
    for (const char* name : { "one", "two", "three" })
        shown.append(addPhoto(*album, QString::fromLatin1(name), Qt::darkGreen));
    addPhoto(*second, QStringLiteral("first"), Qt::darkBlue);
    addPhoto(*second, QStringLiteral("last"), Qt::darkRed);
    const auto page = newPage(trash(), QStringLiteral("Back"));
    const auto photo = addPhoto(*album, QStringLiteral("Lost"), Qt::darkCyan);
    photo->removeFromParentWithoutDeletingChildren();
    trash().addChild(photo);
    window->updateNavEditor();
    navOutline().expandObject(album.get());
    XmlOutlineView& list = *trashPane().outline();

    struct Case {
        const char* what;
        XmlBasePtr dragged;
        std::function<QPoint()> at;
        XmlBase* parent;
        int index;
    };
    const std::vector<Case> cases {
        { "a page into the gap between two pages", page, [&] { return gapAbove(navOutline(), second.get()); }, &home(), 1 },
        { "a page below the last page", page, [&] { return rectOf(navOutline(), third.get()).bottomLeft() + QPoint(30, -1); }, &home(), 3 },
        { "a page onto the home page", page, [&] { return rectOf(navOutline(), &home()).center(); }, &home(), 3 },
        { "a photo into the gap between two photos", photo, [&] { return gapAbove(navOutline(), shown[1].get()); }, album.get(), 1 },
        { "a photo onto another page", photo, [&] { return rectOf(navOutline(), second.get()).center(); }, second.get(), 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Back in the trash, the trash pane shown.
        c.dragged->removeFromParentWithoutDeletingChildren();
        trash().addChild(c.dragged);
        window->updateNavEditor();
        choose(navOutline(), &trash());
        ASSERT_EQ(window->lastEditView(), &trashPane());
        ASSERT_TRUE(rowNames(list).contains(c.dragged->name()));

        QStringList listedAtTheDrop;
        // What a row's drag offers: a move, or a copy to another document.
        modal.state->dropper = [&](QDrag* drag) {
            const DragAnswer answer = dragAndDrop(navOutline().viewport(), drag->mimeData(), c.at(), Qt::MoveAction | Qt::CopyAction);
            listedAtTheDrop = rowNames(list);
            return answer.action;
        };
        const QPoint from = rectOf(list, c.dragged.get()).center();
        drag(*list.viewport(), from, from + QPoint(0, 60));
        modal.state->dropper = nullptr;

        EXPECT_EQ(c.dragged->parent(), c.parent);
        EXPECT_EQ(c.parent->indexOfChild(c.dragged.get()), c.index);
        EXPECT_FALSE(listedAtTheDrop.contains(c.dragged->name())) << listedAtTheDrop.join(QLatin1Char(',')).toStdString();
        EXPECT_FALSE(rowNames(list).contains(c.dragged->name()));
    }
}

TEST_F(QZTrashTest, AfterARevertThePanesShowTheNewTrees)
{
    newPage(trash(), QStringLiteral("Kept"));
    ASSERT_TRUE(files().importFilename(sourcePicture(QStringLiteral("kept.jpg"), Qt::red)));
    // The new site made a snapshot of its own: this save's one is told by
    // its time.
    const QDateTime saved(QDate(2031, 5, 4), QTime(10, 20, 30));
    document.setNow([saved] { return saved; });
    ASSERT_TRUE(document.saveFileWithComment(document.fileName(), QStringLiteral("before")));
    const QString snapshot = document.fileName() + QStringLiteral("/revert/") + MyDocument::snapshotName(saved) + QStringLiteral(".qvzip");
    ASSERT_TRUE(QFileInfo::exists(snapshot));
    ASSERT_TRUE(document.revertFromFile(snapshot));

    EXPECT_EQ(trashPane().outline()->rootElement().get(), &trash());
    EXPECT_EQ(filesPane().outline()->rootElement().get(), &files());
    choose(navOutline(), &trash());
    EXPECT_EQ(rowNames(*trashPane().outline()), QStringList { "Kept" });
    choose(navOutline(), &files());
    EXPECT_EQ(rowNames(*filesPane().outline()), QStringList { "kept.jpg" });
}

} // namespace

// Emptying the trash never deletes through a link: a picture folder of the
// site that is a link to an outside folder holding files of the photo's
// names stops the emptying, which is told, and the trashed page stays; a
// link in a picture's own place goes, never what it points at.
TEST_F(QZTrashTest, EmptyingNeverDeletesThroughALink)
{
    const QString outsidePath = sources.filePath(QStringLiteral("outside"));
    QDir().mkpath(outsidePath);
    for (const char* name : { "thumb4.jpg", "thumb4.png", "image4.jpg" })
        writeAll(outsidePath + QLatin1Char('/') + QLatin1String(name), "outside");
    const OutsideTree outside(outsidePath);
    const QString root = site().rootDir();
    struct Case {
        const char* what;
        QString linked; // the site's entry made a link to the outside
        QString target; // what it points at
        bool emptied;
    };
    const std::vector<Case> cases {
        { "the built pictures a link", QStringLiteral("homepage/pictures"), outsidePath, false },
        { "the imported pictures a link", QStringLiteral("pictures"), outsidePath, false },
        { "a built picture a link", QStringLiteral("homepage/pictures/image4.jpg"), outside.filePath(QStringLiteral("image4.jpg")), true },
        { "an imported picture a link", QStringLiteral("pictures/image4.jpg"), outside.filePath(QStringLiteral("secret.txt")), true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto page = newPage(trash(), QStringLiteral("Doomed"));
        filesOf(*numberedPhoto(*page, 4));
        const QString linked = root + QLatin1Char('/') + c.linked;
        const QString aside = linked + QStringLiteral(".aside");
        ASSERT_TRUE(QFile::rename(linked, aside));
        ASSERT_TRUE(QFile::link(c.target, linked));
        const int alerts = modal.state->alerts.size();

        choose(navOutline(), &trash());
        trashPane().emptyTrash();
        EXPECT_TRUE(outside.isUnchanged());
        if (c.emptied) {
            EXPECT_EQ(trash().numberChildren(), 0);
            EXPECT_FALSE(QFileInfo(linked).isSymLink()) << "the link itself goes";
            EXPECT_EQ(modal.state->alerts.size(), alerts + 1) << "only the question";
        } else {
            EXPECT_EQ(childNames(trash()), QStringList { "Doomed" });
            ASSERT_EQ(modal.state->alerts.size(), alerts + 2);
            EXPECT_TRUE(modal.state->alerts.last().message.contains(QStringLiteral("link"))) << modal.state->alerts.last().message.toStdString();
            page->removeFromParent();
        }
        QFile::remove(linked);
        QDir(aside).removeRecursively();
        QFile::remove(aside);
        QDir().mkpath(QFileInfo(linked).path());
    }
}
