// The program's start-up, run as the real executable in a fresh home folder:
// the support folder and its rotating log, the preferences it stores, the
// theme library it unpacks once.
#include "ui/app/StartupLog.h"
#include "ui/app/ThemeLibrary.h"
#include "document/MyDocument.h"
#include "support/LogCapture.h"
#include "support/OutsideTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "support/ui/XvfbProgram.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(Startup, RotationKeepsTheLogsOfTheLastFiveRuns)
{
    QTemporaryDir support;
    const QString log = support.path() + QStringLiteral("/activity.log");
    for (int run = 1; run <= 7; ++run) {
        StartupLog::rotateLogs(support.path());
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("run " + QByteArray::number(run));
    }
    EXPECT_EQ(readFile(log), QByteArray("run 7"));
    for (int older = 1; older <= 4; ++older)
        EXPECT_EQ(readFile(log + QLatin1Char('.') + QString::number(older)), "run " + QByteArray::number(7 - older)) << older;
    EXPECT_FALSE(QFileInfo::exists(log + QStringLiteral(".5")));
    EXPECT_EQ(StartupLog::logPaths(support.path()).size(), StartupLog::keptRuns);
}

// A copy of the program started in the home folder, running on until the
// test ends it (its own process, which the test kills).
class RunningProgram {
public:
    RunningProgram(const QString& home, const QStringList& arguments)
    {
        _program.setProcessEnvironment(
            programEnvironment(home, QStringLiteral("offscreen"), QStringLiteral("detect_leaks=0:abort_on_error=1:intercept_tls_get_addr=0")));
        _program.setProcessChannelMode(QProcess::MergedChannels);
        _program.start(QStringLiteral(LQ_APP_EXECUTABLE), arguments);
        _program.waitForStarted(30000);
        _pid = _program.processId();
    }
    ~RunningProgram() { stop(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    qint64 pid() const { return _pid; }
    // The stamp of its log lines.
    QByteArray stamp() const { return " Lumenquill[" + QByteArray::number(pid()) + "] "; }
    // Where its standard error goes now, as the system tells.
    QString standardError() const { return QFile::symLinkTarget(QStringLiteral("/proc/%1/fd/2").arg(pid())); }
    // Waits until the log holds a line of this program with the text.
    bool waitForLine(const QString& log, const QByteArray& text)
    {
        for (int tries = 0; tries < 900; ++tries) {
            for (const QByteArray& line : readFile(log).split('\n')) {
                if (line.contains(stamp()) && line.contains(text))
                    return true;
            }
            if (_program.state() == QProcess::NotRunning)
                return false;
            _program.waitForFinished(100);
        }
        return false;
    }
    void stop()
    {
        if (_program.state() != QProcess::NotRunning) {
            _program.kill();
            _program.waitForFinished(30000);
        }
    }

private:
    QProcess _program;
    qint64 _pid = 0;
};

// Copies of the program at once: one refused the site another has open, and
// one on a site of its own. None moves away the log the first writes; each
// adds its lines, stamped with its process; the next start after them moves
// that log up whole. An open without a photo library logs no error.
TEST(Startup, ProgramsRunningAtOnceShareTheLogAndNoneMovesItAway)
{
    QTemporaryDir home;
    const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");
    const QString log = support + QStringLiteral("/activity.log");
    QStringList sites;
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/Sites")));
    for (const char* name : { "Holiday.lqxl", "Garden.lqxl" }) {
        sites.append(home.path() + QStringLiteral("/Sites/") + QLatin1String(name));
        MyDocument document;
        ASSERT_TRUE(document.newDocument(sites.back())) << document.lastError().toStdString();
    }
    ASSERT_EQ(launch(home.path()).exitCode, 0);
    const QByteArray earlier = readFile(log);
    ASSERT_TRUE(earlier.contains(banner));

    RunningProgram first(home.path(), { sites[0] });
    ASSERT_TRUE(first.waitForLine(log, "Opened website: " + sites[0].toUtf8())) << readFile(log).constData();
    EXPECT_EQ(readFile(log + QStringLiteral(".1")), earlier) << "the first program began a log of its own";
    EXPECT_EQ(first.standardError(), log);

    // A second copy asked for the same site is refused (and waits in its alert).
    RunningProgram refused(home.path(), { sites[0] });
    ASSERT_TRUE(refused.waitForLine(log, "could not be opened")) << readFile(log).constData();
    EXPECT_TRUE(readFile(log).contains("open in another program")) << readFile(log).constData();
    EXPECT_EQ(refused.standardError(), log);
    refused.stop();

    // A third on a site of its own.
    RunningProgram other(home.path(), { sites[1] });
    ASSERT_TRUE(other.waitForLine(log, "Opened website: " + sites[1].toUtf8())) << readFile(log).constData();
    EXPECT_EQ(other.standardError(), log);

    // The first program still writes where it began, and nothing moved.
    EXPECT_EQ(first.standardError(), log);
    EXPECT_EQ(readFile(log + QStringLiteral(".1")), earlier);
    EXPECT_FALSE(QFileInfo::exists(log + QStringLiteral(".2")));
    first.stop();
    other.stop();
    const QByteArray shared = readFile(log);
    // The first program began it: its lines come first (before them only
    // the unstamped warnings of the libraries).
    EXPECT_EQ(shared.indexOf(" Lumenquill["), shared.indexOf(first.stamp())) << shared.constData();
    for (const RunningProgram* program : { &first, &refused, &other })
        EXPECT_TRUE(shared.contains(program->stamp() + banner)) << program->pid() << "\n" << shared.constData();
    EXPECT_FALSE(shared.contains("iphoto object error")) << shared.constData();

    // With none of them running, the next start moves their log up whole.
    ASSERT_EQ(launch(home.path()).exitCode, 0);
    EXPECT_EQ(readFile(log + QStringLiteral(".1")), shared);
    EXPECT_EQ(readFile(log + QStringLiteral(".2")), earlier);
    EXPECT_TRUE(readFile(log).contains(banner));
}

// Whatever lies where the log or its lock belongs (a pipe, a link, a second
// name of a file elsewhere) neither holds the start nor is written through:
// it is taken away, a new file takes its place, and the log says so. The
// same when another copy of the program runs and this one appends.
TEST(Startup, APipeOrLinkWhereTheLogBelongsIsReplacedAndNeverWrittenThrough)
{
    struct Case {
        const char* what;
        const char* name; // in the support folder
        std::function<bool(const QString& at, const OutsideTree& outside)> make;
        QString line;
    };
    const auto symbolicLink = [](const char* target) {
        return [target](const QString& at, const OutsideTree& outside) { return QFile::link(outside.filePath(QLatin1String(target)), at); };
    };
    const auto pipe = [](const QString& at, const OutsideTree&) { return ::mkfifo(QFile::encodeName(at).constData(), 0644) == 0; };
    const auto hardLink = [](const QString& at, const OutsideTree& outside) {
        return ::link(QFile::encodeName(outside.filePath(QStringLiteral("secret.txt"))).constData(), QFile::encodeName(at).constData()) == 0;
    };
    const QList<Case> cases {
        { "a pipe", "activity.log", pipe, QStringLiteral("Replacing the log activity.log: it was a pipe") },
        { "a link to a file elsewhere", "activity.log", symbolicLink("secret.txt"),
            QStringLiteral("Replacing the log activity.log: it was a link, which is never followed") },
        { "a link to nothing", "activity.log", symbolicLink("missing.txt"),
            QStringLiteral("Replacing the log activity.log: it was a link, which is never followed") },
        { "a second name of a file elsewhere", "activity.log", hardLink,
            QStringLiteral("Replacing the log activity.log: it had another link, which is never written through") },
        { "a pipe for the lock", "activity.lock", pipe, QStringLiteral("Replacing the lock activity.lock: it was a pipe") },
        { "a link to nothing for the lock", "activity.lock", symbolicLink("missing.lock"),
            QStringLiteral("Replacing the lock activity.lock: it was a link, which is never followed") },
    };
    for (const bool shared : { false, true }) {
        for (const Case& c : cases) {
            // Another copy holds the lock while it runs: what lies there is its own business.
            if (shared && QLatin1String(c.name) == QLatin1String("activity.lock"))
                continue;
            SCOPED_TRACE(std::string(c.what) + (shared ? ", another copy running" : ", alone"));
            QTemporaryDir home;
            const OutsideTree outside(home.path() + QStringLiteral("/outside"));
            const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");
            const QString log = support + QStringLiteral("/activity.log");
            ASSERT_TRUE(QDir().mkpath(support));
            std::unique_ptr<RunningProgram> running;
            if (shared) {
                running = std::make_unique<RunningProgram>(home.path(), QStringList());
                ASSERT_TRUE(running->waitForLine(log, banner)) << readFile(log).constData();
                ASSERT_TRUE(QFile::remove(log));
            }
            ASSERT_TRUE(c.make(support + QLatin1Char('/') + QLatin1String(c.name), outside));

            const Launch started = launch(home.path());
            ASSERT_EQ(started.exitCode, 0) << started.output.constData();
            const QByteArray written = readFile(log);
            EXPECT_TRUE(written.contains(banner)) << written.constData();
            EXPECT_TRUE(written.contains(c.line.toUtf8())) << written.constData();
            EXPECT_TRUE(outside.isUnchanged());
            for (const QString& entry : QDir(support).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
                struct stat status {};
                ASSERT_EQ(::lstat(QFile::encodeName(support + QLatin1Char('/') + entry).constData(), &status), 0);
                if (entry.startsWith(QStringLiteral("activity."))) {
                    EXPECT_TRUE(S_ISREG(status.st_mode) && status.st_nlink == 1) << entry.toStdString() << " is no log of its own";
                }
            }
        }
    }
}

// The command line is answered on the terminal, without a display and
// without touching the logs of earlier runs.
TEST(Startup, CommandLineAnswersOnTheTerminalWithoutADisplay)
{
    QTemporaryDir home;
    const QString support = home.path() + QStringLiteral("/.local/share/Lumenquill");
    ASSERT_TRUE(QDir().mkpath(support));
    QFile earlier(support + QStringLiteral("/activity.log"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("the log of a publication");
    earlier.close();

    struct Case {
        QStringList arguments;
        int exitCode;
        QByteArray stdoutHas;
        QByteArray stderrHas;
    };
    const QList<Case> cases = {
        {{QStringLiteral("--version")}, 0, "Lumenquill 0.1 (build 288)", ""},
        {{QStringLiteral("-v")}, 0, "(build 288)", ""},
        {{QStringLiteral("--help")}, 0, "Usage: lumenquill [options]", ""},
        {{QStringLiteral("--bogus")}, 1, "", "Unknown option 'bogus'"},
        {{QStringLiteral("--tab")}, 1, "", "Missing value after '--tab'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(LQ_APP_EXECUTABLE), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray err = program.readAllStandardError();
        if (c.stdoutHas.isEmpty())
            EXPECT_TRUE(out.isEmpty()) << out.constData();
        else
            EXPECT_TRUE(out.contains(c.stdoutHas)) << out.constData();
        if (c.stderrHas.isEmpty()) {
            EXPECT_TRUE(err.isEmpty()) << err.constData();
        } else {
            EXPECT_TRUE(err.contains(c.stderrHas)) << err.constData();
            EXPECT_TRUE(err.contains("Usage: lumenquill")) << err.constData();
        }
    }
    EXPECT_EQ(readFile(support + QStringLiteral("/activity.log")), QByteArray("the log of a publication"));
    EXPECT_FALSE(QFileInfo::exists(support + QStringLiteral("/activity.log.1")));
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
