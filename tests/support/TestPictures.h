#pragma once

// Pictures for the tests: plain pictures, their encoded bytes, real JPEG bytes
// and the size of a picture file.
#include "platform/Image.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSize>

#include <utility>
#include <vector>

#include <gtest/gtest.h>

// A picture of the size filled with one colour.
inline QImage solid(int w, int h, const QColor& colour)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Horizontal bands of the given heights and colours, top first.
inline QImage bands(int w, const std::vector<std::pair<int, QColor>>& rows)
{
    int h = 0;
    for (const auto& row : rows)
        h += row.first;
    QImage image(w, h, QImage::Format_ARGB32);
    QPainter painter(&image);
    int y = 0;
    for (const auto& row : rows) {
        painter.fillRect(0, y, w, row.first, row.second);
        y += row.first;
    }
    return image;
}

// The picture's bytes in the file format ("PNG", "JPG").
inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG of the size, filled with a colour, at the quality and resolution.
inline QByteArray jpegBytes(int width, int height, QColor colour = Qt::darkCyan, int quality = 60, int dpi = 72)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const int dotsPerMeter = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// The size of the picture in the file, or an empty size.
inline QSize pictureSize(const QString& path)
{
    const QList<QImage> images = lq::decodeImageRepresentations(readAll(path));
    return images.isEmpty() ? QSize() : images.first().size();
}
