// Resamples a 24-megapixel picture (6000 x 4000) to a 1024-pixel web image and
// to a 160-pixel thumbnail, with the bitmap routines (the picture's pixels
// read in place, area-averaged into the new size) and with QImage::scaled
// (smooth), and prints the best time of a few rounds of each and the ratio.
//
// First a second process held to one processor from its start, so that both
// sides work on one thread (QImage::scaled spreads its rows over Qt's own
// threads, which then take turns on that processor); then this process,
// which may use all of them.
//
//     lumenquill_bench_bitmap [rounds]
//     lumenquill_bench_bitmap --one-processor [rounds]    (the first part)

#include "BenchSupport.h"
#include "model/imaging/BitmapRoutines.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Keeps the compiler from dropping a result nobody reads.
volatile unsigned sink = 0;

} // namespace

int main(int argc, char** argv)
{
    // Held to one processor before any thread exists: every thread started
    // later inherits it.
    const bool single = argc > 1 && std::strcmp(argv[1], "--one-processor") == 0;
    if (single) {
        cpu_set_t one;
        CPU_ZERO(&one);
        const int current = sched_getcpu();
        CPU_SET(current >= 0 ? current : 0, &one);
        sched_setaffinity(0, sizeof one, &one);
        --argc;
        ++argv;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    if (!single) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--one-processor"), QString::number(rounds) });
        child.waitForFinished(-1);
    }

    const int width = 6000, height = 4000;
    // In the 32-bit RGBA byte order the bitmap routines read.
    const QImage picture = bench::makePicture(width, height, QImage::Format_RGBX8888);
    // The same pixels in Qt's own layout, which its smooth scaling works in.
    const QImage native = picture.convertToFormat(QImage::Format_RGB32);
    std::printf("%s: picture %d x %d (%.1f megapixels), best of %d rounds\n",
        single ? "one thread (the process held to one processor)" : "all processors", width, height, width * height / 1e6,
        rounds);

    struct Target {
        const char* name;
        int width, height;
    };
    const Target targets[] = {
        { "web image", 1024, 1024 * height / width },
        { "thumbnail", 160, 160 * height / width },
    };
    for (const Target& target : targets) {
        const double routines = bench::bestSeconds(rounds, [&] {
            bitmap* source = bitmap_wrap(const_cast<uint8_t*>(picture.constBits()), width, height);
            bitmap* result = bitmap_alloc(target.width, target.height);
            bitmap_resample_threads(source, result, single ? 1 : 0);
            sink = sink + result->pixels[0];
            bitmap_free(result, 0);
            bitmap_free(source, 0);
        });
        const double scaled = bench::bestSeconds(rounds, [&] {
            const QImage result = picture.scaled(target.width, target.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            sink = sink + result.constBits()[0];
        });
        const double scaledNative = bench::bestSeconds(rounds, [&] {
            const QImage result = native.scaled(target.width, target.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            sink = sink + result.constBits()[0];
        });
        std::printf("  %s %d x %d: bitmap_resample %.1f ms, QImage::scaled (smooth) %.1f ms on RGBA bytes, "
                    "%.1f ms on Qt's RGB32; ratio %.2f (against the faster)\n",
            target.name, target.width, target.height, routines * 1e3, scaled * 1e3, scaledNative * 1e3,
            routines / std::min(scaled, scaledNative));
    }
    std::fflush(stdout);
    return 0;
}
