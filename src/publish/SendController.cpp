#include "publish/SendController.h"

#include "model/application/MyApplication.h"
#include "model/core/DocumentBase.h"
#include "platform/AuxiliaryTools.h"
#include "platform/ChildProcess.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QUrl>

namespace {

// A file or folder name as one segment of an address: every character a URL
// may not hold is escaped, and so are the marks that would end the path.
QString segmentEscape(const QString& name)
{
    QString escaped = lq::urlEscape(name);
    escaped.replace(QLatin1Char('#'), QStringLiteral("%23"));
    escaped.replace(QLatin1Char('?'), QStringLiteral("%3F"));
    escaped.replace(QLatin1Char(';'), QStringLiteral("%3B"));
    return escaped;
}

// The HTTP result that an exit status of our "curl" tool stands for (0:
// success or a failure of the tool itself).
int httpCodeOfStatus(int status)
{
    if (status <= 101)
        return 0;
    if (status <= 150)
        return status + 199;
    if (status <= 190)
        return status + 249;
    return status + 304;
}

QString webDAVMessage(int status)
{
    switch (status) {
    case 3:
    case 4:
        return QStringLiteral("Check URL for server");
    case 6:
        return QStringLiteral("Could not find server");
    case 9:
        return QStringLiteral("Access forbidden or file locked");
    case 10:
        return QStringLiteral("Incorrect Username or Password");
    case 22:
        return QStringLiteral("Request could not be processed");
    case 99:
        return QStringLiteral("Internal Server error");
    case 100:
        return QStringLiteral("WebDAV access not implemented");
    case 195:
        return QStringLiteral("Network connection timed out");
    case 198:
        return QStringLiteral("Server disk space full.");
    default:
        return QString();
    }
}

// The address of the folder above: the same scheme and host, the path less
// its last component; "" when no component is left.
QString parentAddress(const QString& address)
{
    QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return QString();
    QString path = url.path(QUrl::FullyEncoded);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty())
        return QString();
    path = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (path.isEmpty())
        path = QStringLiteral("/");
    url.setPath(path, QUrl::StrictMode);
    return url.toString(QUrl::FullyEncoded);
}

QString joined(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

} // namespace

SendController::SendController(DocumentBase* document, QObject* parent)
    : QObject(parent)
    , _document(document)
{
}

SendController::~SendController()
{
    if (task)
        task->kill();
}

QString SendController::webDAVAddress(const QString& location)
{
    const QString trimmed = location.trimmed();
    for (const QString& scheme : { QStringLiteral("https://"), QStringLiteral("http://") }) {
        if (trimmed.startsWith(scheme, Qt::CaseInsensitive))
            return scheme + lq::urlEscape(trimmed.mid(scheme.size()));
    }
    return QStringLiteral("http://") + lq::urlEscape(trimmed);
}

void SendController::later(std::function<void()> step)
{
    QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}

std::shared_ptr<XmlBom> SendController::changesToPublish(DocumentBase* document, bool everything,
    std::shared_ptr<XmlD>* current, std::shared_ptr<XmlD>* last, QString* error)
{
    *current = document ? document->createXmlD(QString()) : nullptr;
    *last = document ? document->lastXmlD() : nullptr;
    if (!*current) {
        if (error)
            *error = QStringLiteral("The generated site could not be listed; nothing was sent and nothing was removed");
        return nullptr;
    }
    auto bom = XmlBom::createWithSourceDest(current->get(), everything ? nullptr : last->get());
    if (everything)
        bom->setRemoveFiles(XmlD::create());
    return bom;
}

void SendController::showStartError(const QString& message)
{
    _taskError = true;
    _sending = false;
    activity(message);
    setProgress(0, true);
    _retryVisible = false;
    setPanelVisible(true);
    setStatus(QStringLiteral("Send Error! - Press Cancel"), message);
    Q_EMIT finished();
}

// --- The panel ------------------------------------------------------------------

void SendController::setStatus(const QString& first, const QString& second)
{
    _status1 = first;
    _status2 = second;
    Q_EMIT changed();
}

void SendController::setProgress(int value, bool indeterminate)
{
    _progress = value;
    _indeterminate = indeterminate;
    Q_EMIT changed();
}

void SendController::setPanelVisible(bool visible)
{
    _panelVisible = visible;
    Q_EMIT changed();
}

void SendController::setTesting(bool testing)
{
    ftpTest = testing;
    _title = testing ? QStringLiteral("Testing FTP Connection") : QStringLiteral("Sending Files");
    _cancelTitle = testing ? QStringLiteral("Close") : QStringLiteral("Cancel");
    Q_EMIT changed();
}

void SendController::debugSetState(bool open)
{
    if (_debugOpen == open)
        return;
    _debugOpen = open;
    Q_EMIT changed();
}

void SendController::activity(const QString& line)
{
    if (_document)
        _document->addActivityString(line);
}

void SendController::ftpDebug(const QString& text)
{
    activity(text);
    _debugOut += text + QLatin1Char('\n');
    Q_EMIT changed();
}

void SendController::stopTool()
{
    ++_runNumber;
    if (task) {
        task->kill();
        _retired.push_back(std::move(task));
    }
}

// --- WebDAV --------------------------------------------------------------------------

void SendController::startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
    const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest)
{
    _sending = true;
    _errorString.clear();
    setStatus(QString(), QString());
    setProgress(0, true);
    _retryVisible = false;
    setPanelVisible(true);
    sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom, location, pathName, passPhrase, std::move(lastXmlD), openURL, digest);
}

void SendController::sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
    const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest)
{
    ftpSend = false;
    ftpSend2 = false;
    setTesting(false);
    debugSetState(false);
    _errorString.clear();
    _sending = true;
    setStatus(QStringLiteral("Calculating Changes"), QString());
    setProgress(0, true);
    _retryVisible = false;
    setPanelVisible(true);

    _openURL = openURL;
    _sendItems.clear();
    _failedItems.clear();
    removeDone = removeTotal = sendDone = sendTotal = 0;
    _sendItems.append({ QStringLiteral("verify"), location, QString(), passPhrase, digest, QStringLiteral("Verifying location"), QString(), QString() });
    if (bom && bom->removeFiles())
        addRemoveItems(bom->removeFiles(), location, QString(), passPhrase, digest);
    if (bom && bom->addFiles())
        addSendItems(bom->addFiles(), location, pathName, QString(), passPhrase, digest);
    lastxmld = std::move(lastXmlD);
    exportsDir = pathName;
    _taskError = false;
    cancelpressed = false;
    doCurlFunction();
}

void SendController::addRemoveItems(XmlD* tree, const QString& location, const QString& relative, const QString& passPhrase, int digest)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        const QString address = location + QLatin1Char('/') + segmentEscape(name);
        if (XmlD::isFileNode(child.get())) {
            _sendItems.append({ QStringLiteral("remove"), address, QString(), passPhrase, digest,
                QStringLiteral("Removing ") + name, joined(relative, name), XmlF::cast(child.get())->md5() });
            ++removeTotal;
        } else if (XmlD::isFolderNode(child.get())) {
            addRemoveItems(XmlD::cast(child.get()), address, joined(relative, name), passPhrase, digest);
        }
    }
}

void SendController::addSendItems(XmlD* tree, const QString& location, const QString& local, const QString& relative,
    const QString& passPhrase, int digest)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        const QString address = location + QLatin1Char('/') + segmentEscape(name);
        const QString path = local + QLatin1Char('/') + name;
        if (XmlD::isFileNode(child.get())) {
            _sendItems.append({ QStringLiteral("send"), address, path, passPhrase, digest,
                QStringLiteral("Sending ") + name, joined(relative, name), XmlF::cast(child.get())->md5() });
            ++sendTotal;
        } else if (XmlD::isFolderNode(child.get())) {
            _sendItems.append({ QStringLiteral("verify"), address + QLatin1Char('/'), QString(), passPhrase, digest, QString(), QString(), QString() });
            addSendItems(XmlD::cast(child.get()), address, path, joined(relative, name), passPhrase, digest);
        }
    }
}

void SendController::endWebDAV()
{
    setPanelVisible(false);
    if (!_taskError && lastxmld && _document) {
        // Requests that failed without stopping the upload keep what the
        // server held before: a file not sent is no longer claimed, a file
        // not removed is still there.
        for (const SendItem& item : std::as_const(_failedItems)) {
            if (item.function == QStringLiteral("send"))
                lastxmld->removeFileMd5(item.relativePath, item.md5);
            else if (item.function == QStringLiteral("remove"))
                lastxmld->addFileMd5(item.relativePath, item.md5);
        }
        _document->setLastXmlD(lastxmld.get());
    }
    lastxmld.reset();
    _sending = false;
    if (!_failedItems.isEmpty() && !_taskError) {
        // Shown until Cancel: the user must see that not everything arrived.
        _taskError = true;
        setPanelVisible(true);
        setProgress(0, true);
        setStatus(QStringLiteral("Send Error! - Press Cancel"),
            QString::number(_failedItems.size()) + QStringLiteral(" file(s) could not be sent or removed; see the Activity log"));
    } else if (!_taskError && !_openURL.isEmpty() && MyApplication::shared().autoLaunchBrowser()) {
        lq::openURL(QUrl(_openURL));
    }
    Q_EMIT finished();
}

void SendController::doCurlFunction()
{
    lq::modelFrame(this, "doCurlFunction", [&] {
        while (!_sendItems.isEmpty()) {
            const SendItem item = _sendItems.first();
            QStringList arguments;
            const QString output = _debugSend ? QStringLiteral("-v") : QStringLiteral("-o/dev/null");
            // The credential goes to the tool's standard input, never onto
            // its command line where every process could read it.
            const QString user = QStringLiteral("-u-");
            const QString digest = QStringLiteral("--digest");
            if (item.function == QStringLiteral("verify")) {
                arguments = { user, QStringLiteral("-XPROPFIND"), QStringLiteral("-HDepth:0"), QStringLiteral("-HConnection:close"),
                    QStringLiteral("-s"), output };
                if (item.digest)
                    arguments.append(digest);
                arguments.append(item.location.endsWith(QLatin1Char('/')) ? item.location : item.location + QLatin1Char('/'));
            } else if (item.function == QStringLiteral("mkloc")) {
                arguments = { user, QStringLiteral("-XMKCOL"), QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
                if (item.digest)
                    arguments.append(digest);
                arguments.append(item.location);
            } else if (item.function == QStringLiteral("remove")) {
                arguments = { user, QStringLiteral("-XDELETE"), QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
                if (item.digest)
                    arguments.append(digest);
                arguments.append(item.location);
            } else if (item.function == QStringLiteral("send")) {
                arguments = { user, QStringLiteral("-T") + item.pathName, QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
                if (item.digest)
                    arguments.append(digest);
                arguments.append(item.location);
            } else {
                _sendItems.removeFirst();
                continue;
            }

            const QString tool = lq::auxiliaryTool(QStringLiteral("curl"));
            _retired.clear();
            task = std::make_unique<lq::ChildProcess>();
            const quint64 run = ++_runNumber;
            if (_debugSend)
                task->setOutputHandler([this, run](const QByteArray& bytes) {
                    if (run == _runNumber)
                        _errorString += QString::fromUtf8(bytes);
                });
            task->setFinishedHandler([this, run](const lq::ProcessResult& result) {
                if (run != _runNumber)
                    return;
                later([this, result] { taskCompleted(result); });
            });
            if (tool.isEmpty() || !task->start(tool, arguments)) {
                stopTool();
                _taskError = true;
                _sendItems.clear();
                setProgress(0, true);
                const QString message = QStringLiteral("The upload tool \"curl\" could not be started");
                activity(message);
                setStatus(QStringLiteral("Send Error! - Press Cancel"), message);
                _sending = false;
                Q_EMIT finished();
                return;
            }
            task->write(item.passphrase.toUtf8() + '\n');
            task->closeInput();

            if (item.function == QStringLiteral("remove") || item.function == QStringLiteral("send")) {
                const bool remove = item.function == QStringLiteral("remove");
                const int done = remove ? removeDone : sendDone;
                const int total = remove ? removeTotal : sendTotal;
                if (total != 0)
                    setProgress(done * 100 / total, false);
                setStatus(QString::number(total - done) + QStringLiteral(" file(s) left"), item.status);
            }
            return;
        }
        endWebDAV();
    });
}

void SendController::webDAVError(int status)
{
    _taskError = true;
    _sendItems.clear();
    setProgress(0, true);
    QString message = webDAVMessage(status);
    if (message.isEmpty()) {
        message = QStringLiteral("Error number:") + QString::number(status);
        if (_debugSend && !_errorString.isEmpty())
            lq::log(QStringLiteral("Upload trace:\n") + _errorString);
        _debugSend = true;
    }
    activity(message);
    setStatus(QStringLiteral("Send Error! - Press Cancel"), message);
    _sending = false;
    Q_EMIT finished();
}

void SendController::taskCompleted(const lq::ProcessResult& result)
{
    lq::modelFrame(this, "taskCompleted:", [&] {
        if (ftpSend) {
            _sending = false;
            setPanelVisible(false);
            Q_EMIT finished();
            return;
        }
        if (task) {
            _retired.push_back(std::move(task));
        }
        if (_sendItems.isEmpty())
            return;
        // A tool that died by a signal has no status of its own.
        const int status = (!result.started) ? 127 : (result.crashed ? 255 : result.exitCode);
        const int code = httpCodeOfStatus(status);
        SendItem& item = _sendItems.first();
        const QString function = item.function;
        if (code != 0 && !(status == 155 && (function == QStringLiteral("verify") || function == QStringLiteral("remove"))))
            activity(QStringLiteral("HTTP Error:") + QString::number(code) + QLatin1Char(' ') + function + QLatin1Char(' ') + item.location);

        bool done = false;
        if (status == 0 || cancelpressed) {
            done = true;
        } else if (status == 155 && function == QStringLiteral("verify")) {
            const QString parent = parentAddress(item.location);
            if (parent.isEmpty()) {
                // No folder is left to climb to: the base address itself is wrong.
                _taskError = true;
                _sendItems.clear();
                setProgress(0, true);
                const QString message = QStringLiteral("The location was not found on the server");
                activity(message);
                setStatus(QStringLiteral("Send Error! - Press Cancel"), message);
                _sending = false;
                Q_EMIT finished();
                return;
            }
            QString folder = item.location;
            if (!folder.endsWith(QLatin1Char('/')))
                folder += QLatin1Char('/');
            _sendItems.insert(1, { QStringLiteral("mkloc"), folder, QString(), item.passphrase, item.digest, QString(), QString(), QString() });
            _sendItems.first().location = parent;
            doCurlFunction();
            return;
        } else if (status == 155 && function == QStringLiteral("remove")) {
            done = true;
        } else if (status == 103 || status == 26) {
            // A redirect or an unreadable local file: the request did not do
            // its work. The upload goes on; the stored tree leaves it out.
            if (status == 26) {
                const QString line = QStringLiteral("Read error on file: ") + item.status;
                lq::log(line);
                activity(line);
            }
            _failedItems.append(item);
            done = true;
        } else {
            webDAVError(status);
            return;
        }
        if (done) {
            if (function == QStringLiteral("remove")) {
                ++removeDone;
                if (removeTotal != 0)
                    setProgress(removeDone * 100 / removeTotal, false);
            } else if (function == QStringLiteral("send")) {
                ++sendDone;
                if (sendTotal != 0)
                    setProgress(sendDone * 100 / sendTotal, false);
            }
            _sendItems.removeFirst();
            doCurlFunction();
        }
    });
}

// --- Cancel ---------------------------------------------------------------------------

void SendController::cancel()
{
    lq::modelFrame(this, "cancel:", [&] {
        if (ftpSend) {
            _sending = false;
            setPanelVisible(false);
            stopTool();
            Q_EMIT finished();
            return;
        }
        if (!ftpSend2) {
            _taskError = true;
            cancelpressed = true;
            _sendItems.clear();
            stopTool();
            lastxmld.reset();
            _sending = false;
            setPanelVisible(false);
            Q_EMIT finished();
            return;
        }
        _taskError = true;
        cancelpressed = true;
        lastxmld.reset();
        _sending = false;
        setPanelVisible(false);
        if (!ftpTest && partialxmld && _document)
            _document->setLastXmlD(partialxmld.get());
        partialxmld.reset();
        ftpDebug(QStringLiteral("Task Canceled"));
        tasksToDo.clear();
        stopTool();
        ftpSend2 = false;
        Q_EMIT finished();
    });
}

// --- Upload script ---------------------------------------------------------------------

void SendController::sendFTP(const QString& scriptPath)
{
    ftpSend = true;
    ftpSend2 = false;
    _sending = false;
    setTesting(false);
    setProgress(0, true);
    _retryVisible = false;
    setPanelVisible(true);
    const QString message = QStringLiteral("Driving an FTP client application with an upload script is not available on Linux. "
                                           "The script was written to ")
        + scriptPath + QStringLiteral("; publish with the FTP or SFTP destination instead.");
    activity(message);
    setStatus(QStringLiteral("Send Error! - Press Cancel"), message);
    Q_EMIT finished();
}

// --- FTP and SFTP --------------------------------------------------------------------------

QString SendController::ftpStripVornSlashes(const QString& folder)
{
    QStringList kept;
    for (const QString& part : folder.split(QLatin1Char('/'))) {
        if (!part.isEmpty() && part != QStringLiteral("."))
            kept.append(part);
    }
    return kept.join(QLatin1Char('/'));
}

bool SendController::ftpCreateTask(const QString& module, const QString& folder, QString* why)
{
    const QString tool = lq::auxiliaryTool(module);
    if (tool.isEmpty()) {
        *why = QStringLiteral("The transfer tool \"") + module + QStringLiteral("\" is missing");
        return false;
    }
    if (!QFileInfo(folder).isDir()) {
        *why = QStringLiteral("The folder ") + folder + QStringLiteral(" does not exist");
        return false;
    }
    tasksToDo.append({ module, tool, folder, QStringList() });
    return true;
}

void SendController::ftpCommonCommands(XmlLocation* location)
{
    QStringList& commands = tasksToDo.last().commands;
    commands.append(QStringLiteral("HOST ") + location->location().trimmed());
    commands.append(QStringLiteral("USERNAME ") + location->username());
    commands.append(QStringLiteral("PASSWORD ") + location->password());
    QStringList escaped;
    const QString base = ftpStripVornSlashes(location->ftpFolder());
    if (!base.isEmpty()) {
        for (const QString& part : base.split(QLatin1Char('/')))
            escaped.append(segmentEscape(part));
    }
    commands.append(QStringLiteral("BASEDIR ") + escaped.join(QLatin1Char('/')));
    if (location->ftpFolder().startsWith(QLatin1Char('/')))
        commands.append(QStringLiteral("BASEDIRISROOT"));
    commands.append(QStringLiteral("CONNECT"));
}

void SendController::ftpAddRemoveFiles(XmlD* tree, const QString& path, const QString& plain)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString escaped = joined(path, segmentEscape(child->name()));
        const QString name = joined(plain, child->name());
        if (XmlD::isFileNode(child.get())) {
            tasksToDo.last().commands.append(QStringLiteral("DELETE ") + escaped);
            tasksToDo.last().commands.append(QStringLiteral("- ") + XmlF::cast(child.get())->md5() + QLatin1Char(' ') + name);
            ++removeTotal;
        } else if (XmlD::isFolderNode(child.get())) {
            ftpAddRemoveFiles(XmlD::cast(child.get()), escaped, name);
        }
    }
}

void SendController::ftpAddSendFiles(XmlD* tree, const QString& path, const QString& plain)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString escaped = joined(path, segmentEscape(child->name()));
        const QString name = joined(plain, child->name());
        if (XmlD::isFileNode(child.get())) {
            tasksToDo.last().commands.append(QStringLiteral("PUT ") + escaped);
            tasksToDo.last().commands.append(QStringLiteral("+ ") + XmlF::cast(child.get())->md5() + QLatin1Char(' ') + name);
            ++sendTotal;
        } else if (XmlD::isFolderNode(child.get())) {
            ftpAddSendFiles(XmlD::cast(child.get()), escaped, name);
        }
    }
}

void SendController::sendFTPBomLocationPathNameLastXmlDCurrentXmlD(XmlBom* bom, XmlLocation* location,
    const QString& pathName, std::shared_ptr<XmlD> lastXmlD, std::shared_ptr<XmlD> currentXmlD)
{
    lq::modelFrame(this, "sendFTPBom:location:pathName:lastXmlD:currentXmlD:", [&] {
        stopTool();
        tasksToDo.clear();
        ftpSend = false;
        ftpSend2 = true;
        _sending = true;
        setTesting(false);
        debugSetState(false);
        _errorString.clear();
        setStatus(QStringLiteral("Calculating Changes"), QString());
        setProgress(0, true);
        _retryVisible = false;
        setPanelVisible(true);
        removeDone = removeTotal = sendDone = sendTotal = 0;
        lastxmld = std::move(lastXmlD);
        partialxmld = currentXmlD ? std::move(currentXmlD) : XmlD::create();
        exportsDir = pathName;
        _taskError = false;
        cancelpressed = false;

        QString why;
        if (!location || !ftpCreateTask(location->ftpType() == 0 ? QStringLiteral("FTP") : QStringLiteral("SFTP"), pathName, &why)) {
            if (why.isEmpty())
                why = QStringLiteral("No destination");
            // Nothing was sent: the stored tree stays as it is.
            partialxmld.reset();
            ftpFail(why);
            return;
        }
        ftpCommonCommands(location);
        if (bom && bom->removeFiles())
            ftpAddRemoveFiles(bom->removeFiles(), QString(), QString());
        if (bom && bom->addFiles())
            ftpAddSendFiles(bom->addFiles(), QString(), QString());
        tasksToDo.last().commands.append(QStringLiteral("QUIT"));
        setStatus(QStringLiteral("Connecting...."), QString());
        ftpLaunchTask();
    });
}

void SendController::ftpTestExportPathName(XmlLocation* location, const QString& pathName)
{
    lq::modelFrame(this, "ftp_testExport:pathName:", [&] {
        if (_sending)
            cancel();
        stopTool();
        tasksToDo.clear();
        debugSetState(true);
        ftpSend = false;
        ftpSend2 = true;
        _sending = true;
        setTesting(true);
        _errorString.clear();
        _debugOut.clear();
        setStatus(QStringLiteral("Testing Connection"), QString());
        setProgress(0, true);
        _retryVisible = false;
        setPanelVisible(true);
        lastxmld.reset();
        partialxmld.reset();
        _taskError = false;
        cancelpressed = false;
        QString why;
        if (!location || !ftpCreateTask(location->ftpType() == 0 ? QStringLiteral("FTP") : QStringLiteral("SFTP"), pathName, &why)) {
            ftpFail(why.isEmpty() ? QStringLiteral("No destination") : why);
            return;
        }
        ftpCommonCommands(location);
        tasksToDo.last().commands.append(QStringLiteral("TEST"));
        tasksToDo.last().commands.append(QStringLiteral("QUIT"));
        ftpLaunchTask();
    });
}

void SendController::ftpLaunchTask()
{
    lq::modelFrame(this, "ftp_launchTask", [&] {
        if (tasksToDo.isEmpty()) {
            ftpEndRoad();
            return;
        }
        const ToolTask& next = tasksToDo.first();
        _debugOut.clear();
        ftpDebug(QStringLiteral("launch - ") + next.toolPath);
        _retired.clear();
        _incomingString.clear();
        _quitSent = false;
        _quitConfirmed = false;
        task = std::make_unique<lq::ChildProcess>();
        task->setWorkingFolder(next.rootPath);
        // SFTP host keys are trusted on first use and checked afterwards
        // against the program's own known-hosts file.
        task->setEnvironment({ { QStringLiteral("NSUnbufferedIO"), QStringLiteral("YES") },
            { QStringLiteral("LUMENQUILL_KNOWN_HOSTS"), lq::supportFolder() + QStringLiteral("/known_hosts") } });
        const quint64 run = ++_runNumber;
        task->setOutputHandler([this, run](const QByteArray& bytes) {
            if (run == _runNumber)
                ftpHandleReturnedData(bytes);
        });
        task->setErrorHandler([this, run](const QByteArray& bytes) {
            if (run == _runNumber)
                ftpDebug(QString::fromUtf8(bytes).trimmed());
        });
        task->setFinishedHandler([this, run](const lq::ProcessResult& result) {
            if (run != _runNumber)
                return;
            later([this, run, result] {
                if (run == _runNumber)
                    ftpTaskCompleted(result);
            });
        });
        if (!task->start(next.toolPath, {})) {
            ++_runNumber;
            _retired.push_back(std::move(task));
            tasksToDo.clear();
            ftpFail(QStringLiteral("The transfer tool could not be started"));
        }
    });
}

void SendController::ftpTaskCompleted(const lq::ProcessResult& result)
{
    lq::modelFrame(this, "ftp_taskCompleted:", [&] {
        ftpDebug(QStringLiteral("Task Completed"));
        if (task)
            _retired.push_back(std::move(task));
        ++_runNumber;
        // A tool that ends before it confirmed QUIT did not finish its work.
        if (!_quitConfirmed && !_taskError && !tasksToDo.isEmpty()) {
            const QString why = result.crashed ? QStringLiteral("The transfer tool stopped unexpectedly")
                                               : QStringLiteral("The transfer tool ended before it was done (status ")
                    + QString::number(result.exitCode) + QLatin1Char(')');
            ftpProcessError(why);
            return;
        }
        if (!tasksToDo.isEmpty())
            tasksToDo.removeFirst();
        _incomingString.clear();
        ftpLaunchTask();
    });
}

void SendController::ftpEndRoad()
{
    if (ftpTest) {
        _sending = false;
        Q_EMIT changed();
        Q_EMIT finished();
        return;
    }
    if (!ftpSend2)
        return;
    setPanelVisible(false);
    XmlD* tree = _taskError ? partialxmld.get() : lastxmld.get();
    if (tree && _document)
        _document->setLastXmlD(tree);
    lastxmld.reset();
    partialxmld.reset();
    _sending = false;
    ftpSend2 = false;
    Q_EMIT finished();
}

void SendController::ftpHandleReturnedData(const QByteArray& bytes)
{
    lq::modelFrame(this, "ftp_handleReturnedDataString:", [&] {
        _incomingString += bytes;
        qsizetype end;
        while ((end = _incomingString.indexOf('\n')) >= 0) {
            QByteArray line = _incomingString.left(end);
            _incomingString.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            ftpProcessLine(QString::fromUtf8(line));
        }
    });
}

void SendController::ftpProcessLine(const QString& line)
{
    lq::modelFrame(this, "ftp_processLine:", [&] {
        ftpDebug(line);
        if (tasksToDo.isEmpty())
            return;
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space <= 0)
            return;
        const QString verb = line.left(space);
        const QString rest = line.mid(space + 1);
        if (verb == QStringLiteral("+OK")) {
            if (rest == QStringLiteral("PUT")) {
                ++sendDone;
                if (sendTotal != 0)
                    setProgress(sendDone * 100 / sendTotal, false);
            } else if (rest == QStringLiteral("DELETE")) {
                ++removeDone;
                if (removeTotal != 0)
                    setProgress(removeDone * 100 / removeTotal, false);
            } else if (rest == QStringLiteral("CONNECT")) {
                setStatus(ftpTest ? QStringLiteral("Test Passed. Connection Good") : QStringLiteral("Connected"), _status2);
                setProgress(_progress, false);
            } else if (rest == QStringLiteral("QUIT") && _quitSent) {
                _quitConfirmed = true;
            }
            ftpDoCommand();
        } else if (verb == QStringLiteral("+STAT")) {
            const int percent = rest.trimmed().toInt();
            if (percent != 0 && percent != 100)
                setStatus(_status1, lastStatus2 + QStringLiteral(" (") + QString::number(percent) + QStringLiteral("%)"));
        } else if (verb == QStringLiteral("-ERR")) {
            ftpProcessError(rest);
        }
    });
}

void SendController::ftpDoCommand()
{
    lq::modelFrame(this, "ftp_doCommand", [&] {
        while (!tasksToDo.isEmpty() && !tasksToDo.first().commands.isEmpty()) {
            const QString entry = tasksToDo.first().commands.takeFirst();
            const qsizetype space = entry.indexOf(QLatin1Char(' '));
            const QString verb = space <= 0 ? entry : entry.left(space);
            const QString argument = space <= 0 ? QString() : entry.mid(space + 1);
            if (verb == QStringLiteral("-") || verb == QStringLiteral("+")) {
                const qsizetype gap = argument.indexOf(QLatin1Char(' '));
                if (partialxmld) {
                    if (verb == QStringLiteral("-"))
                        partialxmld->removeFileMd5(gap < 0 ? argument : argument.mid(gap + 1), gap < 0 ? QString() : argument.left(gap));
                    else if (gap >= 0)
                        partialxmld->addFileMd5(argument.mid(gap + 1), argument.left(gap));
                }
                continue;
            }
            ftpDebug(verb == QStringLiteral("PASSWORD") ? QStringLiteral("PASSWORD *") : entry);
            if (verb == QStringLiteral("PUT")) {
                _status1 = QString::number(sendTotal - sendDone) + QStringLiteral(" file(s) left");
                lastStatus2 = QStringLiteral("Sending ") + argument;
                setStatus(_status1, lastStatus2);
            } else if (verb == QStringLiteral("DELETE")) {
                setStatus(QString::number(removeTotal - removeDone) + QStringLiteral(" file(s) left"), QStringLiteral("Removing ") + argument);
            } else if (verb == QStringLiteral("QUIT")) {
                _quitSent = true;
            }
            if (task)
                task->write(entry.toUtf8() + '\n');
            return;
        }
    });
}

void SendController::ftpProcessError(const QString& message)
{
    lq::modelFrame(this, "ftp_processError:", [&] {
        ftpDebug(QStringLiteral("Error: ") + message);
        if (!ftpTest && partialxmld && _document)
            _document->setLastXmlD(partialxmld.get());
        _taskError = true;
        tasksToDo.clear();
        setProgress(_progress, true);
        if (!ftpTest) {
            _status1 = QStringLiteral("Send Error! - Press Retry or Cancel");
            _retryVisible = true;
            lastxmld.reset();
            partialxmld.reset();
        } else {
            _status1 = QStringLiteral("Test Failed");
        }
        activity(message);
        setStatus(_status1, message);
        _sending = false;
        Q_EMIT finished();
    });
}

void SendController::ftpFail(const QString& message)
{
    _taskError = true;
    ftpDebug(QStringLiteral("Error: ") + message);
    activity(message);
    setProgress(0, true);
    _retryVisible = false;
    setStatus(ftpTest ? QStringLiteral("Test Failed") : QStringLiteral("Send Error! - Press Cancel"), message);
    _sending = false;
    Q_EMIT finished();
}

void SendController::retryFTP()
{
    lq::modelFrame(this, "retryFTP:", [&] {
        stopTool();
        ftpDebug(QStringLiteral("Task Retry"));
        _retryVisible = false;
        Q_EMIT changed();
        if (_retryHandler)
            _retryHandler();
    });
}
