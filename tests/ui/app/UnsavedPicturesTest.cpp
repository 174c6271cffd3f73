// Closing a site with Don't Save drops the changes and the pictures that
// only they used: photos added with "Add Photos…" since the last save, and
// what an Empty Trash not saved left behind. The folder "pictures" then
// holds exactly the pictures of the site as saved and of its versions,
// each unchanged. A site made from the shipped starter, worked through its
// window's own panes.
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/QZTrash.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "model/site/XmlTrash.h"
#include "platform/FileHelpers.h"
#include "ui/widgets/MyButton.h"
#include "support/TestPictures.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ViewMouse.h"

#include <QFileInfo>
#include <QMap>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class UnsavedPicturesTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        show(album.get());
        ASSERT_TRUE(window->saveDocument());
    }
    QZAlbumEditor* editor() const { return pane<QZAlbumEditor>(EditorKind::Album); }
    // Photos added with "Add Photos…" from JPEGs of those names; the photos made.
    QList<std::shared_ptr<XmlPhoto>> addPhotos(const QStringList& names)
    {
        QStringList files;
        for (const QString& name : names)
            files.append(sourcePicture(name + QStringLiteral(".jpg"), QColor::fromHsv(static_cast<int>(qHash(name) % 360), 180, 200)));
        const int before = album->numberPhotos();
        modal.state->filesPanelAnswer = files;
        click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
        drainQueue();
        QList<std::shared_ptr<XmlPhoto>> made;
        for (int i = before; i < album->numberPhotos(); ++i)
            made.append(std::dynamic_pointer_cast<XmlPhoto>(album->photoObjects().value(i)));
        EXPECT_EQ(made.size(), names.size());
        return made;
    }
    // The photo's Delete key in the page's grid: it goes to the trash.
    void trash(const std::shared_ptr<XmlPhoto>& photo)
    {
        show(album.get());
        QZArraySelectView2* grid = editor()->arrayView();
        click(*grid, grid->rectOfObjectAtIndex(album->indexOfChild(photo.get())).center());
        QTest::keyClick(grid, Qt::Key_Delete);
        ASSERT_EQ(photo->parent(), document.site()->trash());
    }
    void emptyTheTrash()
    {
        show(document.site()->trash());
        modal.state->alertAnswers = { 0 };
        auto* button = pane<QZTrash>(EditorKind::Trash)->findChild<MyButton*>(QStringLiteral("emptyTrash"));
        ASSERT_NE(button, nullptr);
        click(*button, button->rect().center());
        ASSERT_EQ(document.site()->trash()->numberChildren(), 0);
    }
    // Closes the window, answering Don't Save.
    void closeWithoutSaving()
    {
        modal.state->alerts.clear();
        modal.state->alertAnswers = { 1 };
        ASSERT_TRUE(window->close());
        ASSERT_EQ(modal.state->alerts.size(), 1);
        EXPECT_EQ(modal.state->alerts[0].buttons, (QStringList { "Save", "Don't Save", "Cancel" }));
    }
    // The pictures of the folder with their bytes.
    QMap<QString, QByteArray> pictures() const
    {
        QMap<QString, QByteArray> found;
        const QString folder = document.fileName() + QStringLiteral("/pictures/");
        for (const QString& name : lq::folderEntries(folder))
            found.insert(name, readAll(folder + name));
        return found;
    }
    static QString pictureOf(const std::shared_ptr<XmlPhoto>& photo) { return QFileInfo(photo->originalFilename()).fileName(); }
};

TEST_F(UnsavedPicturesTest, DontSaveAfterAddPhotosLeavesOnlyThePicturesOfTheSavedSite)
{
    const auto saved = addPhotos({ QStringLiteral("Harbour"), QStringLiteral("Lighthouse") });
    ASSERT_TRUE(window->saveDocument());
    const QMap<QString, QByteArray> savedPictures = pictures();
    ASSERT_EQ(savedPictures.keys(), (QStringList { pictureOf(saved[0]), pictureOf(saved[1]) }));

    const auto unsaved = addPhotos({ QStringLiteral("Meadow"), QStringLiteral("Dunes") });
    ASSERT_EQ(pictures().size(), 4);
    closeWithoutSaving();
    EXPECT_EQ(pictures(), savedPictures);
}

TEST_F(UnsavedPicturesTest, DontSaveAfterEmptyTrashKeepsWhatTheSavedSiteNeedsAndNothingElse)
{
    const auto saved = addPhotos({ QStringLiteral("Harbour"), QStringLiteral("Lighthouse") });
    ASSERT_TRUE(window->saveDocument());
    const QMap<QString, QByteArray> savedPictures = pictures();
    const auto unsaved = addPhotos({ QStringLiteral("Meadow"), QStringLiteral("Dunes") });

    // A saved photo and an unsaved one emptied from the trash: only the
    // unsaved one's picture goes at once; the saved site still shows the other.
    trash(saved[0]);
    trash(unsaved[0]);
    const QString savedPath = saved[0]->originalFilename();
    const QString unsavedPath = unsaved[0]->originalFilename();
    emptyTheTrash();
    EXPECT_TRUE(QFileInfo::exists(savedPath));
    EXPECT_FALSE(QFileInfo::exists(unsavedPath));

    closeWithoutSaving();
    EXPECT_EQ(pictures(), savedPictures) << "the other unsaved photo's picture goes too";
}

} // namespace
