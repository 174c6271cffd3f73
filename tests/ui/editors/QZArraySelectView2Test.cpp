// The photo grid: geometry, selection and actions, drags out of it (the
// drag runs through the scripted modal handler, which plays the user's part
// by sending the drag to the grids' own drop handlers), drops of photos and
// of real JPEG files into it, and the Delete key.
#include "ui/editors/QZArraySelectView2.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/site/XmlTrash.h"
#include "pipeline/XmlImportPhoto.h"
#include "pipeline/XmlProcessor.h"
#include "support/ChildNames.h"
#include "support/SiteInDocument.h"
#include "support/ui/DropEvents.h"
#include "support/ui/RecordingEditorPanel.h"
#include "support/ui/GridPictures.h"
#include "support/ui/SiteWindow.h"

#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(QZArraySelectView2Geometry, ItemsHitsAndGaps)
{
    QWidget superview;
    superview.resize(400, 600);
    auto* grid = new QZArraySelectView2(&superview);
    EXPECT_EQ(grid->itemSize(), QSizeF(160, 120));
    grid->setItemSize(QSizeF(120, 90));
    EXPECT_EQ(grid->numColumns(), 2);
    EXPECT_EQ(grid->rectOfObjectAtIndex(1), QRectF(160, 10, 120, 90));
    EXPECT_EQ(grid->rectOfObjectAtIndex(2), QRectF(20, 140, 120, 90));
    EXPECT_EQ(grid->captionRectOfObjectAtIndex(2), QRectF(20, 240, 120, 20));
}

// An album page with photos A, B, C (red, green, blue), shown in a photo
// grid of two columns with drag and drop on, as the album editor sets it up.
class QZArraySelectView2Test : public SiteWindowTest {
protected:
    void SetUp() override
    {
        SiteWindowTest::SetUp();
        for (const auto& [name, colour] : { std::pair { "A", Qt::red }, std::pair { "B", Qt::green }, std::pair { "C", Qt::blue } })
            photos.append(addPhoto(*album, QString::fromLatin1(name), colour));
        superview.resize(400, 600);
        grid = new QZArraySelectView2(&superview);
        grid->setItemSize(QSizeF(120, 90));
        grid->setVerdaneDocument(window.get());
        grid->setXmlBase(album->UUID());
        grid->setDragDropEnabled(true);
        grid->setTargetAction([this](QZArraySelectView2* sender) { doubleClicks.append(sender->firstSelectedItem()); });
        grid->setClick([this](QZArraySelectView2* sender) { clicks.append(sender->firstSelectedItem()); });
        superview.show();
        grid->fitMe();
    }
    QPoint centreOf(int position) const { return grid->rectOfObjectAtIndex(position).center().toPoint(); }
    // Presses at the point, moves by the offset and lets go.
    void pressMoveRelease(QPoint at, QPoint offset)
    {
        QTest::mousePress(grid, Qt::LeftButton, {}, at);
        QTest::mouseMove(grid, at + offset);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, at + offset);
    }
    // Drags over the grid to the point and shows the gap there (the drawing
    // the user sees), then drops.
    DragAnswer dropAt(QWidget* target, const QMimeData* data, QPoint at, Qt::DropActions actions)
    {
        sendDragEnter(target, data, at, actions);
        sendDragMove(target, data, at, actions);
        target->grab();
        return sendDrop(target, data, at, actions);
    }
    RecordingEditorPanel* navigator() const { return RecordingEditorPanel::of(*window, EditorKind::Navigator); }

    // The window made in SetUp records what its panels are asked.
    ScopedRecordingPanels recordingPanels;
    QWidget superview;
    QZArraySelectView2* grid = nullptr;
    QList<std::shared_ptr<XmlPhoto>> photos;
    QList<int> clicks;
    QList<int> doubleClicks;
};

TEST_F(QZArraySelectView2Test, HitsAndGapsFollowThePointer)
{
    struct Case {
        const char* what;
        QPointF at;
        int index;
        int gap;
    };
    const std::vector<Case> cases {
        { "an item", centreOf(1), 1, 1 },
        { "the margin left of an item", QPointF(145, 50), 1, 1 },
        { "right of the last column", QPointF(390, 50), 1, 2 },
        { "the empty cell of the last row", centreOf(3), 3, 3 },
        { "below every row", QPointF(50, 580), 8, 3 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid->indexOfObjectAtPoint(c.at), c.index) << c.what;
        EXPECT_EQ(grid->dropIndexAtPoint(c.at), c.gap) << c.what;
    }
}

TEST_F(QZArraySelectView2Test, ClicksSelectAndTellTheTarget)
{
    QTest::mouseClick(grid, Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(grid->selectedIndexes(), QList<int> { 1 });
    // A click on the selected photo keeps the selection and tells again.
    grid->selectIndexClearAll(2, false);
    QTest::mouseClick(grid, Qt::LeftButton, {}, centreOf(2));
    EXPECT_EQ(grid->selectedIndexes(), (QList<int> { 1, 2 }));
    EXPECT_EQ(clicks, (QList<int> { 1, 1 }));
    // Below the last row: an index past the last photo, none drawn blue.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(50, 580));
    EXPECT_EQ(grid->firstSelectedItem(), 8);
    const QImage shot = gridPicture(*grid);
    EXPECT_EQ(countPixels(shot, shot.rect(), [](QColor c) { return near(c, Qt::blue, 30) && c.red() < 30; }),
        countPixels(shot, grid->rectOfObjectAtIndex(2).toRect(), [](QColor c) { return near(c, Qt::blue, 30) && c.red() < 30; }))
        << "only photo C itself is blue";
    QTest::mouseDClick(grid, Qt::LeftButton, {}, centreOf(0));
    EXPECT_EQ(doubleClicks, QList<int> { 0 });
    grid->clearSelection();
    EXPECT_EQ(grid->firstSelectedItem(), QZArraySelectView2::NotFound);
}

TEST_F(QZArraySelectView2Test, DrawsThePhotosAndTheGap)
{
    grid->selectIndexClearAll(0, true);
    const QImage shot = gridPicture(*grid, QStringLiteral("photo-grid.png"));
    EXPECT_TRUE(near(QColor(shot.pixel(centreOf(0))), Qt::red, 40));
    EXPECT_TRUE(near(QColor(shot.pixel(centreOf(2))), Qt::blue, 40));
    EXPECT_TRUE(near(QColor(shot.pixel(centreOf(0).x(), grid->rectOfObjectAtIndex(0).top() - 4)), Qt::blue, 30)) << "selected frame";
    EXPECT_EQ(QColor(shot.pixel(centreOf(1).x(), grid->rectOfObjectAtIndex(1).top() - 4)), QColor(Qt::white));
    EXPECT_GT(countPixels(shot, grid->captionRectOfObjectAtIndex(1).toRect(), isDark), 5);

    // A file dragged over the gap before B: B and C move one cell on.
    const std::unique_ptr<QMimeData> data = fileManagerData({ sourcePicture(QStringLiteral("new.jpg"), Qt::yellow) });
    sendDragEnter(grid, data.get(), centreOf(1), Qt::CopyAction);
    EXPECT_TRUE(sendDragMove(grid, data.get(), centreOf(1), Qt::CopyAction).accepted);
    EXPECT_EQ(grid->newDropIndex(), 1);
    const QImage gap = gridPicture(*grid, QStringLiteral("photo-grid-gap.png"));
    EXPECT_EQ(grid->currentDropIndex(), 1);
    EXPECT_EQ(countPixels(gap, grid->rectOfObjectAtIndex(1).toRect(), [](QColor c) { return c != QColor(Qt::white); }), 0);
    EXPECT_TRUE(near(QColor(gap.pixel(centreOf(2))), Qt::green, 40));
    EXPECT_TRUE(near(QColor(gap.pixel(centreOf(3))), Qt::blue, 40));
    sendDragLeave(grid);
    EXPECT_EQ(grid->newDropIndex(), -1);
    gridPicture(*grid);
    EXPECT_EQ(grid->currentDropIndex(), -1);
}

TEST_F(QZArraySelectView2Test, AnEmptyAlbumAsksForPhotos)
{
    auto empty = XmlAlbum::create();
    document.site()->homepage()->addChild(empty);
    grid->setXmlBase(empty->UUID());
    const QImage shot = gridPicture(*grid, QStringLiteral("photo-grid-empty.png"));
    const auto notWhite = [](QColor c) { return c != QColor(Qt::white); };
    EXPECT_GT(countPixels(shot, QRect(10, 10, 200, 16), isDark), 50) << "\"Drag and Drop Photos here\" at (10, 10)";
    EXPECT_EQ(countPixels(shot, QRect(0, 0, 10, 60), notWhite), 0);
    EXPECT_EQ(countPixels(shot, QRect(0, 0, shot.width(), 9), notWhite), 0);
    EXPECT_EQ(countPixels(shot, QRect(0, 40, shot.width(), shot.height() - 40), notWhite), 0);

    // Any other element without children shows nothing at all.
    auto list = XmlStandAloneFiles::create();
    grid->setXmlBase(list->UUID());
    const QImage blank = gridPicture(*grid);
    EXPECT_EQ(countPixels(blank, blank.rect(), notWhite), 0);
}

TEST_F(QZArraySelectView2Test, DroppedFilesAreImportedAtTheGapInFileOrder)
{
    const QStringList files { sourcePicture(QStringLiteral("x.jpg"), Qt::cyan), sourcePicture(QStringLiteral("y.jpg"), Qt::magenta),
        sourcePicture(QStringLiteral("z.jpg"), Qt::yellow) };
    grid->selectIndexClearAll(0, true);
    const std::unique_ptr<QMimeData> data = fileManagerData(files);
    const DragAnswer answer = dropAt(grid, data.get(), centreOf(2), Qt::CopyAction | Qt::MoveAction);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction);

    // One script of three import steps, all at index 2, the last file first.
    ASSERT_EQ(document.queue().processors().size(), 1);
    const std::shared_ptr<XmlProcessor> script = document.queue().processors().first();
    EXPECT_EQ(script->statusMessage(), QStringLiteral("Importing Photos..."));
    ASSERT_EQ(script->numberChildren(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto* step = XmlImportPhoto::cast(script->childAtIndex(i).get());
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(step->index(), 2);
        EXPECT_EQ(step->album(), album->UUID());
        EXPECT_EQ(step->filename(), files[2 - i]);
    }
    // The selection went, and the target heard of it.
    EXPECT_EQ(grid->firstSelectedItem(), QZArraySelectView2::NotFound);
    EXPECT_EQ(clicks.last(), QZArraySelectView2::NotFound);

    drainQueue();
    EXPECT_EQ(childNames(*album), (QStringList { "A", "B", "x", "y", "z", "C" }));
}

TEST_F(QZArraySelectView2Test, FilesWithoutAShownGapGoToTheEnd)
{
    struct Case {
        const char* what;
        bool drawGap;
        QPoint at;
    };
    const std::vector<Case> cases {
        { "no gap drawn yet", false, QPoint(50, 50) },
        { "below every row", true, QPoint(50, 580) },
    };
    int round = 0;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("late") + QString::number(round++);
        const std::unique_ptr<QMimeData> data = fileManagerData({ sourcePicture(name + QStringLiteral(".jpg"), Qt::gray) });
        sendDragEnter(grid, data.get(), c.at, Qt::CopyAction);
        sendDragMove(grid, data.get(), c.at, Qt::CopyAction);
        if (c.drawGap)
            grid->grab();
        EXPECT_TRUE(sendDrop(grid, data.get(), c.at, Qt::CopyAction).accepted) << c.what;
        drainQueue();
        EXPECT_EQ(album->childAtIndex(album->numberChildren() - 1)->name(), name) << c.what;
        gridPicture(*grid);
    }
}

TEST_F(QZArraySelectView2Test, APressMovedMoreThanTenPixelsDrags)
{
    // Exactly 10: a click, no drag.
    pressMoveRelease(centreOf(1), QPoint(6, 8));
    EXPECT_TRUE(modal.state->dragTexts.isEmpty());
    EXPECT_EQ(grid->selectedIndexes(), QList<int> { 1 });

    // 11: a drag of photo B, let go where nothing takes it. While it lasts
    // the grid shows itself without B; B never leaves its page.
    int shownDuringDrag = -1;
    modal.state->dropper = [&](QDrag*) {
        shownDuringDrag = grid->numObjects();
        EXPECT_EQ(album->indexOfChild(photos[1].get()), 1);
        return Qt::IgnoreAction;
    };
    const int reloads = navigator()->calls().count(QStringLiteral("reloadData"));
    pressMoveRelease(centreOf(1), QPoint(11, 0));
    EXPECT_EQ(modal.state->dragTexts, QStringList { photos[1]->UUID() });
    EXPECT_EQ(shownDuringDrag, 2);
    EXPECT_EQ(childNames(*album), (QStringList { "A", "B", "C" }));
    EXPECT_EQ(grid->numObjects(), 3);
    EXPECT_EQ(grid->newDropIndex(), -1);
    EXPECT_EQ(navigator()->calls().count(QStringLiteral("reloadData")), reloads + 1) << "the navigator is brought up to date";
    // The drag took the selection away and said so.
    EXPECT_EQ(grid->firstSelectedItem(), QZArraySelectView2::NotFound);
    EXPECT_EQ(clicks.last(), QZArraySelectView2::NotFound);

    // With drag and drop off, a press never drags.
    grid->setDragDropEnabled(false);
    pressMoveRelease(centreOf(0), QPoint(40, 40));
    EXPECT_EQ(modal.state->dragTexts.size(), 1);
}

TEST_F(QZArraySelectView2Test, DraggingAPhotoWithinTheGridMovesAndSelectsIt)
{
    auto d = addPhoto(*album, QStringLiteral("D"), Qt::darkYellow);
    grid->fitMe();
    // B goes to the gap before D in the grid the user sees (A, C, D).
    modal.state->dropper = [&](QDrag* drag) {
        const DragAnswer answer = dropAt(grid, drag->mimeData(), centreOf(2), Qt::MoveAction);
        EXPECT_EQ(answer.action, Qt::MoveAction) << "an accepted drop is a move";
        return answer.action;
    };
    pressMoveRelease(centreOf(1), QPoint(0, 20));
    EXPECT_EQ(childNames(*album), (QStringList { "A", "C", "B", "D" }));
    EXPECT_EQ(grid->selectedIndexes(), QList<int> { 2 });
    EXPECT_EQ(photos[1]->parent(), album.get());
}

TEST_F(QZArraySelectView2Test, PhotosFromElsewhereMoveWithoutTwoParents)
{
    // From another page of the same site: it leaves that page.
    auto other = XmlAlbum::create();
    document.site()->homepage()->addChild(other);
    auto stray = addPhoto(*other, QStringLiteral("S"), Qt::darkGreen);
    std::unique_ptr<QMimeData> data = dragTextData(stray->UUID());
    const DragAnswer answer = dropAt(grid, data.get(), centreOf(1), Qt::MoveAction);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::MoveAction);
    EXPECT_EQ(childNames(*album), (QStringList { "A", "S", "B", "C" }));
    EXPECT_EQ(other->numberChildren(), 0);
    EXPECT_EQ(stray->parent(), album.get());

    // From another site: refused, both sites unchanged.
    SiteInDocument elsewhere;
    auto foreignPage = XmlAlbum::create();
    elsewhere.site->homepage()->addChild(foreignPage);
    auto foreign = XmlPhoto::create();
    foreignPage->addChild(foreign);
    data = dragTextData(foreign->UUID());
    EXPECT_FALSE(dropAt(grid, data.get(), centreOf(1), Qt::MoveAction | Qt::CopyAction).accepted);
    EXPECT_EQ(foreign->parent(), foreignPage.get());
    EXPECT_EQ(album->numberChildren(), 4);

    // A page is no photo.
    data = dragTextData(other->UUID());
    EXPECT_FALSE(dropAt(grid, data.get(), centreOf(1), Qt::MoveAction).accepted);
}

TEST_F(QZArraySelectView2Test, AGridOfOtherThingsTakesFilesButNoPhotos)
{
    auto list = XmlStandAloneFiles::create();
    grid->setXmlBase(list->UUID());
    const std::unique_ptr<QMimeData> files = fileManagerData({ sourcePicture(QStringLiteral("t.jpg"), Qt::gray) });
    EXPECT_TRUE(dropAt(grid, files.get(), QPoint(50, 50), Qt::CopyAction).accepted);
    EXPECT_TRUE(document.queue().processors().isEmpty());
    EXPECT_EQ(list->numberChildren(), 0);
    const std::unique_ptr<QMimeData> photo = dragTextData(photos[0]->UUID());
    EXPECT_FALSE(dropAt(grid, photo.get(), QPoint(50, 50), Qt::MoveAction).accepted);
    EXPECT_EQ(photos[0]->parent(), album.get());
}

TEST_F(QZArraySelectView2Test, DeleteMovesTheSelectedPhotoToTheTrash)
{
    const auto press = [&](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(grid, &event);
        return event.isAccepted();
    };
    XmlTrash* trash = document.site()->trash();

    // Nothing selected: the key goes on.
    grid->clearSelection();
    EXPECT_FALSE(press(Qt::Key_Backspace));
    // Past the last photo: nothing moves.
    grid->selectIndexClearAll(7, true);
    EXPECT_TRUE(press(Qt::Key_Delete));
    EXPECT_EQ(album->numberChildren(), 3);

    // B goes; index 1 stays selected and now shows C.
    grid->selectIndexClearAll(1, true);
    const int reloads = navigator()->calls().count(QStringLiteral("reloadData"));
    EXPECT_TRUE(press(Qt::Key_Backspace));
    EXPECT_EQ(childNames(*album), (QStringList { "A", "C" }));
    EXPECT_EQ(photos[1]->parent(), trash);
    EXPECT_EQ(grid->selectedIndexes(), QList<int> { 1 });
    EXPECT_EQ(navigator()->calls().count(QStringLiteral("reloadData")), reloads + 1);
    EXPECT_TRUE(near(QColor(gridPicture(*grid).pixel(centreOf(1))), Qt::blue, 40));

    // A grid with a Delete-key action leaves the deleting to it.
    int asked = 0;
    grid->setDeleteKey([&](QZArraySelectView2*) { ++asked; });
    EXPECT_TRUE(press(Qt::Key_Backspace));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(album->numberChildren(), 2);

    // Without a document or an action, the key goes on.
    grid->setDeleteKey({});
    grid->setVerdaneDocument(nullptr);
    EXPECT_FALSE(press(Qt::Key_Backspace));
    EXPECT_EQ(album->numberChildren(), 2);
}

TEST_F(QZArraySelectView2Test, TheDragPictureIsTheIconAtHalfStrength)
{
    const QImage picture = grid->createDragableImage(photos[0].get(), 3);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), photos[0]->iconImage().size());
    const QColor top = picture.pixelColor(picture.width() / 2, 10);
    EXPECT_NEAR(top.alpha(), 128, 3);
    // "3 photo(s)" in black at the lower left.
    EXPECT_GT(countPixels(picture.convertToFormat(QImage::Format_RGB32), QRect(0, picture.height() - 16, 70, 16),
                  [](QColor c) { return c.lightness() < 40; }), 10);
    EXPECT_TRUE(grid->createDragableImage(nullptr, 1).isNull());
}

} // namespace
