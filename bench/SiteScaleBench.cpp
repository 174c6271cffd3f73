// A site of many pages, each with the navigation menu of all of them: the
// starter site with N text pages is generated and prepared for export through
// the document's processor queue; side by side in the same run, Hugo builds
// the same pages from Markdown with a layout that lists every page.
//
//   lumenquill_bench_site_scale [pages] [--full] [--keep folder]
//
// Reports the cpu and wall time per page of ours and Hugo's with their
// ratio, and the peak memory of both. With --full the site also holds a
// group, a password-protected page, an album of photos, a feed and a file of
// the user's own; with --keep the generated site is copied to the folder (to
// compare the bytes of two builds with md5sum).

#include "BenchSupport.h"

#include "document/MyDocument.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/application/MyApplication.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "pipeline/ProcessorQueue.h"
#include "document/DocumentElements.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <ctime>

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
        photoAlbum->setClickOp(XmlWebPhotoAlbum::ClickOperation::NewWindow);
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    if (qEnvironmentVariableIsEmpty("LUMENQUILL_LIBEXEC"))
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_BENCH_LIBEXEC));
    int pages = 500;
    bool full = false;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full") == 0)
            full = true;
        else if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = QString::fromLocal8Bit(argv[++i]);
        else
            pages = std::max(1, std::atoi(argv[i]));
    }

    QTemporaryDir work;
    // Hugo first, so that the peak memory of the children is its own.
    double hugoCpu = -1;
    double hugoWall = -1;
    double hugoPeak = -1;
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
        hugoWall = wall.nsecsElapsed() / 1e9;
        rusage after {};
        hugoCpu = childCpuSeconds(&after) - cpuBefore;
        hugoPeak = after.ru_maxrss / 1024.0;
        if (!run.succeeded())
            std::fprintf(stderr, "hugo failed: %s\n", run.error.left(2000).constData());
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

    const double resident = statusMegabytes("VmRSS:");
    resetPeakMemory();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    document.prepareForExport(QStringLiteral("startExport2"));
    while (!document.queue().processors().isEmpty())
        document.queue().processor();
    document.queue().stopProcessor();
    const double oursWall = wall.nsecsElapsed() / 1e9;
    const double oursCpu = cpuSeconds() - cpuBefore;
    const double oursPeak = statusMegabytes("VmHWM:");
    if (document.activityText().contains(QStringLiteral("ERROR")))
        std::fprintf(stderr, "%s\n", qPrintable(document.activityText().right(3000)));

    const double n = pages;
    std::printf("site: %d pages on the text page template, each with the menu of all pages%s\n", pages,
        full ? " (and a group, a protected page, an album of 4 photos, a feed)" : "");
    std::printf("ours:  cpu %.2f ms/page, wall %.2f ms/page (%.2f s in all); peak memory %.0f MB (%.0f MB before the build)\n",
        1000 * oursCpu / n, 1000 * oursWall / n, oursWall, oursPeak, resident);
    if (hugoCpu >= 0) {
        std::printf("hugo:  cpu %.2f ms/page, wall %.2f ms/page (%.2f s in all); peak memory %.0f MB\n", 1000 * hugoCpu / n,
            1000 * hugoWall / n, hugoWall, hugoPeak);
        std::printf("ratio (ours / hugo): cpu %.2f, wall %.2f, peak memory %.2f\n", oursCpu / hugoCpu, oursWall / hugoWall,
            oursPeak / hugoPeak);
    } else {
        std::printf("hugo is not installed (tools/install-missing.sh hugo)\n");
    }
    if (!keep.isEmpty()) {
        QString why;
        lq::removeItem(keep);
        if (!lq::copyItem(folder + QStringLiteral("/homepage"), keep, &why))
            std::fprintf(stderr, "cannot keep the site: %s\n", qPrintable(why));
    }
    return 0;
}
