#pragma once

// Runs headless Chromium on a page, with a fresh profile and nothing sent
// anywhere (no sync, no updates, no background traffic).
#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The arguments come before the page's address: the headless mode and what
// to do ("--dump-dom", "--screenshot=<file>", "--window-size=<w>,<h>").
// Answers Chromium's exit code, or -1 when it is not installed, could not
// start or did not finish; what it wrote goes to out and err.
inline int runHeadlessChromium(const QStringList& arguments, const QString& url, QByteArray* out, QByteArray* err)
{
    const QString binary = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (binary.isEmpty())
        return -1;
    QTemporaryDir profile;
    QStringList all { QStringLiteral("--no-sandbox"),
                      QStringLiteral("--disable-gpu"),
                      QStringLiteral("--no-first-run"),
                      QStringLiteral("--disable-background-networking"),
                      QStringLiteral("--disable-component-update"),
                      QStringLiteral("--disable-sync"),
                      QStringLiteral("--user-data-dir=") + profile.path() };
    all += arguments;
    all.append(url);
    QProcess chromium;
    chromium.start(binary, all);
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
