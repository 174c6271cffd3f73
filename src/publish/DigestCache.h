#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <functional>

struct stat;

namespace lq {

class ConfinedFolder;

// The clock listings read their start from. The listed files are stamped
// by the file system's clock, not the program's, so a listing reads the
// present time from the times of a new file it makes beside its cache; the
// clock is given that time (nanoseconds since the epoch) and answers the
// time the listing takes for its start: by default the stamped time
// itself. A clock standing ahead of the file system's lets the files
// written so far grow older without waiting for it (tests let time pass
// so); it must never go back.
using ListingClock = std::function<qint64(qint64 stamped)>;
// Sets the clock of every listing (nothing: the file system's own again).
void setListingClock(ListingClock clock);
const ListingClock& listingClock();

// What tells one state of a file on disk from another. Writing the file,
// renaming another over it, changing its times, its owner or its
// permissions moves at least one of these: a write or a change of times
// moves the change time, which no one can set back by hand; a rename over
// it brings another inode.
struct FileState {
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch
    qint64 changed = 0;  // nanoseconds since the epoch
    quint64 inode = 0;
    quint64 device = 0;

    static FileState of(const struct stat& status);
    // The later of the two times.
    qint64 latestTime() const { return modified > changed ? modified : changed; }
    bool operator==(const FileState& other) const = default;
};

// The digests a listing of a folder took, each with the state its file was
// in when it was read: a file found in the same state again need not be
// read again. It is kept in a file of its own; a file that is missing,
// damaged or of another kind reads as an empty cache, after which every
// file is read again, so losing it costs time and nothing else.
class DigestCache {
public:
    // The cache stored at the name below the folder (read through its
    // gateway); empty when there is none or it cannot be trusted whole (the
    // reason then goes to *problem when asked).
    static DigestCache read(const ConfinedFolder& folder, const QString& name, QString* problem = nullptr);
    // Stores the cache at the name (written beside it, then renamed over it).
    bool write(ConfinedFolder& folder, const QString& name, QString* error = nullptr) const;

    // The digest (hexadecimal) remembered for the file at the path below
    // the listed folder when it is in exactly that state; "" otherwise.
    QString digest(const QString& path, const FileState& state) const;
    void remember(const QString& path, const FileState& state, const QString& digest);
    int size() const { return static_cast<int>(_entries.size()); }

    // The file system's time (nanoseconds since the epoch) when the listing
    // that made the cache began. A listing that begins earlier than that
    // finds the clock set back and reads every file again.
    qint64 listedAt() const { return _listedAt; }
    void setListedAt(qint64 time) { _listedAt = time; }

private:
    struct Entry {
        FileState state;
        QString digest;
    };
    QHash<QString, Entry> _entries;
    qint64 _listedAt = 0;
};

} // namespace lq
