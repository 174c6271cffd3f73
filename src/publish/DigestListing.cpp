#include "publish/DigestListing.h"

#include "model/core/ElementFiles.h"
#include "platform/AuxiliaryTools.h"
#include "platform/ConfinedFolder.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/Strings.h"
#include "publish/DigestCache.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

namespace {

// Lists the folder, opened through the gateway, with the tool working in it
// (entered by its descriptor, never by a path it would look up again); then
// each subfolder the tool names, opened the same way from this one.
std::shared_ptr<XmlD> listFolder(const ConfinedFolder& folder, const QString& name, QString* error)
{
    const QString tool = auxiliaryTool(QStringLiteral("xmldir"));
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    if (tool.isEmpty())
        return fail(QStringLiteral("the listing tool \"xmldir\" is missing"));
    ProcessOptions options;
    options.workingDescriptor = folder.descriptor();
    const ProcessResult run = runProcess(tool, { name }, options);
    if (!run.succeeded())
        return fail(run.failureDetail(tool));
    const XmlBasePtr root = XmlBase::createWithXmlRootDir(QString::fromUtf8(run.output), QString());
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(root);
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return fail(QStringLiteral("the listing of ") + folder.path() + QStringLiteral(" is no folder"));
    for (const QByteArray& rawLine : run.error.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        if (line.startsWith(QStringLiteral("unread: "))) {
            // A file the tool could not take: it is not in the tree, and
            // the publication says so.
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            const QString name = XmlD::nameFromEscaped(QStringView(line).sliced(8, (tab < 0 ? line.size() : tab) - 8));
            tree->addListingFailure({ name, tab < 0 ? QString() : line.mid(tab + 1) });
            continue;
        }
        if (!line.startsWith(QStringLiteral("md5: ")))
            continue;
        const QString rest = line.mid(5);
        // Our tool ends the name with the line's last colon, so a folder
        // name may hold colons itself; names come escaped as in its XML.
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QString subfolderName = XmlD::nameFromEscaped(QStringView(rest).left(colon));
        if (subfolderName == QStringLiteral("*") || !XmlD::isSafeName(subfolderName))
            continue;
        QString why;
        const std::shared_ptr<ConfinedFolder> subfolder = ConfinedFolder::unsafeName(subfolderName).isEmpty() && !subfolderName.contains(QLatin1Char('/'))
            ? folder.folder(subfolderName, &why)
            : nullptr;
        if (!subfolder)
            return fail(why.isEmpty() ? QStringLiteral("the listing of ") + folder.path() + QStringLiteral(" names no folder of it: ") + subfolderName : why);
        std::shared_ptr<XmlD> child = listFolder(*subfolder, subfolderName, error);
        if (!child)
            return nullptr;
        for (const FileFailure& failure : child->listingFailures())
            tree->addListingFailure({ subfolderName + QLatin1Char('/') + failure.path, failure.why });
        tree->addChild(child);
    }
    return tree;
}

// --- The listing that remembers its digests ---------------------------------------

// How much older than the listing's start a file's times must be before its
// digest is remembered: the steps of the file system's clock (a timer tick
// of the kernel at most) with room to spare, or two seconds where its times
// are whole seconds (or the two-second steps of FAT).
constexpr qint64 fineTimeSteps = 100'000'000;
constexpr qint64 coarseTimeSteps = 2'000'000'000;

// The file system's present time, read from a new file made beside the
// cache: the clock that stamps the listed files, not the program's.
struct ListingStart {
    bool known = false;
    qint64 time = 0;
    quint64 device = 0;
    qint64 steps = coarseTimeSteps;

    // Whether a file in that state may be remembered: on the same file
    // system, and changed last before the listing began by more than a
    // step of the clock, so that any later change shows in its times.
    bool settled(const FileState& state) const
    {
        return known && state.device == device && state.latestTime() < time - steps;
    }
};

ListingStart listingStartBeside(ConfinedFolder& cacheFolder, const QString& cacheName)
{
    const qsizetype slash = cacheName.lastIndexOf(QLatin1Char('/'));
    const QString probe = cacheName.left(slash + 1) + QLatin1Char('.') + cacheName.mid(slash + 1) + QStringLiteral(".probe");
    cacheFolder.remove(probe);
    if (!cacheFolder.writeNewFile(probe, QByteArray()))
        return {};
    const ConfinedFolder::Status status = cacheFolder.status(probe);
    cacheFolder.remove(probe);
    if (status.kind != ConfinedFolder::Kind::File)
        return {};
    ListingStart start;
    start.known = true;
    start.time = listingClock()(std::min(status.modifiedNanoseconds, status.changedNanoseconds));
    start.device = status.device;
    start.steps = status.modifiedNanoseconds % 1000000000 == 0 && status.changedNanoseconds % 1000000000 == 0 ? coarseTimeSteps : fineTimeSteps;
    return start;
}

struct ListedFile {
    QString name;
    QString path;          // below the listed folder
    FileState state;
    QString md5;           // "" until known
    bool readNow = false;  // digested by this listing
    bool steady = false;   // the same state before and after its reading
    bool gone = false;     // no plain file there any more when it was read
    QString failure;
};

struct ListedFolder {
    QString name;
    std::vector<ListedFile> files;
    std::vector<ListedFolder> folders;
    // Entries that cannot be published, with their paths below the top.
    FileFailures unread;
};

// The bytes of a name that is no UTF-8 text, for a message: printable ASCII
// as it is, every other byte as "\xHH", as the listing tool shows them.
QString shownBytes(const QByteArray& bytes)
{
    QString shown;
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            shown += QLatin1Char(b);
        else
            shown += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return shown;
}

bool isUtf8(const char* name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(name));
    return !decoder.hasError();
}

QString systemReason(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// Entries in the order of the bytes of their UTF-8 names, as the listing tool sorts them.
template <class T>
void sortByName(std::vector<T>& entries)
{
    std::vector<std::pair<QByteArray, T>> keyed;
    keyed.reserve(entries.size());
    for (T& entry : entries)
        keyed.emplace_back(entry.name.toUtf8(), std::move(entry));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.clear();
    for (auto& [key, entry] : keyed)
        entries.push_back(std::move(entry));
}

// Lists the folder open at the descriptor (which it closes) and everything
// below it: plain files with their states, and folders; links and other
// kinds of entry are named among the entries that cannot be published.
bool walkFolder(int descriptor, const QString& below, ListedFolder& folder, QString& error)
{
    DIR* stream = ::fdopendir(descriptor);
    if (!stream) {
        error = QStringLiteral("cannot read the folder ") + below + QStringLiteral(": ") + systemReason(errno);
        ::close(descriptor);
        return false;
    }
    const int at = ::dirfd(stream);
    std::vector<QByteArray> subfolders;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream);
        if (!entry)
            break;
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        // A name no road can carry as the site's other names: said, never
        // read under a name it does not have.
        if (!isUtf8(name)) {
            folder.unread.append({ below + shownBytes(QByteArray(name)), QStringLiteral("its name is not UTF-8 text") });
            continue;
        }
        struct stat status {};
        if (::fstatat(at, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            error = QStringLiteral("cannot read ") + below + lq::fileNameFromUtf8(name) + QStringLiteral(": ") + systemReason(errno);
            ::closedir(stream);
            return false;
        }
        if (S_ISREG(status.st_mode)) {
            ListedFile file;
            file.name = lq::fileNameFromUtf8(name);
            file.path = below + file.name;
            file.state = FileState::of(status);
            folder.files.push_back(std::move(file));
        } else if (S_ISDIR(status.st_mode)) {
            subfolders.emplace_back(name);
        } else {
            // Never followed, never opened: named, so that it is neither
            // sent nor taken for deleted.
            folder.unread.append({ below + lq::fileNameFromUtf8(name),
                S_ISLNK(status.st_mode) ? QStringLiteral("it is a link, which is never followed")
                                        : QStringLiteral("it is neither a file nor a folder") });
        }
    }
    if (errno != 0) {
        error = QStringLiteral("cannot read the folder ") + below + QStringLiteral(": ") + systemReason(errno);
        ::closedir(stream);
        return false;
    }
    sortByName(folder.files);
    for (const QByteArray& name : subfolders) {
        ListedFolder subfolder;
        subfolder.name = lq::fileNameFromUtf8(name);
        folder.folders.push_back(std::move(subfolder));
    }
    sortByName(folder.folders);
    for (ListedFolder& subfolder : folder.folders) {
        const QString path = below + subfolder.name + QLatin1Char('/');
        const int inside = ::openat(at, QFile::encodeName(subfolder.name).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inside < 0) {
            error = QStringLiteral("cannot read the folder ") + path + QStringLiteral(": ") + systemReason(errno);
            ::closedir(stream);
            return false;
        }
        if (!walkFolder(inside, path, subfolder, error)) {
            ::closedir(stream);
            return false;
        }
    }
    ::closedir(stream);
    return true;
}

// Reads the file whole, opened through the gateway of the listed folder,
// and takes its MD5 digest, with the state it was in.
void digestFile(const ConfinedFolder& root, ListedFile& file, QByteArray& buffer)
{
    QString why;
    const FileDescriptor descriptor = root.openForReading(file.path, &why);
    if (!descriptor.isValid()) {
        // Gone since the walk (or a link or no plain file now): nothing to list there.
        const ConfinedFolder::Kind kind = root.status(file.path).kind;
        if (kind != ConfinedFolder::Kind::File)
            file.gone = true;
        else
            file.failure = why;
        return;
    }
    struct stat before {};
    if (::fstat(descriptor.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
        file.gone = true;
        return;
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (;;) {
        const ssize_t count = ::read(descriptor.get(), buffer.data(), static_cast<size_t>(buffer.size()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            file.failure = QStringLiteral("cannot read ") + file.path + QStringLiteral(": ") + systemReason(errno);
            return;
        }
        if (count == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), count));
    }
    struct stat after {};
    const bool stated = ::fstat(descriptor.get(), &after) == 0;
    file.md5 = QString::fromLatin1(hash.result().toHex());
    file.readNow = true;
    file.state = FileState::of(before);
    file.steady = stated && FileState::of(after) == file.state;
}

// Digests the files, on as many cores as there are (and files to share).
void digestFiles(const ConfinedFolder& root, const std::vector<ListedFile*>& files)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min(cores, files.size());
    if (threads == 0)
        return;
    std::atomic<std::size_t> next { 0 };
    const auto work = [&] {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (std::size_t i = next++; i < files.size(); i = next++)
            digestFile(root, *files[i], buffer);
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

void collectUnknown(ListedFolder& folder, const DigestCache& cache, std::vector<ListedFile*>& unknown)
{
    for (ListedFile& file : folder.files) {
        file.md5 = cache.digest(file.path, file.state);
        if (file.md5.isEmpty())
            unknown.push_back(&file);
    }
    for (ListedFolder& subfolder : folder.folders)
        collectUnknown(subfolder, cache, unknown);
}

// The digest tree of the listed folder; the digests worth keeping go into the new cache.
std::shared_ptr<XmlD> treeOf(const ListedFolder& folder, const ListingStart& start, DigestCache& kept, ListingReport& report)
{
    auto tree = XmlD::create();
    tree->setName(folder.name);
    for (const ListedFile& file : folder.files) {
        if (file.gone)
            continue;
        auto node = XmlF::create();
        node->setName(file.name);
        node->setMd5(file.md5);
        tree->addChild(node);
        ++report.files;
        if (file.readNow)
            ++report.digested;
        if (!file.readNow || (file.steady && start.settled(file.state)))
            kept.remember(file.path, file.state, file.md5);
    }
    for (const ListedFolder& subfolder : folder.folders)
        tree->addChild(treeOf(subfolder, start, kept, report));
    return tree;
}

void collectUnread(const ListedFolder& folder, XmlD& tree)
{
    for (const FileFailure& failure : folder.unread)
        tree.addListingFailure(failure);
    for (const ListedFolder& subfolder : folder.folders)
        collectUnread(subfolder, tree);
}

QString firstFailure(const ListedFolder& folder)
{
    for (const ListedFile& file : folder.files)
        if (!file.failure.isEmpty())
            return file.failure;
    for (const ListedFolder& subfolder : folder.folders)
        if (const QString failure = firstFailure(subfolder); !failure.isEmpty())
            return failure;
    return QString();
}

} // namespace

std::shared_ptr<XmlD> createXmlD(const QString& folderPath, QString* error)
{
    QString path = folderPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = QFileInfo(path).isDir() ? ConfinedFolder::open(path, &why) : nullptr;
    if (!folder) {
        const QString reason = QStringLiteral("the folder ") + path + QStringLiteral("/ does not exist");
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error)
            *error = reason;
        return nullptr;
    }
    return createXmlD(*folder, QString(), error);
}

std::shared_ptr<XmlD> createXmlD(const ConfinedFolder& root, const QString& name, QString* error)
{
    // A listing that failed anywhere gives nothing at all: a partial tree
    // would make its missing files look deleted.
    if (name.isEmpty())
        return listFolder(root, QFileInfo(root.path()).fileName(), error);
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = root.folder(name, &why);
    if (!folder) {
        log(QStringLiteral("MyDocument createXmlD: ") + why);
        if (error)
            *error = why;
        return nullptr;
    }
    return listFolder(*folder, QFileInfo(name).fileName(), error);
}

std::shared_ptr<XmlD> createXmlDWithCache(const ConfinedFolder& root, const QString& name, ConfinedFolder& cacheFolder,
    const QString& cacheName, QString* error, ListingReport* report)
{
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = name.isEmpty() ? nullptr : root.folder(name, &why);
    if (!name.isEmpty() && !folder)
        return fail(why);
    const ConfinedFolder& listedRoot = name.isEmpty() ? root : *folder;
    // The start is read before any file is looked at.
    const ListingStart start = listingStartBeside(cacheFolder, cacheName);
    QString problem;
    DigestCache cache = DigestCache::read(cacheFolder, cacheName, &problem);
    if (!problem.isEmpty())
        log(QStringLiteral("The digests of the last listing were set aside: ") + problem);
    // A clock set back may stamp a file again with times it had before.
    if (!start.known || start.time < cache.listedAt())
        cache = DigestCache();

    // The walk goes by descriptors from the folder opened through the
    // gateway, one name at a time, never through a link.
    const int top = ::openat(listedRoot.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (top < 0)
        return fail(QStringLiteral("the folder ") + listedRoot.path() + QStringLiteral(" cannot be read: ") + systemReason(errno));
    ListedFolder listed;
    listed.name = QFileInfo(listedRoot.path()).fileName();
    QString walkError;
    if (!walkFolder(top, QString(), listed, walkError))
        return fail(walkError);
    std::vector<ListedFile*> unknown;
    collectUnknown(listed, cache, unknown);
    digestFiles(listedRoot, unknown);
    // A file that could not be read must not look deleted: nothing is listed.
    if (const QString failure = firstFailure(listed); !failure.isEmpty())
        return fail(failure);

    DigestCache kept;
    kept.setListedAt(start.time);
    ListingReport done;
    std::shared_ptr<XmlD> tree = treeOf(listed, start, kept, done);
    collectUnread(listed, *tree);
    if (report)
        *report = done;
    why.clear();
    if (start.known && !kept.write(cacheFolder, cacheName, &why))
        log(QStringLiteral("The digests of this listing were not kept: ") + why);
    return tree;
}

std::shared_ptr<XmlD> createXmlDWithCache(const QString& folderPath, const QString& cacheFile, QString* error, ListingReport* report)
{
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = ConfinedFolder::open(folderPath, &why);
    const QFileInfo cache(cacheFile);
    const std::shared_ptr<ConfinedFolder> cacheFolder = folder ? ConfinedFolder::open(cache.path(), &why) : nullptr;
    if (!cacheFolder) {
        log(QStringLiteral("MyDocument createXmlD: ") + why);
        if (error)
            *error = why;
        return nullptr;
    }
    return createXmlDWithCache(*folder, QString(), *cacheFolder, cache.fileName(), error, report);
}

QList<FileDigest> fileDigests(const XmlD* tree)
{
    QList<FileDigest> files;
    if (!tree)
        return files;
    files.reserve(tree->numberChildren());
    for (const XmlBasePtr& child : tree->children())
        if (XmlD::isFileNode(child.get()))
            files.append({ child->name(), static_cast<const XmlF*>(child.get())->md5() });
    return files;
}

std::shared_ptr<XmlD> readLastXmlD(const QString& siteFolder, QString* refusal)
{
    const QString path = siteFolder + QStringLiteral("/lastbom.xmlbase");
    if (!QFileInfo::exists(path))
        return nullptr;
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(lq::createWithFile(path));
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return nullptr;
    const QString unsafe = tree->firstUnsafeName();
    if (!unsafe.isEmpty()) {
        const QString why = QStringLiteral("The record of the last publication was set aside: it names ") + unsafe
            + QStringLiteral(", which is no file inside the site. Every file is sent and none is removed.");
        log(why);
        if (refusal)
            *refusal = why;
        return nullptr;
    }
    return tree;
}

bool writeLastXmlD(const QString& siteFolder, XmlD* tree, const std::function<void(const QString&)>& activity)
{
    const QString xml = tree ? tree->createXml() : QString();
    if (activity)
        activity(QStringLiteral("lastXmlD: ") + xml);
    if (!tree)
        return false;
    // The site folder's own file, replaced whole through its gateway (a link
    // in its place is replaced, never written through); it is the owner's
    // alone, as every element file.
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = ConfinedFolder::open(siteFolder, &why);
    if (!folder || !folder->writeFileAtomically(QStringLiteral("lastbom.xmlbase"), xml.toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
        log(why);
        return false;
    }
    return true;
}

} // namespace lq
