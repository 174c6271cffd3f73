#include "platform/Process.h"

#include <QDir>
#include <QProcess>

#include <algorithm>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lq {

// A tool is only ever named by its absolute path: a bare name would be looked
// up along PATH, which the user's environment controls.
bool isRunnablePath(const QString& program)
{
    return !program.isEmpty() && QDir::isAbsolutePath(program);
}

namespace {

// The first line of the tool's complaint, for the log.
QString firstLine(const QByteArray& text)
{
    const QString decoded = QString::fromLocal8Bit(text).trimmed();
    const qsizetype end = decoded.indexOf(QLatin1Char('\n'));
    return (end < 0 ? decoded : decoded.left(end)).trimmed();
}

} // namespace

QString ProcessResult::failureDetail(const QString& program) const
{
    if (succeeded())
        return QString();
    if (!started)
        return QStringLiteral("could not start %1: %2").arg(program, startError);
    QString detail = crashed ? QStringLiteral("%1 crashed").arg(program)
                             : QStringLiteral("%1 exited with status %2").arg(program, QString::number(exitCode));
    const QString complaint = firstLine(error.isEmpty() ? output : error);
    if (!complaint.isEmpty())
        detail += QStringLiteral(": ") + complaint;
    return detail;
}

ProcessResult runProcess(const QString& program, const QStringList& arguments, const QString& workingFolder,
    const std::optional<QByteArray>& input)
{
    ProcessOptions options;
    options.workingFolder = workingFolder;
    options.input = input;
    return runProcess(program, arguments, options);
}

QProcessEnvironment processEnvironment(const QHash<QString, QString>& additions)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto entry = additions.cbegin(); entry != additions.cend(); ++entry)
        environment.insert(entry.key(), entry.value());
    return environment;
}

ProcessResult runProcess(const QString& program, const QStringList& arguments, const ProcessOptions& options)
{
    const QString& workingFolder = options.workingFolder;
    const std::optional<QByteArray>& input = options.input;
    ProcessResult result;
    if (!isRunnablePath(program)) {
        result.startError = QStringLiteral("not an absolute path");
        return result;
    }
    if (!workingFolder.isEmpty() && !QFileInfo(workingFolder).isDir()) {
        result.startError = QStringLiteral("no folder %1").arg(workingFolder);
        return result;
    }

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    if (!options.environment.isEmpty())
        process.setProcessEnvironment(processEnvironment(options.environment));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // Set in the child before the tool starts: only calls that are safe
    // between fork and exec.
    const bool bounded = options.fileSizeLimit.has_value();
    const rlim_t bound = rlim_t(std::max<qint64>(0, options.fileSizeLimit.value_or(0)));
    const QList<int> inherited = options.inheritedDescriptors;
    const int working = options.workingDescriptor;
    if (bounded || !inherited.isEmpty() || working >= 0) {
        process.setChildProcessModifier([bounded, bound, inherited, working] {
            if (bounded) {
                const struct rlimit limit { bound, bound };
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::signal(SIGXFSZ, SIG_DFL);
            }
            for (const int descriptor : inherited)
                ::fcntl(descriptor, F_SETFD, 0);
            // A tool that cannot be in its folder must not run elsewhere.
            if (working >= 0 && ::fchdir(working) != 0)
                ::_exit(127);
        });
    }
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(-1)) {
        result.startError = process.errorString();
        return result;
    }
    result.started = true;

    if (input && !input->isEmpty())
        process.write(*input);
    process.closeWriteChannel();

    // QProcess reads both channels into its buffers while it waits, and feeds
    // what remains of the input, so neither side can fill a pipe and stall.
    if (!process.waitForFinished(-1) && process.state() != QProcess::NotRunning) {
        // Waiting only ends early when the process machinery itself fails.
        process.kill();
        process.waitForFinished(-1);
    }
    result.output = process.readAllStandardOutput();
    result.error = process.readAllStandardError();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    return result;
}

bool startDetachedProcess(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    if (!isRunnablePath(program))
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace lq
