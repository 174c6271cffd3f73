#pragma once

#include "platform/Process.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QProcess;

namespace lq {

// A tool that runs beside the program while the event loop goes on: its
// output and error text arrive through handlers as they come, it can be fed
// on standard input, and it can be stopped. The tool is named by its absolute
// path and gets its arguments as they are, never through a shell.
//
// The handlers are called on the event loop only, never from inside start,
// write or terminate, and must neither destroy the object nor start it
// again (schedule that for later). Destroying the object kills a tool that
// still runs.
class ChildProcess {
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void setWorkingFolder(const QString& folder) { _workingFolder = folder; }
    // Variables added to (or replacing those of) the program's own environment.
    void setEnvironment(const QHash<QString, QString>& variables) { _environment = variables; }

    void setOutputHandler(std::function<void(const QByteArray&)> handler) { _onOutput = std::move(handler); }
    void setErrorHandler(std::function<void(const QByteArray&)> handler) { _onError = std::move(handler); }
    // Called once when the tool has ended (or could not start), with its exit
    // status; the result's output and error are empty: they went to the handlers.
    void setFinishedHandler(std::function<void(const ProcessResult&)> handler) { _onFinished = std::move(handler); }

    // Starts the tool; answers whether it started. A tool that cannot start
    // still reports through the finished handler, from the event loop.
    bool start(const QString& program, const QStringList& arguments);
    bool isRunning() const;
    // Writes to the tool's standard input; answers whether it was accepted.
    bool write(const QByteArray& bytes);
    void closeInput();
    // Asks the tool to end (SIGTERM); kill ends it at once.
    void terminate();
    void kill();

private:
    void finish(const ProcessResult& result);

    std::unique_ptr<QProcess> _process;
    QString _workingFolder;
    QHash<QString, QString> _environment;
    std::function<void(const QByteArray&)> _onOutput;
    std::function<void(const QByteArray&)> _onError;
    std::function<void(const ProcessResult&)> _onFinished;
    bool _finished = false;
};

} // namespace lq
