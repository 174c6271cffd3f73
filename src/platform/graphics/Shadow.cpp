#include "platform/graphics/Shadow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace lq {

namespace {

// Widths of three box filters whose succession approximates a Gaussian of
// the standard deviation.
std::array<int, 3> boxWidthsForGauss(double sigma)
{
    constexpr int passes = 3;
    const double ideal = std::sqrt(12.0 * sigma * sigma / passes + 1.0);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m = (12.0 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes)
        / (-4.0 * lower - 4.0);
    const int lowerCount = static_cast<int>(std::lround(m));
    std::array<int, 3> widths {};
    for (int i = 0; i < passes; ++i)
        widths[static_cast<size_t>(i)] = i < lowerCount ? lower : upper;
    return widths;
}

// One box pass over `count` pixels of four channels, `stride` bytes apart:
// every channel becomes the mean of the `radius` pixels on each side and
// itself; beyond the ends the image is transparent.
void boxPass(uchar* first, int count, int stride, int radius, std::vector<uchar>& line)
{
    if (radius <= 0 || count <= 0)
        return;
    line.resize(static_cast<size_t>(count) * 4);
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 4; ++c)
            line[static_cast<size_t>(i) * 4 + c] = first[static_cast<ptrdiff_t>(i) * stride + c];
    const int width = radius * 2 + 1;
    int sums[4] = { 0, 0, 0, 0 };
    // The window of the first pixel: [-radius, radius].
    for (int i = 0; i <= radius && i < count; ++i)
        for (int c = 0; c < 4; ++c)
            sums[c] += line[static_cast<size_t>(i) * 4 + c];
    for (int i = 0; i < count; ++i) {
        uchar* out = first + static_cast<ptrdiff_t>(i) * stride;
        for (int c = 0; c < 4; ++c)
            out[c] = static_cast<uchar>((sums[c] + width / 2) / width);
        const int entering = i + radius + 1;
        const int leaving = i - radius;
        for (int c = 0; c < 4; ++c) {
            if (entering < count)
                sums[c] += line[static_cast<size_t>(entering) * 4 + c];
            if (leaving >= 0)
                sums[c] -= line[static_cast<size_t>(leaving) * 4 + c];
        }
    }
}

} // namespace

int Shadow::blurExtent() const
{
    if (!(_blurRadius > 0))
        return 0;
    return static_cast<int>(std::ceil(_blurRadius * 1.5f)) + 1;
}

void Shadow::blur(QImage& image) const
{
    if (image.isNull() || !(_blurRadius > 0))
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    const double sigma = _blurRadius / 2.0;
    const std::array<int, 3> widths = boxWidthsForGauss(sigma);
    const int w = image.width();
    const int h = image.height();
    const int bytesPerLine = static_cast<int>(image.bytesPerLine());
    uchar* bits = image.bits();
    std::vector<uchar> line;
    for (const int boxWidth : widths) {
        const int radius = (boxWidth - 1) / 2;
        for (int y = 0; y < h; ++y)
            boxPass(bits + static_cast<ptrdiff_t>(y) * bytesPerLine, w, 4, radius, line);
        for (int x = 0; x < w; ++x)
            boxPass(bits + static_cast<ptrdiff_t>(x) * 4, h, bytesPerLine, radius, line);
    }
}

} // namespace lq
