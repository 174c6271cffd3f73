#include "document/ExportPreparation.h"

#include "document/GeneratedSiteFolder.h"
#include "document/MyDocument.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlWebItem.h"
#include "platform/FileHelpers.h"

#include <QFileInfo>

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
    const QString folder = _document.fileName();
    if (folder.isEmpty())
        return;
    // The generated site starts as a copy of the user's own files: a page,
    // slideshow or picture that an earlier build made and the site no longer
    // has is not left behind to be published again. The last build waits
    // aside until the new one is whole (finishBuild).
    const QString homepage = folder + QStringLiteral("/homepage");
    GeneratedSiteFolder(folder).setAside();
    const QString files = folder + QStringLiteral("/files");
    QString why;
    const bool copiedFiles = !QFileInfo(files).isDir() || lq::copyItem(files, homepage, &why);
    for (const char* name : { "homepage", "homepage/pictures", "homepage/bitmaps" })
        MyDocument::dirExists(folder + QLatin1Char('/') + QLatin1String(name));
    if (!copiedFiles) {
        _document.queue().addActivityString(QStringLiteral("error copying the site's files: ") + why);
        noteBuildFailure(QStringLiteral("error copying the site's files: ") + why);
    }
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
    const QString homepage = _document.fileName() + QStringLiteral("/homepage/");
    bool hasIndex = false;
    for (const std::shared_ptr<XmlBase>& item : _document.webItems())
        if (auto* page = dynamic_cast<XmlWebItem*>(item.get()); page && page->fileName() == QStringLiteral("index.html"))
            hasIndex = true;
    if (XmlSite* site = _document.site(); !hasIndex && site) {
        auto* page = dynamic_cast<XmlWebItem*>(site->defaultAlbum().get());
        if (page && !page->fileName().isEmpty()) {
            lq::removeItem(homepage + QStringLiteral("index.html"));
            QString why;
            if (!lq::copyItem(homepage + page->fileName(), homepage + QStringLiteral("index.html"), &why)) {
                _document.queue().addActivityString(QStringLiteral("error copying the home page to index.html: ") + why);
                noteBuildFailure(QStringLiteral("error copying the home page to index.html: ") + why);
            }
        }
    }
    // The files this build made with the same bytes as the last build stay
    // the files they were, so that listing the site need not read them again.
    QString why;
    if (!GeneratedSiteFolder(_document.fileName()).settle(&why)) {
        _document.queue().addActivityString(QStringLiteral("error putting the generated site in place: ") + why);
        noteBuildFailure(QStringLiteral("error putting the generated site in place: ") + why);
    }
    // The generated files were written without forcing each to the
    // disk; the whole site goes there once, before it is published.
    why.clear();
    if (!lq::syncTree(homepage, &why)) {
        _document.queue().addActivityString(QStringLiteral("error writing the generated site to the disk: ") + why);
        noteBuildFailure(QStringLiteral("error writing the generated site to the disk: ") + why);
    }
    return buildMayBePublished();
}
