// The page sheet: built from its rows, filled from the template, and what
// its controls change written back into the template.
#include "ui/layout/PageSheet.h"

#include "ui/editors/photo/ImageWell.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"

using namespace lq::inspector;

QWidget* PageSheet::build()
{
    auto* body = new QWidget;
    SheetBuilder rows = sheetBuilder(body);
    rows.text(0, QStringLiteral("The page and its background"));
    rows.label(QStringLiteral("Background"))
        .popUp(110, {{QStringLiteral("None"), 0}, {QStringLiteral("Colour"), 1}, {QStringLiteral("Picture"), 2},
                        {QStringLiteral("Picture repeated across"), 3}, {QStringLiteral("Picture repeated down"), 4},
                        {QStringLiteral("Picture tiled"), 5}, {QStringLiteral("Picture in slices"), 6}});
    rows.label(QStringLiteral("Colour")).colorWell(111);
    _pageImageWell = makeImageWell(InspectorTag::pageImageWell, false);
    rows.label(QStringLiteral("Picture")).view(_pageImageWell);
    rows.label(QStringLiteral("Top Slice"), 164).beginRow();
    rows.intPair(160, 0, largestNumber);
    rows.text(165, QStringLiteral("pixels"));
    rows.endRow();
    rows.label(QStringLiteral("Bottom Slice"), 166).beginRow();
    rows.intPair(162, 0, largestNumber);
    rows.text(167, QStringLiteral("pixels"));
    rows.endRow();
    rows.check(170, QStringLiteral("Centre across the window"));
    rows.check(171, QStringLiteral("Centre down the window"));
    rows.check(172, QStringLiteral("Flow with the window"));
    rows.text(0, QStringLiteral("Elements shown on the pages:"));
    _controller.elementTables().makeTable(ElementTables::Kind::PageElements, body);
    return body;
}

void PageSheet::showSliceControls(XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("page"));
    const bool sliced = sheet.bkgnd() == 6;
    lq::showControls(view, InspectorTag::sliceControls, sliced);
    if (!sliced)
        return;
    lq::showNumberPair(view, InspectorTag::topSlice, sheet.topSlice());
    lq::showNumberPair(view, InspectorTag::bottomSlice, sheet.bottomSlice());
}

void PageSheet::fill(XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("page"));
    lq::showIndex(view, 110, sheet.bkgnd());
    lq::showColor(view, 111, sheet.bkgndColor().toQColor());
    showSliceControls(sheet);
    lq::showState(view, 170, sheet.centerHorz());
    lq::showState(view, 171, sheet.centerVert());
    lq::showState(view, 172, sheet.browserFlow());
}

bool PageSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet)
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
    _controller.layoutView()->update();
    return true;
}
