#pragma once

#include "ui/editors/EditorPanel.h"
#include "ui/editors/photo/IWCanvasView.h"
#include "ui/editors/photo/IWThumbView.h"
#include "platform/graphics/GraphicsImage.h"

#include <QWidget>

#include <array>
#include <memory>

class IWButton;
class MyButton;
class MyCheckBox;
class MyColorWell;
class MyLabel;
class MyStepper;
class XmlImage;
class XmlPhoto;
class ZoomScrollView;

// The photo editor: the pane the document window shows while a photo is its
// current object. It puts the photo's canvas into the canvas view (crop,
// callouts and their text) and the thumbnail framing view, and owns the
// controls beside them: the twelve mask shapes with the shape's attribute,
// the border colour and width, the drop shadow, turning the picture by a
// quarter either way, replacing the picture from a file, stepping to the
// previous or next photo of the album, and whether the thumbnail shows the
// callouts. Every change goes straight into the photo through its setters;
// the pane keeps no copy of the photo's values.
//
// While a photo is shown the pane holds one claim on its picture in memory
// (loadBackstore), given back when another photo is shown or the pane lets
// the photo go. It does not keep the photo alive: a photo taken out of the
// site is gone, as the window expects.
class QZImageWell : public QWidget, public EditorPanel {
    Q_OBJECT
public:
    // Open panel of "Replace Image".
    static const QString replaceTitle;
    static const QString replacePrompt;

    explicit QZImageWell(QWidget* parent = nullptr);
    ~QZImageWell() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    // Shows the document's current photo; with none, saves and shows nothing new.
    void loadEditor() override;
    // Re-attaches the canvas, stores the show-callouts box in the photo when
    // it differs and makes the photo's thumbnail and icon again.
    void saveEditor() override;
    void refreshEditor() override {}
    QWidget* superView() override { return this; }
    // Empties both views and lets the photo (and its picture) go.
    void releaseEditor();

    // The photo shown, or none.
    std::shared_ptr<XmlPhoto> editObj() const { return _editObj.lock(); }
    IWCanvasView* canvasView() const { return canvasview; }
    IWThumbView* thumbView() const { return thumbview; }
    ZoomScrollView* scrollView() const { return _scrollView; }
    // The button of the shape (0 to 11), and the one now selected.
    IWButton* shapeButtonFor(int shape) const;
    IWButton* selectedShape() const { return shapeselected; }

    // --- Actions --------------------------------------------------------------------------
    // The previous or next photo of the album, wrapping round.
    void prevImage();
    void nextImage();
    void shapeButton(IWButton* sender);
    void shapeStep1(MyStepper* sender);
    void borderColor(MyColorWell* sender);
    void borderStepper(MyStepper* sender);
    void clickDropShadow(MyCheckBox* sender);
    void clockwise();
    void counterclockwise();
    // Asks for a picture file; its picture replaces the photo's shortly after.
    void replaceImage();
    // The photo takes the picture without a crop and is shown anew.
    void replaceImage2(const lq::GraphicsImage& picture);
    void showObjectsClicked(MyCheckBox* sender);

    // --- What the thumbnail framing view asks --------------------------------------------
    void updateCanvasView();
    // The adjustments go to every photo of the album, which is then rebuilt.
    void applytoall(double highboost, double brightness, double contrast, double saturation, bool filter);
    // Fills the shape and border controls from the photo.
    void updateGUI();

private:
    void buildCanvasArea(QWidget* area, IWCanvasView::Controls& controls);
    QWidget* buildCalloutGroup(IWCanvasView::Controls& controls);
    QWidget* buildPictureGroup();
    QWidget* buildThumbnailGroup(IWThumbView::Controls& controls);
    // The action of the pane's own controls, by tag.
    void controlChanged(QWidget* sender);
    // The photo's picture element, or none.
    XmlImage* image() const;
    // The photo when it belongs to an album page (or group), else none.
    std::shared_ptr<XmlPhoto> photoOfAlbum() const;
    void stepPhoto(int step);
    void rotate(int degrees);
    // The attribute label, stepper and value from the selected shape button.
    void showShapeAttribute();
    void setShowObjectsBox(bool on);

    EditorHost* _document = nullptr;
    std::weak_ptr<XmlPhoto> _editObj;

    ZoomScrollView* _scrollView = nullptr;
    IWCanvasView* canvasview = nullptr;
    IWThumbView* thumbview = nullptr;
    std::array<IWButton*, 12> _shapeButtons {};
    IWButton* shapeselected = nullptr;
    MyLabel* shapeLabel1 = nullptr;
    MyStepper* shapeStepper1 = nullptr;
    MyColorWell* borderColorWell = nullptr;
    MyStepper* borderWidthStepper = nullptr;
    MyCheckBox* dropShadow = nullptr;
    MyCheckBox* showObjects = nullptr;
};
