#pragma once

// An image as the drawing code uses it: pixels whose size in points equals
// their size in pixels, with one representation, the pixel block, that the
// bitmap routines can read in place. It is a value (copies share the pixels
// until one of them is drawn into).
//
// Pixel layout of the representation: 32 bits per pixel with the bytes in the
// order red, green, blue, alpha (or unused), rows of exactly width x 4 bytes,
// top row first; or 24 bits per pixel (red, green, blue) when the image was
// given that way. Images of any other layout are converted to the 32-bit one
// when they are taken in.

#include "platform/Geometry.h"
#include "platform/graphics/GraphicsContext.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <optional>

namespace lq {

// The pixel block of an image, as the bitmap routines read it.
struct BitmapImageRep {
    const uint8_t* bitmapData = nullptr;
    int pixelsWide = 0;
    int pixelsHigh = 0;
    int bitsPerPixel = 0;
    int bytesPerRow = 0;
    bool hasAlpha = false;
};

class GraphicsImage {
public:
    // Draws into the image while it lives: its context is the current one
    // (y-down, origin at the top left, one unit per pixel). The image must
    // outlive the focus and is not read until the focus ends.
    class Focus {
    public:
        explicit Focus(GraphicsImage& image);
        ~Focus();
        Focus(const Focus&) = delete;
        Focus& operator=(const Focus&) = delete;

        GraphicsContext& context() { return _scope->context(); }

    private:
        GraphicsImage& _image;
        QImage _scratch; // stands in for an image without pixels: drawing into it is dropped
        std::unique_ptr<GraphicsContext::Scope> _scope;
    };

    // No image.
    GraphicsImage() = default;
    // The picture at its pixel size, without colour profile, its pixels laid
    // out as the representation describes.
    explicit GraphicsImage(QImage image);
    // A new transparent image to draw into, of the size rounded up to whole
    // pixels; no image for a size without area.
    static GraphicsImage withSize(const Size& size);

    bool isNull() const { return _image.isNull(); }
    // In points, which are pixels.
    Size size() const;
    int pixelsWide() const { return _image.width(); }
    int pixelsHigh() const { return _image.height(); }
    const QImage& toQImage() const { return _image; }

    // An image without pixels has no representation.
    int representationCount() const { return isNull() ? 0 : 1; }
    // The first (only) representation; nothing for no image. Valid while the
    // image is neither changed nor destroyed.
    std::optional<BitmapImageRep> bitmapRepresentation() const;

    // Draws the source part of the image (the whole image for an empty
    // source rectangle) into the destination rectangle of the current
    // context, combined by the operation at the fraction of its opacity.
    void drawInRect(const Rect& destination, const Rect& source, CompositingOperation operation, float fraction) const;
    // The same with the destination at the point, at the source's size.
    void drawAtPoint(const Point& point, const Rect& source, CompositingOperation operation, float fraction) const;

    // A new image of the size with this one drawn over all of it.
    GraphicsImage resizedTo(const Size& size) const;
    // A new image turned clockwise by a quarter turn (90), counter-clockwise
    // by a quarter turn (-90), or by half a turn (any other value).
    GraphicsImage rotatedBy(int degrees) const;

private:
    // Brings the pixels into the layout of the representation.
    void normalise();

    QImage _image;
};

} // namespace lq
