// Listing and digesting a generated site, and finding what changed since the
// last publication, against md5sum and diff over the same files in the same
// run. The site is laid out as a real one: a third of the files are pages at
// the top, the rest pictures in one folder.
//
//   lumenquill_bench_change_set [files [megabytes]]   (default 10000 files, 1024 MB)
//
// First publication: the program's listing of the generated site with no
// digests kept from before (every file is read, on every core) and the
// comparison with an empty last tree, against md5sum of every file; the
// listing tool xmldir (one run per folder, four readers) is printed beside.
// "Changes only", one file changed before each round: the listing that
// reads only the files whose state on disk moved since the digests it kept,
// the stored last tree read, the comparison and the new last tree stored,
// against md5sum of every file and diff with the list of the last run.
// md5sum and diff run on one core. Each figure is the median of three
// rounds.

#include "BenchSupport.h"

#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "platform/Process.h"
#include "publish/DigestListing.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    if (qEnvironmentVariableIsEmpty("LUMENQUILL_LIBEXEC"))
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_BENCH_LIBEXEC));
    const int files = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10000;
    const qint64 megabytes = argc > 2 ? std::atoll(argv[2]) : 1024;
    QTemporaryDir dir;
    const QString documentFolder = dir.path();
    const QString site = documentFolder + QStringLiteral("/homepage");
    QDir().mkpath(site + QStringLiteral("/pictures"));
    const qint64 size = megabytes * 1024 * 1024 / files;
    QByteArray block(static_cast<int>(size), Qt::Uninitialized);
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        const QString path = i % 3 == 0 ? QStringLiteral("page") + QString::number(i) + QStringLiteral(".html")
                                        : QStringLiteral("pictures/image") + QString::number(i) + QStringLiteral(".jpg");
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        if (!writeBytes(site + QLatin1Char('/') + path, block)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths.append(path);
    }
    std::printf("%d files, %lld MB: %d pages at the top, %d pictures in one folder\n", files,
        static_cast<long long>(megabytes), static_cast<int>((files + 2) / 3), files - static_cast<int>((files + 2) / 3));

    lq::ProcessOptions inSite;
    inSite.workingFolder = site;
    const auto md5sum = [&] {
        return lq::runProcess(QStringLiteral("/usr/bin/md5sum"), paths, inSite).output;
    };
    // The digests the program keeps beside the last published tree.
    const QString cacheFile = documentFolder + QStringLiteral("/homepage.digests");
    int counted = 0;
    lq::ListingReport report;
    const auto firstPublication = [&] {
        QFile::remove(cacheFile);
        std::shared_ptr<XmlD> tree = lq::createXmlDWithCache(site + QLatin1Char('/'), cacheFile, nullptr, &report);
        auto bom = XmlBom::createWithSourceDest(tree.get(), nullptr);
        counted = bom->addFiles()->fileCount();
    };
    const auto byTool = [&] {
        std::shared_ptr<XmlD> tree = lq::createXmlD(site + QLatin1Char('/'));
        auto bom = XmlBom::createWithSourceDest(tree.get(), nullptr);
    };
    md5sum(); // the page cache holds the files for both from here on
    const double reference = bench::medianSeconds(3, md5sum);
    const double measured = bench::medianSeconds(3, firstPublication);
    const double toolMeasured = bench::medianSeconds(3, byTool);
    if (counted != files || report.digested != files)
        std::fprintf(stderr, "listed %d files of %d, read %d\n", counted, files, report.digested);
    const double mb = static_cast<double>(megabytes);
    std::printf("first publication\n");
    std::printf("  md5sum:     %.3f s  %.0f MB/s\n", reference, mb / reference);
    std::printf("  change set: %.3f s  %.0f MB/s\n", measured, mb / measured);
    std::printf("  ratio (change set time / md5sum time): %.2f\n", measured / reference);
    std::printf("  (the listing tool xmldir instead: %.3f s, ratio %.2f)\n", toolMeasured, toolMeasured / reference);

    // "Changes only": the last publication is stored with the digests of
    // its listing, then one file changes before each round.
    {
        std::shared_ptr<XmlD> tree = lq::createXmlDWithCache(site + QLatin1Char('/'), cacheFile);
        lq::writeLastXmlD(documentFolder, tree.get(), {});
    }
    const QString lastList = documentFolder + QStringLiteral("/last.md5");
    const QString newList = documentFolder + QStringLiteral("/new.md5");
    writeBytes(lastList, md5sum());
    const auto changeOneFile = [&] {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        writeBytes(site + QLatin1Char('/') + paths[files / 2], block);
    };

    QByteArray differences;
    std::vector<double> referenceRounds;
    for (int i = 0; i < 3; ++i) {
        changeOneFile();
        QElapsedTimer timer;
        timer.start();
        writeBytes(newList, md5sum());
        differences = lq::runProcess(QStringLiteral("/usr/bin/diff"), { lastList, newList }).output;
        referenceRounds.push_back(timer.nsecsElapsed() / 1e9);
    }
    int changed = -1;
    // The parts of each round: listing, last tree read, comparison, store.
    std::vector<std::array<double, 4>> rounds;
    const auto changesOnly = [&] {
        double round[4];
        QElapsedTimer timer;
        timer.start();
        std::shared_ptr<XmlD> current = lq::createXmlDWithCache(site + QLatin1Char('/'), cacheFile, nullptr, &report);
        round[0] = timer.nsecsElapsed() / 1e9;
        timer.restart();
        std::shared_ptr<XmlD> last = lq::readLastXmlD(documentFolder);
        round[1] = timer.nsecsElapsed() / 1e9;
        timer.restart();
        auto bom = XmlBom::createWithSourceDest(current.get(), last.get());
        round[2] = timer.nsecsElapsed() / 1e9;
        changed = bom->addFiles()->fileCount() + bom->removeFiles()->fileCount();
        timer.restart();
        lq::writeLastXmlD(documentFolder, last.get(), {}); // the last tree stays the same from round to round
        round[3] = timer.nsecsElapsed() / 1e9;
        rounds.push_back({ round[0], round[1], round[2], round[3] });
    };
    const double diffReference = bench::median(referenceRounds);
    std::vector<double> changesRounds;
    for (int i = 0; i < 3; ++i) {
        changeOneFile();
        QElapsedTimer timer;
        timer.start();
        changesOnly();
        changesRounds.push_back(timer.nsecsElapsed() / 1e9);
    }
    const double changesMeasured = bench::median(changesRounds);
    // The parts of the median round.
    std::sort(rounds.begin(), rounds.end(), [](const auto& a, const auto& b) {
        return a[0] + a[1] + a[2] + a[3] < b[0] + b[1] + b[2] + b[3];
    });
    const std::array<double, 4> parts = rounds[rounds.size() / 2];
    if (changed != 1 || differences.count('\n') != 4)
        std::fprintf(stderr, "found %d changes, diff %lld lines\n", changed, static_cast<long long>(differences.count('\n')));
    std::printf("changes only, one file changed\n");
    std::printf("  md5sum + diff (one core):                      %.3f s\n", diffReference);
    std::printf("  ours, listing + last tree + comparison + store: %.3f s\n", changesMeasured);
    std::printf("    listing %.3f s (%d of %d files read), last tree read %.3f s, comparison %.3f s, new last tree stored %.3f s\n",
        parts[0], report.digested, report.files, parts[1], parts[2], parts[3]);
    std::printf("  ratio (ours / md5sum + diff): %.2f\n", changesMeasured / diffReference);
    return 0;
}
