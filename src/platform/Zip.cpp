#include "platform/Zip.h"

#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// --- The central directory -----------------------------------------------------

constexpr quint32 endOfDirectorySignature = 0x06054b50;
constexpr quint32 zip64LocatorSignature = 0x07064b50;
constexpr quint32 zip64EndSignature = 0x06064b50;
constexpr quint32 directoryEntrySignature = 0x02014b50;
constexpr quint32 localHeaderSignature = 0x04034b50;
constexpr quint16 unicodePathField = 0x7075;
constexpr quint16 zip64Field = 0x0001;
constexpr qint64 endOfDirectorySize = 22;
constexpr qint64 zip64LocatorSize = 20;
constexpr qint64 zip64EndSize = 56;
constexpr qint64 directoryEntrySize = 46;
constexpr qint64 maxArchiveCommentSize = 0xFFFF;
// A directory larger than this is taken for a damaged one: no archive that the
// program handles comes near it.
constexpr quint64 maxDirectorySize = 64 * 1024 * 1024;

// Little-endian fields read one after the other; reading past the end gives
// zeros and clears ok.
class FieldReader {
public:
    explicit FieldReader(const QByteArray& data, qsizetype position = 0)
        : _data(data)
        , _position(position)
    {
    }

    bool ok() const { return _ok; }
    bool has(qint64 count) const { return _ok && count >= 0 && _position <= _data.size() && count <= _data.size() - _position; }

    quint64 unsignedOf(int size)
    {
        if (!has(size)) {
            _ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(_data[_position + i]);
        _position += size;
        return value;
    }
    quint16 u16() { return static_cast<quint16>(unsignedOf(2)); }
    quint32 u32() { return static_cast<quint32>(unsignedOf(4)); }
    quint64 u64() { return unsignedOf(8); }

    QByteArray take(qint64 count)
    {
        if (!has(count)) {
            _ok = false;
            return QByteArray();
        }
        const QByteArray part = _data.mid(_position, count);
        _position += count;
        return part;
    }

private:
    const QByteArray& _data;
    qsizetype _position;
    bool _ok = true;
};

std::optional<QByteArray> readAt(QIODevice& device, qint64 position, qint64 count)
{
    if (position < 0 || count < 0 || position > device.size() || count > device.size() - position)
        return std::nullopt;
    if (!device.seek(position))
        return std::nullopt;
    QByteArray bytes = device.read(count);
    if (bytes.size() != count)
        return std::nullopt;
    return bytes;
}

// Where the directory lies and how many entries it holds.
struct DirectoryPlace {
    quint64 entries = 0;
    quint64 size = 0;
    quint64 offset = 0;
    qint64 endRecord = 0; // the position of the end record
};

std::optional<DirectoryPlace> findDirectory(QIODevice& device)
{
    const qint64 size = device.size();
    if (size < endOfDirectorySize)
        return std::nullopt;
    // The end record stands at the very end, followed only by the archive comment.
    const qint64 tailSize = std::min(size, endOfDirectorySize + maxArchiveCommentSize);
    const std::optional<QByteArray> tail = readAt(device, size - tailSize, tailSize);
    if (!tail)
        return std::nullopt;
    for (qsizetype at = tail->size() - endOfDirectorySize; at >= 0; --at) {
        FieldReader record(*tail, at);
        if (record.u32() != endOfDirectorySignature)
            continue;
        const quint16 disk = record.u16();
        const quint16 directoryDisk = record.u16();
        record.u16(); // entries on this disk
        DirectoryPlace place;
        place.entries = record.u16();
        place.size = record.u32();
        place.offset = record.u32();
        place.endRecord = size - tailSize + at;
        if (!record.ok())
            return std::nullopt;
        if (place.entries == 0xFFFF || place.size == 0xFFFFFFFF || place.offset == 0xFFFFFFFF) {
            // Zip64: the real figures are in the record that the locator before
            // the end record points to.
            const std::optional<QByteArray> locator = readAt(device, place.endRecord - zip64LocatorSize, zip64LocatorSize);
            if (!locator)
                return std::nullopt;
            FieldReader fields(*locator);
            if (fields.u32() != zip64LocatorSignature)
                return std::nullopt;
            fields.u32(); // disk of the zip64 end record
            const quint64 endOffset = fields.u64();
            if (endOffset > quint64(size))
                return std::nullopt;
            const std::optional<QByteArray> end = readAt(device, qint64(endOffset), zip64EndSize);
            if (!end)
                return std::nullopt;
            FieldReader end64(*end);
            if (end64.u32() != zip64EndSignature)
                return std::nullopt;
            end64.take(28); // record size, versions, disk numbers, entries on this disk
            place.entries = end64.u64();
            place.size = end64.u64();
            place.offset = end64.u64();
            if (!end64.ok())
                return std::nullopt;
        } else if (disk != 0 || directoryDisk != 0) {
            return std::nullopt; // archives split over several files are not read
        }
        return place;
    }
    return std::nullopt;
}

std::optional<ZipMember> readEntry(FieldReader& fields)
{
    if (fields.u32() != directoryEntrySignature)
        return std::nullopt;
    ZipMember member;
    const quint16 madeBy = fields.u16();
    member.host = static_cast<quint8>(madeBy >> 8);
    fields.u16(); // version needed
    member.flags = fields.u16();
    fields.take(10); // method, time, date, CRC
    member.compressedSize = fields.u32();
    member.uncompressedSize = fields.u32();
    const quint16 nameLength = fields.u16();
    const quint16 extraLength = fields.u16();
    const quint16 commentLength = fields.u16();
    fields.take(4); // disk, internal attributes
    member.externalAttributes = fields.u32();
    fields.u32(); // offset of the local header
    member.storedName = fields.take(nameLength);
    const QByteArray extra = fields.take(extraLength);
    fields.take(commentLength);
    if (!fields.ok())
        return std::nullopt;

    FieldReader extraFields(extra);
    while (extraFields.has(4)) {
        const quint16 id = extraFields.u16();
        const quint16 length = extraFields.u16();
        const QByteArray data = extraFields.take(length);
        // Version 1, the CRC of the stored name, then the name in UTF-8.
        if (id == unicodePathField && data.size() >= 5 && data.at(0) == 1)
            member.unicodeName = data.mid(5);
        // The sizes too large for the entry, in the entry's order.
        if (id == zip64Field) {
            FieldReader sizes(data);
            if (member.uncompressedSize == 0xFFFFFFFFu && sizes.has(8))
                member.uncompressedSize = sizes.u64();
            if (member.compressedSize == 0xFFFFFFFFu && sizes.has(8))
                member.compressedSize = sizes.u64();
        }
    }
    return member;
}

// --- Member checks ----------------------------------------------------------------

constexpr quint32 fileTypeMask = 0170000;
constexpr quint32 regularFileType = 0100000;
constexpr quint32 directoryType = 0040000;
constexpr quint32 linkType = 0120000;

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

// --- ZipMember ---------------------------------------------------------------------

bool ZipMember::isDirectory() const
{
    const quint32 type = unixMode() & fileTypeMask;
    if (type != 0)
        return type == directoryType;
    // Without a Unix mode: the name's final separator or the DOS folder attribute.
    return storedName.endsWith('/') || storedName.endsWith('\\') || (externalAttributes & 0x10u);
}

bool ZipMember::isSymbolicLink() const
{
    return (unixMode() & fileTypeMask) == linkType;
}

bool ZipMember::isSpecialFile() const
{
    const quint32 type = unixMode() & fileTypeMask;
    return type != 0 && type != regularFileType && type != directoryType && type != linkType;
}

std::optional<QList<ZipMember>> readZipDirectory(QIODevice& archive)
{
    if (!archive.isOpen() || archive.isSequential())
        return std::nullopt;
    const std::optional<DirectoryPlace> place = findDirectory(archive);
    if (!place || place->size > maxDirectorySize || place->entries > place->size / directoryEntrySize)
        return std::nullopt;
    // Data put in front of an archive moves every offset by the same amount;
    // the directory then ends right before the end record all the same.
    // The directory lies before the end record.
    std::optional<QByteArray> directory;
    if (place->offset <= quint64(place->endRecord) && place->size <= quint64(place->endRecord) - place->offset)
        directory = readAt(archive, qint64(place->offset), qint64(place->size));
    const bool shifted = !directory || (place->entries > 0 && FieldReader(*directory).u32() != directoryEntrySignature);
    if (shifted && place->endRecord >= qint64(place->size))
        directory = readAt(archive, place->endRecord - qint64(place->size), qint64(place->size));
    if (!directory)
        return std::nullopt;

    QList<ZipMember> members;
    FieldReader fields(*directory);
    for (quint64 i = 0; i < place->entries; ++i) {
        std::optional<ZipMember> member = readEntry(fields);
        if (!member)
            return std::nullopt;
        members.append(std::move(*member));
    }
    return members;
}

QString unsafeZipMemberName(const QByteArray& name)
{
    if (name.isEmpty())
        return QStringLiteral("has no name");
    for (const char byte : name) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code == 0x7f)
            return QStringLiteral("has control characters");
    }
    const QString text = QString::fromUtf8(name);
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9f)
            return QStringLiteral("has control characters");
    }
    if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('\\')))
        return QStringLiteral("is an absolute path");
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(text).hasMatch())
        return QStringLiteral("is an absolute path");
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    if (text.split(separators).contains(QStringLiteral("..")))
        return QStringLiteral("leads out of the folder");
    return QString();
}

QString unsafeZipMemberSize(const ZipMember& member)
{
    const InputLimits& limits = inputLimits();
    if (member.uncompressedSize > quint64(limits.archiveMemberBytes))
        return QStringLiteral("would unpack to ") + describeSize(qint64(std::min<quint64>(member.uncompressedSize, quint64(1) << 62)))
            + QStringLiteral(", more than the ") + describeSize(limits.archiveMemberBytes) + QStringLiteral(" a member may have");
    if (member.uncompressedSize >= quint64(limits.archiveRatioFloorBytes)
        && member.uncompressedSize > quint64(limits.archiveRatio) * std::max<quint64>(member.compressedSize, 1))
        return QStringLiteral("would expand ") + QString::number(member.uncompressedSize / std::max<quint64>(member.compressedSize, 1))
            + QStringLiteral(" times, more than the ") + QString::number(limits.archiveRatio)
            + QStringLiteral(" times a member may expand");
    return QString();
}

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

QString zipComment(QIODevice& file)
{
    const std::optional<DirectoryPlace> place = findDirectory(file);
    const std::optional<QByteArray> length = place ? readAt(file, place->endRecord + endOfDirectorySize - 2, 2) : std::nullopt;
    if (!length)
        return QString();
    // The comment runs to the end of the archive; a length that claims more
    // than is there gives what is there.
    const qint64 start = place->endRecord + endOfDirectorySize;
    const qint64 count = std::min<qint64>(FieldReader(*length).u16(), file.size() - start);
    const std::optional<QByteArray> bytes = readAt(file, start, count);
    return bytes && !bytes->isEmpty() ? QString::fromUtf8(*bytes) : QStringLiteral("");
}

QString unsafeZipComment(const QString& comment)
{
    const qsizetype size = comment.toUtf8().size();
    if (size > maxZipCommentBytes)
        return QStringLiteral("the comment has %1 bytes, more than the %2 an archive can hold").arg(QString::number(size), QString::number(maxZipCommentBytes));
    // The archive's end record is found by its signature, which holds
    // control characters: none may stand in the comment after it.
    for (const QChar c : comment) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\r') && c != QLatin1Char('\t')) || c.unicode() == 0x7f)
            return QStringLiteral("the comment holds control characters");
    }
    return QString();
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

std::optional<QByteArray> withZipComment(const QByteArray& archive, const QString& comment, QString* error)
{
    const auto fail = [&](const QString& why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString unsafe = unsafeZipComment(comment);
    if (!unsafe.isEmpty())
        return fail(unsafe);
    // The comment is the archive's last part, after the end record that
    // gives its length: written here byte for byte, it reads back as it was.
    QByteArray bytes = archive;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<DirectoryPlace> place = findDirectory(buffer);
    buffer.close();
    if (!place)
        return fail(QStringLiteral("it is no readable zip archive"));
    const QByteArray text = comment.toUtf8();
    const qint64 lengthAt = place->endRecord + endOfDirectorySize - 2;
    if (bytes.mid(lengthAt + 2) == text && FieldReader(bytes, lengthAt).u16() == text.size())
        return bytes;
    bytes.truncate(lengthAt);
    bytes.append(char(text.size() & 0xff));
    bytes.append(char((text.size() >> 8) & 0xff));
    bytes.append(text);
    return bytes;
}

std::optional<QByteArray> zipWithMemberRenamed(const QByteArray& archive, const QByteArray& from, const QByteArray& to)
{
    if (from.isEmpty() || to.size() != from.size())
        return std::nullopt;
    QByteArray bytes = archive;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<DirectoryPlace> place = findDirectory(buffer);
    buffer.close();
    if (!place || place->offset > quint64(place->endRecord))
        return std::nullopt;
    // The name stands in the member's directory entry and in its own header,
    // after their fixed fields; no checksum covers it.
    qint64 at = qint64(place->offset);
    for (quint64 i = 0; i < place->entries; ++i) {
        FieldReader entry(bytes, at);
        if (entry.u32() != directoryEntrySignature)
            return std::nullopt;
        entry.take(24); // versions, flags, method, time, date, CRC, sizes
        const quint16 nameLength = entry.u16();
        const quint16 extraLength = entry.u16();
        const quint16 commentLength = entry.u16();
        entry.take(8); // disk, attributes
        const qint64 header = entry.u32();
        const qint64 name = at + directoryEntrySize;
        if (!entry.ok() || !entry.has(nameLength))
            return std::nullopt;
        if (bytes.mid(name, nameLength) == from) {
            FieldReader local(bytes, header);
            const bool matches = local.u32() == localHeaderSignature && !local.take(22).isEmpty() && local.u16() == from.size()
                && local.take(2).size() == 2 && local.take(from.size()) == from;
            if (!matches)
                return std::nullopt;
            bytes.replace(name, to.size(), to);
            bytes.replace(header + 30, to.size(), to);
            return bytes;
        }
        at = name + nameLength + extraLength + commentLength;
    }
    return std::nullopt;
}

} // namespace lq
