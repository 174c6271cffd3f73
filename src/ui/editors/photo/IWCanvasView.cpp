#include "ui/editors/photo/IWCanvasView.h"

#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawCircle.h"
#include "model/imaging/XmlDrawCloud.h"
#include "model/imaging/XmlDrawLabel.h"
#include "model/imaging/XmlDrawLetter.h"
#include "model/imaging/XmlDrawLetterBox.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlDrawSquare.h"
#include "model/imaging/XmlImage.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/CustomCursors.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

void setChecked(MyButton* button, bool on)
{
    if (button)
        button->setChecked(on);
}

} // namespace

IWCanvasView::IWCanvasView(QWidget* parent)
    : IWView(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

std::shared_ptr<XmlDrawObject> IWCanvasView::createForTool(int tool)
{
    switch (tool) {
    case LetterTool: return XmlDrawLetter::create();
    case LetterBoxTool: return XmlDrawLetterBox::create();
    case CloudTool: return XmlDrawCloud::create();
    case BalloonTool: return XmlDrawBalloon::create();
    case LabelTool: return XmlDrawLabel::create();
    case ArrowTool: return XmlDrawArrow::create();
    case CircleTool: return XmlDrawCircle::create();
    case SquareTool: return XmlDrawSquare::create();
    default: return nullptr;
    }
}

IWCanvasView::~IWCanvasView()
{
    if (XmlDrawObject* selection = currentSelectedObject())
        selection->endEditingInView();
}

void IWCanvasView::setControls(const Controls& controls)
{
    _controls = controls;
    for (MyButton* button : _controls.tools) {
        if (!button)
            continue;
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, button] { modeChange(button); });
    }
    for (MyButton* button : { _controls.fLeft, _controls.fCenter, _controls.fRight }) {
        if (!button)
            continue;
        button->setCheckable(true);
        connect(button, &QPushButton::clicked, this, [this, button] { fontChange(button); });
    }
    if (MyColorWell* well = _controls.cBkgnd)
        connect(well, &MyColorWell::colorChanged, this, [this, well] { bkgndColorPressed(well); });
    if (MyColorWell* well = _controls.cFrgnd)
        connect(well, &MyColorWell::colorChanged, this, [this, well] { frgndColorPressed(well); });
    if (MySlider* slider = _controls.scaler)
        connect(slider, &QSlider::valueChanged, this, [this, slider] { scalerChange(slider); });
    if (MyPopUpButton* zoom = _controls.zoomButton)
        connect(zoom, &QComboBox::activated, this, [this, zoom] { zoomButton(zoom); });
    setChecked(_controls.tools[SelectTool], true);
    setChecked(_controls.fLeft, true);
}

XmlImage* IWCanvasView::image() const
{
    return _canvas ? _canvas->image().get() : nullptr;
}

XmlDraw* IWCanvasView::xmlobject() const
{
    return _canvas.get();
}

XmlDrawObject* IWCanvasView::currentSelectedObject() const
{
    return XmlDrawObject::cast(_currentSelectedObject.lock().get());
}

bool IWCanvasView::handlesOn() const
{
    // A selection without a rectangle (the picture once its crop is gone)
    // has nothing to show handles on.
    return IWView::handlesOn() || (currentSelectedObject() && !(bodyRect().isZero() && !hasTailPoint()));
}

void IWCanvasView::setShowsFillAndWatermark(bool show)
{
    _showsFillAndWatermark = show;
    update();
}

// --- Canvas and selection -----------------------------------------------------------------------

void IWCanvasView::setCanvas(const std::shared_ptr<XmlCanvas>& canvas)
{
    lq::uiFrame(this, "setCanvas:", [&] {
        if (_canvas) {
            selectTool(SelectTool);
            setCurrentSelectedObject(nullptr);
            _canvas.reset();
        }
        if (canvas) {
            _canvas = canvas;
            _imageBounds = canvas->boundingRect(lq::Rect());
            selectTool(SelectTool);
            if (_controls.cBkgnd)
                _controls.cBkgnd->setColor(canvas->backgroundColor().toQColor());
            if (_controls.zoomButton)
                applyZoom(std::max(_controls.zoomButton->selectedTag(), 0));
        } else {
            _imageBounds = lq::Rect();
        }
        showStatus();
        update();
    });
}

void IWCanvasView::setCurrentSelectedObject(XmlDrawObject* object)
{
    lq::uiFrame(this, "setCurrentSelectedObject:", [&] {
        if (XmlDrawObject* old = currentSelectedObject())
            old->endEditingInView();
        _currentSelectedObject = object ? object->sharedFromThis() : nullptr;
        if (object) {
            const int alignment = object->getAlignmentInViewWithTransformAndScale(this, objectToView(), 1.0f);
            setChecked(_controls.fRight, alignment == AlignRight);
            setChecked(_controls.fCenter, alignment == AlignCenter);
            setChecked(_controls.fLeft, alignment != AlignRight && alignment != AlignCenter);
            setBodyRect(object->bodyRect());
            setHasAnchorPoint(object->hasAnchorPoint());
            setAnchorPoint(object->anchorPoint());
            setHasTailPoint(object->hasTailPoint());
            setTailPoint(object->tailPoint());
            giveGeometryToSelection();
        } else {
            setChecked(_controls.fLeft, true);
            setChecked(_controls.fCenter, false);
            setChecked(_controls.fRight, false);
        }
        showStatus();
        update();
    });
}

void IWCanvasView::giveGeometryToSelection()
{
    XmlDrawObject* selection = currentSelectedObject();
    if (!selection)
        return;
    if (XmlImage* picture = XmlImage::cast(selection)) {
        if (!_recropping)
            picture->setCrop(bodyRect());
    } else {
        selection->setBodyRect(bodyRect());
    }
    if (selection->hasAnchorPoint())
        selection->setAnchorPoint(anchorPoint());
    if (selection->hasTailPoint())
        selection->setTailPoint(tailPoint());
}

void IWCanvasView::geometryDidChange()
{
    lq::uiFrame(this, "geometryDidChange", [&] {
        giveGeometryToSelection();
        showStatus();
    });
}

void IWCanvasView::showStatus()
{
    if (!_controls.Status)
        return;
    lq::Rect shown;
    if (XmlDrawObject* selection = currentSelectedObject())
        shown = selection->bodyRect();
    else if (_canvas)
        shown = _canvas->boundingRect(lq::Rect());
    _controls.Status->setText(QString::asprintf("{ %d,%d }", static_cast<int>(shown.width()), static_cast<int>(shown.height())));
    _controls.Status->repaint();
}

// --- Drawing ------------------------------------------------------------------------------------

void IWCanvasView::draw()
{
    lq::uiFrame(this, "draw", [&] {
        if (!_canvas)
            return;
        if (_showsFillAndWatermark)
            _canvas->draw();
        else
            _canvas->drawWithoutFillAndWatermark();
        if (_insertObject)
            _insertObject->draw();
    });
}

// --- Tools --------------------------------------------------------------------------------------

void IWCanvasView::modeChange(MyButton* sender)
{
    lq::uiFrame(this, "modeChange:", [&] {
        const auto found = std::find(_controls.tools.begin(), _controls.tools.end(), sender);
        if (found != _controls.tools.end())
            selectTool(static_cast<int>(found - _controls.tools.begin()));
    });
}

void IWCanvasView::selectTool(int tool)
{
    const int previous = bMode;
    if (previous == CropTool) {
        if (XmlImage* picture = image())
            picture->setShowCrop(false);
        // The crop button pressed again goes back to selecting.
        if (tool == CropTool)
            tool = SelectTool;
    }
    _insertObject.reset();
    bMode = tool;
    if (tool == SelectTool || tool == CropTool) {
        setMouseTracking(false);
        setCurrentSelectedObject(nullptr);
        if (tool == CropTool) {
            if (XmlImage* picture = image()) {
                picture->setShowCrop(true);
                if (!picture->crop().isZero())
                    setCurrentSelectedObject(picture);
            }
        }
    } else {
        setFocus(Qt::OtherFocusReason);
        setMouseTracking(true);
        _insertObject = createForTool(tool);
        if (_insertObject) {
            const lq::Rect bounds = image() ? image()->boundingRect(lq::Rect()) : lq::Rect();
            _insertObject->setDefaultFontSize(static_cast<int>((bounds.width() + bounds.height()) / 1000 * 12));
            setHasAnchorPoint(_insertObject->hasAnchorPoint());
            setHasTailPoint(_insertObject->hasTailPoint());
        }
        setCurrentSelectedObject(nullptr);
    }
    for (int i = 0; i < ToolCount; ++i)
        setChecked(_controls.tools[static_cast<std::size_t>(i)], i == bMode);
    if (bMode == ArrowTool)
        setCursor(lq::crossCursor());
    else
        unsetCursor();
    update();
}

// --- The mouse and the keyboard -------------------------------------------------------------------

void IWCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    if (!isTracking() && event->buttons() == Qt::NoButton && _insertObject) {
        lq::uiFrame(this, "mouseMoved:", [&] { mouseMoved(event->position()); });
        return;
    }
    IWView::mouseMoveEvent(event);
}

void IWCanvasView::mouseMoved(const QPointF& point)
{
    if (!_insertObject)
        return;
    const lq::Point q(viewToObject().map(point));
    update(refreshRect().toAlignedRect());
    const lq::Rect bounds = image() ? image()->boundingRect(lq::Rect()) : lq::Rect();
    // The callout's size follows the picture's: 100 by 80 for every 1000
    // of its width and height together.
    const float k = (bounds.width() + bounds.height()) / 1000;
    const lq::Rect body(q.x - 50 * k, q.y - 40 * k, 100 * k, 80 * k);
    const lq::Point anchor = _insertObject->hasTailPoint() ? q : lq::Point(q.x + 10 * k, q.y + 70 * k);
    _insertObject->setBodyRect(body);
    _insertObject->setAnchorPoint(anchor);
    _insertObject->setTailPoint(q);
    if (_controls.cBkgnd)
        _insertObject->setBackgroundColor(lq::Colour::fromQColor(_controls.cBkgnd->color()));
    if (_controls.cFrgnd)
        _insertObject->setForegroundColor(lq::Colour::fromQColor(_controls.cFrgnd->color()));
    if (_controls.scaler) {
        const QSignalBlocker quiet(_controls.scaler);
        _controls.scaler->setValue(static_cast<int>(std::lround(_insertObject->thickness() * thicknessSteps)));
    }
    setBodyRect(body);
    setAnchorPoint(anchor);
    setTailPoint(q);
    update();
}

void IWCanvasView::mouseDown(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (!_canvas)
        return;
    const QPointF point = event->position();
    if (bMode == CropTool) {
        cropMouseDown(point);
        return;
    }
    if (XmlDrawObject* selection = currentSelectedObject()) {
        selection->endEditingInView();
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (bMode == SelectTool) {
                for (MyColorWell* well : { _controls.cBkgnd, _controls.cFrgnd }) {
                    if (well)
                        well->setActive(false);
                }
                selection->startEditingWithEventInViewWithTransformAndScale(nullptr, this, objectToView(), scale());
            }
            return;
        }
        const int handle = grabberHitTest(point);
        if (handle >= 0) {
            resizeObjectWithEventHandle(point, handle);
            return;
        }
        if (!hasTailPoint() && viewBodyRect().contains(lq::Point(point))) {
            moveObjectWithEvent(point);
            return;
        }
    } else if (_insertObject) {
        insertCallout(point);
        return;
    }
    selectObjectAt(point);
}

void IWCanvasView::cropMouseDown(const QPointF& point)
{
    XmlImage* picture = image();
    if (!picture)
        return;
    if (currentSelectedObject() && !bodyRect().isZero()) {
        const int handle = grabberHitTest(point);
        if (handle >= 0) {
            resizeObjectWithEventHandle(point, handle, [this] { thumbViewNeedsDisplay(); });
            return;
        }
        if (viewBodyRect().contains(lq::Point(point))) {
            moveObjectWithEvent(point, [this] { thumbViewNeedsDisplay(); });
            return;
        }
    }
    // A press beside an existing crop does nothing; without one it draws one.
    if (!picture->crop().isZero())
        return;
    _recropping = true;
    rubberbandCropRectWithEvent(point, [this] {
        lq::uiFrame(this, "rubberbandCropRectWithEvent:", [&] {
            _recropping = false;
            if (XmlImage* cropped = image())
                cropped->setCrop(bodyRect());
            // Through the select tool back to cropping, which selects the
            // picture when the new crop has a size.
            selectTool(SelectTool);
            selectTool(CropTool);
            thumbViewNeedsDisplay();
        });
    });
}

void IWCanvasView::insertCallout(const QPointF& point)
{
    // Where the pointer is, also when it has not moved since the tool was chosen.
    mouseMoved(point);
    const std::shared_ptr<XmlDrawObject> placed = _insertObject;
    _canvas->drawObjects()->addChild(placed);
    if (bMode == ArrowTool) {
        // The arrow's point is dragged out from the press; then a fresh arrow.
        setCurrentSelectedObject(placed.get());
        calcGrabHandles();
        resizeObjectWithEventHandle(point, anchorHandle, [this] {
            lq::uiFrame(this, "resizeObjectWithEvent:handle:", [&] {
                selectTool(SelectTool);
                selectTool(ArrowTool);
            });
        });
    } else {
        selectTool(SelectTool);
    }
    showStatus();
    update();
}

void IWCanvasView::selectObjectAt(const QPointF& point)
{
    XmlDrawObject* found = _canvas->objectAtPoint(lq::Point(viewToObject().map(point)));
    setCurrentSelectedObject(found);
    _canvas->bringObjectToTop(found);
    if (found) {
        if (_controls.cBkgnd)
            _controls.cBkgnd->setColor(found->backgroundColor().toQColor());
        if (_controls.cFrgnd)
            _controls.cFrgnd->setColor(found->foregroundColor().toQColor());
        if (_controls.scaler) {
            const QSignalBlocker quiet(_controls.scaler);
            _controls.scaler->setValue(static_cast<int>(std::lround(found->thickness() * thicknessSteps)));
        }
        setFocus(Qt::MouseFocusReason);
    } else if (_controls.cBkgnd) {
        _controls.cBkgnd->setColor(_canvas->backgroundColor().toQColor());
    }
    update();
}

void IWCanvasView::keyPressEvent(QKeyEvent* event)
{
    lq::uiFrame(this, "keyDown:", [&] { keyDown(event); });
    // No key goes further, whether it did something or not.
    event->accept();
}

void IWCanvasView::keyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete)
        return;
    XmlDrawObject* selection = currentSelectedObject();
    if (!selection || !_canvas)
        return;
    if (XmlImage* picture = XmlImage::cast(selection)) {
        // The crop goes; the picture stays selected.
        setBodyRect(lq::Rect());
        picture->setShowCrop(false);
        picture->setCrop(lq::Rect());
        thumbViewNeedsDisplay();
    } else {
        setCurrentSelectedObject(nullptr);
        _canvas->drawObjects()->removeChild(selection);
    }
    showStatus();
    update();
}

// --- Controls -----------------------------------------------------------------------------------

void IWCanvasView::fontChange(MyButton* sender)
{
    lq::uiFrame(this, "fontChange:", [&] {
        const std::pair<MyButton*, int> buttons[] = {
            { _controls.fLeft, AlignLeft }, { _controls.fCenter, AlignCenter }, { _controls.fRight, AlignRight }
        };
        for (const auto& [button, alignment] : buttons) {
            if (button != sender) {
                setChecked(button, false);
            } else if (XmlDrawObject* selection = currentSelectedObject()) {
                selection->setAlignmentInViewWithTransformAndScale(alignment, this, objectToView(), 1.0f);
            }
        }
        setChecked(sender, true);
        setFocus(Qt::OtherFocusReason);
        update();
    });
}

void IWCanvasView::bkgndColorPressed(MyColorWell* sender)
{
    lq::uiFrame(this, "bkgndColorPressed:", [&] {
        const lq::Colour colour = lq::Colour::fromQColor(sender->color());
        if (XmlDrawObject* selection = currentSelectedObject())
            selection->setBackgroundColor(colour);
        else if (_canvas)
            _canvas->setBackgroundColor(colour);
        update();
    });
}

void IWCanvasView::frgndColorPressed(MyColorWell* sender)
{
    lq::uiFrame(this, "frgndColorPressed:", [&] {
        if (XmlDrawObject* selection = currentSelectedObject())
            selection->setForegroundColor(lq::Colour::fromQColor(sender->color()));
        redisplayObject();
    });
}

void IWCanvasView::scalerChange(MySlider* sender)
{
    lq::uiFrame(this, "scalerChange:", [&] {
        if (XmlDrawObject* selection = currentSelectedObject())
            selection->setThickness(static_cast<float>(sender->value()) / thicknessSteps);
        update();
    });
}

// --- Zoom ---------------------------------------------------------------------------------------

void IWCanvasView::zoomButton(MyPopUpButton* sender)
{
    lq::uiFrame(this, "zoomButton:", [&] {
        applyZoom(std::max(sender->selectedTag(), 0));
        update();
    });
}

void IWCanvasView::applyZoom(int percent)
{
    _fitToScale = percent == 0;
    if (!_fitToScale)
        setScale(static_cast<float>(percent) / 100);
    recalcFrameInView();
}

void IWCanvasView::recalcFrameInView()
{
    const QSize visible = parentWidget() ? parentWidget()->size() : size();
    if (_fitToScale || !_canvas) {
        resize(visible);
        return;
    }
    const lq::Rect bounds = _canvas->boundingRect(lq::Rect());
    resize(std::max(visible.width(), static_cast<int>(std::ceil(bounds.width() * scale()))),
           std::max(visible.height(), static_cast<int>(std::ceil(bounds.height() * scale()))));
}

void IWCanvasView::centerButton()
{
    lq::uiFrame(this, "centerButton:", [&] {
        if (_canvas)
            _imageBounds = _canvas->boundingRect(lq::Rect());
        applyZoom(_controls.zoomButton ? std::max(_controls.zoomButton->selectedTag(), 0) : 0);
        update();
        // The picture is drawn in the middle of the view: scroll there.
        for (QWidget* above = parentWidget(); above; above = above->parentWidget()) {
            if (auto* scroller = qobject_cast<QAbstractScrollArea*>(above)) {
                for (QScrollBar* bar : { scroller->horizontalScrollBar(), scroller->verticalScrollBar() })
                    bar->setValue((bar->minimum() + bar->maximum()) / 2);
                break;
            }
        }
    });
}

void IWCanvasView::thumbViewNeedsDisplay()
{
    if (_controls.thumbView)
        _controls.thumbView->update();
}
