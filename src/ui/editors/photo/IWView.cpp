#include "ui/editors/photo/IWView.h"

#include "model/imaging/XmlDraw.h"
#include "platform/Colour.h"
#include "platform/ExceptionFrame.h"
#include "platform/graphics/GraphicsContext.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

lq::Point mapPoint(const QTransform& transform, const lq::Point& point)
{
    return lq::Point(transform.map(point.toQPointF()));
}

// A size through the transform's linear part: no translation.
lq::Size mapSize(const QTransform& transform, const lq::Size& size)
{
    return lq::Size(static_cast<float>(transform.m11() * size.width + transform.m21() * size.height),
                    static_cast<float>(transform.m12() * size.width + transform.m22() * size.height));
}

lq::Rect mapRect(const QTransform& transform, const lq::Rect& rect)
{
    if (rect.isZero())
        return rect;
    return lq::Rect(mapPoint(transform, rect.origin), mapSize(transform, rect.size));
}

// Squares of the checkerboard, and the step from one to the next of a row.
constexpr int checkerSquare = 10;
constexpr int checkerStep = 20;
constexpr int checkerMargin = 40;
// The handles are squares of this side around their points.
constexpr float handleSide = 7;
constexpr float handleHalf = 3;
// What a drag step marks for redrawing around the edited geometry.
constexpr qreal refreshMargin = 10;

} // namespace

IWView::IWView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    _tracker.setHandlers({
        [this](QPointF) { return _tracking != Tracking::None; },
        [this](QPointF, QPointF to) { trackTo(to); },
        [this](QPointF, QPointF to) { endTracking(to); },
    });
}

IWView::~IWView() = default;

void IWView::setBodyRect(const lq::Rect& rect)
{
    _bodyRect = rect;
}

void IWView::setAnchorPoint(const lq::Point& point)
{
    _anchorPoint = point;
}

void IWView::setTailPoint(const lq::Point& point)
{
    _tailPoint = point;
}

// --- View coordinates ---------------------------------------------------------------------------------------

lq::Rect IWView::viewBodyRect() const
{
    return mapRect(_objectToView, _bodyRect);
}

void IWView::setViewBodyRect(const lq::Rect& rect)
{
    setBodyRect(mapRect(_viewToObject, rect));
}

lq::Point IWView::viewAnchorPoint() const
{
    return mapPoint(_objectToView, _anchorPoint);
}

void IWView::setViewAnchorPoint(const lq::Point& point)
{
    setAnchorPoint(mapPoint(_viewToObject, point));
}

lq::Point IWView::viewTailPoint() const
{
    return mapPoint(_objectToView, _tailPoint);
}

void IWView::setViewTailPoint(const lq::Point& point)
{
    setTailPoint(mapPoint(_viewToObject, point));
}

// --- Transforms ---------------------------------------------------------------------------------------------

void IWView::setTransformForViewAndObject(const QRectF& view, const lq::Rect& object)
{
    const auto vw = static_cast<float>(view.width());
    const auto vh = static_cast<float>(view.height());
    if (fitToScale()) {
        _scale = 1.0f;
        _origin = lq::Point((vw - object.width()) * 0.5f, (vh - object.height()) * 0.5f);
        // Only an element larger than the view is scaled: fitting never enlarges.
        if (_origin.x < 0 || _origin.y < 0) {
            if (object.width() != 0 && object.height() != 0)
                _scale = std::min(vw / object.width(), vh / object.height());
        }
    }
    _origin = lq::Point((vw - object.width() * _scale) * 0.5f, (vh - object.height() * _scale) * 0.5f);
    _objectToView = QTransform::fromTranslate(-object.x(), -object.y()) * QTransform::fromScale(_scale, _scale)
                    * QTransform::fromTranslate(_origin.x, _origin.y);
    _viewToObject = _objectToView.inverted();
}

lq::Rect IWView::imageBounds() const
{
    XmlDraw* object = xmlobject();
    return object ? object->boundingRect(lq::Rect()) : lq::Rect();
}

void IWView::draw()
{
    lq::uiFrame(this, "draw", [&] {
        if (XmlDraw* object = xmlobject())
            object->draw();
    });
}

void IWView::recalcFrameInView()
{
    if (QWidget* clip = parentWidget())
        resize(clip->size());
}

// --- Drawing ------------------------------------------------------------------------------------------------

void IWView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bounds = rect();
    setTransformForViewAndObject(bounds, imageBounds());
    {
        lq::GraphicsContext::Scope scope(painter);
        lq::GraphicsContext& context = scope.context();
        context.saveGraphicsState();
        context.concat(_objectToView);
        drawBackdrop(bounds);
        draw();
        context.restoreGraphicsState();
    }
    drawGrabHandles(painter);
}

void IWView::drawBackdrop(const QRectF& viewRect)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    if (!context)
        return;
    // Drawn in object coordinates, so that the squares grow with the zoom; the
    // board starts on a whole square pair before the visible area.
    const lq::Size size = mapSize(_viewToObject, lq::Size(viewRect.size()));
    const lq::Point corner = mapPoint(_viewToObject, lq::Point(viewRect.topLeft()));
    const float width = size.width + checkerMargin;
    const float height = size.height + checkerMargin;
    const auto boardStart = [](float at) {
        return static_cast<float>(checkerStep * (static_cast<int>(at - checkerStep) / checkerStep));
    };
    const float x0 = boardStart(corner.x);
    const float y0 = boardStart(corner.y);

    context->setColor(lq::Colour::white());
    context->fillRect(lq::Rect(x0, y0, width, height));
    context->setColor(lq::Colour(0.98f, 0.98f, 0.98f, 0.98f));
    int shift = 0;
    for (int row = 0; row < height; row += checkerSquare) {
        for (int column = shift; column < width; column += checkerStep)
            context->fillRect(lq::Rect(x0 + column, y0 + row, checkerSquare, checkerSquare));
        shift = shift == 0 ? checkerSquare : 0;
    }
}

void IWView::drawGrabHandles(QPainter& painter)
{
    if (!handlesOn())
        return;
    calcGrabHandles();
    painter.save();
    if (!_hasTailPoint) {
        const lq::Rect body = viewBodyRect();
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(body.x() + 0.5, body.y() + 0.5, body.width() - 1, body.height() - 1));
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(QColor(128, 128, 128));
        for (int handle = 0; handle < anchorHandle; ++handle)
            painter.drawRect(_grabber[handle].toQRectF());
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const auto diamond = [&](const lq::Rect& box) {
        QPainterPath path;
        path.moveTo(box.midX(), box.minY());
        path.lineTo(box.maxX(), box.midY());
        path.lineTo(box.midX(), box.maxY());
        path.lineTo(box.minX(), box.midY());
        path.closeSubpath();
        painter.setPen(QPen(Qt::gray, 1));
        painter.setBrush(Qt::yellow);
        painter.drawPath(path);
    };
    if (_hasAnchorPoint)
        diamond(_grabber[anchorHandle]);
    if (_hasTailPoint)
        diamond(_grabber[tailHandle]);
    painter.restore();
}

// --- Handles ------------------------------------------------------------------------------------------------

void IWView::calcGrabHandles()
{
    const auto around = [](float x, float y) { return lq::Rect(x - handleHalf, y - handleHalf, handleSide, handleSide); };
    if (!_hasTailPoint) {
        const lq::Rect r = viewBodyRect();
        const float x = r.x(), y = r.y(), w = r.width(), h = r.height();
        _grabber[0] = around(x, y + h);
        _grabber[1] = around(x + w / 2, y + h);
        _grabber[2] = around(x + w, y + h);
        _grabber[3] = around(x + w, y + h / 2);
        _grabber[4] = around(x + w, y);
        _grabber[5] = around(x + w / 2, y);
        _grabber[6] = around(x, y);
        _grabber[7] = around(x, y + h / 2);
    }
    if (_hasAnchorPoint) {
        const lq::Point p = viewAnchorPoint();
        _grabber[anchorHandle] = around(p.x, p.y);
    }
    if (_hasTailPoint) {
        const lq::Point p = viewTailPoint();
        _grabber[tailHandle] = around(p.x, p.y);
    }
}

lq::Rect IWView::grabberRect(int handle) const
{
    return handle >= 0 && handle < handleCount ? _grabber[static_cast<std::size_t>(handle)] : lq::Rect();
}

int IWView::grabberHitTest(const QPointF& point) const
{
    const lq::Point p(point);
    if (!_hasTailPoint) {
        for (int handle = 0; handle < anchorHandle; ++handle) {
            if (_grabber[handle].contains(p))
                return handle;
        }
    }
    if (_hasAnchorPoint && _grabber[anchorHandle].contains(p))
        return anchorHandle;
    if (_hasTailPoint && _grabber[tailHandle].contains(p))
        return tailHandle;
    return -1;
}

QRectF IWView::refreshRect() const
{
    QRectF area;
    if (_hasTailPoint) {
        area = QRectF(viewTailPoint().toQPointF(), QSizeF(0, 0));
    } else {
        area = viewBodyRect().toQRectF();
    }
    if (_hasAnchorPoint) {
        const QPointF anchor = viewAnchorPoint().toQPointF();
        const qreal left = std::min(area.left(), anchor.x());
        const qreal top = std::min(area.top(), anchor.y());
        const qreal right = std::max(area.right(), anchor.x());
        const qreal bottom = std::max(area.bottom(), anchor.y());
        area = QRectF(QPointF(left, top), QPointF(right, bottom));
    }
    return area.adjusted(-refreshMargin, -refreshMargin, refreshMargin, refreshMargin);
}

void IWView::redisplayObject()
{
    update(refreshRect().toAlignedRect());
}

// --- The mouse ----------------------------------------------------------------------------------------------

void IWView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || _tracker.isPressed()) {
        QWidget::mousePressEvent(event);
        return;
    }
    lq::uiFrame(this, "mouseDown:", [&] { mouseDown(event); });
    _tracker.press(event);
    event->accept();
}

void IWView::mouseMoveEvent(QMouseEvent* event)
{
    if (!_tracker.move(event))
        QWidget::mouseMoveEvent(event);
}

void IWView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!_tracker.release(event))
        QWidget::mouseReleaseEvent(event);
}

void IWView::mouseDown(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPointF point = event->position();
    const int handle = grabberHitTest(point);
    if (handle >= 0)
        resizeObjectWithEventHandle(point, handle);
    else if (!_hasTailPoint && viewBodyRect().contains(lq::Point(point)))
        moveObjectWithEvent(point);
    else
        rubberbandCropRectWithEvent(point, [this] { setFocus(Qt::MouseFocusReason); });
}

void IWView::moveObjectWithEvent(const QPointF& press, Finished finished)
{
    beginTracking(Tracking::Move, press, -1, std::move(finished));
    _offset = press - _startRect.origin.toQPointF();
}

void IWView::resizeObjectWithEventHandle(const QPointF& press, int handle, Finished finished)
{
    beginTracking(Tracking::Resize, press, handle, std::move(finished));
    // The press point's offset from the handle's centre.
    const lq::Rect grabber = grabberRect(handle);
    _offset = press - QPointF(grabber.x() + handleHalf, grabber.y() + handleHalf);
}

void IWView::rubberbandCropRectWithEvent(const QPointF& press, Finished finished)
{
    beginTracking(Tracking::Rubberband, press, -1, std::move(finished));
    _handlesOn = true;
    setViewBodyRect(lq::Rect());
}

void IWView::beginTracking(Tracking kind, const QPointF& press, int handle, Finished finished)
{
    _tracking = kind;
    _trackedHandle = handle;
    _pressPoint = press;
    _startRect = viewBodyRect();
    _workingRect = _startRect;
    _offset = QPointF();
    _finished = std::move(finished);
}

void IWView::trackTo(const QPointF& point)
{
    switch (_tracking) {
    case Tracking::Move:
        moveTo(point);
        break;
    case Tracking::Resize:
        resizeTo(point);
        break;
    case Tracking::Rubberband:
        rubberbandTo(point);
        break;
    case Tracking::None:
        return;
    }
    geometryDidChange();
}

void IWView::endTracking(const QPointF& point)
{
    // The release is applied like any step before the drag ends.
    trackTo(point);
    if (_tracking == Tracking::Rubberband) {
        update();
        _handlesOn = false;
    }
    _tracking = Tracking::None;
    const Finished finished = std::move(_finished);
    _finished = nullptr;
    if (finished)
        finished();
}

void IWView::moveTo(const QPointF& point)
{
    redisplayObject();
    lq::Rect moved = _startRect;
    moved.origin = lq::Point(point - _offset);
    setViewBodyRect(moved);
    calcGrabHandles();
    redisplayObject();
}

void IWView::resizeTo(const QPointF& point)
{
    redisplayObject();
    const QPointF q = point - _offset;
    const auto qx = static_cast<float>(q.x());
    const auto qy = static_cast<float>(q.y());
    const lq::Rect& r0 = _startRect;
    const float right = r0.maxX();
    const float bottom = r0.maxY();
    lq::Rect& r = _workingRect;
    const auto leftEdge = [&] {
        r.origin.x = qx;
        r.size.width = right - qx;
        if (r.size.width < minimumSize) {
            r.origin.x = right - minimumSize;
            r.size.width = minimumSize;
        }
    };
    const auto topEdge = [&] {
        r.origin.y = qy;
        r.size.height = bottom - qy;
        if (r.size.height < minimumSize) {
            r.origin.y = bottom - minimumSize;
            r.size.height = minimumSize;
        }
    };
    const auto rightEdge = [&] { r.size.width = std::max(qx - r0.x(), minimumSize); };
    const auto bottomEdge = [&] { r.size.height = std::max(qy - r0.y(), minimumSize); };

    switch (_trackedHandle) {
    case 0: leftEdge(); bottomEdge(); break;
    case 1: bottomEdge(); break;
    case 2: rightEdge(); bottomEdge(); break;
    case 3: rightEdge(); break;
    case 4: rightEdge(); topEdge(); break;
    case 5: topEdge(); break;
    case 6: leftEdge(); topEdge(); break;
    case 7: leftEdge(); break;
    case anchorHandle: setViewAnchorPoint(lq::Point(q)); break;
    case tailHandle: setViewTailPoint(lq::Point(q)); break;
    default: break;
    }
    setViewBodyRect(r);
    calcGrabHandles();
    redisplayObject();
}

void IWView::rubberbandTo(const QPointF& point)
{
    if (point != _pressPoint) {
        const lq::Rect band(static_cast<float>(std::min(_pressPoint.x(), point.x())),
                            static_cast<float>(std::min(_pressPoint.y(), point.y())),
                            static_cast<float>(std::abs(point.x() - _pressPoint.x())),
                            static_cast<float>(std::abs(point.y() - _pressPoint.y())));
        const lq::Rect current = viewBodyRect();
        if (band != current) {
            // The band's first rectangle: whatever was shown before goes too.
            if (current.isZero())
                update();
            else
                redisplayObject();
            setViewBodyRect(band);
            redisplayObject();
        }
    } else {
        if (!viewBodyRect().isZero())
            redisplayObject();
        setBodyRect(lq::Rect());
    }
    calcGrabHandles();
}
