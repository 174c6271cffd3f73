#include "model/imaging/BitmapRoutines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

namespace {

// One output of a walk in the form the passes read it: its sources are
// consecutive; the first and the last have shares of their own, and every
// source between them the same share (it falls wholly into the output). So
// the output is first x share + (sum of the middle sources) x share + last x
// share: additions for nearly every source, three multiplications per output,
// the very sum the walk describes.
struct Span {
    int first = 0;           // the first source
    int count = 0;           // the number of sources; 0 gives a zero output
    uint32_t firstWeight = 0;
    uint32_t middleWeight = 0;
    uint32_t lastWeight = 0; // with count >= 2
};

// The spans of the outputs the walk fills, [0, written], at most `outputs`
// of them. Answers nothing for a walk of another shape (it never has one).
std::vector<Span> spansOf(const Walk& walk, int outputs)
{
    const int filled = std::min(walk.written, outputs - 1) + 1;
    std::vector<Span> spans(static_cast<size_t>(filled));
    for (int o = 0; o < filled; ++o) {
        const size_t begin = walk.first[static_cast<size_t>(o)];
        const size_t end = o < walk.written ? walk.first[static_cast<size_t>(o) + 1] : walk.shares.size();
        Span& span = spans[static_cast<size_t>(o)];
        span.count = static_cast<int>(end - begin);
        if (span.count == 0)
            continue;
        span.first = walk.shares[begin].source;
        span.firstWeight = static_cast<uint32_t>(walk.shares[begin].weight);
        span.lastWeight = static_cast<uint32_t>(walk.shares[end - 1].weight);
        for (size_t i = begin; i < end; ++i) {
            const Share& share = walk.shares[i];
            if (share.source != span.first + static_cast<int>(i - begin))
                return {};
            if (i > begin && i + 1 < end) {
                if (i == begin + 1)
                    span.middleWeight = static_cast<uint32_t>(share.weight);
                else if (share.weight != span.middleWeight)
                    return {};
            }
        }
    }
    return spans;
}

// A channel from a 16.16 sum, as channelFromSum (the sums are never negative).
inline uint8_t channelFromUnsigned(uint32_t sum)
{
    return static_cast<uint8_t>(std::min<uint32_t>(sum >> 16, 255));
}

// The horizontal pass over the outputs [from, to) of one row.
void resampleRowPlain(const uint8_t* in, uint8_t* out, const Span* spans, int from, int to)
{
    for (int o = from; o < to; ++o) {
        const Span& span = spans[o];
        uint8_t* q = out + o * 4;
        if (span.count == 0) {
            std::memset(q, 0, 4);
            continue;
        }
        const uint8_t* p = in + static_cast<ptrdiff_t>(span.first) * 4;
        uint32_t sum[4];
        for (int c = 0; c < 4; ++c)
            sum[c] = p[c] * span.firstWeight;
        if (span.count >= 2) {
            uint32_t middle[4] = { 0, 0, 0, 0 };
            const uint8_t* last = p + static_cast<ptrdiff_t>(span.count - 1) * 4;
            for (const uint8_t* m = p + 4; m < last; m += 4)
                for (int c = 0; c < 4; ++c)
                    middle[c] += m[c];
            for (int c = 0; c < 4; ++c)
                sum[c] += middle[c] * span.middleWeight + last[c] * span.lastWeight;
        }
        for (int c = 0; c < 4; ++c)
            q[c] = channelFromUnsigned(sum[c]);
    }
}

// The vertical pass for one output row from the rows of its span (rows[0]
// the first, rows[count - 1] the last), over the bytes [from, to) of the row.
void resampleColumnsPlain(const uint8_t* const* rows, const Span& span, uint8_t* out, size_t from, size_t to)
{
    const int count = span.count;
    for (size_t c = from; c < to; ++c) {
        uint32_t sum = rows[0][c] * span.firstWeight;
        if (count >= 2) {
            uint32_t middle = 0;
            for (int i = 1; i + 1 < count; ++i)
                middle += rows[i][c];
            sum += middle * span.middleWeight + rows[count - 1][c] * span.lastWeight;
        }
        out[c] = channelFromUnsigned(sum);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// The same, four channels (or sixteen bytes) side by side in registers.
#define LQ_VECTOR __attribute__((target("sse4.1")))

LQ_VECTOR inline __m128i pixelLanes(const uint8_t* p)
{
    int32_t bytes;
    std::memcpy(&bytes, p, 4);
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(bytes));
}

// (first x w0 + middle x wm + last x wl) >> 16, kept within a byte, for four lanes.
LQ_VECTOR inline __m128i weighted(__m128i first, __m128i middle, __m128i last, __m128i w0, __m128i wm, __m128i wl)
{
    const __m128i sum = _mm_add_epi32(_mm_add_epi32(_mm_mullo_epi32(first, w0), _mm_mullo_epi32(middle, wm)),
        _mm_mullo_epi32(last, wl));
    return _mm_min_epu32(_mm_srli_epi32(sum, 16), _mm_set1_epi32(255));
}

// Picks up to four whole pixels out of sixteen bytes, channel by channel
// (the reds, then the greens...), zero for the pixels past the count.
alignas(16) constexpr uint8_t gatherChannels[5][16] = {
    { 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80 },
    { 0, 0x80, 0x80, 0x80, 1, 0x80, 0x80, 0x80, 2, 0x80, 0x80, 0x80, 3, 0x80, 0x80, 0x80 },
    { 0, 4, 0x80, 0x80, 1, 5, 0x80, 0x80, 2, 6, 0x80, 0x80, 3, 7, 0x80, 0x80 },
    { 0, 4, 8, 0x80, 1, 5, 9, 0x80, 2, 6, 10, 0x80, 3, 7, 11, 0x80 },
    { 0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15 },
};

// Outputs whose middle pixels fit in `blocks` loads of sixteen bytes, read
// without a loop: each block's pixels summed channel by channel.
template <int blocks>
LQ_VECTOR void resampleRowBlocks(const uint8_t* in, const uint8_t* end, uint8_t* out, const Span* spans, int from, int to)
{
    const __m128i ones8 = _mm_set1_epi8(1);
    const __m128i ones16 = _mm_set1_epi16(1);
    for (int o = from; o < to; ++o) {
        const Span& span = spans[o];
        const uint8_t* p = in + static_cast<ptrdiff_t>(span.first) * 4;
        if (span.count < 2 || p + 4 + 16 * blocks > end) {
            // One source, or at the right edge, where a load would reach past the row.
            resampleRowPlain(in, out, spans, o, o + 1);
            continue;
        }
        const int middleCount = span.count - 2;
        __m128i pairs = _mm_setzero_si128();
        for (int block = 0; block < blocks; ++block) {
            const int here = std::clamp(middleCount - 4 * block, 0, 4);
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4 + 16 * block));
            const __m128i grouped = _mm_shuffle_epi8(bytes, _mm_load_si128(reinterpret_cast<const __m128i*>(gatherChannels[here])));
            pairs = _mm_add_epi16(pairs, _mm_maddubs_epi16(grouped, ones8));
        }
        const __m128i middle = _mm_madd_epi16(pairs, ones16);
        const __m128i channels = weighted(pixelLanes(p), middle, pixelLanes(p + static_cast<ptrdiff_t>(span.count - 1) * 4),
            _mm_set1_epi32(static_cast<int>(span.firstWeight)), _mm_set1_epi32(static_cast<int>(span.middleWeight)),
            _mm_set1_epi32(static_cast<int>(span.lastWeight)));
        const int32_t packed = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packus_epi32(channels, channels), channels));
        std::memcpy(out + o * 4, &packed, 4);
    }
}

// Outputs with many middle pixels: two at a time in 16-bit lanes, moved
// into 32-bit lanes before a lane could overflow.
LQ_VECTOR void resampleRowLong(const uint8_t* in, uint8_t* out, const Span* spans, int from, int to)
{
    for (int o = from; o < to; ++o) {
        const Span& span = spans[o];
        if (span.count < 2) {
            resampleRowPlain(in, out, spans, o, o + 1);
            continue;
        }
        const uint8_t* p = in + static_cast<ptrdiff_t>(span.first) * 4;
        const uint8_t* last = p + static_cast<ptrdiff_t>(span.count - 1) * 4;
        const uint8_t* m = p + 4;
        __m128i middle = _mm_setzero_si128();
        while (m < last) {
            __m128i pairs = _mm_setzero_si128();
            const uint8_t* stop = m + std::min<ptrdiff_t>(last - m, 256 * 8);
            for (; m + 8 <= stop; m += 8)
                pairs = _mm_add_epi16(pairs, _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m))));
            if (m < stop) {
                int32_t bytes;
                std::memcpy(&bytes, m, 4);
                pairs = _mm_add_epi16(pairs, _mm_cvtepu8_epi16(_mm_cvtsi32_si128(bytes)));
                m += 4;
            }
            middle = _mm_add_epi32(middle, _mm_cvtepu16_epi32(pairs));
            middle = _mm_add_epi32(middle, _mm_cvtepu16_epi32(_mm_srli_si128(pairs, 8)));
        }
        const __m128i channels = weighted(pixelLanes(p), middle, pixelLanes(last),
            _mm_set1_epi32(static_cast<int>(span.firstWeight)), _mm_set1_epi32(static_cast<int>(span.middleWeight)),
            _mm_set1_epi32(static_cast<int>(span.lastWeight)));
        const int32_t packed = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packus_epi32(channels, channels), channels));
        std::memcpy(out + o * 4, &packed, 4);
    }
}

LQ_VECTOR void resampleColumnsVector(const uint8_t* const* rows, const Span& span, uint8_t* out, size_t bytes)
{
    const int count = span.count;
    const uint8_t* firstRow = rows[0];
    const uint8_t* lastRow = rows[count - 1];
    // One source row: its last share is none.
    const __m128i w0 = _mm_set1_epi32(static_cast<int>(span.firstWeight));
    const __m128i wm = _mm_set1_epi32(static_cast<int>(span.middleWeight));
    const __m128i wl = _mm_set1_epi32(count >= 2 ? static_cast<int>(span.lastWeight) : 0);
    const __m128i zero = _mm_setzero_si128();
    size_t c = 0;
    for (; c + 16 <= bytes; c += 16) {
        __m128i middle[4] = { zero, zero, zero, zero };
        for (int i = 1; i + 1 < count;) {
            __m128i low = zero, high = zero;
            const int stop = std::min(count - 1, i + 256);
            for (; i < stop; ++i) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[i] + c));
                low = _mm_add_epi16(low, _mm_unpacklo_epi8(v, zero));
                high = _mm_add_epi16(high, _mm_unpackhi_epi8(v, zero));
            }
            middle[0] = _mm_add_epi32(middle[0], _mm_unpacklo_epi16(low, zero));
            middle[1] = _mm_add_epi32(middle[1], _mm_unpackhi_epi16(low, zero));
            middle[2] = _mm_add_epi32(middle[2], _mm_unpacklo_epi16(high, zero));
            middle[3] = _mm_add_epi32(middle[3], _mm_unpackhi_epi16(high, zero));
        }
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstRow + c));
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lastRow + c));
        const __m128i fLow = _mm_unpacklo_epi8(f, zero), fHigh = _mm_unpackhi_epi8(f, zero);
        const __m128i lLow = _mm_unpacklo_epi8(l, zero), lHigh = _mm_unpackhi_epi8(l, zero);
        const __m128i r0 = weighted(_mm_unpacklo_epi16(fLow, zero), middle[0], _mm_unpacklo_epi16(lLow, zero), w0, wm, wl);
        const __m128i r1 = weighted(_mm_unpackhi_epi16(fLow, zero), middle[1], _mm_unpackhi_epi16(lLow, zero), w0, wm, wl);
        const __m128i r2 = weighted(_mm_unpacklo_epi16(fHigh, zero), middle[2], _mm_unpacklo_epi16(lHigh, zero), w0, wm, wl);
        const __m128i r3 = weighted(_mm_unpackhi_epi16(fHigh, zero), middle[3], _mm_unpackhi_epi16(lHigh, zero), w0, wm, wl);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c),
            _mm_packus_epi16(_mm_packus_epi32(r0, r1), _mm_packus_epi32(r2, r3)));
    }
    resampleColumnsPlain(rows, span, out, c, bytes);
}

bool vectorUsable()
{
    static const bool usable = __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3");
    return usable;
}
#endif

// The horizontal pass over one row of `width` source pixels: the spans'
// outputs, then the outputs the walk never completed take the last one's value.
void resampleRow(const uint8_t* in, int width, uint8_t* out, const std::vector<Span>& spans, int middleMost, int outputs)
{
    const int filled = static_cast<int>(spans.size());
#if defined(__x86_64__) || defined(__i386__)
    if (vectorUsable()) {
        const uint8_t* end = in + static_cast<ptrdiff_t>(width) * 4;
        if (middleMost <= 4)
            resampleRowBlocks<1>(in, end, out, spans.data(), 0, filled);
        else if (middleMost <= 8)
            resampleRowBlocks<2>(in, end, out, spans.data(), 0, filled);
        else if (middleMost <= 12)
            resampleRowBlocks<3>(in, end, out, spans.data(), 0, filled);
        else
            resampleRowLong(in, out, spans.data(), 0, filled);
    } else
#endif
        resampleRowPlain(in, out, spans.data(), 0, filled);
    for (int o = filled; o < outputs; ++o)
        std::memcpy(out + o * 4, out + (filled - 1) * 4, 4);
}

void resampleColumns(const uint8_t* const* rows, const Span& span, uint8_t* out, size_t bytes)
{
#if defined(__x86_64__) || defined(__i386__)
    if (vectorUsable()) {
        resampleColumnsVector(rows, span, out, bytes);
        return;
    }
#endif
    resampleColumnsPlain(rows, span, out, 0, bytes);
}

// The most middle sources any output of the spans has.
int middleMost(const std::vector<Span>& spans)
{
    int most = 0;
    for (const Span& span : spans)
        most = std::max(most, span.count - 2);
    return most;
}

// The whole resampling, its rows spread over threads. Each thread makes the
// output rows of its band from the source rows they need, passing each
// source row through the horizontal pass as it comes (a row two outputs
// share is made once), so no picture-sized intermediate exists.
class Resampler {
public:
    Resampler(const bitmap* source, bitmap* destination)
        : _source(source)
        , _destination(destination)
        , _dw(destination->width)
        , _dh(destination->height)
        , _rowBytes(static_cast<size_t>(destination->width) * 4)
    {
        if (source->width != _dw) {
            _across = spansOf(planWalk(source->width, _dw), _dw);
            _acrossMiddleMost = middleMost(_across);
        }
        if (source->height != _dh)
            _down = spansOf(planWalk(source->height, _dh), _dh);
        _rows = _dh == source->height ? _dh : static_cast<int>(_down.size());
    }

    // False for a walk of a shape the passes cannot read (never seen).
    bool usable() const
    {
        return (_source->width == _dw || !_across.empty()) && (_source->height == _dh || !_down.empty());
    }

    // The output rows the passes fill; the rest copy the last of them.
    int rows() const { return _rows; }

    void run(int from, int to)
    {
        if (_down.empty()) {
            for (int o = from; o < to; ++o) {
                uint8_t* out = outputRow(o);
                const uint8_t* row = across(o, out);
                if (row != out)
                    std::memcpy(out, row, _rowBytes);
            }
            return;
        }
        // The rows of the current span, made by the horizontal pass into
        // buffers of their own (or the source's own rows when the width stays).
        std::vector<std::vector<uint8_t>> buffers;
        std::vector<const uint8_t*> rows;
        int heldLast = -1; // the source row the last buffer of the previous span holds
        size_t heldSlot = 0;
        for (int o = from; o < to; ++o) {
            uint8_t* out = outputRow(o);
            const Span& span = _down[static_cast<size_t>(o)];
            if (span.count == 0) {
                std::memset(out, 0, _rowBytes);
                continue;
            }
            const size_t count = static_cast<size_t>(span.count);
            if (count > heldRowsMost && !_across.empty()) {
                resampleManyRows(span, out, buffers);
                heldLast = -1; // the buffers now hold other rows
                continue;
            }
            if (buffers.size() < count && !_across.empty()) {
                buffers.reserve(count);
                while (buffers.size() < count)
                    buffers.emplace_back(_rowBytes);
            }
            rows.resize(count);
            size_t i = 0;
            if (!_across.empty() && heldLast >= 0 && span.first == heldLast) {
                // The row the previous output ended on starts this one.
                std::swap(buffers[0], buffers[heldSlot]);
                rows[0] = buffers[0].data();
                i = 1;
            }
            for (; i < count; ++i)
                rows[i] = across(span.first + static_cast<int>(i), _across.empty() ? nullptr : buffers[i].data());
            heldLast = span.first + span.count - 1;
            heldSlot = count - 1;
            resampleColumns(rows.data(), span, out, _rowBytes);
        }
    }

    void finish()
    {
        for (int o = _rows; o < _dh; ++o)
            std::memcpy(outputRow(o), outputRow(_rows - 1), _rowBytes);
    }

private:
    // More source rows than this to one output row (a strong reduction of the
    // height) are summed as they come rather than held.
    static constexpr size_t heldRowsMost = 64;

    void resampleManyRows(const Span& span, uint8_t* out, std::vector<std::vector<uint8_t>>& buffers) const
    {
        while (buffers.size() < 3)
            buffers.emplace_back(_rowBytes);
        const uint8_t* first = across(span.first, buffers[0].data());
        std::vector<uint32_t> middle(_rowBytes, 0);
        for (int i = 1; i + 1 < span.count; ++i) {
            const uint8_t* row = across(span.first + i, buffers[1].data());
            for (size_t c = 0; c < _rowBytes; ++c)
                middle[c] += row[c];
        }
        const uint8_t* last = across(span.first + span.count - 1, buffers[2].data());
        for (size_t c = 0; c < _rowBytes; ++c)
            out[c] = channelFromUnsigned(first[c] * span.firstWeight + middle[c] * span.middleWeight + last[c] * span.lastWeight);
    }

    // Source row y after the horizontal pass: the source's own row when the
    // width stays, otherwise made in the buffer.
    const uint8_t* across(int y, uint8_t* buffer) const
    {
        const uint8_t* in = _source->pixels + static_cast<ptrdiff_t>(y) * _source->bytes_per_row;
        if (_across.empty())
            return in;
        resampleRow(in, _source->width, buffer, _across, _acrossMiddleMost, _dw);
        return buffer;
    }

    uint8_t* outputRow(int row) const
    {
        return _destination->pixels + static_cast<ptrdiff_t>(row) * _destination->bytes_per_row;
    }

    const bitmap* _source;
    bitmap* _destination;
    int _dw, _dh;
    size_t _rowBytes;
    std::vector<Span> _across, _down;
    int _acrossMiddleMost = 0;
    int _rows = 0;
};

// The plain form of both passes, share by share, kept for a walk the spans
// cannot describe.
void resampleByShares(const bitmap* source, bitmap* destination)
{
    const int sw = source->width;
    const int sh = source->height;
    const int dw = destination->width;
    const int dh = destination->height;
    const size_t rowBytes = static_cast<size_t>(dw) * 4;
    std::vector<uint8_t> temp(rowBytes * static_cast<size_t>(sh));
    const Walk across = planWalk(sw, dw);
    for (int y = 0; y < sh; ++y) {
        const uint8_t* in = source->pixels + static_cast<ptrdiff_t>(y) * source->bytes_per_row;
        uint8_t* out = temp.data() + rowBytes * static_cast<size_t>(y);
        for (int o = 0; o <= across.written && o < dw; ++o) {
            int64_t sum[4] = { 0, 0, 0, 0 };
            const size_t end = o < across.written ? across.first[static_cast<size_t>(o) + 1] : across.shares.size();
            for (size_t i = across.first[static_cast<size_t>(o)]; i < end; ++i)
                for (int c = 0; c < 4; ++c)
                    sum[c] += in[across.shares[i].source * 4 + c] * across.shares[i].weight;
            for (int c = 0; c < 4; ++c)
                out[o * 4 + c] = channelFromSum(sum[c]);
        }
        for (int o = across.written + 1; o < dw; ++o)
            std::memcpy(out + o * 4, out + across.written * 4, 4);
    }
    const Walk down = planWalk(sh, dh);
    const auto outputRow = [&](int row) { return destination->pixels + static_cast<ptrdiff_t>(row) * destination->bytes_per_row; };
    std::vector<int64_t> sums(rowBytes);
    for (int o = 0; o <= down.written && o < dh; ++o) {
        std::fill(sums.begin(), sums.end(), 0);
        const size_t end = o < down.written ? down.first[static_cast<size_t>(o) + 1] : down.shares.size();
        for (size_t i = down.first[static_cast<size_t>(o)]; i < end; ++i) {
            const uint8_t* in = temp.data() + rowBytes * static_cast<size_t>(down.shares[i].source);
            for (size_t c = 0; c < rowBytes; ++c)
                sums[c] += in[c] * down.shares[i].weight;
        }
        for (size_t c = 0; c < rowBytes; ++c)
            outputRow(o)[c] = channelFromSum(sums[c]);
    }
    for (int o = down.written + 1; o < dh; ++o)
        std::memcpy(outputRow(o), outputRow(down.written), rowBytes);
}

} // namespace

void bitmap_resample(const bitmap* source, bitmap* destination)
{
    bitmap_resample_threads(source, destination, 0);
}

void bitmap_resample_threads(const bitmap* source, bitmap* destination, int threads)
{
    if (!source || !destination)
        return;
    // Nothing to read or nothing to fill (an empty source would never
    // reach the destination's size).
    if (source->width <= 0 || source->height <= 0 || destination->width <= 0 || destination->height <= 0)
        return;
    Resampler resampler(source, destination);
    if (!resampler.usable()) {
        resampleByShares(source, destination);
        return;
    }
    const int rows = resampler.rows();
    if (threads <= 0) {
        // Threads pay from about a megapixel read on.
        const int64_t work = static_cast<int64_t>(source->width) * source->height
            + static_cast<int64_t>(destination->width) * destination->height;
        threads = work < (int64_t(1) << 20) ? 1 : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    }
    threads = std::clamp(threads, 1, std::max(1, rows / 8));
    if (threads == 1) {
        resampler.run(0, rows);
    } else {
        // Bands of whole output rows: every thread writes its own rows, and
        // each row's value does not depend on which thread made it.
        std::vector<std::thread> workers;
        workers.reserve(static_cast<size_t>(threads) - 1);
        const auto bandStart = [&](int band) { return static_cast<int>(static_cast<int64_t>(rows) * band / threads); };
        for (int band = 1; band < threads; ++band)
            workers.emplace_back([&resampler, from = bandStart(band), to = bandStart(band + 1)] { resampler.run(from, to); });
        resampler.run(0, bandStart(1));
        for (std::thread& worker : workers)
            worker.join();
    }
    resampler.finish();
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
