#include "ui/editors/photo/QZImageWell.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/photo/CanvasToolIcons.h"
#include "ui/editors/photo/IWButton.h"
#include "ui/editors/photo/IWCanvasView.h"
#include "ui/editors/photo/IWThumbView.h"
#include "ui/editors/photo/PhotoEditorTags.h"
#include "ui/editors/photo/ZoomScrollView.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlDrawObject.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlShape.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/ScreenText.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace Tag = PhotoEditorTag;

const QString QZImageWell::replaceTitle = QStringLiteral("Replace Image");
const QString QZImageWell::replacePrompt = QStringLiteral("Replace");

namespace {

constexpr int shapeCount = 12;
constexpr int shapeColumns = 4;
// The border is at most this wide.
constexpr int maximumBorderWidth = 50;
constexpr int maximumThickness = 20;

// A row of controls side by side, for one row of a form.
QWidget* row(std::initializer_list<QWidget*> controls)
{
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (QWidget* control : controls)
        layout->addWidget(control);
    return holder;
}

} // namespace

QZImageWell::QZImageWell(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZImageWell"));
    IWCanvasView::Controls canvasControls;
    IWThumbView::Controls thumbControls;

    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(4, 4, 4, 4);
    auto* canvasArea = new QWidget(this);
    buildCanvasArea(canvasArea, canvasControls);
    columns->addWidget(canvasArea, 1);

    auto* side = new QWidget;
    auto* sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    sideColumn->addWidget(buildCalloutGroup(canvasControls));
    sideColumn->addWidget(buildPictureGroup());
    sideColumn->addWidget(buildThumbnailGroup(thumbControls));
    sideColumn->addStretch(1);
    auto* sideScroller = new QScrollArea(this);
    sideScroller->setWidget(side);
    sideScroller->setWidgetResizable(true);
    sideScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sideScroller->setFrameShape(QFrame::NoFrame);
    sideScroller->setFixedWidth(side->sizeHint().width() + sideScroller->verticalScrollBar()->sizeHint().width());
    columns->addWidget(sideScroller);

    canvasControls.thumbView = thumbview;
    canvasview->setControls(canvasControls);
    thumbview->setControls(thumbControls);
    thumbview->setMaster(this);

    shapeselected = _shapeButtons[0];
    shapeselected->setChecked(true);
    showShapeAttribute();
    shapeLabel1->setText(QString());
    borderWidthStepper->setValue(0);
}

QZImageWell::~QZImageWell()
{
    lq::cancelAll(this);
    releaseEditor();
}

// --- Building the pane --------------------------------------------------------------------------

void QZImageWell::buildCanvasArea(QWidget* area, IWCanvasView::Controls& controls)
{
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QHBoxLayout;
    tools->setSpacing(2);
    for (int tool = 0; tool < IWCanvasView::ToolCount; ++tool) {
        auto* button = new MyButton(Tag::firstTool + tool, QString(), area);
        button->setIcon(canvasToolIcon(tool));
        button->setIconSize(QSize(22, 22));
        button->setToolTip(lq::plainToolTip(canvasToolName(tool)));
        button->setFixedSize(32, 30);
        tools->addWidget(button);
        controls.tools[static_cast<std::size_t>(tool)] = button;
    }
    tools->addStretch(1);
    auto* previous = new MyButton(Tag::previousPhoto, QStringLiteral("Previous"), area);
    auto* next = new MyButton(Tag::nextPhoto, QStringLiteral("Next"), area);
    previous->setToolTip(QStringLiteral("Shows the album's previous photo"));
    next->setToolTip(QStringLiteral("Shows the album's next photo"));
    lq::connectAction(previous, &QPushButton::clicked, this, "prevImage:", [this] { prevImage(); });
    lq::connectAction(next, &QPushButton::clicked, this, "nextImage:", [this] { nextImage(); });
    tools->addWidget(previous);
    tools->addWidget(next);
    column->addLayout(tools);

    _scrollView = new ZoomScrollView(area);
    canvasview = new IWCanvasView;
    _scrollView->setSubView(canvasview);
    column->addWidget(_scrollView, 1);
    controls.zoomButton = _scrollView->zoomButton();
    connect(_scrollView->centerButton(), &QPushButton::clicked, canvasview, [this] { canvasview->centerButton(); });
}

QWidget* QZImageWell::buildCalloutGroup(IWCanvasView::Controls& controls)
{
    auto* group = new QGroupBox(QStringLiteral("Callout"));
    // The canvas view connects its own controls: the builder only makes and places them.
    SheetBuilder builder(group, this, {});
    controls.fLeft = new MyButton(Tag::alignLeft, QStringLiteral("Left"), group);
    controls.fCenter = new MyButton(Tag::alignCenter, QStringLiteral("Centre"), group);
    controls.fRight = new MyButton(Tag::alignRight, QStringLiteral("Right"), group);
    builder.form()->addRow(lq::plainLabel(QStringLiteral("Text")), row({ controls.fLeft, controls.fCenter, controls.fRight }));
    controls.cBkgnd = builder.label(QStringLiteral("Fill")).colorWell(Tag::calloutBackground);
    controls.cFrgnd = builder.label(QStringLiteral("Line")).colorWell(Tag::calloutForeground);
    controls.cBkgnd->setToolTip(QStringLiteral("The fill of the selected callout, or the picture's background"));
    controls.cFrgnd->setToolTip(QStringLiteral("The line and text colour of the selected callout"));
    controls.scaler = builder.label(QStringLiteral("Line width")).slider(Tag::thickness, 0, maximumThickness * IWCanvasView::thicknessSteps);
    // Where a new callout starts.
    controls.scaler->setValue(static_cast<int>(XmlDrawObject::create()->thickness() * IWCanvasView::thicknessSteps));
    controls.Status = builder.label(QStringLiteral("Size")).text(Tag::sizeField, QString());
    return group;
}

QWidget* QZImageWell::buildPictureGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Picture"));
    SheetBuilder builder(group, this, [this](QWidget* sender) { controlChanged(sender); });

    auto* shapes = new QWidget(group);
    auto* grid = new QGridLayout(shapes);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    auto* exclusive = new QButtonGroup(shapes);
    for (int shape = 0; shape < shapeCount; ++shape) {
        auto* button = new IWButton(shape, shapes);
        button->setCheckable(true);
        button->setFixedSize(IWButton::iconWidth + 12, IWButton::iconHeight + 10);
        exclusive->addButton(button);
        grid->addWidget(button, shape / shapeColumns, shape % shapeColumns);
        lq::connectAction(button, &QPushButton::clicked, this, "shapeButton:", [this, button] { shapeButton(button); });
        _shapeButtons[static_cast<std::size_t>(shape)] = button;
    }
    builder.form()->addRow(shapes);

    shapeLabel1 = new MyLabel(Tag::shapeLabel, QString(), group);
    shapeStepper1 = new MyStepper(Tag::shapeAttribute, 0, 0, 1, group);
    builder.form()->addRow(shapeLabel1, shapeStepper1);
    lq::connectAction(shapeStepper1, &QSpinBox::valueChanged, this, "shapeStep1:", [this] { shapeStep1(shapeStepper1); });

    borderColorWell = builder.label(QStringLiteral("Border")).colorWell(Tag::borderColor);
    borderWidthStepper = builder.label(QStringLiteral("Border width")).stepper(Tag::borderWidth, 0, maximumBorderWidth);
    dropShadow = builder.check(Tag::dropShadow, QStringLiteral("Drop shadow"));

    auto* left = new MyButton(Tag::rotateLeft, QStringLiteral("Turn Left"), group);
    auto* right = new MyButton(Tag::rotateRight, QStringLiteral("Turn Right"), group);
    left->setToolTip(QStringLiteral("Turns the picture a quarter turn counter-clockwise"));
    right->setToolTip(QStringLiteral("Turns the picture a quarter turn clockwise"));
    lq::connectAction(left, &QPushButton::clicked, this, "counterclockwise:", [this] { counterclockwise(); });
    lq::connectAction(right, &QPushButton::clicked, this, "clockwise:", [this] { clockwise(); });
    builder.form()->addRow(row({ left, right }));
    builder.button(Tag::replaceImage, QStringLiteral("Replace Image…"));
    return group;
}

QWidget* QZImageWell::buildThumbnailGroup(IWThumbView::Controls& controls)
{
    auto* group = new QGroupBox(QStringLiteral("Thumbnail"));
    // The thumbnail view connects its own controls; the pane only its box.
    SheetBuilder builder(group, this, {});
    thumbview = new IWThumbView(group);
    builder.form()->addRow(thumbview);
    controls.scaler = builder.label(QStringLiteral("Framing")).slider(Tag::thumbnailScale, 0, IWThumbView::sliderSteps);
    controls.scaler->setToolTip(QStringLiteral("How much of the picture the thumbnail leaves out"));

    struct Adjustment {
        const char* title;
        int tag;
        int valueTag;
        int minimum;
        int maximum;
        MySlider** slider;
        MyLabel** value;
    };
    const int steps = IWThumbView::sliderSteps;
    const Adjustment adjustments[] = {
        { "Sharpen", Tag::highboost, Tag::highboostValue, 0, 2 * steps, &controls.highboost, &controls.hbval },
        { "Brightness", Tag::brightness, Tag::brightnessValue, -steps, steps, &controls.brightness, &controls.brval },
        { "Contrast", Tag::contrast, Tag::contrastValue, -steps, steps, &controls.contrast, &controls.coval },
        { "Saturation", Tag::saturation, Tag::saturationValue, -steps, steps, &controls.saturation, &controls.saval },
    };
    for (const Adjustment& adjustment : adjustments) {
        *adjustment.slider = new MySlider(adjustment.tag, adjustment.minimum, adjustment.maximum, group);
        *adjustment.value = new MyLabel(adjustment.valueTag, QString(), group);
        (*adjustment.value)->setFixedWidth(36);
        builder.form()->addRow(lq::plainLabel(QString::fromLatin1(adjustment.title)), row({ *adjustment.slider, *adjustment.value }));
    }
    controls.usefilter = builder.check(Tag::useFilter, QStringLiteral("Show the adjustments on the canvas"));
    controls.applyToAll = builder.button(Tag::applyToAll, QStringLiteral("Apply to All Photos"));
    controls.applyToAll->setToolTip(QStringLiteral("Gives these adjustments to every photo of the album"));

    SheetBuilder own(group, this, [this](QWidget* sender) { controlChanged(sender); });
    showObjects = own.check(Tag::showObjects, QStringLiteral("Thumbnail shows the callouts"));
    return group;
}

void QZImageWell::controlChanged(QWidget* sender)
{
    switch (lq::widgetTag(sender)) {
    case Tag::borderColor: borderColor(static_cast<MyColorWell*>(sender)); break;
    case Tag::borderWidth: borderStepper(static_cast<MyStepper*>(sender)); break;
    case Tag::dropShadow: clickDropShadow(static_cast<MyCheckBox*>(sender)); break;
    case Tag::replaceImage: replaceImage(); break;
    case Tag::showObjects: showObjectsClicked(static_cast<MyCheckBox*>(sender)); break;
    default: break;
    }
}

IWButton* QZImageWell::shapeButtonFor(int shape) const
{
    return shape >= 0 && shape < shapeCount ? _shapeButtons[static_cast<std::size_t>(shape)] : nullptr;
}

// --- Editor panel ---------------------------------------------------------------------------------

void QZImageWell::setDocument(EditorHost* document)
{
    _document = document;
}

XmlImage* QZImageWell::image() const
{
    const std::shared_ptr<XmlPhoto> photo = editObj();
    return photo ? photo->canvas()->image().get() : nullptr;
}

std::shared_ptr<XmlPhoto> QZImageWell::photoOfAlbum() const
{
    std::shared_ptr<XmlPhoto> photo = editObj();
    return photo && XmlAlbum::cast(photo->parent()) ? photo : nullptr;
}

void QZImageWell::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        std::shared_ptr<XmlPhoto> photo;
        if (_document)
            photo = std::dynamic_pointer_cast<XmlPhoto>(_document->currentObject());
        if (!photo)
            saveEditor();
        // One claim on the shown photo's picture.
        const std::shared_ptr<XmlPhoto> old = editObj();
        if (photo != old) {
            if (old)
                old->releaseBackstore(this);
            if (photo)
                photo->loadBackstore(this);
        }
        _editObj = photo;
        if (!photo) {
            canvasview->setCanvas(nullptr);
            thumbview->setCanvas(nullptr);
            return;
        }
        canvasview->setCanvas(photo->canvas());
        thumbview->setImageOnly(!photo->showObjects());
        thumbview->setCanvas(photo->canvas());
        setShowObjectsBox(photo->showObjects());
        dropShadow->setChecked(image()->dropShadow());
        updateGUI();
    });
}

void QZImageWell::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        const std::shared_ptr<XmlPhoto> photo = editObj();
        // Attaching again ends the typing in a callout and leaves the tool.
        canvasview->setCanvas(photo ? photo->canvas() : nullptr);
        if (!photo)
            return;
        if (photo->showObjects() != showObjects->isChecked())
            photo->setShowObjects(showObjects->isChecked());
        photo->createInternalImages();
    });
}

void QZImageWell::releaseEditor()
{
    lq::uiFrame(this, "releaseEditor", [&] {
        canvasview->setCanvas(nullptr);
        thumbview->setCanvas(nullptr);
        if (const std::shared_ptr<XmlPhoto> photo = editObj())
            photo->releaseBackstore(this);
        _editObj.reset();
    });
}

void QZImageWell::updateGUI()
{
    lq::uiFrame(this, "updateGUI", [&] {
        XmlImage* picture = image();
        if (!picture)
            return;
        shapeselected->setChecked(false);
        const int shape = static_cast<int>(picture->shape()->shape());
        shapeselected = shapeButtonFor(shape) ? shapeButtonFor(shape) : _shapeButtons[0];
        shapeselected->setChecked(true);
        shapeselected->setAttr1(picture->shape()->attribute());
        showShapeAttribute();
        borderColorWell->setColor(picture->borderColor().toQColor());
        const QSignalBlocker quiet(borderWidthStepper);
        borderWidthStepper->setValue(picture->borderWidth());
    });
}

void QZImageWell::showShapeAttribute()
{
    shapeLabel1->setText(shapeselected->getValue1Label());
    const bool needed = shapeselected->getNeedAttr1();
    shapeLabel1->setEnabled(needed);
    shapeStepper1->setEnabled(needed);
    const QSignalBlocker quiet(shapeStepper1);
    if (needed) {
        shapeStepper1->setSpecialValueText(QString());
        shapeStepper1->setRange(shapeselected->getAttrMin1(), shapeselected->getAttrMax1());
        shapeStepper1->setValue(shapeselected->getAttr1());
    } else {
        // The value field stays empty.
        shapeStepper1->setRange(0, 0);
        shapeStepper1->setSpecialValueText(QStringLiteral(" "));
        shapeStepper1->setValue(0);
    }
}

void QZImageWell::setShowObjectsBox(bool on)
{
    showObjects->setChecked(on);
}

// --- Actions --------------------------------------------------------------------------------------

void QZImageWell::prevImage()
{
    stepPhoto(-1);
}

void QZImageWell::nextImage()
{
    stepPhoto(1);
}

void QZImageWell::stepPhoto(int step)
{
    lq::uiFrame(this, step < 0 ? "prevImage:" : "nextImage:", [&] {
        XmlAlbum* album = _document ? _document->currentAlbum() : nullptr;
        const std::shared_ptr<XmlPhoto> shown = editObj();
        if (!album || !shown)
            return;
        const XmlBaseList photos = album->photoObjects();
        const qsizetype count = photos.size();
        const qsizetype index = photos.indexOf(XmlBasePtr(shown));
        if (index < 0)
            return;
        const qsizetype wanted = ((index + step) % count + count) % count;
        if (XmlPhoto* photo = XmlPhoto::cast(photos[wanted].get()))
            _document->setCurrentObject(photo);
    });
}

void QZImageWell::shapeButton(IWButton* sender)
{
    lq::uiFrame(this, "shapeButton:", [&] {
        shapeselected = sender;
        showShapeAttribute();
        if (XmlImage* picture = image()) {
            picture->shape()->setShape(static_cast<XmlShape::ShapeKind>(sender->tag()));
            picture->shape()->setAttribute(sender->getAttr1());
        }
        updateCanvasView();
        thumbview->update();
    });
}

void QZImageWell::shapeStep1(MyStepper* sender)
{
    lq::uiFrame(this, "shapeStep1:", [&] {
        shapeselected->setAttr1(sender->value());
        {
            const QSignalBlocker quiet(shapeStepper1);
            shapeStepper1->setValue(shapeselected->getAttr1());
        }
        if (XmlImage* picture = image())
            picture->shape()->setAttribute(shapeselected->getAttr1());
        updateCanvasView();
        thumbview->update();
    });
}

void QZImageWell::borderColor(MyColorWell* sender)
{
    if (XmlImage* picture = image())
        picture->setBorderColor(lq::Colour::fromQColor(sender->color()));
    updateCanvasView();
}

void QZImageWell::borderStepper(MyStepper* sender)
{
    if (XmlImage* picture = image())
        picture->setBorderWidth(sender->value());
    updateCanvasView();
}

void QZImageWell::clickDropShadow(MyCheckBox* sender)
{
    if (XmlImage* picture = image())
        picture->setDropShadow(sender->isChecked());
    updateCanvasView();
}

void QZImageWell::clockwise()
{
    rotate(90);
}

void QZImageWell::counterclockwise()
{
    rotate(-90);
}

void QZImageWell::rotate(int degrees)
{
    lq::uiFrame(this, degrees > 0 ? "clockwise:" : "counterclockwise:", [&] {
        const std::shared_ptr<XmlPhoto> photo = photoOfAlbum();
        if (!photo || image()->image().isNull())
            return;
        photo->setNewImage(XmlImage::rotateImageDegrees(image()->image(), degrees));
        // Shown anew: the pane is saved (remaking the thumbnail) and loaded again.
        _document->setCurrentObject(photo.get());
    });
}

void QZImageWell::replaceImage()
{
    const std::shared_ptr<XmlPhoto> photo = photoOfAlbum();
    if (!photo)
        return;
    lq::FilePanelRequest request;
    request.window = _document->myWindow();
    request.title = replaceTitle;
    request.prompt = replacePrompt;
    request.nameFieldLabel = replacePrompt;
    request.folder = QDir::homePath();
    const QString path = lq::modalHandler().runOpenPanel(request);
    if (path.isEmpty())
        return;
    // Read as an import reads it: scaled down to the largest picture the program keeps.
    lq::PictureRefusal refusal;
    const lq::GraphicsImage picture = XmlPhoto::importedPicture(path, &refusal);
    if (picture.isNull()) {
        lq::runAlert(_document->myWindow(), QStringLiteral("\"") + QFileInfo(path).fileName() + QStringLiteral("\" cannot replace the picture"),
            QStringLiteral("It is ") + lq::pictureFaultName(refusal.fault) + QStringLiteral(": ") + refusal.reason
                + QStringLiteral(". The photo keeps its picture."));
        return;
    }
    const std::weak_ptr<XmlPhoto> asked = photo;
    lq::performAfter(this, QStringLiteral("replaceImage2:"), 0.01, [this, asked, picture] {
        // Only for the photo that asked, should it still be shown.
        const std::shared_ptr<XmlPhoto> still = asked.lock();
        if (still && still == editObj())
            lq::uiFrame(this, "replaceImage2:", [&] { replaceImage2(picture); });
    });
}

void QZImageWell::replaceImage2(const lq::GraphicsImage& picture)
{
    const std::shared_ptr<XmlPhoto> photo = photoOfAlbum();
    if (!photo)
        return;
    image()->setCrop(lq::Rect());
    photo->setNewImage(picture);
    _document->setCurrentObject(photo.get());
}

void QZImageWell::showObjectsClicked(MyCheckBox* sender)
{
    thumbview->setImageOnly(!sender->isChecked());
    thumbview->update();
}

// --- For the thumbnail framing view -----------------------------------------------------------------

void QZImageWell::updateCanvasView()
{
    canvasview->update();
}

void QZImageWell::applytoall(double highboost, double brightness, double contrast, double saturation, bool filter)
{
    lq::uiFrame(this, "applytoall:brightness:contrast:saturation:filter:", [&] {
        XmlAlbum* album = _document ? _document->currentAlbum() : nullptr;
        if (!album)
            return;
        for (const XmlBasePtr& child : album->photoObjects()) {
            XmlPhoto* photo = XmlPhoto::cast(child.get());
            if (!photo)
                break;
            XmlCanvas& canvas = *photo->canvas();
            canvas.setHighboost(highboost);
            canvas.setBrightness(brightness);
            canvas.setContrast(contrast);
            canvas.setSaturation(saturation);
            canvas.setUseFilter(filter);
        }
        // The adjustment setters mark nothing; the album's photos did change.
        album->docChanged();
        _document->document().rebuildPhotoAlbum(album);
    });
}
