#pragma once
// A starter archive of our own for new sites: a fresh site and an empty
// theme, zipped like the starter themes the program ships.
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"

#include <QDir>
#include <QString>

// Writes "<folder>/starter" and the archive at the path; false when any step fails.
inline bool writeStarterArchive(const QString& folder, const QString& archive, bool withPages = true)
{
    const QString starter = folder + QStringLiteral("/starter");
    if (!QDir().mkpath(starter))
        return false;
    auto site = XmlSite::create();
    site->newDocument();
    if (!withPages) {
        for (const auto& album : site->homepage()->childrenOfType<XmlAlbum>())
            site->homepage()->removeChild(album.get());
    }
    return site->saveToFile(starter + QStringLiteral("/site.xmlbase"))
        && XmlTheme::create()->saveToFile(starter + QStringLiteral("/theme.xmlbase"))
        && XmlBase::zipRootDirFilenameRecursive(archive, starter, QStringLiteral("site.xmlbase"), false)
        && XmlBase::zipRootDirFilenameRecursive(archive, starter, QStringLiteral("theme.xmlbase"), false);
}
