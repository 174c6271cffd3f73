#pragma once
// Pictures of widgets as they draw themselves, and the pixel questions the
// drawing tests ask of them. A picture given a name is also kept as a PNG in
// LQ_TEST_ARTEFACTS (or "lumenquill-artefacts" in the temporary folder), to
// be looked at.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <functional>

inline QImage widgetPicture(QWidget& widget, const QString& name = QString())
{
    const QImage picture = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (!name.isEmpty()) {
        QString folder = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
        if (folder.isEmpty())
            folder = QDir::tempPath() + QStringLiteral("/lumenquill-artefacts");
        QDir().mkpath(folder);
        picture.save(folder + QLatin1Char('/') + name);
    }
    return picture;
}

// The grid fitted to its superview first, as it is before it is drawn.
template <class Grid>
QImage gridPicture(Grid& grid, const QString& name = QString())
{
    grid.fitMe();
    return widgetPicture(grid, name);
}

inline int countPixels(const QImage& picture, const QRect& rect, const std::function<bool(QColor)>& test)
{
    int count = 0;
    const QRect inside = rect.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (test(QColor(picture.pixel(x, y))))
                ++count;
        }
    }
    return count;
}

inline bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

inline bool isDark(QColor colour)
{
    return colour.lightness() < 100;
}
