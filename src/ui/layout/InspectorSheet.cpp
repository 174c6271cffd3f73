#include "ui/layout/InspectorSheet.h"

#include "ui/editors/photo/ImageWell.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "platform/text/Font.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

namespace {

constexpr int largestFontSize = 200;

const SheetBuilder::TaggedItems& fontFaces()
{
    static const SheetBuilder::TaggedItems faces = [] {
        SheetBuilder::TaggedItems items;
        const QStringList names = lq::Font::faceNames();
        for (int index = 0; index < names.size(); ++index)
            items.append({names[index], index});
        return items;
    }();
    return faces;
}

constexpr QSize wellSize(96, 72);

constexpr int maximumCoordinate = 99999;

} // namespace

InspectorSheet::InspectorSheet(LayoutController& controller)
    : _controller(controller)
{
}

InspectorSheet::~InspectorSheet() = default;

QWidget* InspectorSheet::sheetView(const QString& identifier) const
{
    return _controller.sheetView(identifier);
}

SheetBuilder InspectorSheet::sheetBuilder(QWidget* body)
{
    return SheetBuilder(body, &_controller, [this](QWidget* sender) { _controller.action(sender); });
}

SheetBuilder InspectorSheet::panelBuilder(QWidget* body)
{
    return SheetBuilder(body, &_controller, [this](QWidget* sender) { _controller.action3(sender); });
}

ImageWell* InspectorSheet::makeImageWell(int tag, bool borderPanel)
{
    auto* well = new ImageWell;
    well->setMinimumSize(wellSize);
    well->setMaximumHeight(wellSize.height());
    if (borderPanel)
        well->setTargetActionTag(&_controller, [this](ImageWell* sender) { _controller.action3(sender); }, tag);
    else
        well->setTargetActionTag(&_controller, [this](ImageWell* sender) { _controller.action(sender); }, tag);
    return well;
}

QWidget* InspectorSheet::buildElementSheet(int hundreds, const QString& title)
{
    auto* body = new QWidget;
    SheetBuilder sheet(body, &_controller, [this](QWidget* sender) { _controller.action2(sender); });
    sheet.text(0, title);
    sheet.beginRow();
    auto* properties = sheet.button(hundreds * 100 + 99, QStringLiteral("Properties"));
    auto* borders = sheet.button(hundreds * 100 + 98, QStringLiteral("Borders"));
    sheet.endRow();
    for (MyButton* button : {properties, borders}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    return body;
}

void InspectorSheet::addFontRows(SheetBuilder& rows, const InspectorFontTags& tags)
{
    if (tags.font)
        rows.label(QStringLiteral("Font")).popUp(tags.font, fontFaces());
    if (tags.size)
        rows.label(QStringLiteral("Size")).intPair(tags.size, 1, largestFontSize);
    if (tags.color)
        rows.label(QStringLiteral("Colour")).colorWell(tags.color);
    if (tags.underline || tags.italic || tags.bold) {
        rows.beginRow();
        if (tags.underline)
            rows.check(tags.underline, QStringLiteral("Underline"));
        if (tags.italic)
            rows.check(tags.italic, QStringLiteral("Italic"));
        if (tags.bold)
            rows.check(tags.bold, QStringLiteral("Bold"));
        rows.endRow();
    }
    if (tags.alignment) {
        rows.label(QStringLiteral("Alignment")).beginRow();
        const QStringList titles = {QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right")};
        for (int which = 0; which < 3; ++which) {
            MyButton* button = rows.button(tags.alignment + which, titles[which]);
            button->setCheckable(true);
            button->setAutoDefault(false);
            // Narrower than a dialog's buttons, never narrower than the title.
            button->setMinimumWidth(button->fontMetrics().horizontalAdvance(titles[which]) + 16);
        }
        rows.endRow();
    }
    if (tags.lineSpacing)
        rows.label(QStringLiteral("Line Spacing")).intPair(tags.lineSpacing, -99, 999);
    if (tags.underlineLinks)
        rows.check(tags.underlineLinks, QStringLiteral("Underline links"));
    if (tags.links) {
        // Normal, under the pointer, clicked.
        rows.label(QStringLiteral("Links")).beginRow();
        rows.colorWell(tags.links)->setToolTip(QStringLiteral("Link"));
        rows.colorWell(tags.links + 1)->setToolTip(QStringLiteral("Link under the pointer"));
        rows.colorWell(tags.links + 2)->setToolTip(QStringLiteral("Clicked link"));
        rows.endRow();
    }
}

void InspectorSheet::addGeometryFields(QWidget* sheet, const QString& identifier)
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

void InspectorSheet::showFont(QWidget* view, const XmlWebFont* font, const InspectorFontTags& tags)
{
    if (!font)
        return;
    if (tags.font)
        lq::showIndex(view, tags.font, font->font());
    if (tags.size)
        lq::showNumberPair(view, tags.size, font->fontSize());
    if (tags.color)
        lq::showColor(view, tags.color, font->fontColor().toQColor());
    if (tags.underline)
        lq::showState(view, tags.underline, font->underline());
    if (tags.italic)
        lq::showState(view, tags.italic, font->italic());
    if (tags.bold)
        lq::showState(view, tags.bold, font->bold());
    if (tags.alignment)
        lq::showAlignment(view, tags.alignment, int(font->alignment()));
    if (tags.lineSpacing)
        lq::showNumberPair(view, tags.lineSpacing, font->lineSpacing());
    if (tags.underlineLinks)
        lq::showState(view, tags.underlineLinks, font->underlineLinks());
    if (tags.links) {
        lq::showColor(view, tags.links, font->linkNormal().toQColor());
        lq::showColor(view, tags.links + 1, font->linkHover().toQColor());
        lq::showColor(view, tags.links + 2, font->linkClicked().toQColor());
    }
}

void InspectorSheet::relayoutTemplate(XmlStyleSheet& sheet, bool withPage)
{
    sheet.relayoutFlags(withPage ? _controller.getAlbum().get() : nullptr, 0);
    _controller.layoutView()->update();
}
