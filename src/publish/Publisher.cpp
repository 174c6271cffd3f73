#include "publish/Publisher.h"

#include "model/core/DocumentBase.h"
#include "publish/FolderExport.h"
#include "publish/PublicationReport.h"
#include "publish/PublishObserver.h"
#include "publish/SendController.h"
#include "publish/SiteBuilder.h"
#include "publish/TransferMessages.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"

#include <QUrl>

Publisher::Publisher(DocumentBase& document, SendController& uploader)
    : _document(document)
    , _uploader(uploader)
{
    _uploader.setRetryHandler([this] {
        PublishRequest again = _last;
        again.changesOnly = true;
        // The destination as it is now: a revert may have read it anew.
        if (again.location && _builder)
            again.location = _builder->destination();
        send(again, false);
    });
}

Publisher::~Publisher()
{
    _uploader.setRetryHandler({});
}

void Publisher::addObserver(PublishObserver* observer)
{
    _uploader.addObserver(observer);
}

void Publisher::removeObserver(PublishObserver* observer)
{
    _uploader.removeObserver(observer);
}

std::shared_ptr<XmlD> Publisher::changeSet(bool changesOnly)
{
    std::shared_ptr<XmlD> current;
    QString error;
    QString notice;
    _bom = SendController::changesToPublish(&_document, !changesOnly, &current, &_lastPublished, &error, &notice);
    _uploader.setNotice(notice);
    if (!_bom)
        _uploader.showStartError(error);
    return current;
}

void Publisher::publish(const PublishRequest& request)
{
    buildThenSend(request, true);
}

void Publisher::publishChanges(const PublishRequest& request)
{
    PublishRequest changes = request;
    changes.changesOnly = true;
    buildThenSend(changes, false);
}

void Publisher::sendChanges()
{
    XmlLocation* where = _builder ? _builder->destination() : nullptr;
    if (!where)
        return;
    const PublishRequest request = PublishRequest::fromLocation(*where, _builder->generatedFolder(), true);
    if (request.destinationChanged)
        _document.updateChangeCount(DocumentBase::ChangeDone);
    if (request.road == PublishRequest::Road::Folder) {
        _uploader.observers().tell([](PublishObserver& observer) { observer.destinationNeeded(); });
        return;
    }
    if (!request.isValid()) {
        _uploader.observers().tell([&](PublishObserver& observer) { observer.publicationRefused(request.errorTitle, request.error); });
        return;
    }
    _uploader.setSending(true);
    publishChanges(request);
}

void Publisher::buildThenSend(const PublishRequest& request, bool anew)
{
    _last = request;
    if (!_builder) {
        send(request, anew);
        return;
    }
    // The run begins with the build, so that Cancel stops it there too.
    const quint64 build = ++_builds;
    _uploader.beginBuild([this] {
        if (_builder)
            _builder->cancelBuild();
    });
    _builder->buildSite(
        [this, request, anew, build] {
            if (build != _builds || !_uploader.isBuilding())
                return;
            _uploader.buildEnded();
            send(request, anew);
        },
        [this, build](const QString& why) {
            if (build != _builds || !_uploader.isBuilding())
                return;
            _uploader.buildFailed(why);
            _uploader.observers().tell([&](PublishObserver& observer) { observer.buildFailed(why); });
        },
        // What the build made goes to the run's details, not to the Activity log.
        [this](const QString& line) {
            if (const QString made = line.trimmed(); !made.isEmpty())
                _uploader.debug(made);
        });
}

void Publisher::testConnection(const PublishRequest& request)
{
    take(request, Step::Test);
}

void Publisher::send(const PublishRequest& request, bool anew)
{
    _last = request;
    take(request, anew ? Step::SendAnew : Step::Send);
}

void Publisher::take(const PublishRequest& request, Step step)
{
    switch (request.road) {
    case PublishRequest::Road::WebDAV:
        if (step == Step::Test)
            webDAVTest(request);
        else if (step == Step::SendAnew)
            startSending(request);
        else
            sendBom(request);
        break;
    case PublishRequest::Road::FTP:
        if (step == Step::Test)
            ftpTestExport(request.location, request.pathName);
        else
            sendFTPBom(request.location, request.pathName, request.changesOnly);
        break;
    case PublishRequest::Road::Folder:
        // A folder has no connection to test.
        if (step != Step::Test)
            exportToFolder(request.pathName, request.folder, request.changesOnly);
        break;
    case PublishRequest::Road::None:
        break;
    }
}

void Publisher::startSending(const PublishRequest& request)
{
    std::shared_ptr<XmlD> current = changeSet(request.changesOnly);
    if (!_bom)
        return;
    _uploader.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void Publisher::sendBom(const PublishRequest& request)
{
    std::shared_ptr<XmlD> current = changeSet(true);
    if (!_bom)
        return;
    _uploader.sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void Publisher::sendFTPBom(XmlLocation* location, const QString& pathName, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(changesOnly);
    if (!_bom)
        return;
    _uploader.sendFTPBomLocationPathNameLastXmlDCurrentXmlD(_bom.get(), location, pathName, current, _lastPublished);
}

void Publisher::ftpTestExport(XmlLocation* location, const QString& pathName)
{
    _uploader.ftpTestExportPathName(location, pathName);
}

void Publisher::webDAVTest(const PublishRequest& request)
{
    _uploader.webDAVTestLocationPassPhraseDigest(request.baseURL, request.passPhrase, request.digest);
}

void Publisher::exportToFolder(const QString& pathName, const QString& folder, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(changesOnly);
    if (!_bom)
        return;
    // The copy is one step: the run starts, then ends with what it did.
    _uploader.setTesting(false, QString());
    _uploader.setSending(true);
    _uploader.setProgress(0, true);
    PublicationReport report;
    report.begin(_bom.get(), pathName);
    const QString error = lq::exportChangesToFolder(&_document, _bom.get(), current.get(), pathName, folder);
    if (!error.isEmpty() && _bom->failures().isEmpty()) {
        _uploader.showStartError(error);
        return;
    }
    // Every file that could be copied was: the others are named, with why.
    FileFailures failures;
    for (const FileFailure& unread : current->listingFailures())
        failures.append({ unread.path, lq::unreadFileMessage(unread) });
    for (const FileFailure& failed : _bom->failures())
        failures.append({ failed.path, lq::copyFailureMessage(failed) });
    if (!failures.isEmpty()) {
        for (const FileFailure& failure : failures)
            _uploader.fileFailed(failure);
        _uploader.setTaskError(true);
        _uploader.setSending(false);
        _uploader.setPanelVisible(true);
        _uploader.setProgress(0, true);
        // A folder that could not be made stopped the copy after these files.
        const bool folderFailed = !error.isEmpty() && error != QStringLiteral("Could not copy: ") + _bom->failedFiles().join(QStringLiteral(", "));
        for (const QString& file : report.fileLines(failures))
            _uploader.debug(file);
        const QString line = (folderFailed ? error + QLatin1Char(' ') : QString()) + report.line(folder, failures);
        _uploader.activity(line);
        _uploader.setStatus(QStringLiteral("Send Error! - Press Cancel"), line);
        _uploader.finished();
        return;
    }
    _uploader.showResult(report, folder, QUrl::fromLocalFile(folder + QStringLiteral("/index.html")).toString());
}
