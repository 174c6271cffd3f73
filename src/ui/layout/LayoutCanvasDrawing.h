#pragma once

#include "platform/Geometry.h"

#include <QString>

class QZLayoutView;
class XmlStyleSheet;

// The layout canvas's drawing: the page as its template draws itself, then
// the designer's aids on top (page boundaries with their edge tags, the
// grid, the selection frame with its grab handles, the alignment guides),
// and the rulers' marker lines.
class LayoutCanvasDrawing {
public:
    explicit LayoutCanvasDrawing(QZLayoutView& view)
        : _view(view)
    {
    }

    // Draws the whole canvas; only while the canvas paints.
    void paint();
    // The rulers' marker lines follow the marked rectangle where the page now lies.
    void markRulers();

private:
    // One pass at a time.
    void drawExternalLinkNotice(const lq::Rect& bounds);
    void drawBackdrop(XmlStyleSheet& sheet, const lq::Rect& rect);
    void drawPageBoundaries(XmlStyleSheet& sheet);
    void drawEdgeTag(const QString& label, float edge, bool left);
    void drawGrid(const lq::Rect& rect);
    void drawGrabHandles();
    void drawGuidelines();
    void placePage(XmlStyleSheet& sheet);

    QZLayoutView& _view;
};
