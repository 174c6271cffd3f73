// The site document's rebuild and export preparation: the whole-site and
// album rebuilds, and the three stages that build the site afresh and hand
// it to the publish panel, unless a step of the build failed.
#include "document/MyDocument.h"

#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "pipeline/SiteScripts.h"
#include "pipeline/XmlCallSelector.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRebuildPhoto.h"
#include "platform/Alert.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

// --- Rebuild and export ----------------------------------------------------------------

namespace {

// The picture numbers that the snapshots in "revert" still name: a revert
// brings back a site whose photos use them.
QSet<QString> picturesOfSnapshots(const QString& folder)
{
    QSet<QString> names;
    const QString unzip = QStringLiteral("/usr/bin/unzip");
    static const QRegularExpression number(QStringLiteral("\\siseq=\"(\\d+)\""));
    for (const QString& entry : lq::folderEntries(folder + QStringLiteral("/revert"))) {
        if (!entry.endsWith(QStringLiteral(".qvzip")))
            continue;
        const lq::ProcessResult site = lq::runProcess(unzip,
            { QStringLiteral("-p"), folder + QStringLiteral("/revert/") + entry, QStringLiteral("site.xmlbase") });
        if (!site.succeeded())
            continue;
        const QString text = QString::fromUtf8(site.output);
        for (auto match = number.globalMatch(text); match.hasNext();)
            names.insert(QStringLiteral("image") + match.next().captured(1) + QStringLiteral(".jpg"));
    }
    return names;
}

} // namespace

void MyDocument::delayedRebuildEntireSite()
{
    lq::uiFrame(this, "delayedRebuildEntireSite:", [&] {
        lq::runAlert(QStringLiteral("Rebuild Website"),
            QStringLiteral("Lumenquill has detected your site needs to be rebuilt - this will optimize your file and correct any errors."),
            QStringLiteral("OK"));
        rebuildEntireSite();
    });
}

void MyDocument::rebuildEntireSite()
{
    lq::uiFrame(this, "rebuildEntireSite", [&] {
        const QString folder = fileName();
        if (!_site || folder.isEmpty())
            return;
        // 1. Stray folders go; the document's own files and folders stay.
        static const QStringList kept { QStringLiteral("pictures"), QStringLiteral("bitmaps"), QStringLiteral("bitmaps2"),
            QStringLiteral("revert"), QStringLiteral("files"), QStringLiteral("index.xml"), QStringLiteral("site.xml"),
            QStringLiteral("theme.xml") };
        for (const QString& entry : lq::folderEntries(folder)) {
            const QFileInfo info(folder + QLatin1Char('/') + entry);
            const QString extension = info.suffix();
            if (kept.contains(entry) || extension == QStringLiteral("xmlbase") || extension == QStringLiteral("qvzip"))
                continue;
            if (info.isDir() && !info.isSymLink())
                lq::removeItem(info.filePath());
        }
        // 2. The folders every build writes into.
        for (const char* name : { "temp", "bitmaps2", "revert", "homepage", "homepage/pictures", "homepage/bitmaps", "files" })
            dirExists(folder + QLatin1Char('/') + QLatin1String(name));
        // 3. Pictures that neither the site nor a snapshot uses.
        const QString pictures = folder + QStringLiteral("/pictures");
        const QSet<QString> used = picturesInUse();
        const QStringList entries = lq::folderEntries(pictures, true);
        for (const QString& entry : entries) {
            if (used.contains(entry))
                continue;
            // A folder holding a picture in use stays.
            const QString below = entry + QLatin1Char('/');
            const bool holdsUsed = std::any_of(used.begin(), used.end(), [&](const QString& name) { return name.startsWith(below); });
            if (!holdsUsed)
                lq::removeItem(pictures + QLatin1Char('/') + entry);
        }
        // 4. The picture counter goes past every picture there is.
        _site->setImageSeqNumber(getMaxPhotoSequenceNumber() + 1);
        // 5. Every photo's internal images are made again.
        auto processor = XmlProcessor::create();
        processor->setRootDir(folder);
        processor->setStatusMessage(QStringLiteral("Rebuilding site..."));
        for (const std::shared_ptr<XmlBase>& item : webItems())
            if (auto* page = dynamic_cast<XmlAlbum*>(item.get()))
                for (const XmlBasePtr& photo : page->photoObjects())
                    processor->addChild(XmlRebuildPhoto::createForUUID(photo->UUID()));
        startProcessor(processor);
    });
}

QSet<QString> MyDocument::picturesInUse(const QStringList& leaving) const
{
    QSet<QString> used;
    if (!_site)
        return used;
    QHash<QString, int> uses;
    for (const QString& name : _site->picturesInSite())
        ++uses[name];
    for (const QString& name : leaving)
        --uses[name];
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        if (it.value() > 0)
            used.insert(it.key());
    const QString folder = fileName();
    if (!folder.isEmpty())
        used.unite(picturesOfSnapshots(folder));
    return used;
}

int MyDocument::getMaxPhotoSequenceNumber() const
{
    int largest = 0;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.[^./]+$"));
    for (const QString& path : lq::folderEntries(fileName() + QStringLiteral("/pictures"), true)) {
        const QRegularExpressionMatch match = picture.match(QFileInfo(path).fileName());
        bool ok = false;
        const int number = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
        if (ok)
            largest = std::max(largest, number);
    }
    return largest;
}

void MyDocument::rebuildPhotoAlbum(XmlAlbum* page)
{
    lq::uiFrame(this, "rebuildPhotoAlbum:", [&] {
        auto processor = XmlProcessor::create();
        processor->setRootDir(fileName());
        processor->setStatusMessage(QStringLiteral("Rebuilding photo album..."));
        if (page)
            for (const XmlBasePtr& photo : page->photoObjects())
                processor->addChild(XmlRebuildPhoto::createForUUID(photo->UUID()));
        if (processor->numberChildren() > 0)
            startProcessor(processor);
    });
}

void MyDocument::prepareForExport(const QString& operation)
{
    lq::uiFrame(this, "prepareForExport:", [&] {
        const QString folder = fileName();
        if (!_site || folder.isEmpty())
            return;
        if (_exportDisplay)
            _exportDisplay(true, _currentAlbum);
        _savedAlbum = _currentAlbum;
        beginFreshBuild();
        lq::createProcessor(*_site);

        auto processor = XmlProcessor::create();
        processor->setRootDir(folder);
        processor->setStatusMessage(QStringLiteral("Exporting..."));
        processor->addChild(XmlCallSelector::createWithTask(QStringLiteral("continuePrepareForExport:"),
            [this, operation] { continuePrepareForExport(operation); }));
        _queue.setActivityText(QStringLiteral("Exporting Website\n"));
        startProcessor(processor);
    });
}

void MyDocument::beginFreshBuild()
{
    beginBuild();
    const QString folder = fileName();
    if (folder.isEmpty())
        return;
    // The generated site starts as a copy of the user's own files: a page,
    // slideshow or picture that an earlier build made and the site no longer
    // has is not left behind to be published again.
    const QString homepage = folder + QStringLiteral("/homepage");
    lq::removeItem(homepage);
    const QString files = folder + QStringLiteral("/files");
    QString why;
    const bool copiedFiles = !QFileInfo(files).isDir() || lq::copyItem(files, homepage, &why);
    for (const char* name : { "homepage", "homepage/pictures", "homepage/bitmaps" })
        dirExists(folder + QLatin1Char('/') + QLatin1String(name));
    if (!copiedFiles) {
        _queue.addActivityString(QStringLiteral("error copying the site's files: ") + why);
        noteBuildFailure(QStringLiteral("error copying the site's files: ") + why);
    }
}

bool MyDocument::buildMayBePublished()
{
    const int failed = _queue.failedSteps() + _buildFailures;
    if (failed == 0)
        return true;
    const QString first = _queue.firstFailure().isEmpty() ? _firstBuildFailure : _queue.firstFailure();
    _lastError = QStringLiteral("The export stopped, so nothing was published: ") + QString::number(failed)
        + (failed == 1 ? QStringLiteral(" step of the build failed") : QStringLiteral(" steps of the build failed"))
        + (first.isEmpty() ? QString() : QStringLiteral(", the first with \"") + first + QStringLiteral("\""))
        + QStringLiteral(". The Activity log lists them all.");
    _queue.addActivityString(_lastError);
    lq::log(_lastError);
    return false;
}

void MyDocument::continuePrepareForExport(const QString& operation)
{
    lq::uiFrame(this, "continuePrepareForExport:", [&] {
        auto processor = XmlProcessor::create();
        processor->setRootDir(fileName());
        processor->setStatusMessage(QStringLiteral("Exporting..."));
        processor->addChild(XmlCallSelector::createWithTask(QStringLiteral("startExport:"),
            [this, operation] { startExport(operation); }));
        _queue.setActivityText(QStringLiteral("Exporting Website\n"));
        startProcessor(processor);
    });
}

void MyDocument::startExport(const QString& operation)
{
    lq::uiFrame(this, "startExport:", [&] {
        if (_exportDisplay)
            _exportDisplay(false, _savedAlbum);
        if (!finishBuild())
            return;
        if (_exportHandler)
            _exportHandler(operation);
    });
}

bool MyDocument::finishBuild()
{
    const QString homepage = fileName() + QStringLiteral("/homepage/");
    bool hasIndex = false;
    for (const std::shared_ptr<XmlBase>& item : webItems())
        if (auto* page = dynamic_cast<XmlWebItem*>(item.get()); page && page->fileName() == QStringLiteral("index.html"))
            hasIndex = true;
    if (!hasIndex && _site) {
        auto* page = dynamic_cast<XmlWebItem*>(_site->defaultAlbum().get());
        if (page && !page->fileName().isEmpty()) {
            lq::removeItem(homepage + QStringLiteral("index.html"));
            QString why;
            if (!lq::copyItem(homepage + page->fileName(), homepage + QStringLiteral("index.html"), &why)) {
                _queue.addActivityString(QStringLiteral("error copying the home page to index.html: ") + why);
                noteBuildFailure(QStringLiteral("error copying the home page to index.html: ") + why);
            }
        }
    }
    // The generated files were written without forcing each to the
    // disk; the whole site goes there once, before it is published.
    QString why;
    if (!lq::syncTree(homepage, &why)) {
        _queue.addActivityString(QStringLiteral("error writing the generated site to the disk: ") + why);
        noteBuildFailure(QStringLiteral("error writing the generated site to the disk: ") + why);
    }
    return buildMayBePublished();
}
