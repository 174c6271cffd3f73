#include "platform/graphics/GraphicsImage.h"

#include "platform/Image.h"

#include <QPixelFormat>

#include <cmath>

namespace lq {

// --- Focus ----------------------------------------------------------------------------------

GraphicsImage::Focus::Focus(GraphicsImage& image)
    : _image(image)
{
    if (_image.isNull()) {
        // Nothing to draw into: the drawing goes to a pixel that nobody reads,
        // clipped away, rather than into whichever context was current.
        _scratch = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        _scope = std::make_unique<GraphicsContext::Scope>(_scratch);
        _scope->context().clipToRect(Rect());
        return;
    }
    // Painting is fastest on the painter's native layout; the representation's
    // layout comes back when the focus ends.
    if (_image._image.format() != QImage::Format_ARGB32_Premultiplied)
        _image._image.convertTo(QImage::Format_ARGB32_Premultiplied);
    _scope = std::make_unique<GraphicsContext::Scope>(_image._image);
}

GraphicsImage::Focus::~Focus()
{
    _scope.reset();
    _image.normalise();
}

// --- Image ----------------------------------------------------------------------------------

GraphicsImage::GraphicsImage(QImage image)
    : _image(std::move(image))
{
    normalise();
}

GraphicsImage GraphicsImage::withSize(const Size& size)
{
    if (!(size.width > 0) || !(size.height > 0))
        return GraphicsImage();
    const double width = std::ceil(static_cast<double>(size.width));
    const double height = std::ceil(static_cast<double>(size.height));
    if (width > 1e6 || height > 1e6)
        return GraphicsImage();
    QImage pixels(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull())
        return GraphicsImage();
    pixels.fill(Qt::transparent);
    return GraphicsImage(std::move(pixels));
}

void GraphicsImage::normalise()
{
    if (_image.isNull())
        return;
    _image = atPixelSize(std::move(_image));
    switch (_image.format()) {
    case QImage::Format_RGB888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return;
    default:
        break;
    }
    if (_image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied)
        _image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    else if (_image.hasAlphaChannel())
        _image.convertTo(QImage::Format_RGBA8888);
    else
        _image.convertTo(QImage::Format_RGBX8888);
}

Size GraphicsImage::size() const
{
    return Size(static_cast<float>(_image.width()), static_cast<float>(_image.height()));
}

std::optional<BitmapImageRep> GraphicsImage::bitmapRepresentation() const
{
    if (_image.isNull())
        return std::nullopt;
    BitmapImageRep rep;
    rep.bitmapData = _image.constBits();
    rep.pixelsWide = _image.width();
    rep.pixelsHigh = _image.height();
    rep.bitsPerPixel = _image.depth();
    rep.bytesPerRow = static_cast<int>(_image.bytesPerLine());
    rep.hasAlpha = _image.hasAlphaChannel();
    return rep;
}

void GraphicsImage::drawInRect(const Rect& destination, const Rect& source, CompositingOperation operation,
                               float fraction) const
{
    if (GraphicsContext* context = GraphicsContext::current())
        context->drawImage(_image, destination, source, operation, fraction);
}

void GraphicsImage::drawAtPoint(const Point& point, const Rect& source, CompositingOperation operation,
                                float fraction) const
{
    const Size drawn = source.isEmpty() ? size() : source.size;
    drawInRect(Rect(point, drawn), source, operation, fraction);
}

GraphicsImage GraphicsImage::resizedTo(const Size& newSize) const
{
    GraphicsImage result = withSize(newSize);
    if (result.isNull() || isNull())
        return result;
    {
        Focus focus(result);
        // Reductions average the covered pixels instead of sampling a few.
        focus.context().setImageInterpolation(ImageInterpolation::High);
        drawInRect(Rect(Point(), newSize).integral(), Rect(Point(), size()).integral(), CompositingOperation::SourceOver,
                   1.0f);
    }
    return result;
}

GraphicsImage GraphicsImage::rotatedBy(int degrees) const
{
    const float w = static_cast<float>(pixelsWide());
    const float h = static_cast<float>(pixelsHigh());
    const bool quarter = degrees == 90 || degrees == -90;
    GraphicsImage result = withSize(quarter ? Size(h, w) : Size(w, h));
    if (result.isNull() || isNull())
        return result;
    {
        Focus focus(result);
        // Whole pixels land on whole pixels: they are moved, not resampled.
        focus.context().setImageInterpolation(ImageInterpolation::None);
        GraphicsContext::SavedState saved;
        QTransform turn;
        if (degrees == 90)
            turn = QTransform::fromTranslate(0, -h) * QTransform().rotate(90);
        else if (degrees == -90)
            turn = QTransform::fromTranslate(-w, 0) * QTransform().rotate(-90);
        else
            turn = QTransform::fromTranslate(-w, -h) * QTransform().rotate(180);
        focus.context().concat(turn);
        drawAtPoint(Point(), Rect(), CompositingOperation::SourceOver, 1.0f);
    }
    return result;
}

} // namespace lq
