// The border and background panel that every element sheet borrows: its
// controls show the borders, padding, background and drop shadow of the
// selected element, of a menu's items, or of the picture frame of a photo
// album or a slideshow, as the part selector says.
#include "ui/layout/BorderPanel.h"

#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/widgets/SheetBuilder.h"

#include "ui/editors/photo/BBContainer.h"
#include "ui/editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/InspectorTags.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlPictureFrame.h"

#include <QRadioButton>
#include <QSignalBlocker>

using namespace lq::inspector;

namespace {

// The borders and padding of a box: the panel's first twenty-one controls.
struct BorderValues {
    int type = 0;
    // Top, left, right, bottom.
    int widths[4] = {};
    QColor colors[4];
    int paddings[4] = {};
};

BorderValues bordersOf(const XmlBoxModel* box)
{
    BorderValues values;
    if (!box)
        return values;
    values.type = int(box->bType());
    const int widths[4] = {box->bt(), box->bl(), box->br(), box->bb()};
    const lq::Colour colors[4] = {box->btColor(), box->blColor(), box->brColor(), box->bbColor()};
    const int paddings[4] = {box->pt(), box->pl(), box->pr(), box->pb()};
    for (int side = 0; side < 4; ++side) {
        values.widths[side] = widths[side];
        values.colors[side] = colors[side].toQColor();
        values.paddings[side] = paddings[side];
    }
    return values;
}

BorderValues itemBordersOf(const XmlWebMenu& menu)
{
    BorderValues values;
    values.type = menu.itemStyle().mibtype();
    const int widths[4] = {menu.itemStyle().mibt(), menu.itemStyle().mibl(), menu.itemStyle().mibr(), menu.itemStyle().mibb()};
    const lq::Colour colors[4] = {menu.itemStyle().mibtc(), menu.itemStyle().miblc(), menu.itemStyle().mibrc(), menu.itemStyle().mibbc()};
    const int paddings[4] = {menu.itemStyle().mipt(), menu.itemStyle().mipl(), menu.itemStyle().mipr(), menu.itemStyle().mipb()};
    for (int side = 0; side < 4; ++side) {
        values.widths[side] = widths[side];
        values.colors[side] = colors[side].toQColor();
        values.paddings[side] = paddings[side];
    }
    return values;
}

void showBorders(QWidget* panel, const BorderValues& values)
{
    lq::showIndex(panel, 600, values.type);
    // Each side's width (a pair), colour and padding (a pair), five tags apart.
    for (int side = 0; side < 4; ++side) {
        const int base = 601 + side * 5;
        lq::showNumberPair(panel, base, values.widths[side]);
        lq::showColor(panel, base + 2, values.colors[side]);
        lq::showNumberPair(panel, base + 3, values.paddings[side]);
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
    void (WebMenuItemStyle::*setItemWidth)(int);
    void (WebMenuItemStyle::*setItemColour)(const lq::Colour&);
    void (WebMenuItemStyle::*setItemPadding)(int);
};

const BorderSide borderSides[] = {
    {601, 603, 604, &XmlBoxModel::setBt, &XmlBoxModel::setBtColor, &XmlBoxModel::setPt, &WebMenuItemStyle::setMibt, &WebMenuItemStyle::setMibtc,
        &WebMenuItemStyle::setMipt},
    {606, 608, 609, &XmlBoxModel::setBl, &XmlBoxModel::setBlColor, &XmlBoxModel::setPl, &WebMenuItemStyle::setMibl, &WebMenuItemStyle::setMiblc,
        &WebMenuItemStyle::setMipl},
    {611, 613, 614, &XmlBoxModel::setBr, &XmlBoxModel::setBrColor, &XmlBoxModel::setPr, &WebMenuItemStyle::setMibr, &WebMenuItemStyle::setMibrc,
        &WebMenuItemStyle::setMipr},
    {616, 618, 619, &XmlBoxModel::setBb, &XmlBoxModel::setBbColor, &XmlBoxModel::setPb, &WebMenuItemStyle::setMibb, &WebMenuItemStyle::setMibbc,
        &WebMenuItemStyle::setMipb},
};

} // namespace

QWidget* BorderPanel::build()
{
    auto* body = new QWidget;
    SheetBuilder switches(body, &_controller, [this](QWidget* sender) { _controller.action2(sender); });
    switches.beginRow();
    _propertiesButton = switches.button(1999, QStringLiteral("Properties"));
    _bordersButton = switches.button(1998, QStringLiteral("Borders"));
    switches.endRow();
    for (QAbstractButton* button : {_propertiesButton, _bordersButton})
        button->setCheckable(true);

    SheetBuilder rows = panelBuilder(body);
    _whichBorderLabel = rows.text(0, QStringLiteral("Edit the borders of:"));
    _whichBorderMatrix = rows.matrix(InspectorTag::partSelector, {});
    _whichBorderOption1 = _whichBorderMatrix->addCell(QStringLiteral("Menu Item"), InspectorTag::firstPartCell);
    _whichBorderOption2 = _whichBorderMatrix->addCell(QStringLiteral("Menu"), InspectorTag::firstPartCell + 1);

    _bbView = new QWidget(body);
    rows.view(_bbView);
    SheetBuilder panel = panelBuilder(_bbView);
    panel.label(QStringLiteral("Border"))
        .popUp(600, {{QStringLiteral("Solid"), 0}, {QStringLiteral("Double"), 1}, {QStringLiteral("Dotted"), 2}, {QStringLiteral("Dashed"), 3},
                        {QStringLiteral("Groove"), 4}, {QStringLiteral("Ridge"), 5}});
    // Each side: the border's width and colour, then the padding inside it.
    struct Side {
        const char* name;
        int width;
        int color;
        int padding;
    };
    const Side sides[] = {{"Top", 601, 603, 604}, {"Left", 606, 608, 609}, {"Right", 611, 613, 614}, {"Bottom", 616, 618, 619}};
    SheetBuilder edges = panel.group(QStringLiteral("Borders and padding"));
    for (const Side& side : sides) {
        edges.label(QLatin1String(side.name)).beginRow();
        edges.intPair(side.width, 0, 999);
        edges.colorWell(side.color);
        edges.endRow();
        edges.label(QLatin1String(side.name) + QStringLiteral(" padding")).intPair(side.padding, 0, 999);
    }
    panel.check(InspectorTag::dropShadow, QStringLiteral("Drop shadow"));
    // The sample of a framed picture with its shadow, rising from the panel's edge.
    auto* sample = new BBContainer(_bbView);
    sample->setMinimumSize(sample->sizeHint());
    panel.view(sample);

    SheetBuilder background = panel.group(QStringLiteral("Background"));
    _backgroundBox = background.container();
    background.label(QStringLiteral("Kind"))
        .popUp(InspectorTag::backgroundKind, {{QStringLiteral("None"), 0}, {QStringLiteral("Colour"), 1}, {QStringLiteral("Picture"), 2},
                                                 {QStringLiteral("Picture repeated across"), 3}, {QStringLiteral("Picture repeated down"), 4},
                                                 {QStringLiteral("Picture tiled"), 5}});
    background.label(QStringLiteral("Colour")).colorWell(623);
    _borderImageWell = makeImageWell(InspectorTag::borderImageWell, true);
    background.label(QStringLiteral("Picture")).view(_borderImageWell);
    background.beginRow();
    background.check(625, QStringLiteral("Transparent"));
    background.text(626, QStringLiteral("(no colour under the picture)"));
    background.endRow();
    background.text(InspectorTag::positionLabel, QStringLiteral("Picture position, in percent:"));
    background.label(QStringLiteral("Across"), 651).intPair(652, 0, 100);
    background.label(QStringLiteral("Down"), 654).intPair(655, 0, 100);
    return body;
}

void BorderPanel::fill(XmlBoxModel* element)
{
    lq::uiFrame(&_controller, "setBandB:", [&] {
        if (!element)
            return;
        QWidget* panel = _bbView;
        lq::showControls(panel, {InspectorTag::dropShadow}, false);
        auto* kinds = qobject_cast<MyPopUpButton*>(lq::viewWithTag(panel, InspectorTag::backgroundKind));
        {
            const QSignalBlocker quiet(kinds);
            while (kinds->count() > InspectorTag::backgroundKinds)
                kinds->removeItem(InspectorTag::backgroundKinds);
        }

        // The box the panel shows: the element or its picture frame (which
        // may be missing: then every value is 0).
        XmlBoxModel* shown = element;
        if (auto* menu = XmlWebMenu::cast(element)) {
            _whichBorderMatrix->selectCellWithTag(InspectorTag::firstPartCell + _navigationbbtab);
            _backgroundBox->setVisible(_navigationbbtab == 1);
            if (_navigationbbtab != 1) {
                showBorders(panel, itemBordersOf(*menu));
                return;
            }
        } else if (auto* album = XmlWebPhotoAlbum::cast(element)) {
            _whichBorderMatrix->selectCellWithTag(InspectorTag::firstPartCell + _photoalbumbbtab);
            if (_photoalbumbbtab != 1) {
                lq::showControls(panel, {InspectorTag::dropShadow}, true);
                const QSignalBlocker quiet(kinds);
                kinds->addItemWithTag(QStringLiteral("Picture Frame"), InspectorTag::backgroundKinds);
                shown = album->frame().get();
            }
        } else if (auto* slideshow = XmlSlideshow::cast(element)) {
            _whichBorderMatrix->selectCellWithTag(InspectorTag::firstPartCell + _slideshowbbtab);
            if (_slideshowbbtab != 1)
                shown = slideshow->frame().get();
        }

        showBorders(panel, bordersOf(shown));
        const int kind = shown ? shown->bkgnd() : 0;
        lq::showIndex(panel, InspectorTag::backgroundKind, kind);
        lq::showState(panel, InspectorTag::dropShadow, shown && shown->dropShadow() != 0);
        _borderImageWell->setXmlImage(shown ? shown->image() : nullptr);
        lq::showColor(panel, 623, shown ? shown->bkgndColor().toQColor() : QColor());
        showBackgroundControls(kind);
        if (kind != 0 && kind != 1)
            lq::showState(panel, 625, shown && shown->transparentBkgnd() != 0);
        lq::showNumberPair(panel, 652, shown ? shown->bxoffset() : 0);
        lq::showNumberPair(panel, 655, shown ? shown->byoffset() : 0);
    });
}

void BorderPanel::showBackgroundControls(int kind)
{
    QWidget* panel = _bbView;
    lq::showControls(panel, InspectorTag::transparencyControls, kind != 0 && kind != 1);
    // Where the picture goes: across and down for one picture, down for a
    // row repeated across, across for a column repeated down.
    if (kind < 0 || kind > 6)
        return;
    const bool placed = kind >= 2 && kind <= 4;
    lq::showControls(panel, {InspectorTag::positionLabel}, placed);
    lq::showControls(panel, InspectorTag::acrossControls, kind == 2 || kind == 4);
    lq::showControls(panel, InspectorTag::downControls, kind == 2 || kind == 3);
}

void BorderPanel::apply(QWidget* sender, int tag, XmlBoxModel& element)
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
        fill(&element);
        return;
    }
    if (!target)
        return;
    const int value = intValueOf(sender);
    if (tag == 600) {
        if (items)
            items->itemStyle().setMibtype(indexOf(sender));
        else
            target->setBType(static_cast<XmlBoxModel::BorderType>(indexOf(sender)));
        return;
    }
    for (const BorderSide& side : borderSides) {
        if (tag == side.width || tag == side.width + 1) {
            if (items)
                (items->itemStyle().*side.setItemWidth)(value);
            else
                (target->*side.setWidth)(value);
            return;
        }
        if (tag == side.colour) {
            if (items)
                (items->itemStyle().*side.setItemColour)(colourOf(sender));
            else
                (target->*side.setColour)(colourOf(sender));
            return;
        }
        if (tag == side.padding || tag == side.padding + 1) {
            if (items)
                (items->itemStyle().*side.setItemPadding)(value);
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

void BorderPanel::showFor(const QString& identifier)
{
    _propertiesButton->setChecked(false);
    _bordersButton->setChecked(true);
    _backgroundBox->setVisible(identifier != u"navigation" || _navigationbbtab == 1);
    const bool plain = identifier == u"masthead" || identifier == u"footer" || identifier == u"pagetitle" || identifier == u"content";
    _whichBorderLabel->setHidden(plain);
    _whichBorderMatrix->setHidden(plain);
    if (!plain) {
        const bool menu = identifier == u"navigation";
        _whichBorderOption1->setText(menu ? QStringLiteral("Menu Item") : QStringLiteral("Picture Frame"));
        _whichBorderOption2->setText(menu ? QStringLiteral("Menu")
                : identifier == u"photoalbum" ? QStringLiteral("Photo Album")
                                              : QStringLiteral("Background Box"));
    }
}

void BorderPanel::showForVornBox(XmlVornBox* box)
{
    _backgroundBox->setVisible(!box || box->type() != 3);
    _whichBorderLabel->hide();
    _whichBorderMatrix->hide();
    _propertiesButton->setChecked(false);
    _bordersButton->setChecked(true);
}
