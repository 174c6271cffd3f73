// The masthead's and the page title's sheets: built from their rows and
// filled from the box.
#include "ui/layout/BoxSheet.h"

#include "elements/XmlWebBox.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/LayoutController.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlWebFont.h"

// The masthead (2xx) and the page title (8xx).
QWidget* BoxSheet::build(int hundreds, const QString& title)
{
    QWidget* body = buildElementSheet(hundreds, title);
    addGeometryFields(body, hundreds == 2 ? QStringLiteral("masthead") : QStringLiteral("pagetitle"));
    const int base = hundreds * 100;
    SheetBuilder rows = sheetBuilder(body);
    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = base + 10, .size = base + 11, .color = base + 13, .underline = base + 14, .italic = base + 15,
                          .bold = base + 16, .alignment = base + 17});
    return body;
}

void BoxSheet::fill(XmlWebBox& box)
{
    const bool masthead = box.name() == u"Masthead";
    const int base = masthead ? 200 : 800;
    QWidget* view = sheetView(masthead ? QStringLiteral("masthead") : QStringLiteral("pagetitle"));
    showFont(view, box.font().get(), {.font = base + 10, .size = base + 11, .color = base + 13, .underline = base + 14,
                                        .italic = base + 15, .bold = base + 16, .alignment = base + 17});
}
