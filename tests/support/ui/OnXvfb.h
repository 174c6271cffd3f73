#pragma once

// Runs the current test once more, in a child process of this test program
// on a virtual X display (xvfb-run), so that its windows go through a real X
// server. The test runs its body in the child and only checks the child's
// result in the parent:
//
//     if (!runningOnXvfb()) {
//         checkRunOnXvfb(runThisTestOnXvfb());
//         return;
//     }
#include "support/ui/XvfbProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

inline bool runningOnXvfb()
{
    return qEnvironmentVariable("LQ_ON_XVFB") == QLatin1String("1");
}

inline XvfbRun runThisTestOnXvfb(const QString& screen = QStringLiteral("1280x900x24"))
{
    XvfbRun run;
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        return run;
    run.available = true;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QString::fromUtf8(test->test_suite_name()) + QLatin1Char('.') + QString::fromUtf8(test->name());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LQ_ON_XVFB"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The X platform's own libraries (D-Bus, plugins unloaded at exit) keep
    // allocations to the end, as in the program's screen tests; the same
    // code runs with leak checking on the offscreen platform.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 ") + screen,
                             QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=") + filter});
    run.finished = child.waitForFinished(300000);
    if (!run.finished) {
        child.kill();
        child.waitForFinished(5000);
    }
    run.output = child.readAll();
    run.exitCode = child.exitCode();
    return run;
}

// The child ran the test to its end and it passed (a skip in the child is a skip here).
inline void checkRunOnXvfb(const XvfbRun& run)
{
    if (!run.available)
        GTEST_SKIP() << "xvfb-run is not installed (package xvfb)";
    ASSERT_TRUE(run.finished) << "the test on Xvfb did not end:\n" << run.output.constData();
    if (run.output.contains("[  SKIPPED ]"))
        GTEST_SKIP() << run.output.constData();
    EXPECT_EQ(run.exitCode, 0) << run.output.constData();
    EXPECT_TRUE(run.output.contains("[  PASSED  ] 1 test")) << run.output.constData();
}

// Where the screen tests keep their pictures: LQ_TEST_ARTEFACTS, else the
// build folder's "test-artefacts".
inline QString testArtefactsFolder()
{
    QString folder = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
    if (folder.isEmpty())
        folder = QStringLiteral(LQ_TEST_ARTEFACTS_DIR);
    QDir().mkpath(folder);
    return folder;
}
