// The photo editor in a document window over a real site folder with real
// JPEG photos: stepping through the album, the mask shapes, turning and
// replacing the picture, the thumbnail framing, applying the adjustments to
// the album, typing into a balloon and saving with the photo shown.
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/editors/photo/IWButton.h"
#include "ui/editors/photo/IWCanvasView.h"
#include "ui/editors/photo/IWThumbView.h"
#include "ui/editors/photo/PhotoEditorTags.h"
#include "ui/editors/photo/QZImageWell.h"
#include "ui/editors/photo/ZoomScrollView.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawBalloon.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlProcessor.h"
#include "platform/UserDefaults.h"
#include "ui/widgets/CanvasTextEditor.h"
#include "ui/widgets/WidgetServices.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/TextView.h"
#include "platform/DelayedCall.h"
#include "support/EventLoop.h"
#include "support/GeometryPrinters.h"
#include "support/Printers.h"
#include "support/ScopedServices.h"
#include "support/SiteInDocument.h"
#include "support/TestPictures.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/StarterArchive.h"
#include "support/ui/ViewMouse.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace Tag = PhotoEditorTag;

namespace {

// A site folder with one album page of photos, open in its window.
class PhotoEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        const QString archive = work.filePath(QStringLiteral("default.qvzip"));
        ASSERT_TRUE(writeStarterArchive(work.path(), archive, false));
        folder = work.filePath(QStringLiteral("Site.lqxl"));
        document = std::make_unique<MyDocument>();
        ASSERT_TRUE(document->newDocumentFromArchive(folder, archive));
        album = XmlAlbum::create();
        document->site()->homepage()->insertChildAtIndex(album, 0);
    }
    void TearDown() override
    {
        window.reset();
    }

    // A JPEG picture file outside the document.
    QString pictureFile(const QString& name, int width, int height, QColor colour = Qt::darkCyan)
    {
        const QString path = work.filePath(name);
        writeAll(path, jpegBytes(width, height, colour, 90));
        return path;
    }
    std::shared_ptr<XmlPhoto> addPhoto(int width = 800, int height = 600, QColor colour = Qt::darkCyan)
    {
        const QString path = pictureFile(QStringLiteral("photo%1.jpg").arg(++imported), width, height, colour);
        return album->importPhotoIndexCaption(path, -1, QStringLiteral("Photo"));
    }
    void openWindow()
    {
        document->clearChangeCount();
        defaults = std::make_unique<lq::UserDefaults>(
            std::make_unique<QSettings>(work.filePath(QStringLiteral("prefs.conf")), QSettings::IniFormat));
        window = std::make_unique<MyDocumentWindow>(*document, defaults.get());
        window->resize(1200, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void show(XmlPhoto* photo)
    {
        window->setCurrentObject(photo);
        QApplication::processEvents();
        editor()->canvasView()->grab();
    }
    QZImageWell* editor() { return dynamic_cast<QZImageWell*>(window->panel(EditorKind::ImageWell)); }
    template <class Control>
    Control* control(int tag) { return qobject_cast<Control*>(lq::viewWithTag(editor(), tag)); }
    XmlPhoto* shown() { return editor()->editObj().get(); }
    // Saves, closes and opens the document again.
    void reopen()
    {
        window->saveEditor();
        ASSERT_TRUE(document->writeWithBackupToFile(folder));
        window.reset();
        album.reset();
        document = std::make_unique<MyDocument>();
        ASSERT_TRUE(document->readFromFile(folder));
        album = document->site()->homepage()->childrenOfType<XmlAlbum>().value(0);
        ASSERT_TRUE(album);
    }
    XmlPhoto* photoAt(int index) { return XmlPhoto::cast(album->photoObjects().value(index).get()); }

    // Callout text is typed in place, as in the program.
    const ScopedServices editors { lq::registerWidgetServices };
    QTemporaryDir work;
    ScopedModalHandler modal;
    PictureLimits limits { 2000, 2000 };
    QString folder;
    std::unique_ptr<MyDocument> document;
    std::shared_ptr<XmlAlbum> album;
    std::unique_ptr<lq::UserDefaults> defaults;
    std::unique_ptr<MyDocumentWindow> window;
    int imported = 0;
};

TEST_F(PhotoEditorTest, IsTheWindowsPanelForAPhotoAndHoldsOneClaimOnItsPicture)
{
    auto first = addPhoto();
    auto second = addPhoto();
    openWindow();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(first->backstoreCount(), 0);
    show(first.get());
    EXPECT_EQ(window->lastEditView(), editor());
    EXPECT_EQ(shown(), first.get());
    EXPECT_EQ(first->backstoreCount(), 1);
    EXPECT_EQ(editor()->canvasView()->canvas(), first->canvas());
    EXPECT_EQ(editor()->thumbView()->canvas(), first->canvas());
    EXPECT_FALSE(first->canvas()->image()->image().isNull()) << "the picture is read for the editor";

    // Another photo: the first one's claim is given back.
    show(second.get());
    EXPECT_EQ(first->backstoreCount(), 0);
    EXPECT_EQ(second->backstoreCount(), 1);
    EXPECT_TRUE(first->canvas()->image()->image().isNull());
    // Showing the same photo again claims nothing more.
    show(second.get());
    EXPECT_EQ(second->backstoreCount(), 1);
    // Away from photos: the pane lets it go.
    window->setCurrentObject(album.get());
    editor()->loadEditor();
    EXPECT_EQ(second->backstoreCount(), 0);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(window->isWindowModified()) << "showing photos changes nothing";
}

TEST_F(PhotoEditorTest, PreviousAndNextWrapRoundTheAlbum)
{
    auto photos = { addPhoto(), addPhoto(), addPhoto() };
    const std::vector<std::shared_ptr<XmlPhoto>> all(photos);
    openWindow();
    struct Case {
        int from;
        int step;
        int to;
    };
    const Case cases[] = { { 0, -1, 2 }, { 2, 1, 0 }, { 1, 1, 2 }, { 1, -1, 0 } };
    for (const Case& c : cases) {
        show(all[static_cast<std::size_t>(c.from)].get());
        control<MyButton>(c.step < 0 ? Tag::previousPhoto : Tag::nextPhoto)->click();
        EXPECT_EQ(shown(), all[static_cast<std::size_t>(c.to)].get()) << c.from << " " << c.step;
        EXPECT_EQ(window->currentObject().get(), all[static_cast<std::size_t>(c.to)].get());
    }

    // A single photo steps to itself.
    album->removeChild(all[1].get());
    album->removeChild(all[2].get());
    show(all[0].get());
    editor()->nextImage();
    EXPECT_EQ(shown(), all[0].get());
    editor()->prevImage();
    EXPECT_EQ(shown(), all[0].get());
}

TEST_F(PhotoEditorTest, TheShapeButtonsShowAndSetThePhotosMaskShape)
{
    auto photo = addPhoto();
    XmlShape& shape = *photo->canvas()->image()->shape();
    openWindow();
    auto* label = control<MyLabel>(Tag::shapeLabel);
    auto* attribute = control<MyStepper>(Tag::shapeAttribute);

    // A stored shape outside 0 to 11 shows the rectangle's button.
    shape.setShape(static_cast<XmlShape::ShapeKind>(15));
    show(photo.get());
    EXPECT_EQ(editor()->selectedShape(), editor()->shapeButtonFor(0));
    EXPECT_TRUE(editor()->shapeButtonFor(0)->isChecked());
    EXPECT_EQ(label->text(), QStringLiteral("Blank"));
    EXPECT_FALSE(attribute->isEnabled());
    EXPECT_TRUE(attribute->text().trimmed().isEmpty());

    // A stored attribute out of range is shown clamped and kept in the model.
    shape.setShape(XmlShape::ShapeKind::RoundedRectangle);
    shape.setAttribute(99);
    show(photo.get());
    EXPECT_EQ(editor()->selectedShape(), editor()->shapeButtonFor(2));
    EXPECT_EQ(label->text(), QStringLiteral("Radius"));
    EXPECT_TRUE(attribute->isEnabled());
    EXPECT_EQ(attribute->value(), 50);
    EXPECT_EQ(shape.attribute(), 99);

    // The stepper stores the clamped value in the button and in the photo.
    attribute->setValue(20);
    EXPECT_EQ(shape.attribute(), 20);
    EXPECT_EQ(editor()->shapeButtonFor(2)->getAttr1(), 20);

    // Choosing a shape gives the photo the button's own remembered attribute.
    editor()->shapeButtonFor(9)->setAttr1(7);
    editor()->shapeButtonFor(9)->click();
    EXPECT_EQ(shape.shape(), XmlShape::ShapeKind::Polygon);
    EXPECT_EQ(shape.attribute(), 7);
    EXPECT_EQ(label->text(), QStringLiteral("Sides"));
    EXPECT_EQ(attribute->minimum(), 5);
    EXPECT_EQ(attribute->maximum(), 12);
    editor()->shapeButtonFor(2)->click();
    EXPECT_EQ(shape.attribute(), 20);
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(PhotoEditorTest, BorderAndShadowGoStraightIntoThePicture)
{
    auto photo = addPhoto();
    XmlImage& picture = *photo->canvas()->image();
    picture.setBorderWidth(4);
    openWindow();
    show(photo.get());
    auto* width = control<MyStepper>(Tag::borderWidth);
    EXPECT_EQ(width->value(), 4);
    width->setValue(9);
    EXPECT_EQ(picture.borderWidth(), 9);
    control<MyColorWell>(Tag::borderColor)->takeColor(Qt::red);
    EXPECT_EQ(picture.borderColor(), lq::Colour(1, 0, 0));
    control<MyCheckBox>(Tag::dropShadow)->click();
    EXPECT_TRUE(picture.dropShadow());
    // Another photo shows its own values.
    auto plain = addPhoto();
    show(plain.get());
    EXPECT_EQ(width->value(), 0);
    EXPECT_FALSE(control<MyCheckBox>(Tag::dropShadow)->isChecked());
}

TEST_F(PhotoEditorTest, TurningKeepsTheCropAndReplacingClearsItAndKeepsWithinTheLargestPicture)
{
    auto photo = addPhoto(800, 600);
    photo->canvas()->image()->setCrop(lq::Rect(10, 20, 300, 200));
    openWindow();
    show(photo.get());
    const QString stored = photo->originalFilename();
    const QString replacement = QStringLiteral("replaceImage2:");   // the key of the delayed replacement

    control<MyButton>(Tag::rotateRight)->click();
    EXPECT_EQ(pictureSize(stored), QSize(600, 800));
    EXPECT_EQ(shown(), photo.get());
    EXPECT_EQ(photo->canvas()->image()->crop(), lq::Rect(10, 20, 300, 200));
    EXPECT_EQ(editor()->canvasView()->canvas(), photo->canvas());
    control<MyButton>(Tag::rotateLeft)->click();
    EXPECT_EQ(pictureSize(stored), QSize(800, 600));

    // Cancelled: nothing changes.
    modal.state->panelAnswer.clear();
    control<MyButton>(Tag::replaceImage)->click();
    ASSERT_EQ(modal.state->panels.size(), 1);
    EXPECT_EQ(modal.state->panels[0].title, QStringLiteral("Replace Image"));
    EXPECT_EQ(modal.state->panels[0].prompt, QStringLiteral("Replace"));
    EXPECT_EQ(modal.state->panels[0].nameFieldLabel, QStringLiteral("Replace"));
    EXPECT_EQ(modal.state->panels[0].folder, QDir::homePath());
    EXPECT_EQ(modal.state->panels[0].window, window.get());
    // The replacement runs later, when one is armed: none is.
    EXPECT_EQ(lq::pendingCalls(editor(), replacement), 0);
    EXPECT_EQ(pictureSize(stored), QSize(800, 600));

    // A file that is no picture: nothing changes either.
    const QString notAPicture = work.filePath(QStringLiteral("notes.jpg"));
    writeAll(notAPicture, QByteArray("plain text"));
    modal.state->panelAnswer = notAPicture;
    control<MyButton>(Tag::replaceImage)->click();
    EXPECT_EQ(lq::pendingCalls(editor(), replacement), 0);
    EXPECT_EQ(pictureSize(stored), QSize(800, 600));
    EXPECT_EQ(photo->canvas()->image()->crop(), lq::Rect(10, 20, 300, 200));

    // A picture larger than the largest kept: scaled down, no crop, shown anew.
    modal.state->panelAnswer = pictureFile(QStringLiteral("large.jpg"), 3000, 1500, Qt::darkRed);
    control<MyButton>(Tag::replaceImage)->click();
    EXPECT_EQ(lq::pendingCalls(editor(), replacement), 1);
    ASSERT_TRUE(processEventsUntil([&] { return pictureSize(stored) != QSize(800, 600); }, 5000));
    EXPECT_EQ(pictureSize(stored), QSize(2000, 1000));
    EXPECT_TRUE(photo->canvas()->image()->crop().isZero());
    EXPECT_EQ(photo->canvas()->image()->image().pixelsWide(), 2000);
    EXPECT_EQ(shown(), photo.get());
    EXPECT_EQ(photo->backstoreCount(), 1);
}

TEST_F(PhotoEditorTest, ThumbnailPreviewFramesAtTheThumbnailsProportions)
{
    struct Case {
        float ax;
        float ay;
        lq::Rect frame;
    };
    const Case cases[] = {
        { 4, 3, lq::Rect(0, 0, 160, 120) },
        { 3, 4, lq::Rect(35, 0, 90, 120) },
        { 16, 9, lq::Rect(0, 15, 160, 90) },
        { 320, 240, lq::Rect(0, 0, 160, 120) },
        { 1, 1, lq::Rect(20, 0, 120, 120) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IWThumbView::previewFrame(c.ax, c.ay), c.frame) << c.ax << ":" << c.ay;
    EXPECT_ANY_THROW(IWThumbView::previewFrame(0, 3));
}

TEST_F(PhotoEditorTest, DraggingThePreviewMovesTheFramedPartAgainstTheHand)
{
    auto photo = addPhoto(1600, 600);
    XmlCanvas& canvas = *photo->canvas();
    canvas.setThumbAspectX(4);
    canvas.setThumbAspectY(3);
    canvas.setThumbScale(0.5f);
    openWindow();
    show(photo.get());
    IWThumbView& preview = *editor()->thumbView();
    auto* framing = control<MySlider>(Tag::thumbnailScale);
    EXPECT_EQ(framing->value(), 50) << "the slider shows 1 - the scale";

    // A quarter of the frame to the right lowers the offset by a quarter.
    drag(preview, QPointF(40, 60), QPointF(80, 60));
    EXPECT_FLOAT_EQ(canvas.thumbOffsetX(), 0.25f);
    EXPECT_FLOAT_EQ(canvas.thumbOffsetY(), 0.5f);
    // Further than the picture goes: held at 0, and back in step with the pointer.
    press(preview, QPointF(10, 60));
    moveTo(preview, QPointF(170, 60));
    EXPECT_FLOAT_EQ(canvas.thumbOffsetX(), 0.0f);
    release(preview, QPointF(50, 60));
    EXPECT_FLOAT_EQ(canvas.thumbOffsetX(), 0.0f);

    // The framing slider is inverted.
    framing->setValue(0);
    EXPECT_FLOAT_EQ(canvas.thumbScale(), 1.0f);
    framing->setValue(100);
    EXPECT_FLOAT_EQ(canvas.thumbScale(), 0.0f);
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(PhotoEditorTest, AdjustmentsAreThePhotosAndApplyToAllSetsThemOnTheWholeAlbumWithOneRebuild)
{
    auto first = addPhoto();
    auto second = addPhoto();
    auto third = addPhoto();
    openWindow();
    show(second.get());
    auto* brightness = control<MySlider>(Tag::brightness);
    brightness->setValue(30);
    EXPECT_DOUBLE_EQ(second->canvas()->brightness(), 0.3);
    EXPECT_EQ(control<MyLabel>(Tag::brightnessValue)->text(), QStringLiteral("0.3"));
    EXPECT_TRUE(window->isWindowModified()) << "an adjustment is an edit";
    control<MySlider>(Tag::highboost)->setValue(125);
    EXPECT_EQ(control<MyLabel>(Tag::highboostValue)->text(), QStringLiteral("1.25"));
    control<MySlider>(Tag::contrast)->setValue(-20);
    control<MySlider>(Tag::saturation)->setValue(50);
    control<MyCheckBox>(Tag::useFilter)->click();
    EXPECT_TRUE(second->canvas()->useFilter());
    EXPECT_DOUBLE_EQ(first->canvas()->brightness(), 0.0) << "only the shown photo";

    const qsizetype queued = document->queue().processors().size();
    control<MyButton>(Tag::applyToAll)->click();
    for (XmlPhoto* photo : { first.get(), second.get(), third.get() }) {
        const XmlCanvas& canvas = *photo->canvas();
        EXPECT_DOUBLE_EQ(canvas.highboost(), 1.25);
        EXPECT_DOUBLE_EQ(canvas.brightness(), 0.3);
        EXPECT_DOUBLE_EQ(canvas.contrast(), -0.2);
        EXPECT_DOUBLE_EQ(canvas.saturation(), 0.5);
        EXPECT_TRUE(canvas.useFilter());
    }
    ASSERT_EQ(document->queue().processors().size(), queued + 1) << "one rebuild of the album";
    EXPECT_EQ(document->queue().processors().last()->numberChildren(), 3);

    // Showing the other photos fills the sliders from each.
    show(first.get());
    EXPECT_EQ(brightness->value(), 30);
    EXPECT_TRUE(control<MyCheckBox>(Tag::useFilter)->isChecked());
}

TEST_F(PhotoEditorTest, SavingWhileAPhotoIsShownKeepsItsWatermark)
{
    auto photo = addPhoto();
    XmlWatermark& mark = *photo->canvas()->watermark();
    mark.setPlacement(5);
    mark.setContent(QStringLiteral("(c) Lumenquill"));
    openWindow();
    show(photo.get());
    EXPECT_FALSE(window->isWindowModified()) << "showing the photo changes nothing";
    EXPECT_EQ(mark.placement(), 5);

    ASSERT_TRUE(document->writeWithBackupToFile(folder));
    EXPECT_TRUE(readAll(folder + QStringLiteral("/site.xmlbase")).contains("(c) Lumenquill"));
    const QString uuid = photo->UUID();
    photo.reset();
    reopen();
    auto* again = photoAt(0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->canvas()->watermark()->placement(), 5);
    EXPECT_EQ(again->canvas()->watermark()->content(), QStringLiteral("(c) Lumenquill"));
}

TEST_F(PhotoEditorTest, DoubleClickingABalloonTypesItsTextInPlaceAtTheCanvasZoom)
{
    auto photo = addPhoto(1600, 1200);
    auto balloon = XmlDrawBalloon::create();
    balloon->setBodyRect(lq::Rect(200, 200, 400, 300));
    balloon->setAnchorPoint(lq::Point(300, 700));
    photo->canvas()->drawObjects()->addChild(balloon);
    openWindow();
    show(photo.get());
    IWCanvasView& canvas = *editor()->canvasView();
    ASSERT_LT(canvas.scale(), 1.0f) << "fitted: the picture is shown smaller";

    const QPointF inside = canvas.objectToView().map(QPointF(400, 350));
    EXPECT_FALSE(window->isWindowModified());
    // Selecting gives the balloon its geometry back: the photo counts as edited.
    click(canvas, inside);
    EXPECT_EQ(canvas.currentSelectedObject(), balloon.get());
    EXPECT_TRUE(window->isWindowModified());
    doubleClick(canvas, inside);
    ASSERT_EQ(canvas.currentSelectedObject(), balloon.get());
    ASSERT_TRUE(balloon->isEditing());
    auto* editing = dynamic_cast<lq::CanvasTextEditor*>(balloon->editor());
    ASSERT_NE(editing, nullptr) << "the canvas text editor of the UI library";
    lq::TextView* text = editing->textView();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->parentWidget(), &canvas);
    EXPECT_EQ(text->geometry(), canvas.objectToView().mapRect(balloon->textRect().toQRectF()).toAlignedRect());
    EXPECT_TRUE(text->hasFocus());

    QTest::keyClicks(text, QStringLiteral("Hello there"));
    EXPECT_TRUE(window->isWindowModified());
    // A click beside the balloon ends the typing.
    click(canvas, canvas.objectToView().map(QPointF(1500, 1100)));
    EXPECT_FALSE(balloon->isEditing());
    EXPECT_EQ(balloon->contents()->string(), QStringLiteral("Hello there"));

    reopen();
    XmlPhoto* again = photoAt(0);
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->canvas()->drawObjects()->numberChildren(), 1);
    auto* stored = XmlDrawObject::cast(again->canvas()->drawObjects()->childAtIndex(0).get());
    EXPECT_EQ(stored->contents()->string(), QStringLiteral("Hello there"));
}

} // namespace

namespace {

// A picture with something to look at: sky, sun and hills.
QByteArray landscapeJpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(200, 225, 250));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(250, 210, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(width * 0.75, height * 0.25), height * 0.1, height * 0.1);
    painter.setBrush(QColor(60, 140, 70));
    painter.drawEllipse(QPointF(width * 0.3, height * 1.1), width * 0.6, height * 0.5);
    painter.setBrush(QColor(40, 110, 60));
    painter.drawEllipse(QPointF(width * 0.9, height * 1.2), width * 0.5, height * 0.55);
    painter.end();
    return encoded(image, "JPG");
}

void saveShot(QWidget& window, const QString& name)
{
    QString artefacts = qEnvironmentVariable("LQ_TEST_ARTEFACTS");
    if (artefacts.isEmpty())
        artefacts = QDir::tempPath() + QStringLiteral("/lumenquill-artefacts");
    QDir().mkpath(artefacts);
    window.grab().save(artefacts + QStringLiteral("/photo-editor-") + name + QStringLiteral(".png"));
}

} // namespace

// A user's way through the editor: a photo of the site opened in the photo
// editor, cropped, given a balloon with text, zoomed. Pictures of each step
// are kept in LQ_TEST_ARTEFACTS (or the temporary folder).
TEST_F(PhotoEditorTest, AUserCropsAddsABalloonTypesAndZooms)
{
    const QString path = work.filePath(QStringLiteral("Hills.jpg"));
    writeAll(path, landscapeJpeg(1600, 1200));
    auto photo = album->importPhotoIndexCaption(path, -1, QStringLiteral("Hills"));
    ASSERT_TRUE(photo);
    openWindow();
    show(photo.get());
    saveShot(*window, QStringLiteral("1-opened"));
    IWCanvasView& canvas = *editor()->canvasView();
    const auto at = [&](float x, float y) { return canvas.objectToView().map(QPointF(x, y)); };

    control<MyButton>(Tag::firstTool + IWCanvasView::CropTool)->click();
    canvas.grab();
    drag(canvas, at(200, 150), at(1400, 1100));
    // Within the pixels of one view unit of the fitted picture.
    const lq::Rect crop = photo->canvas()->image()->crop();
    EXPECT_NEAR(crop.x(), 200, 3);
    EXPECT_NEAR(crop.y(), 150, 3);
    EXPECT_NEAR(crop.maxX(), 1400, 3);
    EXPECT_NEAR(crop.maxY(), 1100, 3);
    saveShot(*window, QStringLiteral("2-cropped"));

    control<MyButton>(Tag::firstTool + IWCanvasView::BalloonTool)->click();
    canvas.grab();
    hover(canvas, at(600, 500));
    click(canvas, at(600, 500));
    ASSERT_EQ(photo->canvas()->drawObjects()->numberChildren(), 1);
    auto* balloon = XmlDrawObject::cast(photo->canvas()->drawObjects()->childAtIndex(0).get());
    canvas.grab();
    doubleClick(canvas, at(600, 500));
    ASSERT_TRUE(balloon->isEditing());
    QTest::keyClicks(dynamic_cast<lq::CanvasTextEditor*>(balloon->editor())->textView(), QStringLiteral("What a view!"));
    saveShot(*window, QStringLiteral("3-typing"));
    click(canvas, at(1300, 1000));
    EXPECT_EQ(balloon->contents()->string(), QStringLiteral("What a view!"));
    saveShot(*window, QStringLiteral("4-balloon"));

    MyPopUpButton* zoom = editor()->scrollView()->zoomButton();
    zoom->selectItemWithTag(100);
    Q_EMIT zoom->activated(zoom->currentIndex());
    canvas.grab();
    EXPECT_FLOAT_EQ(canvas.scale(), 1.0f);
    // The cropped picture at its pixel size.
    const lq::Rect bounds = photo->canvas()->boundingRect(lq::Rect());
    EXPECT_EQ(canvas.size(), QSize(static_cast<int>(bounds.width()), static_cast<int>(bounds.height())));
    editor()->scrollView()->centerButton()->click();
    saveShot(*window, QStringLiteral("5-zoomed"));
    EXPECT_TRUE(window->isWindowModified());
}
