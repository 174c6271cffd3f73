// The content box's page output: the text as positioned lines or as
// flowing HTML, the box of each page pass, and the template's CSS.
#include "elements/XmlWebContent.h"

#include "elements/QZTextContainer.h"
#include "elements/StoredTextTokenizer.h"
#include "elements/XmlWebText.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"


namespace {

// Tag names written in pages by paragraph type (any other type: p).
QString pageTag(int type)
{
    return paragraphTagForKind(type);
}

// The rules of the positioned lines and of the flowing text, one per
// paragraph kind that the page's CSS styles.
struct StyledKind {
    int type;
    const char* tag;
    const char* fontCheckId;
};
constexpr StyledKind styledKinds[] = { { 0, "p", "cp" }, { 1, "h1", "ch1" }, { 2, "h2", "ch2" }, { 3, "h4", "ch4" } };

bool isBlankTabOrNewline(QChar c)
{
    return c == u'\t' || c == u' ' || c == u'\n';
}

} // namespace

// --- Page HTML ---------------------------------------------------------------------------------

QString XmlWebContent::createHTMLfromAttributedStringAtRect(const lq::StyledText& text, const lq::Rect& rect)
{
    return lq::modelFrame(this, "createHTMLfromAttributedString:atRect:", [&] {
        if (text.isEmpty())
            return QString();
        const bool flow = browserFlow();
        const lq::TextAttributes first = text.attributesAt(0);
        int type = first.value(lq::TextKey::type).toInt();
        if (type < 0 || type > 5)
            type = 0;
        const QString tag = pageTag(type);
        QString html = u'<' + tag;

        if (!flow) {
            QString fontCheckId;
            if (isFooter())
                fontCheckId = type == 0 ? QStringLiteral("fp") : QString();
            else if (type <= 3)
                fontCheckId = QString::fromLatin1(styledKinds[type].fontCheckId);
            XmlStyleSheet* owner = sheet();
            if (!fontCheckId.isEmpty() && owner && !owner->addFontBag(fontCheckId))
                html += QStringLiteral(" id=\"") + fontCheckId + u'"';
        }
        const lq::ParagraphStyle paragraph = first.paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle());
        if (paragraph.baseWritingDirection == lq::WritingDirection::RightToLeft)
            html += QStringLiteral(" dir=\"rtl\"");

        const int x = lq::truncatedPixel(rect.x());
        const int y = lq::truncatedPixel(rect.y());
        const int width = lq::truncatedPixel(rect.width());
        if (paragraph.alignment == lq::TextAlignment::Right)
            html += flow ? QStringLiteral(" style=\"text-align: right;\">")
                         : QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: right;\">",
                                             y, x - 200, width + 200);
        else if (paragraph.alignment == lq::TextAlignment::Center)
            html += flow ? QStringLiteral(" style=\"text-align: center;\">")
                         : QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: center;\">",
                                             y, x - 100, width + 200);
        else
            html += flow ? QStringLiteral(">") : QString::asprintf(" style=\"top: %dpx; left: %dpx;\">", y, x);

        appendRunsOfText(html, text, flow);
        html += QStringLiteral("</") + tag + QStringLiteral(">\n");
        return html;
    });
}

void XmlWebContent::appendRunsOfText(QString& html, const lq::StyledText& text, bool flow)
{
    QString runs;
    textHelper().appendRunsOfString(runs, text);
    // The browser wraps flowing text itself and ignores tabs.
    if (flow)
        runs.replace(QStringLiteral("&#009;"), QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"));
    html += runs;
}

void XmlWebContent::appendFlowParagraphs(QString& html)
{
    const QString& string = _contents->string();
    quint32 start = 0;
    while (start <= _contents->length()) {
        const qsizetype end = string.indexOf(u'\n', start);
        const quint32 stop = end < 0 ? _contents->length() : quint32(end);
        html += createHTMLfromAttributedStringAtRect(_contents->substring({ start, stop - start }), lq::Rect());
        if (end < 0)
            break;
        start = stop + 1;
    }
}

void XmlWebContent::appendHTMLPagePassSheet(QString& html, XmlBase*, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (pass == PagePass::HeadScript)
            appendFontChecks(html);
        else if (pass == PagePass::ContentBox)
            appendBox(html);
        else if (pass == PagePass::ContentText)
            appendText(html);
        else if (pass == PagePass::Steps)
            appendSteps(html);
    });
}

void XmlWebContent::appendFontChecks(QString& html)
{
    if (browserFlow())
        return;
    if (isFooter()) {
        const std::shared_ptr<XmlWebFont> record = font();
        html += QString::asprintf("fc.addfs(\"fp\", %d, %d, \"#footer p\");\n", record->lineHeight(),
                                  record->fontSize());
        return;
    }
    for (const StyledKind& kind : styledKinds) {
        const std::shared_ptr<XmlWebFont> record = fontForType(kind.type);
        html += QString::asprintf("fc.addfs(\"%s\", %d, %d, \"div.content %s\");\n", kind.fontCheckId,
                                  record->lineHeight(), record->fontSize(), kind.tag);
    }
}

void XmlWebContent::appendBox(QString& html)
{
    const bool flow = browserFlow();
    const bool footer = isFooter();
    const bool snippet = useHtmlSnippet();
    const int flowWidth = calcWidth() - _bl - _br - _pl - _pr;
    if (snippet) {
        html += QString::asprintf("<div id=\"footerbox\" style=\"top: %dpx; left:%dpx; width: %dpx; height: %dpx;\">\n",
                                  calcTop(), calcLeft(), flowWidth, calcHeight() - _bt - _bb - _pt - _pb);
        html += htmlSnippet()->content();
        html += QStringLiteral("</div>\n");
        return;
    }
    if (!flow) {
        html += htmlDivTagsVornStyle(footer ? QStringLiteral("footerbox") : QStringLiteral("contentbox"), QString());
        return;
    }
    if (!_contents)
        relayoutFlags(nullptr, 0);
    if (footer) {
        html += QString::asprintf("<div id=\"footerbox\" style=\"top: %dpx; left:%dpx; width: %dpx;\">\n",
                                  calcTop(), calcLeft(), flowWidth);
        if (!_contents || _contents->isEmpty())
            html += QStringLiteral("<p>&nbsp;</p>");
        else
            appendFlowParagraphs(html);
        html += QStringLiteral("</div>\n");
        return;
    }
    html += QString::asprintf("<div id=\"contentbox\" class=\"vornhtml\" style=\"top: %dpx; left:%dpx; width: %dpx;\">\n",
                              calcTop(), calcLeft(), flowWidth);
    if (_stc)
        _stc->createHTMLfloatsMaxheight(html, static_cast<float>(actualHeight() - _pt - _pb));
    if (_contents)
        appendFlowParagraphs(html);
    html += QStringLiteral("</div>\n");
}

void XmlWebContent::appendText(QString& html)
{
    if (!browserFlow() && !useHtmlSnippet())
        appendPositionedLines(html);
    if (createdWith()) {
        html += QString::asprintf("<div id=\"createwithbox\" style=\"top: %dpx; left: %dpx; height: 31px; "
                                  "position: absolute; display: block;\">",
                                  calcTop() + internalHeight() + 50, calcLeft() + calcWidth() / 2 - 50);
        html += QStringLiteral("<a href=\"https://lumenquill.org/\">"
                               "<img border=\"0\" src=\"createdwith.gif\" alt=\"Created With...\" height=\"31\" width=\"99\"/>"
                               "</a>&#160;&#160;</div>\n");
    }
}

void XmlWebContent::appendSteps(QString& html)
{
    if (createdWith())
        html += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"createdwith.gif\" />");
}

void XmlWebContent::appendPositionedLines(QString& html)
{
    html += isFooter() ? QStringLiteral("<div id=\"footer\">\n") : QStringLiteral("<div class=\"content\">\n");
    if (!_contents)
        relayoutFlags(nullptr, 0);
    if (_contents && _lm) {
        const QString& string = _contents->string();
        const lq::Point origin = _stc->boundingRect().origin;
        for (const lq::LineFragment& line : _lm->lineFragmentsForTextContainer(_tc.get())) {
            quint32 start = line.characterRange.location;
            quint32 end = quint32(line.characterRange.end());
            while (start < end) {
                if (isBlankTabOrNewline(string[end - 1])) {
                    --end;
                    continue;
                }
                if (isBlankTabOrNewline(string[start])) {
                    ++start;
                    continue;
                }
                qsizetype tab = string.indexOf(u'\t', start);
                const quint32 stop = tab < 0 || quint32(tab) > end ? end : quint32(tab);
                const lq::Range piece { start, stop - start };
                const QRectF bounds = _lm->boundingRectForGlyphRange(_lm->glyphRangeForCharacterRange(piece), _tc.get());
                html += createHTMLfromAttributedStringAtRect(_contents->substring(piece),
                                                             lq::Rect(bounds).offset(origin.x, origin.y));
                start = stop;
            }
        }
    }
    html += QStringLiteral("</div>\n");
}

// --- Template CSS ------------------------------------------------------------------------------

void XmlWebContent::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#contentbox {");
        appendCSSBorders(css);
        appendCSSBackground(css);
        if (browserFlow())
            appendCSSPadding(css);
        css += QStringLiteral("display: block; ");
        css += QStringLiteral("position: absolute; ");
        css += QStringLiteral("}\n");
        css += QStringLiteral("div.lf { float:left; clear: left; display: block; margin: 0px; padding:0px; border:none; "
                              "background:none; line-height: 1px; font-size: 1px;}\n");
        css += QStringLiteral("div.rf { float:right; clear: right; display: block; margin: 0px; padding:0px; border:none; "
                              "background:none; line-height: 1px; font-size: 1px;}\n");
        // The positioned lines, then the flowing text.
        const auto rules = [&](const QString& division, const QString& declarations) {
            for (const StyledKind& kind : styledKinds) {
                const std::shared_ptr<XmlWebFont> record = fontForType(kind.type);
                const QString selector = division + QLatin1String(kind.tag);
                css += selector + QStringLiteral(" {") + declarations;
                record->appendCSSFontParameters(css);
                css += QStringLiteral("}\n");
                record->appendCSSLinkParametersTag(css, selector);
            }
        };
        rules(QStringLiteral("div.content "),
              QStringLiteral("position: absolute; white-space: nowrap; display: block; margin: 0px; "));
        rules(QStringLiteral("div.vornhtml "), QStringLiteral("margin: 0px; "));
    });
}

void XmlWebContent::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#contentbox"), suffix);
    });
}
