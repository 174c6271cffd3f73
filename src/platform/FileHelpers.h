#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace lq {

// File operations on whole files and folder trees. Each answers whether it
// did what it was asked; the failures that tell why fill `error` when given.

// Copies a file, or a folder with everything in it, to a path where nothing
// is yet; an existing target is refused. Links are copied as the files they
// point at are not: they are left out.
bool copyItem(const QString& source, const QString& target, QString* error = nullptr);
// Moves a file or folder to a path where nothing is yet (a rename when both
// lie on one file system, else a copy and a removal).
bool moveItem(const QString& source, const QString& target, QString* error = nullptr);
// Removes a file, a link (not what it points at) or a folder with everything
// in it. Nothing at the path counts as done.
bool removeItem(const QString& path, QString* error = nullptr);
// The names of the folder's entries (hidden ones too, never "." and ".."),
// sorted; with recursive, the paths below the folder of everything at any depth.
QStringList folderEntries(const QString& folder, bool recursive = false);
// Forces the folder's entries (new, renamed and removed names) onto the disk.
void syncFolder(const QString& folder);
// The last modification time of the entry, or an invalid time when there is none.
QDateTime modificationDate(const QString& path);
// How a file is written.
struct WriteOptions {
    // Readable and writable by its owner only (0600), as the document's own
    // files and everything that holds credentials are; otherwise a new file
    // gets the usual permissions and a replaced one keeps its own.
    bool ownerOnly = false;
    // Forced onto the disk before it replaces the old file (and the folder
    // after), so that a crash or power loss leaves the old or the new file,
    // never an empty one.
    bool durable = false;
};

// Writes the bytes to the file atomically: a temporary file beside it is
// written, then renamed over it, so a failure leaves the old file whole.
// Every write, the flush to the disk and the close are checked; a failure
// tells the system's reason ("cannot write <path>: No space left on device").
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr, WriteOptions options = {});

// A file written completely beside its target and put in place later, so
// that several files replace their targets only once all of them are
// whole. Whatever is not committed is removed when the object goes.
class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Writes the bytes into a new temporary file beside the path.
    bool write(const QString& path, const QByteArray& bytes, WriteOptions options, QString* error = nullptr);
    // Renames the written file over the path.
    bool commit(QString* error = nullptr);
    // Removes the written file.
    void discard();

private:
    QString _path;
    QString _temporary;
    WriteOptions _options;
};

// Raises the failure of a write that a build depends on ("File write
// failed" with the reason), so that the step it belongs to counts as failed.
[[noreturn]] void raiseWriteFailure(const QString& why);

// Copies the file to the target, which must not exist; the copy keeps the
// permissions of the source. Every read and write is checked, and a failed
// copy leaves nothing at the target.
bool copyFile(const QString& source, const QString& target, QString* error = nullptr);


} // namespace lq
