#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <QHash>
#include <QList>
#include <QProcessEnvironment>

#include <optional>

namespace lq {

// What became of one run of a command-line tool.
struct ProcessResult {
    bool started = false;   // the tool was found and began to run
    bool crashed = false;   // it ended by a signal rather than by exiting
    int exitCode = -1;      // its exit status (meaningful once started and not crashed)
    QByteArray output;      // everything it wrote to standard output
    QByteArray error;       // everything it wrote to standard error
    QString startError;     // why it could not be started, when it was not

    // Started, exited by itself, and with the status 0.
    bool succeeded() const { return started && !crashed && exitCode == 0; }
    // One line for the log: why the run failed ("/usr/bin/zip exited with
    // status 12: zip error: Nothing to do!"), or "" when it succeeded.
    QString failureDetail(const QString& program) const;
};

// Runs the tool at the absolute path with the arguments, passed to it as they
// are (never through a shell), in the working folder (none: the current one).
// When input is given it is written to the tool's standard input, which is
// then closed; otherwise standard input is closed at once. Waits for the tool
// to exit, reading standard output and standard error to the end meanwhile,
// so that no tool can block on a full pipe.
ProcessResult runProcess(const QString& program, const QStringList& arguments,
    const QString& workingFolder = QString(), const std::optional<QByteArray>& input = std::nullopt);

// What a run may set beside the tool and its arguments: the working folder
// (none: the current one), variables added to (or replacing those of) the
// program's own environment, the text for standard input (none: standard
// input is closed at once) and a bound on the files it writes.
struct ProcessOptions {
    QString workingFolder;
    QHash<QString, QString> environment;
    std::optional<QByteArray> input;
    // The largest file the tool may write: a write past it ends the tool
    // (which then counts as crashed). None: no bound.
    std::optional<qint64> fileSizeLimit;
    // Descriptors the tool inherits under their numbers, so that it can be
    // handed a file this program opened ("/proc/self/fd/<n>") instead of a
    // name it would look up again.
    QList<int> inheritedDescriptors;
    // A descriptor of the folder the tool works in (in place of
    // workingFolder): the folder this program opened, whatever its path
    // names by the time the tool starts.
    int workingDescriptor = -1;
};
ProcessResult runProcess(const QString& program, const QStringList& arguments, const ProcessOptions& options);

// Whether the program is named in a form this layer runs: an absolute path.
bool isRunnablePath(const QString& program);
// The program's own environment with the variables added or replaced.
QProcessEnvironment processEnvironment(const QHash<QString, QString>& additions);

// Starts the tool and leaves it running on its own; answers whether it started.
bool startDetachedProcess(const QString& program, const QStringList& arguments,
    const QString& workingFolder = QString());

} // namespace lq
