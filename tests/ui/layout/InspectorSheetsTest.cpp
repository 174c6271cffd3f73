// The inspector's sheets over the starter site: every control of a sheet is
// found by its tag and is of its kind, the sheet that follows the selection,
// what each sheet shows of its element, the border panel's picture frame,
// and the album, slideshow and PayPal sheets.
#include "ui/editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "model/site/XmlGroup.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTextField.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/SheetHands.h"
#include "templates/XmlWebFont.h"

#include <gtest/gtest.h>

namespace {

// The kinds of control a sheet's table names. An integer is a field and its
// stepper or slider (tag, tag + 1); alignment is three two-state buttons.
enum class Kind { PopUp, Integer, Well, Check, Matrix, Alignment, Label, Text, Image, Any };

struct Control {
    int tag;
    Kind kind;
};

const char* kindName(Kind kind)
{
    static const char* names[] = {"pop-up", "integer", "colour well", "check box", "matrix", "alignment", "label", "text", "image well", "view"};
    return names[int(kind)];
}

bool isNumberControl(QWidget* control)
{
    return qobject_cast<MyIntegerField*>(control) || qobject_cast<MyStepper*>(control) || qobject_cast<MySlider*>(control);
}

// What is wrong with the control of the tag in the view, "" when nothing is.
QString misfit(QWidget* view, const Control& control)
{
    QWidget* found = lq::viewWithTag(view, control.tag);
    if (!found)
        return QStringLiteral("missing");
    switch (control.kind) {
    case Kind::PopUp:
        return qobject_cast<MyPopUpButton*>(found) ? QString() : QStringLiteral("not a pop-up");
    case Kind::Integer: {
        QWidget* second = lq::viewWithTag(view, control.tag + 1);
        const bool oneField = qobject_cast<MyIntegerField*>(found) || qobject_cast<MyIntegerField*>(second);
        return oneField && isNumberControl(found) && isNumberControl(second) && found != second ? QString()
                                                                                                : QStringLiteral("not a field and its stepper");
    }
    case Kind::Well:
        return qobject_cast<MyColorWell*>(found) ? QString() : QStringLiteral("not a colour well");
    case Kind::Check:
        return qobject_cast<MyCheckBox*>(found) ? QString() : QStringLiteral("not a check box");
    case Kind::Matrix:
        return qobject_cast<MyMatrix*>(found) ? QString() : QStringLiteral("not a matrix");
    case Kind::Alignment:
        for (int which = 0; which < 3; ++which) {
            auto* button = qobject_cast<QAbstractButton*>(lq::viewWithTag(view, control.tag + which));
            if (!button || !button->isCheckable())
                return QStringLiteral("not three two-state buttons");
        }
        return QString();
    case Kind::Label:
        return qobject_cast<MyLabel*>(found) ? QString() : QStringLiteral("not a label");
    case Kind::Text:
        return qobject_cast<MyTextField*>(found) && !qobject_cast<MyIntegerField*>(found) ? QString() : QStringLiteral("not a text field");
    case Kind::Image:
        return qobject_cast<ImageWell*>(found) ? QString() : QStringLiteral("not an image well");
    case Kind::Any:
        return QString();
    }
    return QString();
}

using K = Kind;

// The four-tag groups of a menu item's state: background, its check box, text, underline.
std::vector<Control> menuItemStates()
{
    std::vector<Control> states;
    for (int base = 314; base <= 326; base += 4)
        states.insert(states.end(), {{base, K::Well}, {base + 1, K::Check}, {base + 2, K::Well}, {base + 3, K::Check}});
    return states;
}

std::vector<Control> contentFonts()
{
    std::vector<Control> fonts = {{409, K::Check}, {490, K::Integer}, {492, K::Integer}};
    for (int base = 410; base <= 440; base += 10) {
        fonts.insert(fonts.end(), {{base, K::PopUp}, {base + 1, K::Integer}, {base + 3, K::Well}, {base + 4, K::Integer},
                                      {base + 6, K::Check}, {base + 7, K::Well}, {base + 8, K::Well}, {base + 9, K::Well}});
    }
    return fonts;
}

std::vector<Control> boxFont(int hundreds)
{
    return {{hundreds + 10, K::PopUp}, {hundreds + 11, K::Integer}, {hundreds + 13, K::Well}, {hundreds + 14, K::Check},
            {hundreds + 15, K::Check}, {hundreds + 16, K::Check}, {hundreds + 17, K::Alignment}};
}

struct SheetTable {
    const char* identifier;
    std::vector<Control> controls;
};

std::vector<SheetTable> fillTables()
{
    std::vector<Control> navigation = {{350, K::Matrix}, {306, K::PopUp}, {307, K::Integer}, {309, K::Check}, {310, K::Check},
                                       {311, K::Alignment}, {330, K::Integer}, {334, K::PopUp}, {332, K::Integer},
                                       {335, K::Any}, {336, K::Integer}, {340, K::Matrix}, {351, K::Integer}, {360, K::Image},
                                       {361, K::Image}, {362, K::Image}, {363, K::Image}};
    const std::vector<Control> states = menuItemStates();
    navigation.insert(navigation.end(), states.begin(), states.end());
    return {
        {"page",
         {{110, K::PopUp}, {111, K::Well}, {160, K::Integer}, {162, K::Integer}, {164, K::Any}, {165, K::Any}, {166, K::Any},
          {167, K::Any}, {170, K::Check}, {171, K::Check}, {172, K::Check}, {112, K::Image}, {113, K::Any}}},
        {"navigation", navigation},
        {"masthead", boxFont(200)},
        {"pagetitle", boxFont(800)},
        {"footer",
         {{710, K::PopUp}, {711, K::Integer}, {713, K::Well}, {720, K::Check}, {721, K::Well}, {722, K::Well}, {723, K::Well},
          {724, K::Check}, {725, K::Check}, {727, K::PopUp}, {728, K::Check}}},
        {"vornbox", {{1109, K::PopUp}, {1130, K::Image}}},
        {"content", contentFonts()},
        {"photoalbum",
         {{500, K::Label}, {501, K::Integer}, {503, K::Integer}, {505, K::PopUp}, {542, K::Integer}, {544, K::Check},
          {506, K::PopUp}, {507, K::Integer}, {509, K::Well}, {510, K::Check}, {511, K::Check}, {512, K::Check},
          {513, K::Alignment}, {516, K::Matrix}, {580, K::Check}, {582, K::Integer}, {586, K::Check}, {550, K::PopUp},
          {596, K::Label}, {595, K::Label}, {528, K::Integer}, {530, K::Integer}}},
        {"slideshow",
         {{925, K::PopUp}, {926, K::Integer}, {929, K::Check}, {930, K::Check}, {933, K::Check}, {934, K::Check},
          {935, K::Check}, {910, K::Check}, {911, K::Check}, {912, K::Check}, {913, K::Check}, {914, K::Check},
          {953, K::Check}, {915, K::Text}, {916, K::Text}, {917, K::Text}, {918, K::Text}, {919, K::Text}, {920, K::Check},
          {936, K::Check}, {946, K::PopUp}, {976, K::PopUp}, {947, K::Integer}, {977, K::Integer}, {952, K::Well},
          {982, K::Well}, {960, K::Alignment}, {949, K::Check}, {950, K::Check}, {951, K::Check}, {955, K::Integer},
          {959, K::Check}, {963, K::Check}, {964, K::Well}, {965, K::Well}, {966, K::Well}, {970, K::Check},
          {971, K::Well}, {972, K::Well}, {973, K::Well}, {941, K::Label}, {943, K::Label}}},
        {"paypal",
         {{1201, K::PopUp}, {1202, K::Matrix}, {1209, K::Integer}, {1211, K::Integer}, {1213, K::Check}, {1214, K::Check},
          {1215, K::Check}, {1216, K::Check}, {1205, K::Image}}},
    };
}

const std::vector<Control> borderPanel = {
    {600, K::PopUp}, {601, K::Integer}, {603, K::Well}, {604, K::Integer}, {606, K::Integer}, {608, K::Well},
    {609, K::Integer}, {611, K::Integer}, {613, K::Well}, {614, K::Integer}, {616, K::Integer}, {618, K::Well},
    {619, K::Integer}, {621, K::PopUp}, {640, K::Check}, {622, K::Image}, {623, K::Well},
    {625, K::Check}, {626, K::Any}, {650, K::Label}, {651, K::Label}, {654, K::Label}, {652, K::Integer},
    {655, K::Integer}};

class InspectorSheetsTest : public PhotoPageLayoutTest {
protected:
    void showPhotos()
    {
        showPhotosWith({"Photo Album", "Slideshow", "Masthead", "Footer", "Content"});
        album()->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
        showLayoutOfPhotos();
    }
    QString front() const { return layout->tabview()->selectedIdentifier(); }
    QWidget* control(int tag) const { return layout->controlWithTag(tag); }
    MyPopUpButton* popUp(int tag) const { return qobject_cast<MyPopUpButton*>(control(tag)); }
    QString labelText(int tag) const
    {
        auto* label = qobject_cast<QLabel*>(control(tag));
        return label ? label->text() : QStringLiteral("(no label %1)").arg(tag);
    }
};

TEST_F(InspectorSheetsTest, EveryControlOfASheetsTableIsFoundByItsTagAndIsOfItsKind)
{
    showPhotos();
    for (const SheetTable& table : fillTables()) {
        SCOPED_TRACE(table.identifier);
        QWidget* view = layout->sheetView(QLatin1String(table.identifier));
        ASSERT_NE(view, nullptr);
        for (const Control& control : table.controls)
            EXPECT_EQ(misfit(view, control), QString()) << control.tag << " (" << kindName(control.kind) << ")";
    }
    for (const Control& control : borderPanel)
        EXPECT_EQ(misfit(layout->borderPanel().bbView(), control), QString()) << control.tag << " (" << kindName(control.kind) << ")";
}

TEST_F(InspectorSheetsTest, TheSheetInFrontFollowsTheSelectionAndShowsTheElement)
{
    showPhotos();
    auto* masthead = element("Masthead");
    ASSERT_NE(masthead, nullptr);
    masthead->font()->setFontSize(24);
    layout->setSelectedObject(masthead);
    EXPECT_EQ(front(), QStringLiteral("masthead"));
    EXPECT_EQ(qobject_cast<MyIntegerField*>(control(211))->intValue(), 24);
    EXPECT_EQ(qobject_cast<MyStepper*>(control(212))->value(), 24);

    // Nothing selected is the template: the slices show only for a sliced background.
    struct Background {
        int kind;
        bool slices;
    };
    for (const Background background : {Background {6, true}, Background {0, false}, Background {5, false}}) {
        SCOPED_TRACE(background.kind);
        sheet->setBkgnd(background.kind);
        layout->setSelectedObject(masthead);
        layout->setSelectedObject(nullptr);
        EXPECT_EQ(front(), QStringLiteral("page"));
        for (int tag : {160, 161, 162, 163, 164, 165, 166, 167})
            EXPECT_EQ(!control(tag)->isHidden(), background.slices) << tag;
    }

    // The footer is a content box with a sheet of its own.
    layout->setSelectedObject(element("Footer"));
    EXPECT_EQ(front(), QStringLiteral("footer"));
    layout->setSelectedObject(element("Content"));
    EXPECT_EQ(front(), QStringLiteral("content"));
}

TEST_F(InspectorSheetsTest, SelectingTheSameElementAgainReloadsItsSheetWhereverTheUserIs)
{
    showPhotos();
    auto* masthead = element("Masthead");
    ASSERT_NE(masthead, nullptr);
    layout->setSelectedObject(masthead);
    auto* colour = qobject_cast<MyColorWell*>(control(213));
    ASSERT_NE(colour, nullptr);
    colour->setActive(true);

    layout->tabview()->selectTabViewItemWithIdentifier(QStringLiteral("paypal"));
    layout->layouts = 0;
    masthead->font()->setFontSize(31);
    layout->setSelectedObject(masthead);
    EXPECT_EQ(front(), QStringLiteral("paypal"));
    EXPECT_EQ(layout->layouts, 0);
    EXPECT_EQ(qobject_cast<MyIntegerField*>(control(211))->intValue(), 31);
    EXPECT_TRUE(colour->isActive());

    // Another element: the wells of the one before no longer take colours.
    layout->setSelectedObject(element("Footer"));
    EXPECT_EQ(front(), QStringLiteral("footer"));
    EXPECT_GT(layout->layouts, 0);
    EXPECT_FALSE(colour->isActive());
}

TEST_F(InspectorSheetsTest, TheBorderPanelOffersThePictureFrameOnlyForAnAlbumsFrame)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    ASSERT_NE(photoAlbum, nullptr);
    ASSERT_NE(photoAlbum->frame(), nullptr);
    MyPopUpButton* kinds = popUp(621);
    ASSERT_NE(kinds, nullptr);
    struct Case {
        const char* element;
        int part;
        int items;
        bool dropShadow;
    };
    // Twice over: the seventh item goes with the frame and comes back with it.
    for (const Case& test : {Case {"Photo Album", 0, 7, true}, Case {"Content", 0, 6, false}, Case {"Photo Album", 0, 7, true},
                             Case {"Photo Album", 1, 6, false}, Case {"Photo Album", 0, 7, true}, Case {"Masthead", 0, 6, false}}) {
        SCOPED_TRACE(std::string(test.element) + " part " + std::to_string(test.part));
        layout->borderPanel().setPhotoalbumbbtab(test.part);
        layout->setBandB(element(test.element));
        ASSERT_EQ(kinds->count(), test.items);
        if (test.items == 7) {
            EXPECT_EQ(kinds->itemText(6), QStringLiteral("Picture Frame"));
        }
        EXPECT_EQ(!control(640)->isHidden(), test.dropShadow);
    }
}

TEST_F(InspectorSheetsTest, TheAlbumSheetShowsCaptionsAndLayout)
{
    showPhotos();
    XmlWebPhotoAlbum* photoAlbum = album();
    ASSERT_NE(photoAlbum, nullptr);
    ASSERT_NE(photoAlbum->frame(), nullptr);
    struct Captions {
        bool show;
        bool above;
        bool toolTips;
        int index;
    };
    for (const Captions captions : {Captions {true, true, false, 2}, Captions {true, false, true, 1}, Captions {false, true, true, 3},
                                    Captions {false, false, false, 0}}) {
        photoAlbum->settings().setShowCaptions(captions.show);
        photoAlbum->settings().setCaptionsAbove(captions.above);
        photoAlbum->settings().setShowToolTips(captions.toolTips);
        layout->setSelectedObject(photoAlbum);
        EXPECT_EQ(front(), QStringLiteral("photoalbum"));
        EXPECT_EQ(popUp(505)->currentIndex(), captions.index) << captions.show << captions.above << captions.toolTips;
    }

    struct Layout {
        int afterDescription;
        const char* width;
        const char* height;
    };
    for (const Layout shape : {Layout {2, "Width", "Height"}, Layout {0, "Columns", "Rows"}, Layout {1, "Columns", "Rows"}}) {
        SCOPED_TRACE(shape.afterDescription);
        photoAlbum->settings().setAfterDescription(shape.afterDescription);
        layout->setSelectedObject(photoAlbum);
        EXPECT_EQ(labelText(596), QLatin1String(shape.width));
        EXPECT_EQ(labelText(595), QLatin1String(shape.height));
        EXPECT_EQ(popUp(550)->currentIndex(), shape.afterDescription);
    }
    EXPECT_GE(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("slideshow")), 0);

    // A click that opens the picture plays no slideshow: the sheet goes.
    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
    layout->albumOptionsSet();
    EXPECT_LT(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("slideshow")), 0);
    photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowElement);
    layout->albumOptionsSet();
    EXPECT_GE(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("slideshow")), 0);
}

TEST_F(InspectorSheetsTest, AGroupPageHasNoSlideshowSheet)
{
    showPhotos();
    auto group = XmlGroup::create();
    home().addChild(group);
    group->setTemplate(sheet);
    ASSERT_NE(addPhoto(*group, QStringLiteral("hill.jpg"), Qt::darkGreen), nullptr);
    layout->setPreviewPageIndex(group->UUID(), -1);
    ASSERT_EQ(layout->getAlbum().get(), group.get());
    album()->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::SlideshowPage);
    layout->albumOptionsSet();
    EXPECT_LT(layout->tabview()->indexOfTabViewItemWithIdentifier(QStringLiteral("slideshow")), 0);
}

TEST_F(InspectorSheetsTest, TheBackgroundKindShowsTheTransparencyAndPositionControlsItUses)
{
    layout->forward = true;
    showPhotos();
    XmlBoxModel* content = element("Content");
    ASSERT_NE(content, nullptr);
    content->setBxoffset(30);
    content->setByoffset(70);
    layout->setSelectedObject(content);
    struct Case {
        int kind;
        bool transparency; // 625, 626
        bool label;        // 650
        bool across;       // 651 to 653
        bool down;         // 654 to 656
    };
    // In an order where each kind follows one that shows other controls.
    const Case cases[] = {{2, true, true, true, true},    {0, false, false, false, false}, {3, true, true, false, true},
                          {1, false, false, false, false}, {4, true, true, true, false},    {5, true, false, false, false},
                          {2, true, true, true, true}};
    const auto check = [&](const Case& c) {
        const std::pair<std::vector<int>, bool> groups[] = {
            {{625, 626}, c.transparency}, {{650}, c.label}, {{651, 652, 653}, c.across}, {{654, 655, 656}, c.down}};
        for (const auto& [tags, shown] : groups) {
            for (int tag : tags) {
                ASSERT_NE(control(tag), nullptr) << tag;
                EXPECT_EQ(!control(tag)->isHidden(), shown) << "kind " << c.kind << ", control " << tag;
            }
        }
        // The position shows whether or not its controls do.
        EXPECT_EQ(qobject_cast<MyIntegerField*>(control(652))->intValue(), 30) << c.kind;
        EXPECT_EQ(qobject_cast<MyIntegerField*>(control(655))->intValue(), 70) << c.kind;
    };
    // The kind stored in the element, as the panel loads it.
    for (const Case& c : cases) {
        content->setBkgnd(c.kind);
        layout->setSelectedObject(content);
        check(c);
    }
    // The kind chosen in the pop-up.
    for (const Case& c : cases) {
        choosePopUpItem(popUp(621), c.kind);
        EXPECT_EQ(content->bkgnd(), c.kind);
        check(c);
    }
}

TEST_F(InspectorSheetsTest, TheAlbumOptionsAreHiddenOnAGroupPageAndShownOnAnAlbumPage)
{
    showPhotos();
    // A group of one album page: the group's album shows the page.
    auto group = XmlGroup::create();
    home().addChild(group);
    group->setTemplate(sheet);
    auto hills = XmlAlbum::create();
    group->addChild(hills);
    hills->setTemplate(sheet);
    ASSERT_NE(addPhoto(*hills, QStringLiteral("hill.jpg"), Qt::darkGreen), nullptr);
    ASSERT_NE(layout->photoAlbumSheet().paOptions(), nullptr);
    for (const std::shared_ptr<XmlAlbum>& shown : {std::static_pointer_cast<XmlAlbum>(group), photos,
                                                   std::static_pointer_cast<XmlAlbum>(group), photos}) {
        layout->setPreviewPageIndex(shown->UUID(), -1);
        layout->setSelectedObject(album());
        EXPECT_EQ(front(), QStringLiteral("photoalbum"));
        EXPECT_EQ(layout->photoAlbumSheet().paOptions()->isHidden(), shown == group) << qPrintable(shown->name());
    }
}

TEST_F(InspectorSheetsTest, TheSlideshowSheetOffersBeforeAndAfterOnlyWhenEnabled)
{
    showPhotos();
    auto* slideshow = element<XmlSlideshow>("Slideshow");
    ASSERT_NE(slideshow, nullptr);
    slideshow->settings().setStyle(3);
    slideshow->settings().setPlayLabel(QStringLiteral("Go"));
    slideshow->settings().setStopLabel(QStringLiteral("Halt"));
    slideshow->settings().setBeforeLabel(QStringLiteral("Then"));
    slideshow->settings().setAfterLabel(QStringLiteral("Now"));
    struct Case {
        int enabled;
        int items;
        const char* first;
        const char* second;
        const char* firstText;
        const char* secondText;
    };
    for (const Case test : {Case {0, 2, "Play", "Stop", "Go", "Halt"}, Case {1, 4, "Before", "After", "Then", "Now"},
                            Case {0, 2, "Play", "Stop", "Go", "Halt"}}) {
        SCOPED_TRACE(test.enabled);
        MyApplication::shared().setEnableBeforeAfter(test.enabled);
        layout->setSelectedObject(slideshow);
        ASSERT_EQ(popUp(925)->count(), test.items);
        EXPECT_EQ(labelText(941), QLatin1String(test.first));
        EXPECT_EQ(labelText(943), QLatin1String(test.second));
        EXPECT_EQ(qobject_cast<QLineEdit*>(control(917))->text(), QLatin1String(test.firstText));
        EXPECT_EQ(qobject_cast<QLineEdit*>(control(918))->text(), QLatin1String(test.secondText));
        EXPECT_EQ(!control(933)->isHidden(), test.enabled == 1);
        EXPECT_EQ(!control(926)->isHidden(), test.enabled == 0);
        EXPECT_TRUE(control(935)->isHidden());
    }
}

} // namespace
