#include "ui/app/ThemeLibrary.h"

#include "model/core/ElementArchives.h"
#include "model/core/XmlBase.h"
#include "platform/Log.h"
#include "platform/Resources.h"

#include <QDir>
#include <QFileInfo>

namespace ThemeLibrary {

SeedResult seedThemeLibrary(const QString& supportFolder, const QString& archive)
{
    const QString themes = supportFolder + QStringLiteral("/themes");
    const QString marker = supportFolder + QStringLiteral("/.200");
    const QFileInfo existing(themes);
    if (existing.exists() && !existing.isDir())
        QFile::remove(themes);
    const bool wasMissing = !QFileInfo(themes).isDir();
    QDir().mkpath(themes);
    if (!wasMissing && QFileInfo(marker).isDir())
        return SeedResult::AlreadySeeded;
    if (!QFileInfo(archive).isFile()) {
        lq::log(QStringLiteral("Theme library archive missing: ") + archive);
        return SeedResult::ArchiveMissing;
    }
    if (!lq::unzipElementTrees(archive, themes)) {
        lq::log(QStringLiteral("Theme library could not be unpacked: ") + archive);
        return SeedResult::UnpackFailed;
    }
    QDir().mkpath(marker);
    return SeedResult::Unpacked;
}

QString defaultArchive()
{
    return lq::resourcePath(QStringLiteral("styles/lumenquill200.qvzip"));
}

} // namespace ThemeLibrary
