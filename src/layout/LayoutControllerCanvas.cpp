// What the layout controller does for the canvas: the geometry fields of the
// selected element's sheet, the
// commit of a move or resize, a Control-click's content, and the compact
// arrangement of the layout tab.
#include "layout/LayoutController.h"

#include "app/MyDocumentWindow.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "layout/CautionTape.h"
#include "layout/InspectorTags.h"
#include "layout/QZLayoutView.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlValues.h"
#include "platform/widgets/MyButton.h"
#include "platform/widgets/SheetBuilder.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <optional>

namespace {

constexpr int maximumCoordinate = 99999;

// The fields of an element sheet that show its geometry: a field and its
// stepper each (N and N + 1); 0 for a value the sheet does not show.
struct GeometryFields {
    const char* sheet;
    int top;
    int height;
    int left;
    int width;
};

constexpr GeometryFields geometryFields[] = {
    {"masthead", 200, 202, 205, 207},
    {"navigation", 300, 0, 302, 304},
    {"content", 400, 406, 402, 404},
    {"photoalbum", 524, 530, 526, 528},
    {"footer", 700, 702, 705, 707},
    {"pagetitle", 800, 802, 805, 807},
    {"slideshow", 900, 902, 905, 907},
    {"vornbox", 1100, 1102, 1105, 1107},
};

const GeometryFields* geometryFieldsOfSheet(const QString& sheet)
{
    for (const GeometryFields& fields : geometryFields) {
        if (sheet == QLatin1String(fields.sheet))
            return &fields;
    }
    return nullptr;
}

// The fields that show the element's geometry, by its class.
std::optional<GeometryFields> geometryFieldsOf(XmlBoxModel& element)
{
    const auto of = [](const char* sheet) { return *geometryFieldsOfSheet(QLatin1String(sheet)); };
    // The footer is a kind of content box: it is asked first.
    if (XmlWebMenu::cast(&element))
        return of("navigation");
    if (XmlWebBox::cast(&element))
        return of(element.name() == u"Masthead" ? "masthead" : "pagetitle");
    if (XmlWebFooter::cast(&element))
        return of("footer");
    if (XmlVornBox::cast(&element))
        return of("vornbox");
    if (XmlWebContent::cast(&element))
        return of("content");
    if (const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(&element)) {
        // In a grid the album's width and height fields hold its columns and
        // rows; below the text it has no top of its own either.
        GeometryFields fields = of("photoalbum");
        if (album->afterDescription() != 2)
            fields.width = fields.height = 0;
        if (album->afterDescription() != 0 && album->afterDescription() != 2)
            fields.top = 0;
        return fields;
    }
    if (XmlSlideshow::cast(&element))
        return of("slideshow");
    return std::nullopt;
}

} // namespace

void LayoutController::addGeometryFields(QWidget* sheet, const QString& identifier)
{
    const GeometryFields* fields = geometryFieldsOfSheet(identifier);
    if (!fields)
        return;
    SheetBuilder rows = sheetBuilder(sheet);
    // A footer placed below the page's text may sit above its own place.
    const int lowestTop = identifier == u"footer" ? -maximumCoordinate : 0;
    // An album's width and height fields hold the columns and rows of a grid:
    // their labels say which.
    const bool album = identifier == u"photoalbum";
    rows.label(QStringLiteral("Top")).intPair(fields->top, lowestTop, maximumCoordinate);
    if (fields->height)
        rows.label(QStringLiteral("Height"), album ? InspectorTag::heightLabel : 0).intPair(fields->height, 0, maximumCoordinate);
    rows.label(QStringLiteral("Left")).intPair(fields->left, 0, maximumCoordinate);
    rows.label(QStringLiteral("Width"), album ? InspectorTag::widthLabel : 0).intPair(fields->width, 0, maximumCoordinate);
}

// --- The canvas's delegate ---------------------------------------------------------------------------------

void LayoutController::moveSelectedObject(XmlBoxModel* element)
{
    lq::uiFrame(this, "moveSelectedObject:", [&] { showGeometryOf(element); });
}

void LayoutController::showGeometryOf(XmlBoxModel* element)
{
    if (!element)
        return;
    const std::optional<GeometryFields> fields = geometryFieldsOf(*element);
    if (!fields)
        return;
    QWidget* view = sheetView(QLatin1String(fields->sheet));
    const auto* footer = XmlWebFooter::cast(element);
    const auto show = [view](int tag, int value) {
        if (tag != 0)
            lq::showNumberPair(view, tag, value);
    };
    show(fields->top, footer ? footer->voffset() : element->top());
    show(fields->height, element->height());
    show(fields->left, element->left());
    show(fields->width, element->width());
}

lq::Rect LayoutController::willMoveObjectRect(XmlCSS* element, const lq::Rect& rect)
{
    if (!element)
        return rect;
    {
        // Position and size are one edit, however many values change.
        const SuppressedChanges quiet(*element);
        element->setObjectRect(rect);
    }
    element->docChanged();
    return element->objectRect();
}

void LayoutController::doubleClickedObject(XmlBase* element)
{
    if (!element)
        return;
    const XmlBasePtr held = element->sharedFromThis();
    const std::shared_ptr<XmlCSS> selection = _layoutView->currentSelectedObject();
    _window.setCurrentObject(element);
    _window.switchToContentEditor();
    // Saving the editors on the way dropped the canvas selection; a
    // Control-click leaves it as it was.
    if (selection && _layoutView->currentSelectedObject() != selection)
        _layoutView->setCurrentSelectedObject(selection.get());
}

// --- Compact arrangement -------------------------------------------------------------------------------------

void LayoutController::compactUI(bool)
{
    const bool hidden = _compact->isChecked();
    _tools->setHidden(hidden);
    _guideBar->setHidden(hidden);
    _compact->setText(hidden ? QStringLiteral("Show Tools") : QStringLiteral("Hide Tools"));
    const int pages = _window.numPagesUsingStylesheet(getTemplate().get());
    _cautionTape->setNumberOfPages(pages);
    _cautionTape->setVisible(pages >= 2);
    _layoutPage->update();
}
