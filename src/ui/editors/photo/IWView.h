#pragma once

#include "platform/Geometry.h"
#include "ui/widgets/PressTracker.h"

#include <QTransform>
#include <QWidget>

#include <array>
#include <functional>

class XmlDraw;

// The base view of the photo editor's canvas and of the image wells: one
// drawable of the photo canvas model scaled into the view over a
// checkerboard, and one rectangle of it (the body rectangle), with an
// optional anchor point and tail point, edited through ten grab handles.
//
// Object coordinates grow downward like the view's; everything the view
// stores is in object coordinates, everything the handles and the mouse work
// with is in view coordinates. The two transforms between them are rebuilt
// at every paint, so conversions between two paints use the last ones.
//
// A press on a handle resizes, a press inside the body rectangle (without a
// tail point) moves it, any other press draws a rubber band; the drag lasts
// until the button is released.
class IWView : public QWidget {
    Q_OBJECT
public:
    // Handles 0 to 7 go round the body rectangle from its bottom-left corner
    // (bottom, bottom-right, right, top-right, top, top-left, left).
    static constexpr int anchorHandle = 8;
    static constexpr int tailHandle = 9;
    static constexpr int handleCount = 10;
    // Resizing keeps the body rectangle at least this many view units wide and high.
    static constexpr float minimumSize = 25;

    explicit IWView(QWidget* parent = nullptr);
    ~IWView() override;

    // --- Edited geometry, object coordinates; the zero rectangle is no rectangle.
    const lq::Rect& bodyRect() const { return _bodyRect; }
    void setBodyRect(const lq::Rect& rect);
    const lq::Point& anchorPoint() const { return _anchorPoint; }
    void setAnchorPoint(const lq::Point& point);
    const lq::Point& tailPoint() const { return _tailPoint; }
    void setTailPoint(const lq::Point& point);
    bool hasAnchorPoint() const { return _hasAnchorPoint; }
    void setHasAnchorPoint(bool has) { _hasAnchorPoint = has; }
    bool hasTailPoint() const { return _hasTailPoint; }
    void setHasTailPoint(bool has) { _hasTailPoint = has; }
    // Whether the handles are drawn; a rubber band turns them on while it lasts.
    virtual bool handlesOn() const { return _handlesOn; }
    void setHandlesOn(bool on) { _handlesOn = on; }

    // --- The same in view coordinates -----------------------------------------
    // The zero rectangle converts to itself, untranslated.
    lq::Rect viewBodyRect() const;
    void setViewBodyRect(const lq::Rect& rect);
    lq::Point viewAnchorPoint() const;
    void setViewAnchorPoint(const lq::Point& point);
    lq::Point viewTailPoint() const;
    void setViewTailPoint(const lq::Point& point);

    // --- Transforms -------------------------------------------------------------
    // objectToView maps p to origin + scale * (p - object origin).
    const QTransform& objectToView() const { return _objectToView; }
    const QTransform& viewToObject() const { return _viewToObject; }
    float scale() const { return _scale; }
    const lq::Point& origin() const { return _origin; }
    // Builds both transforms for the view and object rectangles (the view
    // rectangle's origin is not used). Fitting shows an element that fits at
    // scale 1 and shrinks one that does not, centred either way; otherwise
    // the element is centred at the current scale.
    void setTransformForViewAndObject(const QRectF& view, const lq::Rect& object);

    // --- What subclasses answer -------------------------------------------------
    // Fit the element into the view (the base does).
    virtual bool fitToScale() const { return true; }
    // The drawable shown; the base shows none.
    virtual XmlDraw* xmlobject() const { return nullptr; }
    // The drawable's bounding rectangle in object units.
    virtual lq::Rect imageBounds() const;
    // Draws the drawable in object coordinates into the current graphics context.
    virtual void draw();
    // Sizes the view inside the scroll view that shows it (ZoomScrollView);
    // the base takes the visible area's size, which fitting fills.
    virtual void recalcFrameInView();

    // --- Handles ----------------------------------------------------------------
    // Places the handles on the body rectangle (0 to 7, only without a tail
    // point), the anchor (8) and the tail (9); others keep their places.
    void calcGrabHandles();
    // The 7 by 7 rectangle of a handle in view coordinates.
    lq::Rect grabberRect(int handle) const;
    // The lowest handle under the view point, or -1.
    int grabberHitTest(const QPointF& point) const;

    // The edited geometry in view coordinates, grown by 10 units: what a drag
    // step marks for redrawing.
    QRectF refreshRect() const;
    void redisplayObject();

protected:
    using Finished = std::function<void()>;

    // The press of the left button at the view point: a handle resizes,
    // the body moves, elsewhere a rubber band.
    virtual void mouseDown(QMouseEvent* event);
    // Each starts a drag from the press point that lasts until the button is
    // released, then calls finished.
    void moveObjectWithEvent(const QPointF& press, Finished finished = {});
    void resizeObjectWithEventHandle(const QPointF& press, int handle, Finished finished = {});
    void rubberbandCropRectWithEvent(const QPointF& press, Finished finished = {});
    bool isTracking() const { return _tracking != Tracking::None; }
    // After each step of a drag (the release included) has changed the
    // edited geometry; subclasses pass it on to what they edit.
    virtual void geometryDidChange() {}

    void setScale(float scale) { _scale = scale; }

    void drawBackdrop(const QRectF& viewRect);
    void drawGrabHandles(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Tracking { None, Move, Resize, Rubberband };

    void beginTracking(Tracking kind, const QPointF& press, int handle, Finished finished);
    void trackTo(const QPointF& point);
    void endTracking(const QPointF& point);
    void moveTo(const QPointF& point);
    void resizeTo(const QPointF& point);
    void rubberbandTo(const QPointF& point);

    lq::Rect _bodyRect;
    std::array<lq::Rect, handleCount> _grabber {};
    bool _hasAnchorPoint = false;
    lq::Point _anchorPoint;
    bool _hasTailPoint = false;
    lq::Point _tailPoint;
    bool _handlesOn = false;
    QTransform _objectToView;
    QTransform _viewToObject;
    float _scale = 1.0f;
    lq::Point _origin;

    // The drag in progress.
    PressTracker _tracker;
    Tracking _tracking = Tracking::None;
    int _trackedHandle = -1;
    QPointF _pressPoint;
    lq::Rect _startRect;   // view body rectangle at the press
    lq::Rect _workingRect; // what the last step of a resize left
    QPointF _offset;       // press point less the rectangle's origin or the handle's centre
    Finished _finished;
};
