#pragma once

// A colour in the device RGB colour space: red, green, blue and alpha as
// 32-bit floats in 0..1. This is the form colours are kept in by the model
// and written to files ("%f %f %f %f" keeps six decimals, which QColor's
// 16-bit channels cannot give back); QColor is only made for painting.

#include <QColor>

namespace lq {

struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;

    // Opaque black.
    constexpr Colour() = default;
    constexpr Colour(float red, float green, float blue, float alpha = 1.0f)
        : r(red)
        , g(green)
        , b(blue)
        , a(alpha)
    {
    }

    bool operator==(const Colour&) const = default;

    // A grey: every component the white level.
    static constexpr Colour fromWhite(float white, float alpha = 1.0f) { return Colour(white, white, white, alpha); }
    static constexpr Colour black() { return Colour(0, 0, 0, 1); }
    static constexpr Colour white() { return Colour(1, 1, 1, 1); }
    static constexpr Colour clear() { return Colour(0, 0, 0, 0); }

    // The same colour with every component brought into 0..1 (NaN becomes 0).
    Colour clamped() const;

    // For painting; components outside 0..1 are clamped first.
    QColor toQColor() const;
    // Any QColor, converted to RGB; an invalid QColor gives opaque black.
    static Colour fromQColor(const QColor& colour);
};

} // namespace lq
