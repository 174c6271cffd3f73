// The photo editor's canvas in its pane, worked with the mouse and the
// keyboard: the callout tools, cropping, selecting, zooming and the size field.
#include "ui/editors/photo/IWCanvasView.h"
#include "ui/editors/photo/PhotoEditorTags.h"
#include "ui/editors/photo/QZImageWell.h"
#include "ui/editors/photo/ZoomScrollView.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawArrow.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawCircle.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlWatermark.h"
#include "ui/widgets/CanvasTextEditor.h"
#include "ui/widgets/WidgetServices.h"
#include "ui/widgets/TextView.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "support/GeometryPrinters.h"
#include "support/Printers.h"
#include "support/ScopedServices.h"
#include "support/TestPictures.h"
#include "support/ui/ViewMouse.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

namespace Tag = PhotoEditorTag;

namespace {

// The pane with a canvas of a plain picture attached to its canvas view.
class CanvasViewTest : public ::testing::Test {
protected:
    void attach(int width, int height, QSize visible = QSize(600, 400))
    {
        canvas = XmlCanvas::createFromImage(lq::GraphicsImage(solid(width, height, Qt::darkCyan)));
        pane.resize(1000, 700);
        pane.show();
        QApplication::processEvents();
        showArea(visible);
        view()->setCanvas(canvas);
        paint();
    }
    // Sizes the pane so that the canvas's scroll view shows this much.
    void showArea(QSize visible)
    {
        for (int i = 0; i < 3; ++i) {
            pane.resize(pane.size() + visible - pane.scrollView()->viewport()->size());
            QApplication::processEvents();
        }
        ASSERT_EQ(pane.scrollView()->viewport()->size(), visible);
    }
    IWCanvasView* view() { return pane.canvasView(); }
    // Paints the view, which builds its transforms.
    void paint() { view()->grab(); }
    MyButton* button(int tag) { return qobject_cast<MyButton*>(lq::viewWithTag(&pane, tag)); }
    void chooseTool(int tool)
    {
        button(Tag::firstTool + tool)->click();
        paint();
    }
    void zoom(int percent)
    {
        MyPopUpButton* zoomButton = pane.scrollView()->zoomButton();
        zoomButton->selectItemWithTag(percent);
        Q_EMIT zoomButton->activated(zoomButton->currentIndex());
        paint();
    }
    // The view point of a canvas point.
    QPointF at(float x, float y) { return view()->objectToView().map(QPointF(x, y)); }
    QString status() { return qobject_cast<MyLabel*>(lq::viewWithTag(&pane, Tag::sizeField))->text(); }
    int callouts() { return canvas->drawObjects()->numberChildren(); }
    XmlDrawObject* callout(int index) { return XmlDrawObject::cast(canvas->drawObjects()->childAtIndex(index).get()); }

    // An 800 by 600 picture at 100 % with a balloon of 200 by 100 at (100, 100)
    // pointing down to (150, 300).
    void attachWithBalloon()
    {
        attach(800, 600);
        zoom(100);
        balloon = XmlDrawBalloon::create();
        balloon->setBodyRect(lq::Rect(100, 100, 200, 100));
        balloon->setAnchorPoint(lq::Point(150, 300));
        canvas->drawObjects()->addChild(balloon);
    }

    QZImageWell pane;
    std::shared_ptr<XmlCanvas> canvas;
    std::shared_ptr<XmlDrawBalloon> balloon;
};

TEST_F(CanvasViewTest, TheBalloonToolPlacesABalloonSizedByThePictureUnderThePointer)
{
    // 50 %: one view unit is two picture pixels.
    attach(1600, 1200);
    zoom(50);
    ASSERT_FLOAT_EQ(view()->scale(), 0.5f);
    chooseTool(IWCanvasView::BalloonTool);
    EXPECT_TRUE(button(Tag::firstTool + IWCanvasView::BalloonTool)->isChecked());
    EXPECT_FALSE(button(Tag::firstTool + IWCanvasView::SelectTool)->isChecked());
    EXPECT_TRUE(view()->hasMouseTracking());

    // k = (1600 + 1200) / 1000 = 2.8: a box of 280 by 224 around the
    // pointer, the anchor 28 to the right and 196 below.
    hover(*view(), at(800, 500));
    XmlDrawObject* preview = view()->insertObject();
    ASSERT_NE(preview, nullptr);
    EXPECT_NE(dynamic_cast<XmlDrawBalloon*>(preview), nullptr);
    EXPECT_EQ(preview->bodyRect(), lq::Rect(660, 388, 280, 224));
    EXPECT_EQ(preview->anchorPoint(), lq::Point(828, 696));
    EXPECT_EQ(callouts(), 0) << "the tool's balloon is only a preview";

    // A click adds it where it is, back in the select tool with nothing selected.
    hover(*view(), at(400, 300));
    click(*view(), at(400, 300));
    ASSERT_EQ(callouts(), 1);
    auto* balloon = dynamic_cast<XmlDrawBalloon*>(callout(0));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->bodyRect(), lq::Rect(260, 188, 280, 224));
    EXPECT_EQ(balloon->anchorPoint(), lq::Point(428, 496));
    EXPECT_EQ(view()->currentTool(), IWCanvasView::SelectTool);
    EXPECT_TRUE(button(Tag::firstTool + IWCanvasView::SelectTool)->isChecked());
    EXPECT_FALSE(button(Tag::firstTool + IWCanvasView::BalloonTool)->isChecked());
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
    EXPECT_EQ(view()->insertObject(), nullptr);
    EXPECT_FALSE(view()->hasMouseTracking());
}

TEST_F(CanvasViewTest, ACircleReturnsToSelectingAndAnArrowIsDrawnOutFromThePress)
{
    attach(800, 600);
    zoom(100);
    chooseTool(IWCanvasView::CircleTool);
    click(*view(), at(100, 100));
    ASSERT_EQ(callouts(), 1);
    EXPECT_NE(dynamic_cast<XmlDrawCircle*>(callout(0)), nullptr);
    EXPECT_EQ(view()->currentTool(), IWCanvasView::SelectTool);
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);

    // The arrow's tail stays at the press, its point follows the drag; the
    // tool stays on with a fresh arrow for the next one.
    chooseTool(IWCanvasView::ArrowTool);
    XmlDrawObject* firstPreview = view()->insertObject();
    drag(*view(), at(300, 300), at(500, 250));
    ASSERT_EQ(callouts(), 2);
    auto* arrow = dynamic_cast<XmlDrawArrow*>(callout(1));
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->tailPoint(), lq::Point(300, 300));
    EXPECT_EQ(arrow->anchorPoint(), lq::Point(500, 250));
    EXPECT_EQ(view()->currentTool(), IWCanvasView::ArrowTool);
    EXPECT_NE(view()->insertObject(), nullptr);
    EXPECT_NE(view()->insertObject(), firstPreview);
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
}

TEST_F(CanvasViewTest, ACropDrawnFromNothingSelectsThePictureAndDeleteTakesTheCropAway)
{
    attach(800, 600);
    zoom(100);
    XmlImage& picture = *canvas->image();
    chooseTool(IWCanvasView::CropTool);
    EXPECT_TRUE(picture.showCrop());
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);

    // A band released where it was pressed leaves no crop and nothing selected.
    click(*view(), at(100, 100));
    EXPECT_TRUE(picture.crop().isZero());
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
    EXPECT_EQ(view()->currentTool(), IWCanvasView::CropTool);

    drag(*view(), at(500, 400), at(100, 50));
    EXPECT_EQ(picture.crop(), lq::Rect(100, 50, 400, 350));
    EXPECT_EQ(view()->currentSelectedObject(), &picture);
    EXPECT_EQ(view()->currentTool(), IWCanvasView::CropTool);
    EXPECT_TRUE(picture.showCrop());
    EXPECT_TRUE(view()->handlesOn());
    EXPECT_EQ(status(), QStringLiteral("{ 400,350 }"));

    // A press beside the crop and its handles changes nothing.
    drag(*view(), at(700, 550), at(750, 580));
    EXPECT_EQ(picture.crop(), lq::Rect(100, 50, 400, 350));
    // A drag inside moves it, every step going to the picture.
    press(*view(), at(200, 200));
    moveTo(*view(), at(210, 220));
    EXPECT_EQ(picture.crop(), lq::Rect(110, 70, 400, 350));
    release(*view(), at(250, 250));
    EXPECT_EQ(picture.crop(), lq::Rect(150, 100, 400, 350));

    // Delete: no crop, the picture still selected.
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_TRUE(picture.crop().isZero());
    EXPECT_EQ(view()->currentSelectedObject(), &picture);
    EXPECT_TRUE(view()->bodyRect().isZero());
    paint();
    // A new band draws the next crop and selects the picture again.
    drag(*view(), at(10, 10), at(60, 90));
    EXPECT_EQ(picture.crop(), lq::Rect(10, 10, 50, 80));
    EXPECT_EQ(view()->currentSelectedObject(), &picture);

    // The crop button again: back to selecting; the faded picture goes.
    chooseTool(IWCanvasView::CropTool);
    EXPECT_EQ(view()->currentTool(), IWCanvasView::SelectTool);
    EXPECT_TRUE(button(Tag::firstTool + IWCanvasView::SelectTool)->isChecked());
    EXPECT_FALSE(button(Tag::firstTool + IWCanvasView::CropTool)->isChecked());
    EXPECT_FALSE(picture.showCrop());
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
    EXPECT_EQ(picture.crop(), lq::Rect(10, 10, 50, 80));
}

TEST_F(CanvasViewTest, TheSelectToolMovesResizesAndDeletesCallouts)
{
    attachWithBalloon();
    auto arrow = XmlDrawArrow::create();
    arrow->setAnchorPoint(lq::Point(600, 100));
    arrow->setTailPoint(lq::Point(700, 500));
    canvas->drawObjects()->addChild(arrow);
    EXPECT_EQ(status(), QStringLiteral("{ 800,600 }")) << "nothing selected: the canvas";

    // A click selects without moving; the size field shows the callout's body.
    click(*view(), at(150, 150));
    EXPECT_EQ(view()->currentSelectedObject(), balloon.get());
    EXPECT_EQ(status(), QStringLiteral("{ 200,100 }"));
    paint();
    drag(*view(), at(150, 150), at(170, 140));
    EXPECT_EQ(balloon->bodyRect(), lq::Rect(120, 90, 200, 100));
    EXPECT_EQ(balloon->anchorPoint(), lq::Point(150, 300));
    // The bottom-right handle, then the anchor.
    drag(*view(), at(320, 190), at(420, 240));
    EXPECT_EQ(balloon->bodyRect(), lq::Rect(120, 90, 300, 150));
    EXPECT_EQ(status(), QStringLiteral("{ 300,150 }"));
    drag(*view(), at(150, 300), at(50, 350));
    EXPECT_EQ(balloon->anchorPoint(), lq::Point(50, 350));

    // Keys other than Delete do nothing, even with a selection.
    QTest::keyClick(view(), Qt::Key_A);
    QTest::keyClick(view(), Qt::Key_Left);
    EXPECT_EQ(callouts(), 2);

    // A click on nothing selects nothing; the arrow by its tail.
    click(*view(), at(500, 500));
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
    click(*view(), at(702, 498));
    EXPECT_EQ(view()->currentSelectedObject(), arrow.get());
    EXPECT_EQ(canvas->drawObjects()->lastChild(), arrow) << "the selection comes to the top";
    QTest::keyClick(view(), Qt::Key_Backspace);
    EXPECT_EQ(view()->currentSelectedObject(), nullptr);
    ASSERT_EQ(callouts(), 1);
    EXPECT_EQ(callout(0), balloon.get());
}

TEST_F(CanvasViewTest, ANewCalloutsTextTakesAFontSizedByThePicture)
{
    // (1600 + 1200) / 1000 * 12 = 33.6: 33.
    const ScopedServices editors(lq::registerWidgetServices);
    attach(1600, 1200);
    zoom(50);
    chooseTool(IWCanvasView::BalloonTool);
    hover(*view(), at(800, 600));
    click(*view(), at(800, 600));
    ASSERT_EQ(callouts(), 1);
    XmlDrawObject* placed = callout(0);
    paint();
    doubleClick(*view(), at(800, 600));
    ASSERT_TRUE(placed->isEditing());
    auto* typing = dynamic_cast<lq::CanvasTextEditor*>(placed->editor());
    ASSERT_NE(typing, nullptr);
    QTest::keyClicks(typing->textView(), QStringLiteral("Hi"));
    click(*view(), at(100, 100));
    ASSERT_FALSE(placed->isEditing());
    ASSERT_EQ(placed->contents()->string(), QStringLiteral("Hi"));
    const std::optional<lq::Font> font = placed->contents()->attributesAt(0).font;
    ASSERT_TRUE(font);
    EXPECT_EQ(font->face(), QStringLiteral("Helvetica"));
    EXPECT_EQ(font->pixelSize(), 33);
}

TEST_F(CanvasViewTest, TheAlignmentButtonsColourWellsAndLineWidthActOnTheSelectedCallout)
{
    attachWithBalloon();
    const IWCanvasView::Controls& controls = view()->controls();
    const auto alignment = [&] { return balloon->getAlignmentInViewWithTransformAndScale(view(), view()->objectToView(), 1.0f); };
    const auto pressed = [&] {
        QList<int> on;
        for (MyButton* button : {controls.fLeft, controls.fCenter, controls.fRight})
            on.append(button->isChecked());
        return on;
    };
    click(*view(), at(150, 150));
    ASSERT_EQ(view()->currentSelectedObject(), balloon.get());

    // Each alignment button gives the callout's text its alignment and is
    // the one pressed, also when the callout is chosen again.
    const struct {
        MyButton* button;
        int alignment;
        QList<int> pressed; // left, centre, right
    } buttons[] = {{controls.fCenter, IWCanvasView::AlignCenter, {0, 1, 0}},
                   {controls.fRight, IWCanvasView::AlignRight, {0, 0, 1}},
                   {controls.fLeft, IWCanvasView::AlignLeft, {1, 0, 0}},
                   {controls.fRight, IWCanvasView::AlignRight, {0, 0, 1}}};
    for (const auto& b : buttons) {
        b.button->click();
        EXPECT_EQ(alignment(), b.alignment);
        EXPECT_EQ(pressed(), b.pressed) << b.alignment;
        click(*view(), at(500, 500));
        EXPECT_EQ(pressed(), (QList<int> {1, 0, 0})) << "nothing selected: left";
        click(*view(), at(150, 150));
        EXPECT_EQ(pressed(), b.pressed) << b.alignment;
    }

    // The colour wells and the slider: the callout's fill, text colour and line width.
    controls.cBkgnd->takeColor(QColor(Qt::yellow));
    controls.cFrgnd->takeColor(QColor(Qt::red));
    controls.scaler->setValue(35);
    EXPECT_EQ(balloon->backgroundColor().toQColor(), QColor(Qt::yellow));
    EXPECT_EQ(balloon->foregroundColor().toQColor(), QColor(Qt::red));
    EXPECT_FLOAT_EQ(balloon->thickness(), 3.5f);
    // Chosen again, the callout shows them.
    controls.cBkgnd->setColor(Qt::white);
    controls.scaler->setValue(10);
    EXPECT_FLOAT_EQ(balloon->thickness(), 1.0f);
    click(*view(), at(500, 500));
    click(*view(), at(150, 150));
    EXPECT_EQ(controls.cBkgnd->color(), QColor(Qt::yellow));
    EXPECT_EQ(controls.cFrgnd->color(), QColor(Qt::red));
    EXPECT_EQ(controls.scaler->value(), 10);

    // With nothing selected the fill is the picture's background; the text
    // colour and the line width change nothing.
    click(*view(), at(500, 500));
    ASSERT_EQ(view()->currentSelectedObject(), nullptr);
    controls.cBkgnd->takeColor(QColor(Qt::blue));
    controls.cFrgnd->takeColor(QColor(Qt::green));
    controls.scaler->setValue(50);
    EXPECT_EQ(canvas->backgroundColor().toQColor(), QColor(Qt::blue));
    EXPECT_EQ(balloon->backgroundColor().toQColor(), QColor(Qt::yellow));
    EXPECT_EQ(balloon->foregroundColor().toQColor(), QColor(Qt::red));
    EXPECT_FLOAT_EQ(balloon->thickness(), 1.0f);
}

TEST_F(CanvasViewTest, ZoomSizesTheViewNeverSmallerThanWhatIsShown)
{
    attach(1000, 800, QSize(600, 400));
    struct Case {
        int percent;
        QSize frame;
        bool fits;
    };
    const Case cases[] = {
        { 200, { 2000, 1600 }, false },
        { 25, { 600, 400 }, false },
        { 50, { 600, 400 }, false },
        { 100, { 1000, 800 }, false },
        { 0, { 600, 400 }, true },
    };
    for (const Case& c : cases) {
        zoom(c.percent);
        EXPECT_EQ(view()->size(), c.frame) << c.percent;
        EXPECT_EQ(view()->fitToScale(), c.fits) << c.percent;
    }
    // Fitting shrinks the picture into the view; a zoom keeps its scale when
    // the scroll view changes size.
    EXPECT_FLOAT_EQ(view()->scale(), 0.5f);
    zoom(200);
    showArea(QSize(700, 450));
    EXPECT_EQ(view()->size(), QSize(2000, 1600));
    EXPECT_FLOAT_EQ(view()->scale(), 2.0f);
}

TEST_F(CanvasViewTest, TheCanvasIsShownWithoutItsFillAndWatermarkAndAttachingChangesNothing)
{
    attach(400, 300);
    canvas->setBackgroundColor(lq::Colour(1, 0, 0));
    canvas->image()->setDropShadow(true);   // grows the bounds: the fill would show round the picture
    canvas->watermark()->setPlacement(1);
    canvas->watermark()->setContent(QStringLiteral("MARK"));
    const QString stored = canvas->createXml();
    view()->setCanvas(canvas);
    zoom(100);
    const QImage shown = view()->grab().toImage();
    const QPoint corner = at(-8, -8).toPoint();
    EXPECT_NE(shown.pixelColor(corner), QColor(Qt::red)) << "no background fill";

    view()->setCanvas(nullptr);
    EXPECT_EQ(canvas->createXml(), stored);
    EXPECT_EQ(canvas->watermark()->placement(), 1);
    EXPECT_EQ(canvas->fillBackground(), 1);
}

} // namespace
