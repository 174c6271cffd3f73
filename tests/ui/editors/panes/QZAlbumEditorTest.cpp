// The album editor in the document window over a real site folder with real
// JPEG photos: choosing photos in the grid and typing their captions and
// alternate texts, the link of a photo, the text menu, the dividers, and
// which edits mark the document changed.
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/QZPayPalEditor.h"
#include "ui/editors/panes/QZWebsiteEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "ui/editors/photo/QZImageWell.h"
#include "ui/editors/text/TextMenuTags.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlTrash.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/SplitView.h"
#include "ui/app/MenuTags.h"
#include "support/ChildNames.h"
#include "support/Printers.h"
#include "support/TestPictures.h"
#include "support/ui/DropEvents.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ViewMouse.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// The album page "Holiday" with photos A, B and C (red, green, blue), its
// pane shown.
class AlbumEditorTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        for (const auto& [name, colour] : { std::pair { "A", Qt::red }, std::pair { "B", Qt::green }, std::pair { "C", Qt::blue } })
            photos.push_back(addPhoto(*album, QString::fromLatin1(name), colour));
        document.clearChangeCount();
        show(album.get());
        ASSERT_EQ(window->lastEditView(), editor());
    }
    QZAlbumEditor* editor() const { return pane<QZAlbumEditor>(EditorKind::Album); }
    QZArraySelectView2* grid() const { return editor()->arrayView(); }
    void clickPhoto(int index) { click(*grid(), grid()->rectOfObjectAtIndex(index).center()); }
    // A point of the grid below every photo.
    QPointF emptySpot() const { return QPointF(20, grid()->rectOfObjectAtIndex(0).bottom() + 200); }
    void typeCaption(const QString& text)
    {
        MyTextView* view = editor()->captionArea()->view();
        view->selectAll();
        type(view, text);
    }
    void typeAltText(const QString& text)
    {
        editor()->altText()->clear();
        type(editor()->altText(), text);
    }
    // The link controls a user reaches while a photo is chosen.
    QList<QWidget*> linkControls() const
    {
        return { editor()->imageLink(), editor()->linkList(), editor()->easyButton(), editor()->newWindowButton() };
    }

    std::vector<std::shared_ptr<XmlPhoto>> photos;
};

TEST_F(AlbumEditorTest, ChoosingAnotherPhotoStoresTheCaptionAndAltTextOfTheOneBefore)
{
    EXPECT_EQ(editor()->selectPhotoText()->text(), QZAlbumEditor::chooseHeading);
    clickPhoto(0);
    EXPECT_EQ(editor()->lastPhotoUUID(), photos[0]->UUID());
    EXPECT_EQ(editor()->selectPhotoText()->text(), QZAlbumEditor::captionHeading);
    for (QWidget* control : linkControls())
        EXPECT_TRUE(control->isEnabled());
    typeCaption(QStringLiteral("Sunset over the bay"));
    editor()->changeLinkType(QZAlbumEditor::AlternateText);
    typeAltText(QStringLiteral("A red sky"));
    EXPECT_FALSE(photos[0]->caption()->content().contains(QStringLiteral("Sunset"))) << "stored when the photo is left";

    clickPhoto(1);
    EXPECT_TRUE(photos[0]->caption()->content().contains(QStringLiteral("Sunset over the bay")))
        << photos[0]->caption()->content().toStdString();
    EXPECT_EQ(photos[0]->altText(), QStringLiteral("A red sky"));
    EXPECT_EQ(editor()->lastPhotoUUID(), photos[1]->UUID());
    // The second photo's own texts are shown.
    EXPECT_EQ(editor()->captionArea()->view()->toPlainText(), QStringLiteral("B"));
    EXPECT_EQ(editor()->altText()->text(), QString());

    // Its caption goes into the page file and back.
    window->saveEditor();
    ASSERT_TRUE(document.writeWithBackupToFile(document.fileName()));
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(document.fileName()));
    const auto page = reopened.site()->homepage()->childrenOfType<XmlAlbum>().value(0);
    ASSERT_TRUE(page);
    auto* first = XmlPhoto::cast(page->photoObjects().value(0).get());
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->caption()->content().contains(QStringLiteral("Sunset over the bay")));
    EXPECT_EQ(first->altText(), QStringLiteral("A red sky"));
}

TEST_F(AlbumEditorTest, ClickingAnEmptyPartOfTheGridStoresThePhotoAndChoosesNone)
{
    clickPhoto(2);
    typeCaption(QStringLiteral("Blue hour"));
    click(*grid(), emptySpot());
    EXPECT_TRUE(photos[2]->caption()->content().contains(QStringLiteral("Blue hour")));
    EXPECT_EQ(editor()->lastPhotoUUID(), QString());
    EXPECT_EQ(editor()->selectPhotoText()->text(), QZAlbumEditor::chooseHeading);
    EXPECT_EQ(editor()->captionArea()->view()->toPlainText(), QString());
    EXPECT_EQ(editor()->altText()->text(), QString());
    EXPECT_EQ(grid()->firstSelectedItem(), QZArraySelectView2::NotFound);
    for (QWidget* control : linkControls())
        EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(editor()->captionArea()->view()->isReadOnly());
}

TEST_F(AlbumEditorTest, TypingInTheTitleMarksTheDocumentButShowingAndSavingDoNot)
{
    // Loading, choosing a photo, saving and leaving with nothing typed.
    clickPhoto(1);
    window->saveEditor();
    show(document.site()->homepage());
    show(album.get());
    EXPECT_FALSE(document.isDocumentEdited());

    // Title and description set as the pane saves them: no change by itself.
    editor()->albumTitle()->setText(QStringLiteral("Summer"));
    window->saveEditor();
    EXPECT_EQ(album->content(), QStringLiteral("Summer"));
    EXPECT_FALSE(document.isDocumentEdited());

    type(editor()->albumTitle(), QStringLiteral(" 2024"));
    EXPECT_TRUE(document.isDocumentEdited());
    show(document.site()->homepage());
    EXPECT_EQ(album->content(), QStringLiteral("Summer 2024"));

    // The description: typing marks, and it is stored when the pane is left.
    document.clearChangeCount();
    show(album.get());
    type(editor()->descriptionArea()->view(), QStringLiteral("Ten days by the sea"));
    EXPECT_TRUE(document.isDocumentEdited());
    show(document.site()->homepage());
    EXPECT_TRUE(album->webcontent()->content().contains(QStringLiteral("Ten days by the sea")));
}

TEST_F(AlbumEditorTest, AChangedAltTextMarksTheDocumentWhenStoredAnUnchangedOneIsNotSetAgain)
{
    clickPhoto(0);
    clickPhoto(1);
    window->saveEditor();
    EXPECT_FALSE(document.isDocumentEdited()) << "unchanged alternate texts are not set again";
    editor()->changeLinkType(QZAlbumEditor::AlternateText);
    typeAltText(QStringLiteral("Green hills"));
    window->saveEditor();
    EXPECT_EQ(photos[1]->altText(), QStringLiteral("Green hills"));
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST_F(AlbumEditorTest, TheLinkTypeShowsTheLinkControlsOrTheAltTextAndChoosesWhatTheLinkBelongsTo)
{
    clickPhoto(0);
    struct Case {
        int type;
        bool linkShown;
    };
    for (const Case& c : { Case { QZAlbumEditor::AlternateText, false }, Case { QZAlbumEditor::LinkOnWords, true },
                           Case { QZAlbumEditor::LinkOnPhoto, true } }) {
        editor()->changeLinkType(c.type);
        EXPECT_EQ(editor()->imageLink()->currentIndex(), c.type);
        EXPECT_EQ(editor()->altText()->isVisible(), !c.linkShown) << c.type;
        EXPECT_EQ(editor()->linkList()->isVisible(), c.linkShown) << c.type;
        EXPECT_EQ(editor()->easyButton()->isVisible(), c.linkShown) << c.type;
        EXPECT_EQ(editor()->newWindowButton()->isVisible(), c.linkShown) << c.type;
    }
    editor()->changeLinkType(7);
    EXPECT_EQ(editor()->imageLink()->currentIndex(), int(QZAlbumEditor::LinkOnPhoto)) << "an unknown type changes nothing";

    // On the photo: the address typed is the photo's link, not the text's.
    type(editor()->linkList(), QStringLiteral("www.example.org"));
    EXPECT_EQ(photos[0]->caption()->embeddedLink(), QVariant(QStringLiteral("www.example.org")));
    editor()->newWindowButton()->click();
    EXPECT_EQ(photos[0]->caption()->newWindow(), 1);
    EXPECT_TRUE(document.isDocumentEdited());
    window->saveEditor();
    EXPECT_FALSE(photos[0]->caption()->content().contains(QStringLiteral("href")));

    // Another photo shows its own (empty) link; coming back shows the first one's.
    clickPhoto(1);
    EXPECT_EQ(editor()->linkList()->text(), QString());
    EXPECT_FALSE(editor()->newWindowButton()->isChecked());
    clickPhoto(0);
    EXPECT_EQ(editor()->linkList()->text(), QStringLiteral("www.example.org"));
    EXPECT_TRUE(editor()->newWindowButton()->isChecked());

    // With no photo chosen the photo's link reads empty.
    click(*grid(), emptySpot());
    EXPECT_EQ(editor()->getLink(), QVariant(QStringLiteral("")));
    EXPECT_EQ(editor()->getNewWindow(), 0);
    EXPECT_EQ(editor()->linkList()->text(), QString());
    EXPECT_FALSE(editor()->newWindowButton()->isChecked());

    // On words: the link goes on the caption's words.
    clickPhoto(2);
    editor()->changeLinkType(QZAlbumEditor::LinkOnWords);
    editor()->captionArea()->view()->selectAll();
    type(editor()->linkList(), QStringLiteral("www.example.com"));
    clickPhoto(1);
    EXPECT_TRUE(photos[2]->caption()->content().contains(QStringLiteral("www.example.com")))
        << photos[2]->caption()->content().toStdString();
    EXPECT_EQ(photos[2]->caption()->embeddedLink(), QVariant(QStringLiteral("")));
}

TEST_F(AlbumEditorTest, TheLinkPickerAnswersTheEditorThatAsked)
{
    // The page's own number, as the picker answers a link to a page.
    picker->answer = album->pageSeqNumber();
    clickPhoto(1);
    editor()->changeLinkType(QZAlbumEditor::LinkOnPhoto);
    editor()->easyButton()->click();
    ASSERT_EQ(picker->askedBy.size(), 1);
    EXPECT_EQ(picker->askedBy[0], editor()->caption());
    EXPECT_EQ(photos[1]->caption()->embeddedLink(), QVariant(album->pageSeqNumber()));

    picker->answer = QStringLiteral("http://example.net/");
    editor()->description()->controls().linkButton->click();
    ASSERT_EQ(picker->askedBy.size(), 2);
    EXPECT_EQ(picker->askedBy[1], editor()->description());
}

TEST_F(AlbumEditorTest, TheTextMenuWorksOnTheEditorThatHasTheFocus)
{
    for (int tag : { TextMenuTag::bold, TextMenuTag::right })
        EXPECT_EQ(editor()->getMenuItemState(tag), -1) << "no text has the focus";

    clickPhoto(0);
    MyTextView* caption = editor()->captionArea()->view();
    caption->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    for (int tag = TextMenuTag::bold; tag <= TextMenuTag::right; ++tag)
        EXPECT_EQ(editor()->getMenuItemState(tag), 0) << tag;
    caption->selectAll();
    for (int tag : { 199, 208 })
        editor()->menuClicked(tag);
    EXPECT_EQ(editor()->caption()->createContent(), QStringLiteral("<p>A</p>"));
    editor()->menuClicked(TextMenuTag::bold);
    EXPECT_EQ(editor()->caption()->createContent(), QStringLiteral("<p><b>A</b></p>"));

    // The description, when it has the focus; the caption is left alone.
    MyTextView* description = editor()->descriptionArea()->view();
    description->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    type(description, QStringLiteral("Trip"));
    description->selectAll();
    editor()->menuClicked(TextMenuTag::heading);
    EXPECT_EQ(editor()->description()->createContent(), QStringLiteral("<h1>Trip</h1>"));
    EXPECT_EQ(editor()->caption()->createContent(), QStringLiteral("<p><b>A</b></p>"));

    editor()->albumTitle()->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(editor()->getMenuItemState(TextMenuTag::bold), -1);
}

TEST_F(AlbumEditorTest, TheDividersSnap)
{
    SplitView* main = editor()->mainSplitter();
    const int bottom = main->height() - main->handleWidth();
    ASSERT_GT(bottom, 300);
    struct Case {
        int proposed;
        int placed;
    };
    for (const Case& c : { Case { 50, 75 }, Case { 20, 0 }, Case { 36, 75 }, Case { 35, 0 }, Case { 200, 200 },
                           Case { bottom - 31, bottom - 31 }, Case { bottom - 10, bottom } }) {
        EXPECT_EQ(editor()->constrainMainDivider(c.proposed), c.placed) << c.proposed;
        main->setDividerPosition(c.proposed, 0);
        EXPECT_EQ(main->sizes().value(0), c.placed) << c.proposed;
    }

    main->setDividerPosition(150, 0);
    SplitView* photosAndCaption = editor()->albumSplitter();
    for (const Case& c : { Case { 40, 90 }, Case { 0, 90 }, Case { 150, 150 } }) {
        photosAndCaption->setDividerPosition(c.proposed, 0);
        EXPECT_EQ(photosAndCaption->sizes().value(0), c.placed) << c.proposed;
    }
}

TEST_F(AlbumEditorTest, ADoubleClickOpensThePhotoEditorAndReloadingKeepsTheChosenPhoto)
{
    clickPhoto(1);
    // The pane loads anew from the page (after a caption was edited on the
    // layout canvas, say).
    photos[1]->caption()->setContent(QStringLiteral("<p>Field</p>"));
    window->layoutDidContentEditing();
    EXPECT_EQ(editor()->lastPhotoUUID(), photos[1]->UUID());
    EXPECT_EQ(grid()->firstSelectedItem(), 1);
    EXPECT_EQ(editor()->captionArea()->view()->toPlainText(), QStringLiteral("Field"));
    typeCaption(QStringLiteral("Meadow"));

    doubleClick(*grid(), grid()->rectOfObjectAtIndex(2).center());
    EXPECT_EQ(window->currentObject().get(), photos[2].get());
    EXPECT_EQ(window->lastEditView(), window->panel(EditorKind::ImageWell)->superView());
    EXPECT_TRUE(photos[1]->caption()->content().contains(QStringLiteral("Meadow"))) << "saved on leaving";
    // Leaving the album forgot the chosen photo.
    EXPECT_EQ(editor()->lastPhotoUUID(), QString());

    show(album.get());
    EXPECT_EQ(editor()->lastPhotoUUID(), QString());
    doubleClick(*grid(), emptySpot());
    EXPECT_EQ(window->currentObject().get(), album.get()) << "no photo under the pointer";
}

TEST_F(AlbumEditorTest, APhotoThatLeftThePageIsChosenNoMore)
{
    clickPhoto(0);
    typeCaption(QStringLiteral("Gone"));
    // The photo goes to the trash; the window refreshes its pane.
    photos[0]->removeFromParentWithoutDeletingChildren();
    document.site()->trash()->addChild(photos[0]);
    window->updateNavEditor();
    EXPECT_EQ(editor()->lastPhotoUUID(), QString());
    EXPECT_TRUE(photos[0]->caption()->content().contains(QStringLiteral("Gone"))) << "what was typed stays with it";

    // A photo deleted outright is no photo.
    const QString uuid = photos[2]->UUID();
    album->removeChild(photos[2].get());
    photos[2].reset();
    editor()->setLastPhotoUUID(uuid);
    EXPECT_EQ(editor()->lastPhotoUUID(), QString());
    EXPECT_EQ(editor()->selectPhotoText()->text(), QZAlbumEditor::chooseHeading);
}

TEST_F(AlbumEditorTest, ItsButtonsShowTheSiteSettingsAndThePayPalPane)
{
    editor()->editMastHead();
    EXPECT_EQ(window->lastEditView(), window->panel(EditorKind::Website)->superView());
    show(album.get());
    editor()->payPal();
    EXPECT_EQ(window->lastEditView(), window->panel(EditorKind::PayPal)->superView());
    EXPECT_EQ(window->currentObject().get(), album.get());
    EXPECT_EQ(pane<QZPayPalEditor>(EditorKind::PayPal)->photoAtRow(2), photos[2].get());
}

TEST_F(AlbumEditorTest, AGroupIsNoAlbumPageForThePane)
{
    editor()->albumTitle()->setText(QStringLiteral("Typed"));
    auto group = XmlGroup::create();
    document.site()->homepage()->addChild(group);
    show(group.get());
    const QString before = group->content();
    // Asked directly while the group is current, the album pane does nothing.
    editor()->loadEditor();
    editor()->saveEditor();
    EXPECT_EQ(group->content(), before);
}

// "Add Photos…", from the pane's button and from the Site menu: the files
// chosen in the panel arrive as the same photos, in the same order, as the
// same files dropped after the grid's last photo.
TEST_F(AlbumEditorTest, AddPhotosTakesTheChosenFilesAsADropOfTheSameFilesAfterTheLastPhoto)
{
    const QString notes = sources.filePath(QStringLiteral("notes.txt"));
    writeAll(notes, "not a picture");
    const QString png = sources.filePath(QStringLiteral("Beach.png"));
    writeAll(png, encoded(solid(90, 60, Qt::yellow), "PNG"));
    struct Case {
        const char* what;
        QStringList files;
        bool fromMenu;
    };
    const QList<Case> cases {
        { "one picture, from the button", { sourcePicture(QStringLiteral("walk.jpg"), Qt::gray) }, false },
        { "several kinds named out of order, from the button",
          { sourcePicture(QStringLiteral("walk.jpg"), Qt::gray), png, sourcePicture(QStringLiteral("cliff.jpeg"), Qt::cyan) }, false },
        { "a file that is no picture among them, from the Site menu",
          { sourcePicture(QStringLiteral("zebra.jpg"), Qt::darkGray), notes, sourcePicture(QStringLiteral("Anchor.JPG"), Qt::magenta) }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Two pages alike: the panel's files go to one, the drop to the other.
        std::shared_ptr<XmlAlbum> pages[2];
        for (auto& page : pages) {
            page = XmlAlbum::create();
            document.site()->homepage()->addChild(page);
            page->newDocument();
            for (const auto& [name, colour] : { std::pair { "A", Qt::red }, std::pair { "B", Qt::green } })
                addPhoto(*page, QString::fromLatin1(name), colour);
        }

        show(pages[0].get());
        const qsizetype asked = modal.state->panels.size();
        modal.state->filesPanelAnswer = c.files;
        if (c.fromMenu) {
            QAction* item = window->menuItem(MenuTag::AddPhotos);
            ASSERT_NE(item, nullptr);
            for (QAction* menu : window->menuBar()->actions()) {
                if (menu->menu() && menu->menu()->actions().contains(item))
                    Q_EMIT menu->menu()->aboutToShow();
            }
            ASSERT_TRUE(item->isEnabled());
            item->trigger();
        } else {
            ASSERT_TRUE(editor()->addPhotosButton()->isVisible());
            click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
        }
        ASSERT_EQ(modal.state->panels.size(), asked + 1) << "one file panel";
        const lq::FilePanelRequest& request = modal.state->panels.last();
        EXPECT_EQ(request.window, window.get());
        for (const char* type : { "jpg", "jpeg", "png", "JPG" })
            EXPECT_TRUE(request.fileTypes.contains(QLatin1String(type))) << type;
        EXPECT_FALSE(request.fileTypes.contains(QStringLiteral("txt")));
        drainQueue();

        show(pages[1].get());
        const std::unique_ptr<QMimeData> dropped = fileManagerData(c.files);
        EXPECT_TRUE(dragAndDrop(grid(), dropped.get(), emptySpot(), Qt::CopyAction | Qt::MoveAction).accepted);
        drainQueue();

        EXPECT_GT(pages[1]->numberPhotos(), 2) << "the drop brought photos";
        EXPECT_EQ(childNames(*pages[0]), childNames(*pages[1]));
        EXPECT_EQ(childNames(*pages[0]).mid(0, 2), (QStringList { "A", "B" })) << "the new photos follow the last one";
        for (int i = 0; i < pages[0]->numberPhotos(); ++i) {
            auto* chosen = XmlPhoto::cast(pages[0]->photoObjects().value(i).get());
            auto* droppedPhoto = XmlPhoto::cast(pages[1]->photoObjects().value(i).get());
            ASSERT_TRUE(chosen && droppedPhoto);
            EXPECT_EQ(QImage(chosen->originalFilename()).size(), QImage(droppedPhoto->originalFilename()).size()) << i;
        }
    }
}

TEST_F(AlbumEditorTest, AddPhotosCancelledAddsNothingAndTheMenuItemWantsAnAlbumPage)
{
    modal.state->filesPanelAnswer.clear();
    click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
    drainQueue();
    EXPECT_EQ(childNames(*album), (QStringList { "A", "B", "C" }));
    EXPECT_EQ(document.changeCount(), 0);

    QAction* item = window->menuItem(MenuTag::AddPhotos);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Add Photos…"));
    auto group = XmlGroup::create();
    document.site()->homepage()->addChild(group);
    show(group.get());
    for (QAction* menu : window->menuBar()->actions()) {
        if (menu->menu() && menu->menu()->actions().contains(item))
            Q_EMIT menu->menu()->aboutToShow();
    }
    EXPECT_FALSE(item->isEnabled()) << "a group page takes no photos of its own";
}

} // namespace
