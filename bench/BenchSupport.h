#pragma once

// What the benchmarks share: a photo-like picture, and the best or the median
// time of a few rounds.

#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <vector>

namespace bench {

// A photo-like picture: gradients with fine detail, in the layout asked for.
inline QImage makePicture(int width, int height, QImage::Format format)
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

// The shortest wall time of the rounds, in seconds.
template <typename Work>
double bestSeconds(int rounds, Work&& work)
{
    double best = std::numeric_limits<double>::max();
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// The median of the values (the upper one of the middle two when there is an
// even number of them); 0 when there are none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median wall time of the rounds, in seconds.
template <typename Work>
double medianSeconds(int rounds, Work&& work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return median(std::move(times));
}

} // namespace bench
