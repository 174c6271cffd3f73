// The navigation sheet: built from its rows, filled from the menu, and what
// its controls change written back into the menu.
#include "ui/layout/NavigationSheet.h"

#include "ui/editors/photo/ImageWell.h"
#include "elements/XmlWebMenu.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlWebFont.h"

using namespace lq::inspector;

namespace {

constexpr QSize rolloverWellSize(72, 44);

} // namespace

QWidget* NavigationSheet::build()
{
    QWidget* body = buildElementSheet(3, QStringLiteral("Navigation"));
    addGeometryFields(body, QStringLiteral("navigation"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Arrangement"))
        .popUp(334, {{QStringLiteral("Vertical"), 0}, {QStringLiteral("Horizontal"), 1}, {QStringLiteral("Horizontal, fixed width"), 2}});
    rows.label(QStringLiteral("Item Width"), 335).intPair(332, 0, largestNumber);
    rows.label(QStringLiteral("Item Spacing")).intPair(330, 0, largestNumber);
    rows.label(QStringLiteral("Pages"))
        .matrix(340, {{QStringLiteral("The home page's"), 341}, {QStringLiteral("The shown page's group"), 342},
                         {QStringLiteral("Home, with the group's pages"), 343}});
    rows.label(QStringLiteral("Submenu Indent")).intPair(351, 0, largestNumber);
    rows.label(QStringLiteral("Submenu Size")).intPair(336, 1, 999);

    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = 306, .size = 307, .italic = 309, .bold = 310, .alignment = 311});

    SheetBuilder states = rows.group(QStringLiteral("Items: text colour and underline"));
    const QStringList names = {QStringLiteral("Current"), QStringLiteral("Normal"), QStringLiteral("Hover"), QStringLiteral("Click")};
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        states.label(names[state]).beginRow();
        states.colorWell(base + 2);
        states.check(base + 3, QStringLiteral("Underline"));
        states.endRow();
    }

    rows.label(QStringLiteral("Backgrounds")).matrix(350, {{QStringLiteral("Colours"), 0}, {QStringLiteral("Pictures"), 1}});
    _menuBkgndTabView = new MyTabView(body);
    auto* colours = new QWidget;
    auto* pictures = new QWidget;
    SheetBuilder colourRows = sheetBuilder(colours);
    SheetBuilder pictureRows = sheetBuilder(pictures);
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        colourRows.label(names[state]).beginRow();
        colourRows.colorWell(base);
        colourRows.check(base + 1, QStringLiteral("Shown"));
        colourRows.endRow();
        _rolloverWells[state] = makeImageWell(InspectorTag::firstRolloverWell + state, false);
        _rolloverWells[state]->setMinimumSize(rolloverWellSize);
        _rolloverWells[state]->setMaximumHeight(rolloverWellSize.height());
        pictureRows.label(names[state]).view(_rolloverWells[state]);
    }
    _menuBkgndTabView->addTabViewItem(QStringLiteral("colorwells"), QStringLiteral("Colours"), colours);
    _menuBkgndTabView->addTabViewItem(QStringLiteral("imagerollovers"), QStringLiteral("Pictures"), pictures);
    rows.view(_menuBkgndTabView);
    return body;
}

void NavigationSheet::showItemWidthControls(XmlWebMenu& menu)
{
    const int orientation = menu.orientation();
    if (orientation == 0 || orientation == 1 || orientation == 2)
        lq::showControls(sheetView(QStringLiteral("navigation")), InspectorTag::itemWidthControls, orientation == 2);
}

void NavigationSheet::fill(XmlWebMenu& menu)
{
    QWidget* view = sheetView(QStringLiteral("navigation"));
    lq::showCell(view, 350, menu.useGraphicRollover() ? 1 : 0);
    _menuBkgndTabView->selectTabViewItemWithIdentifier(
        menu.useGraphicRollover() ? QStringLiteral("imagerollovers") : QStringLiteral("colorwells"));
    showFont(view, menu.font().get(), {.font = 306, .size = 307, .italic = 309, .bold = 310, .alignment = 311});

    // The four states of an item: current, normal, hover, click.
    struct State {
        lq::Colour background;
        bool backgroundShown;
        lq::Colour text;
        bool underline;
        XmlCSSBackground* picture;
    };
    const State states[] = {
        {menu.currentBkgnd(), menu.currentBkgndEn(), menu.itemStyle().currentText(), menu.itemStyle().currentUnderline() != 0, menu.currentBkgnd2().get()},
        {menu.normalBkgnd(), menu.normalBkgndEn(), menu.itemStyle().normalText(), menu.itemStyle().normalUnderline() != 0, menu.normalBkgnd2().get()},
        {menu.hoverBkgnd(), menu.hoverBkgndEn(), menu.itemStyle().hoverText(), menu.itemStyle().hoverUnderline() != 0, menu.hoverBkgnd2().get()},
        {menu.clickBkgnd(), menu.clickBkgndEn(), menu.itemStyle().clickText(), menu.itemStyle().clickUnderline() != 0, menu.clickBkgnd2().get()},
    };
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        lq::showColor(view, base, states[state].background.toQColor());
        lq::showState(view, base + 1, states[state].backgroundShown);
        lq::showColor(view, base + 2, states[state].text.toQColor());
        lq::showState(view, base + 3, states[state].underline);
    }
    lq::showNumberPair(view, 330, menu.itemStyle().mispace());
    lq::showIndex(view, 334, menu.orientation());
    lq::showNumberPair(view, 332, menu.itemStyle().miWidth());
    showItemWidthControls(menu);
    lq::showNumberPair(view, 336, menu.itemStyle().subFontSize());
    lq::showCell(view, 340, 341 + menu.itemStyle().navTypeForGroup());
    lq::showNumberPair(view, 351, menu.itemStyle().indentSubmenu());
    for (int state = 0; state < 4; ++state) {
        XmlCSSBackground* picture = states[state].picture;
        _rolloverWells[state]->setXmlImage(picture ? picture->image() : nullptr);
    }
}

bool NavigationSheet::apply(QWidget* sender, int tag, XmlWebMenu* menu)
{
    if (!menu)
        return true;
    if (tag >= 314 && tag <= 329) {
        // Four tags per item state: background, its check box, text, underline.
        using Colour = void (XmlWebMenu::*)(const lq::Colour&);
        using Flag = void (XmlWebMenu::*)(bool);
        using TextColour = void (WebMenuItemStyle::*)(const lq::Colour&);
        using Underline = void (WebMenuItemStyle::*)(int);
        static const Colour backgrounds[] = {&XmlWebMenu::setCurrentBkgnd, &XmlWebMenu::setNormalBkgnd, &XmlWebMenu::setHoverBkgnd,
            &XmlWebMenu::setClickBkgnd};
        static const Flag shown[] = {&XmlWebMenu::setCurrentBkgndEn, &XmlWebMenu::setNormalBkgndEn, &XmlWebMenu::setHoverBkgndEn,
            &XmlWebMenu::setClickBkgndEn};
        static const TextColour texts[] = {&WebMenuItemStyle::setCurrentText, &WebMenuItemStyle::setNormalText,
            &WebMenuItemStyle::setHoverText, &WebMenuItemStyle::setClickText};
        static const Underline underlines[] = {&WebMenuItemStyle::setCurrentUnderline, &WebMenuItemStyle::setNormalUnderline,
            &WebMenuItemStyle::setHoverUnderline, &WebMenuItemStyle::setClickUnderline};
        const int state = (tag - 314) / 4;
        switch ((tag - 314) % 4) {
        case 0: (menu->*backgrounds[state])(colourOf(sender)); break;
        case 1: (menu->*shown[state])(stateOf(sender)); break;
        case 2: (menu->itemStyle().*texts[state])(colourOf(sender)); break;
        case 3: (menu->itemStyle().*underlines[state])(stateOf(sender) ? 1 : 0); break;
        }
        return true;
    }
    switch (tag) {
    case 330:
    case 331: menu->itemStyle().setMispace(intValueOf(sender)); break;
    case 332:
    case 333:
        menu->itemStyle().setMiWidth(intValueOf(sender));
        _controller.layoutView()->update();
        break;
    case 334:
        menu->setOrientation(indexOf(sender));
        showItemWidthControls(*menu);
        _controller.layoutView()->update();
        break;
    case 336:
    case 337: menu->itemStyle().setSubFontSize(intValueOf(sender)); break;
    case 340: menu->itemStyle().setNavTypeForGroup(cellTagOf(sender) - 341); break;
    case 350:
        menu->setUseGraphicRollover(cellTagOf(sender) != 0);
        // Picture items stand side by side at a fixed width.
        if (menu->useGraphicRollover() && menu->orientation() == 1)
            menu->setOrientation(2);
        fill(*menu);
        break;
    case 351:
    case 352: menu->itemStyle().setIndentSubmenu(intValueOf(sender)); break;
    default: break;
    }
    return true;
}
