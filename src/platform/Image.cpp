#include "platform/Image.h"

#include "platform/Resources.h"

#include <QBuffer>
#include <QColorSpace>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>

#include <cmath>
#include <cstring>

namespace lq {

namespace {

// 72 dots per inch in dots per metre: the resolution at which a point is a pixel.
constexpr int pointResolutionDotsPerMeter = 2835;

// The JPEG's segments from its start-of-image marker on: each marker
// segment is skipped by its length, and the entropy-coded data after each
// start of scan runs to the next marker that is neither a restart marker nor
// a stuffed 0xFF. Whole once the end-of-image marker is met.
bool jpegIsWhole(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 2;
    while (i < n) {
        // Stray bytes before a marker are passed over, as decoders do.
        while (i < n && p[i] != 0xFF)
            ++i;
        while (i < n && p[i] == 0xFF)
            ++i;
        if (i >= n)
            return false;
        const uchar marker = p[i++];
        if (marker == 0xD9)
            return true;
        // Markers without a segment: TEM and the restart markers.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (i + 2 > n)
            return false;
        const qsizetype length = (qsizetype(p[i]) << 8) | p[i + 1];
        if (length < 2 || i + length > n)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        while (i + 1 < n) {
            if (p[i] == 0xFF) {
                const uchar next = p[i + 1];
                if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                    i += 2;
                    continue;
                }
                break;
            }
            ++i;
        }
        if (i + 1 >= n)
            return false;
    }
    return false;
}

// The PNG's chunks after its signature, each skipped by its length, up to
// the IEND chunk.
bool pngIsWhole(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 8;
    while (i + 8 <= n) {
        const quint64 length = (quint64(p[i]) << 24) | (quint64(p[i + 1]) << 16) | (quint64(p[i + 2]) << 8) | p[i + 3];
        // The length, the type, the data and the check sum.
        const quint64 end = quint64(i) + 12 + length;
        if (end > quint64(n))
            return false;
        if (std::memcmp(p + i + 4, "IEND", 4) == 0)
            return true;
        i = static_cast<qsizetype>(end);
    }
    return false;
}

} // namespace

ImageFormat imageFormatForExtension(const QString& extension)
{
    if (extension == QLatin1String("tiff"))
        return ImageFormat::Tiff;
    if (extension == QLatin1String("png"))
        return ImageFormat::Png;
    if (extension == QLatin1String("jpg"))
        return ImageFormat::Jpeg;
    return ImageFormat::None;
}

QList<QImage> decodeImageRepresentations(const QByteArray& bytes)
{
    QList<QImage> images;
    if (bytes.isEmpty())
        return images;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // No format given: the reader recognises it from the content.
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    if (!reader.canRead())
        return images;
    const bool animation = reader.supportsAnimation();
    const int count = animation ? 1 : std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToNextImage())
            break;
        QImage image = reader.read();
        if (image.isNull())
            break;
        images.append(image);
    }
    return images;
}

bool holdsPictureFormat(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return !QImageReader::imageFormat(&buffer).isEmpty();
}

bool pictureIsWhole(const QByteArray& bytes)
{
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.startsWith("\xFF\xD8"))
        return jpegIsWhole(bytes);
    if (bytes.startsWith(pngSignature))
        return pngIsWhole(bytes);
    return true;
}

QImage decodeImageAtLeast(const QByteArray& bytes, const std::function<QSize(const QSize& full)>& least)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    if (reader.canRead() && reader.format() == "jpeg") {
        const QSize full = reader.size();
        const QSize kept = full.isValid() && least ? least(full) : full;
        // Only exact fractions: the decoder scales the DCT blocks by 1/2, 1/4
        // or 1/8 and the reader would resample anything else itself.
        for (const int fraction : { 8, 4, 2 }) {
            if (!full.isValid() || full.width() % fraction != 0 || full.height() % fraction != 0)
                continue;
            const QSize reduced = full / fraction;
            if (reduced.width() < kept.width() || reduced.height() < kept.height())
                continue;
            // The best decoding of the reduced blocks, not the fast one.
            reader.setQuality(100);
            reader.setScaledSize(reduced);
            QImage image = reader.read();
            if (image.size() == reduced)
                return image;
            break;
        }
    }
    QList<QImage> images = decodeImageRepresentations(bytes);
    return images.isEmpty() ? QImage() : std::move(images.first());
}

QImage withoutColorProfile(QImage image)
{
    if (!image.isNull() && image.colorSpace().isValid())
        image.setColorSpace(QColorSpace());
    return image;
}

QImage atPixelSize(QImage image)
{
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(1.0);
    image.setDotsPerMeterX(pointResolutionDotsPerMeter);
    image.setDotsPerMeterY(pointResolutionDotsPerMeter);
    return withoutColorProfile(std::move(image));
}

QByteArray encodeImage(const QImage& image, ImageFormat format, double jpegFactor)
{
    if (image.isNull())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray());
    switch (format) {
    case ImageFormat::None:
        return QByteArray();
    case ImageFormat::Tiff:
        writer.setFormat("tiff");
        writer.setCompression(0);
        break;
    case ImageFormat::Png:
        writer.setFormat("png");
        break;
    case ImageFormat::Jpeg:
        writer.setFormat("jpeg");
        writer.setQuality(std::clamp(static_cast<int>(std::lround(jpegFactor * 100.0)), 0, 100));
        break;
    }
    if (!writer.write(withoutColorProfile(image)))
        return QByteArray();
    buffer.close();
    return bytes;
}

QImage namedImage(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return QImage();
    const QString path = resourcePath(QStringLiteral("images/%1.png").arg(name));
    // One cache for every thread, keyed by path so that another resource
    // folder reads afresh.
    static QMutex mutex;
    static QHash<QString, QImage> cache;
    QMutexLocker lock(&mutex);
    const auto found = cache.constFind(path);
    if (found != cache.constEnd())
        return *found;
    QImage image;
    if (!image.load(path, "png"))
        return QImage();
    image = atPixelSize(image);
    cache.insert(path, image);
    return image;
}

} // namespace lq
