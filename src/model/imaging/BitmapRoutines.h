#pragma once

// Plain routines on 8-bit RGBA bitmaps in memory: cropping, resampling,
// sharpening and colour adjustment of a photo's pixels when it is drawn with
// colour filters. Everything here is plain data and integer or double
// arithmetic; only bitmap_to_cgimage hands pixels to the drawing system, as a
// QImage over the bitmap's own buffer.
//
// Each pixel is four bytes: red, green, blue, alpha. Row 0 is the first row in
// memory; which edge of the picture it holds is the caller's business.
//
// Ownership: a bitmap from bitmap_alloc or bitmap_from_rgb owns its pixel
// block; a crop view shares its parent's block and names the parent as its
// owner; a wrapped bitmap shares outside memory and has no owner. Every
// descriptor is freed with bitmap_free.

#include <QImage>

#include <cstdint>

struct bitmap {
    uint8_t* pixels;     // first byte of row 0
    int width;           // pixels per row
    int height;          // number of rows
    int bytes_per_row;   // distance in bytes from one row to the next
    int has_alpha;       // 0: the fourth byte is ignored when drawn; else premultiplied alpha
    bitmap* owner;       // the owner of the pixel block: itself, the parent of a view, or none
    uint8_t** rows;      // height row addresses: rows[i] = pixels + i * bytes_per_row
};

// A new bitmap owning a zero-filled block of width x height pixels
// (bytes_per_row = width x 4). None for a negative width or height.
bitmap* bitmap_alloc(int width, int height);

// A new owning bitmap holding the 24-bit RGB pixels with alpha 255, rows in
// reverse order: source row 0 becomes row height - 1.
bitmap* bitmap_from_rgb(const uint8_t* rgb, int width, int height, int bytes_per_row);

// A descriptor over 32-bit RGBA pixels owned by somebody else
// (bytes_per_row = width x 4). The routines only read a source bitmap.
bitmap* bitmap_wrap(uint8_t* rgba, int width, int height);
// The same over rows that lie bytes_per_row apart (at least width x 4).
bitmap* bitmap_wrap(uint8_t* rgba, int width, int height, int bytes_per_row);

// Frees the descriptor; its pixel block too when it owns it. With a non-zero
// free_owner, a view's owner is freed as well (every caller here passes 0).
void bitmap_free(bitmap* b, int free_owner);

// A view of the part of the source from (row, column) of width x height
// pixels, clipped to the source: the overlapping part. None when nothing
// overlaps.
bitmap* bitmap_crop(bitmap* source, int row, int column, int width, int height);

// Area-averaging (box filter) resampling of the source into the whole
// destination, horizontal pass then vertical pass, in 16.16 fixed point:
// reducing averages the covered pixels, enlarging repeats them, at any
// factor. The same size copies. Nothing happens when either bitmap is none or
// has no pixels. A large picture's rows are spread over threads.
void bitmap_resample(const bitmap* source, bitmap* destination);

// bitmap_resample with the output rows spread over that many threads; 0
// chooses (one for a small picture, up to eight for a large one). The result
// is the same whatever the number.
void bitmap_resample_threads(const bitmap* source, bitmap* destination, int threads);

// A new bitmap: every inner pixel sharpened by the amount (a high-boost
// filter over the eight neighbours), the outer one-pixel frame copied. None
// for a bitmap of 2 pixels or fewer in either direction.
bitmap* bitmap_sharpen(const bitmap* b, double amount);

// Changes brightness, contrast and saturation in place (0, 0, 0 still
// recomputes every pixel). Alpha is left as it is.
void bitmap_adjust(bitmap* b, double brightness, double contrast, double saturation);

// A QImage over the bitmap's pixels, not a copy: the bitmap must stay alive
// and unchanged for as long as the image (or any copy of it) is used. A null
// image for none. Without alpha the image is opaque: a fourth byte that is
// not 255 is set to 255 in a bitmap's own block, and a view or a wrapped
// bitmap holding such bytes is answered with an opaque copy instead.
QImage bitmap_to_cgimage(bitmap* b);

// The pixel provider callbacks of bitmap_to_cgimage: the bytes are the
// bitmap's own, so there is nothing to release.
const uint8_t* bitmap_provider_get_bytes(void* info);
void bitmap_provider_release_bytes(void* info, const void* pointer);
void bitmap_provider_release_info(void* info);
