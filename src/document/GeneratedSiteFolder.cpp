#include "document/GeneratedSiteFolder.h"

#include "platform/FileHelpers.h"
#include "platform/Log.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString systemReason(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// The entry itself, never what a link points at; nothing when there is none.
std::optional<struct stat> entryAt(const QString& path)
{
    struct stat status {};
    if (::lstat(encoded(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

bool isFolder(const std::optional<struct stat>& entry)
{
    return entry && S_ISDIR(entry->st_mode);
}

// The names in the folder, "." and ".." left out; nothing when it cannot be read.
std::optional<QList<QByteArray>> namesIn(const QString& folder)
{
    DIR* stream = ::opendir(encoded(folder).constData());
    if (!stream)
        return std::nullopt;
    QList<QByteArray> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream);
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QByteArray(entry->d_name));
    }
    const int number = errno;
    ::closedir(stream);
    if (number != 0)
        return std::nullopt;
    return names;
}

// Whether a plain file lies anywhere below the folder (links not followed).
bool holdsAFile(const QString& folder)
{
    const std::optional<QList<QByteArray>> names = namesIn(folder);
    if (!names)
        return false;
    for (const QByteArray& name : *names) {
        const QString path = folder + QLatin1Char('/') + QFile::decodeName(name);
        const std::optional<struct stat> entry = entryAt(path);
        if (entry && S_ISREG(entry->st_mode))
            return true;
        if (isFolder(entry) && holdsAFile(path))
            return true;
    }
    return false;
}

// The bytes of the plain files below the folder (links not followed).
qint64 bytesBelow(const QString& folder)
{
    qint64 bytes = 0;
    const std::optional<QList<QByteArray>> names = namesIn(folder);
    if (!names)
        return 0;
    for (const QByteArray& name : *names) {
        const QString path = folder + QLatin1Char('/') + QFile::decodeName(name);
        const std::optional<struct stat> entry = entryAt(path);
        if (entry && S_ISREG(entry->st_mode))
            bytes += entry->st_size;
        else if (isFolder(entry))
            bytes += bytesBelow(path);
    }
    return bytes;
}

// Whether the disk holding the folder has room for a build of that size
// beside the one that waits aside, with room to spare: where it has not,
// the last build goes first, as it always did.
bool roomBeside(const QString& folder, qint64 bytes)
{
    struct statvfs disk {};
    if (::statvfs(encoded(folder).constData(), &disk) != 0)
        return false;
    constexpr qint64 spare = 64 * 1024 * 1024;
    const qint64 free = static_cast<qint64>(disk.f_bavail) * static_cast<qint64>(disk.f_frsize);
    return free >= 2 * bytes + spare;
}

// Whether the two plain files hold the same bytes.
bool sameBytes(const QString& one, const QString& other, qint64 size)
{
    const int first = ::open(encoded(one).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (first < 0)
        return false;
    const int second = ::open(encoded(other).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (second < 0) {
        ::close(first);
        return false;
    }
    constexpr qsizetype chunk = 256 * 1024;
    QByteArray a(chunk, Qt::Uninitialized);
    QByteArray b(chunk, Qt::Uninitialized);
    // Reads exactly `count` bytes; a short file or an error counts as a difference.
    const auto readFully = [](int descriptor, char* data, qsizetype count) {
        while (count > 0) {
            const ssize_t got = ::read(descriptor, data, static_cast<size_t>(count));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            data += got;
            count -= got;
        }
        return true;
    };
    bool same = true;
    for (qint64 left = size; same && left > 0;) {
        const qsizetype count = static_cast<qsizetype>(std::min<qint64>(left, chunk));
        same = readFully(first, a.data(), count) && readFully(second, b.data(), count) && std::memcmp(a.constData(), b.constData(), count) == 0;
        left -= count;
    }
    // Both must end where their size said.
    char extra = 0;
    same = same && ::read(first, &extra, 1) == 0 && ::read(second, &extra, 1) == 0;
    ::close(first);
    ::close(second);
    return same;
}

constexpr mode_t permissionBits = 07777;

// Whether the old entry may stay in place of the new one: both plain files
// with the same permissions and the same bytes.
bool mayStay(const QString& newPath, const struct stat& newEntry, const QString& oldPath, const std::optional<struct stat>& oldEntry)
{
    return oldEntry && S_ISREG(newEntry.st_mode) && S_ISREG(oldEntry->st_mode) && newEntry.st_size == oldEntry->st_size
        && (newEntry.st_mode & permissionBits) == (oldEntry->st_mode & permissionBits)
        && sameBytes(newPath, oldPath, newEntry.st_size);
}

bool renamed(const QString& from, const QString& to, QString* error)
{
    if (::rename(encoded(from).constData(), encoded(to).constData()) == 0)
        return true;
    if (error)
        *error = QStringLiteral("cannot move ") + from + QStringLiteral(" to ") + to + QStringLiteral(": ") + systemReason(errno);
    return false;
}

// Makes the old folder hold what the new one holds, leaving in place every
// old file that may stay and moving everything else over from the new one.
bool mergeInto(const QString& fresh, const QString& last, QString* error)
{
    const std::optional<QList<QByteArray>> freshNames = namesIn(fresh);
    const std::optional<QList<QByteArray>> lastNames = namesIn(last);
    if (!freshNames || !lastNames) {
        if (error)
            *error = QStringLiteral("cannot read the folder ") + (freshNames ? last : fresh);
        return false;
    }
    for (const QByteArray& name : *freshNames) {
        const QString newPath = fresh + QLatin1Char('/') + QFile::decodeName(name);
        const QString oldPath = last + QLatin1Char('/') + QFile::decodeName(name);
        const std::optional<struct stat> newEntry = entryAt(newPath);
        if (!newEntry)
            continue;
        const std::optional<struct stat> oldEntry = entryAt(oldPath);
        if (S_ISDIR(newEntry->st_mode) && isFolder(oldEntry)) {
            if ((newEntry->st_mode & permissionBits) != (oldEntry->st_mode & permissionBits)
                && ::chmod(encoded(oldPath).constData(), newEntry->st_mode & permissionBits) != 0) {
                if (error)
                    *error = QStringLiteral("cannot set the permissions of ") + oldPath + QStringLiteral(": ") + systemReason(errno);
                return false;
            }
            if (!mergeInto(newPath, oldPath, error))
                return false;
            continue;
        }
        if (mayStay(newPath, *newEntry, oldPath, oldEntry))
            continue;
        // A rename puts a file in place of a file or a link at once; where
        // a folder is on either side, the old entry goes first.
        if (oldEntry && (S_ISDIR(oldEntry->st_mode) || S_ISDIR(newEntry->st_mode)) && !lq::removeItem(oldPath, error))
            return false;
        if (!renamed(newPath, oldPath, error))
            return false;
    }
    const QSet<QByteArray> kept(freshNames->cbegin(), freshNames->cend());
    for (const QByteArray& name : *lastNames) {
        if (kept.contains(name))
            continue;
        if (!lq::removeItem(last + QLatin1Char('/') + QFile::decodeName(name), error))
            return false;
    }
    return true;
}

} // namespace

GeneratedSiteFolder::GeneratedSiteFolder(const QString& siteFolder)
    : _siteFolder(siteFolder)
{
}

QString GeneratedSiteFolder::homepage() const
{
    return _siteFolder + QStringLiteral("/homepage");
}

QString GeneratedSiteFolder::lastBuild() const
{
    return _siteFolder + QStringLiteral("/temp/last-homepage");
}

QString GeneratedSiteFolder::newBuild() const
{
    return _siteFolder + QStringLiteral("/temp/new-homepage");
}

void GeneratedSiteFolder::setAside()
{
    // What a stopped putting-in-place left behind is of no use.
    lq::removeItem(newBuild());
    const std::optional<struct stat> home = entryAt(homepage());
    if (isFolder(home) && !entryAt(lastBuild()) && roomBeside(_siteFolder, bytesBelow(homepage()))) {
        QString why;
        if (lq::makeFoldersBelow(_siteFolder, _siteFolder + QStringLiteral("/temp"), &why) && renamed(homepage(), lastBuild(), &why))
            return;
        lq::log(QStringLiteral("The last build was not set aside: ") + why);
    }
    lq::removeItem(homepage());
}

bool GeneratedSiteFolder::settle(QString* error)
{
    const std::optional<struct stat> last = entryAt(lastBuild());
    if (!last)
        return true;
    // With nothing worth keeping (the first build of a site), the new build simply stays.
    if (!isFolder(last) || !isFolder(entryAt(homepage())) || !holdsAFile(lastBuild()))
        return lq::removeItem(lastBuild(), error);
    lq::removeItem(newBuild());
    if (!renamed(homepage(), newBuild(), error))
        return false;
    if (!renamed(lastBuild(), homepage(), error)) {
        // The new build goes back where it was, whole.
        QString why;
        if (!renamed(newBuild(), homepage(), &why))
            return false;
        return lq::removeItem(lastBuild(), error);
    }
    if (!mergeInto(newBuild(), homepage(), error))
        return false;
    return lq::removeItem(newBuild(), error);
}
