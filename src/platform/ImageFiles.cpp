#include "platform/ImageFiles.h"

#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/Log.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <filesystem>
#include <system_error>

namespace lq {

QByteArray imageFileData(const QImage& image, const QString& path, double jpegFactor)
{
    if (image.isNull() || path.isEmpty())
        return QByteArray();
    const ImageFormat format = imageFormatForExtension(QFileInfo(path).suffix());
    if (format == ImageFormat::None)
        return QByteArray();
    return encodeImage(image, format, jpegFactor);
}

bool saveImageFile(const QImage& image, const QString& path, double jpegFactor, QString* error)
{
    const QByteArray bytes = imageFileData(image, path, jpegFactor);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot write ") + path + QStringLiteral(": the picture cannot be encoded");
        return false;
    }
    // Into a temporary file that replaces the target only when complete.
    return writeFileAtomically(path, bytes, error);
}

namespace {

// The file a path names: a path without extension is tried with ".tiff",
// ".png", ".jpg" and ".gif" in turn; "" when none is a file.
QString pictureFileOf(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    static const std::array<const char*, 4> extensions { "tiff", "png", "jpg", "gif" };
    for (const char* extension : extensions) {
        const QString candidate = path + QLatin1Char('.') + QLatin1String(extension);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

enum class Decoded { Picture, NoBytes, NotAPicture };

Decoded decodeBytes(const QByteArray& bytes, QImage& picture)
{
    if (bytes.isEmpty())
        return Decoded::NoBytes;

    const QList<QImage> representations = decodeImageRepresentations(bytes);
    if (representations.isEmpty())
        return Decoded::NotAPicture;
    if (representations.size() > 1)
        log(QStringLiteral("multiple image reps"));
    picture = atPixelSize(representations.first());
    return Decoded::Picture;
}

Decoded decodeFile(const QString& path, QString& file, QImage& picture)
{
    file = pictureFileOf(path);
    if (file.isEmpty())
        return Decoded::NoBytes;
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return Decoded::NoBytes;
    const QByteArray bytes = input.readAll();
    input.close();
    return decodeBytes(bytes, picture);
}

} // namespace

QImage loadImageFile(const QString& path)
{
    QString file;
    QImage picture;
    switch (decodeFile(path, file, picture)) {
    case Decoded::Picture:
        return picture;
    case Decoded::NoBytes:
        return QImage();
    case Decoded::NotAPicture:
        break;
    }
    log(QStringLiteral("Could not load: %1").arg(file));
    return namedImage(QStringLiteral("noimage"));
}

QImage loadPictureFile(const QString& path, QString* whyNot)
{
    QString file;
    QImage picture;
    QString reason;
    switch (decodeFile(path, file, picture)) {
    case Decoded::Picture:
        return picture;
    case Decoded::NoBytes:
        reason = QFileInfo(file.isEmpty() ? path : file).isFile() ? QStringLiteral("the file is empty or cannot be read")
                                                                    : QStringLiteral("there is no such file");
        break;
    case Decoded::NotAPicture:
        reason = QStringLiteral("the file is not a picture of a known format");
        break;
    }
    if (whyNot)
        *whyNot = reason;
    return QImage();
}

QImage loadImageData(const QByteArray& bytes, const QString& name)
{
    QImage picture;
    switch (decodeBytes(bytes, picture)) {
    case Decoded::Picture:
        return picture;
    case Decoded::NoBytes:
        return QImage();
    case Decoded::NotAPicture:
        break;
    }
    log(QStringLiteral("Could not load: %1").arg(name));
    return namedImage(QStringLiteral("noimage"));
}

QImage loadPictureData(const QByteArray& bytes, QString* whyNot)
{
    QImage picture;
    switch (decodeBytes(bytes, picture)) {
    case Decoded::Picture:
        return picture;
    case Decoded::NoBytes:
        if (whyNot)
            *whyNot = QStringLiteral("the file is empty or cannot be read");
        break;
    case Decoded::NotAPicture:
        if (whyNot)
            *whyNot = QStringLiteral("the file is not a picture of a known format");
        break;
    }
    return QImage();
}

PictureFileBytes readPictureFileBytes(const QString& path)
{
    PictureFileBytes read;
    const auto refuse = [&](PictureFault fault, const QString& reason) {
        read.bytes.clear();
        read.refusal = { fault, reason };
        return read;
    };
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(QFile::encodeName(path).toStdString(), error);
    if (path.isEmpty() || status.type() == std::filesystem::file_type::not_found)
        return refuse(PictureFault::Unreadable, QStringLiteral("the file is no longer there"));
    if (status.type() == std::filesystem::file_type::directory)
        return refuse(PictureFault::Unreadable, QStringLiteral("it is a folder"));
    if (error || status.type() != std::filesystem::file_type::regular)
        return refuse(PictureFault::Unreadable, QStringLiteral("it is not a file that can be read (a pipe, a device or a socket)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(PictureFault::Unreadable, QStringLiteral("it cannot be read: ") + file.errorString());
    read.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refuse(PictureFault::Unreadable, QStringLiteral("it cannot be read: ") + file.errorString());
    if (read.bytes.isEmpty())
        return refuse(PictureFault::NotAPicture, QStringLiteral("the file is empty"));
    if (!holdsPictureFormat(read.bytes))
        return refuse(PictureFault::NotAPicture, QStringLiteral("its contents are in no picture format Lumenquill reads"));
    if (!pictureIsWhole(read.bytes))
        return refuse(PictureFault::Damaged, QStringLiteral("the file ends before the picture does (only part of it could be read)"));
    return read;
}

QString pictureFaultName(PictureFault fault)
{
    switch (fault) {
    case PictureFault::None: return QString();
    case PictureFault::Unreadable: return QStringLiteral("unreadable");
    case PictureFault::NotAPicture: return QStringLiteral("not a picture");
    case PictureFault::Damaged: return QStringLiteral("damaged");
    case PictureFault::NotStored: return QStringLiteral("not stored");
    }
    return QString();
}

} // namespace lq
