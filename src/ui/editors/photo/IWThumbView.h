#pragma once

#include "platform/Geometry.h"
#include "ui/widgets/PressTracker.h"

#include <QWidget>

#include <memory>

class MyButton;
class MyCheckBox;
class MyLabel;
class MySlider;
class QZImageWell;
class XmlCanvas;

// The photo editor's preview of the photo's thumbnail: the part of the
// picture the thumbnail frames, at the thumbnail's proportions, with the
// picture adjustments applied. Dragging in the preview moves the framed part
// over the picture; a slider sets how much of the picture the thumbnail
// takes in; four sliders set the sharpening (high boost), brightness,
// contrast and saturation, a check box whether the canvas view shows them,
// and a button gives the four values and the check box to every photo of
// the album. Every value lives in the canvas; the view keeps no copy.
//
// The preview is laid out in a fixed area of 160 by 120 at the view's origin.
class IWThumbView : public QWidget {
    Q_OBJECT
public:
    static constexpr int previewWidth = 160;
    static constexpr int previewHeight = 120;
    // Slider positions per unit of the framing scale and the adjustments:
    // the sliders move in hundredths.
    static constexpr int sliderSteps = 100;

    struct Controls {
        MySlider* scaler = nullptr;   // shows 1 - the thumbnail scale
        MySlider* highboost = nullptr;
        MySlider* brightness = nullptr;
        MySlider* contrast = nullptr;
        MySlider* saturation = nullptr;
        MyLabel* hbval = nullptr;
        MyLabel* brval = nullptr;
        MyLabel* coval = nullptr;
        MyLabel* saval = nullptr;
        MyCheckBox* usefilter = nullptr;
        MyButton* applyToAll = nullptr;
    };

    explicit IWThumbView(QWidget* parent = nullptr);
    ~IWThumbView() override;

    // Connects the controls to the view's actions; they stay the pane's.
    void setControls(const Controls& controls);
    const Controls& controls() const { return _controls; }
    // The photo editor, told when the canvas view must show the adjustments
    // and asked to apply them to the whole album.
    void setMaster(QZImageWell* master) { _master = master; }

    // Shows the canvas (none shows nothing) and fills the controls from it.
    void setCanvas(const std::shared_ptr<XmlCanvas>& canvas);
    const std::shared_ptr<XmlCanvas>& canvas() const { return _canvas; }
    // Without the callouts (the standard) or with them.
    bool imageOnly() const { return _imageOnly; }
    void setImageOnly(bool imageOnly) { _imageOnly = imageOnly; }

    // The preview's frame for the thumbnail's proportions (width ax, height
    // ay) within the 160 by 120 area; a zero raises "Divide By 0".
    static lq::Rect previewFrame(float ax, float ay);

    // --- Actions of the controls ------------------------------------------------------
    void scale(MySlider* sender);
    void highboost(MySlider* sender);
    void brightness(MySlider* sender);
    void contrast(MySlider* sender);
    void saturation(MySlider* sender);
    void useFilter(MyCheckBox* sender);
    void applytoall();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The slider's value in its own units.
    static double valueOf(const MySlider* slider);
    // An adjustment: the canvas takes the slider's value, the field shows
    // it, the preview is redrawn, and the canvas view too while the canvas
    // draws through its filters.
    void adjust(MySlider* slider, const char* action, void (XmlCanvas::*set)(double), MyLabel* field,
                const char* format);
    bool beginDrag(const QPointF& at);
    void dragTo(const QPointF& at);

    Controls _controls;
    QZImageWell* _master = nullptr;
    std::shared_ptr<XmlCanvas> _canvas;
    bool _imageOnly = true;

    // The drag: where it began, the offsets then, and the frame's size.
    PressTracker _tracker;
    QPointF _pressPoint;
    float _startOffsetX = 0;
    float _startOffsetY = 0;
    float _frameWidth = 0;
    float _frameHeight = 0;
};
