// The navigation menu's page output: the template's CSS and the HTML of
// each page pass.
#include "elements/XmlWebMenu.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlWebText.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
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

void XmlWebMenu::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#navigation {");
        css += QStringLiteral("display: block; position: absolute; white-space: nowrap; ");
        appendCSSBorders(css);
        appendCSSBackground(css);
        css += QStringLiteral("}\n");

        const std::shared_ptr<XmlWebFont> record = font();
        const bool across = orientation() == 1 || orientation() == 2;
        struct Rule {
            const char* selector;
            bool itemHead;        // else the head of a hover or click rule, without font
            XmlCSSBackground* background;
            const lq::Colour& text;
            int underline;
            bool submenu;
        };
        const Rule rules[] = {
            { "a.current {", true, _currentBkgnd.get(), _itemStyle.currentText(), _itemStyle.currentUnderline(), false },
            { "a.nav {", true, _normalBkgnd.get(), _itemStyle.normalText(), _itemStyle.normalUnderline(), false },
            { "a.nav:hover {", false, _hoverBkgnd.get(), _itemStyle.hoverText(), _itemStyle.hoverUnderline(), false },
            { "a.nav:active {", false, _clickBkgnd.get(), _itemStyle.clickText(), _itemStyle.clickUnderline(), false },
            { "a.subcurrent {", true, _currentBkgnd.get(), _itemStyle.currentText(), _itemStyle.currentUnderline(), true },
            { "a.subnav {", true, _normalBkgnd.get(), _itemStyle.normalText(), _itemStyle.normalUnderline(), true },
            { "a.subnav:hover {", false, _hoverBkgnd.get(), _itemStyle.hoverText(), _itemStyle.hoverUnderline(), true },
            { "a.subnav:active {", false, _clickBkgnd.get(), _itemStyle.clickText(), _itemStyle.clickUnderline(), true },
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
            css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _itemStyle.mipt(), _itemStyle.mipr(), _itemStyle.mipb(),
                                     _itemStyle.mipl() + (rule.submenu ? _itemStyle.indentSubmenu() : 0));
            appendCSSMenuItemBorders(css);
            css += QStringLiteral("margin: 0px; ");
            if (rule.itemHead)
                appendCSSFontParametersForFontWithSize(css, *record, rule.submenu ? _itemStyle.subFontSize() : 0);
            css += QStringLiteral("}\n");
        }
    });
}

void XmlWebMenu::appendCSSMenuItemBorders(QString& css)
{
    lq::modelFrame(this, "appendCSSMenuItemBorders:", [&] {
        const QString style = XmlBoxModel::borderType(static_cast<XmlBoxModel::BorderType>(_itemStyle.mibtype()));
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-") + QLatin1String(which) + QStringLiteral(": ") + lq::colorToCSSString(colour)
                + QLatin1Char(' ') + style + QString::asprintf(" %dpx; ", width);
        };
        side("top", _itemStyle.mibtc(), _itemStyle.mibt());
        side("left", _itemStyle.miblc(), _itemStyle.mibl());
        side("bottom", _itemStyle.mibbc(), _itemStyle.mibb());
        side("right", _itemStyle.mibrc(), _itemStyle.mibr());
    });
}

void XmlWebMenu::appendCSSFontParametersForFontWithSize(QString& css, XmlWebFont& record, int size)
{
    lq::modelFrame(this, "appendCSSFontParameters:forFont:withSize:", [&] {
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
        switch (orientation()) {
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

// --- Fix-ups for old browsers ------------------------------------------------------------------

void XmlWebMenu::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#navigation"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.current"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.nav:active"), suffix);
    _currentBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subcurrent"), suffix);
    _normalBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav"), suffix);
    _hoverBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:hover"), suffix);
    _clickBkgnd->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("a.subnav:active"), suffix);
}

void XmlWebMenu::genCSSWinIEBitmap(QString& script)
{
    _currentBkgnd->genCSSWinIEBitmap(script);
    _normalBkgnd->genCSSWinIEBitmap(script);
    _hoverBkgnd->genCSSWinIEBitmap(script);
    _clickBkgnd->genCSSWinIEBitmap(script);
    XmlBoxModel::genCSSWinIEBitmap(script);
}

// --- Page HTML -------------------------------------------------------------------------------------

void XmlWebMenu::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (pass == PagePass::HeadScript)
            appendFontChecks(html);
        else if (pass == PagePass::NavigationBox)
            appendNavigationBox(html);
        else if (pass == PagePass::NavigationItems)
            appendItemLinks(html, page);
    });
}

void XmlWebMenu::appendFontChecks(QString& html)
{
    const std::shared_ptr<XmlWebFont> record = font();
    const std::optional<lq::Font> face = record->createFont();
    const int v = _itemStyle.mipt() + _itemStyle.mipb() + _itemStyle.mibt() + _itemStyle.mibb();
    const int lineHeight = record->lineHeight();
    const int subLineHeight = face ? lq::truncatedPixel(face->withPixelSize(_itemStyle.subFontSize()).defaultLineHeight()) : 0;
    html += QString::asprintf("fc.addfs(\"ac\", %d, %d, \"a.current\");\n", lineHeight + v, record->fontSize());
    html += QString::asprintf("fc.addfs(\"an\", %d, %d, \"a.nav\");\n", lineHeight + v, record->fontSize());
    html += QString::asprintf("fc.addfs(\"asc\", %d, %d, \"a.subcurrent\");\n", subLineHeight + v, _itemStyle.subFontSize());
    html += QString::asprintf("fc.addfs(\"asn\", %d, %d, \"a.subnav\");\n", subLineHeight + v, _itemStyle.subFontSize());
}

void XmlWebMenu::appendNavigationBox(QString& html)
{
    const int shadow = dropShadow() ? shadowStrip : 0;
    const int boxWidth = width() - _bl - _br - shadow;
    const int boxHeight = calcHeight() - _bt - _bb - shadow;
    html += htmlDivTagsForRect(QStringLiteral("navigation"),
                               lq::Rect(toFloat(_left), toFloat(_top), toFloat(boxWidth), toFloat(boxHeight)));
}

void XmlWebMenu::appendItemLinks(QString& html, XmlBase* page)
{
    const int shadow = dropShadow() ? shadowStrip : 0;
    const std::optional<QList<MenuItem>> items = menuRecords(page);
    if (!items)
        return;
    const std::optional<QList<MenuItem>> subItems = subMenuRecords(page);
    const int current = getCurrentPageNum(page);
    html += QLatin1String(measuringAnchors);

    const int itemBorders = _itemStyle.mipl() + _itemStyle.mipr() + _itemStyle.mibl() + _itemStyle.mibr();
    const int itemHeights = _itemStyle.mipt() + _itemStyle.mipb() + _itemStyle.mibt() + _itemStyle.mibb();
    Walk walk;
    walk.emptyRowHeight = calcHeight() - _bt - _bb - shadow;
    walkItems(page, walk, [&](const ItemFrame& item) {
        const QList<MenuItem>* list = item.submenu ? (subItems ? &*subItems : nullptr) : &*items;
        if (!list || item.position >= list->size())
            return false;
        const MenuItem& record = list->at(item.position);
        ItemText::LinkKey key { item.submenu, record.seq == current, lq::truncatedPixel(item.rect.y()),
            lq::truncatedPixel(item.rect.x()),
            lq::truncatedPixel(item.rect.width()) - itemBorders - (item.verticalSubmenu ? _itemStyle.indentSubmenu() : 0),
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

QString XmlWebMenu::itemLink(const ItemText::LinkKey& key)
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

