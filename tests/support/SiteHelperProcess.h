#pragma once

// A second program on a site: tests/programs/SiteHelper.cpp, started by the
// test, told when to save or revert, and killed (SIGKILL) when the test says.
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

class SiteHelperProcess {
public:
    // Starts "site_helper <command> <folder> [<argument>]".
    SiteHelperProcess(const QString& command, const QString& folder, const QString& argument = QString())
    {
        QStringList arguments { command, folder };
        if (!argument.isNull())
            arguments.append(argument);
        _process.setProgram(QStringLiteral(LQ_SITE_HELPER));
        _process.setArguments(arguments);
        _process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A group of its own, so that it is killed with every tool it runs.
        _process.setChildProcessModifier([] { ::setpgid(0, 0); });
        _process.start();
    }
    ~SiteHelperProcess()
    {
        if (_process.state() != QProcess::NotRunning) {
            kill();
        }
    }
    SiteHelperProcess(const SiteHelperProcess&) = delete;
    SiteHelperProcess& operator=(const SiteHelperProcess&) = delete;

    // The next line the helper prints ("opened", "refused: ...", "ready",
    // "done"); "" when it ends or says nothing within the time.
    QString nextLine(int milliseconds = 60000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!_process.canReadLine()) {
            if (_process.state() == QProcess::NotRunning || waited.elapsed() > milliseconds) {
                break;
            }
            _process.waitForReadyRead(100);
        }
        if (!_process.canReadLine())
            return QString();
        return QString::fromUtf8(_process.readLine()).trimmed();
    }
    // Tells the helper to go on (save, revert or, holding, end).
    void go()
    {
        _process.write("go\n");
        _process.waitForBytesWritten(10000);
    }
    // Ends the helper and the tools it runs at once, as a power cut would,
    // and waits until none of them is left.
    void kill()
    {
        const qint64 pid = _process.processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        _process.waitForFinished(60000);
        QElapsedTimer waited;
        waited.start();
        while (pid > 0 && groupIsAlive(pid) && waited.elapsed() < 60000)
            QThread::msleep(1);
    }
    // Whether the helper ended by itself (not killed) with the status 0.
    bool finishedWell(int milliseconds = 60000)
    {
        _process.waitForFinished(milliseconds);
        return _process.exitStatus() == QProcess::NormalExit && _process.exitCode() == 0;
    }
    // Whether a process of the group is still running (zombies do not count).
    static bool groupIsAlive(qint64 group)
    {
        const QByteArray wanted = QByteArray::number(group);
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            // "<pid> (<name>) <state> <parent> <group> ...": the name may hold spaces.
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 2 && fields[2] == wanted && fields[0] != "Z")
                return true;
        }
        return false;
    }
    bool isRunning() const { return _process.state() != QProcess::NotRunning; }
    qint64 pid() const { return _process.processId(); }

private:

    QProcess _process;
};
