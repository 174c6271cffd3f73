#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The hold of one program on one document folder: the lock file
// ".lumenquill.lock" in the folder names the program that holds it. A second
// program asking for the folder is refused and told who holds it; a lock
// left by a program that is gone (killed, crashed) is taken over. Within one
// program the holds of a folder share its lock (the program itself never
// opens one site in two windows), which goes when the last lets go.
class SiteLock {
public:
    static const QString lockName;

    SiteLock();
    ~SiteLock();
    SiteLock(const SiteLock&) = delete;
    SiteLock& operator=(const SiteLock&) = delete;

    // Takes the folder, letting go of one held before. False when another
    // program holds it (or the lock cannot be made); why then says which
    // program ("it is open in another program: lumenquill, process 4711").
    // A folder where no lock can be written (a read-only disk) is held
    // without one: nobody can change it there.
    bool acquire(const QString& folder, QString* why);
    // Lets go of the folder held.
    void release();
    // The folder held, or "".
    const QString& folder() const { return _folder; }

private:
    std::shared_ptr<QLockFile> _lock;
    QString _folder;
};
