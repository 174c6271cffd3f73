// Selecting page elements on the canvas and changing them directly: presses,
// drags by the element or by one of its grab handles, the arrow keys, Tab,
// and the presses of test mode.
#include "ui/layout/LayoutCanvasEditing.h"

#include "elements/XmlSlideshow.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/LayoutController.h"
#include "ui/layout/QZLayoutView.h"
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

// The grab handles never size an element below &_view; Option with an arrow
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

// --- Pressing, dragging, releasing ------------------------------------------------------------------

void LayoutCanvasEditing::showReadOut(const lq::Rect& rect)
{
    _view._cordStat->setText(QStringLiteral("X: %1 Y: %2\nW: %3 H: %4")
                           .arg(QString::number(truncated(rect.x())), QString::number(truncated(rect.y())),
                                QString::number(truncated(rect.width())), QString::number(truncated(rect.height()))));
    _view._cordView->adjustSize();
    _view._cordView->update();
}

bool LayoutCanvasEditing::mouseDown(const QPointF& at)
{
    return lq::uiFrame(&_view, "mouseDown:", [&]() -> bool {
        _view.setFocus(Qt::MouseFocusReason);
        const lq::Point point = _view.pagePoint(at);
        _view._cordView->move(at.toPoint());
        // A Control-click opens what is under the pointer for editing and
        // leaves the selection and the rulers as they are.
        if (_view._modifiers & Qt::ControlModifier) {
            if (const std::shared_ptr<XmlStyleSheet> sheet = _view._controller.getTemplate()) {
                if (const XmlBasePtr editable = sheet->objectForEditingAtPoint(point))
                    _view._controller.doubleClickedObject(editable.get());
            }
            return false;
        }
        if (_view._testMode)
            return testMouseDown(point);
        return layoutMouseDown(point);
    });
}

bool LayoutCanvasEditing::layoutMouseDown(const lq::Point& point)
{
    const std::shared_ptr<XmlCSS> selection = _view.currentSelectedObject();
    if (selection) {
        const int handle = _view.grabberHitTest(point);
        if (handle >= 0) {
            beginDrag(point, handle);
            return true;
        }
    }
    // With Option a press anywhere drags the selection; otherwise only a
    // press on the selection itself does, and a press elsewhere selects what
    // is there (nothing over empty canvas).
    std::shared_ptr<XmlCSS> hit;
    if (_view._modifiers & Qt::AltModifier) {
        hit = selection;
    } else if (selection && selection->objectAtPoint(point) == selection) {
        hit = selection;
    } else if (const std::shared_ptr<XmlStyleSheet> sheet = _view._controller.getTemplate()) {
        hit = sheet->objectAtPoint(point);
    }
    if (!selection || hit != selection) {
        const bool selected = _view.setCurrentSelectedObject(hit.get()) != nullptr;
        if (selected)
            _view.setFocus(Qt::MouseFocusReason);
        _view.update();
        _view.doRulerLines(lq::rectToString(selected ? _view._bodyRect : lq::Rect()));
        return false;
    }
    // A free-style album's photo or a slideshow's part may have changed under
    // the pointer: its rectangle and permissions are read again.
    const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(selection.get());
    if ((album && album->afterDescription() == 2) || XmlSlideshow::cast(selection.get()))
        _view.setCurrentSelectedObject(selection.get());
    if (!_view._canMove) {
        _view._controller.relayoutSheet();
        _view.doRulerLines(lq::rectToString(_view._bodyRect));
        return false;
    }
    beginDrag(point, -1);
    return true;
}

void LayoutCanvasEditing::beginDrag(const lq::Point& point, int handle)
{
    QZLayoutView::Drag drag;
    drag.handle = handle;
    drag.start = _view._bodyRect;
    drag.object = _view._currentSelectedObject;
    if (handle < 0) {
        drag.grip = lq::Point(point.x - _view._bodyRect.x(), point.y - _view._bodyRect.y());
    } else {
        const lq::Rect grabber = _view.grabberRect(handle);
        drag.grip = lq::Point(point.x - grabber.x() - 3, point.y - grabber.y() - 3);
    }
    _view._drag = drag;
}

bool LayoutCanvasEditing::dragStep(const QPointF& at)
{
    if (_view._hotPress) {
        lq::uiFrame(&_view, "testMouseDownWithEvent:xmlobj:", [&] { _view._trackingData.mouseDragged(_view.pagePoint(at)); });
        return true;
    }
    if (!_view._drag)
        return false;
    const char* operation = _view._drag->handle < 0 ? "moveObjectWithEvent:" : "resizeObjectWithEvent:handle:";
    const bool stepped = lq::uiFrame(&_view, operation, [&] {
        const std::shared_ptr<XmlCSS> object = elementNamed(_view._drag->object);
        if (!object)
            return false;
        _view._cordView->move(at.toPoint());
        autoscroll(at);
        _view.redisplayObject();
        lq::Point point = _view.pagePoint(at);
        if (_view._drag->handle < 0)
            point = moveStep(*_view._drag, point);
        else
            resizeStep(*_view._drag, point);
        liveUpdate(*object);
        _view.redisplayObject();
        _view.calcGrabHandles();
        _view.calcGuidelines(object.get());
        if (_view._drag->handle < 0) {
            // Where the pointer was when the element came into line: near it,
            // the element stays in line.
            const unsigned found = _view._guides.lastGuideHitTest();
            _view._drag->stickyX = (found & AlignmentGuides::verticalGuides) ? std::trunc(point.x) : -1;
            _view._drag->stickyY = (found & AlignmentGuides::horizontalGuides) ? std::trunc(point.y) : -1;
        }
        showReadOut(_view._bodyRect);
        _view.doRulerLines(lq::rectToString(_view._bodyRect));
        return true;
    });
    if (!stepped)
        endDrag();
    return stepped;
}

lq::Point LayoutCanvasEditing::moveStep(const QZLayoutView::Drag& drag, lq::Point point)
{
    if (drag.stickyX != -1 && std::abs(truncated(point.x - drag.stickyX)) <= stickyReach)
        point.x = drag.stickyX;
    if (drag.stickyY != -1 && std::abs(truncated(point.y - drag.stickyY)) <= stickyReach)
        point.y = drag.stickyY;
    _view._bodyRect = lq::Rect(std::max(0.0f, point.x - drag.grip.x), std::max(0.0f, point.y - drag.grip.y), drag.start.width(),
                         drag.start.height());
    return point;
}

void LayoutCanvasEditing::resizeStep(const QZLayoutView::Drag& drag, const lq::Point& point)
{
    _view._bodyRect = resizedByHandle(drag.handle, drag.start, point.x - drag.grip.x, point.y - drag.grip.y);
}

void LayoutCanvasEditing::liveUpdate(XmlCSS& object)
{
    // The element follows the pointer without the document counting it as
    // an edit; the release commits once.
    const SuppressedChanges quiet(object);
    object.setObjectRect(_view._bodyRect);
    _view._controller.moveSelectedObject(XmlBoxModel::cast(&object));
    _view.fitMe();
}

void LayoutCanvasEditing::mouseUp(const QPointF& at)
{
    if (_view._hotPress) {
        _view._hotPress = false;
        lq::uiFrame(&_view, "testMouseDownWithEvent:xmlobj:", [&] {
            // The click may show another page: nothing of the table is used after it.
            _view._trackingData.mouseUp(_view.pagePoint(at));
        });
        _view.doRulerLines(lq::rectToString(lq::Rect()));
        return;
    }
    if (!_view._drag || !dragStep(at))
        return;
    const QZLayoutView::Drag drag = *_view._drag;
    _view._drag.reset();
    lq::uiFrame(&_view, drag.handle < 0 ? "moveObjectWithEvent:" : "resizeObjectWithEvent:handle:", [&] {
        if (_view._bodyRect != drag.start) {
            if (const std::shared_ptr<XmlCSS> object = elementNamed(drag.object))
                _view._bodyRect = _view._controller.willMoveObjectRect(object.get(), _view._bodyRect);
        }
        _view._controller.relayoutSheet();
        _view.doRulerLines(lq::rectToString(_view.currentSelectedObject() ? _view._bodyRect : lq::Rect()));
    });
}

void LayoutCanvasEditing::endDrag()
{
    if (!_view._drag)
        return;
    const QZLayoutView::Drag drag = *_view._drag;
    _view._drag.reset();
    // Without its commit the element goes back where it was: the live steps
    // were not counted as an edit, so they must not stay in the model.
    lq::uiFrame(&_view, "moveObjectWithEvent:", [&] {
        if (const std::shared_ptr<XmlCSS> object = elementNamed(drag.object)) {
            const SuppressedChanges quiet(*object);
            object->setObjectRect(drag.start);
        }
        _view._bodyRect = drag.start;
        _view._controller.relayoutSheet();
    });
}

void LayoutCanvasEditing::autoscroll(const QPointF& at)
{
    if (QScrollArea* area = enclosingScrollArea(&_view))
        area->ensureVisible(int(at.x()), int(at.y()), 0, 0);
}

void LayoutCanvasEditing::scrollToPageRect(const lq::Rect& rect)
{
    QScrollArea* area = enclosingScrollArea(&_view);
    if (!area)
        return;
    const QRectF shown = rect.toQRectF().translated(_view._pageOffset);
    area->ensureVisible(int(shown.center().x()), int(shown.center().y()), int(shown.width() / 2), int(shown.height() / 2));
}

// --- Keys ------------------------------------------------------------------------------------------------

bool LayoutCanvasEditing::keyDown(QKeyEvent* event)
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
    const std::shared_ptr<XmlCSS> selection = _view.currentSelectedObject();
    if (!selection)
        return false;
    nudge(*selection, dx, dy, event->modifiers() & Qt::AltModifier);
    return true;
}

void LayoutCanvasEditing::nudge(XmlCSS& selection, int dx, int dy, bool resize)
{
    _view.redisplayObject();
    float x = _view._bodyRect.x();
    float y = _view._bodyRect.y();
    float w = _view._bodyRect.width();
    float h = _view._bodyRect.height();
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
    _view._bodyRect = _view._controller.willMoveObjectRect(&selection, asked);
    _view.redisplayObject();
    _view.calcGrabHandles();
    _view.doRulerLines(lq::rectToString(asked));
    _view._controller.relayoutSheet();
    _view.calcGuidelines(&selection);
}

void LayoutCanvasEditing::tabToNextObject(bool backward)
{
    const std::shared_ptr<XmlStyleSheet> sheet = _view._controller.getTemplate();
    if (!sheet)
        return;
    XmlBaseList walk = sheet->selectableObjects();
    if (backward)
        std::reverse(walk.begin(), walk.end());
    const std::shared_ptr<XmlCSS> selection = _view.currentSelectedObject();
    XmlBasePtr next;
    if (!selection) {
        next = walk.value(0);
    } else if (const qsizetype at = walk.indexOf(XmlBasePtr(selection)); at >= 0) {
        // An album of free-style photos steps through them before the page moves on.
        next = selection->hasNextSelectableObjectInside(backward) ? XmlBasePtr(selection) : walk.value(at + 1);
    }
    // After the last object nothing is selected, and the next Tab starts again.
    if (XmlBoxModel* selected = _view.setCurrentSelectedObject(XmlCSS::cast(next.get()))) {
        _view.setFocus(Qt::TabFocusReason);
        scrollToPageRect(selected->objectRect());
    }
    _view.update();
}
// --- Test mode ---------------------------------------------------------------------------------------------

bool LayoutCanvasEditing::ignoresPointer(const QMouseEvent* event) const
{
    return !_view._testMode || (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier));
}

void LayoutCanvasEditing::mouseMoved(QMouseEvent* event)
{
    if (ignoresPointer(event))
        return;
    if (!_view._currentSelectedObject.isEmpty())
        _view.setCurrentSelectedObject(nullptr);
    const bool over = _view._trackingData.mouseMoved(_view.pagePoint(event->position()));
    _view.setCursor(over ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool LayoutCanvasEditing::testMouseDown(const lq::Point& point)
{
    _view._cordView->hide();
    if (!_view._currentSelectedObject.isEmpty())
        _view.setCurrentSelectedObject(nullptr);
    _view._hotPress = _view._trackingData.mouseDown(point) >= 0;
    if (!_view._hotPress)
        _view.doRulerLines(lq::rectToString(lq::Rect()));
    return _view._hotPress;
}

