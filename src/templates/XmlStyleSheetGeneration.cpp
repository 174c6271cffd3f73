// The page template's generation: the HTML of a page and the template's style
// sheet, written as processor-script text. The elements of the template write
// their own parts through the generation hooks, pass by pass.
#include "templates/XmlStyleSheet.h"

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
#include "platform/ValueStrings.h"
#include "templates/XmlCSSImage.h"

#include <array>
#include <optional>
#include <vector>

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
    return lq::escape(value);
}

// --- The page list around one page ---------------------------------------------
// The pages below a home page or a group, in page-list order, are its web
// items, each group followed by the pages below it. A page's neighbours in
// that list are found in the tree around the page, so that each page of a
// large site costs the same, without the list being made for every page.

XmlBase* webChild(const XmlBase& parent, int index)
{
    XmlBase* child = parent.childAtIndex(index).get();
    return XmlWebItem::cast(child) ? child : nullptr;
}

// The nearest web item before (step -1) or after (step 1) the item among its siblings.
XmlBase* webSibling(XmlBase* item, int step)
{
    XmlBase* parent = item->parent();
    const int count = parent->numberChildren();
    for (int i = parent->indexOfChild(item) + step; i >= 0 && i < count; i += step)
        if (XmlBase* sibling = webChild(*parent, i))
            return sibling;
    return nullptr;
}

XmlBase* previousWebSibling(XmlBase* item)
{
    return webSibling(item, -1);
}

XmlBase* nextWebSibling(XmlBase* item)
{
    return webSibling(item, 1);
}

// The first (or last) web item right inside a group; nothing for anything else.
XmlBase* endWebChild(XmlBase* item, bool last)
{
    if (!XmlGroup::cast(item))
        return nullptr;
    const int count = item->numberChildren();
    for (int n = 0; n < count; ++n)
        if (XmlBase* child = webChild(*item, last ? count - 1 - n : n))
            return child;
    return nullptr;
}

XmlBase* firstWebChild(XmlBase* item)
{
    return endWebChild(item, false);
}

XmlBase* lastWebChild(XmlBase* item)
{
    return endWebChild(item, true);
}

// Whether the item is in the list of the pages below the top.
bool isListedBelow(const XmlBase& top, XmlBase* item)
{
    if (!XmlWebItem::cast(item))
        return false;
    for (XmlBase* node = item; node->parent() != &top; node = node->parent())
        if (!XmlGroup::cast(node->parent()))
            return false;
    return true;
}

// The item before a listed one in the list of the pages below the top, or
// nothing for the first.
XmlBase* previousBelow(const XmlBase& top, XmlBase* item)
{
    if (XmlBase* sibling = previousWebSibling(item)) {
        while (XmlBase* last = lastWebChild(sibling))
            sibling = last;
        return sibling;
    }
    return item->parent() == &top ? nullptr : item->parent();
}

// The item after a listed one in the list of the pages below the top, or
// nothing for the last.
XmlBase* nextBelow(const XmlBase& top, XmlBase* item)
{
    if (XmlBase* child = firstWebChild(item))
        return child;
    for (XmlBase* node = item; node != &top; node = node->parent()) {
        if (XmlBase* sibling = nextWebSibling(node))
            return sibling;
        if (node->parent() == &top)
            break;
    }
    return nullptr;
}

QString linkOf(XmlBase* item)
{
    XmlWebItem* page = dynamic_cast<XmlWebItem*>(item);
    return page ? page->linkAddress() : QStringLiteral("#");
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

// Writes one page of the template, part by part; the elements add theirs
// through the page passes. The page's text is made apart from the script's
// steps: it holds what users wrote (page names, texts, captions, the home
// page's HTML, the feed's title) and goes into the script only through the
// verbatim block writer, which no text can end early.
class PageWriter {
public:
    PageWriter(XmlStyleSheet& sheet, XmlAlbum& page, DocumentBase& document, QString& html)
        : _sheet(sheet)
        , _page(page)
        , _document(document)
        , _html(html)
        , _elements(sheet.children())
        , _home(page.homepage())
    {
    }

    // The visible elements' part of one pass.
    void pass(PagePass number)
    {
        for (XmlCSS* element : visibleElements())
            element->appendHTMLPagePassSheet(_html, &_page, number, &_sheet);
    }

    void appendHead(const QString& suffix)
    {
        _html += QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n");
        _html += QStringLiteral("<html>\n");
        _html += QStringLiteral("<head>\n");
        _html += QStringLiteral("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\n");
        _html += QStringLiteral("<title>") + lq::escape(_page.content()) + QStringLiteral("</title>\n");
        _html += QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"") + _sheet.filename() + QStringLiteral("\">\n");
        XmlRSS* feed = _document.rss();
        if (feed && feed->publish())
            _html += QStringLiteral("<link rel=\"alternate\" type=\"application/rss+xml\" href=\"rss.xml\" title=\"") + lq::escape(feed->title())
                + QStringLiteral("\">\n");
        _html += QStringLiteral("<script type=\"text/javascript\" src=\"lumenquill.js\"></script>\n");

        _html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n");
        // The fix-up rules for Internet Explorer on Windows, and their loader.
        for (const XmlBasePtr& child : _elements)
            if (XmlCSS* element = XmlCSS::cast(child.get()))
                element->appendCSSWinIESuffix(_fixupRules, suffix);
        if (!_fixupRules.isEmpty()) {
            appendMSIECondition(_html);
            _html += QStringLiteral(" document.write('<link rel=\"stylesheet\" type=\"text/css\" media=\"all\" href=\"iefix") + suffix + QStringLiteral(".css\">');\n");
            _html += QStringLiteral("}\n");
        }
        appendSiteNeighbours();
        appendGroupNeighbours();
        if (_sheet.centerVert())
            appendCentringFunction();
        _html += _sheet.browserFlow() ? QStringLiteral("var shouldAdjustFooter = 1;\n") : QStringLiteral("var shouldAdjustFooter = 0;\n");
        pass(PagePass::HeadScript);
        _html += QStringLiteral("\n// -->\n</script>\n");
        pass(PagePass::Head);
        appendHomePageHeadParts();
        _html += QStringLiteral("</head>\n");
    }

    void appendBody()
    {
        const bool wrap = _sheet.centerHorz() || _sheet.centerVert();
        const QString colour = lq::colorToCSSString(_sheet.bkgndColor());
        const bool pictureAllowed = _sheet.allowImageInBackground();
        if (pictureAllowed)
            _html += QStringLiteral("<body id=\"lqpage\" bgcolor=\"") + colour + QStringLiteral("\">\n");
        else
            _html += QStringLiteral("<body id=\"lqpage\" bgcolor=\"") + colour + QStringLiteral("\" style=\"background-image: none;\">\n");
        if (wrap)
            _html += QStringLiteral("<div id=\"page\" style=\"width:%1px; position:relative; margin:0%2;\">\n")
                         .arg(QString::number(_sheet.pageWidth()), _sheet.centerHorz() ? QStringLiteral(" auto") : QString());
        if (_sheet.bkgnd() == 6 && pictureAllowed && _sheet.image())
            appendSlicedBackground();
        // The layers of the page.
        for (int number = int(PagePass::FirstLayer); number <= int(PagePass::LastLayer); ++number)
            pass(static_cast<PagePass>(number));
        if (wrap)
            _html += QStringLiteral("</div>\n");
        pass(PagePass::AfterPage);
        if (_home && _home->bodyHTML())
            _html += _home->bodyHTML()->content();
        appendClosingScript();
        _html += QStringLiteral("</body>\n");
        _html += QStringLiteral("</html>");
    }

    // The step that protects the page with a password, when it has one.
    void appendProtection(QString& script, int view, const QString& pageFile)
    {
        if (!_page.isPassword())
            return;
        const QString colour = _sheet.bkgnd() == 0 ? QStringLiteral("#FFFFFF") : lq::colorToCSSString(_sheet.bkgndColor());
        script += QStringLiteral("<QZpassword album=\"") + _page.UUID() + QStringLiteral("\" filename=\"") + attribute(pageFile)
            + QStringLiteral("\" newname=\"xx") + attribute(_page.pageUUID()) + (view == 0 ? QStringLiteral(".html") : QStringLiteral("a.html"))
            + QStringLiteral("\" bkgnd=\"") + colour + QStringLiteral("\" />");
    }

    // The fix-up style sheet's steps, when there are rules.
    void appendFixupStyleSheet(QString& script, const QString& suffix)
    {
        if (_fixupRules.isEmpty())
            return;
        script += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />");
        script += QStringLiteral("<QZcreate dir=\"homepage\" filename=\"iefix") + suffix + QStringLiteral(".css\">");
        XmlTextFormat::appendVerbatimBlock(script, _fixupRules);
        script += QStringLiteral("</QZcreate>");
    }

    // The last pass: the steps of the elements, each after its fix-up bitmaps.
    void appendElementSteps(QString& script)
    {
        for (const XmlBasePtr& child : _elements) {
            XmlCSS* element = visibleElement(child);
            if (!element)
                continue;
            if (XmlCSSBackground* background = XmlCSSBackground::cast(element))
                background->genCSSWinIEBitmap(script);
            element->appendHTMLPagePassSheet(script, &_page, PagePass::Steps, &_sheet);
        }
    }

private:
    static XmlCSS* visibleElement(const XmlBasePtr& child)
    {
        XmlCSS* element = XmlCSS::cast(child.get());
        return element && element->visible() ? element : nullptr;
    }

    // The elements the page shows, in order, worked out once for all the
    // passes of the page.
    const std::vector<XmlCSS*>& visibleElements()
    {
        if (!_visibleElements) {
            _visibleElements.emplace();
            for (const XmlBasePtr& child : _elements)
                if (XmlCSS* element = visibleElement(child))
                    _visibleElements->push_back(element);
        }
        return *_visibleElements;
    }

    // The page before and after this one in the site.
    void appendSiteNeighbours()
    {
        if (!_home || !isListedBelow(*_home, &_page))
            return;
        XmlBase* previous = previousBelow(*_home, &_page);
        XmlBase* next = nextBelow(*_home, &_page);
        appendLink(_html, "prevPageLink", previous ? linkOf(previous) : QStringLiteral("#"));
        appendLink(_html, "nextPageLink", next ? linkOf(next) : QStringLiteral("#"));
    }

    // The page before and after this one within its group: a group page
    // leads to its first page, the first page of a group back to the group.
    void appendGroupNeighbours()
    {
        // The group whose pages are listed: the page's own when it is a
        // group, else the one it is in.
        const bool isGroup = XmlGroup::cast(&_page) != nullptr;
        XmlBase* parent = _page.parent();
        XmlBase* group = isGroup ? &_page : (XmlGroup::cast(parent) ? parent : nullptr);
        XmlBase* first = group ? firstWebChild(group) : nullptr;
        if (!first) {
            appendLink(_html, "prevPageInGroupLink", QStringLiteral("#"));
            appendLink(_html, "nextPageInGroupLink", QStringLiteral("#"));
        } else if (isGroup || !isListedBelow(*group, &_page)) {
            appendLink(_html, "prevPageInGroupLink", QStringLiteral("#"));
            appendLink(_html, "nextPageInGroupLink", linkOf(first));
        } else {
            XmlBase* previous = previousBelow(*group, &_page);
            XmlBase* next = nextBelow(*group, &_page);
            appendLink(_html, "prevPageInGroupLink", linkOf(previous ? previous : parent));
            appendLink(_html, "nextPageInGroupLink", next ? linkOf(next) : QStringLiteral("#"));
        }
    }

    // The script that centres the page vertically in the window, moving the
    // inline frames of the Vorn Boxes with it.
    void appendCentringFunction()
    {
        _html += QStringLiteral("function centerpage () {\n");
        _html += QStringLiteral("   var browserHeight;\n");
        _html += QStringLiteral("   if (typeof(window.innerHeight) == 'number'){\n");
        _html += QStringLiteral("      browserHeight = window.innerHeight;\n");
        _html += QStringLiteral("   } else if (document.documentElement && document.documentElement.clientHeight){\n");
        _html += QStringLiteral("      browserHeight = document.documentElement.clientHeight;\n");
        _html += QStringLiteral("   } else if (document.body && document.body.clientHeight) {\n");
        _html += QStringLiteral("      browserHeight = document.body.clientHeight;\n");
        _html += QStringLiteral("   }\n");
        _html += QStringLiteral("   var top = (browserHeight - %1)/2;\n").arg(_sheet.pageHeight());
        _html += QStringLiteral("   if (top <0)\n");
        _html += QStringLiteral("      top = 0;\n");
        _html += QStringLiteral("   var pageblock = document.getElementById(\"page\");\n");
        _html += QStringLiteral("   pageblock.style.marginTop = top+\"px\";\n");
        QList<XmlCSSPtr> boxes = _sheet.childrenOfType<XmlCSS>();
        boxes.removeIf([](const XmlCSSPtr& element) { return !element->isLayerBox(); });
        if (!boxes.isEmpty()) {
            _html += QStringLiteral("   var vornbox, xbtop;\n");
            for (const XmlCSSPtr& box : boxes)
                box->appendPageCentringScript(_html);
        }
        _html += QStringLiteral("}\n");
    }

    // The home page's language, description, keywords and head HTML.
    void appendHomePageHeadParts()
    {
        if (!_home)
            return;
        const QString language = XmlStyleSheet::languageCode(_home->langcode());
        if (!language.isEmpty())
            _html += QStringLiteral("<meta http-equiv=\"content-language\" content=\"") + language + QStringLiteral("\" >\n");
        const QString description = _home->description() ? _home->description()->content() : QString();
        if (!description.isEmpty())
            _html += QStringLiteral("<meta name=\"description\" content=\"") + lq::escape(description) + QStringLiteral("\" >\n");
        const QString keywords = _home->searchTags() ? _home->searchTags()->content() : QString();
        if (!keywords.isEmpty())
            _html += QStringLiteral("<meta name=\"keywords\" content=\"") + lq::escape(keywords) + QStringLiteral("\" >\n");
        if (_home->headHTML())
            _html += _home->headHTML()->content();
    }

    // The three slices of the sliced background picture.
    void appendSlicedBackground()
    {
        const lq::Size size = _sheet.image()->size();
        const int width = int(size.width);
        const int height = int(size.height);
        const int top = _sheet.topSlice();
        const int bottom = _sheet.bottomSlice();
        const int middle = height - top - bottom;
        const int split = _sheet.middleSlice();
        const QString uuid = _sheet.image()->imageUUID();
        if (top > 0)
            _html += QStringLiteral("<div class=\"empty\" style=\"position: relative; top: 0px; left: 0px; width: %1px; height: %2px; "
                                    "background-image: url(bitmaps/1%3%4.jpg); background-repeat: no-repeat;\" >&nbsp;</div>\n")
                         .arg(QString::number(width), QString::number(top), uuid, QString::number(top));
        if (middle > 0)
            _html += QStringLiteral("<div class=\"empty\" style=\"top: %1px; left: 0px; width: %2px; height: %3px; "
                                    "background-image: url(bitmaps/2%4%5.jpg); background-repeat: repeat-y;\" >&nbsp;</div>\n")
                         .arg(QString::number(top), QString::number(width), QString::number(split - top), uuid, QString::number(middle));
        if (bottom > 0)
            _html += QStringLiteral("<div class=\"empty\" style=\"top: %1px; left: 0px; width: %2px; height: %3px; "
                                    "background-image: url(bitmaps/3%4%5.jpg); background-repeat: no-repeat;\" >&nbsp;</div>\n")
                         .arg(QString::number(split), QString::number(width), QString::number(bottom), uuid, QString::number(bottom));
    }

    // The script at the end of the body: centring and the elements' fix-ups.
    void appendClosingScript()
    {
        _html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n\n");
        if (_sheet.centerVert()) {
            _html += QStringLiteral("centerpage();\n");
            _html += QStringLiteral("window.onresize = centerpage;\n");
        }
        if (!_fixupRules.isEmpty()) {
            QString fixupScript;
            for (const XmlBasePtr& child : _elements)
                if (XmlCSS* element = XmlCSS::cast(child.get()))
                    element->appendJavascriptWinIE(fixupScript);
            if (!fixupScript.isEmpty()) {
                appendMSIECondition(_html);
                _html += fixupScript;
                _html += QStringLiteral("}\n");
            }
        }
        _html += QStringLiteral("\n// -->\n</script>\n");
    }

    XmlStyleSheet& _sheet;
    XmlAlbum& _page;
    DocumentBase& _document;
    QString& _html;
    const XmlBaseList _elements;
    std::optional<std::vector<XmlCSS*>> _visibleElements;
    XmlHomePage* const _home;
    QString _fixupRules;
};

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
    lq::modelFrame(this, "genHTMLForPage:view:html:flags:", [&] { genPageScript(pageObject, view, script, flags, nullptr); });
}

void XmlStyleSheet::genHTMLForPageViewPageFiles(XmlBase* pageObject, int view, QString& script, std::vector<PageFile>& files)
{
    lq::modelFrame(this, "genHTMLForPage:view:pageFiles:", [&] { genPageScript(pageObject, view, script, 0, &files); });
}

void XmlStyleSheet::genPageScript(XmlBase* pageObject, int view, QString& script, int flags, std::vector<PageFile>* files)
{
    lq::modelFrame(this, "genPageScript", [&] {
        XmlAlbum* page = XmlAlbum::cast(pageObject);
        if (!page)
            return;
        // The view; a page without a slideshow page refuses view 1.
        const View wanted = static_cast<View>(view);
        setPageView(page, wanted);
        if (this->view() != wanted)
            return;
        relayoutFlags(page, 0);
        // No site, no page.
        DocumentBase* document = myDocument();
        XmlSite* site = document ? document->site() : nullptr;
        if (!site)
            return;
        const QString pageFile = view == 0 ? page->fileName() : QStringLiteral("slideshow") + QString::number(page->pageSeqNumber()) + QStringLiteral(".html");
        if (!isPlainFileName(pageFile)) {
            lq::log(QStringLiteral("Refused page file name outside the site: ") + pageFile);
            return;
        }
        // Each text style's font check once per page.
        clearFontBag();
        const QString suffix = QString::number(templateSeqNum()) + QLatin1Char('p') + QString::number(page->pageSeqNumber());
        QString html;
        PageWriter writer(*this, *page, *document, html);
        writer.appendHead(suffix);
        writer.appendBody();
        if (flags != 0) {
            script += html;
            return;
        }
        QString attributes = QStringLiteral("dir=\"homepage\" filename=\"") + attribute(pageFile) + QLatin1Char('"');
        if (files) {
            files->push_back(PageFile { script.size(), std::move(attributes), std::move(html) });
        } else {
            script += QStringLiteral("<QZcreate ") + attributes + QLatin1Char('>');
            XmlTextFormat::appendVerbatimBlock(script, html);
            script += QStringLiteral("</QZcreate>");
        }
        writer.appendProtection(script, view, pageFile);
        // Shared resources.
        script += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />");
        script += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\" />");
        writer.appendFixupStyleSheet(script, suffix);
        writer.appendElementSteps(script);
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
