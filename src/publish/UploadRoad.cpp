#include "publish/UploadRoad.h"

#include "model/core/DocumentBase.h"
#include "platform/ChildProcess.h"
#include "publish/TransferMessages.h"
#include "publish/XmlD.h"

#include <QMetaObject>

UploadRoad::UploadRoad(UploadPanel& panel)
    : _panel(panel)
{
}

UploadRoad::~UploadRoad()
{
    if (task)
        task->kill();
}

void UploadRoad::later(std::function<void()> step)
{
    QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}

bool UploadRoad::startTool(const QString& program, const QStringList& arguments, const QString& workingFolder,
    const QHash<QString, QString>& environment, std::function<void(const QByteArray&)> output,
    std::function<void(const QByteArray&)> error, std::function<void(const lq::ProcessResult&)> ended)
{
    _retired.clear();
    task = std::make_unique<lq::ChildProcess>();
    if (!workingFolder.isEmpty())
        task->setWorkingFolder(workingFolder);
    if (!environment.isEmpty())
        task->setEnvironment(environment);
    const quint64 run = ++_runNumber;
    if (output)
        task->setOutputHandler([this, run, output = std::move(output)](const QByteArray& bytes) {
            if (run == _runNumber)
                output(bytes);
        });
    if (error)
        task->setErrorHandler([this, run, error = std::move(error)](const QByteArray& bytes) {
            if (run == _runNumber)
                error(bytes);
        });
    task->setFinishedHandler([this, run, ended = std::move(ended)](const lq::ProcessResult& result) {
        if (run != _runNumber)
            return;
        later([this, run, ended, result] {
            if (run != _runNumber)
                return;
            if (task)
                _retired.push_back(std::move(task));
            ++_runNumber;
            ended(result);
        });
    });
    if (program.isEmpty() || !task->start(program, arguments)) {
        stopTool();
        return false;
    }
    return true;
}

bool UploadRoad::writeToTool(const QByteArray& bytes)
{
    return task && task->write(bytes);
}

void UploadRoad::closeToolInput()
{
    if (task)
        task->closeInput();
}

void UploadRoad::stopTool()
{
    ++_runNumber;
    if (task) {
        task->kill();
        _retired.push_back(std::move(task));
    }
}

void UploadRoad::resetCounters()
{
    removeDone = removeTotal = sendDone = sendTotal = 0;
    _failures.clear();
}

void UploadRoad::fileFailed(const QString& path, const QString& why)
{
    const FileFailure failure { path, why };
    _failures.append(failure);
    _panel.fileFailed(failure);
}

void UploadRoad::reportListingFailures(const XmlD* current)
{
    if (!current)
        return;
    for (const FileFailure& unread : current->listingFailures())
        fileFailed(unread.path, lq::unreadFileMessage(unread));
}

void UploadRoad::showFileFailures(const QString& headline, const QString& destination)
{
    // The files that went, in the details; one line for the whole run, in
    // the Activity log and on the panel: what arrived, and what did not.
    for (const QString& file : _report.fileLines(_failures))
        _panel.debug(file);
    const QString line = _report.line(destination, _failures);
    _panel.activity(line);
    _panel.setSending(false);
    _panel.setTaskError(true);
    _panel.setProgress(0, true);
    _panel.setStatus(headline, line);
    _panel.finished();
}

void UploadRoad::showFilesLeft(bool removals, const QString& second)
{
    const int done = removals ? removeDone : sendDone;
    const int total = removals ? removeTotal : sendTotal;
    _panel.setStatus(QString::number(total - done) + QStringLiteral(" file(s) left"), second);
}

void UploadRoad::countDone(bool removals)
{
    int& done = removals ? removeDone : sendDone;
    const int total = removals ? removeTotal : sendTotal;
    ++done;
    if (total != 0)
        _panel.setProgress(done * 100 / total, false);
}

void UploadRoad::showFailure(const QString& headline, const QString& message)
{
    _panel.setTaskError(true);
    _panel.activity(message);
    _panel.setStatus(headline, message);
    _panel.setSending(false);
    _panel.finished();
}

void UploadRoad::store(XmlD* tree)
{
    if (tree && _panel.document())
        _panel.document()->setLastXmlD(tree);
}

void UploadRoad::beginRecord(std::shared_ptr<XmlD> lastPublished)
{
    _record = lastPublished ? std::move(lastPublished) : XmlD::create();
    _recordChanged = false;
    _sent.clear();
    _removed.clear();
}

void UploadRoad::recordAbsent(const QString& path)
{
    if (!_record)
        return;
    _record->removeFileMd5(path, QString());
    _recordChanged = true;
}

void UploadRoad::recordSent(const QString& path, const QString& md5)
{
    if (!_record)
        return;
    _record->addFileMd5(path, md5);
    _recordChanged = true;
    _sent.insert(path);
}

void UploadRoad::recordRemoved(const QString& path)
{
    if (!_record)
        return;
    recordAbsent(path);
    _removed.insert(path);
}

void UploadRoad::endCancelled(bool publication, const QString& destination)
{
    if (!publication) {
        _panel.setPanelVisible(false);
        _panel.finished();
        return;
    }
    for (const QString& file : _report.arrivedFileLines(_sent, _removed))
        _panel.debug(file);
    _panel.showCancelled(_report.cancelledLine(destination, _sent, _removed));
}

void UploadRoad::storeRecord()
{
    if (_recordChanged)
        store(_record.get());
    forgetRecord();
}

void UploadRoad::forgetRecord()
{
    _record.reset();
    _recordChanged = false;
}
