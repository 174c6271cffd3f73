#include "platform/FileHelpers.h"

#include "platform/DescriptorWalks.h"
#include "platform/Exception.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

namespace {

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

using descriptors::closeChecked;
using descriptors::systemReason;

QString cannotWrite(const QString& path, int number)
{
    return QStringLiteral("cannot write ") + path + QStringLiteral(": ") + systemReason(number);
}

// Makes a new file beside the path under a name no one else uses.
int createBeside(const QString& path, mode_t mode, QString& temporary, int& number)
{
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lqtmp-")
            + QString::number(QRandomGenerator::global()->generate64(), 16);
        const int descriptor = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (descriptor >= 0)
            return descriptor;
        if (errno != EEXIST) {
            number = errno;
            return -1;
        }
    }
    number = EEXIST;
    return -1;
}

bool exists(const QString& path)
{
    // A dangling link is something in the way too.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool copyTree(const QString& source, const QString& target, QString* error)
{
    const QFileInfo info(source);
    if (info.isSymLink())
        return true;
    if (info.isDir()) {
        if (!QDir().mkdir(target))
            return fail(error, QStringLiteral("cannot make the folder ") + target);
        const QStringList names = QDir(source).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& name : names)
            if (!copyTree(source + QLatin1Char('/') + name, target + QLatin1Char('/') + name, error))
                return false;
        return true;
    }
    if (!info.isFile())
        return true;
    return copyFile(source, target, error);
}

} // namespace

void syncFolder(const QString& folder)
{
    // File systems that cannot do it for folders are no failure.
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

bool copyItem(const QString& source, const QString& target, QString* error)
{
    if (!exists(source))
        return fail(error, QStringLiteral("nothing at ") + source);
    if (exists(target))
        return fail(error, QStringLiteral("already exists: ") + target);
    if (!copyTree(source, target, error)) {
        removeItem(target);
        return false;
    }
    return true;
}

bool moveItem(const QString& source, const QString& target, QString* error)
{
    if (!exists(source))
        return fail(error, QStringLiteral("nothing at ") + source);
    if (exists(target))
        return fail(error, QStringLiteral("already exists: ") + target);
    if (QDir().rename(source, target))
        return true;
    if (!copyItem(source, target, error))
        return false;
    return removeItem(source, error);
}

bool removeItem(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir(path).removeRecursively())
            return fail(error, QStringLiteral("cannot remove ") + path);
        return true;
    }
    if (!QFile::remove(path))
        return fail(error, QStringLiteral("cannot remove ") + path);
    return true;
}

QStringList folderEntries(const QString& folder, bool recursive)
{
    const QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QStringList entries;
    if (!recursive)
        return QDir(folder).entryList(filters, QDir::Name);
    const QDir base(folder);
    QDirIterator walk(folder, filters, QDirIterator::Subdirectories);
    while (walk.hasNext())
        entries.append(base.relativeFilePath(walk.next()));
    entries.sort();
    return entries;
}

QDateTime modificationDate(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QDateTime();
    return info.lastModified();
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error, WriteOptions options)
{
    PendingFile file;
    return file.write(path, bytes, options, error) && file.commit(error);
}

// --- PendingFile --------------------------------------------------------------------

PendingFile::~PendingFile()
{
    discard();
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : _path(std::move(other._path))
    , _temporary(std::exchange(other._temporary, QString()))
    , _options(other._options)
{
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept
{
    if (this != &other) {
        discard();
        _path = std::move(other._path);
        _temporary = std::exchange(other._temporary, QString());
        _options = other._options;
    }
    return *this;
}

bool PendingFile::write(const QString& path, const QByteArray& bytes, WriteOptions options, QString* error)
{
    discard();
    _path = path;
    _options = options;
    // A folder in the way is never replaced.
    if (QFileInfo(path).isDir())
        return fail(error, cannotWrite(path, EISDIR));
    int number = 0;
    QString temporary;
    const int descriptor = createBeside(path, options.ownerOnly ? 0600 : 0666, temporary, number);
    if (descriptor < 0)
        return fail(error, cannotWrite(path, number));
    _temporary = temporary;
    bool written = true;
    // A replaced file keeps its permissions, unless the file is the owner's alone.
    struct stat existing {};
    if (options.ownerOnly)
        written = ::fchmod(descriptor, 0600) == 0 || (number = errno, false);
    else if (::stat(QFile::encodeName(path).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(descriptor, existing.st_mode & 07777);
    written = written && descriptors::writeAll(descriptor, bytes.constData(), bytes.size(), number);
    if (written && options.durable && ::fsync(descriptor) != 0) {
        number = errno;
        written = false;
    }
    if (const int closed = closeChecked(descriptor); closed != 0 && written)
        number = closed, written = false;
    if (!written) {
        discard();
        return fail(error, cannotWrite(path, number));
    }
    return true;
}

bool PendingFile::commit(QString* error)
{
    if (_temporary.isEmpty())
        return fail(error, QStringLiteral("cannot write ") + _path + QStringLiteral(": nothing was written"));
    if (::rename(QFile::encodeName(_temporary).constData(), QFile::encodeName(_path).constData()) != 0) {
        const int number = errno;
        discard();
        return fail(error, cannotWrite(_path, number));
    }
    _temporary.clear();
    if (_options.durable)
        syncFolder(QFileInfo(_path).path());
    return true;
}

void PendingFile::discard()
{
    if (!_temporary.isEmpty())
        ::unlink(QFile::encodeName(_temporary).constData());
    _temporary.clear();
}

void raiseWriteFailure(const QString& why)
{
    raise(QStringLiteral("File write failed"), why);
}

// --- Copies ---------------------------------------------------------------------------

bool copyFile(const QString& source, const QString& target, QString* error)
{
    const auto cannot = [&](const QString& why) {
        return fail(error, QStringLiteral("cannot copy ") + source + QStringLiteral(" to ") + target + QStringLiteral(": ") + why);
    };
    const int input = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (input < 0)
        return cannot(systemReason(errno));
    struct stat status {};
    if (::fstat(input, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(input);
        return cannot(QStringLiteral("not a plain file"));
    }
    const QByteArray targetName = QFile::encodeName(target);
    const int output = ::open(targetName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, status.st_mode & 0777);
    if (output < 0) {
        const int number = errno;
        ::close(input);
        return cannot(systemReason(number));
    }
    int number = 0;
    bool copied = descriptors::copyBytes(input, output, number);
    ::close(input);
    if (const int closed = closeChecked(output); closed != 0 && copied)
        number = closed, copied = false;
    if (!copied) {
        ::unlink(targetName.constData());
        return cannot(systemReason(number));
    }
    return true;
}

} // namespace lq
