#pragma once

#include <QString>

#include <memory>

// The hold of one program on one document folder: the lock file
// ".lumenquill.lock" in the folder, locked by the system for as long as the
// program holds the folder, names the program that holds it. A second
// program asking for the folder is refused and told who holds it. Whatever
// else lies under that name is taken over, with a line in the log: a lock
// file no live program holds (its program killed or crashed, a copy of the
// folder), an empty or garbled one, a link (followed never, wherever it
// leads), a pipe, a device or a folder, and a lock file with another link
// (a hard link to a file elsewhere, whose bytes the lock's text would
// replace): its name is taken away and a new file made in its place. Nothing
// there can make the open wait, and the lock's text is written only into a
// file of one link.
// Within one program the holds of a folder share its lock (the program
// itself never opens one site in two windows), which goes when the last
// lets go.
class SiteLock {
public:
    static const QString lockName;

    SiteLock();
    ~SiteLock();
    SiteLock(const SiteLock&) = delete;
    SiteLock& operator=(const SiteLock&) = delete;

    // Takes the folder, letting go of one held before. False when another
    // program holds it (or it is no folder); why then says which program
    // ("it is open in another program: lumenquill, process 4711"). A folder
    // where no lock file can be made or written (a read-only folder, a full
    // disk) is held all the same, and unlocked() says why; a later call
    // tries the lock file again.
    bool acquire(const QString& folder, QString* why);
    // Lets go of the folder held.
    void release();
    // The folder held, or "".
    const QString& folder() const { return _folder; }
    // Why the folder is held without a working lock file ("its lock file
    // cannot be written: No space left on device"), or "" when it is locked
    // or read-only (nobody can change it there).
    QString unlocked() const;
    // The line telling what was taken over at the last acquire ("" when
    // nothing was): for the Activity log.
    const QString& takenOver() const { return _takenOver; }

    struct Hold;

private:
    std::shared_ptr<Hold> _hold;
    QString _folder;
    QString _takenOver;
};
