// The trash pane: emptying it deletes exactly the pictures of the trashed
// photos, a file that will not go stops it and is told, the Delete key takes
// one item for good, and pages come back by dragging them to the navigator.
#include "model/site/XmlGroup.h"
#include "support/ChildNames.h"
#include "support/ui/SitePanes.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

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
    const auto seven = numberedPhoto(*gone, 7);
    const auto kept = numberedPhoto(*album, 5);
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

    // A page dragged from the trash to the navigator's home page comes back.
    EXPECT_TRUE(dropElement(navOutline(), *page, rectOf(navOutline(), &home()).center()).accepted);
    EXPECT_EQ(page->parent(), &home());
    EXPECT_EQ(home().indexOfChild(page.get()), 0);
    EXPECT_EQ(childNames(trash()), QStringList { "Group" });
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
