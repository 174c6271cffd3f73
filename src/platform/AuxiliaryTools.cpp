#include "platform/AuxiliaryTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lq {

QString auxiliaryToolFolder()
{
    const QString override = qEnvironmentVariable("LUMENQUILL_LIBEXEC");
    if (!override.isEmpty())
        return QDir::cleanPath(override);
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../libexec/lumenquill"));
    // In the build tree the tools lie beside the program rather than above it.
    const QString built = QDir::cleanPath(appDir + QStringLiteral("/libexec/lumenquill"));
    if (!QFileInfo(installed).isDir() && QFileInfo(built).isDir())
        return built;
    return installed;
}

QString auxiliaryTool(const QString& name)
{
    // A name is one path component: never a way out of the folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return QString();
    const QFileInfo tool(auxiliaryToolFolder() + QLatin1Char('/') + name);
    if (!tool.isFile() || !tool.isExecutable())
        return QString();
    return tool.absoluteFilePath();
}

} // namespace lq
