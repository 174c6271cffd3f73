// The border and background panel that every element sheet borrows: its
// controls show the borders, padding, background and drop shadow of the
// selected element, of a menu's items, or of the picture frame of a photo
// album or a slideshow, as the part selector says.
#include "layout/LayoutController.h"

#include "editors/photo/ImageWell.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/InspectorTags.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ControlValues.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyPopUpButton.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlPictureFrame.h"

#include <QSignalBlocker>

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
    values.type = menu.mibtype();
    const int widths[4] = {menu.mibt(), menu.mibl(), menu.mibr(), menu.mibb()};
    const lq::Colour colors[4] = {menu.mibtc(), menu.miblc(), menu.mibrc(), menu.mibbc()};
    const int paddings[4] = {menu.mipt(), menu.mipl(), menu.mipr(), menu.mipb()};
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

} // namespace

void LayoutController::setBandB(XmlBoxModel* element)
{
    lq::uiFrame(this, "setBandB:", [&] {
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

void LayoutController::showBackgroundControls(int kind)
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
