#include "document/SiteLock.h"

#include "platform/Log.h"

#include <QCoreApplication>
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

// A lock that names this very process, for a folder it does not hold, came
// with a copy of a site it holds elsewhere (or from a program long gone whose
// number it now has): nobody holds that folder.
bool namesThisProgram(QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString program;
    return lock.error() == QLockFile::LockFailedError && lock.getLockInfo(&pid, &host, &program)
        && pid == QCoreApplication::applicationPid() && (host.isEmpty() || host == QSysInfo::machineHostName());
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
        if (!lock->tryLock(0) && namesThisProgram(*lock) && lock->removeStaleLockFile())
            lock->tryLock(0);
        if (!lock->isLocked()) {
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
