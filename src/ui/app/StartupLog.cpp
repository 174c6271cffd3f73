#include "ui/app/StartupLog.h"

#include "platform/Log.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
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

// What an entry of the support folder is that no log or lock is kept in
// (a link, a pipe, a device, a file with another link), or "" for a plain
// file that may be used; a file with other links may be used when
// `otherLinks` (it is only locked, never written).
QString unfitEntry(const struct stat& status, bool otherLinks)
{
    if (S_ISREG(status.st_mode))
        return status.st_nlink > 1 && !otherLinks ? QStringLiteral("it had another link, which is never written through") : QString();
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("it was a link, which is never followed");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("it was a pipe");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("it was a socket");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("it was a folder");
    return QStringLiteral("it was a device");
}

// Takes away what lies at the name in the folder when no log or lock may
// be kept in it; answers what it was ("" when nothing was taken away), or
// nothing when it cannot be taken away (a folder with something in it).
std::optional<QString> clearUnfit(int folder, const char* name, bool otherLinks)
{
    struct stat status {};
    if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return QString();
    const QString unfit = unfitEntry(status, otherLinks);
    if (unfit.isEmpty())
        return QString();
    if (::unlinkat(folder, name, S_ISDIR(status.st_mode) ? AT_REMOVEDIR : 0) != 0 && errno != ENOENT)
        return std::nullopt;
    return unfit;
}

// Opens the file of the name in the support folder with the flags, made
// when missing: without waiting (a pipe or a device cannot hold the start)
// and without following a link. Whatever else is there is taken away and a
// new file made in its place, where nothing may be; `replaced` tells what
// was taken away. -1 when no file can be had.
int openOwnFile(int folder, const char* name, int flags, bool otherLinks, QString& replaced)
{
    bool anew = false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::openat(folder, name, flags | O_CREAT | (anew ? O_EXCL : 0) | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0 && unfitEntry(status, otherLinks).isEmpty()) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        // A link (ELOOP), a folder, a pipe nobody reads (ENXIO), something
        // come under the name meanwhile: looked at and taken away. Other
        // failures are final.
        if (fd < 0 && error != ELOOP && error != EISDIR && error != ENXIO && error != EWOULDBLOCK && error != EEXIST)
            return -1;
        const std::optional<QString> unfit = clearUnfit(folder, name, otherLinks);
        if (!unfit)
            return -1;
        if (!unfit->isEmpty())
            replaced = *unfit;
        anew = !unfit->isEmpty();
    }
    return -1;
}

// Opens "activity.log" for appending (every program's lines go to its end,
// none overwrites another's) and makes it standard error; a fresh log
// begins empty. What had to be taken away from its place is logged there.
bool redirectStandardError(int folder, bool fresh, QString replaced = QString())
{
    const int fd = openOwnFile(folder, "activity.log", O_WRONLY | O_APPEND, false, replaced);
    if (fd < 0)
        return false;
    if (fresh)
        ::ftruncate(fd, 0);
    const bool moved = ::dup2(fd, STDERR_FILENO) >= 0;
    ::close(fd);
    if (moved && !replaced.isEmpty())
        lq::log(QStringLiteral("Replacing the log activity.log: ") + replaced);
    return moved;
}

} // namespace

Start begin(const QString& supportFolder)
{
    const int folder = ::open(QFile::encodeName(supportFolder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return Start::Failed;
    // The lock lives as long as the process: its descriptor is never closed
    // (closing any descriptor of the file would let the lock go). It is
    // only locked, never written: a lock file with another link may stay.
    QString lockReplaced;
    const int lock = openOwnFile(folder, "activity.lock", O_RDWR, true, lockReplaced);
    Start start = Start::Failed;
    if (lock < 0) {
        start = redirectStandardError(folder, false) ? Start::Unlocked : Start::Failed;
    } else if (setLock(lock, F_WRLCK, false)) {
        // Nobody else writes there: the log is this run's to begin. Then the
        // hold is shared, so that the next program appends instead. What is
        // no log of this program's own (a link, a pipe, a second name of a
        // file elsewhere) is taken away before the logs move up, never moved
        // among them.
        const std::optional<QString> replaced = clearUnfit(folder, "activity.log", false);
        rotateLogs(supportFolder);
        const bool opened = redirectStandardError(folder, true, replaced.value_or(QString()));
        setLock(lock, F_RDLCK, true);
        start = opened ? Start::Rotated : Start::Failed;
    } else if (!setLock(lock, F_RDLCK, true)) {
        start = redirectStandardError(folder, false) ? Start::Unlocked : Start::Failed;
    } else {
        // Another program writes there: it had its turn to rotate; this one
        // waited while it did, and appends.
        start = redirectStandardError(folder, false) ? Start::Shared : Start::Failed;
    }
    if (!lockReplaced.isEmpty() && start != Start::Failed)
        lq::log(QStringLiteral("Replacing the lock activity.lock: ") + lockReplaced);
    ::close(folder);
    return start;
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
