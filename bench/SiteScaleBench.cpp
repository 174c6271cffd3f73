// A site of many pages, each with the navigation menu of all of them: the
// starter site with N text pages is generated and prepared for export through
// the document's processor queue; side by side in the same run, Hugo builds
// the same pages from Markdown with a layout that lists every page, and the
// folder the export wrote is copied with `cp -r` followed by `sync`.
//
//   lumenquill_bench_site_scale [pages...] [--runs n] [--full] [--keep folder]
//
// Every figure is measured in a process of its own, n times (3 by default),
// and the median is printed: the cpu and wall time per page of ours and
// Hugo's with their ratio, the peak memory of both, and the wall time of the
// export (from the start of its preparation until its queue is empty)
// against the copy of what it wrote, and the rest the window's queue would
// take between its time slices on top of that wall time; then the site is
// exported again with nothing changed and listed for "changes only" (the
// files read and the time, against md5sum and diff of the same files).
// Given two or more page counts, the
// growth of the per-page cost from the smallest to each larger one is
// printed for both programs. With --full the site also holds a group, a
// password-protected page, an album of photos, a feed and a file of the
// user's own; with --keep the generated site is copied to the folder (to
// compare the bytes of two builds with md5sum).

#include "BenchSupport.h"

#include "document/DocumentSiteBuilder.h"
#include "document/MyDocument.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "application/MyApplication.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/ProcessorQueue.h"
#include "document/DocumentElements.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "publish/DigestListing.h"
#include "publish/XmlD.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <vector>

namespace {

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double childCpuSeconds(rusage* usage)
{
    getrusage(RUSAGE_CHILDREN, usage);
    return static_cast<double>(usage->ru_utime.tv_sec + usage->ru_stime.tv_sec)
        + static_cast<double>(usage->ru_utime.tv_usec + usage->ru_stime.tv_usec) / 1e6;
}

// A line of /proc/self/status in megabytes ("VmHWM", "VmRSS").
double statusMegabytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(static_cast<int>(std::strlen(key)) + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// Starts the peak of the resident memory afresh from the present size.
void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

bool writeText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

XmlStyleSheet* templateNumbered(MyDocument& document, int number)
{
    for (const XmlBasePtr& child : document.theme()->children())
        if (auto* sheet = XmlStyleSheet::cast(child.get()); sheet && sheet->templateSeqNum() == number)
            return sheet;
    return nullptr;
}

std::shared_ptr<XmlAlbum> addPage(MyDocument& document, XmlBase& parent, int templateNumber, const QString& name)
{
    auto page = XmlAlbum::create();
    parent.addChild(page);
    page->newDocument();
    page->setName(name);
    page->setTemplate(templateNumbered(document, templateNumber));
    return page;
}

// The parts a real site has beside its pages: a group of two pages, a
// password-protected page, an album of photos, a feed and a file of the
// user's own.
void addTheRest(MyDocument& document, const QString& work)
{
    XmlHomePage& home = *document.site()->homepage();
    auto group = XmlGroup::create();
    home.addChild(group);
    group->newDocument();
    addPage(document, *group, 2, QStringLiteral("Beds"));
    auto album = addPage(document, *group, 1, QStringLiteral("Roses"));
    auto secret = addPage(document, home, 2, QStringLiteral("Private"));
    secret->setIsPassword(true);
    secret->setPassword(QStringLiteral("rosebud"));
    for (const auto& photoAlbum : templateNumbered(document, 1)->childrenOfType<XmlWebPhotoAlbum>())
        photoAlbum->settings().setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
    for (int i = 0; i < 4; ++i) {
        QImage picture = bench::makePicture(1600, 1200, QImage::Format_RGB32);
        QPainter(&picture).fillRect(100 * i, 80 * i, 200, 200, QColor::fromHsv(60 * i, 200, 200));
        const QString source = work + QStringLiteral("/in") + QString::number(i) + QStringLiteral(".jpg");
        picture.save(source, "JPG", 85);
        album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo ") + QString::number(i));
    }
    XmlRSS& feed = *document.rss();
    feed.setPublish(true);
    feed.setTitle(QStringLiteral("Garden news"));
    feed.setLink(QStringLiteral("http://example.org/garden"));
    QDir().mkpath(document.fileName() + QStringLiteral("/files"));
    writeText(document.fileName() + QStringLiteral("/files/a.txt"), "my own file\n");
}

// The same pages for Hugo: Markdown with a title, and a layout that lists
// every page on every page.
void writeHugoSite(const QString& root, int pages)
{
    QDir().mkpath(root + QStringLiteral("/content"));
    QDir().mkpath(root + QStringLiteral("/layouts/_default"));
    writeText(root + QStringLiteral("/config.toml"),
        "baseURL = \"http://example.org/\"\ntitle = \"Scale\"\ndisableKinds = [\"taxonomy\", \"term\"]\n");
    const QByteArray layout = "<!DOCTYPE html>\n<html><head><title>{{ .Title }}</title></head>\n<body>\n<ul class=\"menu\">"
                              "{{ range .Site.RegularPages }}<li><a href=\"{{ .RelPermalink }}\">{{ .Title }}</a></li>{{ end }}</ul>\n"
                              "<h1>{{ .Title }}</h1>\n{{ .Content }}\n</body></html>\n";
    writeText(root + QStringLiteral("/layouts/_default/single.html"), layout);
    writeText(root + QStringLiteral("/layouts/_default/list.html"), layout);
    for (int p = 0; p < pages; ++p) {
        const QByteArray number = QByteArray::number(p);
        writeText(root + QStringLiteral("/content/page") + QString::number(p) + QStringLiteral(".md"),
            "---\ntitle: \"Page " + number + "\"\n---\n\nThe text of page " + number + ".\n");
    }
}

// One build's figures, as the measuring process prints them on one line.
struct Figures {
    double oursCpu = -1;
    double oursWall = -1;
    double oursPeak = -1;
    double resident = -1;
    double hugoCpu = -1;
    double hugoWall = -1;
    double hugoPeak = -1;
    double copyWall = -1;
    double writtenMegabytes = -1;
    double writtenFiles = -1;
    double slices = -1;
    double againWall = -1;
    double listWall = -1;
    double listRead = -1;
    double listReference = -1;
};

constexpr int figureCount = 15;

double* figureAt(Figures& figures, int index)
{
    double* all[figureCount] = { &figures.oursCpu, &figures.oursWall, &figures.oursPeak, &figures.resident, &figures.hugoCpu,
        &figures.hugoWall, &figures.hugoPeak, &figures.copyWall, &figures.writtenMegabytes, &figures.writtenFiles, &figures.slices, &figures.againWall, &figures.listWall,
        &figures.listRead, &figures.listReference };
    return all[index];
}

// The size and number of the files under a folder.
void measureFolder(const QString& folder, double* megabytes, double* files)
{
    qint64 bytes = 0;
    qint64 count = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
        ++count;
    }
    *megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
    *files = static_cast<double>(count);
}

// Builds the site once, with Hugo's build and the copy beside it, and
// prints the figures on one line; answers the exit status.
int measureOnce(int pages, bool full, const QString& keep)
{
    MyApplication app;
    lq::registerDocumentElements();
    Figures figures;
    QTemporaryDir work;
    // Hugo first, so that the peak memory of the children is its own.
    const QString hugo = QStandardPaths::findExecutable(QStringLiteral("hugo"));
    if (!hugo.isEmpty()) {
        const QString root = work.filePath(QStringLiteral("hugo"));
        writeHugoSite(root, pages);
        rusage before {};
        const double cpuBefore = childCpuSeconds(&before);
        QElapsedTimer wall;
        wall.start();
        const lq::ProcessResult run = lq::runProcess(hugo, { QStringLiteral("--quiet"), QStringLiteral("-s"), root,
                                                              QStringLiteral("-d"), root + QStringLiteral("/public") });
        figures.hugoWall = wall.nsecsElapsed() / 1e9;
        rusage after {};
        figures.hugoCpu = childCpuSeconds(&after) - cpuBefore;
        figures.hugoPeak = after.ru_maxrss / 1024.0;
        if (!run.succeeded()) {
            std::fprintf(stderr, "hugo failed: %s\n", run.error.left(2000).constData());
            figures.hugoCpu = figures.hugoWall = figures.hugoPeak = -1;
        }
        lq::removeItem(root);
    }

    const QString folder = work.filePath(QStringLiteral("Scale.lqxl"));
    MyDocument document;
    if (!document.newDocument(folder)) {
        std::fprintf(stderr, "cannot make the site: %s\n", qPrintable(document.lastError()));
        return 1;
    }
    XmlHomePage& home = *document.site()->homepage();
    for (int p = 0; p < pages; ++p)
        addPage(document, home, 2, QStringLiteral("Page ") + QString::number(p));
    if (full)
        addTheRest(document, work.path());
    // The photos' internal images are made before the measured build.
    document.rebuildEntireSite();
    while (!document.queue().processors().isEmpty())
        document.queue().processor();

    figures.resident = statusMegabytes("VmRSS:");
    resetPeakMemory();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // The build of every export, ended in the slice that runs its last step.
    DocumentSiteBuilder exportBuild(document);
    exportBuild.buildSite([] {}, [](const QString& why) { std::fprintf(stderr, "the build failed: %s\n", qPrintable(why)); }, {});
    // Each call is one of the queue's time slices; the window's queue rests
    // between two of them, which this loop does not.
    int slices = 0;
    while (!document.queue().processors().isEmpty()) {
        document.queue().processor();
        ++slices;
    }
    figures.slices = slices;
    document.queue().stopProcessor();
    figures.oursWall = wall.nsecsElapsed() / 1e9;
    figures.oursCpu = cpuSeconds() - cpuBefore;
    figures.oursPeak = statusMegabytes("VmHWM:");
    if (document.activityText().contains(QStringLiteral("ERROR")))
        std::fprintf(stderr, "%s\n", qPrintable(document.activityText().right(3000)));

    // Writing the same bytes and files without making them: the folder the
    // export wrote, copied and forced to the disk.
    const QString written = folder + QStringLiteral("/homepage");
    measureFolder(written, &figures.writtenMegabytes, &figures.writtenFiles);
    wall.restart();
    const lq::ProcessResult copied = lq::runProcess(QStringLiteral("/bin/cp"), { QStringLiteral("-r"), written, work.filePath(QStringLiteral("copy")) });
    const lq::ProcessResult synced = lq::runProcess(QStringLiteral("/bin/sync"), {});
    figures.copyWall = wall.nsecsElapsed() / 1e9;
    if (!copied.succeeded() || !synced.succeeded()) {
        std::fprintf(stderr, "cp -r and sync failed: %s%s\n", copied.error.left(2000).constData(), synced.error.left(2000).constData());
        figures.copyWall = -1;
    }

    // Publishing again with nothing changed: the export makes every file
    // afresh, then the listing for "changes only" reads what moved since
    // the digests the last listing kept; md5sum and diff over the same
    // files beside it.
    {
        document.createXmlD(QString());
        QStringList paths;
        QDirIterator it(written, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.append(QDir(written).relativeFilePath(it.next()));
        lq::ProcessOptions inSite;
        inSite.workingFolder = written;
        const QString lastList = work.filePath(QStringLiteral("last.md5"));
        const QString newList = work.filePath(QStringLiteral("new.md5"));
        writeText(lastList, lq::runProcess(QStringLiteral("/usr/bin/md5sum"), paths, inSite).output);

        wall.restart();
        exportBuild.buildSite([] {}, [](const QString& why) { std::fprintf(stderr, "the build failed: %s\n", qPrintable(why)); }, {});
        while (!document.queue().processors().isEmpty())
            document.queue().processor();
        document.queue().stopProcessor();
        figures.againWall = wall.nsecsElapsed() / 1e9;

        wall.restart();
        lq::ListingReport report;
        const std::shared_ptr<XmlD> listed = lq::createXmlDWithCache(written + QLatin1Char('/'),
            folder + QLatin1Char('/') + MyDocument::generatedSiteDigests, nullptr, &report);
        figures.listWall = wall.nsecsElapsed() / 1e9;
        figures.listRead = listed ? report.digested : -1;

        wall.restart();
        writeText(newList, lq::runProcess(QStringLiteral("/usr/bin/md5sum"), paths, inSite).output);
        lq::runProcess(QStringLiteral("/usr/bin/diff"), { lastList, newList });
        figures.listReference = wall.nsecsElapsed() / 1e9;
    }

    if (!keep.isEmpty()) {
        QString why;
        lq::removeItem(keep);
        if (!lq::copyItem(written, keep, &why))
            std::fprintf(stderr, "cannot keep the site: %s\n", qPrintable(why));
    }
    std::printf("figures:");
    for (int i = 0; i < figureCount; ++i)
        std::printf(" %.6f", *figureAt(figures, i));
    std::printf("\n");
    return 0;
}

// The median of each figure over the runs (a figure missing in any run,
// such as Hugo's when it is not installed, stays missing).
Figures medianOf(const std::vector<Figures>& runs)
{
    Figures median;
    for (int i = 0; i < figureCount; ++i) {
        std::vector<double> values;
        for (Figures run : runs)
            values.push_back(*figureAt(run, i));
        std::sort(values.begin(), values.end());
        *figureAt(median, i) = values.empty() || values.front() < 0 ? -1 : values[values.size() / 2];
    }
    return median;
}

// Runs this program in its measuring mode and reads the figures it prints.
bool runOnce(int pages, bool full, const QString& keep, Figures* figures)
{
    QStringList arguments { QStringLiteral("--once"), QString::number(pages) };
    if (full)
        arguments << QStringLiteral("--full");
    if (!keep.isEmpty())
        arguments << QStringLiteral("--keep") << keep;
    const lq::ProcessResult run = lq::runProcess(QCoreApplication::applicationFilePath(), arguments);
    std::fwrite(run.error.constData(), 1, static_cast<size_t>(run.error.size()), stderr);
    const qsizetype at = run.output.lastIndexOf("figures:");
    if (!run.succeeded() || at < 0)
        return false;
    const QList<QByteArray> values = run.output.mid(at + 8).simplified().split(' ');
    if (values.size() != figureCount)
        return false;
    for (int i = 0; i < figureCount; ++i)
        *figureAt(*figures, i) = values[i].toDouble();
    return true;
}

void printFigures(int pages, bool full, int runs, const Figures& f)
{
    const double n = pages;
    std::printf("site: %d pages on the text page template, each with the menu of all pages%s; median of %d runs\n", pages,
        full ? " (and a group, a protected page, an album of 4 photos, a feed)" : "", runs);
    std::printf("  ours:  cpu %.2f ms/page, wall %.2f ms/page (%.2f s in all); peak memory %.0f MB (%.0f MB before the build)\n",
        1000 * f.oursCpu / n, 1000 * f.oursWall / n, f.oursWall, f.oursPeak, f.resident);
    if (f.hugoCpu >= 0) {
        std::printf("  hugo:  cpu %.2f ms/page, wall %.2f ms/page (%.2f s in all); peak memory %.0f MB\n", 1000 * f.hugoCpu / n,
            1000 * f.hugoWall / n, f.hugoWall, f.hugoPeak);
        std::printf("  ratio (ours / hugo): cpu %.2f, wall %.2f, peak memory %.2f\n", f.oursCpu / f.hugoCpu,
            f.oursWall / f.hugoWall, f.oursPeak / f.hugoPeak);
    } else {
        std::printf("  hugo is not installed (tools/install-missing.sh hugo)\n");
    }
    if (f.copyWall > 0)
        std::printf("  export %.3f s against cp -r and sync of the %.0f files, %.1f MB it wrote %.3f s: ratio %.1f\n",
            f.oursWall, f.writtenFiles, f.writtenMegabytes, f.copyWall, f.oursWall / f.copyWall);
    if (f.againWall > 0 && f.listWall > 0)
        std::printf("  export again with nothing changed %.3f s; changes only after it: listing %.3f s (%.0f of %.0f files read) "
                    "against md5sum + diff %.3f s: ratio %.2f\n",
            f.againWall, f.listWall, f.listRead, f.writtenFiles, f.listReference, f.listWall / f.listReference);
    if (f.slices > 0) {
        const double rest = (f.slices - 1) * ProcessorQueue::rearmSeconds;
        std::printf("  the window's queue: %.0f slices of at most %.1f s, resting %.1f s between them: %.3f s more, %.0f %% of the export with it\n",
            f.slices, ProcessorQueue::sliceSeconds, ProcessorQueue::rearmSeconds, rest, 100 * rest / (f.oursWall + rest));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("LUMENQUILL_LIBEXEC"))
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_BENCH_LIBEXEC));
    std::vector<int> counts;
    bool full = false;
    bool once = false;
    int runs = 3;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full") == 0)
            full = true;
        else if (std::strcmp(argv[i], "--once") == 0)
            once = true;
        else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            counts.push_back(std::max(1, std::atoi(argv[i])));
    }
    if (counts.empty())
        counts.push_back(500);
    if (once)
        return measureOnce(counts.front(), full, keep);

    std::map<int, Figures> medians;
    for (int pages : counts) {
        std::vector<Figures> results;
        for (int run = 0; run < runs; ++run) {
            Figures figures;
            if (!runOnce(pages, full, keep, &figures)) {
                std::fprintf(stderr, "the build of %d pages failed\n", pages);
                return 1;
            }
            results.push_back(figures);
        }
        medians[pages] = medianOf(results);
        printFigures(pages, full, runs, medians[pages]);
        std::fflush(stdout);
    }
    // The growth of the per-page cost from the fewest pages to each larger count.
    const auto& [fewest, small] = *medians.begin();
    for (const auto& [most, large] : medians) {
        if (most == fewest)
            continue;
        const double ours = (large.oursCpu / most) / (small.oursCpu / fewest);
        std::printf("per-page cpu, %d pages / %d pages: ours %.2fx", most, fewest, ours);
        if (small.hugoCpu > 0 && large.hugoCpu > 0) {
            const double hugo = (large.hugoCpu / most) / (small.hugoCpu / fewest);
            std::printf(", hugo %.2fx; ratio (ours / hugo) %.2f\n", hugo, ours / hugo);
        } else {
            std::printf("\n");
        }
    }
    return 0;
}
