#include "imaging/BitmapRoutines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// One in 16.16 fixed point.
constexpr int64_t fixedOne = 65536;

// A new descriptor with its row table; the pixel block is the caller's.
bitmap* newDescriptor(uint8_t* pixels, int width, int height, int bytesPerRow, bitmap* owner)
{
    auto* b = static_cast<bitmap*>(std::calloc(1, sizeof(bitmap)));
    if (!b)
        return nullptr;
    b->rows = static_cast<uint8_t**>(std::calloc(static_cast<size_t>(std::max(height, 1)), sizeof(uint8_t*)));
    if (!b->rows) {
        std::free(b);
        return nullptr;
    }
    b->pixels = pixels;
    b->width = width;
    b->height = height;
    b->bytes_per_row = bytesPerRow;
    b->has_alpha = 0;
    b->owner = owner;
    for (int i = 0; i < height; ++i)
        b->rows[i] = pixels + static_cast<ptrdiff_t>(i) * bytesPerRow;
    return b;
}

uint8_t* pixelAt(const bitmap* b, int row, int column)
{
    return b->pixels + static_cast<ptrdiff_t>(row) * b->bytes_per_row + static_cast<ptrdiff_t>(column) * 4;
}

// A channel value from a 16.16 sum: truncated by the shift, kept within a byte.
uint8_t channelFromSum(int64_t sum)
{
    return static_cast<uint8_t>(std::clamp<int64_t>(sum >> 16, 0, 255));
}

// A channel value from a double: 0 below 0 (and for NaN), 255 from 256 on,
// otherwise truncated.
uint8_t channelFromDouble(double value)
{
    if (!(value >= 0.0))
        return 0;
    if (value >= 256.0)
        return 255;
    return static_cast<uint8_t>(value);
}

// The supersampling factor of one direction: the smallest k with
// k x source >= destination. Reducing needs k = 1.
int64_t supersampling(int64_t source, int64_t destination)
{
    int64_t k = 1;
    if (source < destination)
        k = (destination + source - 1) / source;
    return k;
}

bool fourthBytesOpaque(const bitmap* b)
{
    for (int y = 0; y < b->height; ++y) {
        const uint8_t* p = pixelAt(b, y, 0);
        for (int x = 0; x < b->width; ++x)
            if (p[x * 4 + 3] != 255)
                return false;
    }
    return true;
}

void setFourthBytesOpaque(uint8_t* row, int width)
{
    for (int x = 0; x < width; ++x)
        row[x * 4 + 3] = 255;
}

// One source pixel's share of an output pixel, in 16.16 fixed point.
struct Share {
    int source;
    int64_t weight;
};

// The resampling walk of one direction, worked out once: it is the same for
// every row (or column). Each source pixel is read k times in a row; each
// read adds `step` to a running fraction f and its share to the output being
// made; when f passes one, the read's part up to the boundary completes that
// output and the rest starts the next. So each output is the sum of its
// sources' values times their shares, shifted right by 16 bits. The outputs
// the walk does not complete (the fraction lost to the step's rounding) all
// take what was left over at the end.
//
// k is the smallest factor with k x source >= destination, so the step
// never exceeds one: every read completes at most one output, and the shares
// of one output add up to at most one (65536), which keeps every sum within
// 24 bits.
struct Walk {
    std::vector<Share> shares;  // grouped by output, in order
    std::vector<size_t> first;  // output o's shares: [first[o], first[o + 1]); the leftover from first[written]
    int written = 0;            // the number of outputs the walk completes
};

Walk planWalk(int sourceCount, int destinationCount)
{
    const int64_t k = supersampling(sourceCount, destinationCount);
    const int64_t step = (static_cast<int64_t>(destinationCount) * fixedOne) / (k * sourceCount);
    Walk walk;
    walk.shares.reserve(static_cast<size_t>(sourceCount) + static_cast<size_t>(destinationCount) + 1);
    walk.first.reserve(static_cast<size_t>(destinationCount) + 1);
    walk.first.push_back(0);
    const auto add = [&walk](int source, int64_t weight) {
        if (weight == 0)
            return;
        if (walk.shares.size() > walk.first.back() && walk.shares.back().source == source)
            walk.shares.back().weight += weight;
        else
            walk.shares.push_back({ source, weight });
    };
    int64_t f = 0;
    for (int s = 0; s < sourceCount; ++s) {
        for (int64_t j = 0; j < k; ++j) {
            f += step;
            if (f > fixedOne - 1) {
                f -= fixedOne;
                add(s, step - f);
                if (walk.written < destinationCount) {
                    walk.first.push_back(walk.shares.size());
                    ++walk.written;
                }
                add(s, f);
            } else {
                add(s, step);
            }
        }
    }
    return walk;
}

} // namespace

bitmap* bitmap_alloc(int width, int height)
{
    if (width < 0 || height < 0)
        return nullptr;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    auto* pixels = static_cast<uint8_t*>(std::calloc(std::max<size_t>(bytes, 1), 1));
    if (!pixels)
        return nullptr;
    bitmap* b = newDescriptor(pixels, width, height, width * 4, nullptr);
    if (!b) {
        std::free(pixels);
        return nullptr;
    }
    b->owner = b;
    return b;
}

bitmap* bitmap_from_rgb(const uint8_t* rgb, int width, int height, int bytes_per_row)
{
    bitmap* b = bitmap_alloc(width, height);
    if (!b || !rgb)
        return b;
    const uint8_t* source = rgb;
    for (int row = height - 1; row >= 0; --row) {
        uint8_t* target = b->rows[row];
        for (int x = 0; x < width; ++x) {
            target[x * 4] = source[x * 3];
            target[x * 4 + 1] = source[x * 3 + 1];
            target[x * 4 + 2] = source[x * 3 + 2];
            target[x * 4 + 3] = 255;
        }
        source += bytes_per_row;
    }
    return b;
}

bitmap* bitmap_wrap(uint8_t* rgba, int width, int height)
{
    return bitmap_wrap(rgba, width, height, width * 4);
}

bitmap* bitmap_wrap(uint8_t* rgba, int width, int height, int bytes_per_row)
{
    if (width < 0 || height < 0 || bytes_per_row < width * 4)
        return nullptr;
    return newDescriptor(rgba, width, height, bytes_per_row, nullptr);
}

void bitmap_free(bitmap* b, int free_owner)
{
    if (!b)
        return;
    if (b->owner == b)
        std::free(b->pixels);
    else if (free_owner && b->owner)
        bitmap_free(b->owner, free_owner);
    std::free(b->rows);
    std::free(b);
}

bitmap* bitmap_crop(bitmap* source, int row, int column, int width, int height)
{
    if (!source)
        return nullptr;
    int64_t top = row;
    int64_t left = column;
    int64_t w = width;
    int64_t h = height;
    // A rectangle reaching over the top or left edge keeps only its part
    // inside, as one reaching over the bottom or right edge does.
    if (top < 0) {
        h += top;
        top = 0;
    }
    if (left < 0) {
        w += left;
        left = 0;
    }
    if (top + h > source->height)
        h = source->height - top;
    if (left + w > source->width)
        w = source->width - left;
    if (h < 1 || w < 1)
        return nullptr;
    return newDescriptor(pixelAt(source, static_cast<int>(top), static_cast<int>(left)), static_cast<int>(w),
                         static_cast<int>(h), source->bytes_per_row, source);
}

void bitmap_resample(const bitmap* source, bitmap* destination)
{
    if (!source || !destination)
        return;
    const int sw = source->width;
    const int sh = source->height;
    const int dw = destination->width;
    const int dh = destination->height;
    // Nothing to read or nothing to fill (an empty source would never
    // reach the destination's size).
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;
    const size_t rowBytes = static_cast<size_t>(dw) * 4;

    // Horizontal pass: every source row into a row of dw pixels. A walk to
    // the same size gives every pixel its own output at a share of one, a
    // copy: the source's rows are then read as they are.
    bitmap* temp = nullptr;
    if (sw != dw) {
        temp = bitmap_alloc(dw, sh);
        if (!temp)
            return;
        const Walk across = planWalk(sw, dw);
        for (int y = 0; y < sh; ++y) {
            const uint8_t* in = source->pixels + static_cast<ptrdiff_t>(y) * source->bytes_per_row;
            uint8_t* out = temp->rows[y];
            for (int o = 0; o <= across.written && o < dw; ++o) {
                int64_t sum[4] = { 0, 0, 0, 0 };
                const size_t end = o < across.written ? across.first[static_cast<size_t>(o) + 1] : across.shares.size();
                for (size_t i = across.first[static_cast<size_t>(o)]; i < end; ++i) {
                    const uint8_t* p = in + static_cast<ptrdiff_t>(across.shares[i].source) * 4;
                    const int64_t weight = across.shares[i].weight;
                    for (int c = 0; c < 4; ++c)
                        sum[c] += p[c] * weight;
                }
                uint8_t* q = out + o * 4;
                for (int c = 0; c < 4; ++c)
                    q[c] = channelFromSum(sum[c]);
            }
            // The outputs the walk never completed all take what was left over.
            for (int o = across.written + 1; o < dw; ++o)
                std::memcpy(out + o * 4, out + across.written * 4, 4);
        }
    }
    const auto across = [&](int row) -> const uint8_t* {
        return temp ? temp->rows[row] : source->pixels + static_cast<ptrdiff_t>(row) * source->bytes_per_row;
    };
    const auto outputRow = [&](int row) {
        return destination->pixels + static_cast<ptrdiff_t>(row) * destination->bytes_per_row;
    };

    // Vertical pass: the same walk down the columns, all columns of a row at once.
    if (sh == dh) {
        for (int y = 0; y < dh; ++y)
            std::memcpy(outputRow(y), across(y), rowBytes);
    } else {
        const Walk down = planWalk(sh, dh);
        std::vector<int64_t> sums(rowBytes);
        for (int o = 0; o <= down.written && o < dh; ++o) {
            std::fill(sums.begin(), sums.end(), 0);
            const size_t end = o < down.written ? down.first[static_cast<size_t>(o) + 1] : down.shares.size();
            for (size_t i = down.first[static_cast<size_t>(o)]; i < end; ++i) {
                const uint8_t* in = across(down.shares[i].source);
                const int64_t weight = down.shares[i].weight;
                for (size_t c = 0; c < rowBytes; ++c)
                    sums[c] += in[c] * weight;
            }
            uint8_t* out = outputRow(o);
            for (size_t c = 0; c < rowBytes; ++c)
                out[c] = channelFromSum(sums[c]);
        }
        for (int o = down.written + 1; o < dh; ++o)
            std::memcpy(outputRow(o), outputRow(down.written), rowBytes);
    }

    bitmap_free(temp, 0);
}

bitmap* bitmap_sharpen(const bitmap* b, double amount)
{
    if (!b || b->width <= 2 || b->height <= 2)
        return nullptr;
    const int w = b->width;
    const int h = b->height;
    bitmap* result = bitmap_alloc(w, h);
    if (!result)
        return nullptr;

    // The frame: first and last rows whole, first and last columns.
    std::memcpy(result->rows[0], pixelAt(b, 0, 0), static_cast<size_t>(w) * 4);
    std::memcpy(result->rows[h - 1], pixelAt(b, h - 1, 0), static_cast<size_t>(w) * 4);
    for (int y = 1; y < h - 1; ++y) {
        std::memcpy(pixelAt(result, y, 0), pixelAt(b, y, 0), 4);
        std::memcpy(pixelAt(result, y, w - 1), pixelAt(b, y, w - 1), 4);
    }

    const double centreFactor = amount * 8.0 + 1.0;
    for (int y = 1; y < h - 1; ++y) {
        const uint8_t* above = pixelAt(b, y - 1, 0);
        const uint8_t* here = pixelAt(b, y, 0);
        const uint8_t* below = pixelAt(b, y + 1, 0);
        uint8_t* out = pixelAt(result, y, 0);
        for (int x = 1; x < w - 1; ++x) {
            const int l = (x - 1) * 4;
            const int m = x * 4;
            const int r = (x + 1) * 4;
            for (int c = 0; c < 4; ++c) {
                const int neighbours = above[l + c] + above[m + c] + above[r + c] + here[l + c] + here[r + c]
                    + below[l + c] + below[m + c] + below[r + c];
                const double value = here[m + c] * centreFactor - amount * neighbours;
                out[m + c] = channelFromDouble(value);
            }
        }
    }
    return result;
}

void bitmap_adjust(bitmap* b, double brightness, double contrast, double saturation)
{
    if (!b || !b->pixels || b->width <= 0 || b->height <= 0)
        return;
    const int w = b->width;
    const int h = b->height;

    double total = 0.0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = pixelAt(b, y, 0);
        for (int x = 0; x < w; ++x, p += 4)
            total += 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    }
    const double mean = total / (static_cast<double>(w) * static_cast<double>(h));

    const double chroma = 1.0 + saturation;
    const double stretch = contrast * 0.25 + 1.0;
    const double lift = 255.0 * (brightness * 0.25);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = pixelAt(b, y, 0);
        for (int x = 0; x < w; ++x, p += 4) {
            const double r = p[0];
            const double g = p[1];
            const double bl = p[2];
            const double luma = 0.299 * r + 0.587 * g + 0.114 * bl;
            const double u = chroma * 0.4921 * (bl - luma);
            const double v = chroma * 0.8773 * (r - luma);
            const double adjusted = (luma - mean) * stretch + mean + lift;
            p[0] = channelFromDouble(adjusted + 1.13983 * v);
            p[1] = channelFromDouble(adjusted - 0.39465 * u - 0.5806 * v);
            p[2] = channelFromDouble(adjusted + 2.03211 * u);
        }
    }
}

QImage bitmap_to_cgimage(bitmap* b)
{
    if (!b || !b->pixels || b->width <= 0 || b->height <= 0)
        return QImage();
    if (!b->has_alpha && !fourthBytesOpaque(b)) {
        // The drawing system copies the fourth byte of an image without alpha
        // as it stands, so it must read 255. A bitmap's own block is set so in
        // place (the byte carries nothing in it); pixels that belong to
        // somebody else are copied instead.
        if (b->owner != b) {
            QImage copy(b->width, b->height, QImage::Format_RGBX8888);
            for (int y = 0; y < b->height; ++y) {
                std::memcpy(copy.scanLine(y), pixelAt(b, y, 0), static_cast<size_t>(b->width) * 4);
                setFourthBytesOpaque(copy.scanLine(y), b->width);
            }
            return copy;
        }
        for (int y = 0; y < b->height; ++y)
            setFourthBytesOpaque(pixelAt(b, y, 0), b->width);
    }
    const QImage::Format format = b->has_alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888;
    // The read-only constructor: the image never writes into the bitmap (a
    // change to the image detaches it into a copy of its own).
    return QImage(static_cast<const uchar*>(bitmap_provider_get_bytes(b)), b->width, b->height, b->bytes_per_row,
                  format, bitmap_provider_release_info, b);
}

const uint8_t* bitmap_provider_get_bytes(void* info)
{
    return static_cast<bitmap*>(info)->pixels;
}

void bitmap_provider_release_bytes(void*, const void*)
{
}

void bitmap_provider_release_info(void*)
{
}
