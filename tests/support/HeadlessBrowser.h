#pragma once

// Generated pages opened in a real browser: headless Chromium with a fresh
// profile, nothing of the network beyond the page asked for.
#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

// Runs headless Chromium on the URL with the given switches (the headless
// mode among them) besides those that keep it quiet and private; answers its
// exit code (-1 when it is missing, could not be started or did not finish
// in 90 s), with what it wrote.
inline int runChromium(const QStringList& switches, const QString& url, QByteArray* out, QByteArray* err)
{
    const QString binary = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (binary.isEmpty())
        return -1;
    QTemporaryDir profile;
    QStringList arguments { QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
        QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"), QStringLiteral("--user-data-dir=") + profile.path() };
    arguments += switches;
    arguments.append(url);
    QProcess chromium;
    chromium.start(binary, arguments);
    if (!chromium.waitForStarted(20000))
        return -1;
    if (!chromium.waitForFinished(90000)) {
        chromium.kill();
        chromium.waitForFinished(5000);
        return -1;
    }
    *out = chromium.readAllStandardOutput();
    *err = chromium.readAllStandardError();
    return chromium.exitStatus() == QProcess::NormalExit ? chromium.exitCode() : -1;
}
