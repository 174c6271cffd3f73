// Makes a sample site the way a user does, for comparing what two builds of
// the program generate (tools/check-identical-build): a new site from the
// shipped starter, one page on each template of its theme with three JPEG
// photos, saved, built into its "homepage" folder as for publishing, and
// saved again. Every input is the same at every run, the snapshots' times
// too; only what the program itself varies (the feed's dates, random page
// numbers) differs between two runs.
//
// Usage: make_sample_site <new document folder>
// Exits with 1, telling why on standard error, when any step fails.
#include "document/MyDocument.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/ProcessorQueue.h"
#include "document/DocumentElements.h"
#include "pipeline/ScriptSteps.h"
#include "pipeline/SiteScripts.h"
#include "templates/XmlStyleSheet.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int fail(const QString& why)
{
    std::fprintf(stderr, "make_sample_site: %s\n", qPrintable(why));
    return 1;
}

// A JPEG picture of the size with bands of colour that depend on the seed.
bool writePicture(const QString& path, int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int band = 0; band < 6; ++band) {
        const QColor colour = QColor::fromHsv((seed * 47 + band * 53) % 360, 120 + band * 20, 230 - band * 15);
        painter.fillRect(0, band * height / 6, width, height / 6 + 1, colour);
    }
    painter.setPen(Qt::white);
    painter.drawEllipse(QPoint(width / 2, height / 2), width / 4, height / 4);
    painter.end();
    QImageWriter writer(path, "jpeg");
    writer.setQuality(85);
    return writer.write(image);
}

// Runs the document's queue, and what it arms on the event loop, until both are done.
bool runQueue(MyDocument& document)
{
    QElapsedTimer timer;
    timer.start();
    while (!document.queue().isIdle() || !document.queue().processors().isEmpty()) {
        if (!document.queue().processors().isEmpty())
            document.queue().processor();
        QCoreApplication::processEvents();
        if (timer.elapsed() > 600000)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    MyApplication model;
    lq::registerDocumentElements();
    if (argc != 2)
        return fail(QStringLiteral("usage: make_sample_site <new document folder>"));
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir pictures;
    if (!pictures.isValid() || !QDir().mkpath(QFileInfo(folder).path()))
        return fail(QStringLiteral("no folder for the pictures or the site"));

    MyDocument document;
    // Snapshots are named by the time of their save: a clock of their own
    // names them alike at every run, and keeps the two saves apart.
    QDateTime now(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC);
    document.setNow([&now] { return now = now.addSecs(60); });
    if (!document.newDocument(folder))
        return fail(QStringLiteral("the new site: ") + document.lastError());

    // One page on each template of the theme, three photos on each page.
    QList<XmlStyleSheet*> sheets;
    for (const XmlBasePtr& child : document.theme()->children())
        if (XmlStyleSheet* sheet = XmlStyleSheet::cast(child.get()))
            sheets.append(sheet);
    if (sheets.isEmpty())
        return fail(QStringLiteral("the starter theme has no template"));
    int seed = 0;
    for (XmlStyleSheet* sheet : sheets) {
        auto page = XmlAlbum::create();
        document.site()->homepage()->addChild(page);
        page->newDocument();
        page->setName(QStringLiteral("On ") + sheet->name());
        page->setTemplate(sheet);
        for (int i = 0; i < 3; ++i, ++seed) {
            const QString path = pictures.filePath(QStringLiteral("photo%1.jpg").arg(seed));
            if (!writePicture(path, 640 - 80 * i, 480 - 40 * i, seed))
                return fail(QStringLiteral("cannot write ") + path);
            auto photo = XmlPhoto::createFromFile(path);
            if (!photo)
                return fail(QStringLiteral("cannot import ") + path);
            page->addChild(photo);
            photo->newDocument(QString());
        }
    }
    if (!document.writeWithBackupToFile(folder))
        return fail(QStringLiteral("the first save: ") + document.lastError());

    // Built as for publishing (what the window does before it hands the
    // site to the uploader), then saved again.
    document.beginBuild();
    lq::createProcessor(*document.site());
    if (!runQueue(document))
        return fail(QStringLiteral("the build did not end"));
    if (!document.buildMayBePublished())
        return fail(QStringLiteral("the build failed: ") + document.lastError() + QLatin1Char('\n') + document.activityText());
    if (!document.writeWithBackupToFile(folder))
        return fail(QStringLiteral("the second save: ") + document.lastError());
    std::printf("%s: %lld pages built\n", qPrintable(folder), static_cast<long long>(sheets.size()));
    return 0;
}
