// Listing and digesting a generated site: our change set (the xmldir tool
// over every folder, then the comparison with an empty last tree) against
// md5sum over the same files, in the same run.
//
//   lumenquill_bench_change_set [files [megabytes]]   (default 2000 files, 2048 MB)

#include "BenchSupport.h"

#include "model/application/MyApplication.h"
#include "publish/DigestListing.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    MyApplication app;
    qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_BENCH_LIBEXEC));
    const int files = argc > 1 ? std::atoi(argv[1]) : 2000;
    const qint64 megabytes = argc > 2 ? std::atoll(argv[2]) : 2048;
    QTemporaryDir dir;
    const QString site = dir.path() + QStringLiteral("/homepage");
    const qint64 size = megabytes * 1024 * 1024 / files;
    QByteArray block(static_cast<int>(size), Qt::Uninitialized);
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        const QString folder = site + QStringLiteral("/folder") + QString::number(i % 20) + QStringLiteral("/sub") + QString::number(i % 3);
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/page") + QString::number(i) + QStringLiteral(".html");
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(block) != block.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths.append(path);
    }
    std::printf("%d files, %lld MB\n", files, static_cast<long long>(megabytes));

    const auto md5sum = [&] {
        QProcess process;
        process.setWorkingDirectory(site);
        process.start(QStringLiteral("/usr/bin/md5sum"), paths);
        process.waitForFinished(-1);
        process.readAllStandardOutput();
    };
    int counted = 0;
    const auto ours = [&] {
        std::shared_ptr<XmlD> tree = lq::createXmlD(site + QLatin1Char('/'));
        auto bom = XmlBom::createWithSourceDest(tree.get(), nullptr);
        counted = bom->addFiles()->fileCount();
    };
    md5sum(); // the page cache holds the files for both from here on
    const double reference = bench::bestSeconds(3, md5sum);
    const double measured = bench::bestSeconds(3, ours);
    if (counted != files)
        std::fprintf(stderr, "listed %d files of %d\n", counted, files);
    const double mb = static_cast<double>(megabytes);
    std::printf("md5sum:     %.3f s  %.0f MB/s\n", reference, mb / reference);
    std::printf("change set: %.3f s  %.0f MB/s\n", measured, mb / measured);
    std::printf("ratio (change set throughput / md5sum throughput): %.2f\n", reference / measured);
    return 0;
}
