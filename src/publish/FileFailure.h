#pragma once

#include <QList>
#include <QString>

// A file of the site that did not reach its destination, and why: the path
// below the site folder (names joined with "/", as the site has them) and
// the reason in the user's words.
struct FileFailure {
    QString path;
    QString why;

    bool operator==(const FileFailure&) const = default;
};

using FileFailures = QList<FileFailure>;
