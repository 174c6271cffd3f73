#pragma once

// What the system's unzip tool says of an archive: its member names and
// its comment, as a user would see them.
#include "platform/Process.h"

#include <QString>
#include <QStringList>

// The member names in the archive's order ("unzip -Z1").
inline QStringList unzipListing(const QString& archive)
{
    const lq::ProcessResult listing = lq::runProcess(QStringLiteral("/usr/bin/unzip"), {QStringLiteral("-Z1"), archive});
    return listing.succeeded() ? QString::fromUtf8(listing.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
}

// The archive's comment ("unzip -z", without the line that names the archive).
inline QString unzipComment(const QString& archive)
{
    const lq::ProcessResult shown = lq::runProcess(QStringLiteral("/usr/bin/unzip"), {QStringLiteral("-q"), QStringLiteral("-z"), archive});
    return shown.succeeded() ? QString::fromUtf8(shown.output).trimmed() : QString();
}
