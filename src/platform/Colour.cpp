#include "platform/Colour.h"

#include <algorithm>

namespace lq {

namespace {

float clampComponent(float value)
{
    // Written so that NaN (for which every comparison is false) gives 0.
    if (!(value > 0.0f))
        return 0.0f;
    return std::min(value, 1.0f);
}

} // namespace

Colour Colour::clamped() const
{
    return Colour(clampComponent(r), clampComponent(g), clampComponent(b), clampComponent(a));
}

QColor Colour::toQColor() const
{
    const Colour c = clamped();
    return QColor::fromRgbF(c.r, c.g, c.b, c.a);
}

Colour Colour::fromQColor(const QColor& colour)
{
    if (!colour.isValid())
        return Colour();
    const QColor rgb = colour.toRgb();
    return Colour(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

} // namespace lq
