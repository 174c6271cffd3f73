#include "publish/WebDAVRoad.h"

#include "application/MyApplication.h"
#include "model/core/DocumentBase.h"
#include "platform/AuxiliaryTools.h"
#include "platform/ChildProcess.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Workspace.h"
#include "publish/LineValues.h"
#include "publish/PublishAddress.h"
#include "publish/TransferLimits.h"
#include "publish/TransferMessages.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace {

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

// Whether the tool's exit status is one its contract names; any other
// turns on the traces of the next requests, for a bug report.
bool isKnownStatus(int status)
{
    switch (status) {
    case 3: case 4: case 6: case 7: case 9: case 10: case 22: case 26: case 60: case 99: case 100: case 195: case 198:
        return true;
    default:
        return status > 101;
    }
}

// What the request tool said of one request, on standard error: its
// "reply:", "authenticate:" and "curl:" lines.
struct ToolReport {
    int curlCode = 0;
    int reply = 0;
    QString words;
    QString offeredAuth;
};

ToolReport readToolReport(const QString& error, int status)
{
    ToolReport report;
    QString curlWords;
    for (const QString& line : error.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("reply: "))) {
            const QString rest = line.mid(7).trimmed();
            report.reply = rest.section(QLatin1Char(' '), 0, 0).toInt();
            report.words = rest.section(QLatin1Char(' '), 1);
        } else if (line.startsWith(QStringLiteral("authenticate: "))) {
            report.offeredAuth += line.mid(14).trimmed() + QLatin1Char(' ');
        } else if (line.startsWith(QStringLiteral("curl: "))) {
            const QString rest = line.mid(6).trimmed();
            bool number = false;
            const int code = rest.section(QLatin1Char(' '), 0, 0).toInt(&number);
            report.curlCode = number ? code : 0;
            curlWords = number ? rest.section(QLatin1Char(' '), 1) : rest;
        }
    }
    // A tool that said nothing: its exit status is all there is.
    if (report.curlCode == 0 && report.reply == 0) {
        const int code = status <= 101 ? 0 : status <= 150 ? status + 199 : status <= 190 ? status + 249 : status + 304;
        switch (status) {
        case 9: report.reply = 403; break;
        case 10: report.reply = 401; break;
        case 99: report.reply = 500; break;
        case 100: report.reply = 405; break;
        case 195: report.curlCode = 28; break;
        case 198: report.reply = 507; break;
        case 22: report.reply = 400; break;
        default:
            if (code != 0)
                report.reply = code;
            else
                report.curlCode = status;
        }
    }
    if (report.curlCode != 0)
        report.words = curlWords;
    return report;
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

const QString Verify = QStringLiteral("verify");
const QString MakeFolder = QStringLiteral("mkloc");
const QString Remove = QStringLiteral("remove");
const QString Send = QStringLiteral("send");

} // namespace

WebDAVRoad::WebDAVRoad(UploadPanel& panel)
    : UploadRoad(panel)
{
}

QString WebDAVRoad::webDAVAddress(const QString& location)
{
    return PublishAddress::fromWebDAV(location).webDAVAddress();
}

void WebDAVRoad::send(const PublishRequest& request, const ChangeSet& changes)
{
    XmlBom* bom = changes.bom;
    const QString& location = request.baseURL;
    const QString& pathName = request.pathName;
    const int digest = request.digest;
    _panel.setTesting(false, QStringLiteral("WebDAV"));
    _testAddress.clear();
    _panel.debugSetState(false);
    _errorString.clear();
    _panel.setSending(true);
    _panel.setStatus(QStringLiteral("Calculating Changes"), QString());
    _panel.setProgress(0, true);
    _panel.setRetryVisible(false);
    _panel.setPanelVisible(true);

    _openURL = request.openURL;
    _sendItems.clear();
    resetCounters();
    lastxmld.reset();
    forgetRecord();
    const QString phrase = takenPassPhrase(request.passPhrase);
    if (const QString refusal = passPhraseRefusal(phrase); !refusal.isEmpty()) {
        _panel.setProgress(0, true);
        showFailure(QStringLiteral("The publication stopped"), refusal);
        return;
    }
    beginRecord(_panel.document() ? _panel.document()->lastXmlD() : nullptr);
    reportListingFailures(changes.current.get());
    _sendItems.append({ Verify, location, QString(), phrase, digest, QStringLiteral("Verifying location"), QString(), QString() });
    if (bom && bom->removeFiles())
        addRemoveItems(bom->removeFiles(), location, phrase, digest);
    if (bom && bom->addFiles())
        addSendItems(bom->addFiles(), location, pathName, phrase, digest);
    lastxmld = changes.current;
    _report.begin(bom, pathName);
    _destination = location;
    _panel.setTaskError(false);
    cancelpressed = false;
    doCurlFunction();
}

QString WebDAVRoad::takenPassPhrase(const QString& passPhrase)
{
    const qsizetype colon = passPhrase.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return lq::takenLineValue(passPhrase);
    return lq::takenLineValue(passPhrase.left(colon)) + QLatin1Char(':') + lq::takenLineValue(passPhrase.mid(colon + 1));
}

QString WebDAVRoad::passPhraseRefusal(const QString& passPhrase)
{
    // The request tool reads the account as the first line of its input.
    return lq::lineValueRefusal(QStringLiteral("The user name or password"), passPhrase);
}

bool WebDAVRoad::refusedPath(const DigestEntry& entry)
{
    if (XmlD::isSafePath(entry.path))
        return false;
    // One line for the name itself; what lies below it falls with it.
    const QString line = QStringLiteral("Refused a name that leads out of the site folder: ") + entry.address;
    if (!XmlD::isSafeName(entry.name))
        lq::log(line);
    if (entry.file)
        fileFailed(entry.path, line);
    return true;
}

void WebDAVRoad::addRemoveItems(XmlD* tree, const QString& location, const QString& passPhrase, int digest)
{
    tree->forEachEntry([&](const DigestEntry& entry) {
        if (!entry.file || refusedPath(entry))
            return;
        _sendItems.append({ Remove, location + QLatin1Char('/') + entry.address, QString(), passPhrase, digest,
            QStringLiteral("Removing ") + entry.name, entry.path, entry.file->md5() });
        ++removeTotal;
    });
}

void WebDAVRoad::addSendItems(XmlD* tree, const QString& location, const QString& local, const QString& passPhrase, int digest)
{
    tree->forEachEntry([&](const DigestEntry& entry) {
        if (refusedPath(entry))
            return;
        const QString address = location + QLatin1Char('/') + entry.address;
        if (entry.folder) {
            _sendItems.append({ Verify, address + QLatin1Char('/'), QString(), passPhrase, digest, QString(), entry.path, QString() });
            return;
        }
        _sendItems.append({ Send, address, local + QLatin1Char('/') + entry.path, passPhrase, digest,
            QStringLiteral("Sending ") + entry.name, entry.path, entry.file->md5() });
        ++sendTotal;
    });
}

void WebDAVRoad::endWebDAV()
{
    // Requests that failed without stopping the upload: the record claims
    // only what the server confirmed.
    const bool failed = !failures().isEmpty();
    if (failed)
        storeRecord();
    else
        store(lastxmld.get());
    forgetRecord();
    lastxmld.reset();
    if (!failed) {
        if (!_openURL.isEmpty() && MyApplication::shared().autoLaunchBrowser())
            lq::openURL(QUrl(_openURL));
        // The site's address: the home page of a .Mac account, else the
        // WebDAV folder, which the server also shows on the web.
        _panel.showResult(_report, _destination, _openURL.isEmpty() ? _destination + QLatin1Char('/') : _openURL);
        return;
    }
    // Shown until Cancel: the user must see that not everything arrived, and what.
    showFileFailures(QStringLiteral("The publication stopped"), _destination);
}

QStringList WebDAVRoad::curlArguments(const SendItem& item) const
{
    const QString output = _debugSend ? QStringLiteral("-v") : QStringLiteral("-o/dev/null");
    // The credential goes to the tool's standard input, never onto its
    // command line where every process could read it.
    const QString user = QStringLiteral("-u-");
    QStringList arguments;
    // A user or password in the address would stand on the command line.
    QString address = PublishAddress::withoutCredentials(item.location);
    if (item.function == Verify) {
        arguments = { user, QStringLiteral("-XPROPFIND"), QStringLiteral("-HDepth:0"), QStringLiteral("-HConnection:close"), QStringLiteral("-s"), output };
        if (!address.endsWith(QLatin1Char('/')))
            address += QLatin1Char('/');
    } else if (item.function == MakeFolder) {
        arguments = { user, QStringLiteral("-XMKCOL"), QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
    } else if (item.function == Remove) {
        arguments = { user, QStringLiteral("-XDELETE"), QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
    } else if (item.function == Send) {
        arguments = { user, QStringLiteral("-T") + item.pathName, QStringLiteral("-s"), output, QStringLiteral("-HConnection:close") };
    } else {
        return {};
    }
    if (item.digest)
        arguments.append(QStringLiteral("--digest"));
    // A server that stops answering, or answers a byte at a time, ends the request.
    arguments += lq::transferLimits().requestArguments(item.function == Send ? QFileInfo(item.pathName).size() : 0);
    arguments.append(address);
    return arguments;
}

void WebDAVRoad::stopWithError(const QString& message)
{
    _sendItems.clear();
    storeRecord();
    lastxmld.reset();
    _panel.setProgress(0, true);
    showFailure(QStringLiteral("The publication stopped"), message);
}

void WebDAVRoad::doCurlFunction()
{
    lq::modelFrame(this, "doCurlFunction", [&] {
        while (!_sendItems.isEmpty()) {
            const SendItem item = _sendItems.first();
            const QStringList arguments = curlArguments(item);
            if (arguments.isEmpty()) {
                _sendItems.removeFirst();
                continue;
            }
            auto output = [this](const QByteArray& bytes) { _errorString += QString::fromUtf8(bytes); };
            _toolReport.clear();
            if (!startTool(lq::auxiliaryTool(QStringLiteral("curl")), arguments, QString(), {},
                    _debugSend ? std::function<void(const QByteArray&)>(output) : nullptr,
                    [this](const QByteArray& bytes) { _toolReport += QString::fromUtf8(bytes); },
                    [this](const lq::ProcessResult& result) { taskCompleted(result); })) {
                stopWithError(QStringLiteral("The upload tool \"curl\" could not be started"));
                return;
            }
            writeToTool(item.passphrase.toUtf8() + '\n');
            closeToolInput();
            if (item.function == Send)
                recordAbsent(item.relativePath);

            if (item.function == Remove || item.function == Send) {
                const bool removals = item.function == Remove;
                const int done = removals ? removeDone : sendDone;
                const int total = removals ? removeTotal : sendTotal;
                if (total != 0)
                    _panel.setProgress(done * 100 / total, false);
                showFilesLeft(removals, item.status);
            }
            return;
        }
        endWebDAV();
    });
}

lq::TransferMessage WebDAVRoad::messageFor(const SendItem& item, int status) const
{
    const ToolReport report = readToolReport(_toolReport, status);
    lq::TransferOutcome outcome;
    outcome.protocol = lq::TransferOutcome::Protocol::WebDAV;
    // The first request verifies the folder the site goes to.
    const bool base = item.relativePath.isEmpty();
    outcome.operation = base ? lq::TransferOutcome::Operation::Connect
        : item.function == Remove ? lq::TransferOutcome::Operation::Remove
        : item.function == Send   ? lq::TransferOutcome::Operation::Send
                                  : lq::TransferOutcome::Operation::MakeFolder;
    outcome.curlCode = report.curlCode;
    outcome.reply = report.reply;
    outcome.words = report.words;
    outcome.file = item.relativePath;
    const QUrl address(item.location);
    outcome.host = address.port() > 0 ? address.host() + QLatin1Char(':') + QString::number(address.port()) : address.host();
    outcome.usedDigest = item.digest != 0;
    outcome.offeredAuth = report.offeredAuth;
    return lq::describeTransfer(outcome);
}

void WebDAVRoad::webDAVError(const SendItem& item, int status)
{
    if (!isKnownStatus(status)) {
        if (_debugSend && !_errorString.isEmpty())
            lq::log(QStringLiteral("Upload trace:\n") + _errorString);
        _debugSend = true;
    }
    stopWithError(messageFor(item, status).text);
}

void WebDAVRoad::itemFailed(const SendItem& item, const QString& why)
{
    if (item.function == Send || item.function == Remove) {
        fileFailed(item.relativePath, why);
        return;
    }
    // A folder that cannot be made or reached: nothing below it is tried,
    // and each of its files says why.
    const QString below = item.location.endsWith(QLatin1Char('/')) ? item.location : item.location + QLatin1Char('/');
    for (qsizetype i = 1; i < _sendItems.size();) {
        const SendItem& later = _sendItems.at(i);
        if (!later.location.startsWith(below)) {
            ++i;
            continue;
        }
        if (later.function == Send)
            fileFailed(later.relativePath, why);
        _sendItems.removeAt(i);
    }
}

void WebDAVRoad::taskCompleted(const lq::ProcessResult& result)
{
    lq::modelFrame(this, "taskCompleted:", [&] {
        if (_sendItems.isEmpty())
            return;
        // A tool that died by a signal has no status of its own.
        const int status = (!result.started) ? 127 : (result.crashed ? 255 : result.exitCode);
        const int code = httpCodeOfStatus(status);
        SendItem& item = _sendItems.first();
        const QString function = item.function;
        if (code != 0 && !(status == 155 && (function == Verify || function == Remove)))
            _panel.activity(QStringLiteral("HTTP Error:") + QString::number(code) + QLatin1Char(' ') + function + QLatin1Char(' ') + item.location);

        // A file already gone counts as removed.
        const bool done = status == 0 || cancelpressed || (status == 155 && function == Remove);
        if (!done && status == 155 && function == Verify) {
            const QString parent = parentAddress(item.location);
            if (parent.isEmpty()) {
                // No folder is left to climb to: the base address itself is wrong.
                stopWithError(QStringLiteral("The location was not found on the server"));
                return;
            }
            QString folder = item.location;
            if (!folder.endsWith(QLatin1Char('/')))
                folder += QLatin1Char('/');
            _sendItems.insert(1, { MakeFolder, folder, QString(), item.passphrase, item.digest, QString(), item.relativePath, QString() });
            _sendItems.first().location = parent;
            doCurlFunction();
            return;
        }
        if (!done) {
            if (status == 127 || status == 255) {
                stopWithError(QStringLiteral("The upload tool \"curl\" stopped unexpectedly"));
                return;
            }
            const lq::TransferMessage message = messageFor(item, status);
            if (message.endsRun) {
                webDAVError(item, status);
                return;
            }
            // This file (or folder) only: the upload goes on, and the
            // stored tree leaves it out.
            lq::log(message.text);
            itemFailed(item, message.text);
        } else if (function == Send) {
            recordSent(item.relativePath, item.md5);
        } else if (function == Remove) {
            recordRemoved(item.relativePath);
        }
        if (function == Remove || function == Send)
            countDone(function == Remove);
        _sendItems.removeFirst();
        doCurlFunction();
    });
}

void WebDAVRoad::test(const PublishRequest& request)
{
    stopTool();
    _sendItems.clear();
    forgetRecord();
    lastxmld.reset();
    _panel.setTesting(true, QStringLiteral("WebDAV"));
    _panel.debugSetState(true);
    _panel.clearDebugLog();
    _panel.setSending(true);
    _panel.setTaskError(false);
    _panel.setStatus(QStringLiteral("Testing Connection"), QString());
    _panel.setProgress(0, true);
    _panel.setRetryVisible(false);
    _panel.setPanelVisible(true);
    _testAddress = request.baseURL;
    _testPassPhrase = takenPassPhrase(request.passPhrase);
    _testDigest = request.digest;
    if (const QString refusal = passPhraseRefusal(_testPassPhrase); !refusal.isEmpty()) {
        _testAddress.clear();
        _panel.setProgress(0, false);
        showFailure(QStringLiteral("Test Failed"), refusal);
        return;
    }
    runTest(request.baseURL);
}

void WebDAVRoad::runTest(const QString& address)
{
    const SendItem item { Verify, address, QString(), _testPassPhrase, _testDigest, QString(), QString(), QString() };
    const QStringList arguments = curlArguments(item);
    _panel.debug(QStringLiteral("PROPFIND ") + arguments.last());
    _toolReport.clear();
    if (!startTool(lq::auxiliaryTool(QStringLiteral("curl")), arguments, QString(), {},
            [this](const QByteArray& bytes) { _panel.debug(QString::fromUtf8(bytes).trimmed()); },
            [this](const QByteArray& bytes) { _toolReport += QString::fromUtf8(bytes); },
            [this, address](const lq::ProcessResult& result) {
                testCompleted(address, !result.started ? 127 : (result.crashed ? 255 : result.exitCode));
            })) {
        _testAddress.clear();
        _panel.setProgress(0, false);
        showFailure(QStringLiteral("Test Failed"), QStringLiteral("The upload tool \"curl\" could not be started"));
        return;
    }
    writeToTool(_testPassPhrase.toUtf8() + '\n');
    closeToolInput();
}

void WebDAVRoad::testCompleted(const QString& address, int status)
{
    lq::modelFrame(this, "testCompleted:", [&] {
        _panel.debug(QStringLiteral("Exit status ") + QString::number(status));
        if (status == 155) {
            // The folder is missing: is the one above it there?
            const QString parent = parentAddress(address);
            if (!parent.isEmpty()) {
                runTest(parent);
                return;
            }
            _testAddress.clear();
            _panel.setProgress(0, false);
            showFailure(QStringLiteral("Test Failed"), QStringLiteral("The location was not found on the server"));
            return;
        }
        const QString asked = std::exchange(_testAddress, QString());
        // The test is over either way: the bar stops.
        _panel.setProgress(status == 0 ? 100 : 0, false);
        if (status != 0) {
            const SendItem item { Verify, address, QString(), _testPassPhrase, _testDigest, QString(), QString(), QString() };
            showFailure(QStringLiteral("Test Failed"), messageFor(item, status).text);
            return;
        }
        QString second;
        if (address != asked) {
            const QString folder = QUrl(asked).path();
            second = QStringLiteral("Connected; the folder ") + (folder.isEmpty() ? asked : folder)
                + QStringLiteral(" will be created at the first publication");
            _panel.activity(second);
        }
        _panel.setStatus(QStringLiteral("Test Passed. Connection Good"), second);
        _panel.setSending(false);
        _panel.finished();
    });
}

void WebDAVRoad::cancel()
{
    // Requests are still waiting only while a publication is under way.
    const bool publication = !_sendItems.isEmpty() && !_panel.taskError();
    _testAddress.clear();
    _panel.setTaskError(true);
    cancelpressed = true;
    _sendItems.clear();
    stopTool();
    storeRecord();
    lastxmld.reset();
    _panel.setSending(false);
    endCancelled(publication, _destination);
}
