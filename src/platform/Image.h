#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>

namespace lq {

// The file formats the program writes.
enum class ImageFormat {
    None,
    Tiff,
    Png,
    Jpeg,
};

// The format an extension names: exactly "tiff", "png" or "jpg" (compared
// case-sensitively); any other extension names none.
ImageFormat imageFormatForExtension(const QString& extension);

// Every image representation that the bytes hold, the format recognised from
// the content alone. A multi-image file (a multi-page TIFF, an icon file)
// gives one entry per image; an animation gives only its first frame, as it
// is one picture. Nothing decodable gives an empty list.
QList<QImage> decodeImageRepresentations(const QByteArray& bytes);

// Whether the reader recognises a picture format in the bytes, whether or
// not the picture in them decodes.
bool holdsPictureFormat(const QByteArray& bytes);

// Whether the bytes reach the end of the picture they begin: a JPEG its
// end-of-image marker after the last scan, a PNG its closing IEND chunk. A
// file cut short decodes partly, the rest left grey or transparent, so
// only this tells it. Bytes of any other format answer true.
bool pictureIsWhole(const QByteArray& bytes);

// The first image the bytes hold, as decodeImageRepresentations gives it, but
// for a picture that will only be used smaller: `least` tells, from the
// picture's full size, the smallest size that must be kept. A JPEG whose width
// and height both divide by 8, 4 or 2 is then decoded at the smallest of those
// fractions that is still at least that size each way, which spares most of
// the decoder's work; any other picture is decoded whole. Null when nothing
// decodes.
QImage decodeImageAtLeast(const QByteArray& bytes, const std::function<QSize(const QSize& full)>& least);

// The image with no embedded colour profile: what is written from it carries
// none, and its pixels are taken as they are.
QImage withoutColorProfile(QImage image);

// The image as a loaded picture: its size in points equals its size in pixels
// whatever resolution the file declared (72 dpi, device pixel ratio 1), and it
// carries no colour profile.
QImage atPixelSize(QImage image);

// The bytes of the image in the format: TIFF uncompressed, PNG, or JPEG at the
// quality factor (1.0 = best; quality = factor x 100). The colour profile is
// left out. Empty when the image is null, the format is None or encoding fails.
QByteArray encodeImage(const QImage& image, ImageFormat format, double jpegFactor);

// The application's image of the name: the resource file "images/<name>.png".
// Answered from a cache after the first read; null when there is none.
QImage namedImage(const QString& name);

} // namespace lq
