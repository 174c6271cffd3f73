#pragma once

// Picture files for the tests: real JPEG bytes and the size of a picture file.
#include "platform/Image.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QSize>

#include <gtest/gtest.h>

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
