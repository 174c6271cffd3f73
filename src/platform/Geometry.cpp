#include "platform/Geometry.h"

#include "platform/Scanner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lq {

namespace {

// The length of the decimal number (optional sign, digits with an optional
// fraction, optional exponent) that starts at `p`, or 0 when none does.
// Hexadecimal and named values ("0x1p3", "inf", "nan") are not numbers here.
qsizetype numberLength(const QString& text, qsizetype p)
{
    const qsizetype n = text.size();
    auto isDigit = [&](qsizetype i) { return i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); };
    const qsizetype start = p;
    if (p < n && (text[p] == QLatin1Char('+') || text[p] == QLatin1Char('-')))
        ++p;
    qsizetype digits = 0;
    while (isDigit(p))
        ++p, ++digits;
    if (p < n && text[p] == QLatin1Char('.')) {
        ++p;
        while (isDigit(p))
            ++p, ++digits;
    }
    if (digits == 0)
        return 0;
    if (p < n && (text[p] == QLatin1Char('e') || text[p] == QLatin1Char('E'))) {
        qsizetype e = p + 1;
        if (e < n && (text[e] == QLatin1Char('+') || text[e] == QLatin1Char('-')))
            ++e;
        if (isDigit(e)) {
            while (isDigit(e))
                ++e;
            p = e;
        }
    }
    return p - start;
}

// Reads up to `count` numbers from the text, in order, skipping whatever
// lies between them; the ones not found stay 0. A number that is not a
// finite 32-bit float (such as "1e999") reads as 0, so that a damaged file
// cannot bring infinities into the layout.
void readNumbers(const QString& text, float* numbers, int count)
{
    std::fill(numbers, numbers + count, 0.0f);
    int found = 0;
    qsizetype p = 0;
    while (found < count && p < text.size()) {
        const qsizetype length = numberLength(text, p);
        if (length == 0) {
            ++p;
            continue;
        }
        double value = 0;
        parseCNumber(QStringView(text).sliced(p, length), &value);
        const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
        numbers[found++] = fits ? static_cast<float>(value) : 0.0f;
        p += length;
    }
}

QString number(float value)
{
    return QString::asprintf("%g", static_cast<double>(value));
}

// "{first, second}": the form of points and sizes, and of a rectangle's pair
// of them.
QString pairString(const QString& first, const QString& second)
{
    return QLatin1Char('{') + first + QLatin1String(", ") + second + QLatin1Char('}');
}

// A point or size made of the first two numbers of the text.
template <typename Pair>
Pair pairFromString(const QString& text)
{
    float n[2];
    readNumbers(text, n, 2);
    return Pair(n[0], n[1]);
}

} // namespace

int truncatedPixel(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 2147483520.0; // the largest float below 2^31
    return static_cast<int>(std::clamp(value, -limit, limit));
}

QString Point::toString() const
{
    return pairString(number(x), number(y));
}

Point Point::fromString(const QString& text)
{
    return pairFromString<Point>(text);
}

QString Size::toString() const
{
    return pairString(number(width), number(height));
}

Size Size::fromString(const QString& text)
{
    return pairFromString<Size>(text);
}

QString Rect::toString() const
{
    return pairString(origin.toString(), size.toString());
}

Rect Rect::fromString(const QString& text)
{
    float n[4];
    readNumbers(text, n, 4);
    return Rect(n[0], n[1], n[2], n[3]);
}

Rect Rect::united(const Rect& other) const
{
    if (isEmpty())
        return other.isEmpty() ? Rect() : other;
    if (other.isEmpty())
        return *this;
    const float left = std::min(minX(), other.minX());
    const float top = std::min(minY(), other.minY());
    const float right = std::max(maxX(), other.maxX());
    const float bottom = std::max(maxY(), other.maxY());
    return Rect(left, top, right - left, bottom - top);
}

Rect Rect::intersected(const Rect& other) const
{
    if (maxX() <= other.minX() || other.maxX() <= minX() || maxY() <= other.minY() || other.maxY() <= minY())
        return Rect();
    const float left = std::max(minX(), other.minX());
    const float top = std::max(minY(), other.minY());
    const float right = std::min(maxX(), other.maxX());
    const float bottom = std::min(maxY(), other.maxY());
    return Rect(left, top, right - left, bottom - top);
}

bool Rect::intersects(const Rect& other) const
{
    if (isEmpty() || other.isEmpty())
        return false;
    return !(maxX() <= other.minX() || other.maxX() <= minX() || maxY() <= other.minY() || other.maxY() <= minY());
}

bool Rect::contains(const Point& point) const
{
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect& other) const
{
    return !other.isEmpty() && minX() <= other.minX() && minY() <= other.minY() && maxX() >= other.maxX()
        && maxY() >= other.maxY();
}

Rect Rect::integral() const
{
    if (isEmpty())
        return Rect();
    const float left = std::floor(minX());
    const float top = std::floor(minY());
    return Rect(left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top);
}

Rect Rect::inset(float dx, float dy) const
{
    return Rect(origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy);
}

Rect Rect::offset(float dx, float dy) const
{
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

} // namespace lq
