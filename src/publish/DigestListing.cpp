#include "publish/DigestListing.h"

#include "platform/AuxiliaryTools.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "publish/DigestCache.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

std::shared_ptr<XmlD> listFolder(const QString& folderPath, QString* error)
{
    const QString tool = auxiliaryTool(QStringLiteral("xmldir"));
    QString path = folderPath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    if (tool.isEmpty())
        return fail(QStringLiteral("the listing tool \"xmldir\" is missing"));
    if (!QFileInfo(path).isDir())
        return fail(QStringLiteral("the folder ") + path + QStringLiteral(" does not exist"));
    const QString name = QFileInfo(path.chopped(1)).fileName();
    const ProcessResult run = runProcess(tool, { name }, path);
    if (!run.succeeded())
        return fail(run.failureDetail(tool));
    const XmlBasePtr root = XmlBase::createWithXmlRootDir(QString::fromUtf8(run.output), QString());
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(root);
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return fail(QStringLiteral("the listing of ") + path + QStringLiteral(" is no folder"));
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
        const QString subfolder = XmlD::nameFromEscaped(QStringView(rest).left(colon));
        if (subfolder == QStringLiteral("*") || !XmlD::isSafeName(subfolder))
            continue;
        std::shared_ptr<XmlD> child = listFolder(path + subfolder + QLatin1Char('/'), error);
        if (!child)
            return nullptr;
        for (const FileFailure& failure : child->listingFailures())
            tree->addListingFailure({ subfolder + QLatin1Char('/') + failure.path, failure.why });
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

ListingStart listingStartBeside(const QString& cacheFile)
{
    const QFileInfo cache(cacheFile);
    const QByteArray probe = QFile::encodeName(cache.path() + QStringLiteral("/.") + cache.fileName() + QStringLiteral(".probe"));
    ::unlink(probe.constData());
    const int descriptor = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return {};
    struct stat status {};
    const bool stated = ::fstat(descriptor, &status) == 0;
    ::close(descriptor);
    ::unlink(probe.constData());
    if (!stated)
        return {};
    ListingStart start;
    const FileState state = FileState::of(status);
    start.known = true;
    start.time = std::min(state.modified, state.changed);
    start.device = state.device;
    start.steps = status.st_mtim.tv_nsec == 0 && status.st_ctim.tv_nsec == 0 ? coarseTimeSteps : fineTimeSteps;
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
};

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
// kinds of entry are left out.
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
        struct stat status {};
        if (::fstatat(at, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            error = QStringLiteral("cannot read ") + below + QFile::decodeName(name) + QStringLiteral(": ") + systemReason(errno);
            ::closedir(stream);
            return false;
        }
        if (S_ISREG(status.st_mode)) {
            ListedFile file;
            file.name = QFile::decodeName(name);
            file.path = below + file.name;
            file.state = FileState::of(status);
            folder.files.push_back(std::move(file));
        } else if (S_ISDIR(status.st_mode)) {
            subfolders.emplace_back(name);
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
        subfolder.name = QFile::decodeName(name);
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

// Reads the file whole and takes its MD5 digest, with the state it was in.
void digestFile(const QString& root, ListedFile& file, QByteArray& buffer)
{
    const int descriptor = ::open(QFile::encodeName(root + file.path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0) {
        // Gone since the walk (or a link now): no plain file to list there.
        if (errno == ENOENT || errno == ELOOP)
            file.gone = true;
        else
            file.failure = QStringLiteral("cannot read ") + file.path + QStringLiteral(": ") + systemReason(errno);
        return;
    }
    struct stat before {};
    if (::fstat(descriptor, &before) != 0 || !S_ISREG(before.st_mode)) {
        file.gone = true;
        ::close(descriptor);
        return;
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer.data(), static_cast<size_t>(buffer.size()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            file.failure = QStringLiteral("cannot read ") + file.path + QStringLiteral(": ") + systemReason(errno);
            ::close(descriptor);
            return;
        }
        if (count == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), count));
    }
    struct stat after {};
    const bool stated = ::fstat(descriptor, &after) == 0;
    ::close(descriptor);
    file.md5 = QString::fromLatin1(hash.result().toHex());
    file.readNow = true;
    file.state = FileState::of(before);
    file.steady = stated && FileState::of(after) == file.state;
}

// Digests the files, on as many cores as there are (and files to share).
void digestFiles(const QString& root, const std::vector<ListedFile*>& files)
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
    // A listing that failed anywhere gives nothing at all: a partial tree
    // would make its missing files look deleted.
    return listFolder(folderPath, error);
}

std::shared_ptr<XmlD> createXmlDWithCache(const QString& folderPath, const QString& cacheFile, QString* error, ListingReport* report)
{
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    QString root = folderPath;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    // The start is read before any file is looked at.
    const ListingStart start = listingStartBeside(cacheFile);
    QString problem;
    DigestCache cache = DigestCache::read(cacheFile, &problem);
    if (!problem.isEmpty())
        log(QStringLiteral("The digests of the last listing were set aside: ") + problem);
    // A clock set back may stamp a file again with times it had before.
    if (!start.known || start.time < cache.listedAt())
        cache = DigestCache();

    const int top = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (top < 0)
        return fail(QStringLiteral("the folder ") + root + QStringLiteral(" cannot be read: ") + systemReason(errno));
    ListedFolder listed;
    listed.name = QFileInfo(root.chopped(1)).fileName();
    QString walkError;
    if (!walkFolder(top, QString(), listed, walkError))
        return fail(walkError);
    std::vector<ListedFile*> unknown;
    collectUnknown(listed, cache, unknown);
    digestFiles(root, unknown);
    // A file that could not be read must not look deleted: nothing is listed.
    if (const QString failure = firstFailure(listed); !failure.isEmpty())
        return fail(failure);

    DigestCache kept;
    kept.setListedAt(start.time);
    ListingReport done;
    std::shared_ptr<XmlD> tree = treeOf(listed, start, kept, done);
    if (report)
        *report = done;
    QString why;
    if (start.known && !kept.write(cacheFile, &why))
        log(QStringLiteral("The digests of this listing were not kept: ") + why);
    return tree;
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
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(XmlBase::createWithFile(path));
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
    return tree->saveToFile(siteFolder + QStringLiteral("/lastbom.xmlbase"));
}

} // namespace lq
