// The content box's sheet: built from its rows, filled from the box and the
// template, and what its controls change written back.
#include "ui/layout/ContentSheet.h"

#include "elements/XmlWebContent.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::inspector;

QWidget* ContentSheet::build()
{
    QWidget* body = buildElementSheet(4, QStringLiteral("Content"));
    addGeometryFields(body, QStringLiteral("content"));
    SheetBuilder rows = sheetBuilder(body);
    rows.check(409, QStringLiteral("Extend to the page's bottom"));
    rows.label(QStringLiteral("Vertical Space")).intPair(490, 0, largestNumber);
    rows.label(QStringLiteral("Horizontal Space")).intPair(492, 0, largestNumber);
    const QList<QPair<QString, int>> fonts = {{QStringLiteral("Text"), 410}, {QStringLiteral("Heading"), 420},
        {QStringLiteral("Subheading"), 430}, {QStringLiteral("Caption"), 440}};
    for (const auto& [title, base] : fonts) {
        SheetBuilder font = rows.group(title);
        addFontRows(font, {.font = base, .size = base + 1, .color = base + 3, .lineSpacing = base + 4,
                              .underlineLinks = base + 6, .links = base + 7});
    }
    return body;
}

void ContentSheet::fill(XmlWebContent& content, XmlStyleSheet& sheet)
{
    QWidget* view = sheetView(QStringLiteral("content"));
    lq::showState(view, 409, content.extendPage());
    const std::shared_ptr<XmlWebFont> fonts[] = {content.font(), content.heading(), content.subheading(), content.caption()};
    for (int group = 0; group < 4; ++group) {
        const int base = 410 + group * 10;
        showFont(view, fonts[group].get(), {.font = base, .size = base + 1, .color = base + 3, .lineSpacing = base + 4,
                                               .underlineLinks = base + 6, .links = base + 7});
    }
    lq::showNumberPair(view, 490, sheet.verticalSpace());
    lq::showNumberPair(view, 492, sheet.horizontalSpace());
}

bool ContentSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlBoxModel* element)
{
    if (tag == 409) {
        if (auto* content = XmlWebContent::cast(element))
            content->setExtendPage(stateOf(sender));
        _controller.layoutView()->update();
        return true;
    }
    if (tag == 490 || tag == 491)
        sheet.setVerticalSpace(intValueOf(sender));
    else if (tag == 492 || tag == 493)
        sheet.setHorizontalSpace(intValueOf(sender));
    return true;
}
