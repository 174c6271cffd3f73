#include "platform/DescriptorWalks.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lq::descriptors {

namespace {

// Beneath the descriptor, through no link of any kind.
constexpr unsigned long long confined = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
// Past this depth a tree is taken for a damaged one: no site nests so deep.
constexpr int deepestTree = 256;

bool removeTreeAt(int parent, const char* name, int depth, int& number)
{
    const int folder = ::openat(parent, name, folderReading);
    if (folder < 0) {
        // Swapped for a link or a file meanwhile: removed as what it now is.
        if ((errno == ELOOP || errno == ENOTDIR) && (::unlinkat(parent, name, 0) == 0 || errno == ENOENT))
            return true;
        if (errno == ENOENT)
            return true;
        number = errno;
        return false;
    }
    bool removed = depth < deepestTree || (number = ELOOP, false);
    const std::optional<QList<QByteArray>> names = removed ? entriesOf(folder, number) : std::nullopt;
    removed = removed && names.has_value();
    for (const QByteArray& entry : names.value_or(QList<QByteArray>())) {
        struct stat status {};
        if (statAt(folder, entry.constData(), status) != 0)
            continue;
        bool gone = true;
        if (S_ISDIR(status.st_mode))
            gone = removeTreeAt(folder, entry.constData(), depth + 1, number);
        else if (::unlinkat(folder, entry.constData(), 0) != 0 && errno != ENOENT)
            number = errno, gone = false;
        removed = gone && removed;
    }
    ::close(folder);
    if (removed && ::unlinkat(parent, name, AT_REMOVEDIR) != 0 && errno != ENOENT) {
        number = errno;
        removed = false;
    }
    return removed;
}

bool copyFile(int sourceFolder, const char* sourceName, int targetFolder, const char* targetName, QString& why)
{
    const int input = ::openat(sourceFolder, sourceName, fileReading);
    if (input < 0) {
        why = systemReason(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(input, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(input);
        why = QStringLiteral("it is no plain file");
        return false;
    }
    ::fcntl(input, F_SETFL, ::fcntl(input, F_GETFL) & ~O_NONBLOCK);
    const int output = ::openat(targetFolder, targetName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, status.st_mode & 0777);
    if (output < 0) {
        why = systemReason(errno);
        ::close(input);
        return false;
    }
    int number = 0;
    bool copied = copyBytes(input, output, number);
    ::close(input);
    // The bits the creation's mask took away come back.
    if (copied && ::fchmod(output, status.st_mode & 0777) != 0)
        number = errno, copied = false;
    if (const int closed = closeChecked(output); closed != 0 && copied)
        number = closed, copied = false;
    if (!copied) {
        ::unlinkat(targetFolder, targetName, 0);
        why = systemReason(number);
    }
    return copied;
}

// made: set once the folder at the target was made by this copy.
bool copyEntryAt(int sourceFolder, const char* sourceName, int targetFolder, const char* targetName, int depth, QString& why, bool* made = nullptr)
{
    struct stat status {};
    if (statAt(sourceFolder, sourceName, status) != 0) {
        why = systemReason(errno);
        return false;
    }
    if (S_ISREG(status.st_mode))
        return copyFile(sourceFolder, sourceName, targetFolder, targetName, why);
    if (!S_ISDIR(status.st_mode))
        return true;
    if (depth >= deepestTree) {
        why = QStringLiteral("the folders nest too deep");
        return false;
    }
    const int source = ::openat(sourceFolder, sourceName, folderReading);
    if (source < 0) {
        // Swapped for a link meanwhile: left out, as links are.
        if (errno == ELOOP || errno == ENOTDIR)
            return true;
        why = systemReason(errno);
        return false;
    }
    if (::mkdirat(targetFolder, targetName, 0777) != 0) {
        why = systemReason(errno);
        ::close(source);
        return false;
    }
    if (made)
        *made = true;
    const int target = ::openat(targetFolder, targetName, folderReading);
    if (target < 0) {
        why = systemReason(errno);
        ::close(source);
        return false;
    }
    int number = 0;
    const std::optional<QList<QByteArray>> names = entriesOf(source, number);
    bool copied = names.has_value() || (why = systemReason(number), false);
    for (const QByteArray& name : names.value_or(QList<QByteArray>())) {
        if (!copied)
            break;
        copied = copyEntryAt(source, name.constData(), target, name.constData(), depth + 1, why);
        if (!copied)
            why = QFile::decodeName(name) + QStringLiteral(": ") + why;
    }
    ::fchmod(target, status.st_mode & 0777);
    ::close(source);
    ::close(target);
    return copied;
}

void walkTreeAt(int folder, const QByteArray& prefix, int depth, const TreeVisit& visit)
{
    int number = 0;
    for (const QByteArray& name : entriesOf(folder, number).value_or(QList<QByteArray>())) {
        struct stat status {};
        if (statAt(folder, name.constData(), status) != 0)
            continue;
        const QByteArray path = prefix + name;
        visit(folder, name, path, status);
        if (!S_ISDIR(status.st_mode) || depth >= deepestTree)
            continue;
        const int below = ::openat(folder, name.constData(), folderReading);
        if (below >= 0) {
            walkTreeAt(below, path + '/', depth + 1, visit);
            ::close(below);
        }
    }
}

} // namespace

QString systemReason(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

int openBeneath(int folder, const QByteArray& name, int flags, mode_t mode)
{
    struct open_how how {};
    how.flags = static_cast<unsigned long long>(flags);
    how.mode = (flags & O_CREAT) ? mode : 0;
    how.resolve = confined;
    // Retried when interrupted, or when the kernel saw a rename on the way
    // (it then refuses rather than guess).
    for (int attempt = 0; attempt < 100; ++attempt) {
        const long descriptor = ::syscall(SYS_openat2, folder, name.isEmpty() ? "." : name.constData(), &how, sizeof how);
        if (descriptor >= 0)
            return static_cast<int>(descriptor);
        if (errno != EINTR && errno != EAGAIN)
            return -1;
    }
    return -1;
}

int statAt(int folder, const char* name, struct stat& status)
{
    return ::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW);
}

std::optional<QList<QByteArray>> entriesOf(int folder, int& number)
{
    // A descriptor of its own for the listing, which closes it.
    const int copy = ::openat(folder, ".", folderReading);
    if (copy < 0) {
        number = errno;
        return std::nullopt;
    }
    DIR* listing = ::fdopendir(copy);
    if (!listing) {
        number = errno;
        ::close(copy);
        return std::nullopt;
    }
    QList<QByteArray> names;
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QByteArray(entry->d_name));
        errno = 0;
    }
    number = errno;
    ::closedir(listing);
    if (number != 0)
        return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
}

bool writeAll(int descriptor, const char* data, qint64 size, int& number)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            number = errno;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool copyBytes(int input, int output, int& number)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(input, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            number = errno;
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(output, buffer, got, number))
            return false;
    }
}

QString notChangedInPlace(const struct stat& status)
{
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("it is no plain file");
    if (status.st_nlink > 1)
        return QStringLiteral("it has another link, which is never written through");
    return QString();
}

int closeChecked(int descriptor)
{
    if (::close(descriptor) != 0 && errno != EINTR)
        return errno;
    return 0;
}

bool removeTree(int parent, const char* name, int& number)
{
    return removeTreeAt(parent, name, 0, number);
}

bool copyEntry(int sourceFolder, const char* sourceName, int targetFolder, const char* targetName, QString& why)
{
    // A failed file copy removes its file itself; a folder this copy made
    // goes with what was copied into it, and nothing that was there before.
    bool made = false;
    if (copyEntryAt(sourceFolder, sourceName, targetFolder, targetName, 0, why, &made))
        return true;
    int number = 0;
    if (made)
        removeTreeAt(targetFolder, targetName, 0, number);
    return false;
}

void walkTree(int folder, const TreeVisit& visit)
{
    walkTreeAt(folder, QByteArray(), 0, visit);
}

} // namespace lq::descriptors
