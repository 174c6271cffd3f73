#pragma once

#include "platform/Geometry.h"

class CautionTape;
class LayoutController;
class MyButton;
class MyScrollView;
class QBoxLayout;
class QWidget;
class XmlBase;
class XmlBoxModel;
class XmlCSS;

// What the layout controller does for the canvas: the two scroll views that
// show it (with rulers for layout, without for preview), the guide
// controls, the caution tape under it while the template is shared, the
// compact arrangement that hides the tools, the geometry fields of the
// selected element's sheet, the commit of a move or resize and a
// Control-click's content.
class CanvasController {
public:
    explicit CanvasController(LayoutController& controller);

    // The canvas's scroll view with the caution tape under it, then the
    // guide controls, added to the layout tab's canvas column.
    void buildCanvasColumn(QBoxLayout* column);
    // The scroll view of the preview tab.
    MyScrollView* buildBrowserView();
    // The button of the compact arrangement, in the layout tab's page controls.
    MyButton* buildCompactButton(QWidget* bar);
    // The inspector and the template selector, hidden in the compact arrangement.
    QWidget* buildTools(QBoxLayout* inspector);
    // The canvas goes into the preview tab's scroll view (test mode) or the layout tab's.
    void showCanvas(bool testMode);

    // Hides or shows the tools as the compact button says and shows the
    // caution tape while two or more pages use the template.
    void arrangeTools();
    // The element's position and size in its sheet's fields.
    void showGeometryOf(XmlBoxModel* element);
    // Gives the element the rectangle, as one change of the document, and
    // answers where the element actually went.
    lq::Rect moveObjectToRect(XmlCSS* element, const lq::Rect& rect);
    // The element becomes the window's current object and the content
    // editor opens; the canvas keeps its selection.
    void openContentOf(XmlBase* element);
    // A new selection lets go of the colour wells of the inspector.
    void deactivateColorWells();

    MyScrollView* scrollLayoutView() const { return _scrollLayoutView; }
    MyScrollView* scrollBrowserView() const { return _scrollBrowserView; }
    MyButton* compactButton() const { return _compact; }
    CautionTape* cautionTape() const { return _cautionTape; }
    QWidget* tools() const { return _tools; }

private:
    QWidget* buildGuideControls();

    LayoutController& _controller;
    MyScrollView* _scrollLayoutView = nullptr;
    MyScrollView* _scrollBrowserView = nullptr;
    CautionTape* _cautionTape = nullptr;
    MyButton* _compact = nullptr;
    QWidget* _tools = nullptr;
    QWidget* _guideBar = nullptr;
};
