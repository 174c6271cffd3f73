#pragma once

#include "ui/editors/photo/IWView.h"

#include <array>
#include <memory>

class MyButton;
class MyColorWell;
class MyLabel;
class MyPopUpButton;
class MySlider;
class QKeyEvent;
class XmlBase;
class XmlCanvas;
class XmlDrawObject;
class XmlImage;

// The photo editor's canvas: one photo's canvas shown through the zoom of
// its scroll view (ZoomScrollView), edited with ten tools: select (move,
// resize and type into callouts), crop, and eight callout tools that place a
// letter, letter box, cloud, balloon, label, arrow, circle or square.
//
// The selection's geometry lives in the view's own fields while the user
// drags, and goes back into the model through the model's setters at the end
// of every drag step and whenever something is selected. The canvas is shown
// without its background fill and without its own watermark (a flag of the
// view's): attaching and detaching a canvas change nothing in it.
//
// The controls beside the canvas (tool and alignment buttons, colour wells,
// thickness slider, size field, zoom pop-up) belong to the photo editor's
// pane, which hands them over with setControls.
class IWCanvasView : public IWView {
    Q_OBJECT
public:
    enum Tool {
        SelectTool,
        CropTool,
        LetterTool,
        LetterBoxTool,
        CloudTool,
        BalloonTool,
        LabelTool,
        ArrowTool,
        CircleTool,
        SquareTool,
        ToolCount
    };
    // The text alignment codes of the alignment buttons.
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    // Slider positions per point of line thickness: the slider moves in tenths.
    static constexpr int thicknessSteps = 10;

    struct Controls {
        std::array<MyButton*, ToolCount> tools {};   // by tool number
        MyButton* fLeft = nullptr;
        MyButton* fCenter = nullptr;
        MyButton* fRight = nullptr;
        MyColorWell* cBkgnd = nullptr;
        MyColorWell* cFrgnd = nullptr;
        MySlider* scaler = nullptr;
        MyLabel* Status = nullptr;
        MyPopUpButton* zoomButton = nullptr;
        // Shown again after every change of the crop.
        QWidget* thumbView = nullptr;
    };

    explicit IWCanvasView(QWidget* parent = nullptr);
    ~IWCanvasView() override;

    // A new callout of the tool's kind; none for select and crop.
    static std::shared_ptr<XmlDrawObject> createForTool(int tool);

    // Connects the controls to the view's actions; they stay the pane's.
    void setControls(const Controls& controls);
    const Controls& controls() const { return _controls; }

    // --- What the photo editor asks -------------------------------------------------
    // Attaches the canvas (or none): the select tool, nothing selected, the
    // zoom of the pop-up. The canvas itself is left as it is.
    void setCanvas(const std::shared_ptr<XmlCanvas>& canvas);
    const std::shared_ptr<XmlCanvas>& canvas() const { return _canvas; }
    // Ends the typing in the old selection, shows the new one's alignment
    // and takes its geometry, then gives the geometry back to the model.
    void setCurrentSelectedObject(XmlDrawObject* object);
    XmlDrawObject* currentSelectedObject() const;
    int currentTool() const { return bMode; }
    // What the current callout tool places, or none.
    XmlDrawObject* insertObject() const { return _insertObject.get(); }
    // The canvas's background fill and own watermark are left out (the standard).
    bool showsFillAndWatermark() const { return _showsFillAndWatermark; }
    void setShowsFillAndWatermark(bool show);

    // --- Actions of the controls ------------------------------------------------------
    // A tool button: that tool; the crop button while cropping returns to select.
    void modeChange(MyButton* sender);
    void fontChange(MyButton* sender);
    void bkgndColorPressed(MyColorWell* sender);
    void frgndColorPressed(MyColorWell* sender);
    void scalerChange(MySlider* sender);
    // The zoom pop-up: its item's percentage, or fitting for 0.
    void zoomButton(MyPopUpButton* sender);
    // Measures the canvas again and centres it at the current zoom.
    void centerButton();

    // --- IWView -----------------------------------------------------------------------
    bool fitToScale() const override { return _fitToScale; }
    bool handlesOn() const override;
    lq::Rect imageBounds() const override { return _imageBounds; }
    XmlDraw* xmlobject() const override;
    void draw() override;
    // At a zoom, the canvas at that scale but never smaller than the visible
    // area; fitting, the visible area.
    void recalcFrameInView() override;

    // The pointer moved with no button down, at the view point: the callout
    // tool's object follows it.
    void mouseMoved(const QPointF& point);
    void keyDown(QKeyEvent* event);

protected:
    void mouseDown(QMouseEvent* event) override;
    void geometryDidChange() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    XmlImage* image() const;
    void selectTool(int tool);
    // The selection takes the view's geometry (the image its crop, unless a
    // new crop is being drawn).
    void giveGeometryToSelection();
    void showStatus();
    void cropMouseDown(const QPointF& point);
    void insertCallout(const QPointF& point);
    void selectObjectAt(const QPointF& point);
    void applyZoom(int percent);
    void thumbViewNeedsDisplay();

    Controls _controls;
    std::shared_ptr<XmlCanvas> _canvas;
    bool _fitToScale = true;
    int bMode = SelectTool;
    // Not held: a callout of the canvas, or its picture in the crop tool.
    std::weak_ptr<XmlBase> _currentSelectedObject;
    std::shared_ptr<XmlDrawObject> _insertObject;
    lq::Rect _imageBounds;
    bool _recropping = false;
    bool _showsFillAndWatermark = false;
};
