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

} // namespace lq
