#pragma once
#include <QString>

// The program's log file in the support folder: "activity.log" holds this
// run's standard error, "activity.log.1" and "activity.log.2" the two runs
// before; older runs' logs are dropped.
namespace StartupLog {

// Renames "activity.log.1" to "activity.log.2", then "activity.log" to
// "activity.log.1"; a missing file is no error.
void rotateLogs(const QString& supportFolder);
// Opens "activity.log" afresh (mode 0644) and makes it the process's standard
// error; answers false, leaving standard error where it was, when it cannot.
bool redirectStandardError(const QString& supportFolder);
// The three logs, oldest first.
QStringList logPaths(const QString& supportFolder);

} // namespace StartupLog
