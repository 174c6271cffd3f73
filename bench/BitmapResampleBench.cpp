// Resamples a 24-megapixel picture (6000 x 4000) to a 1024-pixel web image and
// to a 160-pixel thumbnail, with the bitmap routines (the picture's pixels
// read in place, area-averaged into the new size) and with QImage::scaled
// (smooth), and prints the best time of a few rounds of each.
//
//     lumenquill_bench_bitmap [rounds]

#include "BenchSupport.h"
#include "imaging/BitmapRoutines.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Keeps the compiler from dropping a result nobody reads.
volatile unsigned sink = 0;

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const int width = 6000, height = 4000;
    const QImage picture = bench::makePicture(width, height, QImage::Format_RGBX8888);
    // The same pixels in Qt's own layout, which its smooth scaling works in.
    const QImage native = picture.convertToFormat(QImage::Format_RGB32);
    std::printf("picture: %d x %d (%.1f megapixels), best of %d rounds\n", width, height,
                width * height / 1e6, rounds);

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
            bitmap_resample(source, result);
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
        std::printf("%s %d x %d: bitmap_resample %.1f ms, QImage::scaled (smooth) %.1f ms on RGBA bytes, "
                    "%.1f ms on Qt's RGB32\n",
                    target.name, target.width, target.height, routines * 1e3, scaled * 1e3, scaledNative * 1e3);
    }
    return 0;
}
