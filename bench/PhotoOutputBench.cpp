// The heart of a site build: one photo's web image and thumbnail. A
// 24-megapixel JPEG (6000 x 4000, made here) becomes a web image of at most
// 1024 pixels and a 160 x 120 thumbnail through the program's own path (the
// stored picture loaded for the build's images, the canvas rendered with the
// filters off, resampled and written as JPEG), and the same two files are made by vipsthumbnail
// (package libvips-tools), side by side in the same run: once on the
// original for the web image, then once on that web image for the
// thumbnail, as a build would use it. Prints the median wall time per photo
// of a few rounds of each (three by default), the ratio, and where the program's
// time goes. A second row starts from the file as an import reads it (only
// as much of the JPEG decoded as the picture limits need, then limited) and
// makes the same two images from that picture. Last, how far the two images
// made from the stored picture decoded at the size they need are from the
// same images made from the whole picture decoded, in JPEG bytes and pixels.
//
//     lumenquill_bench_photo [rounds]

#include "BenchSupport.h"
#include "model/imaging/XmlCanvas.h"
#include "document/DocumentElements.h"
#include "model/imaging/XmlImage.h"
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/core/ModelSettings.h"
#include "platform/ImageFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QSize sizeOf(const QString& path)
{
    return QImageReader(path).size();
}

// Prints the sizes of two JPEG files of the same picture and how far their
// pixels are apart.
void printDifference(const char* what, const QString& before, const QString& after)
{
    const QImage a = QImage(before).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(after).convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull()) {
        std::printf("%s: the two images differ in size\n", what);
        return;
    }
    double sum = 0;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : { qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q) }) {
                sum += std::abs(d);
                largest = std::max(largest, std::abs(d));
            }
        }
    std::printf("%s %d x %d written as JPEG: %lld bytes, %lld bytes; pixels differ by %.2f on average (0..255 per channel), "
                "at most %d\n",
        what, b.width(), b.height(), static_cast<long long>(QFileInfo(before).size()),
        static_cast<long long>(QFileInfo(after).size()), sum / (3.0 * a.width() * a.height()), largest);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication qtApp(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString vips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (vips.isEmpty()) {
        std::fprintf(stderr, "vipsthumbnail is missing (package libvips-tools)\n");
        return 1;
    }

    QTemporaryDir folder;
    const QString root = folder.path();
    QDir(root).mkpath(QStringLiteral("pictures"));
    QDir(root).mkpath(QStringLiteral("out"));
    const QString original = root + QStringLiteral("/pictures/image1.jpg");
    {
        QImageWriter writer(original, "jpeg");
        writer.setQuality(92);
        if (!writer.write(bench::makePicture(6000, 4000, QImage::Format_RGB32))) {
            std::fprintf(stderr, "cannot write the picture\n");
            return 1;
        }
    }

    // A photo of an album page whose stored picture is that file.
    app.setMaxPictureWidth(1024);
    app.setMaxPictureHeight(1024);
    auto site = XmlSite::create();
    site->newDocument();
    site->setRootDir(root);
    auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    auto photo = XmlPhoto::create();
    album->addChild(photo);
    photo->setImageSeqNumber(1);
    XmlCanvas& canvas = *photo->canvas();
    canvas.setHighboost(0);
    canvas.setThumbAspectX(160);
    canvas.setThumbAspectY(120);

    // As in a document read from disk, the canvas knows the size of the
    // stored picture before reading it.
    photo->loadBackstore(nullptr);
    photo->releaseBackstore(nullptr);

    const QString webFile = root + QStringLiteral("/out/image1.jpg");
    const QString thumbFile = root + QStringLiteral("/out/thumb1.jpg");
    double load = 0, webRender = 0, webWrite = 0, thumbRender = 0, thumbWrite = 0;
    const auto stage = [](double& total, auto&& work) {
        QElapsedTimer timer;
        timer.start();
        work();
        total += static_cast<double>(timer.nsecsElapsed()) / 1e9;
    };
    const double ours = bench::medianSeconds(rounds, [&] {
        stage(load, [&] { photo->loadBackstoreForImages(lq::Size(160, 120)); });
        lq::GraphicsImage web;
        stage(webRender, [&] { web = canvas.makeImageWithLimitWidthAndLimitHeight(app.maxPictureWidth(), app.maxPictureHeight()); });
        stage(webWrite, [&] { lq::saveImageFile(web.toQImage(), webFile, ModelSettings::shared().jpgCompressionFactor()); });
        lq::GraphicsImage thumb;
        stage(thumbRender, [&] { thumb = canvas.createThumbnailWithSize(lq::Size(160, 120)); });
        stage(thumbWrite, [&] { lq::saveImageFile(thumb.toQImage(), thumbFile, ModelSettings::shared().jpgCompressionFactor()); });
        photo->releaseBackstore(nullptr);
    });

    // The same from the file as an import reads it.
    double imported = 0, importedWeb = 0, importedThumb = 0;
    const QString importedWebFile = root + QStringLiteral("/out/imported-image1.jpg");
    const QString importedThumbFile = root + QStringLiteral("/out/imported-thumb1.jpg");
    const double oursImported = bench::medianSeconds(rounds, [&] {
        std::shared_ptr<XmlPhoto> fresh;
        stage(imported, [&] { fresh = XmlPhoto::createFromFile(original); });
        XmlCanvas& freshCanvas = *fresh->canvas();
        freshCanvas.setHighboost(0);
        stage(importedWeb, [&] {
            lq::saveImageFile(
                freshCanvas.makeImageWithLimitWidthAndLimitHeight(app.maxPictureWidth(), app.maxPictureHeight()).toQImage(),
                importedWebFile, ModelSettings::shared().jpgCompressionFactor());
        });
        stage(importedThumb, [&] {
            lq::saveImageFile(freshCanvas.createThumbnailWithSize(lq::Size(160, 120)).toQImage(),
                                                  importedThumbFile, ModelSettings::shared().jpgCompressionFactor());
        });
    });

    const QString vipsWebFile = root + QStringLiteral("/out/vips-image1.jpg");
    const QString vipsWeb = vipsWebFile + QStringLiteral("[Q=95]");
    const QString vipsThumb = root + QStringLiteral("/out/vips-thumb1.jpg[Q=95]");
    bool vipsOk = true;
    const double theirs = bench::medianSeconds(rounds, [&] {
        vipsOk = run(vips, { original, QStringLiteral("--size"), QStringLiteral("1024"), QStringLiteral("-o"), vipsWeb }) && vipsOk;
        vipsOk = run(vips, { vipsWebFile, QStringLiteral("--size"), QStringLiteral("160x120"), QStringLiteral("--smartcrop"),
                             QStringLiteral("centre"), QStringLiteral("-o"), vipsThumb })
            && vipsOk;
    });
    if (!vipsOk) {
        std::fprintf(stderr, "vipsthumbnail failed\n");
        return 1;
    }

    const QSize ourWeb = sizeOf(webFile), ourThumb = sizeOf(thumbFile);
    const QSize vipsWebSize = sizeOf(root + QStringLiteral("/out/vips-image1.jpg"));
    const QSize vipsThumbSize = sizeOf(root + QStringLiteral("/out/vips-thumb1.jpg"));
    std::printf("picture: 6000 x 4000 JPEG, median of %d rounds\n", rounds);
    std::printf("ours:          %.1f ms per photo (web image %d x %d, thumbnail %d x %d)\n", ours * 1e3, ourWeb.width(),
                ourWeb.height(), ourThumb.width(), ourThumb.height());
    std::printf("vipsthumbnail: %.1f ms per photo (web image %d x %d, thumbnail %d x %d from the web image; two processes)\n",
                theirs * 1e3,
                vipsWebSize.width(), vipsWebSize.height(), vipsThumbSize.width(), vipsThumbSize.height());
    std::printf("ratio ours / vipsthumbnail: %.2f\n", ours / theirs);
    std::printf("ours, mean per round: load %.1f ms, web render %.1f ms, web write %.1f ms, thumbnail render %.1f ms, "
                "thumbnail write %.1f ms\n",
                load / rounds * 1e3, webRender / rounds * 1e3, webWrite / rounds * 1e3, thumbRender / rounds * 1e3,
                thumbWrite / rounds * 1e3);
    const QSize importedWebSize = sizeOf(importedWebFile), importedThumbSize = sizeOf(importedThumbFile);
    std::printf("ours, as imported: %.1f ms per photo (web image %d x %d, thumbnail %d x %d)\n", oursImported * 1e3,
                importedWebSize.width(), importedWebSize.height(), importedThumbSize.width(), importedThumbSize.height());
    std::printf("ratio ours as imported / vipsthumbnail: %.2f\n", oursImported / theirs);
    std::printf("ours as imported, mean per round: read and limit %.1f ms, web image %.1f ms, thumbnail %.1f ms\n",
                imported / rounds * 1e3, importedWeb / rounds * 1e3, importedThumb / rounds * 1e3);
    // What decoding at a reduced size changes: the picture an import keeps,
    // against the whole picture decoded and then limited, both written as
    // the web image is.
    {
        QImage full;
        full.load(original);
        const lq::Size limit(static_cast<float>(app.maxPictureWidth()), static_cast<float>(app.maxPictureHeight()));
        const QImage before = XmlImage::resizeImageToLimitSize(lq::GraphicsImage(full), limit).toQImage();
        const QImage after = XmlPhoto::createFromFile(original)->canvas()->image()->image().toQImage();
        const QString beforeFile = root + QStringLiteral("/out/before.jpg"), afterFile = root + QStringLiteral("/out/after.jpg");
        lq::saveImageFile(before, beforeFile, ModelSettings::shared().jpgCompressionFactor());
        lq::saveImageFile(after, afterFile, ModelSettings::shared().jpgCompressionFactor());
        printDifference("imported picture, from the whole decode and from the reduced one:", beforeFile, afterFile);
    }
    // What decoding the stored picture at the size the images need changes:
    // the web image and the thumbnail from the whole picture, against the
    // ones written above.
    {
        const QString wholeWeb = root + QStringLiteral("/out/whole-image1.jpg");
        const QString wholeThumb = root + QStringLiteral("/out/whole-thumb1.jpg");
        photo->loadBackstore(nullptr);
        lq::saveImageFile(
            canvas.makeImageWithLimitWidthAndLimitHeight(app.maxPictureWidth(), app.maxPictureHeight()).toQImage(), wholeWeb, ModelSettings::shared().jpgCompressionFactor());
        lq::saveImageFile(canvas.createThumbnailWithSize(lq::Size(160, 120)).toQImage(), wholeThumb, ModelSettings::shared().jpgCompressionFactor());
        photo->releaseBackstore(nullptr);
        printDifference("web image from the stored picture, whole and reduced decode:", wholeWeb, webFile);
        printDifference("thumbnail from the stored picture, whole and reduced decode:", wholeThumb, thumbFile);
    }
    return 0;
}
