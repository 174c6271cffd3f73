#pragma once
#include <QDialog>

class MyColorWell;
class MyMatrix;
class MyPopUpButton;
class MySlider;
class MyTextField;
class XmlWatermark;

// The watermark sheet of the document window: the text laid over every
// photo of a page, its placement, colour and opacity, and whether it goes
// on the current album page or on every page. It is filled from a page's
// watermark and, when confirmed, stored into the watermarks of the pages
// the user chose; the window rebuilds what changed.
class WatermarkSheet : public QDialog {
    Q_OBJECT
public:
    // Where the watermark goes: the cells of the "Apply to" choice.
    enum Target { CurrentPage = 0, EveryPage = 1 };

    explicit WatermarkSheet(QWidget* window);

    // Shows the watermark: its text, placement, colour and opacity; the
    // current page is the target.
    void fill(const XmlWatermark& watermark);
    // Stores the sheet's choices into the watermark, in the order the page's
    // rendering expects (text, size, colour, opacity, placement).
    void applyTo(XmlWatermark& watermark) const;
    Target target() const;

    // The placement item that shows a stored placement (unknown ones show
    // the first item), and the placement an item stores.
    static int itemForPlacement(int placement);
    static int placementForItem(int item);

    MyTextField* text() const { return WatermarkText; }
    MyPopUpButton* type() const { return WatermarkType; }
    MyMatrix* toWhat() const { return WatermarkToWhat; }
    MyColorWell* textColor() const { return WatermarkTextColor; }
    MySlider* opacity() const { return WatermarkTextOpacity; }

private:
    MyTextField* WatermarkText = nullptr;
    MyPopUpButton* WatermarkType = nullptr;
    MyMatrix* WatermarkToWhat = nullptr;
    MyColorWell* WatermarkTextColor = nullptr;
    MySlider* WatermarkTextOpacity = nullptr;
    // The opacity shown, as stored: the slider moves in hundredths, and an
    // opacity it was not moved from is kept as it was.
    float _filledAlpha = 1.0f;
    int _filledOpacity = -1;
};
