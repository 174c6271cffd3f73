#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

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
