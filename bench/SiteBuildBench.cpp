// The whole site build: a generated site of pages and 12-MP photos is
// rebuilt and prepared for export through the document's processor queue;
// side by side in the same run, vipsthumbnail makes the same web images and
// thumbnails from the same originals.
//
//   lumenquill_bench_site_build [photos] [pages]   (defaults 300 and 50)
//
// Reports the wall times, the photo and page steps' shares, the longest
// queue slice and the longest single step.

#include "BenchSupport.h"

#include "document/DocumentSiteBuilder.h"
#include "document/MyDocument.h"
#include "pipeline/ProcessorQueue.h"
#include "document/DocumentElements.h"
#include "pipeline/XmlProcessor.h"
#include "application/MyApplication.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Process.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <typeinfo>

namespace {

XmlStyleSheet* templateNumbered(MyDocument& document, int number)
{
    for (const XmlBasePtr& child : document.theme()->children())
        if (auto* sheet = XmlStyleSheet::cast(child.get()); sheet && sheet->templateSeqNum() == number)
            return sheet;
    return nullptr;
}

struct Timings {
    double total = 0;
    double longestStep = 0;
    QString longestStepName;
    QMap<QString, double> byStep;
};

// Runs the queue one step a slice (the clock says the slice's time is up
// after every step: each call moves it 0.3 s on), timing each step.
Timings runSteps(MyDocument& document)
{
    Timings timings;
    qint64 fake = 0;
    document.queue().setClock([&] { return fake += 300; });
    QElapsedTimer all;
    all.start();
    while (!document.queue().processors().isEmpty()) {
        // The step that runs: emptied scripts at the head leave first.
        QString name;
        for (const auto& script : document.queue().processors()) {
            if (script->numberChildren() > 0) {
                name = QString::fromLatin1(typeid(*script->children().front()).name());
                break;
            }
        }
        QElapsedTimer one;
        one.start();
        document.queue().processor();
        const double seconds = one.nsecsElapsed() / 1e9;
        timings.byStep[name] += seconds;
        if (seconds > timings.longestStep) {
            timings.longestStep = seconds;
            timings.longestStepName = name;
        }
    }
    document.queue().stopProcessor();
    timings.total = all.nsecsElapsed() / 1e9;
    return timings;
}

// Runs the queue with its own 0.5 s slices; answers the longest slice.
double longestSlice(MyDocument& document, double* total)
{
    document.queue().setClock({});
    double longest = 0;
    QElapsedTimer all;
    all.start();
    while (!document.queue().processors().isEmpty()) {
        QElapsedTimer one;
        one.start();
        document.queue().processor();
        longest = std::max(longest, one.nsecsElapsed() / 1e9);
    }
    document.queue().stopProcessor();
    *total = all.nsecsElapsed() / 1e9;
    return longest;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    const int photos = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    const int pages = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
    const int albums = std::max(1, std::min(pages, (photos + 29) / 30));

    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("Bench.lqxl"));
    MyDocument document;
    if (!document.newDocument(folder)) {
        std::fprintf(stderr, "cannot make the site: %s\n", qPrintable(document.lastError()));
        return 1;
    }
    XmlHomePage* home = document.site()->homepage();
    for (const auto& photoAlbum : templateNumbered(document, 1)->childrenOfType<XmlWebPhotoAlbum>())
        photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);

    // The originals: 12-MP JPEGs.
    const QDir sources(work.filePath(QStringLiteral("sources")));
    QDir().mkpath(sources.path());
    QStringList originals;
    for (int i = 0; i < photos; ++i) {
        QImage picture = bench::makePicture(4000, 3000, QImage::Format_RGB32);
        QPainter(&picture).fillRect(i % 3900, i % 2900, 100, 100, QColor::fromHsv(i % 360, 200, 200));
        const QString path = sources.filePath(QStringLiteral("p%1.jpg").arg(i));
        picture.save(path, "JPG", 90);
        originals << path;
    }

    std::vector<std::shared_ptr<XmlAlbum>> albumPages;
    for (int p = 0; p < pages; ++p) {
        auto page = XmlAlbum::create();
        home->addChild(page);
        page->newDocument();
        page->setName(QStringLiteral("Page %1").arg(p));
        page->setTemplate(templateNumbered(document, p < albums ? 1 : 2));
        if (p < albums)
            albumPages.push_back(page);
    }
    QElapsedTimer importing;
    importing.start();
    for (int i = 0; i < photos; ++i)
        albumPages[i % albumPages.size()]->importPhotoIndexCaption(originals[i], -1, QString());
    const double importSeconds = importing.nsecsElapsed() / 1e9;

    document.rebuildEntireSite();
    const Timings rebuild = runSteps(document);
    // The build of every export, ended in the slice that runs its last step.
    DocumentSiteBuilder exportBuild(document);
    const auto failed = [](const QString& why) { std::fprintf(stderr, "the build failed: %s\n", qPrintable(why)); };
    exportBuild.buildSite([] {}, failed, {});
    const Timings exporting = runSteps(document);
    double sliced = 0;
    exportBuild.buildSite([] {}, failed, {});
    const double slice = longestSlice(document, &sliced);

    // The same pictures with vipsthumbnail: a web image and a thumbnail each.
    double vips = -1;
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (!tool.isEmpty()) {
        const QString out = work.filePath(QStringLiteral("vips"));
        QDir().mkpath(out);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < photos; ++i) {
            lq::runProcess(tool, { originals[i], QStringLiteral("--size"), QStringLiteral("1024x768"), QStringLiteral("-o"),
                                     out + QStringLiteral("/web%1.jpg[Q=85]").arg(i) });
            lq::runProcess(tool, { originals[i], QStringLiteral("--size"), QStringLiteral("160x120"), QStringLiteral("-o"),
                                     out + QStringLiteral("/thumb%1.jpg[Q=85]").arg(i) });
        }
        vips = timer.nsecsElapsed() / 1e9;
    }

    double photoSteps = 0;
    double pageSteps = 0;
    for (auto it = exporting.byStep.begin(); it != exporting.byStep.end(); ++it) {
        if (it.key().contains(QStringLiteral("CreateWebImage")) || it.key().contains(QStringLiteral("CreateSlide")))
            photoSteps += it.value();
        else
            pageSteps += it.value();
    }
    std::printf("site: %d pages, %d photos of 4000 x 3000\n", pages, photos);
    std::printf("import of the photos (reading the originals, storing them limited to the picture size): %.2f s\n", importSeconds);
    std::printf("rebuild (internal images): %.2f s, longest step %.3f s\n", rebuild.total, rebuild.longestStep);
    std::printf("export preparation: %.2f s; photo steps %.2f s, other steps (pages, CSS, feed, copies) %.2f s\n",
        exporting.total, photoSteps, pageSteps);
    std::printf("  per page (other steps / pages): %.2f ms\n", 1000 * pageSteps / pages);
    std::printf("  longest single step %.3f s (%s)\n", exporting.longestStep, qPrintable(exporting.longestStepName));
    std::printf("export preparation in 0.5 s slices: %.2f s, longest slice %.3f s\n", sliced, slice);
    if (vips >= 0)
        std::printf("vipsthumbnail, web image and thumbnail of each photo: %.2f s; photo steps / vipsthumbnail = %.2f\n", vips,
            photoSteps / vips);
    else
        std::printf("vipsthumbnail is not installed\n");
    for (auto it = exporting.byStep.begin(); it != exporting.byStep.end(); ++it)
        std::printf("  %-40s %.3f s\n", qPrintable(it.key()), it.value());
    return 0;
}
