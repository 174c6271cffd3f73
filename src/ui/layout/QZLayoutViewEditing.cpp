// The canvas's selection, its alignment guides and read-out, and the keys
// as they reach the canvas (LayoutCanvasEditing handles what they do).
#include "ui/layout/QZLayoutView.h"

#include "ui/layout/LayoutCanvasEditing.h"
#include "ui/layout/LayoutController.h"
#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/MyLabel.h"
#include "templates/XmlBoxModel.h"

#include <QKeyEvent>

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
        LayoutCanvasEditing(*this).showReadOut(rect.integral());
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
    if (lq::uiFrame(this, "keyDown:", [&] { return LayoutCanvasEditing(*this).keyDown(event); }))
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

