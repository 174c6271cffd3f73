#include "platform/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <mutex>

namespace lq {

namespace {
QString& explicitFolder()
{
    static QString folder;
    return folder;
}
// The resources of the program in that folder: beside the program, above it
// when installed, and above the helper tools (<prefix>/libexec/lumenquill)
// when one of them asks; else the source tree's. The answer is kept for the
// folder: an installation does not move while the program runs, and every
// page a build writes asks for its support files.
QString installedFolder(const QString& programFolder)
{
    static std::mutex mutex;
    static QString askedFor;
    static QString answer;
    {
        std::lock_guard lock(mutex);
        if (!answer.isEmpty() && askedFor == programFolder)
            return answer;
    }
    QString folder = QStringLiteral(LQ_SOURCE_RESOURCES);
    const QDir appDir(programFolder);
    for (const QString& candidate : { QStringLiteral("resources"), QStringLiteral("../share/lumenquill"), QStringLiteral("../../share/lumenquill") }) {
        if (QFileInfo(appDir.filePath(candidate)).isDir()) {
            folder = QDir::cleanPath(appDir.filePath(candidate));
            break;
        }
    }
    std::lock_guard lock(mutex);
    askedFor = programFolder;
    answer = folder;
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
    if (QCoreApplication::instance())
        return installedFolder(QCoreApplication::applicationDirPath());
    return QStringLiteral(LQ_SOURCE_RESOURCES);
}

void setResourceFolder(const QString& folder)
{
    explicitFolder() = folder;
}

QString resourcePath(const QString& relative)
{
    const QString folder = resourceFolder();
    const QString path = folder + QLatin1Char('/') + relative;
#ifdef LQ_GENERATED_RESOURCES
    // What the build makes (the starter archives) stays in the build tree
    // until it is installed beside the other resources: it stands in for
    // the source tree's resources only, never for a folder chosen otherwise.
    if (!QFileInfo::exists(path) && QDir::cleanPath(folder) == QDir::cleanPath(QStringLiteral(LQ_SOURCE_RESOURCES))) {
        const QString generated = QStringLiteral(LQ_GENERATED_RESOURCES) + QLatin1Char('/') + relative;
        if (QFileInfo::exists(generated))
            return generated;
    }
#endif
    return path;
}

} // namespace lq
