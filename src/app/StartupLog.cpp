#include "app/StartupLog.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace StartupLog {

void rotateLogs(const QString& supportFolder)
{
    const QString log = supportFolder + QStringLiteral("/activity.log");
    // rename() replaces the target, as the rotation wants.
    ::rename(QFile::encodeName(log + QStringLiteral(".1")).constData(), QFile::encodeName(log + QStringLiteral(".2")).constData());
    ::rename(QFile::encodeName(log).constData(), QFile::encodeName(log + QStringLiteral(".1")).constData());
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
    return {log + QStringLiteral(".2"), log + QStringLiteral(".1"), log};
}

} // namespace StartupLog
