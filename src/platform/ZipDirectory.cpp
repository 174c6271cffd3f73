// Reading and editing zip archives as bytes: the central directory with its
// members, the checks on a member's name and size, and the archive comment.
// Nothing here runs a tool or writes a file (Zip.cpp does).
#include "platform/Zip.h"

#include "platform/InputLimits.h"

#include <QBuffer>
#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>

namespace lq {

namespace {

// --- The central directory -----------------------------------------------------

// The file types of a member's Unix mode.
constexpr quint32 fileTypeMask = 0170000;
constexpr quint32 regularFileType = 0100000;
constexpr quint32 directoryType = 0040000;
constexpr quint32 linkType = 0120000;

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
