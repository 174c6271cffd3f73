#include "document/SiteLock.h"

#include "platform/ConfinedFolder.h"
#include "platform/DescriptorWalks.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const QString SiteLock::lockName = QStringLiteral(".lumenquill.lock");

// The folder, reached through the gateway, and the lock file's descriptor,
// locked by the system (flock) for as long as the hold lives: the system lets
// the lock go with the program, however it ends, so a lock file nobody holds
// is one to take over. The lock file is one name in the folder, reached by
// the *at calls on the gateway's descriptor, never through a link: the
// gateway's whole-file writes would put a new file under the name, which
// the lock held on the old one would not cover.
struct SiteLock::Hold {
    std::shared_ptr<lq::ConfinedFolder> root;
    int folder = -1;    // the root's descriptor
    int lock = -1;      // -1: held without a lock file
    QString why;        // why the lock file is missing or says nothing
    bool readOnly = false;

    Hold() = default;
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    ~Hold();
};

namespace {

const QByteArray lockFileName = QFile::encodeName(SiteLock::lockName);
// More than any lock file holds; what is past it is not read.
constexpr qsizetype longestLockText = 4096;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The locks this program holds, by the folder's canonical path.
QHash<QString, std::weak_ptr<SiteLock::Hold>>& heldLocks()
{
    static QHash<QString, std::weak_ptr<SiteLock::Hold>> locks;
    return locks;
}

// What the lock file says: the process, the program, the host, and the
// machine and boot the process runs on, a line each.
QByteArray lockText()
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + program.toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
}

QByteArray readLockText(int lock)
{
    QByteArray text(longestLockText, Qt::Uninitialized);
    const ssize_t read = ::pread(lock, text.data(), size_t(text.size()), 0);
    text.truncate(read > 0 ? qsizetype(read) : 0);
    return text;
}

struct Holder {
    qint64 pid = 0;
    QString program;
    QString host;
};

// The holder a lock file names; nothing when it names none.
std::optional<Holder> holderNamed(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    bool number = false;
    Holder holder;
    holder.pid = lines.value(0).toLongLong(&number);
    if (!number || holder.pid <= 0 || lines.size() < 3)
        return std::nullopt;
    holder.program = QFileInfo(QString::fromUtf8(lines.value(1))).fileName();
    holder.host = QString::fromUtf8(lines.value(2));
    return holder;
}

// Who holds the lock that could not be taken, as the refusal tells it.
QString refusalFor(const QByteArray& text)
{
    const std::optional<Holder> holder = holderNamed(text);
    if (!holder)
        return QStringLiteral("it is open in another program");
    return QStringLiteral("it is open in another program: ") + holder->program + QStringLiteral(", process ") + QString::number(holder->pid)
        + (holder->host.isEmpty() ? QString() : QStringLiteral(" on ") + holder->host);
}

// Whether the text names a program that runs, on a file system where the
// system cannot lock files. Process numbers are shared with threads: a
// number that now names a thread of some program (this one, say) is no
// holder, nor is this very program, which does not hold the folder.
bool namesLiveHolder(const QByteArray& text)
{
    const std::optional<Holder> holder = holderNamed(text);
    if (!holder || holder->host != QSysInfo::machineHostName() || holder->pid == QCoreApplication::applicationPid())
        return false;
    QFile status(QStringLiteral("/proc/") + QString::number(holder->pid) + QStringLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Tgid:"))
            return line.mid(5).trimmed().toLongLong() == holder->pid;
    }
    return false;
}

// What a taken-over lock file was, for the log.
QString leftBehind(const QByteArray& text)
{
    if (text.isEmpty())
        return QStringLiteral("it was empty");
    const std::optional<Holder> holder = holderNamed(text);
    if (!holder)
        return QStringLiteral("it names no program");
    return QStringLiteral("it was left by ") + holder->program + QStringLiteral(", process ") + QString::number(holder->pid)
        + QStringLiteral(", which no longer holds it");
}

QString kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a folder");
}

// Takes away what lies under the lock file's name and is no file: a link
// (never followed), a pipe, a device, a socket, an empty folder; a folder
// with something in it is moved aside under a free name. Answers what it
// was and what became of it, or nothing with `error` set.
std::optional<QString> clearAway(int folder, const struct stat& there, QString& error)
{
    const QString kind = kindOf(there.st_mode);
    if (!S_ISDIR(there.st_mode)) {
        if (::unlinkat(folder, lockFileName.constData(), 0) == 0 || errno == ENOENT)
            return QStringLiteral("it was ") + kind;
    } else {
        if (::unlinkat(folder, lockFileName.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT)
            return QStringLiteral("it was an empty folder");
        if (errno == ENOTEMPTY || errno == EEXIST) {
            for (int counter = 1; counter < 1000; ++counter) {
                const QByteArray aside = lockFileName + " (moved aside " + QByteArray::number(counter) + ')';
                if (::renameat2(folder, lockFileName.constData(), folder, aside.constData(), RENAME_NOREPLACE) == 0)
                    return QStringLiteral("it was a folder, moved aside as \"") + QFile::decodeName(aside) + QLatin1Char('"');
                if (errno != EEXIST)
                    break;
            }
        }
    }
    error = QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" is ") + kind + QStringLiteral(" that cannot be taken away: ")
        + systemReason(errno);
    return std::nullopt;
}

// Writes the lock's text; answers why it could not, or "". A lock file
// that has gained another link since it was taken is never written
// through: the text would land in the file under that name too.
QString writeLockText(int lock)
{
    const QByteArray text = lockText();
    struct stat status {};
    if (::fstat(lock, &status) != 0)
        return systemReason(errno);
    if (const QString unchangeable = lq::descriptors::notChangedInPlace(status); !unchangeable.isEmpty())
        return unchangeable;
    if (::ftruncate(lock, 0) != 0)
        return systemReason(errno);
    const ssize_t written = ::pwrite(lock, text.constData(), size_t(text.size()), 0);
    if (written != ssize_t(text.size()))
        return written < 0 ? systemReason(errno) : QStringLiteral("the disk took only part of it");
    return QString();
}

enum class Taken { Locked, Unlocked, Refused };

// Takes the lock file of the hold's folder: opened without following a link
// and without waiting (a pipe or a device never reaches the open), locked
// without waiting, and checked to be still the file under the name. Anything
// else there is taken away first, and so is a lock file with another link
// that no live program holds (its text would be written through that link):
// a new file, made where nothing is, takes the name. `line` tells what was
// taken over.
Taken take(SiteLock::Hold& hold, const QString& folder, QString& refusal, QString& line)
{
    // Set once what was under the name is taken away: the next lock file
    // is made anew, where nothing may be.
    bool anew = false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat there {};
        const bool existed = ::fstatat(hold.folder, lockFileName.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0;
        if (existed && !S_ISREG(there.st_mode)) {
            const std::optional<QString> what = clearAway(hold.folder, there, refusal);
            if (!what)
                return Taken::Refused;
            line = QStringLiteral("Taking over the lock of ") + folder + QStringLiteral(": ") + *what;
            lq::log(line);
            anew = true;
            continue;
        }
        const int lock = ::openat(hold.folder, lockFileName.constData(),
            O_RDWR | O_CREAT | (anew ? O_EXCL : 0) | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (lock < 0) {
            const int error = errno;
            // Something else came under the name meanwhile: looked at again.
            if (error == ELOOP || error == EISDIR || error == ENXIO || error == EWOULDBLOCK || error == EEXIST) {
                anew = false;
                continue;
            }
            if (error == EROFS || error == EACCES || error == EPERM || error == ENOSPC || error == EDQUOT) {
                hold.readOnly = error != ENOSPC && error != EDQUOT;
                hold.why = QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" cannot be made: ") + systemReason(error);
                lq::log(QStringLiteral("The website at ") + folder + QStringLiteral(" is not locked: ") + hold.why);
                return Taken::Unlocked;
            }
            refusal = QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" cannot be made: ") + systemReason(error);
            return Taken::Refused;
        }
        struct stat opened {};
        if (::fstat(lock, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(lock);
            continue;
        }
        if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const QByteArray text = readLockText(lock);
            // A file system where the system cannot lock: the text alone tells.
            if (error == EWOULDBLOCK || namesLiveHolder(text)) {
                ::close(lock);
                refusal = refusalFor(text);
                return Taken::Refused;
            }
        }
        // A holder letting go removes the file it locked: the name may
        // stand for another file by now, or for none.
        struct stat now {};
        if (::fstatat(hold.folder, lockFileName.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(now, opened)) {
            ::close(lock);
            continue;
        }
        // Held by no live program, a lock file with another link goes: its
        // name is taken away (never what the other link names) and a new
        // file takes it.
        if (const QString unchangeable = lq::descriptors::notChangedInPlace(opened); !unchangeable.isEmpty()) {
            const int removed = ::unlinkat(hold.folder, lockFileName.constData(), 0) == 0 || errno == ENOENT ? 0 : errno;
            ::close(lock);
            if (removed != 0) {
                // A folder where nothing can be taken away is held without a lock file.
                hold.readOnly = removed == EROFS || removed == EACCES || removed == EPERM;
                hold.why = QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" cannot be taken over: ") + unchangeable
                    + QStringLiteral(", and ") + systemReason(removed);
                lq::log(QStringLiteral("The website at ") + folder + QStringLiteral(" is not locked: ") + hold.why);
                return Taken::Unlocked;
            }
            line = QStringLiteral("Taking over the lock of ") + folder + QStringLiteral(": ") + unchangeable;
            lq::log(line);
            anew = true;
            continue;
        }
        const QByteArray left = readLockText(lock);
        if (existed && sameFile(there, opened)) {
            line = QStringLiteral("Taking over the lock of ") + folder + QStringLiteral(": ") + leftBehind(left);
            lq::log(line);
        }
        hold.lock = lock;
        const QString unwritten = writeLockText(lock);
        hold.readOnly = false;
        hold.why = unwritten.isEmpty() ? QString() : QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" cannot be written: ") + unwritten;
        if (!unwritten.isEmpty())
            lq::log(QStringLiteral("The website at ") + folder + QStringLiteral(" is locked, but ") + hold.why);
        return Taken::Locked;
    }
    refusal = QStringLiteral("its lock file ") + SiteLock::lockName + QStringLiteral(" keeps changing");
    return Taken::Refused;
}

} // namespace

SiteLock::Hold::~Hold()
{
    if (lock >= 0) {
        // The name goes only while it still stands for this file, and while
        // the file is locked: a program that opens it meanwhile finds it gone.
        struct stat opened {};
        struct stat named {};
        if (::fstat(lock, &opened) == 0 && ::fstatat(folder, lockFileName.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && sameFile(opened, named))
            ::unlinkat(folder, lockFileName.constData(), 0);
        ::close(lock);
    }
}

SiteLock::SiteLock() = default;

SiteLock::~SiteLock()
{
    release();
}

bool SiteLock::acquire(const QString& folder, QString* why)
{
    _takenOver.clear();
    const QString key = QFileInfo(folder).canonicalFilePath();
    const auto refuse = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (key.isEmpty() || !QFileInfo(key).isDir())
        return refuse(QStringLiteral("there is no folder ") + folder);
    std::shared_ptr<Hold> hold = _hold && key == QFileInfo(_folder).canonicalFilePath() ? _hold : heldLocks().value(key).lock();
    QString refusal;
    if (!hold) {
        hold = std::make_shared<Hold>();
        QString unopened;
        hold->root = lq::ConfinedFolder::open(key, &unopened);
        if (!hold->root)
            return refuse(QStringLiteral("the folder cannot be opened: ") + unopened);
        hold->folder = hold->root->descriptor();
        if (take(*hold, folder, refusal, _takenOver) == Taken::Refused)
            return refuse(refusal);
        heldLocks().insert(key, hold);
    } else if (hold->lock < 0 && !hold->readOnly) {
        // Held without a lock file, the disk being full: tried again.
        if (take(*hold, folder, refusal, _takenOver) == Taken::Refused)
            return refuse(refusal);
    } else if (hold->lock >= 0 && !hold->why.isEmpty() && writeLockText(hold->lock).isEmpty()) {
        hold->why.clear();
    }
    if (hold != _hold) {
        release();
        _hold = std::move(hold);
    }
    _folder = folder;
    return true;
}

void SiteLock::release()
{
    if (!_hold)
        return;
    std::weak_ptr<Hold> held = _hold;
    _hold.reset();
    _folder.clear();
    if (held.expired()) {
        for (auto it = heldLocks().begin(); it != heldLocks().end();)
            it = it->expired() ? heldLocks().erase(it) : std::next(it);
    }
}

QString SiteLock::unlocked() const
{
    // A read-only folder needs no lock: nobody can change the site there.
    return _hold && !_hold->readOnly ? _hold->why : QString();
}
