#include "elements/XmlWebBox.h"

#include "model/site/XmlAlbum.h"
#include "model/site/XmlMasthead.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "templates/XmlWebFont.h"

namespace {

// The site's masthead above the page, or nothing.
XmlMasthead* mastheadOf(XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    return album ? album->masthead() : nullptr;
}

} // namespace

XmlWebBox::XmlWebBox(Key key)
    : XmlWebText(key)
{
    _heightFixed = true;
    _widthFixed = true;
    _absolute = true;
}

std::shared_ptr<XmlWebBox> XmlWebBox::create()
{
    return make<XmlWebBox>();
}

QString XmlWebBox::elementName() const
{
    return QStringLiteral("cssWebBox");
}

bool XmlWebBox::enabled()
{
    return true;
}

bool XmlWebBox::canDoubleClick()
{
    return true;
}

bool XmlWebBox::isMasthead() const
{
    return _name == u"Masthead";
}

bool XmlWebBox::isPageTitle() const
{
    return _name == u"Page Title";
}

// --- Page HTML ---------------------------------------------------------------------------------

void XmlWebBox::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (!isMasthead() && !isPageTitle())
            return;
        const bool masthead = isMasthead();
        XmlMasthead* part = masthead ? mastheadOf(page) : nullptr;
        const QString link = part ? part->linkTo() : QString();

        // The text as positioned lines over the box's text area.
        const auto writeLines = [&](const QString& pre, const QString& post) {
            if (!_lm)
                relayoutFlags(page, 0);
            if (!_lm)
                return;
            appendHTMLFromLayoutManagerPrePostBounding(html, _lm.get(), pre, post, internalRect());
        };

        switch (pass) {
        case PagePass::HeadScript: {
            const std::shared_ptr<XmlWebFont> record = font();
            const int lineHeight = record->lineHeight();
            const int size = record->fontSize();
            if (masthead) {
                html += QString::asprintf("fc.addfs(\"mh\", %d, %d, \"p.mh\");\n", lineHeight, size);
                html += QString::asprintf("fc.addfs(\"amh\", %d, %d, \"a.mh\");\n", lineHeight, size);
            } else {
                html += QString::asprintf("fc.addfs(\"pt\", %d, %d, \"p.pt\");\n", lineHeight, size);
            }
            break;
        }
        case PagePass::MastheadBox:
            if (!masthead)
                break;
            if (part && !link.isEmpty() && part->content().isEmpty()) {
                // A link without text: the whole box is the link.
                const QString script = attributeEscape(lq::javascriptEscape(link));
                html += htmlDivTagsVornStyle(QStringLiteral("mastheadbox\" onclick=\"location.href='") + script
                                                 + QStringLiteral("';"),
                                             QStringLiteral("cursor: pointer; "));
            } else {
                html += htmlDivTagsVornStyle(QStringLiteral("mastheadbox"), QString());
            }
            break;
        case PagePass::PageTitleBox:
            if (!masthead)
                html += htmlDivTagsVornStyle(QStringLiteral("pagetitlebox"), QString());
            break;
        case PagePass::MastheadText:
            if (!masthead)
                break;
            if (!link.isEmpty()) {
                writeLines(QStringLiteral("<a id =\"mh\" class=\"mh\" href=\"") + attributeEscape(link)
                               + QStringLiteral("\""),
                           QStringLiteral("</a>\n"));
            } else {
                writeLines(QStringLiteral("<p id =\"mh\" class=\"mh\""), QStringLiteral("</p>\n"));
            }
            break;
        case PagePass::PageTitleText:
            if (!masthead)
                writeLines(QStringLiteral("<p id=\"pt\" class=\"pt\""), QStringLiteral("</p>\n"));
            break;
        default:
            break;
        }
    });
}

// --- CSS ---------------------------------------------------------------------------------------

void XmlWebBox::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        QString box = QStringLiteral("boxmodel");
        QString text = QStringLiteral("textbox");
        if (isMasthead()) {
            box = QStringLiteral("#masthead");
            text = QStringLiteral("p.mh");
            css += QStringLiteral("a.mh { text-decoration: none; display: block; position: absolute; margin: 0px; "
                                  "white-space: nowrap; ");
            record->appendCSSFontParameters(css);
            css += QStringLiteral("}\n");
        } else if (isPageTitle()) {
            box = QStringLiteral("#pagetitle");
            text = QStringLiteral("p.pt");
        }
        css += box + QStringLiteral("box {");
        appendCSSBorders(css);
        appendCSSBackground(css);
        css += QStringLiteral("display: block; position: absolute; }\n");
        css += text + QStringLiteral(" {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
        record->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");
    });
}

void XmlWebBox::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        const QString tag = isMasthead()    ? QStringLiteral("#mastheadbox")
                          : isPageTitle() ? QStringLiteral("#pagetitlebox")
                                          : QStringLiteral("boxmodel");
        appendCSSWinIEBackgroundTagSuffix(css, tag, suffix);
    });
}

// --- Editing -----------------------------------------------------------------------------------

void XmlWebBox::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (const std::shared_ptr<XmlAlbum> page = getCurrentAlbum()) {
            const QString plain = _contents ? _contents->string() : QStringLiteral("");
            if (isMasthead()) {
                if (XmlMasthead* part = page->masthead())
                    part->setContent(plain);
            } else if (isPageTitle()) {
                page->setContent(plain);
            }
        }
        XmlWebText::endEditingInView();
    });
}

int XmlWebBox::textBoxHeight()
{
    return lq::modelFrame(this, "textBoxHeight", [&] {
        if (!_contents || !_lm)
            return 0;
        return lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).height());
    });
}
