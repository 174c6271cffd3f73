#pragma once
#include <QString>

// The program's log file in the support folder: "activity.log" holds this
// run's standard error, "activity.log.1" to "activity.log.4" the four runs
// before (the newest first); older runs' logs are dropped. Only a run that
// starts the windows rotates them.
namespace StartupLog {

// How many runs' logs are kept, this run's included.
constexpr int keptRuns = 5;

// Moves each older log one place up ("activity.log.3" to "activity.log.4"
// ... "activity.log" to "activity.log.1"); a missing file is no error.
void rotateLogs(const QString& supportFolder);
// Opens "activity.log" afresh (mode 0644) and makes it the process's standard
// error; answers false, leaving standard error where it was, when it cannot.
bool redirectStandardError(const QString& supportFolder);
// The kept logs, oldest first.
QStringList logPaths(const QString& supportFolder);

} // namespace StartupLog
