#include "document/ExportPreparation.h"

#include "document/GeneratedSiteFolder.h"
#include "document/MyDocument.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlWebItem.h"
#include "platform/ConfinedFolder.h"

ExportPreparation::ExportPreparation(MyDocument& document)
    : _document(document)
{
}

void ExportPreparation::beginBuild()
{
    _document.queue().clearFailedSteps();
    _buildFailures = 0;
    _firstBuildFailure.clear();
}

void ExportPreparation::beginFreshBuild()
{
    beginBuild();
    const std::shared_ptr<lq::ConfinedFolder> site = _document.siteFolder();
    if (!site)
        return;
    // The generated site starts as a copy of the user's own files: a page,
    // slideshow or picture that an earlier build made and the site no longer
    // has is not left behind to be published again. The last build waits
    // aside until the new one is whole (finishBuild). A "homepage" that is a
    // link goes as the link it is; a "files" that is one is not copied.
    QString why;
    if (!GeneratedSiteFolder(*site).setAside(&why))
        failBuildWith(QStringLiteral("error clearing the generated site: ") + why);
    const lq::ConfinedFolder::Status files = site->status(QStringLiteral("files"), &why);
    if (files.kind == lq::ConfinedFolder::Kind::Folder) {
        // A link among the user's files is not followed, so not published:
        // the user is told which.
        for (const lq::ConfinedFolder::Entry& entry :
            site->list(QStringLiteral("files"), nullptr, true).value_or(QList<lq::ConfinedFolder::Entry>()))
            if (entry.kind == lq::ConfinedFolder::Kind::Link)
                _document.queue().addActivityString(QStringLiteral("not published: ") + site->pathOf(QStringLiteral("files/") + entry.name)
                    + QStringLiteral(" is a link, which is never followed"));
        if (!site->copyTo(QStringLiteral("files"), *site, QStringLiteral("homepage"), &why))
            failBuildWith(QStringLiteral("error copying the site's files: ") + why);
    } else if (files.kind == lq::ConfinedFolder::Kind::Link) {
        failBuildWith(QStringLiteral("error copying the site's files: ") + site->pathOf(QStringLiteral("files"))
            + QStringLiteral(" is a link, which is never followed"));
    } else if (files.kind != lq::ConfinedFolder::Kind::Missing) {
        failBuildWith(QStringLiteral("error copying the site's files: ")
            + (files.kind == lq::ConfinedFolder::Kind::Refused ? why : site->pathOf(QStringLiteral("files")) + QStringLiteral(" is no folder of the site's own")));
    }
    for (const char* name : { "homepage", "homepage/pictures", "homepage/bitmaps" })
        if (!MyDocument::ensureFolder(*site, QLatin1String(name), &why))
            failBuildWith(QStringLiteral("error making the generated site's folders: ") + why);
}

void ExportPreparation::failBuildWith(const QString& why)
{
    _document.queue().addActivityString(why);
    noteBuildFailure(why);
}

bool ExportPreparation::buildMayBePublished()
{
    ProcessorQueue& queue = _document.queue();
    const int failed = queue.failedSteps() + _buildFailures;
    if (failed == 0)
        return true;
    const QString first = queue.firstFailure().isEmpty() ? _firstBuildFailure : queue.firstFailure();
    const QString why = QStringLiteral("The export stopped, so nothing was published: ") + QString::number(failed)
        + (failed == 1 ? QStringLiteral(" step of the build failed") : QStringLiteral(" steps of the build failed"))
        + (first.isEmpty() ? QString() : QStringLiteral(", the first with \"") + first + QStringLiteral("\""))
        + QStringLiteral(". The Activity log lists them all.");
    queue.addActivityString(why);
    return _document.fail(why);
}

bool ExportPreparation::finishBuild()
{
    const std::shared_ptr<lq::ConfinedFolder> site = _document.siteFolder();
    bool hasIndex = false;
    for (const std::shared_ptr<XmlBase>& item : _document.webItems())
        if (auto* page = dynamic_cast<XmlWebItem*>(item.get()); page && page->fileName() == QStringLiteral("index.html"))
            hasIndex = true;
    if (XmlSite* home = _document.site(); !hasIndex && home && site) {
        auto* page = dynamic_cast<XmlWebItem*>(home->defaultAlbum().get());
        if (page && !page->fileName().isEmpty()) {
            // The home page's file name comes from the site file: it is
            // copied only as a file of the generated site itself, through the
            // gateway, so no name can bring any other file in as index.html.
            const QString name = page->fileName();
            const QString unsafe = lq::ConfinedFolder::unsafeName(name);
            QString why;
            bool copied = false;
            if (!unsafe.isEmpty() || name.contains(QLatin1Char('/')))
                why = QStringLiteral("the home page's file name \"") + name + QStringLiteral("\" names no file of the generated site")
                    + (unsafe.isEmpty() ? QString() : QStringLiteral(": ") + unsafe);
            else
                copied = site->remove(QStringLiteral("homepage/index.html"), &why)
                    && site->copyTo(QStringLiteral("homepage/") + name, *site, QStringLiteral("homepage/index.html"), &why);
            if (!copied)
                failBuildWith(QStringLiteral("error copying the home page to index.html: ") + why);
        }
    }
    // The files this build made with the same bytes as the last build stay
    // the files they were, so that listing the site need not read them again.
    QString why;
    if (site && !GeneratedSiteFolder(*site).settle(&why))
        failBuildWith(QStringLiteral("error putting the generated site in place: ") + why);
    // The generated files were written without forcing each to the
    // disk; the whole site goes there once, before it is published.
    why.clear();
    if (site && !site->sync(QStringLiteral("homepage"), &why))
        failBuildWith(QStringLiteral("error writing the generated site to the disk: ") + why);
    return buildMayBePublished();
}
