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
// The last modification time of the entry, or an invalid time when there is none.
QDateTime modificationDate(const QString& path);
// Writes the bytes to the file atomically: a temporary file beside it is
// written, then renamed over it, so a failure leaves the old file whole.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Writes the bytes over the file in place and leaves them to the system's
// cache: for files that can always be made again (the generated site), which
// are many and whose loss costs nothing but a rebuild. Every write and the
// close are checked.
bool writeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Forces the files and folders of the tree onto the disk, all at once: the
// writing of every file is started before the first is waited for, so that
// a tree written with writeFile costs about one wait, not one per file.
bool syncTree(const QString& folder, QString* error = nullptr);

} // namespace lq
