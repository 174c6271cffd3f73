#include "ui/layout/QZLayoutView.h"

#include "document/MyDocument.h"
#include "elements/XmlVornBox.h"
#include "ui/layout/LayoutController.h"
#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/PreviewView.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/PreviewWidgets.h"
#include "ui/widgets/RulerView.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlStyleSheet.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr float unbounded = 1000000.0f;

QWidget* asWidget(lq::PreviewView* view)
{
    return dynamic_cast<QWidget*>(view);
}

} // namespace

QZLayoutView::QZLayoutView(LayoutController& controller, MyDocument& document, QWidget* parent)
    : QWidget(parent)
    , _controller(controller)
    , _document(document)
{
    lq::uiFrame(this, "initWithFrame:", [&] {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);

        _contents = std::make_shared<lq::StyledText>();
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_contents);
        _tc = std::make_shared<lq::TextContainer>(QSizeF(unbounded, unbounded));
        _tc->setLineFragmentPadding(0);
        _lm->addTextContainer(_tc);

        // The coordinate read-out: a small panel over the canvas, shown while
        // Option is held in layout mode; it never takes a click.
        _cordView = new QFrame(this);
        auto* frame = static_cast<QFrame*>(_cordView);
        frame->setFrameShape(QFrame::Box);
        frame->setAutoFillBackground(true);
        _cordStat = new MyLabel(0, QString(), _cordView);
        new QHBoxLayout(_cordView);
        _cordView->layout()->setContentsMargins(4, 2, 4, 2);
        _cordView->layout()->addWidget(_cordStat);
        _cordView->setAttribute(Qt::WA_TransparentForMouseEvents);
        _cordView->hide();

        _tracker.setHandlers({
            [this](QPointF at) { return mouseDown(at); },
            [this](QPointF, QPointF to) {
                if (!dragStep(to))
                    _tracker.cancel();
            },
            [this](QPointF, QPointF to) { mouseUp(to); },
        });
    });
    // The Vorn Boxes' live views become widgets on this canvas.
    lq::installPreviewWidgets(this);
}

QZLayoutView::~QZLayoutView()
{
    lq::uiFrame(this, "dealloc", [&] { clearBrowserViews(); });
}

// --- Grid and guides ----------------------------------------------------------------------------

void QZLayoutView::setGridX(int spacing)
{
    _gridX = spacing;
    update();
}

void QZLayoutView::setGridY(int spacing)
{
    _gridY = spacing;
    update();
}

void QZLayoutView::setShowGrid(bool show)
{
    _showGrid = show;
    update();
}

void QZLayoutView::setGridColor(const lq::Colour& colour)
{
    _gridColor = colour;
    update();
}

void QZLayoutView::setGridAlpha(float alpha)
{
    _gridAlpha = alpha;
    update();
}

void QZLayoutView::setGuideColor(const lq::Colour& colour)
{
    _guideColor = colour;
    update();
}

void QZLayoutView::enableEdge(QAbstractButton* sender)
{
    _enableEdgeGuides = sender && sender->isChecked();
    update();
}

void QZLayoutView::enableCenter(QAbstractButton* sender)
{
    _enableCenterGuides = sender && sender->isChecked();
    update();
}

void QZLayoutView::enablePageBoundaries(QAbstractButton* sender)
{
    _enablePageBoundaries = sender && sender->isChecked();
    update();
}

// --- Modes and selection -----------------------------------------------------------------------

void QZLayoutView::setTestMode(bool testMode)
{
    if (testMode) {
        setCurrentSelectedObject(nullptr);
        _cordView->hide();
        // A canvas of another window may have made the views since.
        lq::installPreviewWidgets(this);
    }
    _testMode = testMode;
    letBrowserViewsTakeClicks();
}

// --- Redisplay ---------------------------------------------------------------------------------------

void QZLayoutView::redisplayRect(const lq::Rect&)
{
    update();
}

void QZLayoutView::redisplayObject()
{
    update(refreshRect().toQRectF().translated(_pageOffset).toAlignedRect());
}

lq::Rect QZLayoutView::refreshRect() const
{
    return lq::Rect(_bodyRect.x() - 10, _bodyRect.y() - 10, _bodyRect.width() + 20, _bodyRect.height() + 20);
}

lq::Rect QZLayoutView::imageBounds()
{
    return lq::uiFrame(this, "imageBounds", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        return sheet ? sheet->objectRect() : lq::Rect();
    });
}

lq::Point QZLayoutView::pagePoint(const QPointF& widgetPoint) const
{
    return lq::Point(float(widgetPoint.x() - _pageOffset.x()), float(widgetPoint.y() - _pageOffset.y()));
}

void QZLayoutView::calcGrabHandles()
{
    const float x = _bodyRect.x();
    const float y = _bodyRect.y();
    const float w = _bodyRect.width();
    const float h = _bodyRect.height();
    // Bottom left first, round to the left middle (y grows downwards).
    const std::array<lq::Point, 8> anchors = {
        lq::Point(x, y + h), lq::Point(x + w / 2, y + h), lq::Point(x + w, y + h), lq::Point(x + w, y + h / 2),
        lq::Point(x + w, y), lq::Point(x + w / 2, y), lq::Point(x, y), lq::Point(x, y + h / 2),
    };
    for (std::size_t n = 0; n < anchors.size(); ++n)
        _grabber[n] = lq::Rect(anchors[n].x - 3, anchors[n].y - 3, 7, 7);
}

// --- Live views of the Vorn Boxes ------------------------------------------------------------------

std::shared_ptr<XmlStyleSheet> QZLayoutView::stylesheet()
{
    return lq::uiFrame(this, "stylesheet", [&]() -> std::shared_ptr<XmlStyleSheet> {
        std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        if (!sheet) {
            clearBrowserViews();
            return nullptr;
        }
        bringBrowserViewsInStep(*sheet);
        return sheet;
    });
}

void QZLayoutView::bringBrowserViewsInStep(XmlStyleSheet& sheet)
{
    // Outside test mode no box asks for a view, so every view goes.
    sheet.setShowVornViews(_testMode);
    const QList<std::shared_ptr<XmlVornBox>> boxes = sheet.getVornBoxes();
    const auto wantsView = [](XmlVornBox& box) { return box.requiresView() && box.visible(); };
    const auto listed = [&](int vorn) {
        return std::any_of(_browserViews.begin(), _browserViews.end(), [&](const BrowserView& entry) { return entry.vorn == vorn; });
    };
    for (const auto& box : boxes) {
        if (!wantsView(*box) || listed(box->vornSeqNum()))
            continue;
        std::unique_ptr<lq::PreviewView> view = box->createView();
        if (!view)
            continue;
        if (QWidget* widget = asWidget(view.get())) {
            if (widget->parentWidget() != this)
                widget->setParent(this);
            widget->show();
        }
        _browserViews.push_back(BrowserView { box->vornSeqNum(), std::move(view) });
    }
    // A view whose box is gone, hidden or no longer needs one goes.
    std::erase_if(_browserViews, [&](const BrowserView& entry) {
        return std::none_of(boxes.begin(), boxes.end(), [&](const std::shared_ptr<XmlVornBox>& box) {
            return box->vornSeqNum() == entry.vorn && wantsView(*box);
        });
    });
    lq::setPreviewOrigin(this, _pageOffset);
    letBrowserViewsTakeClicks();
}

void QZLayoutView::letBrowserViewsTakeClicks()
{
    // In layout mode the canvas takes every click, over a live view too.
    const bool theirOwn = _document.testMode();
    for (const BrowserView& entry : _browserViews) {
        if (QWidget* widget = asWidget(entry.view.get()))
            widget->setAttribute(Qt::WA_TransparentForMouseEvents, !theirOwn);
    }
}

lq::PreviewView* QZLayoutView::getWidgetView(int vornSeqNum) const
{
    return lq::uiFrame(this, "getWidgetView:", [&]() -> lq::PreviewView* {
        for (const BrowserView& entry : _browserViews) {
            if (entry.vorn == vornSeqNum)
                return entry.view.get();
        }
        return nullptr;
    });
}

void QZLayoutView::clearBrowserViews()
{
    lq::uiFrame(this, "clearBrowserViews", [&] { _browserViews.clear(); });
}

// --- Frame and rulers --------------------------------------------------------------------------------

void QZLayoutView::fitMe()
{
    lq::uiFrame(this, "fitMe", [&] {
        const QSize visible = parentWidget() ? parentWidget()->size() : size();
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        const lq::Rect page = sheet ? sheet->objectRect() : lq::Rect();
        const QSize fitted(std::max(lq::truncatedPixel(page.width()), visible.width()),
                           std::max(lq::truncatedPixel(page.height()), visible.height()));
        if (size() != fitted)
            resize(fitted);
        update();
    });
}

void QZLayoutView::selectedObjectRefresh()
{
    lq::uiFrame(this, "selectedObjectRefresh", [&] {
        if (XmlBoxModel* box = XmlBoxModel::cast(currentSelectedObject().get()))
            _bodyRect = box->objectRect();
        fitMe();
    });
}

void QZLayoutView::doRulerLines(const QString& text)
{
    if (!_horzRuler || !_vertRuler)
        return;
    oldRulerRect = lq::stringToRect(text);
    markRulers();
}

// --- Hot rectangles ------------------------------------------------------------------------------------

void QZLayoutView::addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect)
{
    _trackingData.addTrackingDataForObjectDataRect(uuid, data, rect);
}

void QZLayoutView::clearTrackingDataForObject(const QString& uuid)
{
    _trackingData.clearTrackingDataForObject(uuid);
}

void QZLayoutView::clearTrackingData()
{
    _trackingData.clearTrackingData();
}

// --- Pointer and keys ------------------------------------------------------------------------------------

void QZLayoutView::mouseMoveEvent(QMouseEvent* event)
{
    if (_tracker.isPressed()) {
        // Modifier changes during a drag still reach the read-out.
        if (event->modifiers() != _modifiers) {
            _modifiers = event->modifiers();
            flagsChanged(_modifiers);
        }
        _tracker.move(event);
        return;
    }
    _modifiers = event->modifiers();
    if (event->buttons() == Qt::NoButton)
        lq::uiFrame(this, "mouseMoved:", [&] { mouseMoved(event); });
}

void QZLayoutView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    _modifiers = event->modifiers();
    if (!_tracker.isPressed())
        _tracker.press(event);
}

void QZLayoutView::mouseReleaseEvent(QMouseEvent* event)
{
    _tracker.release(event);
}

void QZLayoutView::flagsChanged(Qt::KeyboardModifiers modifiers)
{
    _cordView->setVisible(!_testMode && (modifiers & Qt::AltModifier));
}
