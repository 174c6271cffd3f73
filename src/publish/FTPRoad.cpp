#include "publish/FTPRoad.h"

#include "model/core/DocumentBase.h"
#include "platform/AuxiliaryTools.h"
#include "platform/ChildProcess.h"
#include "platform/ExceptionFrame.h"
#include "platform/SupportPaths.h"
#include "publish/HostKey.h"
#include "publish/LineValues.h"
#include "publish/TransferLimits.h"
#include "publish/TransferMessages.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include <QFileInfo>
#include <QSet>

FTPRoad::FTPRoad(UploadPanel& panel)
    : UploadRoad(panel)
{
}

QString FTPRoad::ftpStripVornSlashes(const QString& folder)
{
    QStringList kept;
    for (const QString& part : folder.split(QLatin1Char('/'))) {
        if (!part.isEmpty() && part != QStringLiteral("."))
            kept.append(part);
    }
    return kept.join(QLatin1Char('/'));
}

bool FTPRoad::ftpCreateTask(const QString& module, const QString& folder, QString* why)
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

QString FTPRoad::ftpCommonCommands(XmlLocation* location)
{
    const QString host = lq::takenLineValue(location->transferHost());
    const QString user = lq::takenLineValue(location->username());
    const QString password = lq::takenLineValue(location->password());
    const QString folder = lq::takenLineValue(location->ftpFolder());
    for (const auto& [what, value] : { std::pair { QStringLiteral("The server address"), host }, std::pair { QStringLiteral("The user name"), user },
             std::pair { QStringLiteral("The password"), password } }) {
        if (const QString refusal = lq::lineValueRefusal(what, value); !refusal.isEmpty())
            return refusal;
    }
    QStringList& commands = tasksToDo.last().commands;
    commands.append(QStringLiteral("HOST ") + host);
    commands.append(QStringLiteral("USERNAME ") + user);
    commands.append(QStringLiteral("PASSWORD ") + password);
    // The folder's names travel URL-escaped: no character of theirs can end the line.
    QStringList escaped;
    const QString base = ftpStripVornSlashes(folder);
    if (!base.isEmpty()) {
        for (const QString& part : base.split(QLatin1Char('/')))
            escaped.append(XmlD::addressSegment(part));
    }
    commands.append(QStringLiteral("BASEDIR ") + escaped.join(QLatin1Char('/')));
    if (folder.startsWith(QLatin1Char('/')))
        commands.append(QStringLiteral("BASEDIRISROOT"));
    commands.append(QStringLiteral("CONNECT"));
    return QString();
}

QString FTPRoad::refusalOf(const DigestEntry& entry) const
{
    if (!XmlD::isSafePath(entry.path))
        return QStringLiteral("Refused a name that leads out of the site folder: ") + XmlD::shownName(entry.path);
    // FTP's commands are lines: no name of it can hold a line end.
    const bool lineEnd = entry.path.contains(QLatin1Char('\n')) || entry.path.contains(QLatin1Char('\r'));
    if (lineEnd && !_sftp)
        return lq::uncarriedNameMessage(entry.path, QStringLiteral("FTP"));
    return QString();
}

void FTPRoad::ftpAddFiles(XmlD* tree, bool removals)
{
    QStringList& commands = tasksToDo.last().commands;
    tree->forEachEntry([&](const DigestEntry& entry) {
        if (!entry.file)
            return;
        // A name the road cannot carry is left out, and said; the rest goes on.
        if (const QString refusal = refusalOf(entry); !refusal.isEmpty()) {
            fileFailed(entry.path, refusal);
            return;
        }
        const QString file = entry.file->md5() + QLatin1Char(' ') + entry.path;
        if (removals) {
            commands.append(QStringLiteral("DELETE ") + entry.address);
            commands.append(QStringLiteral("- ") + file);
            ++removeTotal;
        } else {
            // The file leaves the record when its transfer starts, and comes
            // back once the tool confirmed it.
            commands.append(QStringLiteral("- ") + file);
            commands.append(QStringLiteral("PUT ") + entry.address);
            commands.append(QStringLiteral("+ ") + file);
            ++sendTotal;
        }
    });
}

void FTPRoad::ftpAddLeftovers(const ChangeSet& changes)
{
    QSet<QString> siteFiles;
    for (const XmlD* tree : { changes.current.get(), changes.lastPublished.get() })
        if (tree)
            for (const QString& path : tree->filePaths())
                siteFiles.insert(path);
    QStringList& commands = tasksToDo.last().commands;
    for (const QString& path : _leftovers.at(_leftoverPlace)) {
        if (siteFiles.contains(LeftoverTemporaries::plainPath(path)))
            _leftovers.remove(_leftoverPlace, path);
        else
            commands.append(QStringLiteral("DISCARD ") + path);
    }
}

void FTPRoad::keepLeftovers()
{
    QString why;
    if (!_leftovers.write(&why))
        _panel.activity(QStringLiteral("The record of temporary files left on the server could not be written: ") + why);
}

void FTPRoad::send(const PublishRequest& request, const ChangeSet& changes)
{
    lq::modelFrame(this, "sendFTPBom:location:pathName:lastXmlD:currentXmlD:", [&] {
        XmlBom* bom = changes.bom;
        XmlLocation* location = request.location;
        const QString& pathName = request.pathName;
        stopTool();
        tasksToDo.clear();
        ftpSend2 = true;
        _panel.setSending(true);
        _panel.setTesting(false, QStringLiteral("FTP"));
        ftpTest = false;
        _panel.debugSetState(false);
        _panel.setStatus(QStringLiteral("Calculating Changes"), QString());
        _panel.setProgress(0, true);
        _panel.setRetryVisible(false);
        _panel.setPanelVisible(true);
        resetCounters();
        lastxmld = changes.current;
        // What the server held before, as the last publication left it.
        const QStringList before = changes.lastPublished ? changes.lastPublished->filePaths() : QStringList();
        _heldBefore = QSet<QString>(before.cbegin(), before.cend());
        ++_runs;
        beginRecord(changes.lastPublished);
        _panel.setTaskError(false);
        cancelpressed = false;

        QString why;
        _sftp = location && location->ftpType() != 0;
        if (!location || !ftpCreateTask(location->ftpType() == 0 ? QStringLiteral("FTP") : QStringLiteral("SFTP"), pathName, &why)) {
            if (why.isEmpty())
                why = QStringLiteral("No destination");
            // Nothing was sent: the stored tree stays as it is.
            forgetRecord();
            ftpFail(why);
            return;
        }
        const QString values = ftpCommonCommands(location);
        if (!values.isEmpty()) {
            forgetRecord();
            tasksToDo.clear();
            ftpFail(values);
            return;
        }
        _host = location->transferHost();
        // Temporary files are the same destination's only when the account
        // and folder are the same too.
        _leftoverPlace = (_sftp ? QStringLiteral("sftp://") : QStringLiteral("ftp://")) + XmlD::addressSegment(location->username())
            + QLatin1Char('@') + location->transferHost() + (location->ftpFolder().startsWith(QLatin1Char('/')) ? QStringLiteral("//") : QStringLiteral("/"))
            + ftpStripVornSlashes(location->ftpFolder());
        _leftovers.read(_panel.document() ? _panel.document()->siteFolder() : nullptr);
        reportListingFailures(lastxmld.get());
        _report.begin(bom, pathName);
        _destination = (location->ftpType() == 0 ? QStringLiteral("ftp://") : QStringLiteral("sftp://")) + location->transferHost() + QLatin1Char('/')
            + ftpStripVornSlashes(location->ftpFolder());
        ftpAddLeftovers(changes);
        if (bom && bom->removeFiles())
            ftpAddFiles(bom->removeFiles(), true);
        if (bom && bom->addFiles())
            ftpAddFiles(bom->addFiles(), false);
        tasksToDo.last().commands.append(QStringLiteral("QUIT"));
        _panel.setStatus(QStringLiteral("Connecting...."), QString());
        ftpLaunchTask();
    });
}

void FTPRoad::test(const PublishRequest& request)
{
    lq::modelFrame(this, "ftp_testExport:pathName:", [&] {
        XmlLocation* location = request.location;
        const QString& pathName = request.pathName;
        stopTool();
        tasksToDo.clear();
        _panel.debugSetState(true);
        ftpSend2 = true;
        _panel.setSending(true);
        _panel.setTesting(true, QStringLiteral("FTP"));
        ftpTest = true;
        _panel.clearDebugLog();
        _panel.setStatus(QStringLiteral("Testing Connection"), QString());
        _baseFolder = location ? (location->ftpFolder().startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString())
                + ftpStripVornSlashes(location->ftpFolder())
                               : QString();
        _panel.setProgress(0, true);
        _panel.setRetryVisible(false);
        _panel.setPanelVisible(true);
        lastxmld.reset();
        forgetRecord();
        _heldBefore.clear();
        ++_runs;
        _panel.setTaskError(false);
        cancelpressed = false;
        QString why;
        _sftp = location && location->ftpType() != 0;
        _host = location ? location->transferHost() : QString();
        if (!location || !ftpCreateTask(location->ftpType() == 0 ? QStringLiteral("FTP") : QStringLiteral("SFTP"), pathName, &why)) {
            ftpFail(why.isEmpty() ? QStringLiteral("No destination") : why);
            return;
        }
        if (const QString values = ftpCommonCommands(location); !values.isEmpty()) {
            tasksToDo.clear();
            ftpFail(values);
            return;
        }
        tasksToDo.last().commands.append(QStringLiteral("TEST"));
        tasksToDo.last().commands.append(QStringLiteral("QUIT"));
        ftpLaunchTask();
    });
}

void FTPRoad::ftpLaunchTask()
{
    lq::modelFrame(this, "ftp_launchTask", [&] {
        if (tasksToDo.isEmpty()) {
            ftpEndRoad();
            return;
        }
        const ToolTask& next = tasksToDo.first();
        _panel.clearDebugLog();
        _panel.debug(QStringLiteral("launch - ") + next.toolPath);
        _incomingString.clear();
        _quitSent = false;
        _quitConfirmed = false;
        // SFTP host keys are trusted on first use and checked afterwards
        // against the program's own known-hosts file.
        QHash<QString, QString> environment { { QStringLiteral("NSUnbufferedIO"), QStringLiteral("YES") },
            { QStringLiteral("LUMENQUILL_KNOWN_HOSTS"), lq::supportFolder() + QStringLiteral("/known_hosts") } };
        // The bounds on stalls, on each transfer's whole time and on listings.
        environment.insert(lq::transferLimits().toolEnvironment());
        if (!startTool(next.toolPath, {}, next.rootPath, environment, [this](const QByteArray& bytes) { ftpHandleReturnedData(bytes); },
                [this](const QByteArray& bytes) { _panel.debug(QString::fromUtf8(bytes).trimmed()); },
                [this](const lq::ProcessResult& result) { ftpTaskCompleted(result); })) {
            tasksToDo.clear();
            ftpFail(QStringLiteral("The transfer tool could not be started"));
        }
    });
}

void FTPRoad::ftpTaskCompleted(const lq::ProcessResult& result)
{
    lq::modelFrame(this, "ftp_taskCompleted:", [&] {
        _panel.debug(QStringLiteral("Task Completed"));
        // A tool that ends before it confirmed QUIT did not finish its work.
        if (!_quitConfirmed && !_panel.taskError() && !tasksToDo.isEmpty()) {
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

void FTPRoad::ftpEndRoad()
{
    if (ftpTest) {
        if (!_panel.taskError())
            _panel.setProgress(100, false);
        _panel.setSending(false);
        _panel.finished();
        return;
    }
    if (!ftpSend2)
        return;
    ftpSend2 = false;
    const bool failed = _panel.taskError();
    const bool someFailed = !failures().isEmpty();
    keepLeftovers();
    if (failed || someFailed)
        storeRecord();
    else
        store(lastxmld.get());
    lastxmld.reset();
    forgetRecord();
    if (!failed && !someFailed) {
        _panel.showResult(_report, _destination, QString());
        return;
    }
    if (!failed) {
        // The rest went through; Retry sends what is missing.
        _panel.setRetryVisible(true);
        showFileFailures(QStringLiteral("The publication stopped; Retry sends what did not arrive"), _destination);
        return;
    }
    _panel.setPanelVisible(false);
    _panel.setSending(false);
    _panel.finished();
}

void FTPRoad::ftpHandleReturnedData(const QByteArray& bytes)
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

void FTPRoad::ftpProcessLine(const QString& line)
{
    lq::modelFrame(this, "ftp_processLine:", [&] {
        _panel.debug(line);
        if (tasksToDo.isEmpty())
            return;
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space <= 0)
            return;
        const QString verb = line.left(space);
        const QString rest = line.mid(space + 1);
        if (verb == QStringLiteral("+OK")) {
            if (rest == QStringLiteral("PUT") || rest == QStringLiteral("DELETE")) {
                countDone(rest == QStringLiteral("DELETE"));
            } else if (rest == QStringLiteral("DISCARD")) {
                _leftovers.remove(_leftoverPlace, _pendingPath);
            } else if (rest == QStringLiteral("CONNECT")) {
                _panel.setStatus(ftpTest ? QStringLiteral("Test Passed. Connection Good") : QStringLiteral("Connected"), _panel.status2());
                _panel.setProgress(_panel.progress(), false);
            } else if (rest == QStringLiteral("QUIT") && _quitSent) {
                _quitConfirmed = true;
            } else if (rest == QStringLiteral("TEST MISSING")) {
                // Only the folder is missing: the first publication makes it.
                const QString line = QStringLiteral("Connected; the folder ") + _baseFolder + QStringLiteral(" will be created at the first publication");
                _panel.setStatus(QStringLiteral("Test Passed. Connection Good"), line);
                _panel.activity(line);
            }
            ftpDoCommand();
        } else if (verb == QStringLiteral("+TEMP") && !ftpTest) {
            // Kept until the tool says it is gone: a tool stopped now leaves it.
            _leftovers.add(_leftoverPlace, rest);
        } else if (verb == QStringLiteral("+GONE") && !ftpTest) {
            _leftovers.remove(_leftoverPlace, rest);
        } else if (verb == QStringLiteral("+STAT")) {
            const int percent = rest.trimmed().toInt();
            if (percent != 0 && percent != 100)
                _panel.setStatus(_panel.status1(), lastStatus2 + QStringLiteral(" (") + QString::number(percent) + QStringLiteral("%)"));
        } else if (verb == QStringLiteral("-ERR")) {
            ftpProcessFailure(rest);
        }
    });
}

void FTPRoad::ftpDoCommand()
{
    lq::modelFrame(this, "ftp_doCommand", [&] {
        while (!tasksToDo.isEmpty() && !tasksToDo.first().commands.isEmpty()) {
            const QString entry = tasksToDo.first().commands.takeFirst();
            const qsizetype space = entry.indexOf(QLatin1Char(' '));
            const QString verb = space <= 0 ? entry : entry.left(space);
            const QString argument = space <= 0 ? QString() : entry.mid(space + 1);
            if (verb == QStringLiteral("-") || verb == QStringLiteral("+")) {
                const qsizetype gap = argument.indexOf(QLatin1Char(' '));
                const QString path = gap < 0 ? argument : argument.mid(gap + 1);
                // "+" follows a PUT the server confirmed; "-" follows a DELETE
                // it confirmed, or comes before a PUT whose transfer starts.
                if (verb == QStringLiteral("+")) {
                    if (gap >= 0)
                        recordSent(path, argument.left(gap));
                } else if (_pendingVerb == QStringLiteral("DELETE")) {
                    recordRemoved(path);
                    _pendingVerb.clear();
                } else {
                    recordAbsent(path);
                }
                continue;
            }
            _panel.debug(verb == QStringLiteral("PASSWORD") ? QStringLiteral("PASSWORD *") : entry);
            _pendingVerb = verb;
            _pendingPath.clear();
            if (verb == QStringLiteral("PUT") || verb == QStringLiteral("DELETE")) {
                // The record after the command holds the file's plain path.
                const QString record = tasksToDo.first().commands.value(0);
                const qsizetype gap = record.indexOf(QLatin1Char(' '), 2);
                _pendingPath = gap < 0 ? QString() : record.mid(gap + 1);
            }
            if (verb == QStringLiteral("PUT")) {
                lastStatus2 = QStringLiteral("Sending ") + argument;
                showFilesLeft(false, lastStatus2);
            } else if (verb == QStringLiteral("DELETE")) {
                showFilesLeft(true, QStringLiteral("Removing ") + argument);
            } else if (verb == QStringLiteral("DISCARD")) {
                _pendingPath = argument;
            } else if (verb == QStringLiteral("QUIT")) {
                _quitSent = true;
            }
            writeToTool(entry.toUtf8() + '\n');
            return;
        }
    });
}

void FTPRoad::ftpProcessFailure(const QString& answer)
{
    lq::modelFrame(this, "ftp_processFailure:", [&] {
        // A server met for the first time: its key is trusted only when the user says so.
        if (_sftp && _pendingVerb == QStringLiteral("CONNECT")) {
            if (const HostKey key = HostKey::fromToolWords(answer.section(QLatin1Char(' '), 2), _host); !key.isEmpty()) {
                askAboutHostKey(key);
                return;
            }
        }
        // "<libcurl code> <server reply> <words>"; a tool of another kind
        // says its words alone.
        bool codeRead = false;
        bool replyRead = false;
        lq::TransferOutcome outcome;
        outcome.protocol = _sftp ? lq::TransferOutcome::Protocol::SFTP : lq::TransferOutcome::Protocol::FTP;
        outcome.curlCode = answer.section(QLatin1Char(' '), 0, 0).toInt(&codeRead);
        outcome.reply = answer.section(QLatin1Char(' '), 1, 1).toInt(&replyRead);
        outcome.words = codeRead && replyRead ? answer.section(QLatin1Char(' '), 2) : answer;
        if (!codeRead || !replyRead)
            outcome.curlCode = outcome.reply = 0;
        const bool put = _pendingVerb == QStringLiteral("PUT");
        const bool discard = _pendingVerb == QStringLiteral("DISCARD");
        const bool remove = _pendingVerb == QStringLiteral("DELETE") || discard;
        outcome.operation = put ? lq::TransferOutcome::Operation::Send
            : remove            ? lq::TransferOutcome::Operation::Remove
                                : lq::TransferOutcome::Operation::Connect;
        outcome.file = discard ? LeftoverTemporaries::plainPath(_pendingPath) : (put || remove) ? _pendingPath : QString();
        // The tool sends a file under a temporary name: a copy the server had stays.
        outcome.keptCopy = put && _heldBefore.contains(_pendingPath);
        // The tool names a server by host and port in its known-hosts file.
        outcome.host = _host.contains(QLatin1Char(':')) ? _host : _host + QStringLiteral(":22");
        if (!_sftp)
            outcome.host = _host;
        outcome.knownHosts = lq::supportFolder() + QStringLiteral("/known_hosts");
        lq::TransferMessage message = lq::describeTransfer(outcome);
        // The server said it stored the file, and reading it back said otherwise.
        const QString unconfirmed = QStringLiteral("unconfirmed: ");
        if (put && outcome.curlCode == 0 && outcome.reply == 0 && outcome.words.startsWith(unconfirmed)) {
            message.text = lq::unconfirmedSendMessage(_pendingPath, outcome.words.mid(unconfirmed.size()));
            message.endsRun = false;
            message.retryHelps = true;
        }
        if (message.endsRun || ftpTest || tasksToDo.isEmpty()) {
            ftpProcessError(message.text, message.retryHelps);
            return;
        }
        _panel.debug(QStringLiteral("Error: ") + message.text);
        // A temporary file that cannot be removed stays in the record for
        // the next publication; the site's files go on.
        if (discard) {
            ftpDoCommand();
            return;
        }
        // This file only: its record is not made, and the next command goes.
        QStringList& commands = tasksToDo.first().commands;
        if (!commands.isEmpty() && (commands.first().startsWith(QStringLiteral("+ ")) || commands.first().startsWith(QStringLiteral("- "))))
            commands.removeFirst();
        countDone(remove);
        fileFailed(_pendingPath, message.text);
        ftpDoCommand();
    });
}

void FTPRoad::askAboutHostKey(const HostKey& key)
{
    _panel.debug(key.type + QStringLiteral(" key fingerprint is ") + key.fingerprint());
    // Asked once the tool's answer has been handled; the tool waits.
    later([this, key, run = _runs] {
        lq::modelFrame(this, "ftp_askAboutHostKey:", [&] {
            if (run != _runs || !ftpSend2 || tasksToDo.isEmpty())
                return;
            const bool trusted = _panel.trustHostKey(key);
            // The run may have been cancelled while the question was open.
            if (run != _runs || !ftpSend2 || tasksToDo.isEmpty())
                return;
            if (!trusted) {
                ftpProcessError(lq::untrustedHostKeyMessage(key), false);
                return;
            }
            QStringList& commands = tasksToDo.first().commands;
            commands.prepend(QStringLiteral("CONNECT"));
            commands.prepend(QStringLiteral("TRUSTKEY ") + key.toolKey());
            ftpDoCommand();
        });
    });
}

void FTPRoad::ftpProcessError(const QString& message, bool retryHelps)
{
    lq::modelFrame(this, "ftp_processError:", [&] {
        _panel.debug(QStringLiteral("Error: ") + message);
        if (!ftpTest) {
            storeRecord();
            keepLeftovers();
        }
        tasksToDo.clear();
        // A failed test is over; a failed publication waits for Retry or Close.
        _panel.setProgress(_panel.progress(), !ftpTest);
        if (!ftpTest) {
            _panel.setRetryVisible(retryHelps);
            lastxmld.reset();
        }
        const QString headline = ftpTest ? QStringLiteral("Test Failed")
            : retryHelps                 ? QStringLiteral("The publication stopped; Retry sends what did not arrive")
                                         : QStringLiteral("The publication stopped");
        showFailure(headline, message);
    });
}

void FTPRoad::ftpFail(const QString& message)
{
    _panel.debug(QStringLiteral("Error: ") + message);
    _panel.setProgress(0, true);
    _panel.setRetryVisible(false);
    showFailure(ftpTest ? QStringLiteral("Test Failed") : QStringLiteral("The publication stopped"), message);
}

void FTPRoad::retryFTP()
{
    lq::modelFrame(this, "retryFTP:", [&] {
        stopTool();
        _panel.debug(QStringLiteral("Task Retry"));
        _panel.setRetryVisible(false);
        _panel.retry();
    });
}

void FTPRoad::cancel()
{
    ++_runs;
    // Commands are still waiting only while a publication is under way.
    const bool publication = ftpSend2 && !ftpTest && !tasksToDo.isEmpty() && !_panel.taskError();
    _panel.setTaskError(true);
    cancelpressed = true;
    lastxmld.reset();
    _panel.setSending(false);
    if (ftpSend2) {
        if (!ftpTest) {
            storeRecord();
            keepLeftovers();
        }
        forgetRecord();
        _panel.debug(QStringLiteral("Task Canceled"));
        tasksToDo.clear();
        ftpSend2 = false;
    }
    stopTool();
    endCancelled(publication, _destination);
}
