#include "platform/Zip.h"

#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace lq {

namespace {

const QString zipTool = QStringLiteral("/usr/bin/zip");
const QString unzipTool = QStringLiteral("/usr/bin/unzip");

// Exit status of unzip when the member asked for is not in the archive.
constexpr int unzipNoMatchingFiles = 11;
// Exit status of unzip for warnings after which everything was processed.
constexpr int unzipWarnings = 1;

void logZipFailure(const QString& detail)
{
    log(QStringLiteral("zip failed: ") + detail);
}

// Runs a tool and logs its failure. unzip's status 1 means that it warned but
// did all it was asked, which counts as success here.
bool runTool(const QString& tool, const QStringList& arguments, const QString& folder,
    ProcessResult& result, const std::optional<QByteArray>& input = std::nullopt)
{
    result = runProcess(tool, arguments, folder, input);
    const bool tolerated = tool == unzipTool && result.started && !result.crashed && result.exitCode == unzipWarnings;
    if (result.succeeded() || tolerated)
        return true;
    logZipFailure(result.failureDetail(tool));
    return false;
}

// The platform's temporary folder, where the archive's own tools run.
QString temporaryFolder()
{
    return QDir::tempPath();
}

// Paths handed to tools running in another folder must not depend on it.
QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// --- Member checks ----------------------------------------------------------------

// A name as it prints in the log: control characters shown as "\xNN".
QString printable(const QByteArray& name)
{
    QString text;
    for (const QChar c : QString::fromUtf8(name)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text;
}

// The paths the tool may write a member's name as: its components without
// empty and "." ones, joined by "/", with backslashes as separators (as the
// tool takes them from archives of other systems) or as part of the names.
std::set<std::string> pathsOf(const QByteArray& name)
{
    std::set<std::string> paths;
    for (const bool backslashSeparates : { false, true }) {
        QByteArray separated = name;
        if (backslashSeparates)
            separated.replace('\\', '/');
        std::string path;
        for (const QByteArray& component : separated.split('/')) {
            if (component.isEmpty() || component == ".")
                continue;
            if (!path.empty())
                path += '/';
            path += component.toStdString();
        }
        if (!path.empty())
            paths.insert(path);
    }
    return paths;
}

// Why the member's kind must not be unpacked, or "": only plain files and
// folders are; links and other special files could point anywhere, and
// encrypted members would make the tool ask for a password.
QString unsafeMemberKind(const ZipMember& member)
{
    if (member.isSymbolicLink())
        return QStringLiteral("is a symbolic link");
    if (member.isSpecialFile())
        return QStringLiteral("is a special file");
    if (member.isEncrypted())
        return QStringLiteral("is encrypted");
    return QString();
}

bool isInside(const QString& canonicalPath, const QString& canonicalFolder)
{
    if (canonicalPath.isEmpty() || canonicalFolder.isEmpty())
        return false;
    if (canonicalPath == canonicalFolder)
        return true;
    const QString prefix = canonicalFolder.endsWith(QLatin1Char('/')) ? canonicalFolder : canonicalFolder + QLatin1Char('/');
    return canonicalPath.startsWith(prefix);
}

// Why writing the relative path into the folder could go outside it through
// a link that is already there, or "".
QString unsafeExistingPath(const QString& folder, const QString& canonicalFolder, const QString& relative)
{
    QString path = folder;
    for (const QString& component : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + component;
        const QFileInfo info(path);
        if (info.isSymLink()) {
            if (!isInside(info.canonicalFilePath(), canonicalFolder))
                return QStringLiteral("would be written through a link out of the folder");
        } else if (!info.exists()) {
            break;
        }
    }
    return QString();
}

QString qPath(const fs::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

fs::path fsPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

// One entry the tool wrote into the private folder.
struct Unpacked {
    std::string relative; // as the file system names it
    bool directory = false;
};

// The checked plan of an unpacking: what each member may be written as.
struct Plan {
    std::set<std::string> files;        // every path a listed file may have
    std::set<std::string> directories;  // listed folders and the parents of every listed path
    std::vector<std::set<std::string>> fileOrder; // the file paths of each listed file, in archive order
};

// The files the tool wrote into the private folder, parents before their
// contents; nothing when anything there is other than a plain file or folder
// or was not listed under that name.
std::optional<std::vector<Unpacked>> writtenEntries(const fs::path& staging, const Plan& plan, QString& why)
{
    std::vector<Unpacked> entries;
    std::error_code error;
    for (fs::recursive_directory_iterator it(staging, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (error)
            break;
        const std::string relative = it->path().lexically_relative(staging).native();
        if (fs::is_symlink(status)) {
            why = QStringLiteral("\"%1\" was unpacked as a link").arg(QString::fromStdString(relative));
            return std::nullopt;
        }
        const bool directory = fs::is_directory(status);
        if (!directory && !fs::is_regular_file(status)) {
            why = QStringLiteral("\"%1\" was unpacked as a special file").arg(QString::fromStdString(relative));
            return std::nullopt;
        }
        const std::set<std::string>& allowed = directory ? plan.directories : plan.files;
        if (!allowed.contains(relative)) {
            why = QStringLiteral("\"%1\" was unpacked under a name the archive does not list")
                      .arg(printable(QByteArray::fromStdString(relative)));
            return std::nullopt;
        }
        entries.push_back({ relative, directory });
    }
    if (error) {
        why = QStringLiteral("the unpacked files cannot be listed: ") + QString::fromStdString(error.message());
        return std::nullopt;
    }
    std::sort(entries.begin(), entries.end(), [](const Unpacked& a, const Unpacked& b) { return a.relative < b.relative; });
    return entries;
}

// Why the entry cannot take its place in the folder, or "".
QString conflictAt(const QString& folder, const QString& canonicalFolder, const Unpacked& entry)
{
    const QString relative = QFile::decodeName(QByteArray::fromStdString(entry.relative));
    const QString unsafe = unsafeExistingPath(folder, canonicalFolder, relative);
    if (!unsafe.isEmpty())
        return QStringLiteral("\"%1\" %2").arg(relative, unsafe);
    std::error_code error;
    const fs::path destination = fsPath(folder) / entry.relative;
    const fs::file_status existing = fs::symlink_status(destination, error);
    if (!fs::exists(existing))
        return QString();
    // An existing folder or a link to a folder inside takes the folder's
    // contents; an existing file is replaced; anything else is in the way.
    const bool existingFolder = fs::is_directory(fs::status(destination, error));
    if (entry.directory ? !existingFolder : fs::is_directory(existing))
        return QStringLiteral("\"%1\" is in the way of the archive's %2")
            .arg(relative, entry.directory ? QStringLiteral("folder") : QStringLiteral("file"));
    return QString();
}

// Moves one unpacked entry into the folder, after checking again that its
// place lies inside the folder.
bool placeEntry(const fs::path& staging, const QString& folder, const QString& canonicalFolder, const Unpacked& entry, QString& why)
{
    why = conflictAt(folder, canonicalFolder, entry);
    if (!why.isEmpty())
        return false;
    const fs::path destination = fsPath(folder) / entry.relative;
    const QString parent = QFileInfo(qPath(destination.parent_path())).canonicalFilePath();
    if (!isInside(parent, canonicalFolder)) {
        why = QStringLiteral("\"%1\" would land outside the folder").arg(qPath(entry.relative));
        return false;
    }
    std::error_code error;
    if (entry.directory) {
        if (!fs::is_directory(fs::status(destination, error)) && !fs::create_directory(destination, error)) {
            why = QStringLiteral("cannot make the folder \"%1\": %2").arg(qPath(entry.relative), QString::fromStdString(error.message()));
            return false;
        }
        return true;
    }
    // rename() replaces an existing file (or link) at once and never writes
    // through a link at the destination.
    const fs::path source = staging / entry.relative;
    fs::rename(source, destination, error);
    if (error == std::errc::cross_device_link) {
        error.clear();
        fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error);
    }
    if (error) {
        why = QStringLiteral("cannot put \"%1\" in place: %2").arg(qPath(entry.relative), QString::fromStdString(error.message()));
        return false;
    }
    if (!isInside(QFileInfo(qPath(destination)).canonicalFilePath(), canonicalFolder)) {
        why = QStringLiteral("\"%1\" landed outside the folder").arg(qPath(entry.relative));
        return false;
    }
    return true;
}

// Why the unpacking tool failed, in the words a user can act on.
QString unpackFailure(const QString& archive, const ProcessResult& result)
{
    const QString detail = result.failureDetail(unzipTool);
    if (result.crashed && result.started)
        return QStringLiteral("refusing ") + archive + QStringLiteral(": a member unpacks to more than the ")
            + describeSize(inputLimits().archiveMemberBytes) + QStringLiteral(" a member may have (") + detail + QLatin1Char(')');
    const QString said = QString::fromLocal8Bit(result.output + result.error);
    if (said.contains(QStringLiteral("disk full"), Qt::CaseInsensitive) || said.contains(QStringLiteral("No space left"), Qt::CaseInsensitive))
        return QStringLiteral("cannot unpack ") + archive + QStringLiteral(": No space left on device");
    return QStringLiteral("cannot unpack ") + archive + QStringLiteral(": ") + detail;
}

// Adds the member's path and, when recursive, the paths of everything below
// it to names, in name order; links, special files and names the tool's
// list cannot carry (with a line end) are left out.
void addUnlinkedNames(const QString& rootDir, const QString& member, bool recursive, QStringList& names)
{
    const QFileInfo entry(rootDir + QLatin1Char('/') + member);
    if (entry.isSymLink() || !(entry.isFile() || entry.isDir()))
        return;
    names.append(member);
    if (!entry.isDir() || !recursive)
        return;
    const QStringList children = QDir(entry.filePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& child : children)
        addUnlinkedNames(rootDir, member + QLatin1Char('/') + child, recursive, names);
}

// A private folder inside the target folder (so that moving out of it stays
// on one file system), removed with everything in it at the end, whatever
// names the tool gave the files.
class StagingFolder {
public:
    explicit StagingFolder(const QString& folder)
        : _dir(folder + QStringLiteral("/.lumenquill-unzip-XXXXXX"))
    {
        _dir.setAutoRemove(false);
    }
    ~StagingFolder()
    {
        if (_dir.isValid()) {
            std::error_code error;
            fs::remove_all(path(), error);
        }
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    bool isValid() const { return _dir.isValid(); }
    QString errorString() const { return _dir.errorString(); }
    QString qPath() const { return _dir.path(); }
    fs::path path() const { return fsPath(_dir.path()); }

private:
    QTemporaryDir _dir;
};

} // namespace


bool zipAdd(const QString& archive, const QString& rootDir, const QString& member, bool recursive)
{
    // The names are worked out here, without following a link, and handed
    // to the tool one a line: a link is left out (it could point at a
    // private file, or back up the tree without end), and the tool neither
    // recurses, nor reads names as options or wildcards. -y stores a link
    // that appears meanwhile as a link, never the file it points at.
    const QFileInfo entry(rootDir + QLatin1Char('/') + member);
    if (!entry.exists() && !entry.isSymLink()) {
        logZipFailure(QStringLiteral("nothing to add at ") + entry.filePath());
        return false;
    }
    QStringList names;
    addUnlinkedNames(rootDir, member, recursive, names);
    if (names.isEmpty())
        return true;
    QByteArray list;
    for (const QString& name : names) {
        // The tool reads one name a line: a name with a line end would reach
        // it as other names, and the file would be left out unsaid.
        if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r'))) {
            logZipFailure(QStringLiteral("cannot add \"") + printable(QFile::encodeName(name)) + QStringLiteral("\" to ") + archive
                + QStringLiteral(": its name holds a line end"));
            return false;
        }
        list += QFile::encodeName(name) + '\n';
    }
    ProcessResult result;
    return runTool(zipTool, { QStringLiteral("-q"), QStringLiteral("-y"), QStringLiteral("-nw"), archive, QStringLiteral("-@") }, rootDir, result, list);
}

std::optional<QStringList> unzipInto(const QString& archive, const QString& folderGiven, QString* error)
{
    const auto failWith = [&](const QString& why) -> std::optional<QStringList> {
        logZipFailure(why);
        if (error)
            *error = why;
        return std::nullopt;
    };
    const auto refuse = [&](const QString& why) -> std::optional<QStringList> {
        return failWith(QStringLiteral("refusing ") + archive + QStringLiteral(": ") + why);
    };

    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(QStringLiteral("cannot read ") + archive + QStringLiteral(": ") + file.errorString());
    const std::optional<QList<ZipMember>> members = readZipDirectory(file);
    file.close();
    if (!members)
        return failWith(archive + QStringLiteral(" is no readable zip archive"));
    const QFileInfo folderInfo(folderGiven);
    if (!folderInfo.isDir())
        return failWith(QStringLiteral("no folder to unpack into: ") + folderGiven);
    const QString folder = folderInfo.absoluteFilePath();
    const QString canonicalFolder = folderInfo.canonicalFilePath();

    // Every name the archive stores for a member is checked as it stands.
    Plan plan;
    for (const ZipMember& member : *members) {
        std::set<std::string> paths;
        for (const QByteArray* stored : { &member.storedName, &member.unicodeName }) {
            const QByteArray& name = *stored;
            if (stored == &member.unicodeName && name.isEmpty())
                continue;
            const QString reasons[] = { unsafeZipMemberName(name), unsafeMemberKind(member), unsafeZipMemberSize(member) };
            for (const QString& reason : reasons) {
                if (!reason.isEmpty())
                    return refuse(QStringLiteral("member \"") + printable(name) + QStringLiteral("\" ") + reason);
            }
            paths.merge(pathsOf(name));
        }
        for (const std::string& path : paths) {
            const QString relative = QFile::decodeName(QByteArray::fromStdString(path));
            const QString unsafe = unsafeExistingPath(folder, canonicalFolder, relative);
            if (!unsafe.isEmpty())
                return refuse(QStringLiteral("member \"") + printable(member.storedName) + QStringLiteral("\" ") + unsafe);
            for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1))
                plan.directories.insert(path.substr(0, slash));
        }
        if (member.isDirectory()) {
            plan.directories.insert(paths.begin(), paths.end());
        } else {
            plan.files.insert(paths.begin(), paths.end());
            plan.fileOrder.push_back(std::move(paths));
        }
    }
    if (members->isEmpty())
        return QStringList();

    // The tool writes into a private folder first: what it wrote is checked
    // against the listing, and only a complete, checked result is moved in.
    const StagingFolder staging(folder);
    if (!staging.isValid())
        return failWith(QStringLiteral("no private folder to unpack into: ") + staging.errorString());
    // A member whose header lies about its size is stopped by the bound on
    // the files the tool may write.
    ProcessOptions unpacking;
    unpacking.workingFolder = staging.qPath();
    unpacking.fileSizeLimit = inputLimits().archiveMemberBytes;
    const ProcessResult unpacked = runProcess(unzipTool, { QStringLiteral("-o"), absolute(archive) }, unpacking);
    const bool warnedOnly = unpacked.started && !unpacked.crashed && unpacked.exitCode == unzipWarnings;
    if (!unpacked.succeeded() && !warnedOnly)
        return failWith(unpackFailure(archive, unpacked));

    QString why;
    const std::optional<std::vector<Unpacked>> entries = writtenEntries(staging.path(), plan, why);
    if (!entries)
        return refuse(why);
    for (const Unpacked& entry : *entries) {
        why = conflictAt(folder, canonicalFolder, entry);
        if (!why.isEmpty())
            return refuse(why);
    }
    std::set<std::string> placed;
    for (const Unpacked& entry : *entries) {
        if (!placeEntry(staging.path(), folder, canonicalFolder, entry, why))
            return failWith(archive + QStringLiteral(": ") + why);
        placed.insert(entry.relative);
    }

    QStringList files;
    for (const std::set<std::string>& paths : plan.fileOrder) {
        const auto found = std::find_if(paths.begin(), paths.end(), [&](const std::string& p) { return placed.contains(p); });
        if (found != paths.end())
            files.append(QFile::decodeName(QByteArray::fromStdString(*found)));
    }
    return files;
}

QImage zipIcon(const QString& archive)
{
    const ProcessResult result = runProcess(unzipTool,
        { QStringLiteral("-p"), absolute(archive), QStringLiteral("icon.jpg") }, temporaryFolder());
    // An archive without an icon is ordinary: only other failures are logged.
    if (result.started && !result.crashed && result.exitCode == unzipNoMatchingFiles)
        return QImage();
    if (!result.succeeded()) {
        logZipFailure(result.failureDetail(unzipTool));
        return QImage();
    }
    const QList<QImage> representations = decodeImageRepresentations(result.output);
    if (representations.isEmpty())
        return QImage();
    if (representations.size() > 1)
        log(QStringLiteral("multiple image reps"));
    return atPixelSize(representations.first());
}

bool setZipIcon(const QString& archive, const QImage& icon)
{
    // The icon is staged in a private folder of its own, so that no other
    // program or concurrent call can slip another file in under its name.
    QTemporaryDir staging(temporaryFolder() + QStringLiteral("/lumenquill-icon-XXXXXX"));
    if (!staging.isValid()) {
        logZipFailure(QStringLiteral("no temporary folder for the icon: ") + staging.errorString());
        return false;
    }
    const QByteArray jpeg = encodeImage(icon, ImageFormat::Jpeg, 0.9);
    QFile iconFile(staging.filePath(QStringLiteral("icon.jpg")));
    if (jpeg.isEmpty() || !iconFile.open(QIODevice::WriteOnly) || iconFile.write(jpeg) != jpeg.size()) {
        logZipFailure(QStringLiteral("could not write the icon of ") + archive);
        return false;
    }
    iconFile.close();
    ProcessResult result;
    return runTool(zipTool, { absolute(archive), QStringLiteral("icon.jpg") }, staging.path(), result);
}

QString zipComment(const QString& archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly)) {
        logZipFailure(QStringLiteral("cannot read ") + archive + QStringLiteral(": ") + file.errorString());
        return QString();
    }
    const QString comment = zipComment(file);
    if (comment.isNull())
        logZipFailure(archive + QStringLiteral(" is no readable zip archive"));
    return comment;
}

bool setZipComment(const QString& archive, const QString& comment, QString* error)
{
    const auto fail = [&](const QString& why) {
        logZipFailure(why);
        if (error)
            *error = why;
        return false;
    };
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read ") + archive + QStringLiteral(": ") + file.errorString());
    const QByteArray bytes = file.readAll();
    file.close();
    QString why;
    const std::optional<QByteArray> changed = withZipComment(bytes, comment, &why);
    if (!changed)
        return fail(QStringLiteral("cannot store the comment of ") + archive + QStringLiteral(": ") + why);
    if (*changed == bytes)
        return true;
    if (!writeFileAtomically(archive, *changed, &why))
        return fail(QStringLiteral("cannot store the comment of ") + archive + QStringLiteral(": ") + why);
    return true;
}

} // namespace lq
