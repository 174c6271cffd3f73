// The navigation menu's page output: the template's CSS and the HTML of
// each page pass.
#include "elements/WebMenuHtml.h"

#include "elements/ElementHelpers.h"
#include "elements/WebMenuGeometry.h"
#include "elements/WebMenuLayout.h"
#include "elements/XmlWebText.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "templates/BoxModelHtml.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

namespace {

// The four measuring anchors of the site script's font check.
constexpr const char* measuringAnchors =
    "<a id=\"ac\" class=\"current\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"an\" class=\"nav\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"asc\" class=\"subcurrent\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n"
    "<a id=\"asn\" class=\"subnav\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n";

} // namespace

using elements::toFloat;

// --- Template CSS ----------------------------------------------------------------------------------

void WebMenuHtml::appendCSS(QString& css)
{
    lq::modelFrame(&_menu, "appendCSS:", [&] {
        css += QStringLiteral("#navigation {");
        css += QStringLiteral("display: block; position: absolute; white-space: nowrap; ");
        BoxModelHtml(_menu).appendCSSBorders(css);
        _menu.appendCSSBackground(css);
        css += QStringLiteral("}\n");

        const std::shared_ptr<XmlWebFont> record = _menu.font();
        const bool across = _menu.orientation() == 1 || _menu.orientation() == 2;
        struct Rule {
            const char* selector;
            bool itemHead;        // else the head of a hover or click rule, without font
            XmlCSSBackground* background;
            const lq::Colour& text;
            int underline;
            bool submenu;
        };
        const Rule rules[] = {
            { "a.current {", true, _menu._currentBkgnd.get(), _menu._currentText, _menu._currentUnderline, false },
            { "a.nav {", true, _menu._normalBkgnd.get(), _menu._normalText, _menu._normalUnderline, false },
            { "a.nav:hover {", false, _menu._hoverBkgnd.get(), _menu._hoverText, _menu._hoverUnderline, false },
            { "a.nav:active {", false, _menu._clickBkgnd.get(), _menu._clickText, _menu._clickUnderline, false },
            { "a.subcurrent {", true, _menu._currentBkgnd.get(), _menu._currentText, _menu._currentUnderline, true },
            { "a.subnav {", true, _menu._normalBkgnd.get(), _menu._normalText, _menu._normalUnderline, true },
            { "a.subnav:hover {", false, _menu._hoverBkgnd.get(), _menu._hoverText, _menu._hoverUnderline, true },
            { "a.subnav:active {", false, _menu._clickBkgnd.get(), _menu._clickText, _menu._clickUnderline, true },
        };
        for (const Rule& rule : rules) {
            css += QLatin1String(rule.selector);
            css += QStringLiteral("display: block; position: absolute; ");
            if (rule.itemHead) {
                css += QStringLiteral("overflow: visible; ");
                if (across)
                    css += QStringLiteral("white-space: nowrap; ");
            }
            rule.background->appendCSSBackground(css);
            css += QStringLiteral("color: ") + lq::colorToCSSString(rule.text) + QStringLiteral("; ");
            css += rule.underline != 0 ? QStringLiteral("text-decoration: underline; ")
                                       : QStringLiteral("text-decoration: none; ");
            // The submenu's indent is padding inside the item, so its boxes
            // keep the width of the top-level ones.
            css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _menu._mipt, _menu._mipr, _menu._mipb,
                                     _menu._mipl + (rule.submenu ? _menu._indentSubmenu : 0));
            appendCSSMenuItemBorders(css);
            css += QStringLiteral("margin: 0px; ");
            if (rule.itemHead)
                appendCSSFontParametersForFontWithSize(css, *record, rule.submenu ? _menu._subFontSize : 0);
            css += QStringLiteral("}\n");
        }
    });
}

void WebMenuHtml::appendCSSMenuItemBorders(QString& css)
{
    lq::modelFrame(&_menu, "appendCSSMenuItemBorders:", [&] {
        const QString style = BoxModelHtml::borderType(static_cast<XmlBoxModel::BorderType>(_menu._mibtype));
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-") + QLatin1String(which) + QStringLiteral(": ") + lq::colorToCSSString(colour)
                + QLatin1Char(' ') + style + QString::asprintf(" %dpx; ", width);
        };
        side("top", _menu._mibtc, _menu._mibt);
        side("left", _menu._miblc, _menu._mibl);
        side("bottom", _menu._mibbc, _menu._mibb);
        side("right", _menu._mibrc, _menu._mibr);
    });
}

void WebMenuHtml::appendCSSFontParametersForFontWithSize(QString& css, XmlWebFont& record, int size)
{
    lq::modelFrame(&_menu, "appendCSSFontParameters:forFont:withSize:", [&] {
        css += QStringLiteral("font-family: ") + record.cssFontFamily() + QLatin1Char(' ');
        int lineHeight = record.lineHeight();
        if (size != 0) {
            const std::optional<lq::Font> face = record.createFont();
            lineHeight = face ? lq::truncatedPixel(face->withPixelSize(size).defaultLineHeight()) : 0;
        }
        css += QString::asprintf("font-size: %dpx; ", size != 0 ? size : record.fontSize());
        css += QString::asprintf("line-height: %dpx; ", lineHeight);
        css += record.italic() ? QStringLiteral("font-style: italic; ") : QStringLiteral("font-style: normal; ");
        css += record.bold() ? QStringLiteral("font-weight: bold; ") : QStringLiteral("font-weight: normal; ");
        switch (_menu.orientation()) {
        case 0:
            record.appendCSSBoxFont(css);
            break;
        case 2:
            css += QStringLiteral("text-align: center; ");
            break;
        default:
            break;
        }
    });
}

// --- Page HTML -------------------------------------------------------------------------------------

void WebMenuHtml::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(&_menu, "appendHTML:page:pass:sheet:", [&] {
        if (pass == PagePass::HeadScript)
            appendFontChecks(html);
        else if (pass == PagePass::NavigationBox)
            appendNavigationBox(html);
        else if (pass == PagePass::NavigationItems)
            appendItemLinks(html, page);
    });
}

void WebMenuHtml::appendFontChecks(QString& html)
{
    const std::shared_ptr<XmlWebFont> record = _menu.font();
    const std::optional<lq::Font> face = record->createFont();
    const int v = _menu._mipt + _menu._mipb + _menu._mibt + _menu._mibb;
    const int lineHeight = record->lineHeight();
    const int subLineHeight = face ? lq::truncatedPixel(face->withPixelSize(_menu._subFontSize).defaultLineHeight()) : 0;
    html += QString::asprintf("fc.addfs(\"ac\", %d, %d, \"a.current\");\n", lineHeight + v, record->fontSize());
    html += QString::asprintf("fc.addfs(\"an\", %d, %d, \"a.nav\");\n", lineHeight + v, record->fontSize());
    html += QString::asprintf("fc.addfs(\"asc\", %d, %d, \"a.subcurrent\");\n", subLineHeight + v, _menu._subFontSize);
    html += QString::asprintf("fc.addfs(\"asn\", %d, %d, \"a.subnav\");\n", subLineHeight + v, _menu._subFontSize);
}

void WebMenuHtml::appendNavigationBox(QString& html)
{
    const int shadow = _menu.dropShadow() ? _menu.shadowStrip : 0;
    const int boxWidth = _menu.width() - _menu._bl - _menu._br - shadow;
    const int boxHeight = _menu.calcHeight() - _menu._bt - _menu._bb - shadow;
    html += BoxModelHtml(_menu).htmlDivTagsForRect(QStringLiteral("navigation"),
                               lq::Rect(toFloat(_menu._left), toFloat(_menu._top), toFloat(boxWidth), toFloat(boxHeight)));
}

void WebMenuHtml::appendItemLinks(QString& html, XmlBase* page)
{
    const int shadow = _menu.dropShadow() ? _menu.shadowStrip : 0;
    const std::optional<QList<MenuItem>> items = WebMenuLayout(_menu).menuRecords(page);
    if (!items)
        return;
    const std::optional<QList<MenuItem>> subItems = WebMenuLayout(_menu).subMenuRecords(page);
    const int current = WebMenuLayout(_menu).getCurrentPageNum(page);
    html += QLatin1String(measuringAnchors);

    const int itemBorders = _menu._mipl + _menu._mipr + _menu._mibl + _menu._mibr;
    const int itemHeights = _menu._mipt + _menu._mipb + _menu._mibt + _menu._mibb;
    Walk walk;
    walk.emptyRowHeight = _menu.calcHeight() - _menu._bt - _menu._bb - shadow;
    WebMenuLayout(_menu).walkItems(page, walk, [&](const ItemFrame& item) {
        const QList<MenuItem>* list = item.submenu ? (subItems ? &*subItems : nullptr) : &*items;
        if (!list || item.position >= list->size())
            return false;
        const MenuItem& record = list->at(item.position);
        ItemText::LinkKey key { item.submenu, record.seq == current, lq::truncatedPixel(item.rect.y()),
            lq::truncatedPixel(item.rect.x()),
            lq::truncatedPixel(item.rect.width()) - itemBorders - (item.verticalSubmenu ? _menu._indentSubmenu : 0),
            lq::truncatedPixel(item.rect.height()) - itemHeights, record.href, record.name };
        ItemText& text = *item.text;
        if (!text.linkFrom || !(*text.linkFrom == key)) {
            text.link = itemLink(key);
            text.linkFrom = std::move(key);
        }
        html += text.link;
        return false;
    });
}

QString WebMenuHtml::itemLink(const ItemText::LinkKey& key)
{
    QStringView itemClass;
    if (key.submenu)
        itemClass = key.current ? QStringView(u"subcurrent") : QStringView(u"subnav");
    else
        itemClass = key.current ? QStringView(u"current") : QStringView(u"nav");
    // Page names and links are the user's text: escaped, they cannot break
    // the page or add markup to it (the link as every link target is, the
    // name as page text).
    const QString href = XmlWebText::attributeEscape(key.href);
    const QString name = lq::escape(key.name);
    QString link;
    link.reserve(itemClass.size() + href.size() + name.size() + 96);
    link += QStringView(u"<a class=\"");
    link += itemClass;
    link += QStringView(u"\" href=\"");
    link += href;
    link += QStringView(u"\" style=\"top: ");
    lq::appendDecimal(link, key.top);
    link += QStringView(u"px; left: ");
    lq::appendDecimal(link, key.left);
    link += QStringView(u"px; width: ");
    lq::appendDecimal(link, key.width);
    link += QStringView(u"px; height: ");
    lq::appendDecimal(link, key.height);
    link += QStringView(u"px;\">");
    link += name;
    link += QStringView(u"</a>\n");
    return link;
}

