// The footer's sheet: built from its rows, filled from the footer, and what
// its controls and its snippet change written back into the footer.
#include "ui/layout/FooterSheet.h"

#include "elements/XmlWebFooter.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::inspector;

QWidget* FooterSheet::build()
{
    QWidget* body = buildElementSheet(7, QStringLiteral("Footer"));
    addGeometryFields(body, QStringLiteral("footer"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Place"))
        .popUp(727, {{QStringLiteral("Below the page"), 0}, {QStringLiteral("At its own height"), 1}});
    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = 710, .size = 711, .color = 713, .italic = 715, .underlineLinks = 720, .links = 721});
    rows.check(724, QStringLiteral("\"Created with\" credit"));
    rows.check(725, QStringLiteral("View counter"));
    rows.check(728, QStringLiteral("Use an HTML snippet"));
    _footerSnippetEditor = new MyTextView(body);
    _footerSnippetEditor->setAcceptRichText(false);
    _footerSnippetEditor->setMinimumHeight(90);
    QObject::connect(_footerSnippetEditor, &QTextEdit::textChanged, &_controller, [this] { _controller.textDidChange(_footerSnippetEditor); });
    rows.view(_footerSnippetEditor);
    return body;
}

void FooterSheet::fill(XmlWebFooter& footer)
{
    QWidget* view = sheetView(QStringLiteral("footer"));
    showFont(view, footer.font().get(), {.font = 710, .size = 711, .color = 713, .italic = 715, .underlineLinks = 720, .links = 721});
    lq::showState(view, 724, footer.createdWith());
    lq::showState(view, 725, footer.viewCounter());
    lq::showIndex(view, 727, footer.trog() ? 1 : 0);
    lq::showState(view, 728, footer.useHtmlSnippet());
    showPlainText(_footerSnippetEditor, footer.htmlSnippet());
}

void FooterSheet::apply(QWidget* sender, int tag, XmlWebFooter* footer)
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

void FooterSheet::applySnippet(XmlStyleSheet& sheet, const QString& text)
{
    const XmlBasePtr footer = sheet.getElementWithName(QStringLiteral("Footer"));
    if (auto* found = XmlWebFooter::cast(footer.get())) {
        found->htmlSnippet()->setContent(text);
        _controller.layoutView()->update();
    }
}
