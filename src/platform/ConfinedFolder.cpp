#include "platform/ConfinedFolder.h"

#include "platform/DescriptorWalks.h"
#include "platform/InputLimits.h"
#include "platform/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

using namespace descriptors;

namespace {

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

QByteArray native(const QString& name)
{
    return QFile::encodeName(name);
}

QString decoded(const QByteArray& name)
{
    return lq::fileNameFromUtf8(name);
}

ConfinedFolder::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return ConfinedFolder::Kind::File;
    if (S_ISDIR(mode))
        return ConfinedFolder::Kind::Folder;
    if (S_ISLNK(mode))
        return ConfinedFolder::Kind::Link;
    return ConfinedFolder::Kind::Other;
}

ConfinedFolder::Status statusOf(const struct stat& status)
{
    ConfinedFolder::Status answer;
    answer.kind = kindOf(status.st_mode);
    answer.size = status.st_size;
    answer.mode = status.st_mode & 07777;
    answer.modified = QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000);
    answer.modifiedNanoseconds = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    answer.changedNanoseconds = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    answer.device = status.st_dev;
    answer.inode = status.st_ino;
    return answer;
}

} // namespace

// --- Opening --------------------------------------------------------------------------

ConfinedFolder::ConfinedFolder(int root, QString path)
    : _root(root)
    , _path(std::move(path))
{
}

ConfinedFolder::~ConfinedFolder()
{
    if (_root >= 0)
        ::close(_root);
}

std::shared_ptr<ConfinedFolder> ConfinedFolder::open(const QString& pathGiven, QString* error)
{
    QString path = pathGiven;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty()) {
        fail(error, QStringLiteral("no folder was given"));
        return nullptr;
    }
    const int root = ::open(native(path).constData(), folderPath);
    if (root < 0) {
        fail(error, QStringLiteral("cannot open the folder ") + path + QStringLiteral(": ") + systemReason(errno));
        return nullptr;
    }
    return std::shared_ptr<ConfinedFolder>(new ConfinedFolder(root, path));
}

std::shared_ptr<ConfinedFolder> ConfinedFolder::folder(const QString& name, QString* error) const
{
    FileDescriptor opened = resolve(name, folderPath, 0, error, QStringLiteral("cannot open the folder "));
    if (!opened.isValid())
        return nullptr;
    return std::shared_ptr<ConfinedFolder>(new ConfinedFolder(opened.release(), pathOf(name)));
}

std::optional<QString> ConfinedFolder::nameOf(const QString& fullPath) const
{
    QString path = fullPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path == _path)
        return QString();
    const QString prefix = _path.endsWith(QLatin1Char('/')) ? _path : _path + QLatin1Char('/');
    if (!path.startsWith(prefix))
        return std::nullopt;
    return path.mid(prefix.size());
}

QString ConfinedFolder::pathOf(const QString& name) const
{
    if (name.isEmpty())
        return _path;
    return _path.endsWith(QLatin1Char('/')) ? _path + name : _path + QLatin1Char('/') + name;
}

QString ConfinedFolder::unsafeName(const QString& name)
{
    if (name.startsWith(QLatin1Char('/')))
        return QStringLiteral("it is an absolute name");
    if (name.contains(QChar(u'\0')))
        return QStringLiteral("it holds a NUL character");
    if (name.isEmpty())
        return QString();
    for (const QString& component : name.split(QLatin1Char('/'))) {
        if (component.isEmpty())
            return QStringLiteral("it has an empty part");
        if (component == QLatin1String(".") || component == QLatin1String(".."))
            return QStringLiteral("it has a part \"") + component + QStringLiteral("\", which is never followed");
    }
    return QString();
}

FileDescriptor ConfinedFolder::resolve(const QString& name, int flags, mode_t mode, QString* error, const QString& doing) const
{
    if (const QString unsafe = unsafeName(name); !unsafe.isEmpty()) {
        fail(error, doing + pathOf(name) + QStringLiteral(": ") + unsafe);
        errno = EINVAL;
        return FileDescriptor();
    }
    const int descriptor = openBeneath(_root, native(name), flags, mode);
    if (descriptor >= 0)
        return FileDescriptor(descriptor);
    int number = errno;
    QString why;
    // A link opened as a folder answers "no folder": which entry on the way
    // is a link is looked for then too.
    if (number == ELOOP || number == EXDEV || number == ENOTDIR) {
        // Which entry on the way is the link, for the message.
        QString on;
        for (const QString& component : name.split(QLatin1Char('/'))) {
            on = on.isEmpty() ? component : on + QLatin1Char('/') + component;
            struct stat status {};
            const int parent = on.contains(QLatin1Char('/')) ? openBeneath(_root, native(on.section(QLatin1Char('/'), 0, -2)), folderPath) : ::dup(_root);
            const bool link = parent >= 0 && statAt(parent, native(on.section(QLatin1Char('/'), -1)).constData(), status) == 0 && S_ISLNK(status.st_mode);
            if (parent >= 0)
                ::close(parent);
            if (link) {
                why = pathOf(on) + QStringLiteral(" is a link, which is never followed");
                number = ELOOP;
                break;
            }
        }
        if (why.isEmpty() && number == ENOTDIR)
            why = systemReason(number);
        else if (why.isEmpty())
            why = number == EXDEV ? QStringLiteral("it leads outside ") + _path : QStringLiteral("a link is on the way, which is never followed");
    } else {
        why = systemReason(number);
    }
    fail(error, doing + pathOf(name) + QStringLiteral(": ") + why);
    errno = number;
    return FileDescriptor();
}

FileDescriptor ConfinedFolder::openParent(const QString& name, QString& last, QString* error, const QString& doing) const
{
    if (name.isEmpty()) {
        fail(error, doing + _path + QStringLiteral(": it is the folder itself"));
        errno = EINVAL;
        return FileDescriptor();
    }
    if (const QString unsafe = unsafeName(name); !unsafe.isEmpty()) {
        fail(error, doing + pathOf(name) + QStringLiteral(": ") + unsafe);
        errno = EINVAL;
        return FileDescriptor();
    }
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    last = name.mid(slash + 1);
    return resolve(slash < 0 ? QString() : name.left(slash), folderPath, 0, error, doing);
}

// --- Questions ------------------------------------------------------------------------

ConfinedFolder::Status ConfinedFolder::status(const QString& name, QString* error) const
{
    struct stat status {};
    if (name.isEmpty()) {
        if (::fstat(_root, &status) != 0)
            return Status();
        return statusOf(status);
    }
    QString last;
    const FileDescriptor parent = openParent(name, last, error, QStringLiteral("cannot look at "));
    if (!parent.isValid()) {
        Status refused;
        if (errno == ELOOP || errno == EXDEV || errno == EINVAL)
            refused.kind = Kind::Refused;
        return refused;
    }
    if (statAt(parent.get(), native(last).constData(), status) != 0) {
        fail(error, QStringLiteral("cannot look at ") + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
        return Status();
    }
    return statusOf(status);
}

std::optional<QList<ConfinedFolder::Entry>> ConfinedFolder::list(const QString& name, QString* error, bool wholeTree) const
{
    const FileDescriptor folder = resolve(name, folderReading, 0, error, QStringLiteral("cannot list "));
    if (!folder.isValid())
        return std::nullopt;
    QList<Entry> entries;
    if (!wholeTree) {
        int number = 0;
        const std::optional<QList<QByteArray>> names = entriesOf(folder.get(), number);
        if (!names) {
            fail(error, QStringLiteral("cannot list ") + pathOf(name) + QStringLiteral(": ") + systemReason(number));
            return std::nullopt;
        }
        for (const QByteArray& entry : *names) {
            struct stat status {};
            if (statAt(folder.get(), entry.constData(), status) == 0)
                entries.append({ decoded(entry), kindOf(status.st_mode) });
        }
        return entries;
    }
    walkTree(folder.get(), [&](int, const QByteArray&, const QByteArray& path, const struct stat& status) {
        entries.append({ decoded(path), kindOf(status.st_mode) });
    });
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

QStringList ConfinedFolder::names(const QString& name, bool wholeTree) const
{
    QStringList answer;
    for (const Entry& entry : list(name, nullptr, wholeTree).value_or(QList<Entry>()))
        answer.append(entry.name);
    return answer;
}

// --- Reading --------------------------------------------------------------------------

FileDescriptor ConfinedFolder::openForReading(const QString& name, QString* error) const
{
    FileDescriptor file = resolve(name, fileReading, 0, error, QStringLiteral("cannot read "));
    if (!file.isValid())
        return file;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        fail(error, QStringLiteral("cannot read ") + pathOf(name) + QStringLiteral(": it is no plain file"));
        return FileDescriptor();
    }
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

std::optional<QByteArray> ConfinedFolder::readFile(const QString& name, qint64 bound, QString* error) const
{
    const FileDescriptor file = openForReading(name, error);
    if (!file.isValid())
        return std::nullopt;
    const auto tooLarge = [&](qint64 size) {
        fail(error, QStringLiteral("cannot read ") + pathOf(name) + QStringLiteral(": it holds ") + describeSize(size)
                + QStringLiteral(", more than the ") + describeSize(bound) + QStringLiteral(" it may have"));
        return std::nullopt;
    };
    struct stat status {};
    ::fstat(file.get(), &status);
    if (bound >= 0 && status.st_size > bound)
        return tooLarge(status.st_size);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(status.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            fail(error, QStringLiteral("cannot read ") + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
            return std::nullopt;
        }
        if (got == 0)
            break;
        // A file that grows while it is read is held to the bound all the same.
        if (bound >= 0 && bytes.size() + got > bound)
            return tooLarge(bytes.size() + got);
        bytes.append(buffer, got);
    }
    return bytes;
}

// --- Writing --------------------------------------------------------------------------

bool ConfinedFolder::writeFileAtomically(const QString& name, const QByteArray& bytes, QString* error, WriteOptions options)
{
    const QString doing = QStringLiteral("cannot write ");
    QString last;
    const FileDescriptor parent = openParent(name, last, error, doing);
    if (!parent.isValid())
        return false;
    const auto failed = [&](int number) { return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(number)); };
    const QByteArray target = native(last);
    struct stat existing {};
    const bool exists = statAt(parent.get(), target.constData(), existing) == 0;
    // A folder in the way is never replaced.
    if (exists && S_ISDIR(existing.st_mode))
        return failed(EISDIR);
    QByteArray temporary;
    int file = -1;
    for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
        temporary = '.' + target + ".lqtmp-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
        file = ::openat(parent.get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
            options.ownerOnly ? 0600 : 0666);
        if (file < 0 && errno != EEXIST)
            return failed(errno);
    }
    if (file < 0)
        return failed(EEXIST);
    int number = 0;
    bool written = true;
    // A replaced file keeps its permissions, unless the file is the owner's alone.
    if (options.ownerOnly)
        written = ::fchmod(file, 0600) == 0 || (number = errno, false);
    else if (exists && S_ISREG(existing.st_mode))
        ::fchmod(file, existing.st_mode & 07777);
    written = written && writeAll(file, bytes.constData(), bytes.size(), number);
    if (written && options.durable && ::fsync(file) != 0)
        number = errno, written = false;
    if (const int closed = closeChecked(file); closed != 0 && written)
        number = closed, written = false;
    // The rename replaces a link at the name, never what it points at.
    if (written && ::renameat(parent.get(), temporary.constData(), parent.get(), target.constData()) != 0)
        number = errno, written = false;
    if (!written) {
        ::unlinkat(parent.get(), temporary.constData(), 0);
        return failed(number);
    }
    if (options.durable) {
        const int folder = ::openat(parent.get(), ".", folderReading);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return true;
}

bool ConfinedFolder::writeNewFile(const QString& name, const QByteArray& bytes, QString* error, bool* existed, WriteOptions options)
{
    if (existed)
        *existed = false;
    const QString doing = QStringLiteral("cannot write ");
    QString last;
    const FileDescriptor parent = openParent(name, last, error, doing);
    if (!parent.isValid())
        return false;
    const QByteArray target = native(last);
    const int file = ::openat(parent.get(), target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
        options.ownerOnly ? 0600 : 0666);
    if (file < 0) {
        const int number = errno;
        if (number == EEXIST && existed)
            *existed = true;
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(number));
    }
    int number = 0;
    bool written = writeAll(file, bytes.constData(), bytes.size(), number);
    if (written && options.durable && ::fsync(file) != 0)
        number = errno, written = false;
    if (const int closed = closeChecked(file); closed != 0 && written)
        number = closed, written = false;
    if (!written) {
        ::unlinkat(parent.get(), target.constData(), 0);
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(number));
    }
    return true;
}

bool ConfinedFolder::makeFolder(const QString& name, QString* error, bool parents, mode_t mode)
{
    const QString doing = QStringLiteral("cannot make the folder ");
    if (name.isEmpty())
        return true;
    if (const QString unsafe = unsafeName(name); !unsafe.isEmpty())
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + unsafe);
    const QStringList components = name.split(QLatin1Char('/'));
    // Each level is made in the one opened before it, and opened from there
    // without following a link: nothing is made through a link.
    FileDescriptor at;
    qsizetype first = 0;
    if (parents) {
        at = FileDescriptor(::dup(_root));
    } else {
        QString last;
        at = openParent(name, last, error, doing);
        if (!at.isValid())
            return false;
        first = components.size() - 1;
    }
    for (qsizetype i = first; i < components.size(); ++i) {
        const QByteArray component = native(components[i]);
        const QString done = components.mid(0, i + 1).join(QLatin1Char('/'));
        if (::mkdirat(at.get(), component.constData(), mode) != 0 && errno != EEXIST)
            return fail(error, doing + pathOf(done) + QStringLiteral(": ") + systemReason(errno));
        const int next = openBeneath(at.get(), component, folderPath);
        if (next < 0) {
            const int number = errno;
            struct stat status {};
            const bool link = statAt(at.get(), component.constData(), status) == 0 && S_ISLNK(status.st_mode);
            return fail(error, doing + pathOf(name) + QStringLiteral(": ") + pathOf(done)
                    + (link ? QStringLiteral(" is a link, which is never followed")
                            : number == ENOTDIR ? QStringLiteral(" is no folder") : QStringLiteral(": ") + systemReason(number)));
        }
        at = FileDescriptor(next);
    }
    return true;
}

bool ConfinedFolder::makeNewFolder(const QString& name, QString* error, bool* existed)
{
    if (existed)
        *existed = false;
    const QString doing = QStringLiteral("cannot make the folder ");
    QString last;
    const FileDescriptor parent = openParent(name, last, error, doing);
    if (!parent.isValid())
        return false;
    if (::mkdirat(parent.get(), native(last).constData(), 0777) != 0) {
        if (errno == EEXIST && existed)
            *existed = true;
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
    }
    return true;
}

bool ConfinedFolder::isWritable(const QString& name) const
{
    if (name.isEmpty())
        return ::faccessat(_root, ".", W_OK, AT_EACCESS) == 0;
    QString last;
    const FileDescriptor parent = openParent(name, last, nullptr, QString());
    return parent.isValid() && ::faccessat(parent.get(), native(last).constData(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<QString> ConfinedFolder::makeTemporaryFolder(const QString& prefix, QString* error)
{
    const QString doing = QStringLiteral("cannot make a private folder ");
    QString last;
    const FileDescriptor parent = openParent(prefix, last, error, doing);
    if (!parent.isValid())
        return std::nullopt;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = last + QString::number(QRandomGenerator::global()->generate64(), 16);
        if (::mkdirat(parent.get(), native(name).constData(), 0700) == 0) {
            const qsizetype slash = prefix.lastIndexOf(QLatin1Char('/'));
            return slash < 0 ? name : prefix.left(slash + 1) + name;
        }
        if (errno != EEXIST) {
            fail(error, doing + pathOf(prefix) + QStringLiteral("...: ") + systemReason(errno));
            return std::nullopt;
        }
    }
    fail(error, doing + pathOf(prefix) + QStringLiteral("...: ") + systemReason(EEXIST));
    return std::nullopt;
}

namespace {

unsigned int renameFlags(ConfinedFolder::Replace replace)
{
    switch (replace) {
    case ConfinedFolder::Replace::Never:
        return RENAME_NOREPLACE;
    case ConfinedFolder::Replace::Exchange:
        return RENAME_EXCHANGE;
    case ConfinedFolder::Replace::Always:
        break;
    }
    return 0;
}

} // namespace

bool ConfinedFolder::rename(const QString& from, const QString& to, Replace replace, QString* error)
{
    return moveTo(from, *this, to, replace, error);
}

bool ConfinedFolder::moveTo(const QString& from, const ConfinedFolder& target, const QString& to, Replace replace, QString* error) const
{
    const QString doing = QStringLiteral("cannot move ");
    QString fromLast;
    QString toLast;
    const FileDescriptor source = openParent(from, fromLast, error, doing);
    if (!source.isValid())
        return false;
    const FileDescriptor destination = target.openParent(to, toLast, error, QStringLiteral("cannot move ") + pathOf(from) + QStringLiteral(" to "));
    if (!destination.isValid())
        return false;
    if (::renameat2(source.get(), native(fromLast).constData(), destination.get(), native(toLast).constData(), renameFlags(replace)) != 0)
        return fail(error, doing + pathOf(from) + QStringLiteral(" to ") + target.pathOf(to) + QStringLiteral(": ") + systemReason(errno));
    return true;
}

bool ConfinedFolder::remove(const QString& name, QString* error)
{
    const QString doing = QStringLiteral("cannot remove ");
    QString last;
    const FileDescriptor parent = openParent(name, last, error, doing);
    if (!parent.isValid()) {
        // Nothing on the way means nothing there.
        if (errno != ENOENT)
            return false;
        if (error)
            error->clear();
        return true;
    }
    const QByteArray entry = native(last);
    struct stat status {};
    if (statAt(parent.get(), entry.constData(), status) != 0)
        return errno == ENOENT || fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
    int number = 0;
    const bool removed = S_ISDIR(status.st_mode) ? removeTree(parent.get(), entry.constData(), number)
                                                 : (::unlinkat(parent.get(), entry.constData(), 0) == 0 || errno == ENOENT || (number = errno, false));
    return removed || fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(number));
}

bool ConfinedFolder::setMode(const QString& name, mode_t mode, QString* error)
{
    const QString doing = QStringLiteral("cannot set the permissions of ");
    // A descriptor of the entry itself, reached through no link: the change
    // lands on it whatever its name points to by then.
    FileDescriptor entry = resolve(name, O_PATH | O_CLOEXEC, 0, error, doing);
    if (!entry.isValid())
        return false;
    struct stat status {};
    if (::fstat(entry.get(), &status) != 0 || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)))
        return fail(error, doing + pathOf(name) + QStringLiteral(": it is neither a file nor a folder"));
    // No file that is already there is changed in place but by its mode:
    // writes put a new file under the name, copies make new files. A
    // file's mode is the same under each of its links, so a file with
    // another link (a hard link to a file anywhere on the disk would carry
    // the change there) keeps the mode it has.
    if (const QString unchangeable = S_ISREG(status.st_mode) ? notChangedInPlace(status) : QString(); !unchangeable.isEmpty())
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + unchangeable);
    // fchmod needs a descriptor opened for reading or writing; the one of
    // the path above names the same entry through the process's own table.
    const FileDescriptor opened(::openat(AT_FDCWD, native(entry.procPath()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    const int changed = opened.isValid() ? ::fchmod(opened.get(), mode)
                                         : ::fchmodat(AT_FDCWD, native(entry.procPath()).constData(), mode, 0);
    if (changed != 0)
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
    return true;
}

// --- Copies ---------------------------------------------------------------------------

bool ConfinedFolder::copyIn(const QString& source, const QString& name, QString* error)
{
    const QString doing = QStringLiteral("cannot copy ") + source + QStringLiteral(" to ");
    QString last;
    const FileDescriptor target = openParent(name, last, error, doing);
    if (!target.isValid())
        return false;
    const QFileInfo from(source);
    const FileDescriptor sourceFolder(::open(native(from.absolutePath()).constData(), folderPath));
    if (!sourceFolder.isValid())
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
    QString why;
    const QByteArray sourceName = native(from.fileName());
    const QByteArray targetName = native(last);
    if (!copyEntry(sourceFolder.get(), sourceName.constData(), target.get(), targetName.constData(), why)) {
        return fail(error, doing + pathOf(name) + QStringLiteral(": ") + why);
    }
    return true;
}

bool ConfinedFolder::copyTo(const QString& name, ConfinedFolder& target, const QString& targetName, QString* error) const
{
    const QString doing = QStringLiteral("cannot copy ") + pathOf(name) + QStringLiteral(" to ");
    QString sourceLast;
    QString targetLast;
    const FileDescriptor source = openParent(name, sourceLast, error, QStringLiteral("cannot copy "));
    if (!source.isValid())
        return false;
    const FileDescriptor into = target.openParent(targetName, targetLast, error, doing);
    if (!into.isValid())
        return false;
    const QByteArray from = native(sourceLast);
    const QByteArray to = native(targetLast);
    struct stat status {};
    if (statAt(source.get(), from.constData(), status) != 0)
        return fail(error, QStringLiteral("cannot copy ") + pathOf(name) + QStringLiteral(": ") + systemReason(errno));
    QString why;
    if (!copyEntry(source.get(), from.constData(), into.get(), to.constData(), why)) {
        return fail(error, doing + target.pathOf(targetName) + QStringLiteral(": ") + why);
    }
    return true;
}

bool ConfinedFolder::copyOut(const QString& name, const QString& targetPath, QString* error) const
{
    const QString doing = QStringLiteral("cannot copy ") + pathOf(name) + QStringLiteral(" to ") + targetPath + QStringLiteral(": ");
    QString sourceLast;
    const FileDescriptor source = openParent(name, sourceLast, error, QStringLiteral("cannot copy "));
    if (!source.isValid())
        return false;
    const QFileInfo to(targetPath);
    const FileDescriptor into(::open(native(to.absolutePath()).constData(), folderPath));
    if (!into.isValid())
        return fail(error, doing + systemReason(errno));
    const QByteArray from = native(sourceLast);
    const QByteArray target = native(to.fileName());
    struct stat status {};
    if (statAt(source.get(), from.constData(), status) != 0)
        return fail(error, doing + systemReason(errno));
    QString why;
    if (!copyEntry(source.get(), from.constData(), into.get(), target.constData(), why)) {
        return fail(error, doing + why);
    }
    return true;
}

// --- The disk -------------------------------------------------------------------------

bool ConfinedFolder::sync(const QString& name, QString* error) const
{
    const FileDescriptor top = resolve(name, fileReading, 0, error, QStringLiteral("cannot write to the disk "));
    if (!top.isValid())
        return false;
    struct stat status {};
    if (::fstat(top.get(), &status) == 0 && S_ISREG(status.st_mode)) {
        if (::fdatasync(top.get()) != 0 && errno != EINVAL)
            return fail(error, QStringLiteral("cannot write ") + pathOf(name) + QStringLiteral(" to the disk: ") + systemReason(errno));
        return true;
    }
    // First every file's writing is started, then each is waited for.
    walkTree(top.get(), [](int folder, const QByteArray& entry, const QByteArray&, const struct stat& status) {
        if (!S_ISREG(status.st_mode))
            return;
        const int file = ::openat(folder, entry.constData(), fileReading);
        if (file >= 0) {
            ::sync_file_range(file, 0, 0, SYNC_FILE_RANGE_WRITE);
            ::close(file);
        }
    });
    QString failure;
    walkTree(top.get(), [&](int folder, const QByteArray& entry, const QByteArray& path, const struct stat& status) {
        if (!failure.isEmpty() || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)))
            return;
        const int file = ::openat(folder, entry.constData(), S_ISDIR(status.st_mode) ? folderReading : fileReading);
        if (file < 0)
            return;
        if (::fdatasync(file) != 0 && errno != EINVAL)
            failure = decoded(path) + QStringLiteral(": ") + systemReason(errno);
        ::close(file);
    });
    if (failure.isEmpty() && ::fsync(top.get()) != 0 && errno != EINVAL)
        failure = systemReason(errno);
    if (!failure.isEmpty())
        return fail(error, QStringLiteral("cannot write ") + pathOf(name) + QStringLiteral(" to the disk: ") + failure);
    return true;
}

void ConfinedFolder::syncFolder(const QString& name) const
{
    // File systems that cannot do it for folders are no failure.
    const FileDescriptor folder = resolve(name, folderReading, 0, nullptr, QString());
    if (folder.isValid())
        ::fsync(folder.get());
}

} // namespace lq
