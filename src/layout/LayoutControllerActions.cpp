// What the inspector's controls send, written back into the template and
// its elements: action (the element sheets), action3 (the border and
// background panel), action2 (the Properties and Borders buttons and the
// Vorn Box list), textChange and textDidChange (text fields and views), and
// the correction of a number its field refused.
#include "layout/LayoutController.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/InspectorTags.h"
#include "layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ControlValues.h"
#include "platform/widgets/MyColorWell.h"
#include "platform/widgets/MyIntegerField.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyStepper.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTextView.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>

#include <map>

namespace {

// --- The value a control holds ----------------------------------------------------------------------

int intValueOf(QWidget* control)
{
    if (auto* field = qobject_cast<MyIntegerField*>(control))
        return field->intValue();
    if (auto* stepper = qobject_cast<QSpinBox*>(control))
        return stepper->value();
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->text().trimmed().toInt();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->isChecked() ? 1 : 0;
    return 0;
}

bool stateOf(QWidget* control)
{
    auto* button = qobject_cast<QAbstractButton*>(control);
    return button ? button->isChecked() : intValueOf(control) != 0;
}

int indexOf(QWidget* control)
{
    auto* popUp = qobject_cast<QComboBox*>(control);
    return popUp ? popUp->currentIndex() : -1;
}

int cellTagOf(QWidget* control)
{
    auto* matrix = qobject_cast<MyMatrix*>(control);
    return matrix ? matrix->selectedTag() : -1;
}

lq::Colour colourOf(QWidget* control)
{
    auto* well = qobject_cast<MyColorWell*>(control);
    return lq::Colour::fromQColor(well ? well->color() : QColor());
}

void showPlainText(MyTextView* view, const XmlBase* stored)
{
    const QSignalBlocker quiet(view);
    view->setPlainText(stored ? stored->content() : QString());
}

// --- The font groups --------------------------------------------------------------------------------

enum class FontField {
    Face, Size, Colour, Underline, Italic, Bold, Alignment, LineSpacing, UnderlineLinks, LinkNormal, LinkHover, LinkClicked
};

struct FontControl {
    FontField field;
    // The first tag of the field's controls: a number's field, the first
    // of the three alignment buttons.
    int first;
};

// Every font control of the sheets by its tag.
const std::map<int, FontControl>& fontControls()
{
    static const std::map<int, FontControl> controls = [] {
        std::map<int, FontControl> made;
        const auto add = [&](FontField field, std::initializer_list<int> firsts, int width) {
            for (int first : firsts) {
                for (int tag = first; tag < first + width; ++tag)
                    made[tag] = {field, first};
            }
        };
        add(FontField::Face, {210, 306, 410, 420, 430, 440, 506, 710, 810, 946, 976}, 1);
        add(FontField::Size, {211, 307, 411, 421, 431, 441, 507, 711, 811, 947, 977}, 2);
        add(FontField::Colour, {213, 413, 423, 433, 443, 509, 713, 813, 952, 982}, 1);
        add(FontField::Underline, {214, 510, 814, 949}, 1);
        add(FontField::Italic, {215, 309, 511, 715, 815, 950}, 1);
        add(FontField::Bold, {216, 310, 512, 816, 951}, 1);
        add(FontField::Alignment, {217, 311, 513, 817, 960}, 3);
        add(FontField::LineSpacing, {414, 424, 434, 444, 955}, 2);
        add(FontField::UnderlineLinks, {416, 426, 436, 446, 720, 963, 970}, 1);
        add(FontField::LinkNormal, {417, 427, 437, 447, 721, 964, 971}, 1);
        add(FontField::LinkHover, {418, 428, 438, 448, 722, 965, 972}, 1);
        add(FontField::LinkClicked, {419, 429, 439, 449, 723, 966, 973}, 1);
        return made;
    }();
    return controls;
}

bool isSlideshowControlFont(int tag)
{
    return (tag >= 949 && tag <= 951) || (tag >= 970 && tag <= 973) || (tag >= 976 && tag <= 978) || tag == 982;
}

// The font record a font control of the tag edits, for the selected element.
std::shared_ptr<XmlWebFont> fontForTag(int tag, XmlBoxModel* element)
{
    if (!element)
        return nullptr;
    if (auto* content = XmlWebContent::cast(element)) {
        if (tag >= 420 && tag <= 429)
            return content->heading();
        if (tag >= 430 && tag <= 439)
            return content->subheading();
        if (tag >= 440 && tag <= 449)
            return content->caption();
    }
    if (auto* slideshow = XmlSlideshow::cast(element); slideshow && isSlideshowControlFont(tag))
        return slideshow->controlFont();
    return element->font();
}

void applyFontControl(XmlWebFont& font, const FontControl& control, int tag, QWidget* sender)
{
    switch (control.field) {
    case FontField::Face: font.setFont(indexOf(sender)); break;
    case FontField::Size: font.setFontSize(intValueOf(sender)); break;
    case FontField::Colour: font.setFontColor(colourOf(sender)); break;
    case FontField::Underline: font.setUnderline(stateOf(sender)); break;
    case FontField::Italic: font.setItalic(stateOf(sender)); break;
    case FontField::Bold: font.setBold(stateOf(sender)); break;
    case FontField::Alignment: {
        const int alignment = tag - control.first;
        font.setAlignment(static_cast<XmlWebFont::Alignment>(alignment));
        lq::showAlignment(sender->parentWidget(), control.first, alignment);
        break;
    }
    case FontField::LineSpacing: font.setLineSpacing(intValueOf(sender)); break;
    case FontField::UnderlineLinks: font.setUnderlineLinks(stateOf(sender)); break;
    case FontField::LinkNormal: font.setLinkNormal(colourOf(sender)); break;
    case FontField::LinkHover: font.setLinkHover(colourOf(sender)); break;
    case FontField::LinkClicked: font.setLinkClicked(colourOf(sender)); break;
    }
}

// --- Position and size --------------------------------------------------------------------------------

enum class Placement { Top, Height, Left, Width, Voffset };

// The position and size fields of every element sheet but the photo
// album's, by tag (a field and its stepper).
const std::map<int, Placement>& placementControls()
{
    static const std::map<int, Placement> controls = [] {
        std::map<int, Placement> made;
        const auto add = [&](Placement placement, std::initializer_list<int> firsts) {
            for (int first : firsts) {
                made[first] = placement;
                made[first + 1] = placement;
            }
        };
        add(Placement::Top, {200, 300, 400, 800, 900, 1100});
        add(Placement::Voffset, {700});
        add(Placement::Height, {202, 406, 702, 802, 902, 1102});
        add(Placement::Left, {205, 302, 402, 705, 805, 905, 1105});
        add(Placement::Width, {207, 304, 404, 707, 807, 907, 1107});
        return made;
    }();
    return controls;
}

void applyPlacement(XmlBoxModel& element, Placement placement, int value)
{
    switch (placement) {
    case Placement::Top: element.setTop(value); break;
    case Placement::Height: element.setHeight(value); break;
    case Placement::Left: element.setLeft(value); break;
    case Placement::Width: element.setWidth(value); break;
    case Placement::Voffset:
        if (auto* footer = XmlWebFooter::cast(&element))
            footer->setVoffset(value);
        break;
    }
}

// The border panel's four sides: width, colour and padding tags.
struct BorderSide {
    int width;
    int colour;
    int padding;
    void (XmlBoxModel::*setWidth)(int);
    void (XmlBoxModel::*setColour)(const lq::Colour&);
    void (XmlBoxModel::*setPadding)(int);
    void (XmlWebMenu::*setItemWidth)(int);
    void (XmlWebMenu::*setItemColour)(const lq::Colour&);
    void (XmlWebMenu::*setItemPadding)(int);
};

const BorderSide borderSides[] = {
    {601, 603, 604, &XmlBoxModel::setBt, &XmlBoxModel::setBtColor, &XmlBoxModel::setPt, &XmlWebMenu::setMibt, &XmlWebMenu::setMibtc,
        &XmlWebMenu::setMipt},
    {606, 608, 609, &XmlBoxModel::setBl, &XmlBoxModel::setBlColor, &XmlBoxModel::setPl, &XmlWebMenu::setMibl, &XmlWebMenu::setMiblc,
        &XmlWebMenu::setMipl},
    {611, 613, 614, &XmlBoxModel::setBr, &XmlBoxModel::setBrColor, &XmlBoxModel::setPr, &XmlWebMenu::setMibr, &XmlWebMenu::setMibrc,
        &XmlWebMenu::setMipr},
    {616, 618, 619, &XmlBoxModel::setBb, &XmlBoxModel::setBbColor, &XmlBoxModel::setPb, &XmlWebMenu::setMibb, &XmlWebMenu::setMibbc,
        &XmlWebMenu::setMipb},
};

// The Properties (N99) and Borders (N98) buttons of the sheets.
bool isSheetModeButton(int tag)
{
    const int hundreds = tag / 100;
    const int last = tag % 100;
    const bool sheet = hundreds == 2 || hundreds == 3 || hundreds == 4 || hundreds == 5 || hundreds == 7 || hundreds == 8
        || hundreds == 9 || hundreds == 10 || hundreds == 11 || hundreds == 19;
    return sheet && (last == 98 || last == 99);
}

} // namespace

// --- action -----------------------------------------------------------------------------------------------

void LayoutController::pairNumberControls(QWidget* sender)
{
    QWidget* row = sender->parentWidget();
    const int tag = lq::widgetTag(sender);
    if (!row)
        return;
    if (auto* field = qobject_cast<MyIntegerField*>(sender)) {
        if (auto* stepper = qobject_cast<MyStepper*>(lq::viewWithTag(row, tag + 1))) {
            const QSignalBlocker quiet(stepper);
            stepper->setValue(field->intValue());
        }
    } else if (auto* stepper = qobject_cast<MyStepper*>(sender)) {
        if (auto* field = qobject_cast<MyIntegerField*>(lq::viewWithTag(row, tag - 1)))
            field->setIntValue(stepper->value());
    }
}

XmlBasePtr LayoutController::beginAction(QWidget* sender)
{
    pairNumberControls(sender);
    // The area the selection covers before the change is repainted.
    _layoutView->redisplayObject();
    return XmlBase::UUID(_currentSelectedObject);
}

void LayoutController::action(QWidget* sender)
{
    lq::uiFrame(this, "action:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet || !sender)
            return;
        const XmlBasePtr selected = beginAction(sender);
        XmlBoxModel* element = XmlBoxModel::cast(selected.get());
        if (applyAction(sender, lq::widgetTag(sender), *sheet, element))
            finishAction(element);
    });
}

void LayoutController::finishAction(XmlBoxModel* element)
{
    if (element) {
        element->relayoutFlags(getAlbum().get(), 0);
        _layoutView->fitMe();
        _layoutView->setBodyRect(element->objectRect());
    } else {
        _layoutView->fitMe();
    }
    _layoutView->redisplayObject();
}

void LayoutController::relayoutTemplate(XmlStyleSheet& sheet, bool withPage)
{
    sheet.relayoutFlags(withPage ? getAlbum().get() : nullptr, 0);
    _layoutView->update();
}

bool LayoutController::applyAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element)
{
    if (tag >= 110 && tag < 200)
        return applyPageAction(sender, tag, sheet);
    if (const auto found = placementControls().find(tag); found != placementControls().end()) {
        if (element && !XmlWebPhotoAlbum::cast(element))
            applyPlacement(*element, found->second, intValueOf(sender));
        return true;
    }
    if (const auto found = fontControls().find(tag); found != fontControls().end()) {
        if (const std::shared_ptr<XmlWebFont> font = fontForTag(tag, element))
            applyFontControl(*font, found->second, tag, sender);
        return true;
    }
    if (tag >= 314 && tag <= 352)
        return applyNavigationAction(sender, tag, XmlWebMenu::cast(element));
    if (tag == 409) {
        if (auto* content = XmlWebContent::cast(element))
            content->setExtendPage(stateOf(sender));
        _layoutView->update();
        return true;
    }
    if (tag == 490 || tag == 491)
        sheet.setVerticalSpace(intValueOf(sender));
    else if (tag == 492 || tag == 493)
        sheet.setHorizontalSpace(intValueOf(sender));
    else if (tag >= 500 && tag <= 599)
        return applyPhotoAlbumAction(sender, tag, sheet, XmlWebPhotoAlbum::cast(element));
    else if (tag >= 724 && tag <= 728)
        applyFooterAction(sender, tag, XmlWebFooter::cast(element));
    else if (tag >= 910 && tag <= 999)
        return applySlideshowAction(sender, tag, sheet, XmlSlideshow::cast(element));
    else if (tag >= 1109 && tag <= 1132)
        applyVornBoxAction(sender, tag, sheet, XmlVornBox::cast(element));
    else if (tag >= 1201 && tag <= 1216)
        applyPayPalAction(sender, tag, sheet);
    return true;
}

bool LayoutController::applyPageAction(QWidget* sender, int tag, XmlStyleSheet& sheet)
{
    switch (tag) {
    case 110:
        sheet.setBkgnd(indexOf(sender));
        showSliceControls(sheet);
        break;
    case 111: sheet.setBkgndColor(colourOf(sender)); break;
    case InspectorTag::pageImageWell: break; // the well has changed the picture itself
    case 160:
    case 161: sheet.setTopSlice(intValueOf(sender)); break;
    case 162:
    case 163: sheet.setBottomSlice(intValueOf(sender)); break;
    case 170: sheet.setCenterHorz(stateOf(sender)); break;
    case 171: sheet.setCenterVert(stateOf(sender)); break;
    case 172: sheet.setBrowserFlow(stateOf(sender)); return true;
    default: return true;
    }
    _layoutView->update();
    return true;
}

bool LayoutController::applyNavigationAction(QWidget* sender, int tag, XmlWebMenu* menu)
{
    if (!menu)
        return true;
    if (tag >= 314 && tag <= 329) {
        // Four tags per item state: background, its check box, text, underline.
        using Colour = void (XmlWebMenu::*)(const lq::Colour&);
        using Flag = void (XmlWebMenu::*)(bool);
        using Underline = void (XmlWebMenu::*)(int);
        static const Colour backgrounds[] = {&XmlWebMenu::setCurrentBkgnd, &XmlWebMenu::setNormalBkgnd, &XmlWebMenu::setHoverBkgnd,
            &XmlWebMenu::setClickBkgnd};
        static const Flag shown[] = {&XmlWebMenu::setCurrentBkgndEn, &XmlWebMenu::setNormalBkgndEn, &XmlWebMenu::setHoverBkgndEn,
            &XmlWebMenu::setClickBkgndEn};
        static const Colour texts[] = {&XmlWebMenu::setCurrentText, &XmlWebMenu::setNormalText, &XmlWebMenu::setHoverText,
            &XmlWebMenu::setClickText};
        static const Underline underlines[] = {&XmlWebMenu::setCurrentUnderline, &XmlWebMenu::setNormalUnderline,
            &XmlWebMenu::setHoverUnderline, &XmlWebMenu::setClickUnderline};
        const int state = (tag - 314) / 4;
        switch ((tag - 314) % 4) {
        case 0: (menu->*backgrounds[state])(colourOf(sender)); break;
        case 1: (menu->*shown[state])(stateOf(sender)); break;
        case 2: (menu->*texts[state])(colourOf(sender)); break;
        case 3: (menu->*underlines[state])(stateOf(sender) ? 1 : 0); break;
        }
        return true;
    }
    switch (tag) {
    case 330:
    case 331: menu->setMispace(intValueOf(sender)); break;
    case 332:
    case 333:
        menu->setMiWidth(intValueOf(sender));
        _layoutView->update();
        break;
    case 334:
        menu->setOrientation(indexOf(sender));
        showItemWidthControls(*menu);
        _layoutView->update();
        break;
    case 336:
    case 337: menu->setSubFontSize(intValueOf(sender)); break;
    case 340: menu->setNavTypeForGroup(cellTagOf(sender) - 341); break;
    case 350:
        menu->setUseGraphicRollover(cellTagOf(sender) != 0);
        // Picture items stand side by side at a fixed width.
        if (menu->useGraphicRollover() && menu->orientation() == 1)
            menu->setOrientation(2);
        fillNavigationSheet(*menu);
        break;
    case 351:
    case 352: menu->setIndentSubmenu(intValueOf(sender)); break;
    default: break;
    }
    return true;
}

bool LayoutController::applyPhotoAlbumAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlWebPhotoAlbum* album)
{
    if (!album)
        return true;
    QWidget* view = sheetView(QStringLiteral("photoalbum"));
    const bool freeStyle = album->afterDescription() == 2;
    switch (tag) {
    case 501:
    case 502: album->setSpaceColumns(intValueOf(sender)); break;
    case 503:
    case 504: album->setSpaceRows(intValueOf(sender)); break;
    case 505: {
        const int index = indexOf(sender);
        if (index < 0 || index > 3)
            break;
        // None, below the photos, above them, tool tips only.
        album->setShowCaptions(index == 1 || index == 2);
        if (index == 1 || index == 2)
            album->setCaptionsAbove(index == 2);
        album->setShowToolTips(index == 3);
        break;
    }
    case 516:
        album->setClickOp(static_cast<XmlWebPhotoAlbum::ClickOperation>(cellTagOf(sender) - 517));
        albumOptionsSet();
        relayoutTemplate(sheet, false);
        return false;
    case 524:
    case 525: album->setTop(intValueOf(sender)); break;
    case 526:
    case 527: album->setLeft(intValueOf(sender)); break;
    case 528:
    case 529:
        if (freeStyle)
            album->setWidth(intValueOf(sender));
        else
            album->setCols(intValueOf(sender));
        break;
    case 530:
    case 531:
        if (freeStyle)
            album->setHeight(intValueOf(sender));
        else
            album->setRows(intValueOf(sender));
        break;
    case 540:
        changeThumbnailSize(album);
        lq::showText(view, 500, album->thumbSizeString());
        break;
    case 542:
    case 543: album->setCaptionSpace(intValueOf(sender)); break;
    case 544: album->setFirstLine(stateOf(sender)); break;
    case 550:
        album->setAfterDescription(indexOf(sender));
        showAlbumLayout(*album);
        lq::showNumberPair(view, 524, album->top());
        lq::showNumberPair(view, 526, album->left());
        relayoutTemplate(sheet, true);
        break;
    case 580:
        album->setHasCollage(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 581: changeCollageSettings(album); break;
    case 582:
    case 583:
        album->setNumFloatingRects(intValueOf(sender));
        relayoutTemplate(sheet, true);
        break;
    case 586:
        album->setAutoCropFreestyle(intValueOf(sender));
        relayoutTemplate(sheet, true);
        break;
    default: break;
    }
    return true;
}

void LayoutController::applyFooterAction(QWidget* sender, int tag, XmlWebFooter* footer)
{
    if (!footer)
        return;
    switch (tag) {
    case 724: footer->setCreatedWith(stateOf(sender)); break;
    case 725: footer->setViewCounter(stateOf(sender)); break;
    case 727: footer->setTrog(indexOf(sender) == 1); break;
    case 728: footer->setUseHtmlSnippet(stateOf(sender)); break;
    default: break;
    }
}

bool LayoutController::applySlideshowAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlSlideshow* slideshow)
{
    if (!slideshow)
        return true;
    const bool on = stateOf(sender);
    // The check boxes that change what the slideshow shows: the template
    // lays it out again, and the end steps are left out.
    const auto shown = [&](void (XmlSlideshow::*setter)(bool)) {
        (slideshow->*setter)(on);
        relayoutTemplate(sheet, true);
        return false;
    };
    switch (tag) {
    case 910:
        slideshow->setShowBkgndBox(on);
        relayoutTemplate(sheet, true);
        return true;
    case 911:
        slideshow->setShowCaptions(on ? 1 : 0);
        relayoutTemplate(sheet, true);
        return false;
    case 912: return shown(&XmlSlideshow::setShowPrevNextControls);
    case 913:
        return shown(slideshow->style() == 0 || slideshow->style() == 1 ? &XmlSlideshow::setShowPlayControls
                                                                          : &XmlSlideshow::setShowBeforeAfterControls);
    case 914: return shown(&XmlSlideshow::setShowIndexLabel);
    case 953: return shown(&XmlSlideshow::setTopAlignPic);
    case 959: return shown(&XmlSlideshow::setAllowBkgndImage);
    case 920: slideshow->setLoopSlideshow(on); return false;
    case 936: slideshow->setRandomOrder(on); return false;
    case InspectorTag::slideshowStyle: {
        slideshow->setStyle(indexOf(sender));
        showSlideshowStyle(*slideshow);
        QWidget* view = sheetView(QStringLiteral("slideshow"));
        const bool playing = slideshow->style() == 0 || slideshow->style() == 1;
        lq::showState(view, 913, playing ? slideshow->showPlayControls() : slideshow->showBeforeAfterControls());
        lq::showText(view, 917, playing ? slideshow->playLabel() : slideshow->beforeLabel());
        lq::showText(view, 918, playing ? slideshow->stopLabel() : slideshow->afterLabel());
        relayoutTemplate(sheet, false);
        return true;
    }
    case 926:
    case 927: slideshow->setSeconds(intValueOf(sender)); break;
    case 929: slideshow->setAutoStart(on); break;
    case 930: slideshow->setFade(on); break;
    case 933: slideshow->setThumbRollovers(on); break;
    case 934: slideshow->setSlideRollovers(on); break;
    case 935: slideshow->setReverseThumbs(on); break;
    default: break;
    }
    return true;
}

void LayoutController::applyPayPalAction(QWidget* sender, int tag, XmlStyleSheet& sheet)
{
    const XmlBasePtr found = sheet.getElementWithName(QStringLiteral("Photo Album"));
    XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(found.get());
    if (!album)
        return;
    switch (tag) {
    case 1201:
        album->setCartType(static_cast<XmlWebPhotoAlbum::CartType>(indexOf(sender)));
        album->setDefaultButtonHTML();
        showPlainText(_payPalHTML, album->buttonHTML());
        sizePayPalButton(*album);
        break;
    case 1202:
        album->setButtonType(cellTagOf(sender) - 1203);
        sizePayPalButton(*album);
        break;
    case 1206:
        album->setDefaultThumbnailText();
        showPlainText(_payPalThumbnail, album->thumbnailText());
        relayoutTemplate(sheet, true);
        break;
    case 1207:
        album->setDefaultSlideshowText();
        showPlainText(_payPalSlideshow, album->slideshowText());
        relayoutTemplate(sheet, true);
        break;
    case 1208:
        album->setDefaultButtonHTML();
        showPlainText(_payPalHTML, album->buttonHTML());
        break;
    case 1209:
    case 1210: album->setButtonWidth(intValueOf(sender)); break;
    case 1211:
    case 1212: album->setButtonHeight(intValueOf(sender)); break;
    case 1213:
        album->setThumbnailCaption(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 1214: album->setThumbnailButton(stateOf(sender) ? 1 : 0); break;
    case 1215:
        album->setSlideshowCaption(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 1216: album->setSlideshowButton(stateOf(sender) ? 1 : 0); break;
    default: break;
    }
}

void LayoutController::sizePayPalButton(XmlWebPhotoAlbum& album)
{
    // Another button is the user's own picture, of its own size.
    if (album.buttonType() != 0)
        return;
    if (album.cartType() == XmlWebPhotoAlbum::CartType::BuyNow) {
        album.setButtonWidth(86);
        album.setButtonHeight(21);
    } else if (album.cartType() == XmlWebPhotoAlbum::CartType::AddToCart) {
        album.setButtonWidth(96);
        album.setButtonHeight(21);
    }
    albumOptionsSet();
}

// --- action3: the border and background panel --------------------------------------------------------------

void LayoutController::action3(QWidget* sender)
{
    lq::uiFrame(this, "action3:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        if (!sheet || !sender)
            return;
        const XmlBasePtr selected = beginAction(sender);
        XmlBoxModel* element = XmlBoxModel::cast(selected.get());
        if (element)
            applyBorderAction(sender, lq::widgetTag(sender), *element);
        if (element)
            element->relayoutFlags(nullptr, 0);
        _layoutView->redisplayObject();
    });
}

void LayoutController::applyBorderAction(QWidget* sender, int tag, XmlBoxModel& element)
{
    // The target: the element, its menu items, or its picture frame.
    XmlBoxModel* target = &element;
    XmlWebMenu* items = nullptr;
    if (auto* menu = XmlWebMenu::cast(&element); menu && _navigationbbtab != 1)
        items = menu;
    else if (auto* album = XmlWebPhotoAlbum::cast(&element); album && _photoalbumbbtab != 1)
        target = album->frame().get();
    else if (auto* slideshow = XmlSlideshow::cast(&element); slideshow && _slideshowbbtab != 1)
        target = slideshow->frame().get();

    if (tag == InspectorTag::partSelector) {
        const int part = cellTagOf(sender) - InspectorTag::firstPartCell;
        if (XmlWebMenu::cast(&element))
            _navigationbbtab = part;
        else if (XmlWebPhotoAlbum::cast(&element))
            _photoalbumbbtab = part;
        else if (XmlSlideshow::cast(&element))
            _slideshowbbtab = part;
        setBandB(&element);
        return;
    }
    if (!target)
        return;
    const int value = intValueOf(sender);
    if (tag == 600) {
        if (items)
            items->setMibtype(indexOf(sender));
        else
            target->setBType(static_cast<XmlBoxModel::BorderType>(indexOf(sender)));
        return;
    }
    for (const BorderSide& side : borderSides) {
        if (tag == side.width || tag == side.width + 1) {
            if (items)
                (items->*side.setItemWidth)(value);
            else
                (target->*side.setWidth)(value);
            return;
        }
        if (tag == side.colour) {
            if (items)
                (items->*side.setItemColour)(colourOf(sender));
            else
                (target->*side.setColour)(colourOf(sender));
            return;
        }
        if (tag == side.padding || tag == side.padding + 1) {
            if (items)
                (items->*side.setItemPadding)(value);
            else
                (target->*side.setPadding)(value);
            return;
        }
    }
    switch (tag) {
    case InspectorTag::backgroundKind:
        if (!items)
            target->setBkgnd(indexOf(sender));
        // A menu's items have no background of their own: the panel shows the menu's.
        showBackgroundControls(target->bkgnd());
        break;
    case 623:
        if (!items)
            target->setBkgndColor(colourOf(sender));
        break;
    case 625: target->setTransparentBkgnd(stateOf(sender) ? 1 : 0); break;
    case InspectorTag::dropShadow: target->setDropShadow(stateOf(sender) ? 1 : 0); break;
    case 652:
    case 653: target->setBxoffset(value); break;
    case 655:
    case 656: target->setByoffset(value); break;
    default: break;
    }
}

// --- action2: Properties and Borders, and the Vorn Box list -------------------------------------------------

void LayoutController::action2(QWidget* sender)
{
    lq::uiFrame(this, "action2:", [&] {
        if (!sender)
            return;
        const int tag = lq::widgetTag(sender);
        if (isSheetModeButton(tag)) {
            _borderMode = tag % 100 == 98;
            tabViewDidSelectTabViewItem(_tabview, _tabview->selectedIdentifier());
            return;
        }
        vornBoxListAction(tag);
    });
}

// --- Text fields and text views --------------------------------------------------------------------------------

void LayoutController::textChange(QWidget* sender)
{
    lq::uiFrame(this, "textChange:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
        auto* field = qobject_cast<QLineEdit*>(sender);
        if (!sheet || !field)
            return;
        const int tag = lq::widgetTag(sender);
        const QString text = field->text();
        const XmlBasePtr named = sheet->getElementWithName(QStringLiteral("Slideshow"));
        XmlSlideshow* slideshow = XmlSlideshow::cast(named.get());
        const bool playing = slideshow && (slideshow->style() == 0 || slideshow->style() == 1);
        if (slideshow) {
            switch (tag) {
            case 915: slideshow->setPrevLabel(text); break;
            case 916: slideshow->setNextLabel(text); break;
            case 917: playing ? slideshow->setPlayLabel(text) : slideshow->setBeforeLabel(text); break;
            case 918: playing ? slideshow->setStopLabel(text) : slideshow->setAfterLabel(text); break;
            case 919: slideshow->setIndexLabel(text); break;
            default: break;
            }
        }
        const XmlBasePtr current = XmlBase::UUID(sheet->currentWidget());
        XmlVornBox* box = XmlVornBox::cast(current.get());
        if (box && (tag == 1120 || tag == 1126 || tag == 1128))
            applyVornBoxText(tag, text, *box);

        const std::shared_ptr<XmlAlbum> page = getAlbum();
        if (slideshow)
            slideshow->relayoutFlags(page.get(), 0);
        const bool labelOrLink = (tag >= 915 && tag <= 919) || tag == 1120 || tag == 1126 || tag == 1128;
        if (labelOrLink && box) {
            box->relayoutFlags(page.get(), 0);
            _layoutView->setBodyRect(box->objectRect());
        }
        _layoutView->redisplayObject();
    });
}

void LayoutController::textDidChange(QWidget* view)
{
    const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
    if (!sheet || !view)
        return;
    auto* textView = qobject_cast<QTextEdit*>(view);
    if (!textView)
        return;
    const QString text = textView->toPlainText();
    if (view == _htmlSnippetEditor) {
        const XmlBasePtr current = XmlBase::UUID(sheet->currentWidget());
        if (auto* box = XmlVornBox::cast(current.get()))
            box->htmlSnippet()->setContent(text);
        return;
    }
    if (view == _footerSnippetEditor) {
        const XmlBasePtr footer = sheet->getElementWithName(QStringLiteral("Footer"));
        if (auto* found = XmlWebFooter::cast(footer.get())) {
            found->htmlSnippet()->setContent(text);
            _layoutView->update();
        }
        return;
    }
    const XmlBasePtr found = sheet->getElementWithName(QStringLiteral("Photo Album"));
    auto* album = XmlWebPhotoAlbum::cast(found.get());
    if (!album)
        return;
    if (view == _payPalHTML) {
        album->buttonHTML()->setContent(text);
    } else if (view == _payPalThumbnail) {
        album->thumbnailText()->setContent(text);
        relayoutTemplate(*sheet, true);
    } else if (view == _payPalSlideshow) {
        album->slideshowText()->setContent(text);
        relayoutTemplate(*sheet, true);
    }
}

// --- A number its field refused ------------------------------------------------------------------------

void LayoutController::watchNumberFields(QWidget* view)
{
    for (MyIntegerField* field : view->findChildren<MyIntegerField*>()) {
        connect(field, &MyIntegerField::formatError, this, [this, field](const QString& reason) {
            controlDidFailToFormatStringErrorDescription(field, field->text(), reason);
        });
    }
}

bool LayoutController::controlDidFailToFormatStringErrorDescription(MyIntegerField* field, const QString&, const QString& error)
{
    if (!field)
        return true;
    // The stepper beside the field knows the range; a field alone its own.
    const auto* stepper = qobject_cast<MyStepper*>(lq::viewWithTag(field->parentWidget(), lq::widgetTag(field) + 1));
    const int maximum = stepper ? stepper->maximum() : field->maximum();
    const int minimum = stepper ? stepper->minimum() : field->minimum();
    QString replacement = QString::asprintf("%d", stepper ? stepper->value() : field->intValue());
    if (error == u"Maximum exceeded")
        replacement = QString::asprintf("%f", double(maximum));
    else if (error == u"Fell short of minimum")
        replacement = QString::asprintf("%f", double(minimum));

    // The correction belongs to the element selected now: once another is
    // selected, the field shows that one's value and neither step runs.
    const QString key = QStringLiteral("formatCorrection:") + QString::number(reinterpret_cast<quintptr>(field));
    const QString selection = _currentSelectedObject;
    const QPointer<MyIntegerField> guarded(field);
    const auto stillMeant = [this, guarded, selection] { return guarded && _currentSelectedObject == selection; };
    lq::cancel(this, key);
    lq::performAfter(this, key, 0.2, [guarded, stillMeant, replacement] {
        if (stillMeant())
            guarded->setStringValue(replacement);
    });
    // The field's own action again: a field of the border panel sends action3.
    const bool borderPanel = lq::widgetTag(field) / 100 == 6;
    lq::performAfter(this, key, 0.3, [this, guarded, stillMeant, borderPanel] {
        if (!stillMeant())
            return;
        if (borderPanel)
            action3(guarded);
        else
            action(guarded);
    });
    return true;
}
