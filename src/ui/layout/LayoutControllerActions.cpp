// What the inspector's controls send, written back into the template and
// its elements: action (the element sheets), action3 (the border and
// background panel), action2 (the Properties and Borders buttons and the
// Vorn Box list), textChange and textDidChange (text fields and views), and
// the correction of a number its field refused.
#include "ui/layout/LayoutController.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebContent.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/BorderPanel.h"
#include "ui/layout/ContentSheet.h"
#include "ui/layout/FooterSheet.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/NavigationSheet.h"
#include "ui/layout/PageSheet.h"
#include "ui/layout/PayPalSheet.h"
#include "ui/layout/PhotoAlbumSheet.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/layout/SlideshowSheet.h"
#include "ui/layout/VornBoxSheet.h"
#include "model/site/XmlAlbum.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextView.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>

#include <map>

using namespace lq::inspector;

namespace {

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

bool LayoutController::applyAction(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element)
{
    if (tag >= 110 && tag < 200)
        return _pageSheet->apply(sender, tag, sheet);
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
        return _navigationSheet->apply(sender, tag, XmlWebMenu::cast(element));
    if (tag == 409 || (tag >= 490 && tag <= 493))
        return _contentSheet->apply(sender, tag, sheet, element);
    if (tag >= 500 && tag <= 599)
        return _photoAlbumSheet->apply(sender, tag, sheet, XmlWebPhotoAlbum::cast(element));
    else if (tag >= 724 && tag <= 728)
        _footerSheet->apply(sender, tag, XmlWebFooter::cast(element));
    else if (tag >= 910 && tag <= 999)
        return _slideshowSheet->apply(sender, tag, sheet, XmlSlideshow::cast(element));
    else if (tag >= 1109 && tag <= 1132)
        _vornBoxSheet->apply(sender, tag, sheet, XmlVornBox::cast(element));
    else if (tag >= 1201 && tag <= 1216)
        _payPalSheet->apply(sender, tag, sheet);
    return true;
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
            _borderPanel->apply(sender, lq::widgetTag(sender), *element);
        if (element)
            element->relayoutFlags(nullptr, 0);
        _layoutView->redisplayObject();
    });
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
        _vornBoxSheet->listAction(tag);
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
        if (slideshow)
            _slideshowSheet->applyLabel(tag, text, *slideshow);
        const XmlBasePtr current = XmlBase::UUID(sheet->currentWidget());
        XmlVornBox* box = XmlVornBox::cast(current.get());
        if (box && (tag == 1120 || tag == 1126 || tag == 1128))
            _vornBoxSheet->applyText(tag, text, *box);

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
    if (view == _vornBoxSheet->htmlSnippetEditor()) {
        const XmlBasePtr current = XmlBase::UUID(sheet->currentWidget());
        if (auto* box = XmlVornBox::cast(current.get()))
            box->htmlSnippet()->setContent(text);
        return;
    }
    if (view == _footerSheet->footerSnippetEditor()) {
        _footerSheet->applySnippet(*sheet, text);
        return;
    }
    _payPalSheet->applyText(view, text, *sheet);
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
