// The program on a real X display (Xvfb) with a website open on its "Send"
// tab: a picture of the window shows the tabs and the publish panel. The
// picture is kept in LQ_TEST_ARTEFACTS (or the temporary folder).
#include "app/MyDocument.h"
#include "support/ui/StarterArchive.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DocumentWindowScreen, ShowsTheTabsAndTheSendPanel)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed (package xvfb)";
    QTemporaryDir home;
    const QString archive = home.filePath(QStringLiteral("default.qvzip"));
    ASSERT_TRUE(writeStarterArchive(home.path(), archive));
    const QString folder = home.filePath(QStringLiteral("Site.lqxl"));
    {
        MyDocument document;
        ASSERT_TRUE(document.newDocumentFromArchive(folder, archive));
    }

    QString artefacts = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
    if (artefacts.isEmpty())
        artefacts = QDir::tempPath() + QStringLiteral("/lumenquill-artefacts");
    ASSERT_TRUE(QDir().mkpath(artefacts));
    const QString shot = artefacts + QStringLiteral("/document-window-send.png");
    QFile::remove(shot);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=1:intercept_tls_get_addr=0"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x900x24"),
                              QStringLiteral("timeout"), QStringLiteral("90"), QStringLiteral(LQ_APP_EXECUTABLE),
                              QStringLiteral("--tab"), QStringLiteral("Send"), QStringLiteral("--screenshot"), shot, folder});
    ASSERT_TRUE(program.waitForFinished(120000)) << "the program did not end";
    const QByteArray output = program.readAll();
    ASSERT_EQ(program.exitCode(), 0) << output.constData();

    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull()) << output.constData();
    // The document window is larger than the start window.
    EXPECT_GE(picture.width(), 600);
    EXPECT_GE(picture.height(), 400);
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2)
            colours.insert(picture.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 16);
}

} // namespace
