#include "platform/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lq {

namespace {
QString& explicitFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString resourceFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("LUMENQUILL_RESOURCES");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    if (!explicitFolder().isEmpty())
        return explicitFolder();
    if (QCoreApplication::instance()) {
        const QDir appDir(QCoreApplication::applicationDirPath());
        for (const QString& candidate : { QStringLiteral("resources"), QStringLiteral("../share/lumenquill") }) {
            if (QFileInfo(appDir.filePath(candidate)).isDir())
                return QDir::cleanPath(appDir.filePath(candidate));
        }
    }
    return QStringLiteral(LQ_SOURCE_RESOURCES);
}

void setResourceFolder(const QString& folder)
{
    explicitFolder() = folder;
}

QString resourcePath(const QString& relative)
{
    return resourceFolder() + QLatin1Char('/') + relative;
}

} // namespace lq
