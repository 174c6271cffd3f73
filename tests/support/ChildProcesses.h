#pragma once

// Finding the test program's own helper-tool processes in /proc, so that a
// test can kill one in the middle of its work.
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>

#include <unistd.h>

// The ids of the processes whose parent is this test program.
inline QList<pid_t> ownChildren()
{
    QList<pid_t> children;
    const QByteArray self = QByteArray::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (!number)
            continue;
        // "<pid> (<name>) <state> <parent> ...": the name may hold spaces.
        const QByteArray stat = readAll(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self)
            children.append(pid);
    }
    return children;
}

// The process id of our own child started from the program at that path; 0 when none runs.
inline pid_t childRunning(const QString& program)
{
    const QString wanted = QFileInfo(program).canonicalFilePath();
    for (pid_t pid : ownChildren()) {
        if (QFileInfo(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/exe")).symLinkTarget() == wanted)
            return pid;
    }
    return 0;
}

// How far the process has read the file it holds open: -1 when it does not hold it.
inline qint64 readPosition(pid_t pid, const QString& file)
{
    const QString wanted = QFileInfo(file).canonicalFilePath();
    const QString folder = QStringLiteral("/proc/") + QString::number(pid);
    for (const QString& fd : QDir(folder + QStringLiteral("/fd")).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (QFileInfo(folder + QStringLiteral("/fd/") + fd).symLinkTarget() != wanted)
            continue;
        for (const QByteArray& line : readAll(folder + QStringLiteral("/fdinfo/") + fd).split('\n')) {
            if (line.startsWith("pos:"))
                return line.mid(4).trimmed().toLongLong();
        }
    }
    return -1;
}
