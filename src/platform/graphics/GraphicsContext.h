#pragma once

// The current graphics context. The drawing operations of the model (a
// picture, a callout, a mask shape, a watermark) take no painter: they draw
// into whatever context is current. A context is a QPainter with a graphics
// state of its own on top of the painter's (colours, shadow), kept in a
// stack of saved states.
//
// Contexts are made current by a Scope, innermost first: drawing into a new
// image inside drawing into a view goes to the image until its Scope ends.
//
// Coordinates are y-down (the painter's own). Transforms compose so that
// concat(t) makes points go through t first and then through the transform
// already in force. With QTransform, a transform that first moves points and
// then rotates them is QTransform::fromTranslate(dx, dy) * QTransform().rotate(degrees).
//
// Everything runs on the main thread; the context stack belongs to it.

#include "platform/Colour.h"
#include "platform/Geometry.h"
#include "platform/graphics/Shadow.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lq {

// How images are resampled when drawn at another size. Default and Low draw
// with bilinear filtering; High also averages the covered source area when
// an image is drawn smaller than half its size; None takes the nearest pixel.
enum class ImageInterpolation {
    Default = 0,
    None = 1,
    Low = 2,
    High = 3,
};

// How a drawing combines with what is already there (numbered as the model
// names them: 1 copy, 2 source over).
enum class CompositingOperation {
    Clear = 0,
    Copy = 1,
    SourceOver = 2,
};

class GraphicsContext {
public:
    // Makes a context over a painter (or over a paint device, with a painter
    // of its own) the current one while it lives; the context that was
    // current before comes back when it ends. The painter's own state is
    // saved at the start and restored at the end. Paths are antialiased.
    class Scope {
    public:
        explicit Scope(QPainter& painter);
        explicit Scope(QPaintDevice& device);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        GraphicsContext& context() { return *_context; }

    private:
        std::unique_ptr<QPainter> _ownPainter;
        std::unique_ptr<GraphicsContext> _context;
        GraphicsContext* _previous = nullptr;
    };

    // Saves the current context's graphics state and restores it when it
    // ends (nothing when no context is current).
    class SavedState {
    public:
        SavedState();
        ~SavedState();
        SavedState(const SavedState&) = delete;
        SavedState& operator=(const SavedState&) = delete;

    private:
        GraphicsContext* _context = nullptr;
    };

    // The innermost context in force, or none.
    static GraphicsContext* current();

    QPainter& painter() { return *_painter; }

    // --- Graphics state ---------------------------------------------------
    // The state holds the transform, the clip, the colours and the shadow. A
    // restore without a matching save does nothing.
    void saveGraphicsState();
    void restoreGraphicsState();
    int savedStateCount() const { return static_cast<int>(_saved.size()); }

    // The transform from user space to the device.
    QTransform transform() const;
    // Points go through the transform first, then through the current one.
    void concat(const QTransform& transform);

    // The clip shrinks to its overlap with the rectangle or path (in user space).
    void clipToRect(const Rect& rect);
    void clipToPath(const QPainterPath& path);

    // The colour that fills and strokes; setColor sets both.
    void setColor(const Colour& colour);
    void setFillColor(const Colour& colour) { _state.fill = colour; }
    void setStrokeColor(const Colour& colour) { _state.stroke = colour; }
    const Colour& fillColor() const { return _state.fill; }
    const Colour& strokeColor() const { return _state.stroke; }

    void setShadow(const Shadow& shadow) { _state.shadow = shadow; }
    void clearShadow() { _state.shadow.reset(); }
    const std::optional<Shadow>& shadow() const { return _state.shadow; }

    // The image interpolation belongs to the context, not to the saved state:
    // who raises it sets it back.
    ImageInterpolation imageInterpolation() const { return _interpolation; }
    void setImageInterpolation(ImageInterpolation interpolation) { _interpolation = interpolation; }

    // --- Drawing ----------------------------------------------------------
    // Fills the rectangle with the fill colour, source over.
    void fillRect(const Rect& rect);
    void fillPath(const QPainterPath& path);
    // Strokes with the pen's geometry (width, caps, joins, dashes) in the
    // stroke colour; the width is in user units, so it scales with the transform.
    void strokePath(const QPainterPath& path, const QPen& pen);
    // Draws the source part of the image (the whole image for an empty source
    // rectangle) into the destination rectangle, at the fraction of its opacity.
    void drawImage(const QImage& image, const Rect& destination, const Rect& source,
                   CompositingOperation operation, float fraction);

    // Runs a drawing on the painter, casting the current shadow first. The
    // bounds (user space) enclose everything the drawing touches.
    void paint(const QRectF& bounds, const std::function<void(QPainter&)>& drawing);

private:
    explicit GraphicsContext(QPainter& painter);

    struct State {
        Colour fill = Colour::black();
        Colour stroke = Colour::black();
        std::optional<Shadow> shadow;
    };

    void castShadow(const Shadow& shadow, const QRectF& bounds, const std::function<void(QPainter&)>& drawing);

    QPainter* _painter;
    State _state;
    std::vector<State> _saved;
    ImageInterpolation _interpolation = ImageInterpolation::Default;
};

} // namespace lq
