// The program on a real X display (Xvfb) with a website open on its "Send"
// tab: a picture of the window shows the tabs and the publish panel. The
// picture is kept in LQ_TEST_ARTEFACTS (or the temporary folder).
#include "document/MyDocument.h"
#include "support/ui/StarterArchive.h"
#include "support/ui/XvfbProgram.h"

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
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
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

    const XvfbRun run = runProgramOnXvfb(home.path(),
        {QStringLiteral("--tab"), QStringLiteral("Send"), QStringLiteral("--screenshot"), shot, folder}, QStringLiteral("1280x900x24"));
    ASSERT_TRUE(run.finished) << "the program did not end";
    const QByteArray output = run.output;
    ASSERT_EQ(run.exitCode, 0) << output.constData();

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
