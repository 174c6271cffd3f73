// The Vorn Box's HTML writer: the page a preview view shows, the template's CSS,
// and the box's part of the page in its pass.
#include "elements/XmlVornBox.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "templates/XmlStyleSheet.h"

#include <QUrl>


namespace {

QString trueOrFalse(bool flag)
{
    return flag ? QStringLiteral("true") : QStringLiteral("false");
}

// Text for a single-quoted script string: backslash, quote and line breaks
// escaped, and "</" broken so that it cannot end the script element.
QString scriptString(const QString& text)
{
    QString escaped = lq::javascriptEscape(lq::orEmpty(text));
    escaped.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return escaped;
}

// The scale word of a Flash movie.
QString scaleWord(int scale)
{
    switch (scale) {
    case 1:
        return QStringLiteral("noborder");
    case 2:
        return QStringLiteral("exactfit");
    default:
        return QStringLiteral("Default");
    }
}

// The addresses of the plug-ins a preview page names.
const char* const quickTimeCabinet = "http://www.apple.com/qtactivex/qtplugin.cab";
const char* const quickTimeDownload = "http://www.apple.com/quicktime/download/";
const char* const flashCabinet = "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab";
const char* const flashDownload = "http://www.macromedia.com/go/getflashplayer";

} // namespace

void XmlVornBox::appendImage(QString& html, bool forPage)
{
    const bool linked = !_settings.clickLinkTo().isEmpty();
    if (linked) {
        html += QStringLiteral("<a href=\"") + attributeEscape(_settings.clickLinkTo()) + QStringLiteral("\" target=\"")
            + (_settings.newWindow() ? QStringLiteral("_blank") : QStringLiteral("_self")) + QStringLiteral("\">");
    }
    html += QStringLiteral("<img src=\"") + attributeEscape(_settings.externalHTML()) + QLatin1Char('"');
    if (forPage)
        html += QStringLiteral(" alt=\"\" style=\"border: 0px; \"");
    if (!_settings.rollOverImage().isEmpty()) {
        const QString n = QString::number(vornSeqNum());
        html += QStringLiteral(" id=\"xvornro") + n + QLatin1Char('"');
        html += QStringLiteral(" onload=\"vornro") + n + QStringLiteral(" = new rollOver('xvornro") + n
            + QStringLiteral("', '") + attributeEscape(scriptString(_settings.externalHTML())) + QStringLiteral("', '")
            + attributeEscape(scriptString(_settings.rollOverImage())) + QStringLiteral("')\"");
        html += QStringLiteral(" onmouseout=\"vornro") + n + QStringLiteral(".mouseOut()\"");
        html += QStringLiteral(" onmouseover=\"vornro") + n + QStringLiteral(".mouseOver()\"");
    }
    html += QStringLiteral(" />");
    if (linked)
        html += QStringLiteral("</a>\n");
}

QString XmlVornBox::htmlString()
{
    return lq::modelFrame(this, "htmlString", [&]() -> QString {
        if (type() == 1 || type() == 3 || (type() == 0 && _settings.externalType() == 0))
            return QString();
        const int iw = internalWidth();
        const int ih = internalHeight();
        const QString files = QUrl::fromLocalFile(rootDir() + QStringLiteral("/files/")).toString(QUrl::FullyEncoded);
        QString html;
        html += QStringLiteral("<html>\n<head>\n");
        html += QStringLiteral("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\n");
        html += QStringLiteral("<base href=\"") + attributeEscape(files) + QStringLiteral("\" >\n");
        html += QStringLiteral("<style type=\"text/css\">\n");
        html += QStringLiteral("body { background-color: transparent; overflow: hidden; padding: 0px; margin: 0px;}\n");
        if (XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent)) {
            const XmlBasePtr content = sheet->getElementWithName(QStringLiteral("Content"));
            if (XmlCSS* element = XmlCSS::cast(content.get()))
                element->appendCSS(html);
        }
        html += QStringLiteral("</style>\n");
        html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n"
                               "<!--\n"
                               "function rollOver (ident, normal, over) {\n"
                               "this.ident = ident;\n"
                               "this.normalImage = new Image();\n"
                               "this.normalImage.src = normal;\n"
                               "this.overImage = new Image();\n"
                               "this.overImage.src = over;\n"
                               "this.mouseOver = function () {\n"
                               "var image = document.getElementById(this.ident);\n"
                               "if (image) {\n"
                               "image.src = this.overImage.src;\n"
                               "}\n"
                               "}\n"
                               "this.mouseOut = function () {\n"
                               "var image = document.getElementById(this.ident);\n"
                               "if (image) {\n"
                               "image.src = this.normalImage.src;\n"
                               "}\n"
                               "}\n"
                               "}\n"
                               "// -->\n"
                               "</script>\n"
                               "</head>\n"
                               "<body>\n");
        const QString item = attributeEscape(_settings.externalHTML());
        const QString size = QStringLiteral(" HEIGHT=\"") + QString::number(ih) + QStringLiteral("\" WIDTH=\"")
            + QString::number(iw) + QLatin1Char('"');
        if (type() == 2) {
            html += QStringLiteral("<div class=\"vornhtml\">") + htmlSnippet()->content() + QStringLiteral("</div>");
        } else if (_settings.externalType() == 1) {
            const QString autoplay = trueOrFalse(_settings.autostart());
            const QString controller = trueOrFalse(_settings.moviecontroller());
            html += QStringLiteral("<OBJECT CLASSID=\"clsid:02BF25D5-8C17-4B23-BC80-D3488ABDDC6B\" CODEBASE=\"")
                + QLatin1String(quickTimeCabinet) + QLatin1Char('"') + size + QStringLiteral(" >\n");
            html += QStringLiteral("<PARAM NAME=\"src\" VALUE=\"") + item + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"AutoPlay\" VALUE=\"") + autoplay + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"Controller\" VALUE=\"") + controller + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"Loop\" VALUE=\"false\" />\n");
            html += QStringLiteral("<EMBED SRC=\"") + item + QLatin1Char('"') + size
                + QStringLiteral(" TYPE=\"video/quicktime\" PLUGINSPAGE=\"") + QLatin1String(quickTimeDownload)
                + QLatin1Char('"');
            html += QStringLiteral(" AUTOPLAY=\"") + autoplay + QStringLiteral("\" CONTROLLER=\"") + controller
                + QStringLiteral("\" LOOP=\"false\" />\n");
            html += QStringLiteral("</OBJECT>\n");
        } else if (_settings.externalType() == 2) {
            const QString loop = trueOrFalse(_settings.loopmovie());
            const QString scale = scaleWord(_settings.scale());
            html += QStringLiteral("<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"")
                + QLatin1String(flashCabinet) + QStringLiteral("#version=6,0,40,0\"") + size + QStringLiteral(" >\n");
            html += QStringLiteral("<PARAM NAME=\"MOVIE\" VALUE=\"") + item + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"PLAY\" VALUE=\"true\" />\n");
            html += QStringLiteral("<PARAM NAME=\"LOOP\" VALUE=\"") + loop + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"MENU\" VALUE=\"false\" />\n");
            html += QStringLiteral("<PARAM NAME=\"QUALITY\" VALUE=\"Best\" />\n");
            html += QStringLiteral("<PARAM NAME=\"SCALE\" VALUE=\"") + scale + QStringLiteral("\" />\n");
            html += QStringLiteral("<EMBED SRC=\"") + item + QLatin1Char('"') + size;
            html += QStringLiteral(" PLAY=\"true\" LOOP=\"") + loop + QStringLiteral("\" MENU=\"false\" QUALITY=\"Best\"")
                + QStringLiteral(" SCALE=\"") + scale + QLatin1Char('"');
            html += QStringLiteral(" TYPE=\"application/x-shockwave-flash\" PLUGINSPAGE=\"")
                + QLatin1String(flashDownload) + QLatin1Char('"') + QStringLiteral(" />\n");
            html += QStringLiteral("</OBJECT>\n");
        } else if (_settings.externalType() == 3) {
            if (!_settings.externalHTML().isEmpty())
                appendImage(html, false);
        }
        html += QStringLiteral("\n</body></html>");
        return html;
    });
}

// --- Template CSS ------------------------------------------------------------------------------

void XmlVornBox::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("div#vorn") + QString::number(vornSeqNum()) + QStringLiteral(" {");
        css += QStringLiteral("margin: 0px; display: block; position: absolute; ");
        appendCSSBorders(css);
        appendCSSBackground(css);
        if (type() == 0 && _settings.externalType() == 3)
            css += QStringLiteral("overflow: hidden; ");
        if (type() == 3)
            css += QStringLiteral("overflow: hidden; ");
        if (type() == 3 && getCorrectPass() == PagePass::ForegroundVorns)
            css += QStringLiteral("z-index:100; ");
        css += QStringLiteral("}\n");
    });
}

void XmlVornBox::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("div#vorn") + QString::number(vornSeqNum()), suffix);
    });
}

// --- Page HTML ---------------------------------------------------------------------------------

void XmlVornBox::appendHTMLPagePassSheet(QString& html, XmlBase*, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        const PagePass myPass = type() == 3 ? getCorrectPass() : PagePass::ForegroundVorns;
        if (pass != myPass)
            return;
        const QString n = QString::number(vornSeqNum());
        const QString id = QStringLiteral("vorn") + n;
        if (type() == 1 || type() == 3) {
            html += htmlDivTagsVornStyle(id, QString());
            if (type() == 3)
                return;
            html += QStringLiteral("<div class=\"content\">");
            if (_lm) {
                const lq::Rect inner = internalRect();
                appendHTMLFromLayoutManagerOffset(html, _lm.get(), inner.origin);
            }
            html += QStringLiteral("</div>\n");
            return;
        }

        const int width = calcWidth() - _bl - _br;
        const int height = calcHeight() - _bt - _bb;
        const QString outer = QString::asprintf("<div id=\"vorn%d\" style=\"top: %dpx; left: %dpx; width: %dpx; height: %dpx;\">",
                                                vornSeqNum(), calcTop(), calcLeft(), width, height);
        const QString padded = QString::asprintf(" style=\"padding: %dpx %dpx %dpx %dpx;\">", _pt, _pr, _pb, _pl);

        if (type() == 2) {
            html += outer + QStringLiteral("<div class=\"vornhtml\"") + padded;
            html += htmlSnippet()->content();
            html += QStringLiteral("</div></div>\n");
            return;
        }

        if (_settings.externalType() == 0) {
            html += outer;
            html += QStringLiteral("<iframe id=\"ivorn") + n + QStringLiteral("\" frameborder=\"0\" height=\"")
                + QString::number(height) + QStringLiteral("\" scrolling=\"")
                + (_settings.scrollbars() ? QStringLiteral("yes") : QStringLiteral("no")) + QStringLiteral("\" src=\"")
                + attributeEscape(_settings.externalHTML()) + QStringLiteral("\" width=\"") + QString::number(width)
                + QStringLiteral("\">This browser does not support iframes</iframe>\n");
            html += QStringLiteral("</div>\n");
            return;
        }

        html += outer + QStringLiteral("<div id=\"xvorn") + n + QStringLiteral("\" class=\"vornhtml\"") + padded;
        const QString script = QStringLiteral("<script language=\"Javascript\" type=\"text/javascript\">\n");
        const QString target = QStringLiteral("'xvorn") + n + QStringLiteral("', '") + scriptString(_settings.externalHTML())
            + QStringLiteral("', '") + QString::number(internalWidth()) + QStringLiteral("', '")
            + QString::number(internalHeight()) + QStringLiteral("', '");
        switch (_settings.externalType()) {
        case 1:
            html += QStringLiteral("</div></div>\n") + script;
            html += QStringLiteral("insertQuicktime(") + target + trueOrFalse(_settings.autostart()) + QStringLiteral("', '")
                + trueOrFalse(_settings.moviecontroller()) + QStringLiteral("', '") + trueOrFalse(_settings.loopmovie())
                + QStringLiteral("', '") + trueOrFalse(_settings.hiddenQT() != 0) + QStringLiteral("');\n");
            html += QStringLiteral("</script>\n");
            break;
        case 2:
            html += QStringLiteral("</div></div>\n") + script;
            html += QStringLiteral("insertFlash(") + target + trueOrFalse(_settings.loopmovie()) + QStringLiteral("', '")
                + scaleWord(_settings.scale()) + QStringLiteral("', '") + lq::colorToCSSString(bkgndColor())
                + QStringLiteral("');\n");
            html += QStringLiteral("</script>\n");
            break;
        case 3:
            if (!_settings.externalHTML().isEmpty())
                appendImage(html, true);
            html += QStringLiteral("</div></div>\n");
            break;
        default:
            // An unknown kind of item: the divisions are still closed.
            html += QStringLiteral("</div></div>\n");
            break;
        }
    });
}

void XmlVornBox::appendPageCentringScript(QString& script)
{
    if (!visible() || type() != 0 || _settings.externalType() != 0)
        return;
    script += QStringLiteral("   vornbox = document.getElementById(\"vorn%1\");\n").arg(vornSeqNum());
    script += QStringLiteral("   xbtop = top + %1;\n").arg(calcTop());
    script += QStringLiteral("   vornbox.style.top = xbtop+\"px\";\n");
}
