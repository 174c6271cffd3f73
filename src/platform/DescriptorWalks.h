#pragma once

// The steps under lq::ConfinedFolder, on descriptors: folders are opened
// from the folder above them, never through a link, and whole trees are
// walked, removed and copied that way, so that no path is looked up twice
// and a folder swapped for a link meanwhile is met as the link it is.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace lq::descriptors {

// Descriptors of folders that are only walked through or named in *at calls.
constexpr int folderPath = O_PATH | O_DIRECTORY | O_CLOEXEC;
// Descriptors of folders that are listed or synced.
constexpr int folderReading = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Files are opened without waiting: a pipe or a device cannot hold the
// open, and is refused once its kind is seen.
constexpr int fileReading = O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;

// The system's words for the error number ("No space left on device").
QString systemReason(int number);

// Opens the name (a path; "" for the folder itself) below the folder with
// openat2, beneath it and through no link of any kind; -1 and errno when
// it cannot (ELOOP: a link on the way, EXDEV: the name leads outside).
int openBeneath(int folder, const QByteArray& name, int flags, mode_t mode = 0);
// fstatat of one name in the folder, never following a link.
int statAt(int folder, const char* name, struct stat& status);
// The names of the folder's entries, sorted ("." and ".." left out);
// nothing, with errno in `number`, when it cannot be listed.
std::optional<QList<QByteArray>> entriesOf(int folder, int& number);
// Writes all the bytes, going on after short writes and interruptions.
bool writeAll(int descriptor, const char* data, qint64 size, int& number);
// Copies what is left to read of the input to the output, to the input's
// end; false, with errno in `number`, when a read or a write fails.
bool copyBytes(int input, int output, int& number);
// Why the entry of the status may not be changed in place (written,
// truncated, given a mode), or "": only a plain file no other name links
// to may be. A change through another link would land on the file under
// that name too, which may lie anywhere on the disk.
QString notChangedInPlace(const struct stat& status);
// Closes the descriptor; 0, or the error of a failed close (a delayed write error).
int closeChecked(int descriptor);

// Removes the folder of the name in the parent with everything in it.
// Links met are removed, never followed; a folder swapped for a link
// meanwhile is removed as that link.
bool removeTree(int parent, const char* name, int& number);
// Copies the entry of the name in one folder (a plain file, or a folder
// with everything in it) to a new entry of the other name in another,
// where nothing may be; files keep their permission bits. Links, pipes and
// devices are left out. A failed copy leaves nothing at the target.
bool copyEntry(int sourceFolder, const char* sourceName, int targetFolder, const char* targetName, QString& why);
// What a walk is told of each entry: the descriptor of its folder, its
// name there, its path below the folder the walk began in, its status.
using TreeVisit = std::function<void(int folder, const QByteArray& name, const QByteArray& path, const struct stat& status)>;
// Visits every entry of the tree below the folder, each folder before its
// entries; folders are entered, links never.
void walkTree(int folder, const TreeVisit& visit);

} // namespace lq::descriptors
