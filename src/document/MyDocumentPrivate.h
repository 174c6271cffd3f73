#pragma once

// What the files of MyDocument share (MyDocument.cpp, MyDocumentReading.cpp,
// MyDocumentSaving.cpp): the document folder's own files, and folder paths
// as the document keeps them.

#include <QDir>
#include <QString>
#include <QStringList>

namespace lq::documentfolder {

// The four element trees, each in its file of the document folder.
inline const QStringList documentFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"),
    QStringLiteral("location.xmlbase"), QStringLiteral("rss.xmlbase") };

inline QString withoutTrailingSlash(const QString& path)
{
    return QDir::cleanPath(path);
}

} // namespace lq::documentfolder
