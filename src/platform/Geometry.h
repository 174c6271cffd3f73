#pragma once

// Points, sizes and rectangles of 32-bit floats, with the semantics the
// document model and the page layout rely on:
//
// - a rectangle is empty when its width or its height is zero or negative;
// - the union of two rectangles ignores an empty one (two empty ones give the
//   zero rectangle), so a running union can start from the zero rectangle;
// - rectangles that do not overlap (touching edges included) intersect in
//   the zero rectangle;
// - a point lies inside a rectangle when it is on or past the minimum edges
//   and before the maximum edges;
// - integral() is the smallest rectangle with whole-number edges that contains
//   the rectangle; an empty rectangle becomes the zero rectangle.
//
// Text forms: "{x, y}", "{w, h}" and "{{x, y}, {w, h}}" with the numbers in
// the shortest general form ("%g", C locale). The parsers read the numbers of
// the text in order and take 0 for the missing ones ("{{1, 2}}" is the
// rectangle (1, 2, 0, 0)); they never fail.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace lq {

// A page coordinate cut toward zero to a whole pixel, as generated HTML and
// CSS write it; values beyond the int range are held at its ends and a value
// that is no number is 0.
int truncatedPixel(double value);

struct Point {
    float x = 0;
    float y = 0;

    constexpr Point() = default;
    constexpr Point(float x_, float y_)
        : x(x_)
        , y(y_)
    {
    }
    explicit Point(const QPointF& point)
        : x(static_cast<float>(point.x()))
        , y(static_cast<float>(point.y()))
    {
    }

    bool operator==(const Point&) const = default;

    QPointF toQPointF() const { return QPointF(x, y); }
    static Point fromQPointF(const QPointF& point) { return Point(point); }

    // "{x, y}".
    QString toString() const;
    static Point fromString(const QString& text);
};

struct Size {
    float width = 0;
    float height = 0;

    constexpr Size() = default;
    constexpr Size(float width_, float height_)
        : width(width_)
        , height(height_)
    {
    }
    explicit Size(const QSizeF& size)
        : width(static_cast<float>(size.width()))
        , height(static_cast<float>(size.height()))
    {
    }

    bool operator==(const Size&) const = default;

    QSizeF toQSizeF() const { return QSizeF(width, height); }
    static Size fromQSizeF(const QSizeF& size) { return Size(size); }

    // "{w, h}".
    QString toString() const;
    static Size fromString(const QString& text);
};

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point origin_, Size size_)
        : origin(origin_)
        , size(size_)
    {
    }
    constexpr Rect(float x, float y, float width, float height)
        : origin(x, y)
        , size(width, height)
    {
    }
    explicit Rect(const QRectF& rect)
        : origin(rect.topLeft())
        , size(rect.size())
    {
    }

    bool operator==(const Rect&) const = default;

    constexpr float x() const { return origin.x; }
    constexpr float y() const { return origin.y; }
    constexpr float width() const { return size.width; }
    constexpr float height() const { return size.height; }
    constexpr float minX() const { return origin.x; }
    constexpr float minY() const { return origin.y; }
    constexpr float maxX() const { return origin.x + size.width; }
    constexpr float maxY() const { return origin.y + size.height; }
    constexpr float midX() const { return origin.x + size.width * 0.5f; }
    constexpr float midY() const { return origin.y + size.height * 0.5f; }

    // Width or height zero or negative.
    constexpr bool isEmpty() const { return !(size.width > 0) || !(size.height > 0); }
    // Exactly the zero rectangle (0, 0, 0, 0).
    constexpr bool isZero() const { return *this == Rect(); }

    // The smallest rectangle containing both; an empty rectangle does not count.
    Rect united(const Rect& other) const;
    // The overlap of both; the zero rectangle when they do not overlap.
    Rect intersected(const Rect& other) const;
    // Both are non-empty and overlap (touching edges do not).
    bool intersects(const Rect& other) const;
    // On the minimum edges counts as inside, on the maximum edges does not.
    bool contains(const Point& point) const;
    // The other is non-empty and lies within this one (shared edges allowed).
    bool contains(const Rect& other) const;
    // The smallest rectangle with whole-number edges that contains this one;
    // the zero rectangle when this one is empty.
    Rect integral() const;
    // Origin moved in by (dx, dy), size shrunk by twice that; negative
    // amounts grow the rectangle.
    Rect inset(float dx, float dy) const;
    Rect offset(float dx, float dy) const;

    QRectF toQRectF() const { return QRectF(origin.x, origin.y, size.width, size.height); }
    static Rect fromQRectF(const QRectF& rect) { return Rect(rect); }

    // "{{x, y}, {w, h}}".
    QString toString() const;
    static Rect fromString(const QString& text);
};

} // namespace lq
