#include "pipeline/SiteScripts.h"

#include "model/core/DocumentBase.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/XmlCSSProcessor.h"
#include "pipeline/PageMaker.h"
#include "pipeline/XmlHTMLProcessor.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRSSProcessor.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlStyleSheet.h"

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
            std::vector<std::shared_ptr<XmlHTMLProcessor>> steps;
            std::vector<PageMaker::Page> written;
            for (const XmlBasePtr& item : pages) {
                XmlAlbum* page = XmlAlbum::cast(item.get());
                if (!page || page->isExternalLink())
                    continue;
                const std::shared_ptr<XmlStyleSheet> sheet = page->getTemplate();
                steps.push_back(XmlHTMLProcessor::createForAlbumWithTemplate(page->UUID(), sheet ? sheet->UUID() : QString()));
                written.push_back({ steps.back()->album(), steps.back()->sheet() });
                processor->addChild(steps.back());
            }
            // Other cores may write the pages ahead of their steps.
            if (PageMaker::worthIt(written.size())) {
                const auto maker = std::make_shared<PageMaker>(std::move(written));
                for (std::size_t i = 0; i < steps.size(); ++i)
                    steps[i]->setPageMaker(maker, i);
            }
            processor->addChild(XmlRSSProcessor::create());
        }
        if (document)
            document->startProcessor(processor);
    });
}

} // namespace lq
