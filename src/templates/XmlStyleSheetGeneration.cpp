// The page template's generation: the HTML of a page and the template's style
// sheet, written as processor-script text. The elements of the template write
// their own parts through the generation hooks, pass by pass.
#include "templates/XmlStyleSheet.h"

#include "elements/XmlVornBox.h"
#include "model/core/DocumentBase.h"
#include "model/core/XmlTextFormat.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSearchTags.h"
#include "model/site/XmlSite.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "templates/XmlCSSImage.h"

#include <array>
#include <typeinfo>

namespace {

// Index 0 is "no language" and never written; 33 is Swedish, the language
// the publishing settings list between Spanish and Turkish.
constexpr std::array<const char*, 35> languageCodes = {
    "--", "ar", "bg", "ca", "zh", "hr", "cs", "da", "nl", "en", "et", "fi",
    "fr", "de", "el", "iw", "hu", "is", "in", "it", "ja", "ko", "lv", "lt",
    "no", "pl", "pt", "ro", "ru", "sr", "sk", "sl", "es", "sv", "tr"
};

QString attribute(const QString& value)
{
    return XmlBase::escape(value);
}

int indexOfUUID(const XmlBaseList& items, const QString& uuid)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->UUID() == uuid)
            return i;
    return -1;
}

QString linkOf(XmlBase* item)
{
    XmlWebItem* page = dynamic_cast<XmlWebItem*>(item);
    return page ? page->linkAddress() : QStringLiteral("#");
}

QString linkOf(const XmlBasePtr& item)
{
    return linkOf(item.get());
}

// A page variable of the head script: the link as a script string.
void appendLink(QString& html, const char* variable, const QString& link)
{
    html += QStringLiteral("var ") + QLatin1String(variable) + QStringLiteral(" = \"") + lq::scriptStringEscape(link) + QStringLiteral("\";\n");
}

void appendMSIECondition(QString& html)
{
    html += QStringLiteral("var appVersion = navigator.appVersion;\n");
    html += QStringLiteral("if ((appVersion.indexOf(\"MSIE\") != -1) &&\n");
    html += QStringLiteral(" (appVersion.indexOf(\"Macintosh\") == -1)) {\n");
}

} // namespace

QString XmlStyleSheet::languageCode(int langcode)
{
    if (langcode < 1 || langcode >= int(languageCodes.size()))
        return QString();
    return QString::fromLatin1(languageCodes[std::size_t(langcode)]);
}

bool XmlStyleSheet::isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c == u':')
            return false;
    return true;
}

void XmlStyleSheet::genHTMLForPageViewHtmlFlags(XmlBase* pageObject, int view, QString& script, int flags)
{
    lq::modelFrame(this, "genHTMLForPage:view:html:flags:", [&] {
        XmlAlbum* page = XmlAlbum::cast(pageObject);
        if (!page)
            return;
        // 1. The view; a page without a slideshow page refuses view 1.
        const View wanted = static_cast<View>(view);
        setPageView(page, wanted);
        if (this->view() != wanted)
            return;
        // 2. Lay the page out.
        relayoutFlags(page, 0);
        // 3. No site, no page.
        DocumentBase* document = myDocument();
        XmlSite* site = document ? document->site() : nullptr;
        if (!site)
            return;
        const QString pageFile = view == 0 ? page->fileName() : QStringLiteral("slideshow%1.html").arg(page->pageSeqNumber());
        if (!isPlainFileName(pageFile)) {
            lq::log(QStringLiteral("Refused page file name outside the site: ") + pageFile);
            return;
        }
        // 4. Each text style's font check once per page.
        clearFontBag();
        // 5.
        const bool wrap = centerHorz() || centerVert();
        const QString suffix = QStringLiteral("%1p%2").arg(templateSeqNum()).arg(page->pageSeqNumber());
        const XmlBaseList elements = children();
        auto visibleElement = [](const XmlBasePtr& child) -> XmlCSS* {
            XmlCSS* element = XmlCSS::cast(child.get());
            return element && element->visible() ? element : nullptr;
        };
        // 6. The page's text is made apart from the script: it holds what
        // users wrote (page names, texts, captions, the home page's HTML, the
        // feed's title) and goes into the script only through the verbatim
        // block writer, which no text can end early.
        QString html;
        auto pass = [&](int number) {
            for (const XmlBasePtr& child : elements)
                if (XmlCSS* element = visibleElement(child))
                    element->appendHTMLPagePassSheet(html, page, number, this);
        };

        // 7. Head.
        html += QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n");
        html += QStringLiteral("<html>\n");
        html += QStringLiteral("<head>\n");
        html += QStringLiteral("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\n");
        html += QStringLiteral("<title>") + XmlBase::escape(page->content()) + QStringLiteral("</title>\n");
        html += QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"") + filename() + QStringLiteral("\">\n");
        XmlRSS* feed = document->rss();
        if (feed && feed->publish())
            html += QStringLiteral("<link rel=\"alternate\" type=\"application/rss+xml\" href=\"rss.xml\" title=\"") + XmlBase::escape(feed->title())
                + QStringLiteral("\">\n");
        html += QStringLiteral("<script type=\"text/javascript\" src=\"lumenquill.js\"></script>\n");

        // 8. The head script.
        html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n");

        // 9. The fix-up loader for Internet Explorer on Windows.
        QString fixupRules;
        for (const XmlBasePtr& child : elements)
            if (XmlCSS* element = XmlCSS::cast(child.get()))
                element->appendCSSWinIESuffix(fixupRules, suffix);
        if (!fixupRules.isEmpty()) {
            appendMSIECondition(html);
            html += QStringLiteral(" document.write('<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"iefix") + suffix + QStringLiteral(".css\">');\n");
            html += QStringLiteral("}\n");
        }

        // 10. Neighbour pages in the site.
        XmlHomePage* home = page->homepage();
        const XmlBaseList items = home ? home->webItems() : XmlBaseList();
        const int place = indexOfUUID(items, page->UUID());
        if (place >= 0) {
            appendLink(html, "prevPageLink", place == 0 ? QStringLiteral("#") : linkOf(items[place - 1]));
            appendLink(html, "nextPageLink", place + 1 == items.size() ? QStringLiteral("#") : linkOf(items[place + 1]));
        }

        // 11. Neighbours within the page's group.
        const bool isGroup = typeid(*page) == typeid(XmlGroup);
        XmlBase* parent = page->parent();
        XmlBaseList group;
        bool hasGroup = false;
        if (isGroup) {
            group = page->webItems();
            hasGroup = true;
        } else if (parent && typeid(*parent) == typeid(XmlGroup)) {
            group = parent->webItems();
            hasGroup = true;
        }
        const int groupPlace = indexOfUUID(group, page->UUID());
        if (!hasGroup || group.isEmpty()) {
            appendLink(html, "prevPageInGroupLink", QStringLiteral("#"));
            appendLink(html, "nextPageInGroupLink", QStringLiteral("#"));
        } else if (groupPlace < 0) {
            appendLink(html, "prevPageInGroupLink", QStringLiteral("#"));
            appendLink(html, "nextPageInGroupLink", linkOf(group.first()));
        } else {
            QString previous;
            if (groupPlace == 0)
                previous = isGroup ? QStringLiteral("#") : linkOf(parent);
            else
                previous = linkOf(group[groupPlace - 1]);
            appendLink(html, "prevPageInGroupLink", previous);
            appendLink(html, "nextPageInGroupLink", groupPlace + 1 == group.size() ? QStringLiteral("#") : linkOf(group[groupPlace + 1]));
        }

        // 12. Vertical centring.
        if (centerVert()) {
            html += QStringLiteral("function centerpage () {\n");
            html += QStringLiteral("   var browserHeight;\n");
            html += QStringLiteral("   if (typeof(window.innerHeight) == 'number'){\n");
            html += QStringLiteral("      browserHeight = window.innerHeight;\n");
            html += QStringLiteral("   } else if (document.documentElement && document.documentElement.clientHeight){\n");
            html += QStringLiteral("      browserHeight = document.documentElement.clientHeight;\n");
            html += QStringLiteral("   } else if (document.body && document.body.clientHeight) {\n");
            html += QStringLiteral("      browserHeight = document.body.clientHeight;\n");
            html += QStringLiteral("   }\n");
            html += QStringLiteral("   var top = (browserHeight - %1)/2;\n").arg(pageHeight());
            html += QStringLiteral("   if (top <0)\n");
            html += QStringLiteral("      top = 0;\n");
            html += QStringLiteral("   var pageblock = document.getElementById(\"page\");\n");
            html += QStringLiteral("   pageblock.style.marginTop = top+\"px\";\n");
            const QList<std::shared_ptr<XmlVornBox>> boxes = getVornBoxes();
            if (!boxes.isEmpty()) {
                html += QStringLiteral("   var vornbox, xbtop;\n");
                // Only boxes of type 0 and external type 0 move with the page.
                for (const std::shared_ptr<XmlVornBox>& box : boxes) {
                    if (!box->visible() || box->type() != 0 || box->externalType() != 0)
                        continue;
                    html += QStringLiteral("   vornbox = document.getElementById(\"vorn%1\");\n").arg(box->vornSeqNum());
                    html += QStringLiteral("   xbtop = top + %1;\n").arg(box->calcTop());
                    html += QStringLiteral("   vornbox.style.top = xbtop+\"px\";\n");
                }
            }
            html += QStringLiteral("}\n");
        }

        // 13.
        html += browserFlow() ? QStringLiteral("var shouldAdjustFooter = 1;\n") : QStringLiteral("var shouldAdjustFooter = 0;\n");
        // 14.
        pass(-1);
        // 15.
        html += QStringLiteral("\n// -->\n</script>\n");
        // 16.
        pass(0);

        // 17. The home page's head parts.
        if (home) {
            const QString language = languageCode(home->langcode());
            if (!language.isEmpty())
                html += QStringLiteral("<meta http-equiv=\"content-language\" content=\"") + language + QStringLiteral("\" >\n");
            const QString description = home->description() ? home->description()->content() : QString();
            if (!description.isEmpty())
                html += QStringLiteral("<meta name=\"description\" content=\"") + XmlBase::escape(description) + QStringLiteral("\" >\n");
            const QString keywords = home->searchTags() ? home->searchTags()->content() : QString();
            if (!keywords.isEmpty())
                html += QStringLiteral("<meta name=\"keywords\" content=\"") + XmlBase::escape(keywords) + QStringLiteral("\" >\n");
            if (home->headHTML())
                html += home->headHTML()->content();
        }
        // 18.
        html += QStringLiteral("</head>\n");

        // 19. Body.
        const QString colour = colorToCSSString(bkgndColor());
        const bool pictureAllowed = allowImageInBackground();
        if (pictureAllowed)
            html += QStringLiteral("<body id=\"lqpage\" bgcolor=\"") + colour + QStringLiteral("\">\n");
        else
            html += QStringLiteral("<body id=\"lqpage\" bgcolor=\"") + colour + QStringLiteral("\" style=\"background-image: none;\">\n");
        // 20.
        if (wrap)
            html += QStringLiteral("<div id=\"page\" style=\"width:%1px; position:relative; margin:0%2;\">\n")
                        .arg(pageWidth())
                        .arg(centerHorz() ? QStringLiteral(" auto") : QString());
        // 21. The sliced background.
        if (bkgnd() == 6 && pictureAllowed && image()) {
            const lq::Size size = image()->size();
            const int width = int(size.width);
            const int height = int(size.height);
            const int top = topSlice();
            const int bottom = bottomSlice();
            const int middle = height - top - bottom;
            const int split = middleSlice();
            const QString uuid = image()->imageUUID();
            if (top > 0)
                html += QStringLiteral("<div class=\"empty\" style=\"position: relative; top: 0px; left: 0px; width: %1px; height: %2px; "
                                       "background-image: url(bitmaps/1%3%4.jpg); background-repeat: no-repeat;\" >&nbsp;</div>\n")
                            .arg(QString::number(width), QString::number(top), uuid, QString::number(top));
            if (middle > 0)
                html += QStringLiteral("<div class=\"empty\" style=\"top: %1px; left: 0px; width: %2px; height: %3px; "
                                       "background-image: url(bitmaps/2%4%5.jpg); background-repeat: repeat-y;\" >&nbsp;</div>\n")
                            .arg(QString::number(top), QString::number(width), QString::number(split - top), uuid, QString::number(middle));
            if (bottom > 0)
                html += QStringLiteral("<div class=\"empty\" style=\"top: %1px; left: 0px; width: %2px; height: %3px; "
                                       "background-image: url(bitmaps/3%4%5.jpg); background-repeat: no-repeat;\" >&nbsp;</div>\n")
                            .arg(QString::number(split), QString::number(width), QString::number(bottom), uuid, QString::number(bottom));
        }
        // 22. The layers of the page.
        for (int number = 1; number <= 17; ++number)
            pass(number);
        // 23.
        if (wrap)
            html += QStringLiteral("</div>\n");
        // 24.
        pass(18);
        // 25.
        if (home && home->bodyHTML())
            html += home->bodyHTML()->content();

        // 26. The closing script.
        html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n\n");
        if (centerVert()) {
            html += QStringLiteral("centerpage();\n");
            html += QStringLiteral("window.onresize = centerpage;\n");
        }
        if (!fixupRules.isEmpty()) {
            QString fixupScript;
            for (const XmlBasePtr& child : elements)
                if (XmlCSS* element = XmlCSS::cast(child.get()))
                    element->appendJavascriptWinIE(fixupScript);
            if (!fixupScript.isEmpty()) {
                appendMSIECondition(html);
                html += fixupScript;
                html += QStringLiteral("}\n");
            }
        }
        html += QStringLiteral("\n// -->\n</script>\n");
        // 27.
        html += QStringLiteral("</body>\n");
        html += QStringLiteral("</html>");
        // 28.
        if (flags != 0) {
            script += html;
            return;
        }
        // 29. The page step.
        script += QStringLiteral("<QZcreate dir=\"homepage\" filename=\"") + attribute(pageFile) + QStringLiteral("\">");
        XmlTextFormat::appendVerbatimBlock(script, html);
        script += QStringLiteral("</QZcreate>");
        // 30. Protection.
        if (page->isPassword()) {
            const QString protectionColour = bkgnd() == 0 ? QStringLiteral("#FFFFFF") : colour;
            if (view == 0)
                script += QStringLiteral("<QZpassword album=\"") + page->UUID() + QStringLiteral("\" filename=\"") + attribute(pageFile)
                    + QStringLiteral("\" newname=\"xx") + attribute(page->pageUUID()) + QStringLiteral(".html\" bkgnd=\"")
                    + protectionColour + QStringLiteral("\" />");
            else
                script += QStringLiteral("<QZpassword album=\"") + page->UUID() + QStringLiteral("\" filename=\"") + attribute(pageFile)
                    + QStringLiteral("\" newname=\"xx") + attribute(page->pageUUID()) + QStringLiteral("a.html\" bkgnd=\"")
                    + protectionColour + QStringLiteral("\" />");
        }
        // 31. Shared resources.
        script += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />");
        script += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" />");
        // 32. The fix-up style sheet.
        if (!fixupRules.isEmpty()) {
            script += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />");
            script += QStringLiteral("<QZcreate dir=\"homepage\" filename=\"iefix") + suffix + QStringLiteral(".css\">");
            XmlTextFormat::appendVerbatimBlock(script, fixupRules);
            script += QStringLiteral("</QZcreate>");
        }
        // 33. The last pass: the steps of the elements.
        for (const XmlBasePtr& child : elements) {
            XmlCSS* element = visibleElement(child);
            if (!element)
                continue;
            if (XmlCSSBackground* background = XmlCSSBackground::cast(element))
                background->genCSSWinIEBitmap(script);
            element->appendHTMLPagePassSheet(script, page, 19, this);
        }
    });
}

void XmlStyleSheet::genCSS(QString& css)
{
    lq::modelFrame(this, "genCSS:", [&] {
        // The rules are made apart and go into the script through the
        // verbatim block writer: they hold names that users gave.
        QString rules;
        rules += QStringLiteral("body { ");
        appendCSSBackground(rules);
        rules += QStringLiteral("padding: 0px; margin: 0px;}\n");
        rules += QStringLiteral(".empty { position: absolute; display: block; padding: 0px; margin: 0px;}\n");
        rules += QStringLiteral("div#counter {top: 0px; left: 0px; width: 800px; height: 100px; position: absolute; display: block; }\n");
        rules += QStringLiteral("div#noscript {top: 0px; left: 0px; width: 800px; height: 50px; position: fixed; display: block; background-color: #FFFF00; "
                                "color: #000000; text-align: center;  z-index: 99; }\n");
        const XmlBaseList elements = children();
        for (const XmlBasePtr& child : elements)
            if (XmlCSS* element = XmlCSS::cast(child.get()))
                element->appendCSS(rules);
        css += QStringLiteral("<QZcreate dir=\"homepage\" filename=\"") + attribute(filename()) + QStringLiteral("\">");
        XmlTextFormat::appendVerbatimBlock(css, rules);
        css += QStringLiteral("</QZcreate>");
        XmlCSSBackground::genCSSBitmap(css);
        for (const XmlBasePtr& child : elements)
            if (XmlCSS* element = XmlCSS::cast(child.get()))
                element->genCSSBitmap(css);
    });
}
