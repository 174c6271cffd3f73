#include "ui/app/StartupLog.h"

#include <QFile>
#include <QStringList>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace StartupLog {

namespace {

// Sets a lock of the kind (F_RDLCK, F_WRLCK) on the whole file; waits for
// it when asked to. A lock of another kind this process holds is replaced
// in one step.
bool setLock(int fd, short kind, bool wait)
{
    struct flock lock {};
    lock.l_type = kind;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    for (;;) {
        if (::fcntl(fd, wait ? F_SETLKW : F_SETLK, &lock) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// Opens "activity.log" for appending (every program's lines go to its end,
// none overwrites another's) and makes it standard error.
bool redirectStandardError(const QString& supportFolder, bool fresh)
{
    const QByteArray path = QFile::encodeName(supportFolder + QStringLiteral("/activity.log"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (fresh ? O_TRUNC : 0), 0644);
    if (fd < 0)
        return false;
    const bool moved = ::dup2(fd, STDERR_FILENO) >= 0;
    ::close(fd);
    return moved;
}

} // namespace

Start begin(const QString& supportFolder)
{
    // The lock lives as long as the process: its descriptor is never closed
    // (closing any descriptor of the file would let the lock go).
    const QByteArray lockPath = QFile::encodeName(supportFolder + QStringLiteral("/activity.lock"));
    const int lock = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0)
        return redirectStandardError(supportFolder, false) ? Start::Unlocked : Start::Failed;

    if (setLock(lock, F_WRLCK, false)) {
        // Nobody else writes there: the log is this run's to begin. Then the
        // hold is shared, so that the next program appends instead.
        rotateLogs(supportFolder);
        const bool opened = redirectStandardError(supportFolder, true);
        setLock(lock, F_RDLCK, true);
        return opened ? Start::Rotated : Start::Failed;
    }
    // Another program writes there: wait while one rotates, then append.
    if (!setLock(lock, F_RDLCK, true))
        return redirectStandardError(supportFolder, false) ? Start::Unlocked : Start::Failed;
    return redirectStandardError(supportFolder, false) ? Start::Shared : Start::Failed;
}

void rotateLogs(const QString& supportFolder)
{
    const QStringList logs = logPaths(supportFolder);
    // rename() replaces the target, as the rotation wants: the oldest goes.
    for (qsizetype i = 1; i < logs.size(); ++i)
        ::rename(QFile::encodeName(logs[i]).constData(), QFile::encodeName(logs[i - 1]).constData());
}

QStringList logPaths(const QString& supportFolder)
{
    const QString log = supportFolder + QStringLiteral("/activity.log");
    QStringList paths;
    for (int run = keptRuns - 1; run > 0; --run)
        paths.append(log + QLatin1Char('.') + QString::number(run));
    paths.append(log);
    return paths;
}

} // namespace StartupLog
