#pragma once

// A drop shadow: while one is set in the current graphics context (see
// GraphicsContext::setShadow), every fill, stroke and image drawn first casts
// a blurred copy of its shape in the shadow's colour, moved by the offset.
//
// The offset and the blur radius are in device pixels, whatever transform is
// in force, and the offset's height grows upward: (5, -5) casts the shadow 5
// pixels to the right and 5 pixels down on the page.

#include "platform/Colour.h"
#include "platform/Geometry.h"

#include <QImage>

namespace lq {

class Shadow {
public:
    Shadow() = default;
    Shadow(float blurRadius, const Colour& colour, const Size& offset)
        : _blurRadius(blurRadius)
        , _colour(colour)
        , _offset(offset)
    {
    }

    bool operator==(const Shadow&) const = default;

    float blurRadius() const { return _blurRadius; }
    void setBlurRadius(float radius) { _blurRadius = radius; }
    // The default shadow colour is black at a third of full opacity.
    const Colour& colour() const { return _colour; }
    void setColour(const Colour& colour) { _colour = colour; }
    const Size& offset() const { return _offset; }
    void setOffset(const Size& offset) { _offset = offset; }

    // The offset in the y-down pixels of a QPainter device.
    QPointF deviceOffset() const { return QPointF(_offset.width, -_offset.height); }
    // How far the blur spreads a shape's edge, in device pixels.
    int blurExtent() const;

    // Blurs a premultiplied ARGB32 image in place with a Gaussian of
    // standard deviation blurRadius / 2 (three box passes each way).
    void blur(QImage& image) const;

private:
    float _blurRadius = 0.0f;
    Colour _colour = Colour(0, 0, 0, 1.0f / 3.0f);
    Size _offset;
};

} // namespace lq
