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

QImage loadImageFile(const QString& path)
{
    if (path.isEmpty())
        return QImage();
    QString file = path;
    if (QFileInfo(path).suffix().isEmpty()) {
        static const std::array<const char*, 4> extensions { "tiff", "png", "jpg", "gif" };
        file.clear();
        for (const char* extension : extensions) {
            const QString candidate = path + QLatin1Char('.') + QLatin1String(extension);
            if (QFileInfo(candidate).isFile()) {
                file = candidate;
                break;
            }
        }
        if (file.isEmpty())
            return QImage();
    }

    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = input.readAll();
    input.close();
    if (bytes.isEmpty())
        return QImage();

    const QList<QImage> representations = decodeImageRepresentations(bytes);
    if (representations.isEmpty()) {
        log(QStringLiteral("Could not load: %1").arg(file));
        return namedImage(QStringLiteral("noimage"));
    }
    if (representations.size() > 1)
        log(QStringLiteral("multiple image reps"));
    return atPixelSize(representations.first());
}

} // namespace lq
