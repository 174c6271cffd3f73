// The program on a real X display (Xvfb): it starts, shows its start window,
// and a picture of the display where the window stands shows it.
#include "support/ui/XvfbProgram.h"

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
    QTemporaryDir home;
    const QString shot = home.filePath(QStringLiteral("start.png"));
    const XvfbRun run = runProgramOnXvfb(home.path(), {QStringLiteral("--screenshot"), shot});
    if (!run.available)
        GTEST_SKIP() << "xvfb-run is not installed (package xvfb)";
    ASSERT_TRUE(run.finished) << "the program did not end";
    const QByteArray output = run.output;
    ASSERT_EQ(run.exitCode, 0) << output.constData();

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
