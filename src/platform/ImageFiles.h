#pragma once

// Image files: every image the program writes goes through saveImageFile, and
// pictures taken from files are read with loadImageFile.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lq {

// The bytes of the image in the format the path's extension names, exactly
// "tiff", "png" or "jpg"; JPEG at the quality factor (1.0 = best). No colour
// profile is embedded. Nothing (empty) for a null image, an empty path or any
// other extension.
QByteArray imageFileData(const QImage& image, const QString& path, double jpegFactor);

// Writes imageFileData atomically to the path; answers whether a file was
// written, and tells why not when given an error.
bool saveImageFile(const QImage& image, const QString& path, double jpegFactor, QString* error = nullptr);

// The picture of the file, decoded by content, at its pixel size and without
// colour profile. A path without extension tries ".tiff", ".png", ".jpg",
// ".gif" in turn. Nothing when there is no file or no bytes; the "noimage"
// image when the bytes cannot be decoded.
QImage loadImageFile(const QString& path);
// The same picture, but nothing when the file holds none: a missing or empty
// file, or bytes that do not decode as a picture. Why in whyNot.
QImage loadPictureFile(const QString& path, QString* whyNot = nullptr);
// The same for a file's bytes, read by the caller (the file's name for the log).
QImage loadImageData(const QByteArray& bytes, const QString& name);
QImage loadPictureData(const QByteArray& bytes, QString* whyNot = nullptr);

// Why a file given as a picture (an import, a drop) is not taken.
enum class PictureFault {
    None,
    // Nothing that can be read: gone, a folder, a pipe or a device, or a file
    // the system will not let the program read.
    Unreadable,
    // Its contents are in no picture format the program reads.
    NotAPicture,
    // In a picture format, but the picture in it is cut short or cannot be
    // decoded: what could be read of it would come in part grey.
    Damaged,
    // A good picture that the site could not keep (its folder refused the
    // copy: a full disk).
    NotStored,
};

// Why a file given as a picture is not taken, for the user.
struct PictureRefusal {
    PictureFault fault = PictureFault::None;
    // "it is a folder", "the file ends before the picture does"...; "" for none.
    QString reason;

    explicit operator bool() const { return fault != PictureFault::None; }
};

// A file an import left out, and why.
struct RefusedPicture {
    QString path;
    PictureRefusal refusal;
};

// A file given as a picture: its bytes, or why it is not taken.
struct PictureFileBytes {
    QByteArray bytes;
    PictureRefusal refusal;
};

// Reads a file given as a picture. Only a regular file (or a link to one)
// is read: a pipe would keep the program waiting for a writer for ever.
// The bytes must be in a picture format the program reads and, where the
// format tells its end, reach it (pictureIsWhole). Whether the picture then
// decodes is the caller's to find.
PictureFileBytes readPictureFileBytes(const QString& path);

// The fault as one word or two for a list: "unreadable", "not a picture",
// "damaged", "not stored" ("" for none).
QString pictureFaultName(PictureFault fault);

} // namespace lq
