#pragma once

#include <QScrollArea>

class IWView;
class MyButton;
class MyPopUpButton;

// The scroll view of the photo editor's canvas: scroll bars in both
// directions, a line border, and beside the horizontal scroll bar, from its
// right end, the zoom pop-up (55 wide) and the centre button (75 wide). The
// zoom items carry their zoom in percent as tag; tag 0 fits the picture into
// the view. After every change of size the scrolled view is sized anew
// (recalcFrameInView).
class ZoomScrollView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int zoomButtonWidth = 55;
    static constexpr int centerButtonWidth = 75;
    // The tag of the zoom item that fits the picture into the view.
    static constexpr int fitZoomTag = 0;

    explicit ZoomScrollView(QWidget* parent = nullptr);

    // The scrolled view (owned by the scroll view from now on).
    void setSubView(IWView* view);
    IWView* subView() const { return _subView; }
    MyPopUpButton* zoomButton() const { return _zoomButton; }
    MyButton* centerButton() const { return _centerButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    IWView* _subView = nullptr;
    MyPopUpButton* _zoomButton = nullptr;
    MyButton* _centerButton = nullptr;
};
