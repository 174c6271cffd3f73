#pragma once

// The one way to the files below a site folder or a folder destination.
//
// A ConfinedFolder holds an open descriptor of its root folder. Every
// operation takes a name relative to the root ("pictures/image3.jpg") and
// has the kernel resolve it from that descriptor, beneath the root and
// through no link at all (openat2 with RESOLVE_BENEATH, RESOLVE_NO_SYMLINKS
// and RESOLVE_NO_MAGICLINKS). The folder holding the entry is opened so, and
// the act is done on that folder's descriptor with the last name (mkdirat,
// renameat2, unlinkat, fstatat without following, an open with O_NOFOLLOW).
// A name with "..", an absolute name, an empty component, or a link anywhere
// on the way is refused, and since nothing is looked up twice from a string,
// nothing swapped in between a check and the act can lead the act outside.
// Whole trees (removal, copies, listings, syncs) are walked by descriptors;
// links met on the way are removed or left out, never followed.
//
// Each failure answers false (or nothing) and tells why in `error`, naming
// the entry and the reason: "cannot write pictures/image3.jpg: pictures is a
// link, which is never followed".

#include "platform/FileDescriptor.h"
#include "platform/FileHelpers.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

#include <sys/types.h>

namespace lq {

class ConfinedFolder {
public:
    // What is at a name.
    enum class Kind {
        Missing, // nothing is there (or no folder is on the way to it)
        Refused, // the way to it is not taken: a link on it, an unsafe name
        File,
        Folder,
        Link,
        Other, // a pipe, a device, a socket
    };

    struct Status {
        Kind kind = Kind::Missing;
        qint64 size = 0;
        mode_t mode = 0; // the permission bits (07777)
        QDateTime modified;
        // The modification and change times, in nanoseconds since the epoch.
        qint64 modifiedNanoseconds = 0;
        qint64 changedNanoseconds = 0;
        dev_t device = 0;
        ino_t inode = 0;

        bool exists() const { return kind != Kind::Missing && kind != Kind::Refused; }
    };

    // One entry of a listing: its name (a path below the listed folder in
    // a listing of the whole tree) and what it is.
    struct Entry {
        QString name;
        Kind kind = Kind::Missing;
    };

    // How a rename treats what is at the new name.
    enum class Replace {
        Never,    // something at the new name stops the rename (RENAME_NOREPLACE)
        Always,   // a file or link there is replaced in one step
        Exchange, // both must exist; they trade places in one step (RENAME_EXCHANGE)
    };

    // Opens the folder at the path as a root. The path is the program's own
    // (a site folder the user opened, a destination the user chose): links
    // on the way to it are followed this once, the root itself must be a
    // folder. Nothing, with the reason, when it cannot be opened.
    static std::shared_ptr<ConfinedFolder> open(const QString& path, QString* error = nullptr);

    ~ConfinedFolder();
    ConfinedFolder(const ConfinedFolder&) = delete;
    ConfinedFolder& operator=(const ConfinedFolder&) = delete;

    // The path the root was opened at, for messages; nothing is ever looked
    // up through it again.
    const QString& path() const { return _path; }
    // The root's descriptor (O_PATH), for the *at calls of code that works
    // on it directly; it stays owned by the folder.
    int descriptor() const { return _root; }
    // The name below the root of a path given in full beneath the root's
    // path ("<root>/pictures/a.jpg" gives "pictures/a.jpg"; the root's own
    // path gives ""), or nothing for a path elsewhere. Only the text is
    // compared: the name is then resolved from the descriptor as any other.
    std::optional<QString> nameOf(const QString& fullPath) const;
    // The path of a name, for messages and for the model's own names.
    QString pathOf(const QString& name) const;

    // Why the name cannot name an entry below the root, or "": it must be
    // relative, without empty, "." or ".." components. The kernel refuses
    // such names too; this tells it in words first.
    static QString unsafeName(const QString& name);

    // --- Questions ----------------------------------------------------------------
    // What is at the name, never following a link (a link is Kind::Link).
    // Missing when nothing is there; Refused, with the reason in `error`,
    // when the way to it is not taken (a link on it, an unsafe name).
    Status status(const QString& name, QString* error = nullptr) const;
    bool exists(const QString& name) const { return status(name).exists(); }
    bool isFile(const QString& name) const { return status(name).kind == Kind::File; }
    bool isFolder(const QString& name) const { return status(name).kind == Kind::Folder; }
    // The last modification time, or an invalid time when nothing is there.
    QDateTime modificationTime(const QString& name) const { return status(name).modified; }
    // The entries of the folder at the name ("" for the root), hidden ones
    // too, sorted by name; nothing (and why) when it is no folder or cannot
    // be reached. With wholeTree, every entry at any depth, by its path
    // below the folder; links are listed, never entered.
    std::optional<QList<Entry>> list(const QString& name = QString(), QString* error = nullptr, bool wholeTree = false) const;
    // The names of list(), or an empty list.
    QStringList names(const QString& name = QString(), bool wholeTree = false) const;

    // --- Reading ------------------------------------------------------------------
    // Opens the plain file at the name for reading. Nothing that is not a
    // plain file is ever read (a pipe cannot hold the open: it is opened
    // without waiting, then refused).
    FileDescriptor openForReading(const QString& name, QString* error = nullptr) const;
    // The bytes of the plain file at the name, refused when it holds more
    // than the bound (a negative bound: none).
    std::optional<QByteArray> readFile(const QString& name, qint64 bound, QString* error = nullptr) const;

    // --- Writing ------------------------------------------------------------------
    // Replaces the file at the name in one rename: a temporary file beside
    // it is written whole first (forced onto the disk, with the folder
    // after, when durable), so a failure leaves the old file as it was. A
    // folder at the name is never replaced; a link there is replaced, never
    // followed. A replaced file keeps its permissions unless ownerOnly.
    bool writeFileAtomically(const QString& name, const QByteArray& bytes, QString* error = nullptr, WriteOptions options = {});
    // Writes a new file at the name, where nothing may be (a link counts);
    // when something is, nothing is written and *existed tells so. A failed
    // write removes what was written.
    bool writeNewFile(const QString& name, const QByteArray& bytes, QString* error = nullptr, bool* existed = nullptr,
        WriteOptions options = {});
    // Makes a new folder at the name, where nothing may be yet (*existed
    // tells when something was).
    bool makeNewFolder(const QString& name, QString* error = nullptr, bool* existed = nullptr);
    // Makes the folder at the name, and with parents every missing folder
    // on the way (one level at a time, each below the one made before,
    // never through a link). An existing folder counts as made; anything
    // else in the way fails.
    bool makeFolder(const QString& name, QString* error = nullptr, bool parents = true, mode_t mode = 0777);
    // Makes a new folder of the name's beginning and a random ending, for a
    // change under way, owner-only; answers its name.
    std::optional<QString> makeTemporaryFolder(const QString& prefix, QString* error = nullptr);
    // Whether this program may create and remove entries in the folder at
    // the name (or write the file there).
    bool isWritable(const QString& name) const;
    // Renames the entry within the root.
    bool rename(const QString& from, const QString& to, Replace replace, QString* error = nullptr);
    // Moves the entry to a name below another root on the same file system.
    bool moveTo(const QString& from, const ConfinedFolder& target, const QString& to, Replace replace, QString* error = nullptr) const;
    // Removes the entry: a file, a link (never what it points at) or a
    // folder with everything in it, walked by descriptors. Nothing at the
    // name counts as removed; the root itself is never removed.
    bool remove(const QString& name, QString* error = nullptr);
    // Sets the permission bits of the file or folder at the name, on a
    // descriptor of the entry itself (a link is refused).
    bool setMode(const QString& name, mode_t mode, QString* error = nullptr);

    // --- Copies -------------------------------------------------------------------
    // Copies a file, or a folder with everything in it, from a path outside
    // every site (the program's resources, a private temporary folder, a
    // file the user chose) to the name, where nothing may be yet. Links
    // below the path are left out.
    bool copyIn(const QString& source, const QString& name, QString* error = nullptr);
    // Copies the file or folder at the name to a name below the target
    // (this folder or another), where nothing may be yet, by descriptors
    // on both sides. Links are left out; files keep their permissions.
    bool copyTo(const QString& name, ConfinedFolder& target, const QString& targetName, QString* error = nullptr) const;
    // Copies the file or folder at the name out to a path that is the
    // program's own (a private temporary folder), where nothing may be yet.
    bool copyOut(const QString& name, const QString& targetPath, QString* error = nullptr) const;

    // --- The disk -----------------------------------------------------------------
    // Forces the file at the name, or the files and folders of the tree
    // there ("" for the whole root), onto the disk: each file's writing is
    // started before the first is waited for.
    bool sync(const QString& name = QString(), QString* error = nullptr) const;
    // Forces the folder's entries (new, renamed and removed names) onto the disk.
    void syncFolder(const QString& name = QString()) const;

    // --- Sub-folders --------------------------------------------------------------
    // The folder at the name as a root of its own, opened through this one.
    std::shared_ptr<ConfinedFolder> folder(const QString& name, QString* error = nullptr) const;

private:
    ConfinedFolder(int root, QString path);

    // Opens the name below the root (the root itself for "") with the flags.
    FileDescriptor resolve(const QString& name, int flags, mode_t mode, QString* error, const QString& doing) const;
    // Opens the folder holding the name's last component and answers that
    // component.
    FileDescriptor openParent(const QString& name, QString& last, QString* error, const QString& doing) const;

    int _root = -1;
    QString _path;
};

} // namespace lq
