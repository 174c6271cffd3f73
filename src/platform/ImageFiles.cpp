#include "platform/ImageFiles.h"

#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/Log.h"

#include <QFile>
#include <QFileInfo>

#include <array>

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

} // namespace lq
