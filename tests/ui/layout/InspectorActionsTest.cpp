// What the inspector's controls write back into the starter site's photo
// page template: numbers from a stepper or typed (and refused), the menu's
// picture rollovers, the PayPal button's size, the slideshow's labels, the
// border panel of a menu's items, the thumbnail and collage dialogs, and the
// Vorn Box sheet with its list, its text and its pickers.
#include "ui/editors/CollageThumb.h"
#include "ui/editors/links/EasyLink2.h"
#include "ui/editors/text/QZTextEditor.h"
#include "elements/CollageParameters.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/TextView.h"
#include "ui/editors/XmlOutlineView.h"
#include "platform/DelayedCall.h"
#include "support/EventLoop.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/SheetHands.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlWebFont.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class InspectorActionsTest : public PhotoPageLayoutTest {
protected:
    void SetUp() override
    {
        PhotoPageLayoutTest::SetUp();
        layout->forward = true;
    }
    void showPhotos()
    {
        showPhotosWith({"Photo Album", "Slideshow", "Masthead", "Footer", "Content", "Page Title", "Navigation"});
        showLayoutOfPhotos();
    }
    template <class Control = QWidget>
    Control* control(int tag) const
    {
        auto* found = qobject_cast<Control*>(layout->controlWithTag(tag));
        EXPECT_NE(found, nullptr) << "control " << tag;
        return found;
    }
    // Types the text into the field and ends it with Return, as the user does.
    static void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Clicks the matrix's cell of the tag, as the user does.
    void clickCell(int matrixTag, int cellTag)
    {
        auto* matrix = control<MyMatrix>(matrixTag);
        ASSERT_NE(matrix, nullptr);
        ASSERT_TRUE(matrix->selectCellWithTag(cellTag)) << cellTag;
        for (QRadioButton* cell : matrix->findChildren<QRadioButton*>()) {
            if (cell->isChecked()) {
                cell->click();
                return;
            }
        }
        FAIL() << "no cell " << cellTag;
    }
    void choose(int popUpTag, int index) { choosePopUpItem(control<MyPopUpButton>(popUpTag), index); }
    void check(int tag, bool on)
    {
        auto* box = control<QAbstractButton>(tag);
        if (box->isChecked() != on)
            box->click();
    }
};

// --- Numbers -------------------------------------------------------------------------------------------------

TEST_F(InspectorActionsTest, AStepperGivesItsFieldItsValueAndSetsTheModelAsTypingWould)
{
    showPhotos();
    XmlBoxModel* masthead = element("Masthead");
    layout->setSelectedObject(masthead);
    auto* field = control<MyIntegerField>(211);
    auto* stepper = control<MyStepper>(212);
    const int before = masthead->font()->fontSize();
    ASSERT_LT(before, 200);

    stepper->stepUp();
    EXPECT_EQ(field->text(), QString::number(before + 1));
    EXPECT_EQ(masthead->font()->fontSize(), before + 1);

    type(field, QStringLiteral("37"));
    EXPECT_EQ(stepper->value(), 37);
    EXPECT_EQ(masthead->font()->fontSize(), 37);
}

TEST_F(InspectorActionsTest, ARefusedNumberIsCorrectedAndThenReachesTheModel)
{
    showPhotos();
    XmlBoxModel* masthead = element("Masthead");
    layout->setSelectedObject(masthead);
    auto* field = control<MyIntegerField>(211);
    const struct {
        const char* typed;
        const char* shown;
        int stored;
    } cases[] = {
        {"500", "200.000000", 200},
        {"0", "1.000000", 1},
        // No number: the stepper's value, the last good one.
        {"big", "1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const int before = masthead->font()->fontSize();
        type(field, QString::fromUtf8(c.typed));
        EXPECT_EQ(masthead->font()->fontSize(), before) << "a refused number never reaches the model at once";
        QTRY_COMPARE(field->text(), QString::fromUtf8(c.shown));
        QTRY_COMPARE(masthead->font()->fontSize(), c.stored);
        EXPECT_EQ(field->intValue(), c.stored);
        EXPECT_EQ(control<MyStepper>(212)->value(), c.stored);
    }
}

TEST_F(InspectorActionsTest, ARefusedNumberOfTheBorderPanelReachesTheElementToo)
{
    showPhotos();
    XmlBoxModel* masthead = element("Masthead");
    layout->setSelectedObject(masthead);
    masthead->setBt(2);
    layout->setBandB(masthead);
    auto* field = control<MyIntegerField>(601);
    type(field, QStringLiteral("5000"));
    EXPECT_EQ(masthead->bt(), 2);
    QTRY_COMPARE(field->text(), QStringLiteral("999.000000"));
    QTRY_COMPARE(masthead->bt(), 999);
    EXPECT_TRUE(layout->sent.contains(QStringLiteral("action3: 601")));
}

TEST_F(InspectorActionsTest, ACorrectionIsDroppedWhenAnotherElementIsSelectedMeanwhile)
{
    showPhotos();
    XmlBoxModel* masthead = element("Masthead");
    XmlBoxModel* title = element("Page Title");
    masthead->font()->setFontSize(30);
    title->font()->setFontSize(24);
    layout->setSelectedObject(masthead);
    auto* field = control<MyIntegerField>(211);
    type(field, QStringLiteral("500"));
    // The field's text and its action are put right later: both are armed,
    // then run (or not) for the selection of their time.
    const void* controller = static_cast<LayoutController*>(layout);
    const QString corrections = QStringLiteral("formatCorrection:") + QString::number(reinterpret_cast<quintptr>(field));
    EXPECT_EQ(lq::pendingCalls(controller, corrections), 2);
    layout->setSelectedObject(title);
    ASSERT_TRUE(processEventsUntil([&] { return lq::pendingCalls(controller, corrections) == 0; }));
    EXPECT_EQ(title->font()->fontSize(), 24) << "the masthead's number went to the page title";
    EXPECT_EQ(masthead->font()->fontSize(), 30);
    EXPECT_EQ(field->text(), QStringLiteral("30"));
    EXPECT_FALSE(layout->sent.contains(QStringLiteral("action: 211")));
}

// --- Element sheets ----------------------------------------------------------------------------------------

TEST_F(InspectorActionsTest, PictureRolloversMakeAHorizontalMenuFixedWidth)
{
    showPhotos();
    auto* menu = element<XmlWebMenu>("Navigation");
    const struct {
        int orientation;
        int becomes;
        bool widthShown;
    } cases[] = {{1, 2, true}, {0, 0, false}, {2, 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        menu->setUseGraphicRollover(false);
        menu->setOrientation(c.orientation);
        layout->setSelectedObject(menu);
        clickCell(350, 1);
        EXPECT_TRUE(menu->useGraphicRollover());
        EXPECT_EQ(menu->orientation(), c.becomes);
        EXPECT_EQ(layout->navigationSheet().menuBkgndTabView()->selectedIdentifier(), QStringLiteral("imagerollovers"));
        EXPECT_EQ(control<MyPopUpButton>(334)->currentIndex(), c.becomes);
        for (int tag : {332, 333, 335})
            EXPECT_EQ(control(tag)->isHidden(), !c.widthShown) << tag;
        clickCell(350, 0);
        EXPECT_FALSE(menu->useGraphicRollover());
        EXPECT_EQ(layout->navigationSheet().menuBkgndTabView()->selectedIdentifier(), QStringLiteral("colorwells"));
    }
}

TEST_F(InspectorActionsTest, TheStandardPayPalButtonTakesTheCartsSize)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    const struct {
        int buttonType;
        int cart;
        int width;
        int height;
    } cases[] = {{0, 1, 86, 21}, {0, 2, 96, 21}, {1, 2, 50, 40}, {0, 0, 50, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.buttonType << ", cart " << c.cart);
        photoAlbum->settings().setButtonType(c.buttonType);
        photoAlbum->settings().setButtonWidth(50);
        photoAlbum->settings().setButtonHeight(40);
        choose(1201, c.cart);
        EXPECT_EQ(static_cast<int>(photoAlbum->cartType()), c.cart);
        EXPECT_EQ(photoAlbum->settings().buttonWidth(), c.width);
        EXPECT_EQ(photoAlbum->settings().buttonHeight(), c.height);
        EXPECT_EQ(layout->payPalSheet().payPalHTML()->toPlainText(), photoAlbum->buttonHTML()->content());
    }
    // The sheet shows the size it gave.
    photoAlbum->settings().setButtonType(0);
    choose(1201, 1);
    EXPECT_EQ(control<MyIntegerField>(1209)->intValue(), 86);
    EXPECT_EQ(control<MyIntegerField>(1211)->intValue(), 21);
}

TEST_F(InspectorActionsTest, CaptionsAndLayoutOfThePhotoAlbum)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    layout->setSelectedObject(photoAlbum);
    const struct {
        int index;
        bool captions;
        bool toolTips;
    } captions[] = {{3, false, true}, {1, true, false}, {0, false, false}};
    for (const auto& c : captions) {
        choose(505, c.index);
        EXPECT_EQ(photoAlbum->settings().showCaptions(), c.captions) << c.index;
        EXPECT_EQ(photoAlbum->settings().showToolTips(), c.toolTips) << c.index;
    }

    // A grid: the fields are its columns and rows.
    choose(550, 0);
    EXPECT_EQ(control<QLabel>(596)->text(), QStringLiteral("Columns"));
    EXPECT_EQ(control<QLabel>(595)->text(), QStringLiteral("Rows"));
    type(control<MyIntegerField>(528), QStringLiteral("4"));
    type(control<MyIntegerField>(530), QStringLiteral("3"));
    EXPECT_EQ(photoAlbum->settings().cols(), 4);
    EXPECT_EQ(photoAlbum->settings().rows(), 3);
    // Free style: its width and height.
    choose(550, 2);
    EXPECT_EQ(photoAlbum->afterDescription(), 2);
    EXPECT_EQ(control<QLabel>(596)->text(), QStringLiteral("Width"));
    EXPECT_EQ(control<MyIntegerField>(528)->intValue(), photoAlbum->width());
    type(control<MyIntegerField>(530), QStringLiteral("5"));
    EXPECT_EQ(photoAlbum->settings().rows(), 3);
    EXPECT_TRUE(layout->photoAlbumSheet().paThumbnail()->isHidden());
}

TEST_F(InspectorActionsTest, SlideshowLabelsFollowItsStyle)
{
    MyApplication::shared().setEnableBeforeAfter(true);
    showPhotos();
    auto* slideshow = element<XmlSlideshow>("Slideshow");
    layout->setSelectedObject(slideshow);
    const struct {
        int style;
        const char* first;
        const char* second;
    } cases[] = {{2, "before", "after"}, {0, "play", "stop"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        choose(925, c.style);
        ASSERT_EQ(slideshow->style(), c.style);
        auto* first = control<MyTextField>(917);
        auto* second = control<MyTextField>(918);
        first->clear();
        QTest::keyClicks(first, QStringLiteral("One"));
        second->clear();
        QTest::keyClicks(second, QStringLiteral("Two"));
        const bool before = c.style == 2;
        EXPECT_EQ(before ? slideshow->settings().beforeLabel() : slideshow->settings().playLabel(), QStringLiteral("One"));
        EXPECT_EQ(before ? slideshow->settings().afterLabel() : slideshow->settings().stopLabel(), QStringLiteral("Two"));
    }
}

TEST_F(InspectorActionsTest, TheBorderPanelOfAMenusItemsLeavesTheMenusBackground)
{
    showPhotos();
    auto* menu = element<XmlWebMenu>("Navigation");
    layout->setSelectedObject(menu);
    layout->borderPanel().setNavigationbbtab(0);
    layout->setBandB(menu);
    const int kind = menu->bkgnd();
    const lq::Colour colour = menu->bkgndColor();
    choose(621, kind == 1 ? 2 : 1);
    auto* well = control<MyColorWell>(623);
    well->takeColor(QColor(10, 200, 30));
    EXPECT_EQ(menu->bkgnd(), kind);
    EXPECT_EQ(menu->bkgndColor(), colour);
    // Items' borders go to the items; drop shadow and offsets to the menu.
    type(control<MyIntegerField>(601), QStringLiteral("3"));
    EXPECT_EQ(menu->itemStyle().mibt(), 3);
    check(640, menu->dropShadow() == 0);
    EXPECT_EQ(menu->dropShadow() != 0, control<QAbstractButton>(640)->isChecked());

    // The menu's own box.
    ASSERT_TRUE(layout->borderPanel().whichBorderMatrix()->selectCellWithTag(634));
    Q_EMIT layout->borderPanel().whichBorderMatrix()->selectionChanged(634);
    EXPECT_EQ(layout->borderPanel().navigationbbtab(), 1);
    type(control<MyIntegerField>(601), QStringLiteral("5"));
    EXPECT_EQ(menu->bt(), 5);
    EXPECT_EQ(menu->itemStyle().mibt(), 3);
}

TEST_F(InspectorActionsTest, BordersAndPropertiesSwitchTheSheet)
{
    showPhotos();
    layout->setSelectedObject(element("Masthead"));
    control<QAbstractButton>(298)->click();
    EXPECT_TRUE(layout->borderMode());
    EXPECT_TRUE(layout->borderPanel().bordersButton()->isChecked());
    layout->borderPanel().propertiesButton()->click();
    EXPECT_FALSE(layout->borderMode());
}

// --- The thumbnail and collage dialogs ----------------------------------------------------------------------

TEST_F(InspectorActionsTest, TheThumbnailDialogWritesWhatItShowsOnOKAndNothingOnCancel)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    photoAlbum->settings().setAfterDescription(0);
    photoAlbum->settings().setThumbWidth(120);
    photoAlbum->settings().setThumbHeight(90);
    photoAlbum->settings().setThumbAspect(XmlWebPhotoAlbum::ThumbAspect::SameAspect);
    layout->setSelectedObject(photoAlbum);

    modal.state->sheetAnswer = [&](QDialog* dialog) {
        EXPECT_EQ(dialog, layout->albumDialogs().thumbnailWindow());
        auto* width = dialog->findChild<MyIntegerField*>(QStringLiteral("ThumbnailWidth"));
        auto* sizing = dialog->findChild<MyMatrix*>(QStringLiteral("ThumbnailSizing"));
        EXPECT_EQ(width->intValue(), 120);
        EXPECT_EQ(sizing->selectedTag(), 1);
        width->setText(QStringLiteral("150"));   // typed, not committed
        sizing->selectCellWithTag(2);
        endSheet(dialog, width, Ending::CancelButton);
        return dialog->result();
    };
    control<QAbstractButton>(540)->click();
    EXPECT_EQ(photoAlbum->settings().thumbWidth(), 120);
    EXPECT_EQ(photoAlbum->settings().thumbAspect(), XmlWebPhotoAlbum::ThumbAspect::SameAspect);

    modal.state->sheetAnswer = [&](QDialog* dialog) {
        dialog->findChild<MyIntegerField*>(QStringLiteral("ThumbnailWidth"))->setText(QStringLiteral("150"));
        dialog->findChild<MyMatrix*>(QStringLiteral("ThumbnailSizing"))->selectCellWithTag(2);
        pressDefaultButton(dialog);
        return dialog->result();
    };
    control<QAbstractButton>(540)->click();
    EXPECT_EQ(photoAlbum->settings().thumbWidth(), 150);
    EXPECT_EQ(photoAlbum->settings().thumbHeight(), 90);
    EXPECT_EQ(photoAlbum->settings().thumbAspect(), XmlWebPhotoAlbum::ThumbAspect::Centred);
    EXPECT_EQ(control<QLabel>(500)->text(), photoAlbum->settings().thumbSizeString());
}

TEST_F(InspectorActionsTest, TheCollageDialogWritesTheMiniaturesCollage)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    photoAlbum->settings().setAfterDescription(2);
    CollageParameters stored;
    stored.setNumberPhotos(4);
    stored.setStyle(1);
    stored.setWidth(480);
    stored.setHeight(240);
    photoAlbum->settings().setCollageString(stored.collageString());
    layout->setSelectedObject(photoAlbum);
    const QString before = photoAlbum->settings().collageString();

    // Untouched: the collage as the miniature makes it from what it read.
    CollageParameters reread;
    reread.setCollageString(before);
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        EXPECT_EQ(layout->albumDialogs().collageMiniView()->numberPhotos(), 4);
        EXPECT_TRUE(lq::viewWithTag(dialog, 1607)->property("checked").toBool());
        pressDefaultButton(dialog);
        return dialog->result();
    };
    control<QAbstractButton>(581)->click();
    EXPECT_EQ(photoAlbum->settings().collageString(), reread.collageString());

    // A width typed and Done pressed without leaving the field; the third layout.
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        qobject_cast<QAbstractButton*>(lq::viewWithTag(dialog, 1608))->click();
        EXPECT_EQ(layout->albumDialogs().collageMiniView()->style(), 2);
        EXPECT_FALSE(qobject_cast<QAbstractButton*>(lq::viewWithTag(dialog, 1606))->isChecked());
        EXPECT_FALSE(qobject_cast<QAbstractButton*>(lq::viewWithTag(dialog, 1607))->isChecked());
        qobject_cast<MyStepper*>(lq::viewWithTag(dialog, 1602))->stepUp();
        EXPECT_EQ(qobject_cast<MyIntegerField*>(lq::viewWithTag(dialog, 1601))->text(), QStringLiteral("5"));
        qobject_cast<QLineEdit*>(lq::viewWithTag(dialog, 1609))->setText(QStringLiteral("700"));
        pressDefaultButton(dialog);
        return dialog->result();
    };
    control<QAbstractButton>(581)->click();
    CollageParameters written;
    written.setCollageString(photoAlbum->settings().collageString());
    EXPECT_EQ(written.width(), 700);
    EXPECT_EQ(written.style(), 2);
    EXPECT_EQ(written.numberPhotos(), 5);
    EXPECT_EQ(written.height(), 240);

    // Cancel leaves the album's collage.
    const QString kept = photoAlbum->settings().collageString();
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        qobject_cast<QLineEdit*>(lq::viewWithTag(dialog, 1609))->setText(QStringLiteral("900"));
        endSheet(dialog, lq::viewWithTag(dialog, 1609), Ending::Escape);
        return dialog->result();
    };
    control<QAbstractButton>(581)->click();
    EXPECT_EQ(photoAlbum->settings().collageString(), kept);
}

// --- The Vorn Box sheet --------------------------------------------------------------------------------------

class VornBoxSheetTest : public InspectorActionsTest {
protected:
    void showVornBoxes(int count)
    {
        showPhotos();
        for (int made = 0; made < count; ++made)
            sheet->addVornBox();
        layout->elementTables().vornBoxList()->reloadData();
        layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("vornbox"));
    }
    XmlVornBox* selectedBox() const { return XmlVornBox::cast(XmlBase::UUID(layout->currentSelectedObject()).get()); }
    void press(int tag) { control<QAbstractButton>(tag)->click(); }
    bool positionShown() const { return !layout->vornBoxSheet().vornBoxPosition()->isHidden() && !layout->vornBoxSheet().vornBoxTab()->isHidden(); }
};

TEST_F(VornBoxSheetTest, TheKindShowsItsPageWithTheBoxsContent)
{
    showVornBoxes(1);
    XmlVornBox* box = sheet->getVornBoxes().first().get();
    layout->setSelectedObject(box);
    box->htmlSnippet()->setContent(QStringLiteral("<b>Hello</b>"));
    const struct {
        int kind;
        const char* item;
    } kinds[] = {{2, "HTMLsnippet"}, {1, "vorntext"}, {3, "imageonly"}, {0, "externalfile"}};
    for (const auto& k : kinds) {
        choose(1109, k.kind);
        EXPECT_EQ(box->type(), k.kind);
        EXPECT_EQ(layout->vornBoxSheet().vornBoxTab()->selectedIdentifier(), QLatin1String(k.item));
    }
    choose(1109, 2);
    EXPECT_EQ(layout->vornBoxSheet().htmlSnippetEditor()->toPlainText(), QStringLiteral("<b>Hello</b>"));
    // Typing in the snippet editor stores the snippet.
    layout->vornBoxSheet().htmlSnippetEditor()->setPlainText(QStringLiteral("<i>Bye</i>"));
    EXPECT_EQ(box->htmlSnippet()->content(), QStringLiteral("<i>Bye</i>"));

    // A kind stored out of range shows the first page.
    box->settings().setType(7);
    box->settings().setExternalType(9);
    layout->correctVornBoxUI(box);
    EXPECT_EQ(layout->vornBoxSheet().vornBoxTab()->selectedIdentifier(), QStringLiteral("externalfile"));
    EXPECT_EQ(layout->vornBoxSheet().vornBoxExternalTab()->selectedIdentifier(), QStringLiteral("default"));

    // A layer stored as any other text shows as the foreground.
    box->settings().setType(3);
    box->settings().setZlocation(QStringLiteral("Somewhere"));
    layout->correctVornBoxUI(box);
    EXPECT_EQ(control<MyPopUpButton>(1131)->currentIndex(), 2);
    choose(1131, 0);
    EXPECT_EQ(box->zlocation(), QStringLiteral("Background"));
}

TEST_F(VornBoxSheetTest, AddDeleteAndMoveWorkOnTheListsRow)
{
    showVornBoxes(1);
    press(1118);
    QList<std::shared_ptr<XmlVornBox>> boxes = sheet->getVornBoxes();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(selectedBox(), boxes.last().get());
    EXPECT_TRUE(positionShown());

    // Without a row of the list chosen, up, down and delete change nothing.
    layout->elementTables().vornBoxList()->clearSelection();
    const int changes = document.changeCount();
    for (int tag : {1140, 1141, 1119}) {
        press(tag);
        EXPECT_EQ(sheet->getVornBoxes(), boxes) << tag;
    }
    EXPECT_EQ(document.changeCount(), changes);

    // The last row up: it becomes the first, and stays selected.
    layout->elementTables().vornBoxList()->selectRow(1);
    press(1140);
    EXPECT_EQ(sheet->getVornBoxes().first(), boxes.last());
    EXPECT_EQ(selectedBox(), boxes.last().get());

    // Deleting the last row's box selects the new last box.
    layout->elementTables().vornBoxList()->selectRow(1);
    press(1119);
    ASSERT_EQ(sheet->getVornBoxes().size(), 1);
    EXPECT_EQ(selectedBox(), sheet->getVornBoxes().last().get());

    // Deleting the only box hides the position and kind controls.
    layout->elementTables().vornBoxList()->selectRow(0);
    press(1119);
    EXPECT_TRUE(sheet->getVornBoxes().isEmpty());
    EXPECT_FALSE(positionShown());
    EXPECT_TRUE(control(1109)->isHidden());
    EXPECT_TRUE(layout->layoutView()->bodyRect().isEmpty());
}

TEST_F(VornBoxSheetTest, TextFieldsAndTheRichTextReachTheBoxAsTheyAreTyped)
{
    showVornBoxes(1);
    XmlVornBox* box = sheet->getVornBoxes().first().get();
    layout->setSelectedObject(box);
    choose(1110, 3);
    EXPECT_EQ(layout->vornBoxSheet().vornBoxExternalTab()->selectedIdentifier(), QStringLiteral("image"));
    auto* link = control<MyTextField>(1126);
    link->clear();
    QTest::keyClicks(link, QStringLiteral("http"));
    EXPECT_EQ(box->settings().clickLinkTo(), QStringLiteral("http"));
    QTest::keyClicks(link, QStringLiteral("://example.org/"));
    EXPECT_EQ(box->settings().clickLinkTo(), QStringLiteral("http://example.org/"));
    EXPECT_EQ(link->text(), QStringLiteral("http://example.org/"));

    // The rich text.
    choose(1109, 1);
    lq::TextView* view = layout->vornBoxSheet().vornBoxText()->ctv();
    ASSERT_NE(view, nullptr);
    view->selectAll();
    QTest::keyClicks(view, QStringLiteral("Welcome"));
    EXPECT_TRUE(box->content().contains(QStringLiteral("Welcome"))) << qPrintable(box->content());

    // Showing the box again loads its text without storing it back.
    const QString stored = box->content();
    layout->setSelectedObject(element("Masthead"));
    document.clearChangeCount();
    layout->setSelectedObject(box);
    EXPECT_EQ(view->toPlainText(), QStringLiteral("Welcome"));
    EXPECT_EQ(box->content(), stored);
    EXPECT_EQ(document.changeCount(), 0);
}

TEST_F(VornBoxSheetTest, TheTextsDirectionButtonFollowsThePreferenceAndTurnsTheBoxsParagraph)
{
    const auto restore = qScopeGuard([kept = MyApplication::shared().enableRTL()] { MyApplication::shared().setEnableRTL(kept); });
    showVornBoxes(1);
    XmlVornBox* box = sheet->getVornBoxes().first().get();
    layout->setSelectedObject(box);
    choose(1109, 1);
    QAbstractButton* direction = layout->vornBoxSheet().vornBoxText()->controls().RTLButton;
    ASSERT_NE(direction, nullptr);

    // The window hands the preference to the sheet's editor as to the panes'.
    for (int rtl : {1, 0, 1}) {
        MyApplication::shared().setEnableRTL(rtl);
        window->setSimpleMode();
        EXPECT_EQ(direction->isHidden(), rtl == 0) << rtl;
    }

    lq::TextView* view = layout->vornBoxSheet().vornBoxText()->ctv();
    view->selectAll();
    QTest::keyClicks(view, QStringLiteral("Shalom"));
    direction->click();
    EXPECT_TRUE(box->content().contains(QStringLiteral("dir=\"rtl\""))) << qPrintable(box->content());
    // The box's text shown again turns the button on at its caret.
    layout->setSelectedObject(element("Masthead"));
    layout->setSelectedObject(box);
    view->setSelectedRange({2, 0});
    EXPECT_TRUE(direction->isChecked());
}

TEST_F(VornBoxSheetTest, TheFilePickerPreselectsTheNamedFileAndFillsTheField)
{
    showVornBoxes(1);
    XmlVornBox* box = sheet->getVornBoxes().first().get();
    layout->setSelectedObject(box);
    XmlFiles& files = *document.site()->files();
    const QString source = work.filePath(QStringLiteral("movie.html"));
    writeAll(source, "<p>movie</p>");
    ASSERT_TRUE(files.importFilename(source));
    const XmlBasePtr file = EasyLink2::elementWithPath(&files, QStringLiteral("movie.html"));
    ASSERT_NE(file, nullptr);

    const struct {
        const char* typed;
        bool preselected;
        bool pick;
        const char* result;
    } cases[] = {
        {"elsewhere.html", false, false, "elsewhere.html"},
        {"elsewhere.html", false, true, "movie.html"},
        {"movie.html", true, false, "movie.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        auto* field = control<MyTextField>(1120);
        field->setText(QString::fromUtf8(c.typed));
        layout->textChange(field);
        XmlBasePtr shown;
        modal.state->sheetAnswer = [&](QDialog* dialog) {
            XmlOutlineView* list = layout->vornBoxSheet().easyLink2().linkList();
            shown = list->selectedObject();
            if (c.pick) {
                list->selectObject(file.get());
                pressDefaultButton(dialog);
            } else {
                endSheet(dialog, list, Ending::CancelButton);
            }
            return dialog->result();
        };
        layout->vornBoxSheet().vornEasyLink();
        EXPECT_EQ(shown != nullptr, c.preselected);
        EXPECT_EQ(field->text(), QString::fromUtf8(c.result));
        EXPECT_EQ(box->settings().externalHTML(), QString::fromUtf8(c.result));
    }
}

} // namespace
