#include "document/DocumentSiteBuilder.h"

#include "document/MyDocument.h"
#include "pipeline/SiteScripts.h"
#include "platform/DelayedCall.h"
#include "platform/Services.h"

DocumentSiteBuilder::DocumentSiteBuilder(MyDocument& document)
    : _document(document)
{
}

DocumentSiteBuilder::~DocumentSiteBuilder()
{
    lq::cancelAll(this);
}

XmlLocation* DocumentSiteBuilder::destination()
{
    return _document.location();
}

QString DocumentSiteBuilder::generatedFolder()
{
    return _document.fileName() + QStringLiteral("/homepage");
}

void DocumentSiteBuilder::buildSite(std::function<void()> then, std::function<void(const QString& why)> failed)
{
    if (const auto& replacement = lq::services().siteBuilder) {
        replacement(_document, std::move(then));
        return;
    }
    _document.exportPreparation().beginFreshBuild();
    if (XmlSite* site = _document.site())
        lq::createProcessor(*site);
    whenQueueIsIdle([this, then = std::move(then), failed = std::move(failed)] {
        if (!_document.exportPreparation().finishBuild()) {
            if (failed)
                failed(_document.lastError());
            return;
        }
        then();
    });
}

void DocumentSiteBuilder::whenQueueIsIdle(std::function<void()> then)
{
    if (_document.queue().isIdle()) {
        then();
        return;
    }
    lq::performAfter(this, QStringLiteral("prepareForExport:"), 0.2, [this, then = std::move(then)]() mutable {
        whenQueueIsIdle(std::move(then));
    });
}
