// The program on a real X display (Xvfb): it starts, shows its start window,
// and a picture of the display where the window stands shows it.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(StartWindowScreen, ShowsOnAnXDisplay)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed (package xvfb)";
    QTemporaryDir home;
    const QString shot = home.filePath(QStringLiteral("start.png"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:abort_on_error=1:intercept_tls_get_addr=0"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                              QStringLiteral("timeout"), QStringLiteral("90"), QStringLiteral(LQ_APP_EXECUTABLE),
                              QStringLiteral("--screenshot"), shot});
    ASSERT_TRUE(program.waitForFinished(120000)) << "the program did not end";
    const QByteArray output = program.readAll();
    ASSERT_EQ(program.exitCode(), 0) << output.constData();

    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull()) << output.constData();
    EXPECT_GE(picture.width(), 200);
    EXPECT_GE(picture.height(), 100);
    // Not blank: many colours, the icon's blue among them.
    QSet<QRgb> colours;
    bool iconBlue = false;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            colours.insert(c.rgb());
            iconBlue = iconBlue || (std::abs(c.red() - 0x1d) < 12 && std::abs(c.green() - 0x4e) < 12 && std::abs(c.blue() - 0x89) < 12);
        }
    }
    EXPECT_GT(colours.size(), 16);
    EXPECT_TRUE(iconBlue);
}

} // namespace
