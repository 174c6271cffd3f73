// The program's start-up, run as the real executable in a fresh home folder:
// the support folder and its rotating log, the preferences it stores, the
// theme library it unpacks once.
#include "app/ThemeLibrary.h"
#include "support/LogCapture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "support/ui/XvfbProgram.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Makes a zip archive at the path holding the given files (name, contents).
bool makeArchive(const QString& archive, const QList<QPair<QString, QByteArray>>& files)
{
    QTemporaryDir source;
    QStringList names;
    for (const auto& [name, bytes] : files) {
        const QString path = source.path() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        names << name;
    }
    QDir().mkpath(QFileInfo(archive).path());
    QProcess zip;
    zip.setWorkingDirectory(source.path());
    zip.start(QStringLiteral("/usr/bin/zip"), QStringList{QStringLiteral("-q"), archive} + names);
    return zip.waitForFinished(20000) && zip.exitCode() == 0;
}

struct Launch {
    int exitCode = -1;
    QByteArray output;
};

// Starts the program in the home folder and lets it quit after the launch.
Launch launch(const QString& home, const QString& resources = QString())
{
    QProcess program;
    QProcessEnvironment environment
        = programEnvironment(home, QStringLiteral("offscreen"), QStringLiteral("detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0"));
    if (!resources.isEmpty())
        environment.insert(QStringLiteral("LUMENQUILL_RESOURCES"), resources);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(LQ_APP_EXECUTABLE), {QStringLiteral("--quit-after-launch")});
    Launch result;
    if (program.waitForFinished(60000))
        result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
    result.output = program.readAll();
    return result;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray banner = "------------------build 288--------------------------";

TEST(Startup, LogsRotateOverThreeStartsInAFreshHome)
{
    QTemporaryDir home;
    const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");
    ASSERT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/.local")));

    Launch first = launch(home.path());
    ASSERT_EQ(first.exitCode, 0) << first.output.constData();
    const QByteArray firstLog = readFile(support + QStringLiteral("/activity.log"));
    EXPECT_TRUE(firstLog.contains(banner)) << firstLog.constData();
    // Standard error went into the log, not to the terminal.
    EXPECT_FALSE(first.output.contains(banner));

    ASSERT_EQ(launch(home.path()).exitCode, 0);
    EXPECT_EQ(readFile(support + QStringLiteral("/activity.log.1")), firstLog);
    const QByteArray secondLog = readFile(support + QStringLiteral("/activity.log"));
    EXPECT_TRUE(secondLog.contains(banner));

    ASSERT_EQ(launch(home.path()).exitCode, 0);
    EXPECT_EQ(readFile(support + QStringLiteral("/activity.log.2")), firstLog);
    EXPECT_EQ(readFile(support + QStringLiteral("/activity.log.1")), secondLog);
    EXPECT_FALSE(QFileInfo::exists(support + QStringLiteral("/activity.log.3")));

    // The first start stored the migrated preferences.
    QSettings settings(home.path() + QStringLiteral("/.config/Lumenquill/Lumenquill.conf"), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Version")).toInt(), 6);
    EXPECT_EQ(settings.value(QStringLiteral("CheckForUpdates")).toInt(), 1);
    EXPECT_EQ(settings.value(QStringLiteral("autoLaunchBrowser")).toInt(), 1);
    EXPECT_FALSE(settings.contains(QStringLiteral("MaxPictureWidth")));
}

TEST(Startup, ThemeLibraryIsUnpackedOnceFromTheResourceArchive)
{
    QTemporaryDir home;
    QTemporaryDir resources;
    ASSERT_TRUE(makeArchive(resources.path() + QStringLiteral("/styles/lumenquill200.qvzip"),
        {{QStringLiteral("Classic.qvzip"), "not really a theme"}, {QStringLiteral("Travel/Blue.qvzip"), "blue"}}));
    const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");

    ASSERT_EQ(launch(home.path(), resources.path()).exitCode, 0);
    const QString classic = support + QStringLiteral("/themes/Classic.qvzip");
    ASSERT_TRUE(QFileInfo(classic).isFile());
    EXPECT_TRUE(QFileInfo(support + QStringLiteral("/themes/Travel/Blue.qvzip")).isFile());
    EXPECT_TRUE(QFileInfo(support + QStringLiteral("/.200")).isDir());

    // The user's own changes stay: the next start unpacks nothing.
    QFile::remove(support + QStringLiteral("/themes/Travel/Blue.qvzip"));
    const QDateTime written = QFileInfo(classic).lastModified();
    ASSERT_EQ(launch(home.path(), resources.path()).exitCode, 0);
    EXPECT_EQ(QFileInfo(classic).lastModified(), written);
    EXPECT_FALSE(QFileInfo::exists(support + QStringLiteral("/themes/Travel/Blue.qvzip")));
}

TEST(Startup, WithoutTheArchiveTheLaunchGoesOnAndSaysSo)
{
    QTemporaryDir home;
    QTemporaryDir resources;   // no styles/lumenquill200.qvzip
    ASSERT_EQ(launch(home.path(), resources.path()).exitCode, 0);
    const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");
    const QByteArray log = readFile(support + QStringLiteral("/activity.log"));
    EXPECT_TRUE(log.contains("Theme library archive missing: ")) << log.constData();
    EXPECT_TRUE(QFileInfo(support + QStringLiteral("/themes")).isDir());
    // No marker: a later start with the archive fills the library.
    EXPECT_FALSE(QFileInfo::exists(support + QStringLiteral("/.200")));
}

TEST(ThemeLibrary, SeedingByFolderAndMarker)
{
    QTemporaryDir support;
    QTemporaryDir resources;
    const QString archive = resources.path() + QStringLiteral("/lumenquill200.qvzip");
    ASSERT_TRUE(makeArchive(archive, {{QStringLiteral("Classic.qvzip"), "classic"}}));
    const QString themes = support.path() + QStringLiteral("/themes");
    LogCapture log;

    // A file standing where the folder belongs is replaced by the library.
    QFile blocker(themes);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ThemeLibrary::seedThemeLibrary(support.path(), archive), ThemeLibrary::SeedResult::Unpacked);
    EXPECT_TRUE(QFileInfo(themes + QStringLiteral("/Classic.qvzip")).isFile());
    EXPECT_EQ(ThemeLibrary::seedThemeLibrary(support.path(), archive), ThemeLibrary::SeedResult::AlreadySeeded);

    // A library of an older version (no marker) is unpacked into once, keeping its own themes.
    QDir(support.path() + QStringLiteral("/.200")).removeRecursively();
    QFile own(themes + QStringLiteral("/Mine.qvzip"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    EXPECT_EQ(ThemeLibrary::seedThemeLibrary(support.path(), archive), ThemeLibrary::SeedResult::Unpacked);
    EXPECT_TRUE(QFileInfo::exists(themes + QStringLiteral("/Mine.qvzip")));

    // A broken archive leaves no marker, so a later start tries again.
    QDir(support.path() + QStringLiteral("/.200")).removeRecursively();
    QFile broken(archive);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a zip archive");
    broken.close();
    EXPECT_EQ(ThemeLibrary::seedThemeLibrary(support.path(), archive), ThemeLibrary::SeedResult::UnpackFailed);
    EXPECT_FALSE(QFileInfo::exists(support.path() + QStringLiteral("/.200")));
}

} // namespace
