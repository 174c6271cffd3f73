#pragma once

// The picture the image benchmarks work on.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

// A photo-like picture: gradients with fine detail, in the pixel layout asked for.
inline QImage makePhotoLikePicture(int width, int height, QImage::Format format)
{
    QImage picture(width, height, format);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(0.5, QColor(230, 200, 90));
    gradient.setColorAt(1, QColor(40, 120, 50));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QPen(QColor(250, 250, 250), 1));
    for (int x = 0; x < width; x += 7)
        painter.drawLine(x, 0, x + height / 3, height);
    painter.end();
    return picture;
}
