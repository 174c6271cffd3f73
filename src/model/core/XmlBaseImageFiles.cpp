// The image files of XmlBase: every image the program writes goes through
// saveImageFilenameCompression, and pictures taken from files are read with
// loadImageFromFile.
#include "model/core/XmlBase.h"

#include "model/application/MyApplication.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>

QByteArray XmlBase::imageDataFilenameCompression(const QImage& image, const QString& path, float compression)
{
    return lq::classFrame("XmlBase imageData:filename:compression:", [&]() -> QByteArray {
        if (image.isNull() || path.isEmpty())
            return QByteArray();
        const lq::ImageFormat format = lq::imageFormatForExtension(QFileInfo(path).suffix());
        if (format == lq::ImageFormat::None)
            return QByteArray();
        double factor = compression;
        if (format == lq::ImageFormat::Jpeg && compression == 0.0f)
            factor = MyApplication::shared().jpgCompressionFactor();
        return lq::encodeImage(image, format, factor);
    });
}

bool XmlBase::saveImageFilenameCompression(const QImage& image, const QString& path, float compression)
{
    return lq::classFrame("XmlBase +saveImage:filename:compression:", [&]() -> bool {
        const QByteArray bytes = imageDataFilenameCompression(image, path, compression);
        if (bytes.isEmpty())
            return false;
        // Into a temporary file that replaces the target only when complete.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    });
}

QImage XmlBase::loadImageFromFile(const QString& path)
{
    return lq::classFrame("XmlBase +loadImageFromFile:", [&]() -> QImage {
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

        const QList<QImage> representations = lq::decodeImageRepresentations(bytes);
        if (representations.isEmpty()) {
            lq::log(QStringLiteral("Could not load: %1").arg(file));
            return lq::namedImage(QStringLiteral("noimage"));
        }
        if (representations.size() > 1)
            lq::log(QStringLiteral("multiple image reps"));
        return lq::atPixelSize(representations.first());
    });
}
