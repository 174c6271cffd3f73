#pragma once
#include <QString>

// The program's log file in the support folder: "activity.log" holds the
// standard error of the programs running now, "activity.log.1" to
// "activity.log.4" the logs before (the newest first); older logs are
// dropped. Only a run that starts the windows writes there.
//
// Several copies of the program may run at once (on different sites, or one
// refused a site another holds): they share "activity.log", each line
// stamped with its program's process number, and each appends to it. The log
// moves up (rotates) only when a program starts while no other writes there:
// each writing program holds a shared lock on "activity.lock" beside the log
// for as long as it runs, and the one that rotates holds it alone while it
// does. So no program moves away the log another is writing.
namespace StartupLog {

// How many logs are kept, the current one included.
constexpr int keptRuns = 5;

// How this run's log began.
enum class Start {
    Rotated,   // no other program wrote there: the older logs moved up, a fresh log began
    Shared,    // another program is writing there: this run appends to its log
    Unlocked,  // the lock could not be made: appended, nothing moved
    Failed,    // the log could not be opened: standard error stays where it was
};

// Begins this run's log: takes the lock, rotates when this program is the
// only one that will write there, and makes "activity.log" (opened for
// appending, mode 0644) the process's standard error. The lock is held
// until the process ends.
Start begin(const QString& supportFolder);

// Moves each older log one place up ("activity.log.3" to "activity.log.4"
// ... "activity.log" to "activity.log.1"); a missing file is no error. Only
// for a caller that knows no other program writes there (begin).
void rotateLogs(const QString& supportFolder);
// The kept logs, oldest first.
QStringList logPaths(const QString& supportFolder);

} // namespace StartupLog
