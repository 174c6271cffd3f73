#pragma once

#include "ui/layout/QZLayoutView.h"

class QKeyEvent;
class QMouseEvent;

// Selecting page elements on the layout canvas and changing them directly:
// presses, drags by the element or by one of its grab handles, the arrow
// keys and Tab; in test mode, the presses on the page's hot rectangles.
class LayoutCanvasEditing {
public:
    explicit LayoutCanvasEditing(QZLayoutView& view)
        : _view(view)
    {
    }

    // The press tracker's steps: a press (answers whether a drag begins),
    // each move while pressed (false ends the drag) and the release.
    bool mouseDown(const QPointF& at);
    bool dragStep(const QPointF& at);
    void mouseUp(const QPointF& at);
    // The pointer moving with no button down.
    void mouseMoved(QMouseEvent* event);
    // Answers whether the canvas took the key.
    bool keyDown(QKeyEvent* event);
    // The rectangle in the coordinate read-out.
    void showReadOut(const lq::Rect& rect);

private:
    bool layoutMouseDown(const lq::Point& point);
    bool testMouseDown(const lq::Point& point);
    bool ignoresPointer(const QMouseEvent* event) const;
    void beginDrag(const lq::Point& point, int handle);
    // Answers the pointer as a guide holds it.
    lq::Point moveStep(const QZLayoutView::Drag& drag, lq::Point point);
    void resizeStep(const QZLayoutView::Drag& drag, const lq::Point& point);
    void liveUpdate(XmlCSS& object);
    void endDrag();
    void tabToNextObject(bool backward);
    void nudge(XmlCSS& selection, int dx, int dy, bool resize);
    void autoscroll(const QPointF& at);
    void scrollToPageRect(const lq::Rect& rect);

    QZLayoutView& _view;
};
