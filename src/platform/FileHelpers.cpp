#include "platform/FileHelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace lq {

namespace {

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
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
    QFile file(source);
    if (!file.copy(target))
        return fail(error, QStringLiteral("cannot copy ") + source + QStringLiteral(" to ") + target + QStringLiteral(": ") + file.errorString());
    return true;
}

} // namespace

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

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + why);
    }
    if (!file.commit())
        return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString why = file.errorString();
    file.close();
    if (!written || file.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(": ") + (written ? file.errorString() : why));
    return true;
}

bool syncTree(const QString& folder, QString* error)
{
    if (!QFileInfo(folder).isDir())
        return fail(error, QStringLiteral("cannot write ") + folder + QStringLiteral(" to the disk: there is no such folder"));
    QStringList paths { folder };
    QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        if (!walk.fileInfo().isSymLink())
            paths.append(path);
    }
    // First every file's writing is started, then each is waited for.
    for (const QString& path : paths) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        ::sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(descriptor);
    }
    for (const QString& path : paths) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0)
            return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(" to the disk: ") + QString::fromLocal8Bit(std::strerror(errno)));
        const bool synced = ::fdatasync(descriptor) == 0;
        const int why = errno;
        ::close(descriptor);
        if (!synced)
            return fail(error, QStringLiteral("cannot write ") + path + QStringLiteral(" to the disk: ") + QString::fromLocal8Bit(std::strerror(why)));
    }
    return true;
}

} // namespace lq
