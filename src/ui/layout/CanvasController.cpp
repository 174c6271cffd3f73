// The canvas's views and what the layout controller does for the canvas.
#include "ui/layout/CanvasController.h"

#include "ui/layout/LayoutController.h"
#include "ui/layout/MyScrollView.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"

#include "ui/app/MyDocumentWindow.h"
#include "elements/XmlSlideshow.h"
#include "elements/XmlVornBox.h"
#include "elements/XmlWebBox.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/CautionTape.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/QZLayoutView.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"
#include "ui/widgets/ScreenText.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <optional>

namespace {

// The fields that show the element's geometry, by its class.
std::optional<GeometryFields> geometryFieldsOf(XmlBoxModel& element)
{
    const auto of = [](const char* sheet) { return *geometryFieldsOfSheet(QLatin1String(sheet)); };
    // The footer is a kind of content box: it is asked first.
    if (XmlWebMenu::cast(&element))
        return of("navigation");
    if (XmlWebBox::cast(&element))
        return of(element.name() == u"Masthead" ? "masthead" : "pagetitle");
    if (XmlWebFooter::cast(&element))
        return of("footer");
    if (XmlVornBox::cast(&element))
        return of("vornbox");
    if (XmlWebContent::cast(&element))
        return of("content");
    if (const XmlWebPhotoAlbum* album = XmlWebPhotoAlbum::cast(&element)) {
        // In a grid the album's width and height fields hold its columns and
        // rows; below the text it has no top of its own either.
        GeometryFields fields = of("photoalbum");
        if (album->afterDescription() != 2)
            fields.width = fields.height = 0;
        if (album->afterDescription() != 0 && album->afterDescription() != 2)
            fields.top = 0;
        return fields;
    }
    if (XmlSlideshow::cast(&element))
        return of("slideshow");
    return std::nullopt;
}

// The colour wells of the inspector that the shared colour panel may be
// feeding; a new selection lets go of them all.
constexpr int colorWells[] = {
    111,                                                                              // page
    213, 813,                                                                         // masthead, page title
    314, 316, 318, 320, 322, 324, 326, 328,                                           // navigation
    509,                                                                              // photo album
    603, 608, 613, 618, 623, 624,                                                     // border panel
    713, 721, 722, 723,                                                               // footer
    413, 417, 418, 419, 423, 427, 428, 429, 433, 437, 438, 439, 443, 447, 448, 449, // content
    952, 964, 965, 966, 971, 972, 973, 982,                                           // slideshow
};

} // namespace

CanvasController::CanvasController(LayoutController& controller)
    : _controller(controller)
{
}

void CanvasController::buildCanvasColumn(QBoxLayout* column)
{
    // The caution tape takes its height from the canvas, whose top stays.
    auto* canvasAndTape = new QVBoxLayout;
    canvasAndTape->setSpacing(0);
    _scrollLayoutView = new MyScrollView;
    canvasAndTape->addWidget(_scrollLayoutView, 1);
    _cautionTape = new CautionTape;
    _cautionTape->hide();
    canvasAndTape->addWidget(_cautionTape);
    column->addLayout(canvasAndTape, 1);
    _guideBar = buildGuideControls();
    column->addWidget(_guideBar);
}

MyScrollView* CanvasController::buildBrowserView()
{
    _scrollBrowserView = new MyScrollView;
    return _scrollBrowserView;
}

MyButton* CanvasController::buildCompactButton(QWidget* bar)
{
    _compact = new MyButton(0, QStringLiteral("Hide Tools"), bar);
    _compact->setAutoDefault(false);
    _compact->setCheckable(true);
    QObject::connect(_compact, &QPushButton::clicked, &_controller, [this] { _controller.compactUI(true); });
    return _compact;
}

QWidget* CanvasController::buildTools(QBoxLayout* inspector)
{
    _tools = new QWidget;
    _tools->setLayout(inspector);
    return _tools;
}

void CanvasController::showCanvas(bool testMode)
{
    (testMode ? _scrollBrowserView : _scrollLayoutView)->setSubview(_controller.layoutView());
}

QWidget* CanvasController::buildGuideControls()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lq::plainLabel(QStringLiteral("Guides:")));
    auto* colour = new MyColorWell(0, bar);
    colour->setColor(_controller.layoutView()->guideColor().toQColor());
    QObject::connect(colour, &MyColorWell::colorChanged, &_controller, [this](const QColor& picked) { _controller.layoutView()->setGuideColor(lq::Colour::fromQColor(picked)); });
    row->addWidget(colour);
    // The canvas's action gets the check box; the slot holds nothing of this frame.
    QZLayoutView* canvas = _controller.layoutView();
    const auto check = [&](const QString& title, void (QZLayoutView::*action)(QAbstractButton*)) {
        auto* box = new MyCheckBox(0, title, bar);
        QObject::connect(box, &QCheckBox::toggled, canvas, [canvas, box, action] { (canvas->*action)(box); });
        row->addWidget(box);
        return box;
    };
    check(QStringLiteral("Edges"), &QZLayoutView::enableEdge);
    check(QStringLiteral("Centres"), &QZLayoutView::enableCenter);
    check(QStringLiteral("Page Boundaries"), &QZLayoutView::enablePageBoundaries);
    auto* grid = new MyCheckBox(0, QStringLiteral("Grid"), bar);
    QObject::connect(grid, &QCheckBox::toggled, &_controller, [this](bool on) { _controller.layoutView()->setShowGrid(on); });
    row->addWidget(grid);
    row->addStretch(1);
    return bar;
}

void CanvasController::deactivateColorWells()
{
    for (int tag : colorWells) {
        if (auto* well = qobject_cast<MyColorWell*>(_controller.controlWithTag(tag)))
            well->setActive(false);
    }
}

// --- The canvas's delegate ---------------------------------------------------------------------------------





// --- Compact arrangement -------------------------------------------------------------------------------------

void CanvasController::showGeometryOf(XmlBoxModel* element)
{
    if (!element)
        return;
    const std::optional<GeometryFields> fields = geometryFieldsOf(*element);
    if (!fields)
        return;
    QWidget* view = _controller.sheetView(QLatin1String(fields->sheet));
    const auto* footer = XmlWebFooter::cast(element);
    const auto show = [view](int tag, int value) {
        if (tag != 0)
            lq::showNumberPair(view, tag, value);
    };
    show(fields->top, footer ? footer->voffset() : element->top());
    show(fields->height, element->height());
    show(fields->left, element->left());
    show(fields->width, element->width());
}

lq::Rect CanvasController::moveObjectToRect(XmlCSS* element, const lq::Rect& rect)
{
    if (!element)
        return rect;
    {
        // Position and size are one edit, however many values change.
        const SuppressedChanges quiet(*element);
        element->setObjectRect(rect);
    }
    element->docChanged();
    return element->objectRect();
}

void CanvasController::openContentOf(XmlBase* element)
{
    if (!element)
        return;
    const XmlBasePtr held = element->sharedFromThis();
    const std::shared_ptr<XmlCSS> selection = _controller.layoutView()->currentSelectedObject();
    _controller.window().setCurrentObject(element);
    _controller.window().switchToContentEditor();
    // Saving the editors on the way dropped the canvas selection; a
    // Control-click leaves it as it was.
    if (selection && _controller.layoutView()->currentSelectedObject() != selection)
        _controller.layoutView()->setCurrentSelectedObject(selection.get());
}

void CanvasController::arrangeTools()
{
    const bool hidden = _compact->isChecked();
    _tools->setHidden(hidden);
    _guideBar->setHidden(hidden);
    _compact->setText(hidden ? QStringLiteral("Show Tools") : QStringLiteral("Hide Tools"));
    const int pages = _controller.window().numPagesUsingStylesheet(_controller.getTemplate().get());
    _cautionTape->setNumberOfPages(pages);
    _cautionTape->setVisible(pages >= 2);
    _controller.layoutPage()->update();
}
