#include "document/DocumentSiteBuilder.h"

#include "document/MyDocument.h"
#include "pipeline/SiteScripts.h"
#include "platform/Services.h"

DocumentSiteBuilder::DocumentSiteBuilder(MyDocument& document)
    : _document(document)
{
}

DocumentSiteBuilder::~DocumentSiteBuilder()
{
    _document.queue().forgetWaiters(this);
    if (_building)
        _document.queue().setStepLog({});
}

XmlLocation* DocumentSiteBuilder::destination()
{
    return _document.location();
}

QString DocumentSiteBuilder::generatedFolder()
{
    return _document.fileName() + QStringLiteral("/homepage");
}

void DocumentSiteBuilder::buildSite(std::function<void()> then, std::function<void(const QString& why)> failed,
    std::function<void(const QString& line)> stepLines)
{
    if (const auto& replacement = lq::services().siteBuilder) {
        replacement(_document, std::move(then));
        return;
    }
    _waiters.push_back({ std::move(then), std::move(failed) });
    if (_building)
        return;
    _building = true;
    _cancelled = false;
    _document.queue().setStepLog(std::move(stepLines));
    _document.exportPreparation().beginFreshBuild();
    if (XmlSite* site = _document.site())
        lq::createProcessor(*site);
    _document.queue().whenIdle(this, [this](bool ranEverything) { buildEnded(ranEverything); });
}

void DocumentSiteBuilder::cancelBuild()
{
    if (!_building)
        return;
    _cancelled = true;
    _document.queue().cancelActivity();
}

void DocumentSiteBuilder::buildEnded(bool ranEverything)
{
    _building = false;
    _document.queue().setStepLog({});
    const std::vector<Waiter> told = std::exchange(_waiters, {});
    QString why;
    if (!ranEverything) {
        why = _cancelled ? QStringLiteral("The build of the site was cancelled.")
                         : QStringLiteral("The build of the site was stopped before it ended.");
        // Whoever cancelled it says what that means for them.
        if (!_cancelled)
            _document.addActivityString(why);
    } else if (!_document.exportPreparation().finishBuild()) {
        why = _document.lastError();
    }
    for (const Waiter& waiter : told) {
        if (why.isEmpty()) {
            if (waiter.then)
                waiter.then();
        } else if (waiter.failed) {
            waiter.failed(why);
        }
    }
}
