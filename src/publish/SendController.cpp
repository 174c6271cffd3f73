#include "publish/SendController.h"

#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "publish/FTPRoad.h"
#include "publish/FolderRoad.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

SendController::SendController(DocumentBase* document, QObject* parent)
    : QObject(parent)
    , _document(document)
{
    auto ftp = std::make_unique<FTPRoad>(*this);
    _ftp = ftp.get();
    _roads.emplace_back(PublishRequest::Road::WebDAV, std::make_unique<WebDAVRoad>(*this));
    _roads.emplace_back(PublishRequest::Road::FTP, std::move(ftp));
    _roads.emplace_back(PublishRequest::Road::Folder, std::make_unique<FolderRoad>(*this));
}

SendController::~SendController() = default;

std::shared_ptr<XmlBom> SendController::changesToPublish(DocumentBase* document, bool everything,
    std::shared_ptr<XmlD>* current, std::shared_ptr<XmlD>* last, QString* error, QString* notice)
{
    *current = document ? document->createXmlD(QString()) : nullptr;
    QString refusal;
    *last = document ? document->lastXmlD(&refusal) : nullptr;
    if (!refusal.isEmpty())
        document->addActivityString(refusal);
    if (notice)
        *notice = refusal;
    if (!*current) {
        if (error)
            *error = QStringLiteral("The generated site could not be listed; nothing was sent and nothing was removed");
        return nullptr;
    }
    // Whatever is sent, a file the record says this destination got from
    // the site, and that the site no longer makes, leaves it; a file the
    // record does not name is never touched. Every file only sends the
    // rest again.
    auto bom = XmlBom::createWithSourceDest(current->get(), last->get());
    if (everything) {
        auto all = XmlBom::createWithSourceDest(current->get(), nullptr);
        all->setRemoveFiles(std::shared_ptr<XmlD>(bom, bom->removeFiles()));
        return all;
    }
    return bom;
}

void SendController::showStartError(const QString& message)
{
    if (!_runOpen)
        beginRun(false);
    _taskError = true;
    _sending = false;
    _resultShown = false;
    _cancelShown = false;
    _resultAddress.clear();
    activity(message);
    setProgress(0, true);
    _retryVisible = false;
    setPanelVisible(true);
    setStatus(QStringLiteral("The publication stopped"), message);
    finished();
}

// --- The panel ------------------------------------------------------------------

void SendController::setStatus(const QString& first, const QString& second)
{
    _status1 = first;
    _status2 = second;
    _observers.tell([&](PublishObserver& observer) { observer.stageChanged(first, second); });
}

void SendController::setProgress(int value, bool indeterminate)
{
    _progress = value;
    _indeterminate = indeterminate;
    _observers.tell([&](PublishObserver& observer) { observer.progressChanged(value, indeterminate); });
}

void SendController::setPanelVisible(bool visible)
{
    _panelVisible = visible;
}

void SendController::setRetryVisible(bool visible)
{
    _retryVisible = visible;
}

void SendController::setTesting(bool testing, const QString& protocol)
{
    _testing = testing;
    _title = testing ? QStringLiteral("Testing ") + protocol + QStringLiteral(" Connection") : QStringLiteral("Sending Files");
    _cancelTitle = testing ? QStringLiteral("Close") : QStringLiteral("Cancel");
    beginRun(testing);
}

void SendController::beginRun(bool test)
{
    // The road of a publication that began with its build goes on with the same run.
    if (_runOpen && !test && !_building && _sending)
        return;
    _runOpen = true;
    _cancelShown = false;
    _keepDetails = _building;
    _failures.clear();
    _observers.tell([&](PublishObserver& observer) { observer.runStarted(_title, test); });
}

void SendController::beginBuild(std::function<void()> cancelBuild)
{
    _cancelBuild = std::move(cancelBuild);
    _debugOut.clear();
    _keepDetails = true;
    _building = true;
    _testing = false;
    _taskError = false;
    setSending(true);
    _title = QStringLiteral("Sending Files");
    _cancelTitle = QStringLiteral("Cancel");
    _retryVisible = false;
    _panelVisible = true;
    _runOpen = false;
    beginRun(false);
    setProgress(0, true);
    setStatus(QStringLiteral("Building the site"), QStringLiteral("Pages, pictures and files are made before they are sent"));
}

void SendController::buildEnded()
{
    _building = false;
    _cancelBuild = {};
}

void SendController::buildFailed(const QString& why)
{
    buildEnded();
    _taskError = true;
    _sending = false;
    _retryVisible = false;
    _panelVisible = true;
    setProgress(0, true);
    setStatus(QStringLiteral("The site could not be built: nothing was sent"), why);
    finished();
}

void SendController::debugSetState(bool open)
{
    _debugOpen = open;
}

void SendController::clearDebugLog()
{
    if (!_keepDetails)
        _debugOut.clear();
}

void SendController::activity(const QString& line)
{
    if (_document)
        _document->addActivityString(line);
    _observers.tell([&](PublishObserver& observer) { observer.activityLine(line); });
}

void SendController::debug(const QString& line)
{
    _debugOut += line + QLatin1Char('\n');
    _observers.tell([&](PublishObserver& observer) { observer.toolLine(line); });
}

void SendController::setSending(bool sending)
{
    _sending = sending;
    if (sending) {
        _resultShown = false;
        _cancelShown = false;
        _resultAddress.clear();
    }
}

void SendController::showResult(const PublicationReport& report, const QString& destination, const QString& address)
{
    if (!_runOpen)
        beginRun(false);
    // One line in the Activity log; the files, one by one, in the details.
    for (const QString& file : report.fileLines())
        debug(file);
    const QString line = report.line(destination);
    activity(line);
    _resultShown = true;
    _resultAddress = address;
    _sending = false;
    _title = QStringLiteral("Publication Finished");
    _cancelTitle = QStringLiteral("Close");
    _retryVisible = false;
    _panelVisible = true;
    setProgress(100, false);
    setStatus(line, _notice);
    finished();
}

void SendController::showCancelled(const QString& line)
{
    if (!_runOpen)
        beginRun(false);
    // One line in the Activity log, the same on the panel until Close.
    activity(line);
    _cancelShown = true;
    _resultShown = false;
    _resultAddress.clear();
    _sending = false;
    _taskError = true;
    _title = QStringLiteral("Publication Cancelled");
    _cancelTitle = QStringLiteral("Close");
    _retryVisible = false;
    _panelVisible = true;
    setProgress(_indeterminate ? 0 : _progress, false);
    setStatus(line, QString());
    finished();
}

void SendController::finished()
{
    if (_runOpen) {
        _runOpen = false;
        _keepDetails = false;
        const PublishObserver::Ending end = ending();
        // Nothing runs any more: the button puts the failure away.
        if (end.outcome == PublishObserver::Outcome::Failed)
            _cancelTitle = QStringLiteral("Close");
        _observers.tell([&](PublishObserver& observer) { observer.runEnded(end); });
    } else if (!_panelVisible) {
        _observers.tell([](PublishObserver& observer) { observer.dismissed(); });
    }
}

PublishObserver::Ending SendController::ending() const
{
    PublishObserver::Ending end;
    end.title = _title;
    end.line = _status1;
    end.detail = _status2;
    end.failures = _failures;
    if (_resultShown) {
        end.outcome = PublishObserver::Outcome::Published;
        end.address = _resultAddress;
    } else if (_cancelShown || !_panelVisible) {
        end.outcome = PublishObserver::Outcome::Cancelled;
    } else if (_taskError) {
        end.outcome = PublishObserver::Outcome::Failed;
        end.retry = _retryVisible;
    } else {
        end.outcome = PublishObserver::Outcome::TestPassed;
    }
    return end;
}

void SendController::setTaskError(bool error)
{
    _taskError = error;
}

void SendController::fileFailed(const FileFailure& failure)
{
    // Each in the details; the run's one Activity line names the first.
    _failures.append(failure);
    debug(failure.why);
}

bool SendController::trustHostKey(const HostKey& key)
{
    return _hostKeyQuestion && _hostKeyQuestion(key);
}

void SendController::retry()
{
    if (_retryHandler)
        _retryHandler();
}

void SendController::take(UploadRoad* road)
{
    for (const auto& [kind, other] : _roads) {
        if (other.get() != road)
            other->abandon();
    }
    _road = road;
}

// --- The roads ----------------------------------------------------------------------

UploadRoad* SendController::roadFor(PublishRequest::Road road) const
{
    for (const auto& [kind, taker] : _roads) {
        if (kind == road)
            return taker.get();
    }
    return nullptr;
}

void SendController::send(const PublishRequest& request, const ChangeSet& changes)
{
    UploadRoad* road = roadFor(request.road);
    if (!road)
        return;
    take(road);
    road->send(request, changes);
}

void SendController::test(const PublishRequest& request)
{
    UploadRoad* road = roadFor(request.road);
    if (!road || !road->canTest())
        return;
    if (_sending)
        cancel();
    take(road);
    road->test(request);
}

void SendController::startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
    const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest)
{
    PublishRequest request;
    request.road = PublishRequest::Road::WebDAV;
    request.pathName = pathName;
    request.baseURL = location;
    request.passPhrase = passPhrase;
    request.openURL = openURL;
    request.digest = digest;
    send(request, { bom, std::move(lastXmlD), nullptr });
}

void SendController::sendFTPBomLocationPathNameLastXmlDCurrentXmlD(XmlBom* bom, XmlLocation* location,
    const QString& pathName, std::shared_ptr<XmlD> lastXmlD, std::shared_ptr<XmlD> currentXmlD)
{
    PublishRequest request;
    request.road = PublishRequest::Road::FTP;
    request.pathName = pathName;
    request.location = location;
    send(request, { bom, std::move(lastXmlD), std::move(currentXmlD) });
}

void SendController::ftpTestExportPathName(XmlLocation* location, const QString& pathName)
{
    PublishRequest request;
    request.road = PublishRequest::Road::FTP;
    request.pathName = pathName;
    request.location = location;
    test(request);
}

void SendController::webDAVTestLocationPassPhraseDigest(const QString& location, const QString& passPhrase, int digest)
{
    PublishRequest request;
    request.road = PublishRequest::Road::WebDAV;
    request.baseURL = location;
    request.passPhrase = passPhrase;
    request.digest = digest;
    test(request);
}

void SendController::retryFTP()
{
    _ftp->retryFTP();
}

void SendController::cancel()
{
    lq::modelFrame(this, "cancel:", [&] {
        if (_building) {
            // Nothing of the build runs any more, and nothing is sent.
            const std::function<void()> stop = std::move(_cancelBuild);
            buildEnded();
            if (stop)
                stop();
            showCancelled(QStringLiteral("Publication cancelled while the site was built: nothing was sent"));
            return;
        }
        if (_resultShown || _cancelShown) {
            // Close, after a publication that went through or was cancelled.
            _resultShown = false;
            _cancelShown = false;
            setPanelVisible(false);
            finished();
            return;
        }
        if (_road) {
            // The road stops its tool, keeps what the server confirmed and
            // says so (a publication) or puts the panel away (anything else).
            _road->cancel();
            return;
        }
        _sending = false;
        setPanelVisible(false);
        finished();
    });
}
