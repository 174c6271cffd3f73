#pragma once
// A starter archive for new sites made from the one the program ships: its
// site (trash included) and its theme, zipped the same way, with or without
// the starter's pages.
#include "model/core/ElementArchives.h"
#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/Resources.h"
#include "platform/Zip.h"

#include <QDir>
#include <QString>

// Writes "<folder>/starter" and the archive at the path; false when any step fails.
inline bool writeStarterArchive(const QString& folder, const QString& archive, bool withPages = true)
{
    const QString starter = folder + QStringLiteral("/starter");
    if (!QDir().mkpath(starter))
        return false;
    QString why;
    const std::optional<XmlBaseList> unpacked = lq::unzipElementTrees(lq::resourcePath(QStringLiteral("styles/default.qvzip")), starter, &why);
    if (!unpacked)
        return false;
    std::shared_ptr<XmlSite> site;
    XmlBasePtr theme;
    for (const XmlBasePtr& element : *unpacked) {
        if (auto root = std::dynamic_pointer_cast<XmlSite>(element))
            site = root;
        else
            theme = element;
    }
    if (!site || !theme || !site->trash())
        return false;
    if (!withPages) {
        for (const auto& album : site->homepage()->childrenOfType<XmlAlbum>())
            site->homepage()->removeChild(album.get());
    }
    return lq::saveToFile(*site, starter + QStringLiteral("/site.xmlbase"))
        && lq::saveToFile(*theme, starter + QStringLiteral("/theme.xmlbase"))
        && lq::zipAdd(archive, starter, QStringLiteral("site.xmlbase"), false)
        && lq::zipAdd(archive, starter, QStringLiteral("theme.xmlbase"), false);
}
