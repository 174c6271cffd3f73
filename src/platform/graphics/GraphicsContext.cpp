#include "platform/graphics/GraphicsContext.h"

#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace lq {

namespace {

// The innermost context in force on this thread.
thread_local GraphicsContext* currentContext = nullptr;

QPainter::CompositionMode compositionModeFor(CompositingOperation operation)
{
    switch (operation) {
    case CompositingOperation::Clear:
        return QPainter::CompositionMode_Clear;
    case CompositingOperation::Copy:
        return QPainter::CompositionMode_Source;
    case CompositingOperation::SourceOver:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// The part of the source rectangle inside the image, with the destination
// shrunk in proportion, as drawing only ever takes pixels the image has.
// False when nothing of the source lies inside the image.
bool clipSourceToImage(const QSize& imageSize, QRectF& source, QRectF& destination)
{
    const QRectF bounds(QPointF(0, 0), QSizeF(imageSize));
    const QRectF inside = source.intersected(bounds);
    if (inside.isEmpty())
        return false;
    if (inside != source) {
        const double sx = destination.width() / source.width();
        const double sy = destination.height() / source.height();
        destination = QRectF(destination.x() + (inside.x() - source.x()) * sx,
                             destination.y() + (inside.y() - source.y()) * sy, inside.width() * sx,
                             inside.height() * sy);
        source = inside;
    }
    return true;
}

// The part of the image inside the rectangle, reading the image's own
// pixels rather than a copy of them: a picture is large, and a reduction
// reads each pixel once. (Writing into the part would copy it first.)
QImage imagePart(const QImage& image, const QRect& rect)
{
    const QRect area = rect & image.rect();
    if (area == image.rect())
        return image;
    if (image.depth() % 8 != 0 || area.isEmpty())
        return image.copy(area);
    const uchar* first = image.constScanLine(area.y()) + static_cast<qsizetype>(area.x()) * (image.depth() / 8);
    QImage part(first, area.width(), area.height(), image.bytesPerLine(), image.format());
    if (image.format() == QImage::Format_Indexed8)
        part.setColorTable(image.colorTable());
    return part;
}

} // namespace

// --- Scope ----------------------------------------------------------------------------------

GraphicsContext::Scope::Scope(QPainter& painter)
    : _context(new GraphicsContext(painter))
    , _previous(currentContext)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    currentContext = _context.get();
}

GraphicsContext::Scope::Scope(QPaintDevice& device)
    : _ownPainter(std::make_unique<QPainter>(&device))
    , _context(new GraphicsContext(*_ownPainter))
    , _previous(currentContext)
{
    _ownPainter->save();
    _ownPainter->setRenderHint(QPainter::Antialiasing, true);
    _ownPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    currentContext = _context.get();
}

GraphicsContext::Scope::~Scope()
{
    while (_context->savedStateCount() > 0)
        _context->restoreGraphicsState();
    _context->painter().restore();
    currentContext = _previous;
    _context.reset();
    if (_ownPainter)
        _ownPainter->end();
}

// --- SavedState -----------------------------------------------------------------------------

GraphicsContext::SavedState::SavedState()
    : _context(GraphicsContext::current())
{
    if (_context)
        _context->saveGraphicsState();
}

GraphicsContext::SavedState::~SavedState()
{
    if (_context)
        _context->restoreGraphicsState();
}

// --- Context --------------------------------------------------------------------------------

GraphicsContext::GraphicsContext(QPainter& painter)
    : _painter(&painter)
{
}

GraphicsContext* GraphicsContext::current()
{
    return currentContext;
}

void GraphicsContext::saveGraphicsState()
{
    _saved.push_back(_state);
    _painter->save();
}

void GraphicsContext::restoreGraphicsState()
{
    if (_saved.empty())
        return;
    _state = _saved.back();
    _saved.pop_back();
    _painter->restore();
}

QTransform GraphicsContext::transform() const
{
    return _painter->worldTransform();
}

void GraphicsContext::concat(const QTransform& transform)
{
    _painter->setWorldTransform(transform, true);
}

void GraphicsContext::clipToRect(const Rect& rect)
{
    _painter->setClipRect(rect.toQRectF(), _painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void GraphicsContext::clipToPath(const QPainterPath& path)
{
    _painter->setClipPath(path, _painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void GraphicsContext::setColor(const Colour& colour)
{
    _state.fill = colour;
    _state.stroke = colour;
}

void GraphicsContext::fillRect(const Rect& rect)
{
    if (rect.isEmpty())
        return;
    const QRectF area = rect.toQRectF();
    const QColor colour = _state.fill.toQColor();
    paint(area, [&](QPainter& p) { p.fillRect(area, colour); });
}

void GraphicsContext::fillPath(const QPainterPath& path)
{
    if (path.isEmpty())
        return;
    const QColor colour = _state.fill.toQColor();
    paint(path.controlPointRect(), [&](QPainter& p) { p.fillPath(path, colour); });
}

void GraphicsContext::strokePath(const QPainterPath& path, const QPen& pen)
{
    if (path.isEmpty())
        return;
    QPen coloured(pen);
    coloured.setColor(_state.stroke.toQColor());
    // Enough room for the widest join (miter) on every side.
    const double reach = std::max(1.0, pen.widthF()) * std::max(1.0, pen.miterLimit()) + 1.0;
    const QRectF bounds = path.controlPointRect().adjusted(-reach, -reach, reach, reach);
    paint(bounds, [&](QPainter& p) { p.strokePath(path, coloured); });
}

void GraphicsContext::drawImage(const QImage& image, const Rect& destination, const Rect& source,
                                CompositingOperation operation, float fraction)
{
    if (image.isNull() || destination.isEmpty())
        return;
    QRectF target = destination.toQRectF();
    QRectF from = source.isEmpty() ? QRectF(image.rect()) : source.toQRectF();
    if (!clipSourceToImage(image.size(), from, target))
        return;
    const ImageInterpolation interpolation = _interpolation;
    paint(target, [&](QPainter& p) {
        p.save();
        p.setCompositionMode(compositionModeFor(operation));
        p.setOpacity(p.opacity() * std::clamp(fraction, 0.0f, 1.0f));
        p.setRenderHint(QPainter::SmoothPixmapTransform, interpolation != ImageInterpolation::None);
        const QTransform& world = p.worldTransform();
        if (interpolation == ImageInterpolation::High && world.type() <= QTransform::TxScale) {
            // Bilinear filtering reads only the four nearest pixels of each
            // drawn pixel, which leaves a strongly reduced image grainy: the
            // source is averaged down to the drawn size first.
            const QRectF device = world.mapRect(target);
            if (device.width() * 2 < from.width() || device.height() * 2 < from.height()) {
                const QSize size(std::max(1, static_cast<int>(std::lround(device.width()))),
                                 std::max(1, static_cast<int>(std::lround(device.height()))));
                const QImage reduced = imagePart(image, from.toAlignedRect())
                                           .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                p.drawImage(target, reduced, QRectF(reduced.rect()));
                p.restore();
                return;
            }
        }
        p.drawImage(target, image, from);
        p.restore();
    });
}

void GraphicsContext::paint(const QRectF& bounds, const std::function<void(QPainter&)>& drawing)
{
    if (_state.shadow && _state.shadow->colour().a > 0)
        castShadow(*_state.shadow, bounds, drawing);
    drawing(*_painter);
}

void GraphicsContext::castShadow(const Shadow& shadow, const QRectF& bounds,
                                 const std::function<void(QPainter&)>& drawing)
{
    const QTransform world = _painter->worldTransform();
    const int extent = shadow.blurExtent();
    QRect area = world.mapRect(bounds).toAlignedRect().adjusted(-extent, -extent, extent, extent);
    // Only the part of the shadow that can land on the device is made.
    const QPointF offset = shadow.deviceOffset();
    const QPaintDevice* device = _painter->device();
    if (device) {
        QRect reachable(0, 0, device->width(), device->height());
        reachable.translate(-static_cast<int>(std::floor(offset.x())), -static_cast<int>(std::floor(offset.y())));
        reachable.adjust(-extent - 1, -extent - 1, extent + 1, extent + 1);
        area &= reachable;
    }
    if (area.isEmpty())
        return;

    // The drawing's coverage, unclipped, in the shadow's colour.
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter maskPainter(&mask);
        maskPainter.setRenderHints(_painter->renderHints());
        maskPainter.setTransform(world * QTransform::fromTranslate(-area.x(), -area.y()));
        drawing(maskPainter);
        maskPainter.resetTransform();
        maskPainter.setOpacity(1.0);
        maskPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        maskPainter.fillRect(mask.rect(), shadow.colour().toQColor());
    }
    shadow.blur(mask);

    // Laid down in device pixels, through the clip in force.
    _painter->save();
    _painter->resetTransform();
    _painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    _painter->drawImage(QPointF(area.topLeft()) + offset, mask);
    _painter->restore();
}

} // namespace lq
