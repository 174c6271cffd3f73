// The canvas's selection, its alignment guides and read-out, and changing
// the elements directly: presses, drags by the element or by one of its grab
// handles, the arrow keys, Tab, and the presses of test mode.
#include "ui/layout/QZLayoutView.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/LayoutController.h"
#include "model/core/SuppressedChanges.h"
#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/ValueStrings.h"
#include "ui/widgets/MyLabel.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>

#include <algorithm>
#include <cmath>

namespace {

// The modifiers once the key is down or up: a platform may report a
// modifier key's own event with the state from before it.
Qt::KeyboardModifiers modifiersAfter(const QKeyEvent* event)
{
    Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_Alt)
        modifiers.setFlag(Qt::AltModifier, event->type() == QEvent::KeyPress);
    return modifiers;
}

// The grab handles never size an element below this; Option with an arrow
// key stops at the smaller size.
constexpr float minimumHandleSize = 25;
constexpr float minimumKeySize = 10;
// How far, in whole units, the pointer may stray across a guide that holds
// the element in line.
constexpr int stickyReach = 9;

// A left or top edge moved to the coordinate: never below 0, the far edge
// where it was, the size at least minimumHandleSize.
void moveNearEdge(float to, float farEdge, float& origin, float& size)
{
    origin = std::max(0.0f, to);
    size = farEdge - origin;
    if (size < minimumHandleSize) {
        origin = farEdge - minimumHandleSize;
        size = minimumHandleSize;
    }
}

// The rectangle a grab handle makes of the one at the press, with the
// handle's anchor at (ax, ay): the edges away from the handle stay, and each
// size the handle changes is at least minimumHandleSize. Handles go round
// from the bottom left (0) by the bottom middle, the corners and the
// middles to the left middle (7).
lq::Rect resizedByHandle(int handle, const lq::Rect& start, float ax, float ay)
{
    float x = start.x();
    float y = start.y();
    float w = start.width();
    float h = start.height();
    if (handle == 0 || handle == 6 || handle == 7)
        moveNearEdge(ax, start.maxX(), x, w);
    if (handle == 2 || handle == 3 || handle == 4)
        w = std::max(minimumHandleSize, ax - start.x());
    if (handle == 4 || handle == 5 || handle == 6)
        moveNearEdge(ay, start.maxY(), y, h);
    if (handle == 0 || handle == 1 || handle == 2)
        h = std::max(minimumHandleSize, ay - start.y());
    return lq::Rect(x, y, w, h);
}

int truncated(float value)
{
    return int(std::trunc(value));
}

QScrollArea* enclosingScrollArea(QWidget* widget)
{
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up))
            return area;
    }
    return nullptr;
}

std::shared_ptr<XmlCSS> elementNamed(const QString& uuid)
{
    return std::dynamic_pointer_cast<XmlCSS>(XmlBase::UUID(uuid));
}

} // namespace

// --- Selection ---------------------------------------------------------------------------------------

XmlBoxModel* QZLayoutView::setCurrentSelectedObject(XmlCSS* object)
{
    return lq::uiFrame(this, "setCurrentSelectedObject:", [&]() -> XmlBoxModel* {
        _currentSelectedObject = object ? object->UUID() : QString();
        XmlBoxModel* box = XmlBoxModel::cast(object);
        _controller.setSelectedObject(box);
        if (box) {
            _bodyRect = box->objectRect();
            _canMove = true;
            _canHorzSize = box->widthFixed();
            _canVertSize = box->heightFixed();
            calcGrabHandles();
        }
        calcGuidelines(object);
        update();
        return box;
    });
}

std::shared_ptr<XmlCSS> QZLayoutView::currentSelectedObject() const
{
    if (_currentSelectedObject.isEmpty())
        return nullptr;
    return std::dynamic_pointer_cast<XmlCSS>(XmlBase::UUID(_currentSelectedObject));
}

void QZLayoutView::setObjectMoved()
{
    setCurrentSelectedObject(currentSelectedObject().get());
}

lq::Rect QZLayoutView::guideRect()
{
    return lq::uiFrame(this, "guideRect", [&] {
        const std::shared_ptr<XmlCSS> selection = currentSelectedObject();
        return selection ? selection->guideRect() : lq::Rect();
    });
}

int QZLayoutView::grabberHitTest(const lq::Point& point) const
{
    std::vector<int> handles;
    if (_canVertSize && _canHorzSize)
        handles.insert(handles.end(), {0, 2, 4, 6});
    if (_canVertSize)
        handles.insert(handles.end(), {1, 5});
    if (_canHorzSize)
        handles.insert(handles.end(), {3, 7});
    for (int handle : handles) {
        if (grabberRect(handle).contains(point))
            return handle;
    }
    return -1;
}

// --- Guides and read-out ------------------------------------------------------------------------------

void QZLayoutView::setObjectRectsIgnoringRect(const QStringList& rects, const lq::Rect& ignored)
{
    _guides.setObjectRectsIgnoringRect(rects, ignored);
}

void QZLayoutView::calcGuidelines(XmlCSS* object)
{
    lq::uiFrame(this, "calcGuidelines:", [&] {
        const lq::Rect rect = object ? object->guideRect() : lq::Rect();
        showReadOut(rect.integral());
        std::optional<lq::Rect> selection;
        if (object && !_testMode)
            selection = rect;
        if (_guides.calcGuidelines(selection, _enableEdgeGuides, _enableCenterGuides))
            update();
    });
}

QString QZLayoutView::readOut() const
{
    return _cordStat->text();
}

// --- Keys ------------------------------------------------------------------------------------------------

bool QZLayoutView::focusNextPrevChild(bool)
{
    // Tab and Backtab are the canvas's own keys.
    return false;
}

void QZLayoutView::keyPressEvent(QKeyEvent* event)
{
    _modifiers = modifiersAfter(event);
    flagsChanged(_modifiers);
    // While a drag lasts only the modifiers count.
    if (_tracker.isPressed()) {
        event->accept();
        return;
    }
    if (lq::uiFrame(this, "keyDown:", [&] { return keyDown(event); }))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void QZLayoutView::keyReleaseEvent(QKeyEvent* event)
{
    _modifiers = modifiersAfter(event);
    flagsChanged(_modifiers);
    QWidget::keyReleaseEvent(event);
}

// --- Pressing, dragging, releasing ------------------------------------------------------------------

void QZLayoutView::showReadOut(const lq::Rect& rect)
{
    _cordStat->setText(QStringLiteral("X: %1 Y: %2\nW: %3 H: %4")
                           .arg(QString::number(truncated(rect.x())), QString::number(truncated(rect.y())),
                                QString::number(truncated(rect.width())), QString::number(truncated(rect.height()))));
    _cordView->adjustSize();
    _cordView->update();
}

bool QZLayoutView::mouseDown(const QPointF& at)
{
    return lq::uiFrame(this, "mouseDown:", [&]() -> bool {
        setFocus(Qt::MouseFocusReason);
        const lq::Point point = pagePoint(at);
        _cordView->move(at.toPoint());
        // A Control-click opens what is under the pointer for editing and
        // leaves the selection and the rulers as they are.
        if (_modifiers & Qt::ControlModifier) {
            if (const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate()) {
                if (const XmlBasePtr editable = sheet->objectForEditingAtPoint(point))
                    _controller.doubleClickedObject(editable.get());
            }
            return false;
        }
        if (_testMode)
            return testMouseDown(point);
        return layoutMouseDown(point);
    });
}

bool QZLayoutView::layoutMouseDown(const lq::Point& point)
{
    const std::shared_ptr<XmlCSS> selection = currentSelectedObject();
    if (selection) {
        const int handle = grabberHitTest(point);
        if (handle >= 0) {
            beginDrag(point, handle);
            return true;
        }
    }
    // With Option a press anywhere drags the selection; otherwise only a
    // press on the selection itself does, and a press elsewhere selects what
    // is there (nothing over empty canvas).
    std::shared_ptr<XmlCSS> hit;
    if (_modifiers & Qt::AltModifier) {
        hit = selection;
    } else if (selection && selection->objectAtPoint(point) == selection) {
        hit = selection;
    } else if (const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate()) {
        hit = sheet->objectAtPoint(point);
    }
    if (!selection || hit != selection) {
        const bool selected = setCurrentSelectedObject(hit.get()) != nullptr;
        if (selected)
            setFocus(Qt::MouseFocusReason);
        update();
        doRulerLines(lq::rectToString(selected ? _bodyRect : lq::Rect()));
        return false;
    }
    // A free-style album's photo or a slideshow's part may have changed under
    // the pointer: its rectangle and permissions are read again.
    const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(selection.get());
    if ((album && album->afterDescription() == 2) || XmlSlideshow::cast(selection.get()))
        setCurrentSelectedObject(selection.get());
    if (!_canMove) {
        _controller.relayoutSheet();
        doRulerLines(lq::rectToString(_bodyRect));
        return false;
    }
    beginDrag(point, -1);
    return true;
}

void QZLayoutView::beginDrag(const lq::Point& point, int handle)
{
    Drag drag;
    drag.handle = handle;
    drag.start = _bodyRect;
    drag.object = _currentSelectedObject;
    if (handle < 0) {
        drag.grip = lq::Point(point.x - _bodyRect.x(), point.y - _bodyRect.y());
    } else {
        const lq::Rect grabber = grabberRect(handle);
        drag.grip = lq::Point(point.x - grabber.x() - 3, point.y - grabber.y() - 3);
    }
    _drag = drag;
}

bool QZLayoutView::dragStep(const QPointF& at)
{
    if (_hotPress) {
        lq::uiFrame(this, "testMouseDownWithEvent:xmlobj:", [&] { _trackingData.mouseDragged(pagePoint(at)); });
        return true;
    }
    if (!_drag)
        return false;
    const char* operation = _drag->handle < 0 ? "moveObjectWithEvent:" : "resizeObjectWithEvent:handle:";
    const bool stepped = lq::uiFrame(this, operation, [&] {
        const std::shared_ptr<XmlCSS> object = elementNamed(_drag->object);
        if (!object)
            return false;
        _cordView->move(at.toPoint());
        autoscroll(at);
        redisplayObject();
        lq::Point point = pagePoint(at);
        if (_drag->handle < 0)
            point = moveStep(*_drag, point);
        else
            resizeStep(*_drag, point);
        liveUpdate(*object);
        redisplayObject();
        calcGrabHandles();
        calcGuidelines(object.get());
        if (_drag->handle < 0) {
            // Where the pointer was when the element came into line: near it,
            // the element stays in line.
            const unsigned found = _guides.lastGuideHitTest();
            _drag->stickyX = (found & AlignmentGuides::verticalGuides) ? std::trunc(point.x) : -1;
            _drag->stickyY = (found & AlignmentGuides::horizontalGuides) ? std::trunc(point.y) : -1;
        }
        showReadOut(_bodyRect);
        doRulerLines(lq::rectToString(_bodyRect));
        return true;
    });
    if (!stepped)
        endDrag();
    return stepped;
}

lq::Point QZLayoutView::moveStep(const Drag& drag, lq::Point point)
{
    if (drag.stickyX != -1 && std::abs(truncated(point.x - drag.stickyX)) <= stickyReach)
        point.x = drag.stickyX;
    if (drag.stickyY != -1 && std::abs(truncated(point.y - drag.stickyY)) <= stickyReach)
        point.y = drag.stickyY;
    _bodyRect = lq::Rect(std::max(0.0f, point.x - drag.grip.x), std::max(0.0f, point.y - drag.grip.y), drag.start.width(),
                         drag.start.height());
    return point;
}

void QZLayoutView::resizeStep(const Drag& drag, const lq::Point& point)
{
    _bodyRect = resizedByHandle(drag.handle, drag.start, point.x - drag.grip.x, point.y - drag.grip.y);
}

void QZLayoutView::liveUpdate(XmlCSS& object)
{
    // The element follows the pointer without the document counting it as
    // an edit; the release commits once.
    const SuppressedChanges quiet(object);
    object.setObjectRect(_bodyRect);
    _controller.moveSelectedObject(XmlBoxModel::cast(&object));
    fitMe();
}

void QZLayoutView::mouseUp(const QPointF& at)
{
    if (_hotPress) {
        _hotPress = false;
        lq::uiFrame(this, "testMouseDownWithEvent:xmlobj:", [&] {
            // The click may show another page: nothing of the table is used after it.
            _trackingData.mouseUp(pagePoint(at));
        });
        doRulerLines(lq::rectToString(lq::Rect()));
        return;
    }
    if (!_drag || !dragStep(at))
        return;
    const Drag drag = *_drag;
    _drag.reset();
    lq::uiFrame(this, drag.handle < 0 ? "moveObjectWithEvent:" : "resizeObjectWithEvent:handle:", [&] {
        if (_bodyRect != drag.start) {
            if (const std::shared_ptr<XmlCSS> object = elementNamed(drag.object))
                _bodyRect = _controller.willMoveObjectRect(object.get(), _bodyRect);
        }
        _controller.relayoutSheet();
        doRulerLines(lq::rectToString(currentSelectedObject() ? _bodyRect : lq::Rect()));
    });
}

void QZLayoutView::endDrag()
{
    if (!_drag)
        return;
    const Drag drag = *_drag;
    _drag.reset();
    // Without its commit the element goes back where it was: the live steps
    // were not counted as an edit, so they must not stay in the model.
    lq::uiFrame(this, "moveObjectWithEvent:", [&] {
        if (const std::shared_ptr<XmlCSS> object = elementNamed(drag.object)) {
            const SuppressedChanges quiet(*object);
            object->setObjectRect(drag.start);
        }
        _bodyRect = drag.start;
        _controller.relayoutSheet();
    });
}

void QZLayoutView::autoscroll(const QPointF& at)
{
    if (QScrollArea* area = enclosingScrollArea(this))
        area->ensureVisible(int(at.x()), int(at.y()), 0, 0);
}

void QZLayoutView::scrollToPageRect(const lq::Rect& rect)
{
    QScrollArea* area = enclosingScrollArea(this);
    if (!area)
        return;
    const QRectF shown = rect.toQRectF().translated(_pageOffset);
    area->ensureVisible(int(shown.center().x()), int(shown.center().y()), int(shown.width() / 2), int(shown.height() / 2));
}

// --- Arrow keys and Tab ---------------------------------------------------------------------------------

bool QZLayoutView::keyDown(QKeyEvent* event)
{
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Tab:
        tabToNextObject(event->modifiers() & Qt::ShiftModifier);
        return true;
    case Qt::Key_Backtab:
        tabToNextObject(true);
        return true;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    default:
        // Every other key goes on to the window.
        return false;
    }
    const std::shared_ptr<XmlCSS> selection = currentSelectedObject();
    if (!selection)
        return false;
    nudge(*selection, dx, dy, event->modifiers() & Qt::AltModifier);
    return true;
}

void QZLayoutView::nudge(XmlCSS& selection, int dx, int dy, bool resize)
{
    redisplayObject();
    float x = _bodyRect.x();
    float y = _bodyRect.y();
    float w = _bodyRect.width();
    float h = _bodyRect.height();
    if (resize) {
        w = std::max(minimumKeySize, w + float(dx));
        h = std::max(minimumKeySize, h + float(dy));
    } else {
        x = std::max(0.0f, x + float(dx));
        y = std::max(0.0f, y + float(dy));
    }
    // The element takes what it can (a position only when it is placed by
    // it, a size only where the size is its own) and the change counts at once.
    const lq::Rect asked(x, y, w, h);
    showReadOut(asked);
    _bodyRect = _controller.willMoveObjectRect(&selection, asked);
    redisplayObject();
    calcGrabHandles();
    doRulerLines(lq::rectToString(asked));
    _controller.relayoutSheet();
    calcGuidelines(&selection);
}

void QZLayoutView::tabToNextObject(bool backward)
{
    const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
    if (!sheet)
        return;
    XmlBaseList walk = sheet->selectableObjects();
    if (backward)
        std::reverse(walk.begin(), walk.end());
    const std::shared_ptr<XmlCSS> selection = currentSelectedObject();
    XmlBasePtr next;
    if (!selection) {
        next = walk.value(0);
    } else if (const qsizetype at = walk.indexOf(XmlBasePtr(selection)); at >= 0) {
        // An album of free-style photos steps through them before the page moves on.
        next = selection->hasNextSelectableObjectInside(backward) ? XmlBasePtr(selection) : walk.value(at + 1);
    }
    // After the last object nothing is selected, and the next Tab starts again.
    if (XmlBoxModel* selected = setCurrentSelectedObject(XmlCSS::cast(next.get()))) {
        setFocus(Qt::TabFocusReason);
        scrollToPageRect(selected->objectRect());
    }
    update();
}

// --- Test mode ---------------------------------------------------------------------------------------------

bool QZLayoutView::ignoresPointer(const QMouseEvent* event) const
{
    return !_testMode || (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier));
}

void QZLayoutView::mouseMoved(QMouseEvent* event)
{
    if (ignoresPointer(event))
        return;
    if (!_currentSelectedObject.isEmpty())
        setCurrentSelectedObject(nullptr);
    const bool over = _trackingData.mouseMoved(pagePoint(event->position()));
    setCursor(over ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool QZLayoutView::testMouseDown(const lq::Point& point)
{
    _cordView->hide();
    if (!_currentSelectedObject.isEmpty())
        setCurrentSelectedObject(nullptr);
    _hotPress = _trackingData.mouseDown(point) >= 0;
    if (!_hotPress)
        doRulerLines(lq::rectToString(lq::Rect()));
    return _hotPress;
}

