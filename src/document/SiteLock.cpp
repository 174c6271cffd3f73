#include "document/SiteLock.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSysInfo>

const QString SiteLock::lockName = QStringLiteral(".lumenquill.lock");

namespace {

// The locks this program holds, by the folder's canonical path.
QHash<QString, std::weak_ptr<QLockFile>>& heldLocks()
{
    static QHash<QString, std::weak_ptr<QLockFile>> locks;
    return locks;
}

// Who holds the lock that could not be taken, as the refusal tells it.
QString holderOf(QLockFile& lock)
{
    if (lock.error() != QLockFile::LockFailedError)
        return QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" cannot be made");
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return QStringLiteral("it is open in another program");
    return QStringLiteral("it is open in another program: ") + QFileInfo(program).fileName() + QStringLiteral(", process ")
        + QString::number(pid) + (host.isEmpty() ? QString() : QStringLiteral(" on ") + host);
}

// Whether the lock file was left by a holder that is gone, in the ways the
// lock file's own check misses. Process numbers are shared with threads: a
// number that now names a thread of some program (this one, say) is no
// holder. A lock naming this very program, which does not hold the folder,
// came with a copy of a folder it holds.
bool leftBehind(QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program) || host != QSysInfo::machineHostName() || pid <= 0)
        return false;
    if (pid == QCoreApplication::applicationPid())
        return true;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Tgid:"))
            return line.mid(5).trimmed().toLongLong() != pid;
    }
    return false;
}

} // namespace

SiteLock::SiteLock() = default;

SiteLock::~SiteLock()
{
    release();
}

bool SiteLock::acquire(const QString& folder, QString* why)
{
    const QString key = QFileInfo(folder).canonicalFilePath();
    if (key.isEmpty()) {
        if (why)
            *why = QStringLiteral("there is no folder ") + folder;
        return false;
    }
    if (_lock && key == QFileInfo(_folder).canonicalFilePath())
        return true;
    std::shared_ptr<QLockFile> lock = heldLocks().value(key).lock();
    if (!lock) {
        lock = std::make_shared<QLockFile>(key + QLatin1Char('/') + lockName);
        // A program may keep a site open for days: only a holder that is
        // gone makes the lock stale, never its age.
        lock->setStaleLockTime(0);
        bool locked = lock->tryLock(0);
        if (!locked && lock->error() == QLockFile::LockFailedError && leftBehind(*lock)) {
            lq::log(QStringLiteral("Taking over the lock that a program which is gone left in ") + folder);
            locked = lock->removeStaleLockFile() && lock->tryLock(0);
        }
        if (!locked) {
            if (lock->error() != QLockFile::PermissionError || QFileInfo::exists(key + QLatin1Char('/') + lockName)) {
                if (why)
                    *why = holderOf(*lock);
                return false;
            }
            lq::log(QStringLiteral("The website at ") + folder + QStringLiteral(" is not locked: its folder is read-only"));
        }
        heldLocks().insert(key, lock);
    }
    release();
    _lock = std::move(lock);
    _folder = folder;
    return true;
}

void SiteLock::release()
{
    if (!_lock)
        return;
    std::weak_ptr<QLockFile> held = _lock;
    _lock.reset();
    _folder.clear();
    if (held.expired()) {
        for (auto it = heldLocks().begin(); it != heldLocks().end();)
            it = it->expired() ? heldLocks().erase(it) : std::next(it);
    }
}
