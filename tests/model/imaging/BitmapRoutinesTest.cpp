#include "model/imaging/BitmapRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The address checker's count of what is allocated (its header is not
// installed with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
// glibc's own allocator, which the counting calloc and free below pass on to.
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void __libc_free(void* block);
#endif

namespace {

using Pixel = std::array<uint8_t, 4>;

// Frees a bitmap (never its owner) when the test ends.
struct BitmapDeleter {
    void operator()(bitmap* b) const { bitmap_free(b, 0); }
};
using BitmapPtr = std::unique_ptr<bitmap, BitmapDeleter>;

Pixel pixelOf(const bitmap* b, int row, int column)
{
    const uint8_t* p = b->pixels + static_cast<ptrdiff_t>(row) * b->bytes_per_row + column * 4;
    return { p[0], p[1], p[2], p[3] };
}

void setPixel(bitmap* b, int row, int column, Pixel value)
{
    std::memcpy(b->pixels + static_cast<ptrdiff_t>(row) * b->bytes_per_row + column * 4, value.data(), 4);
}

BitmapPtr bitmapOf(int width, int height, const std::vector<Pixel>& pixels)
{
    BitmapPtr b(bitmap_alloc(width, height));
    for (int i = 0; i < width * height; ++i)
        setPixel(b.get(), i / width, i % width, pixels[static_cast<size_t>(i)]);
    return b;
}

BitmapPtr randomBitmap(int width, int height, std::mt19937& random)
{
    BitmapPtr b(bitmap_alloc(width, height));
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < width * height * 4; ++i)
        b->pixels[i] = static_cast<uint8_t>(byte(random));
    return b;
}

// The resampling walk as it always worked up to a twentyfold enlargement:
// the factor capped at 20, each column walked on its own. The routine must
// give exactly these results wherever the cap is not reached.
void referenceResample(const bitmap* source, bitmap* destination)
{
    const int sw = source->width, sh = source->height, dw = destination->width, dh = destination->height;
    std::vector<uint8_t> temp(static_cast<size_t>(dw) * sh * 4);
    const auto factor = [](int from, int to) {
        int k = 1, n = from;
        while (n < to && k != 20) {
            ++k;
            n += from;
        }
        return k;
    };
    const auto walk = [](int count, int k, int step, auto read, auto write, int outputs) {
        int f = 0, o = 0;
        long long sum[4] = { 0, 0, 0, 0 };
        for (int i = 0; i < count; ++i)
            for (int j = 0; j < k; ++j) {
                const uint8_t* p = read(i);
                f += step;
                if (f > 65535) {
                    f -= 65536;
                    const int part = step - f;
                    uint8_t* q = write(o++);
                    for (int c = 0; c < 4; ++c) {
                        q[c] = static_cast<uint8_t>((p[c] * part + sum[c]) >> 16);
                        sum[c] = p[c] * f;
                    }
                } else {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += step * p[c];
                }
            }
        for (; o < outputs; ++o) {
            uint8_t* q = write(o);
            for (int c = 0; c < 4; ++c)
                q[c] = static_cast<uint8_t>(sum[c] >> 16);
        }
    };
    const int kx = factor(sw, dw);
    const int stepx = (dw * 65536) / (kx * sw);
    for (int y = 0; y < sh; ++y)
        walk(sw, kx, stepx, [&](int i) { return source->pixels + y * source->bytes_per_row + i * 4; },
             [&](int o) { return &temp[(static_cast<size_t>(y) * dw + o) * 4]; }, dw);
    const int ky = factor(sh, dh);
    const int stepy = (dh * 65536) / (ky * sh);
    for (int x = 0; x < dw; ++x)
        walk(sh, ky, stepy, [&](int i) { return &temp[(static_cast<size_t>(i) * dw + x) * 4]; },
             [&](int o) { return destination->pixels + o * destination->bytes_per_row + x * 4; }, dh);
}

// The two-pass routine as it stood before the passes were fused and spread
// over threads: the walk worked out share by share, a full-height
// intermediate, 64-bit sums. Every result must stay byte for byte the same.
void previousResample(const bitmap* source, bitmap* destination)
{
    struct Share {
        int source;
        int64_t weight;
    };
    struct Walk {
        std::vector<Share> shares;
        std::vector<size_t> first;
        int written = 0;
    };
    const auto planWalk = [](int sourceCount, int destinationCount) {
        const int64_t k = sourceCount < destinationCount ? (destinationCount + sourceCount - 1) / sourceCount : 1;
        const int64_t step = (static_cast<int64_t>(destinationCount) * 65536) / (k * sourceCount);
        Walk walk;
        walk.first.push_back(0);
        const auto add = [&walk](int s, int64_t weight) {
            if (weight == 0)
                return;
            if (walk.shares.size() > walk.first.back() && walk.shares.back().source == s)
                walk.shares.back().weight += weight;
            else
                walk.shares.push_back({ s, weight });
        };
        int64_t f = 0;
        for (int s = 0; s < sourceCount; ++s) {
            for (int64_t j = 0; j < k; ++j) {
                f += step;
                if (f > 65535) {
                    f -= 65536;
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
    };
    const auto channel = [](int64_t sum) { return static_cast<uint8_t>(std::clamp<int64_t>(sum >> 16, 0, 255)); };
    const int sw = source->width, sh = source->height, dw = destination->width, dh = destination->height;
    const size_t rowBytes = static_cast<size_t>(dw) * 4;
    std::vector<uint8_t> temp(rowBytes * static_cast<size_t>(sh));
    const auto across = [&](int row) -> const uint8_t* {
        return sw != dw ? temp.data() + rowBytes * static_cast<size_t>(row) : source->pixels + static_cast<ptrdiff_t>(row) * source->bytes_per_row;
    };
    if (sw != dw) {
        const Walk walk = planWalk(sw, dw);
        for (int y = 0; y < sh; ++y) {
            const uint8_t* in = source->pixels + static_cast<ptrdiff_t>(y) * source->bytes_per_row;
            uint8_t* out = temp.data() + rowBytes * static_cast<size_t>(y);
            for (int o = 0; o <= walk.written && o < dw; ++o) {
                int64_t sum[4] = { 0, 0, 0, 0 };
                const size_t end = o < walk.written ? walk.first[static_cast<size_t>(o) + 1] : walk.shares.size();
                for (size_t i = walk.first[static_cast<size_t>(o)]; i < end; ++i)
                    for (int c = 0; c < 4; ++c)
                        sum[c] += in[walk.shares[i].source * 4 + c] * walk.shares[i].weight;
                for (int c = 0; c < 4; ++c)
                    out[o * 4 + c] = channel(sum[c]);
            }
            for (int o = walk.written + 1; o < dw; ++o)
                std::memcpy(out + o * 4, out + walk.written * 4, 4);
        }
    }
    const auto outputRow = [&](int row) { return destination->pixels + static_cast<ptrdiff_t>(row) * destination->bytes_per_row; };
    if (sh == dh) {
        for (int y = 0; y < dh; ++y)
            std::memcpy(outputRow(y), across(y), rowBytes);
        return;
    }
    const Walk walk = planWalk(sh, dh);
    std::vector<int64_t> sums(rowBytes);
    for (int o = 0; o <= walk.written && o < dh; ++o) {
        std::fill(sums.begin(), sums.end(), 0);
        const size_t end = o < walk.written ? walk.first[static_cast<size_t>(o) + 1] : walk.shares.size();
        for (size_t i = walk.first[static_cast<size_t>(o)]; i < end; ++i) {
            const uint8_t* in = across(walk.shares[i].source);
            for (size_t c = 0; c < rowBytes; ++c)
                sums[c] += in[c] * walk.shares[i].weight;
        }
        for (size_t c = 0; c < rowBytes; ++c)
            outputRow(o)[c] = channel(sums[c]);
    }
    for (int o = walk.written + 1; o < dh; ++o)
        std::memcpy(outputRow(o), outputRow(walk.written), rowBytes);
}

} // namespace

TEST(BitmapAlloc, OwnsAZeroFilledBlockWithARowTable)
{
    BitmapPtr b(bitmap_alloc(3, 2));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width, 3);
    EXPECT_EQ(b->height, 2);
    EXPECT_EQ(b->bytes_per_row, 12);
    EXPECT_EQ(b->has_alpha, 0);
    EXPECT_EQ(b->owner, b.get());
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(b->pixels[i], 0);
    EXPECT_EQ(b->rows[0], b->pixels);
    EXPECT_EQ(b->rows[1], b->pixels + 12);
    EXPECT_EQ(bitmap_alloc(-1, 4), nullptr);
}

TEST(BitmapFromRgb, StoresRowsBottomFirstWithOpaqueAlpha)
{
    // Two rows of two pixels, each source row padded to 8 bytes.
    const uint8_t rgb[16] = { 1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0 };
    BitmapPtr b(bitmap_from_rgb(rgb, 2, 2, 8));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->owner, b.get());
    EXPECT_EQ(pixelOf(b.get(), 1, 0), (Pixel { 1, 2, 3, 255 })); // the top row is row 1
    EXPECT_EQ(pixelOf(b.get(), 1, 1), (Pixel { 4, 5, 6, 255 }));
    EXPECT_EQ(pixelOf(b.get(), 0, 0), (Pixel { 7, 8, 9, 255 }));
    EXPECT_EQ(pixelOf(b.get(), 0, 1), (Pixel { 10, 11, 12, 255 }));
}

TEST(BitmapWrap, SharesOutsidePixelsWithoutOwner)
{
    std::vector<uint8_t> pixels(2 * 3 * 4, 7);
    BitmapPtr b(bitmap_wrap(pixels.data(), 2, 3));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->pixels, pixels.data());
    EXPECT_EQ(b->owner, nullptr);
    EXPECT_EQ(b->bytes_per_row, 8);
    EXPECT_EQ(b->rows[2], pixels.data() + 16);
}

TEST(BitmapCrop, ClampsToTheOverlap)
{
    BitmapPtr source(bitmap_alloc(10, 8));
    struct Case {
        const char* what;
        int row, column, width, height;
        bool some;
        int expectRow, expectColumn, expectWidth, expectHeight;
    };
    const std::vector<Case> cases = {
        { "inside", 2, 3, 4, 5, true, 2, 3, 4, 5 },
        { "over the bottom and right", 6, 7, 10, 10, true, 6, 7, 3, 2 },
        { "over the top and left", -2, -3, 5, 4, true, 0, 0, 2, 2 },
        { "around the whole", -1, -1, 20, 20, true, 0, 0, 10, 8 },
        { "wholly below", 8, 0, 3, 3, false, 0, 0, 0, 0 },
        { "wholly right", 0, 10, 3, 3, false, 0, 0, 0, 0 },
        { "wholly above", -5, 0, 3, 5, false, 0, 0, 0, 0 },
        { "no width", 0, 0, 0, 3, false, 0, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapPtr view(bitmap_crop(source.get(), c.row, c.column, c.width, c.height));
        ASSERT_EQ(view != nullptr, c.some);
        if (!view)
            continue;
        EXPECT_EQ(view->pixels, source->pixels + c.expectRow * source->bytes_per_row + c.expectColumn * 4);
        EXPECT_EQ(view->width, c.expectWidth);
        EXPECT_EQ(view->height, c.expectHeight);
        EXPECT_EQ(view->bytes_per_row, source->bytes_per_row);
        EXPECT_EQ(view->owner, source.get());
        EXPECT_EQ(view->rows[view->height - 1], view->pixels + (view->height - 1) * source->bytes_per_row);
    }
    EXPECT_EQ(bitmap_crop(nullptr, 0, 0, 1, 1), nullptr);
}

#if !defined(__SANITIZE_ADDRESS__)
// Without the address checker the allocator keeps freed blocks in caches that
// its totals still count, so the bitmap routines' blocks are counted here:
// calloc (the one allocation they make) and free pass through these, which
// note the blocks that a thread counting its own allocations takes and gives
// back. Every other allocation passes straight on.
namespace {
struct CountedBlock {
    void* address = nullptr;
    size_t bytes = 0;
};
thread_local bool countingHere = false;
thread_local std::array<CountedBlock, 64> countedBlocks {};
thread_local size_t countedBytes = 0;
} // namespace

extern "C" void* calloc(size_t count, size_t size) noexcept
{
    void* block = __libc_calloc(count, size);
    if (countingHere && block) {
        for (CountedBlock& counted : countedBlocks) {
            if (!counted.address) {
                counted = { block, count * size };
                countedBytes += counted.bytes;
                break;
            }
        }
    }
    return block;
}

extern "C" void free(void* block) noexcept
{
    if (countingHere && block) {
        for (CountedBlock& counted : countedBlocks) {
            if (counted.address == block) {
                countedBytes -= counted.bytes;
                counted = {};
                break;
            }
        }
    }
    __libc_free(block);
}
#endif

namespace {

// The heap bytes that the calling thread has taken since the scope began and
// not given back.
class OwnHeapBytes {
public:
    OwnHeapBytes()
    {
#if defined(__SANITIZE_ADDRESS__)
        _start = __sanitizer_get_current_allocated_bytes();
#else
        countedBlocks = {};
        countedBytes = 0;
        countingHere = true;
#endif
    }
    ~OwnHeapBytes()
    {
#if !defined(__SANITIZE_ADDRESS__)
        countingHere = false;
#endif
    }
    OwnHeapBytes(const OwnHeapBytes&) = delete;
    OwnHeapBytes& operator=(const OwnHeapBytes&) = delete;

    size_t inUse() const
    {
#if defined(__SANITIZE_ADDRESS__)
        return __sanitizer_get_current_allocated_bytes() - _start;
#else
        return countedBytes;
#endif
    }

private:
    [[maybe_unused]] size_t _start = 0;
};

} // namespace

TEST(BitmapFree, FreesViewsBeforeOrAfterTheirParent)
{
    // Views share their parent's pixels: what one writes, the parent and the
    // other views read, and freeing a view leaves the pixels to them.
    bitmap* parent = bitmap_alloc(4, 4);
    bitmap* first = bitmap_crop(parent, 1, 1, 2, 2);
    bitmap* second = bitmap_crop(parent, 0, 0, 2, 2);
    first->rows[0][0] = 7;   // the red of the parent's pixel (1, 1)
    EXPECT_EQ(parent->rows[1][4], 7);
    EXPECT_EQ(second->rows[1][4], 7);
    bitmap_free(first, 0);
    parent->pixels[0] = 1;
    EXPECT_EQ(second->pixels[0], 1);
    EXPECT_EQ(second->rows[1][4], 7);
    // The parent may go first: the view is then freed without a look at it
    // (the address checker stops a read of the parent that is gone).
    bitmap_free(parent, 0);
    bitmap_free(second, 0);
    bitmap_free(nullptr, 0);

    // A view takes only its own descriptor along, or with the flag its owner
    // with the owner's pixels as well: all the heap the two took.
    const OwnHeapBytes heap;
    const size_t before = heap.inUse();
    bitmap* owner = bitmap_alloc(64, 64);
    const size_t withOwner = heap.inUse();
    ASSERT_GE(withOwner, before + 64 * 64 * 4);
    bitmap_free(bitmap_crop(owner, 0, 0, 2, 2), 0);
    EXPECT_EQ(heap.inUse(), withOwner);
    bitmap_free(bitmap_crop(owner, 0, 0, 2, 2), 1);
    EXPECT_EQ(heap.inUse(), before);
}

TEST(BitmapResample, AveragesCopiesAndRepeats)
{
    struct Case {
        const char* what;
        int sw, sh;
        std::vector<uint8_t> reds;
        int dw, dh;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        { "halving averages pairs", 4, 1, { 10, 30, 50, 70 }, 2, 1, { 20, 60 } },
        { "the same size copies", 3, 2, { 1, 2, 3, 4, 5, 6 }, 3, 2, { 1, 2, 3, 4, 5, 6 } },
        { "1 to 3 repeats", 1, 1, { 77 }, 3, 1, { 77, 77, 77 } },
        { "1 to 30 repeats", 1, 1, { 200 }, 30, 1, std::vector<uint8_t>(30, 200) },
        { "1 to 30 rows repeats", 1, 1, { 200 }, 1, 30, std::vector<uint8_t>(30, 200) },
        { "2 to 40 is twentyfold", 2, 1, { 10, 250 }, 40, 1, [] {
              std::vector<uint8_t> v(20, 10);
              v.insert(v.end(), 20, 250);
              return v;
          }() },
        { "2 to 50 is more than twentyfold", 2, 1, { 10, 250 }, 50, 1, [] {
              std::vector<uint8_t> v(25, 10);
              v.insert(v.end(), 25, 250);
              return v;
          }() },
        { "1 to 1000 stays within a byte", 1, 1, { 255 }, 1000, 1, std::vector<uint8_t>(1000, 255) },
        { "1x1 to 25x25", 1, 1, { 99 }, 25, 25, std::vector<uint8_t>(625, 99) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Pixel> pixels;
        for (uint8_t red : c.reds)
            pixels.push_back({ red, 0, 0, 255 });
        BitmapPtr source = bitmapOf(c.sw, c.sh, pixels);
        BitmapPtr destination(bitmap_alloc(c.dw, c.dh));
        bitmap_resample(source.get(), destination.get());
        for (int i = 0; i < c.dw * c.dh; ++i) {
            const Pixel p = pixelOf(destination.get(), i / c.dw, i % c.dw);
            ASSERT_EQ(p[0], c.expected[static_cast<size_t>(i)]) << "pixel " << i;
            ASSERT_EQ(p[3], 255) << "pixel " << i;
        }
    }
}

TEST(BitmapResample, MatchesTheEstablishedResultsUpToTwentyfold)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> side(1, 24);
    for (int round = 0; round < 300; ++round) {
        const int sw = side(random), sh = side(random);
        std::uniform_int_distribution<int> width(1, sw * 20), height(1, sh * 20);
        const int dw = width(random), dh = height(random);
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " -> " << dw << "x" << dh);
        BitmapPtr source = randomBitmap(sw, sh, random);
        BitmapPtr expected(bitmap_alloc(dw, dh));
        BitmapPtr actual(bitmap_alloc(dw, dh));
        referenceResample(source.get(), expected.get());
        bitmap_resample(source.get(), actual.get());
        ASSERT_EQ(std::memcmp(expected->pixels, actual->pixels, static_cast<size_t>(dw) * dh * 4), 0);
    }
}

TEST(BitmapResample, GivesThePreviousResultsOnAnyNumberOfThreads)
{
    // Size pairs of every kind: reductions small and large (a few middle
    // pixels per output or hundreds), enlargements, one direction only,
    // and sources read through a view whose rows are longer than its width.
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> side(1, 300);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int round = 0; round < 120; ++round) {
        const int sw = side(random), sh = side(random);
        int dw = side(random), dh = side(random);
        switch (kind(random)) {
        case 0: dw = std::max(1, sw / (1 + round % 40)); dh = std::max(1, sh / (1 + round % 13)); break;
        case 1: dw = sw; break;
        case 2: dh = sh; break;
        default: break;
        }
        const bool throughView = round % 3 == 0;
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " -> " << dw << "x" << dh << (throughView ? " (view)" : ""));
        BitmapPtr parent = randomBitmap(sw + (throughView ? 7 : 0), sh + (throughView ? 2 : 0), random);
        BitmapPtr source(throughView ? bitmap_crop(parent.get(), 1, 5, sw, sh) : bitmap_crop(parent.get(), 0, 0, sw, sh));
        BitmapPtr expected(bitmap_alloc(dw, dh));
        previousResample(source.get(), expected.get());
        for (int threads : { 1, 3, 0 }) {
            SCOPED_TRACE(testing::Message() << threads << " threads");
            BitmapPtr actual(bitmap_alloc(dw, dh));
            bitmap_resample_threads(source.get(), actual.get(), threads);
            ASSERT_EQ(std::memcmp(expected->pixels, actual->pixels, static_cast<size_t>(dw) * dh * 4), 0);
        }
    }
}

TEST(BitmapResample, GivesThePreviousResultsForALargePictureSpreadOverThreads)
{
    // Large enough for the automatic choice to spread the rows, reduced to a
    // web image and to a thumbnail.
    std::mt19937 random(99);
    BitmapPtr source = randomBitmap(1500, 1000, random);
    // Also reductions of the height strong enough for the rows of an output
    // to be summed as they come, not held.
    for (const auto& [dw, dh] : { std::pair { 1024, 682 }, std::pair { 160, 106 }, std::pair { 1499, 37 },
             std::pair { 700, 3 }, std::pair { 1, 1 }, std::pair { 1500, 2 }, std::pair { 3, 15 } }) {
        SCOPED_TRACE(testing::Message() << dw << "x" << dh);
        BitmapPtr expected(bitmap_alloc(dw, dh));
        BitmapPtr actual(bitmap_alloc(dw, dh));
        previousResample(source.get(), expected.get());
        bitmap_resample(source.get(), actual.get());
        ASSERT_EQ(std::memcmp(expected->pixels, actual->pixels, static_cast<size_t>(dw) * dh * 4), 0);
    }
}

TEST(BitmapResample, ReadsAViewThroughItsParentsRows)
{
    // A 2x2 view in the middle of a 4x4 bitmap, copied at its own size.
    std::vector<Pixel> pixels;
    for (int i = 0; i < 16; ++i)
        pixels.push_back({ static_cast<uint8_t>(i), 0, 0, 255 });
    BitmapPtr parent = bitmapOf(4, 4, pixels);
    BitmapPtr view(bitmap_crop(parent.get(), 1, 1, 2, 2));
    BitmapPtr copy(bitmap_alloc(2, 2));
    bitmap_resample(view.get(), copy.get());
    EXPECT_EQ(pixelOf(copy.get(), 0, 0)[0], 5);
    EXPECT_EQ(pixelOf(copy.get(), 0, 1)[0], 6);
    EXPECT_EQ(pixelOf(copy.get(), 1, 0)[0], 9);
    EXPECT_EQ(pixelOf(copy.get(), 1, 1)[0], 10);
}

TEST(BitmapResample, LeavesTheDestinationAloneWithoutPixelsToRead)
{
    BitmapPtr empty(bitmap_alloc(0, 3));
    BitmapPtr destination(bitmap_alloc(2, 2));
    std::memset(destination->pixels, 9, 16);
    bitmap_resample(empty.get(), destination.get());
    bitmap_resample(nullptr, destination.get());
    bitmap_resample(destination.get(), nullptr);
    EXPECT_EQ(pixelOf(destination.get(), 1, 1), (Pixel { 9, 9, 9, 9 }));
}

TEST(BitmapSharpen, BoostsInnerPixelsAndKeepsTheFrame)
{
    EXPECT_EQ(bitmap_sharpen(nullptr, 1.0), nullptr);
    BitmapPtr small(bitmap_alloc(2, 2));
    EXPECT_EQ(bitmap_sharpen(small.get(), 1.0), nullptr);
    BitmapPtr narrow(bitmap_alloc(10, 2));
    EXPECT_EQ(bitmap_sharpen(narrow.get(), 1.0), nullptr);

    std::mt19937 random(7);
    BitmapPtr source = randomBitmap(6, 5, random);
    std::vector<uint8_t> before(source->pixels, source->pixels + 6 * 5 * 4);

    BitmapPtr copy(bitmap_sharpen(source.get(), 0.0));
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy->pixels, source->pixels, before.size()), 0);

    BitmapPtr sharpened(bitmap_sharpen(source.get(), 1.5));
    ASSERT_TRUE(sharpened);
    EXPECT_EQ(sharpened->owner, sharpened.get());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            if (y == 0 || y == 4 || x == 0 || x == 5) {
                EXPECT_EQ(pixelOf(sharpened.get(), y, x), pixelOf(source.get(), y, x)) << y << "," << x;
            }
    EXPECT_EQ(std::vector<uint8_t>(source->pixels, source->pixels + before.size()), before);
}

TEST(BitmapSharpen, ComputesEachChannelFromItsNeighbours)
{
    struct Case {
        uint8_t centre, neighbour;
        double amount;
        uint8_t expected;
    };
    const std::vector<Case> cases = {
        { 60, 50, 0.25, 80 },   // 60 x 3 - 0.25 x 400
        { 100, 50, 1.0, 255 },  // 500, kept at 255
        { 10, 50, 0.5, 0 },     // -150, kept at 0
        { 51, 50, 0.1, 51 },    // 51 x 1.8 - 40 = 51.8, truncated
    };
    for (const Case& c : cases) {
        BitmapPtr b(bitmap_alloc(3, 3));
        for (int i = 0; i < 9; ++i)
            setPixel(b.get(), i / 3, i % 3, { c.neighbour, c.neighbour, c.neighbour, 255 });
        setPixel(b.get(), 1, 1, { c.centre, c.centre, c.centre, 255 });
        BitmapPtr result(bitmap_sharpen(b.get(), c.amount));
        EXPECT_EQ(pixelOf(result.get(), 1, 1), (Pixel { c.expected, c.expected, c.expected, 255 }))
            << int(c.centre) << " among " << int(c.neighbour) << " by " << c.amount;
    }
}

TEST(BitmapAdjust, ChangesLumaAndChromaAroundTheMean)
{
    struct Case {
        const char* what;
        Pixel pixel;
        double brightness, contrast, saturation;
        Pixel expected;
    };
    const std::vector<Case> cases = {
        { "zeros still truncate", { 200, 100, 50, 17 }, 0, 0, 0, { 199, 100, 49, 17 } },
        { "no saturation is grey", { 200, 100, 50, 255 }, 0, 0, -1.0, { 124, 124, 124, 255 } },
        { "brightness lifts by a quarter", { 0, 0, 0, 255 }, 1.0, 0, 0, { 63, 63, 63, 255 } },
        { "brightness stops at white", { 250, 250, 250, 255 }, 1.0, 0, 0, { 255, 255, 255, 255 } },
        { "darkness stops at black", { 10, 10, 10, 255 }, -1.0, 0, 0, { 0, 0, 0, 255 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapPtr b = bitmapOf(1, 1, { c.pixel });
        bitmap_adjust(b.get(), c.brightness, c.contrast, c.saturation);
        EXPECT_EQ(pixelOf(b.get(), 0, 0), c.expected);
    }

    // Contrast stretches each luma's distance from the mean (100) by 1.25.
    BitmapPtr pair = bitmapOf(2, 1, { { 50, 50, 50, 255 }, { 150, 150, 150, 255 } });
    bitmap_adjust(pair.get(), 0, 1.0, 0);
    EXPECT_EQ(pixelOf(pair.get(), 0, 0)[1], 37); // 100 - 62.5, truncated from 37.5
    EXPECT_EQ(pixelOf(pair.get(), 0, 1)[1], 162);

    bitmap_adjust(nullptr, 1, 1, 1);
    BitmapPtr empty(bitmap_alloc(0, 0));
    bitmap_adjust(empty.get(), 1, 1, 1);
}

TEST(BitmapToCGImage, ShowsTheBitmapsOwnPixels)
{
    EXPECT_TRUE(bitmap_to_cgimage(nullptr).isNull());
    BitmapPtr b = bitmapOf(2, 1, { { 255, 0, 0, 0 }, { 0, 0, 255, 0 } });
    {
        const QImage image = bitmap_to_cgimage(b.get());
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.constBits(), b->pixels); // not a copy
        EXPECT_EQ(image.size(), QSize(2, 1));
        // Without alpha the fourth byte is ignored: the pixels are opaque.
        EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
        EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0, 255));
    }
    EXPECT_EQ(pixelOf(b.get(), 0, 0)[3], 255); // the ignored byte made opaque in place

    // Pixels of somebody else are never written: a copy is answered.
    std::vector<uint8_t> outside = { 0, 255, 0, 0 };
    BitmapPtr wrapped(bitmap_wrap(outside.data(), 1, 1));
    const QImage copy = bitmap_to_cgimage(wrapped.get());
    EXPECT_NE(copy.constBits(), outside.data());
    EXPECT_EQ(copy.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(outside[3], 0);
    // Opaque outside pixels are shown in place.
    outside[3] = 255;
    EXPECT_EQ(bitmap_to_cgimage(wrapped.get()).constBits(), outside.data());

    b->has_alpha = 1;
    setPixel(b.get(), 0, 0, { 0, 0, 0, 0 });
    const QImage transparent = bitmap_to_cgimage(b.get());
    EXPECT_TRUE(transparent.hasAlphaChannel());
    EXPECT_EQ(transparent.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(bitmap_provider_get_bytes(b.get()), b->pixels);
}
