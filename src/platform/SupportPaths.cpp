#include "platform/SupportPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace lq {

QString applicationName()
{
    return QStringLiteral("Lumenquill");
}

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(applicationName());
}

QString supportFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QLatin1Char('/') + applicationName();
    QDir().mkpath(folder);
    return folder;
}

QString themeLibraryFolder()
{
    return supportFolder() + QStringLiteral("/themes");
}

std::unique_ptr<QSettings> userDefaults()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, applicationName(), applicationName());
}

} // namespace lq
