#pragma once

// Zip archives, read and written through the system's zip and unzip tools.
// Every tool is waited for and its exit status checked; a failure is logged
// as "zip failed: <detail>" and shows in the answer.
//
// Archives come from outside (theme archives are shared between users), so
// unzipInto reads the names as the archive stores them, refuses any member
// that could land outside the target folder, unpacks into a private folder
// and moves the result into place only when everything is as listed.

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lq {

// One member of an archive, as its central directory records it.
struct ZipMember {
    QByteArray storedName;    // the name's bytes exactly as stored
    QByteArray unicodeName;   // the UTF-8 name of an Info-ZIP Unicode path field, when there is one
    quint16 flags = 0;        // general purpose flags
    quint8 host = 0;          // the system the archive was made on (3: Unix)
    quint32 externalAttributes = 0;
    quint64 compressedSize = 0;   // the packed size the directory declares
    quint64 uncompressedSize = 0; // the size it declares the member unpacks to

    bool isEncrypted() const { return flags & 0x0001u; }
    // The Unix file type and mode, when the archive recorded one (else 0).
    quint32 unixMode() const { return externalAttributes >> 16; }
    bool isDirectory() const;
    bool isSymbolicLink() const;
    // Neither a plain file, a folder nor a link (a device, a pipe...).
    bool isSpecialFile() const;
};

// The members of the archive in the order of its central directory; nothing
// when no readable central directory is found. Only the directory is read,
// not the members' data.
std::optional<QList<ZipMember>> readZipDirectory(QIODevice& archive);

// Why a member's stored name must not be unpacked, or "" when it may: it must
// name a place below the target folder, without control characters.
QString unsafeZipMemberName(const QByteArray& name);
// Why a member's declared size must not be unpacked, or "" when it may: it
// must stay within the bounds of inputLimits (its size, and its expansion
// over its packed size).
QString unsafeZipMemberSize(const ZipMember& member);

// Adds the member (a path relative to rootDir, with its files when recursive)
// to the archive, creating it when missing; answers whether the tool
// succeeded. Links are never followed: a link, the member itself or one
// below it, is left out, so that no file it points at is packed and no loop
// grows the archive. A member that is missing fails.
bool zipAdd(const QString& archive, const QString& rootDir, const QString& member, bool recursive);

// Unpacks the archive into the folder, replacing files of the same names, and
// answers the paths of the unpacked files relative to the folder, in the
// archive's order. Nothing when the archive cannot be read, the tool fails or
// the archive is refused (members with control characters, absolute paths or
// ".." components, links, special files, encrypted members, paths through
// links that lead out of the folder, members that declare or reach a size
// or expansion past the bounds of inputLimits, or files the tool wrote under
// other names than listed): then the folder is left as it was, and the
// error tells why ("the disk is full", "member ... would unpack to ...").
std::optional<QStringList> unzipInto(const QString& archive, const QString& folder, QString* error = nullptr);

// The picture of the archive's top-level "icon.jpg" at its pixel size, not
// flipped; null when there is none or it cannot be decoded. Having no icon is
// ordinary and not logged.
QImage zipIcon(const QString& archive);
// Stores the image as the archive's top-level "icon.jpg" (JPEG at 0.9),
// replacing an earlier icon; answers success.
bool setZipIcon(const QString& archive, const QImage& icon);

// The most bytes (in UTF-8) an archive's comment can have.
constexpr qsizetype maxZipCommentBytes = 0xFFFF;
// The archive's comment ("" when it has none); nothing (null) when it cannot be read.
QString zipComment(const QString& archive);
// The same of an archive opened for reading.
QString zipComment(QIODevice& archive);
// Why the text cannot be an archive's comment ("" when it can): it must fit
// in maxZipCommentBytes and hold no control characters but line ends and tabs.
QString unsafeZipComment(const QString& comment);
// Replaces the archive's comment, byte for byte as zipComment gives it back,
// the archive being replaced whole; answers success. A comment that
// unsafeZipComment refuses is not stored, and `error` says why.
bool setZipComment(const QString& archive, const QString& comment, QString* error = nullptr);
// The bytes of the archive with the comment in place of its own, for a
// caller that writes them itself; nothing, and why, when the bytes are no
// archive or the comment is refused.
std::optional<QByteArray> withZipComment(const QByteArray& archive, const QString& comment, QString* error = nullptr);

// The archive's bytes with its member of the stored name `from` renamed to
// `to`, a name of the same length, in the directory and in the member's own
// header; nothing when the archive holds no such member or is not laid out
// as the tool lays archives out.
std::optional<QByteArray> zipWithMemberRenamed(const QByteArray& archive, const QByteArray& from, const QByteArray& to);

} // namespace lq
