#pragma once
// Runs the program with its own home folder: on a virtual X display
// (xvfb-run) for the screen tests, or with the environment of any other.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

struct XvfbRun {
    bool available = false;   // false when xvfb-run is not installed
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
};

// The program's environment: its own home folder, no XDG overrides, the Qt
// platform and the sanitizer options.
inline QProcessEnvironment programEnvironment(const QString& home, const QString& platform, const QString& asanOptions)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("ASAN_OPTIONS"), asanOptions);
    return environment;
}

inline XvfbRun runProgramOnXvfb(const QString& home, const QStringList& arguments, const QString& screen = QStringLiteral("1024x768x24"))
{
    XvfbRun run;
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        return run;
    run.available = true;
    QProcess program;
    // The web engine's own sized deletes do not match what the sanitizer
    // recorded (see UiTestMain.cpp): that check is off for the program too.
    program.setProcessEnvironment(programEnvironment(home, QStringLiteral("xcb"),
        QStringLiteral("detect_leaks=0:abort_on_error=1:intercept_tls_get_addr=0:new_delete_type_mismatch=0")));
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(xvfbRun, QStringList{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 ") + screen,
                               QStringLiteral("timeout"), QStringLiteral("90"), QStringLiteral(LQ_APP_EXECUTABLE)}
            + arguments);
    run.finished = program.waitForFinished(120000);
    run.output = program.readAll();
    run.exitCode = program.exitCode();
    return run;
}
