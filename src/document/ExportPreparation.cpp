#include "document/ExportPreparation.h"

#include "document/GeneratedSiteFolder.h"
#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "pipeline/SiteScripts.h"
#include "pipeline/XmlCallSelector.h"
#include "pipeline/XmlProcessor.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"

#include <QFileInfo>

ExportPreparation::ExportPreparation(MyDocument& document)
    : _document(document)
{
}

void ExportPreparation::prepareForExport(const QString& operation)
{
    lq::uiFrame(&_document, "prepareForExport:", [&] {
        const QString folder = _document.fileName();
        if (!_document.site() || folder.isEmpty())
            return;
        if (_exportDisplay)
            _exportDisplay(true, _document.currentAlbum());
        _savedAlbum = _document.currentAlbum();
        beginFreshBuild();
        lq::createProcessor(*_document.site());

        auto processor = XmlProcessor::create();
        processor->setRootDir(folder);
        processor->setStatusMessage(QStringLiteral("Exporting..."));
        processor->addChild(XmlCallSelector::createWithTask(QStringLiteral("continuePrepareForExport:"),
            [this, operation] { continuePrepareForExport(operation); }));
        _document.queue().setActivityText(QStringLiteral("Exporting Website\n"));
        _document.startProcessor(processor);
    });
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

void ExportPreparation::continuePrepareForExport(const QString& operation)
{
    lq::uiFrame(&_document, "continuePrepareForExport:", [&] {
        auto processor = XmlProcessor::create();
        processor->setRootDir(_document.fileName());
        processor->setStatusMessage(QStringLiteral("Exporting..."));
        processor->addChild(XmlCallSelector::createWithTask(QStringLiteral("startExport:"),
            [this, operation] { startExport(operation); }));
        _document.queue().setActivityText(QStringLiteral("Exporting Website\n"));
        _document.startProcessor(processor);
    });
}

void ExportPreparation::startExport(const QString& operation)
{
    lq::uiFrame(&_document, "startExport:", [&] {
        if (_exportDisplay)
            _exportDisplay(false, _savedAlbum);
        if (!finishBuild())
            return;
        if (_exportHandler)
            _exportHandler(operation);
    });
}

void ExportPreparation::cancelExport()
{
    _document.queue().cancelActivity();
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
