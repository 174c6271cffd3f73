// The group editor in the document window over a real site folder: the
// group's title and text, its pages by their pictures, opening a page's
// picture in the photo editor, and choosing that picture from the page's
// real JPEG photos in the picture sheet.
#include "ui/editors/QZArraySelectView.h"
#include "ui/editors/panes/GroupPicSelector.h"
#include "ui/editors/panes/QZGroupEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "ui/editors/text/TextMenuTags.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhotoRep.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ViewMouse.h"

#include <QDialog>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace {

bool isMostly(const QImage& picture, QColor colour)
{
    const QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    return std::abs(centre.red() - colour.red()) < 40 && std::abs(centre.green() - colour.green()) < 40
        && std::abs(centre.blue() - colour.blue()) < 40;
}

// The group "Family" holding "Kids" (a red and a blue photo) and "Empty"
// (no photo); the group's pane shown.
class GroupEditorTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        group = XmlGroup::create();
        document.site()->homepage()->addChild(group);
        group->newDocument();
        group->setContent(QStringLiteral("Family"));
        group->webcontent()->setContent(QStringLiteral("<p>Some Photos</p>"));
        kids = XmlAlbum::create();
        group->addChild(kids);
        kids->newDocument();
        red = addPhoto(*kids, QStringLiteral("red"), Qt::red);
        blue = addPhoto(*kids, QStringLiteral("blue"), Qt::blue);
        empty = XmlAlbum::create();
        group->addChild(empty);
        empty->newDocument();
        // The page's picture is made from its first photo when first asked for.
        ASSERT_TRUE(kids->rep());
        document.clearChangeCount();
        show(group.get());
        ASSERT_EQ(window->lastEditView(), editor());
    }
    QZGroupEditor* editor() const { return pane<QZGroupEditor>(EditorKind::Group); }
    QPointF pagePoint(int index) const { return editor()->groupArray()->rectOfObjectAtIndex(index).center(); }
    GroupPicSelector* selector() const { return editor()->picSelector(); }
    // The sheet's answer: a click on the photo (none: no click), then the key.
    void answerSheet(int photo, Qt::Key key)
    {
        modal.state->sheetAnswer = [this, photo, key](QDialog* sheet) {
            ++sheetsRun;
            sheet->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
            QZArraySelectView& photos = *selector()->albumViewer();
            if (photo >= 0)
                click(photos, photos.rectOfObjectAtIndex(photo).center());
            QTest::keyClick(sheet, key);
            return sheet->result();
        };
    }

    std::shared_ptr<XmlGroup> group;
    std::shared_ptr<XmlAlbum> kids;
    std::shared_ptr<XmlAlbum> empty;
    std::shared_ptr<XmlPhoto> red;
    std::shared_ptr<XmlPhoto> blue;
    int sheetsRun = 0;
};

TEST_F(GroupEditorTest, TypingMarksTheDocumentAndLeavingStoresWithoutASecondMark)
{
    EXPECT_EQ(editor()->groupTitle()->text(), QStringLiteral("Family"));
    EXPECT_EQ(editor()->descriptionArea()->view()->toPlainText(), QStringLiteral("Some Photos"));
    show(album.get());
    show(group.get());
    EXPECT_FALSE(document.isDocumentEdited()) << "showing and leaving change nothing";

    type(editor()->groupTitle(), QStringLiteral(" and Friends"));
    EXPECT_TRUE(document.isDocumentEdited()) << "marked at once";
    type(editor()->descriptionArea()->view(), QStringLiteral("Everyone. "));
    // As if the document had been saved meanwhile.
    document.clearChangeCount();
    show(album.get());
    EXPECT_EQ(group->content(), QStringLiteral("Family and Friends"));
    EXPECT_TRUE(group->webcontent()->content().contains(QStringLiteral("Everyone. Some Photos")));
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(GroupEditorTest, ADoubleClickOpensThePhotoEditorOnThePagesPicture)
{
    // "Empty" has no picture: nothing happens.
    doubleClick(*editor()->groupArray(), pagePoint(1));
    EXPECT_EQ(window->currentObject().get(), group.get());
    EXPECT_EQ(window->lastEditView(), editor());

    doubleClick(*editor()->groupArray(), pagePoint(0));
    const std::shared_ptr<XmlPhotoRep> picture = kids->rep();
    ASSERT_TRUE(picture);
    EXPECT_EQ(window->currentObject().get(), picture.get());
    EXPECT_EQ(window->lastEditView(), window->panel(EditorKind::ImageWell)->superView());
    EXPECT_EQ(window->currentAlbum(), kids.get());
}

TEST_F(GroupEditorTest, ChoosingAPhotoGivesThePageACopyOfItsOriginalPicture)
{
    const std::shared_ptr<XmlPhotoRep> picture = kids->rep();
    ASSERT_TRUE(picture);
    ASSERT_TRUE(isMostly(QImage(picture->originalFilename()), Qt::red)) << "made from the first photo";

    click(*editor()->groupArray(), pagePoint(0));
    answerSheet(1, Qt::Key_Return);
    editor()->selectNewPicture();
    EXPECT_EQ(sheetsRun, 1);
    EXPECT_EQ(kids->rep(), picture) << "the same picture, with a new image";
    EXPECT_TRUE(isMostly(QImage(picture->originalFilename()), Qt::blue));
    EXPECT_NE(picture->originalFilename(), blue->originalFilename()) << "a copy of its own";
    EXPECT_TRUE(QFileInfo::exists(blue->originalFilename()));
    EXPECT_TRUE(isMostly(picture->iconImage(), Qt::blue)) << "its images are made anew";
    EXPECT_TRUE(document.isDocumentEdited());

    // Cancelled (Escape), after clicking the red one: nothing changes.
    answerSheet(0, Qt::Key_Escape);
    editor()->selectNewPicture();
    EXPECT_EQ(sheetsRun, 2);
    EXPECT_TRUE(isMostly(QImage(picture->originalFilename()), Qt::blue));
}

TEST_F(GroupEditorTest, TheSheetKeepsItsLastIndexLimitedToThePagesPhotos)
{
    click(*editor()->groupArray(), pagePoint(0));
    answerSheet(1, Qt::Key_Escape);
    editor()->selectNewPicture();
    EXPECT_EQ(selector()->albumViewer()->selectedIndex(), 1);

    // A page of one photo: the index kept is its last photo.
    kids->removeChild(blue.get());
    answerSheet(-1, Qt::Key_Return);
    editor()->selectNewPicture();
    EXPECT_EQ(selector()->albumViewer()->selectedIndex(), 0);
    EXPECT_TRUE(isMostly(QImage(kids->rep()->originalFilename()), Qt::red));

    // A page without photos: the sheet runs, choosing changes nothing.
    click(*editor()->groupArray(), pagePoint(1));
    answerSheet(-1, Qt::Key_Return);
    document.clearChangeCount();
    editor()->selectNewPicture();
    EXPECT_EQ(sheetsRun, 3);
    EXPECT_EQ(selector()->albumViewer()->selectedIndex(), -1);
    EXPECT_FALSE(empty->rep());
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(GroupEditorTest, NothingHappensWithoutAPageUnderThePointer)
{
    auto lonely = XmlGroup::create();
    document.site()->homepage()->addChild(lonely);
    lonely->newDocument();
    show(lonely.get());
    answerSheet(-1, Qt::Key_Return);
    // Any point of an empty grid.
    doubleClick(*editor()->groupArray(), QPointF(30, 30));
    EXPECT_LT(editor()->groupArray()->selectedIndex(), 0);
    editor()->selectNewPicture();
    EXPECT_EQ(window->currentObject().get(), lonely.get());
    EXPECT_EQ(sheetsRun, 0);
}

TEST_F(GroupEditorTest, TheTextMenuWorksWhileThePageTextHasTheFocus)
{
    EXPECT_EQ(editor()->getMenuItemState(TextMenuTag::bold), -1);
    MyTextView* text = editor()->descriptionArea()->view();
    text->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(editor()->getMenuItemState(TextMenuTag::right), 0);
    text->selectAll();
    const QString before = editor()->description()->createContent();
    for (int tag : { 199, 208 })
        editor()->menuClicked(tag);
    EXPECT_EQ(editor()->description()->createContent(), before);
    editor()->menuClicked(TextMenuTag::underline);
    EXPECT_EQ(editor()->description()->createContent(), QStringLiteral("<p><u>Some Photos</u></p>"));
}

} // namespace
