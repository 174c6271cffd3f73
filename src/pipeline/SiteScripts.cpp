#include "pipeline/SiteScripts.h"

#include "model/core/DocumentBase.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "pipeline/XmlCSSProcessor.h"
#include "pipeline/XmlHTMLProcessor.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRSSProcessor.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlStyleSheet.h"

namespace {

// The opening of a generated script: the folder escaped, the status as it is
// but for the characters that would end the attribute or the tag (a page
// name holding "\">" must not end it and start steps of its own).
QString scriptOpening(const QString& rootDir, const QString& status)
{
    QString shown = status;
    shown.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('"'), QStringLiteral("&quot;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return QStringLiteral("<QZprocessor rootDir=\"") + XmlBase::escape(rootDir) + QStringLiteral("\" status=\"") + shown + QStringLiteral("\">");
}

} // namespace

namespace lq {

void createProcessor(XmlSite& site)
{
    lq::modelFrame(&site, "createProcessor", [&] {
        XmlHomePage* home = site.homepage();
        const XmlBaseList pages = home ? home->webItems() : XmlBaseList();
        DocumentBase* document = site.document();
        auto processor = XmlProcessor::create();
        processor->setRootDir(site.rootDir());
        {
            SuppressedChanges quiet(site);
            XmlTheme* theme = document ? document->theme() : nullptr;
            if (theme) {
                for (const XmlBasePtr& child : theme->children()) {
                    XmlStyleSheet* sheet = XmlStyleSheet::cast(child.get());
                    if (!sheet)
                        continue;
                    for (const XmlBasePtr& item : pages) {
                        XmlAlbum* page = XmlAlbum::cast(item.get());
                        if (!page || page->isExternalLink())
                            continue;
                        if (page->templateNum() == sheet->templateSeqNum()) {
                            processor->addChild(XmlCSSProcessor::createForSheet(sheet->UUID()));
                            break;
                        }
                    }
                }
            }
            for (const XmlBasePtr& item : pages) {
                XmlAlbum* page = XmlAlbum::cast(item.get());
                if (!page || page->isExternalLink())
                    continue;
                const std::shared_ptr<XmlStyleSheet> sheet = page->getTemplate();
                processor->addChild(XmlHTMLProcessor::createForAlbumWithTemplate(page->UUID(), sheet ? sheet->UUID() : QString()));
            }
            processor->addChild(XmlRSSProcessor::create());
        }
        if (document)
            document->startProcessor(processor);
    });
}

void createCSSProcessor(XmlSite& site, const QString& sheetUUID)
{
    lq::modelFrame(&site, "createCSSProcessor:", [&] {
        QString script;
        script.reserve(10000);
        {
            SuppressedChanges quiet(site);
            const XmlBasePtr found = sheetUUID.isEmpty() ? nullptr : XmlBase::UUID(sheetUUID);
            if (XmlStyleSheet* sheet = XmlStyleSheet::cast(found.get())) {
                script += scriptOpening(site.rootDir(), QStringLiteral("Creating CSS for ") + sheet->name());
                sheet->loadBackstore(nullptr);
                struct Release {
                    XmlStyleSheet* sheet;
                    ~Release() { sheet->releaseBackstore(nullptr); }
                } release { sheet };
                sheet->genCSS(script);
                script += QStringLiteral("</QZprocessor>");
            }
        }
        DocumentBase* document = site.document();
        if (script.isEmpty() || !document)
            return;
        // Like the pages', the style sheet's script runs at once, so the
        // build writes its files in the order of its steps.
        document->startProcessorNext(XmlProcessor::createWithScript(script));
    });
}

void createHTMLProcessorSheet(XmlSite& site, const QString& pageUUID, const QString& sheetUUID)
{
    lq::modelFrame(&site, "createHTMLProcessor:sheet:", [&] {
        QString script;
        script.reserve(10000);
        {
            SuppressedChanges quiet(site);
            const XmlBasePtr foundSheet = sheetUUID.isEmpty() ? nullptr : XmlBase::UUID(sheetUUID);
            const XmlBasePtr foundPage = pageUUID.isEmpty() ? nullptr : XmlBase::UUID(pageUUID);
            XmlStyleSheet* sheet = XmlStyleSheet::cast(foundSheet.get());
            XmlAlbum* page = XmlAlbum::cast(foundPage.get());
            if (sheet && page) {
                script += scriptOpening(site.rootDir(), QStringLiteral("Creating HTML for ") + page->name());
                sheet->loadBackstore(nullptr);
                struct Release {
                    XmlStyleSheet* sheet;
                    ~Release() { sheet->releaseBackstore(nullptr); }
                } release { sheet };
                sheet->genHTMLForPageViewHtmlFlags(page, 0, script, 0);
                sheet->genHTMLForPageViewHtmlFlags(page, 1, script, 0);
                script += QStringLiteral("</QZprocessor>");
            }
        }
        DocumentBase* document = site.document();
        if (script.isEmpty() || !document)
            return;
        // The page is written before the next one is made: a site of many
        // pages never holds more than one page's script.
        document->startProcessorNext(XmlProcessor::createWithScript(script));
    });
}

} // namespace lq
