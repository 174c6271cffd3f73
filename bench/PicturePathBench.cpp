// The picture path of a photo: a 24-megapixel JPEG (made here) is loaded into
// a picture element, drawn into a page 1024 pixels wide, resized to a web
// image (1024 pixels) and a thumbnail (160 pixels), and both are written as
// JPEG, all through the application's own routines. A second path imports
// the file as a photo (read, fitted to the picture limits) and writes it.
//
// Each run is a process of its own, so that its peak memory is its own: the
// wall time and the peak resident memory of the best of a few runs are
// printed beside one decoded picture (6000 x 4000 x 4 bytes), beside plain Qt
// doing the same (QImageReader, QImage::scaled, QImageWriter), and beside
// vipsthumbnail making the web image when it is installed.
//
//     lumenquill_bench_picture [rounds]
//     lumenquill_bench_picture --ours FILE FOLDER     (one run of our path)
//     lumenquill_bench_picture --import FILE FOLDER   (one run of the import)
//     lumenquill_bench_picture --qt FILE FOLDER       (one run of plain Qt)

#include "BenchSupport.h"
#include "model/imaging/XmlImage.h"
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/imaging/XmlCanvas.h"
#include "model/site/XmlPhoto.h"
#include "platform/Image.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

extern char** environ;

namespace {

constexpr int pictureWidth = 6000;
constexpr int pictureHeight = 4000;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Our path, as the application takes it.
int runOurs(const QString& path, const QString& folder)
{
    MyApplication app;
    lq::registerDocumentElements();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    file.close();

    // Load: the picture element decodes its data.
    const std::shared_ptr<XmlImage> element = XmlImage::create();
    element->setImageData(bytes);
    const lq::GraphicsImage picture = element->image();
    if (picture.isNull())
        return 1;

    // Draw: the element drawn into a page 1024 pixels wide.
    const double scale = 1024.0 / picture.pixelsWide();
    QImage page(1024, static_cast<int>(picture.pixelsHigh() * scale), QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    {
        lq::GraphicsContext::Scope scope(page);
        scope.context().concat(QTransform::fromScale(scale, scale));
        element->draw();
    }

    // Resize and encode: the web image and the thumbnail.
    const lq::GraphicsImage web = XmlImage::resizeImageToLimitSize(picture, lq::Size(1024, 1024));
    const lq::GraphicsImage thumbnail = XmlImage::resizeImageToLimitSize(picture, lq::Size(160, 160));
    const bool written = writeFile(folder + QStringLiteral("/ours-web.jpg"), lq::encodeImage(web.toQImage(), lq::ImageFormat::Jpeg, 0.8))
        && writeFile(folder + QStringLiteral("/ours-thumbnail.jpg"), lq::encodeImage(thumbnail.toQImage(), lq::ImageFormat::Jpeg, 0.8));
    return written ? 0 : 1;
}

// A photo import: the file read and fitted to the picture limits, then written.
int runImport(const QString& path, const QString& folder)
{
    MyApplication app;
    lq::registerDocumentElements();
    const std::shared_ptr<XmlPhoto> photo = XmlPhoto::createFromFile(path);
    if (!photo)
        return 1;
    const lq::GraphicsImage picture = photo->canvas()->image()->image();
    return writeFile(folder + QStringLiteral("/import.jpg"), lq::encodeImage(picture.toQImage(), lq::ImageFormat::Jpeg, 0.8)) ? 0 : 1;
}

// The same with plain Qt.
int runQt(const QString& path, const QString& folder)
{
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        return 1;
    const QImage web = picture.scaled(1024, 1024, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QImage thumbnail = picture.scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImageWriter webWriter(folder + QStringLiteral("/qt-web.jpg"), "jpg");
    webWriter.setQuality(80);
    QImageWriter thumbnailWriter(folder + QStringLiteral("/qt-thumbnail.jpg"), "jpg");
    thumbnailWriter.setQuality(80);
    return webWriter.write(web) && thumbnailWriter.write(thumbnail) ? 0 : 1;
}

struct Run {
    double seconds = std::numeric_limits<double>::max();
    long peakKilobytes = std::numeric_limits<long>::max();
    bool ok = false;
};

// One run of the program with the arguments: its wall time and peak memory.
Run runProcess(const QString& program, const QStringList& arguments)
{
    std::vector<QByteArray> storage;
    storage.push_back(program.toLocal8Bit());
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    Run run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    run.peakKilobytes = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

Run bestOf(int rounds, const QString& program, const QStringList& arguments)
{
    Run best;
    for (int round = 0; round < rounds; ++round) {
        const Run run = runProcess(program, arguments);
        if (!run.ok)
            return run;
        best.ok = true;
        best.seconds = std::min(best.seconds, run.seconds);
        best.peakKilobytes = std::min(best.peakKilobytes, run.peakKilobytes);
    }
    return best;
}

void print(const char* what, const Run& run, double decodedMB)
{
    if (!run.ok) {
        std::printf("  %-40s failed\n", what);
        return;
    }
    const double peakMB = static_cast<double>(run.peakKilobytes) / 1024.0;
    std::printf("  %-40s %.3f s, peak memory %.0f MB (%.2f x one decoded picture)\n", what, run.seconds, peakMB,
        peakMB / decodedMB);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qtApp(argc, argv);
    if (argc > 3 && std::strcmp(argv[1], "--ours") == 0)
        return runOurs(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc > 3 && std::strcmp(argv[1], "--import") == 0)
        return runImport(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc > 3 && std::strcmp(argv[1], "--qt") == 0)
        return runQt(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("photo.jpg"));
    {
        QImageWriter writer(path, "jpg");
        writer.setQuality(90);
        if (!writer.write(bench::makePicture(pictureWidth, pictureHeight, QImage::Format_RGB32))) {
            std::printf("cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const double decodedMB = pictureWidth * double(pictureHeight) * 4 / (1024.0 * 1024.0);
    std::printf("photo: %d x %d JPEG of %.1f MB; one decoded picture is %.0f MB; best of %d runs\n", pictureWidth,
        pictureHeight, QFileInfo(path).size() / (1024.0 * 1024.0), decodedMB, rounds);

    const QString self = QCoreApplication::applicationFilePath();
    const Run ours = bestOf(rounds, self, { QStringLiteral("--ours"), path, folder.path() });
    print("ours (load, draw, resize, encode)", ours, decodedMB);
    const Run imported = bestOf(rounds, self, { QStringLiteral("--import"), path, folder.path() });
    print("ours, photo import (read, fit, encode)", imported, decodedMB);
    const Run qt = bestOf(rounds, self, { QStringLiteral("--qt"), path, folder.path() });
    print("plain Qt (load, resize, encode)", qt, decodedMB);
    const QString vips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (!vips.isEmpty()) {
        const Run thumbnail = bestOf(rounds, vips,
            { path, QStringLiteral("-s"), QStringLiteral("1024"), QStringLiteral("-o"), folder.filePath(QStringLiteral("vips-web.jpg[Q=80]")) });
        print("vipsthumbnail (web image only)", thumbnail, decodedMB);
        if (ours.ok && thumbnail.ok)
            std::printf("  ours / vipsthumbnail: %.2f x the time\n", ours.seconds / thumbnail.seconds);
    } else {
        std::printf("  vipsthumbnail is not installed (package libvips-tools)\n");
    }
    return ours.ok ? 0 : 1;
}
