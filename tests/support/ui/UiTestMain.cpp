// The user-interface test program's main: the application services object
// and a Qt widgets application on the offscreen platform, so that every test
// can make widgets, with the source tree's resources and a private home
// folder.
#include "model/MyApplication.h"
#include "platform/Random.h"
#include "platform/Resources.h"
#include "platform/SupportPaths.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    // Keep the user's own support folder and settings out of reach.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    lq::seedRandomFromEntropy();
    QApplication qtApp(argc, argv);
    lq::setApplicationIdentity();
    lq::setResourceFolder(QStringLiteral(LQ_TEST_RESOURCES));
    MyApplication app;
    return RUN_ALL_TESTS();
}
