#include "app/StartupLog.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace StartupLog {

void rotateLogs(const QString& supportFolder)
{
    const QStringList logs = logPaths(supportFolder);
    // rename() replaces the target, as the rotation wants: the oldest goes.
    for (qsizetype i = 1; i < logs.size(); ++i)
        ::rename(QFile::encodeName(logs[i]).constData(), QFile::encodeName(logs[i - 1]).constData());
}

bool redirectStandardError(const QString& supportFolder)
{
    const QByteArray path = QFile::encodeName(supportFolder + QStringLiteral("/activity.log"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool moved = ::dup2(fd, STDERR_FILENO) >= 0;
    ::close(fd);
    return moved;
}

QStringList logPaths(const QString& supportFolder)
{
    const QString log = supportFolder + QStringLiteral("/activity.log");
    QStringList paths;
    for (int run = keptRuns - 1; run > 0; --run)
        paths.append(log + QLatin1Char('.') + QString::number(run));
    paths.append(log);
    return paths;
}

} // namespace StartupLog
