#include "publish/FolderRoad.h"

#include "platform/Alert.h"
#include "platform/Workspace.h"
#include "publish/FolderExport.h"
#include "publish/TransferMessages.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QUrl>

FolderRoad::FolderRoad(UploadPanel& panel)
    : UploadRoad(panel)
{
}

void FolderRoad::send(const PublishRequest& request, const ChangeSet& changes)
{
    // The copy is one step: the run starts, then ends with what it did.
    _panel.setTesting(false, QString());
    _panel.setSending(true);
    _panel.setProgress(0, true);
    PublicationReport report;
    report.begin(changes.bom, request.pathName);
    const QString error = lq::exportChangesToFolder(_panel.document(), changes.bom, changes.current.get(), request.pathName, request.folder);
    if (!error.isEmpty() && changes.bom->failures().isEmpty()) {
        _panel.showStartError(error);
        return;
    }
    // Every file that could be copied was: the others are named, with why.
    FileFailures failures;
    for (const FileFailure& unread : changes.current->listingFailures())
        failures.append({ unread.path, lq::unreadFileMessage(unread) });
    for (const FileFailure& failed : changes.bom->failures())
        failures.append({ failed.path, lq::copyFailureMessage(failed) });
    if (!failures.isEmpty()) {
        for (const FileFailure& failure : failures)
            _panel.fileFailed(failure);
        _panel.setTaskError(true);
        _panel.setSending(false);
        _panel.setPanelVisible(true);
        _panel.setProgress(0, true);
        // A folder that could not be made stopped the copy after these files.
        const bool folderFailed = !error.isEmpty() && error != QStringLiteral("Could not copy: ") + changes.bom->failedFiles().join(QStringLiteral(", "));
        for (const QString& file : report.fileLines(failures))
            _panel.debug(file);
        const QString line = (folderFailed ? error + QLatin1Char(' ') : QString()) + report.line(request.folder, failures);
        _panel.activity(line);
        _panel.setStatus(QStringLiteral("The publication stopped"), line);
        _panel.finished();
        return;
    }
    const QUrl site = QUrl::fromLocalFile(request.folder + QStringLiteral("/index.html"));
    _panel.showResult(report, request.folder, site.toString());
    // The exported site opens in the browser; when it cannot, the user is told why.
    QString why;
    if (!lq::openURL(site, &why))
        lq::runAlert(QStringLiteral("The Site Did Not Open"),
            QStringLiteral("The site was exported to ") + request.folder + QStringLiteral(", but its page ") + site.toLocalFile()
                + QStringLiteral(" could not be opened in the browser. ") + why,
            QStringLiteral("OK"));
}

void FolderRoad::test(const PublishRequest& request)
{
    (void)request;
}

void FolderRoad::cancel()
{
    _panel.setSending(false);
    _panel.setPanelVisible(false);
    _panel.finished();
}
