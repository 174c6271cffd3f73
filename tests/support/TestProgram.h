#pragma once

// What every test program's main does: the application services object, the
// script steps registered with the element factory, an empty set of hooks
// (lq::Services: a test fills the ones it needs for its own time, with
// ScopedServices), and a Qt application of the given kind (QGuiApplication,
// QApplication) on the offscreen platform, with the source tree's resources
// and a private home folder; then every test.
#include "application/MyApplication.h"
#include "document/DocumentElements.h"
#include "platform/Random.h"
#include "platform/Resources.h"
#include "platform/Services.h"
#include "platform/SupportPaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Sanitizer defaults of the test programs (the environment's ASAN_OPTIONS
// still override them one by one). GCC 12's leak checker misreads glibc's
// dynamic thread-local blocks at exit and crashes, depending on where the
// libraries happen to lie; not following __tls_get_addr avoids that, and
// leaks are still found. Each test program includes this header once; a
// program may add options of its own (LQ_EXTRA_ASAN_OPTIONS, starting with
// ":") and leak suppressions (LQ_LSAN_SUPPRESSIONS) before including it.
#ifndef LQ_EXTRA_ASAN_OPTIONS
#define LQ_EXTRA_ASAN_OPTIONS ""
#endif
#ifndef LQ_LSAN_SUPPRESSIONS
#define LQ_LSAN_SUPPRESSIONS ""
#endif
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0" LQ_EXTRA_ASAN_OPTIONS;
}
extern "C" const char* __lsan_default_suppressions()
{
    return LQ_LSAN_SUPPRESSIONS;
}

template <typename QtApplication>
int runTestProgram(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    // Every temporary folder of this program and of the programs it starts
    // lies in one folder of its own, removed when the tests end: what a
    // killed child left behind goes with it.
    // The servers the tests start run as users of their own and must reach
    // their folders in it.
    QTemporaryDir scratch;
    if (scratch.isValid()) {
        QFile::setPermissions(scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        qputenv("TMPDIR", scratch.path().toUtf8());
    }

    // Keep the user's own support folder and settings out of reach.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    lq::seedRandomFromEntropy();
    // The application keeps a reference to argc: it lives in this frame.
    QtApplication qtApp(argc, argv);
    lq::setApplicationIdentity();
    lq::setResourceFolder(QStringLiteral(LQ_TEST_RESOURCES));
    MyApplication app;
    lq::registerDocumentElements();
    lq::Services services;
    const lq::ServicesScope installed(services);
    return RUN_ALL_TESTS();
}
