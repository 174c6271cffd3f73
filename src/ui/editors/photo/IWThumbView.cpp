#include "ui/editors/photo/IWThumbView.h"

#include "ui/editors/photo/QZImageWell.h"
#include "model/imaging/XmlCanvas.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/graphics/GraphicsContext.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MySlider.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QString zeroAspect = QStringLiteral("width or height = 0");

void showValue(MySlider* slider, double value)
{
    if (!slider)
        return;
    const QSignalBlocker quiet(slider);
    slider->setValue(static_cast<int>(std::lround(value * IWThumbView::sliderSteps)));
}

void showValue(MyLabel* field, const char* format, double value)
{
    if (field)
        field->setText(QString::asprintf(format, value));
}

} // namespace

IWThumbView::IWThumbView(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::OpenHandCursor);
    setMinimumSize(previewWidth + 1, previewHeight + 1);
    _tracker.setHandlers({
        [this](QPointF at) { return beginDrag(at); },
        [this](QPointF, QPointF to) { dragTo(to); },
        [this](QPointF, QPointF to) { dragTo(to); },
    });
}

IWThumbView::~IWThumbView() = default;

QSize IWThumbView::sizeHint() const
{
    return QSize(previewWidth + 1, previewHeight + 1);
}

void IWThumbView::setControls(const Controls& controls)
{
    _controls = controls;
    const std::pair<MySlider*, void (IWThumbView::*)(MySlider*)> sliders[] = {
        { _controls.scaler, &IWThumbView::scale },
        { _controls.highboost, &IWThumbView::highboost },
        { _controls.brightness, &IWThumbView::brightness },
        { _controls.contrast, &IWThumbView::contrast },
        { _controls.saturation, &IWThumbView::saturation },
    };
    for (const auto& [slider, action] : sliders) {
        if (slider)
            connect(slider, &QSlider::valueChanged, this, [this, slider, action] { (this->*action)(slider); });
    }
    if (MyCheckBox* box = _controls.usefilter)
        connect(box, &QCheckBox::clicked, this, [this, box] { useFilter(box); });
    if (MyButton* button = _controls.applyToAll)
        connect(button, &QPushButton::clicked, this, [this] { applytoall(); });
}

void IWThumbView::setCanvas(const std::shared_ptr<XmlCanvas>& canvas)
{
    _canvas = canvas;
    if (_canvas) {
        showValue(_controls.scaler, 1.0 - _canvas->thumbScale());
        showValue(_controls.highboost, _canvas->highboost());
        showValue(_controls.hbval, "%.2f", _canvas->highboost());
        showValue(_controls.brightness, _canvas->brightness());
        showValue(_controls.brval, "%.1f", _canvas->brightness());
        showValue(_controls.contrast, _canvas->contrast());
        showValue(_controls.coval, "%.1f", _canvas->contrast());
        showValue(_controls.saturation, _canvas->saturation());
        showValue(_controls.saval, "%.1f", _canvas->saturation());
        if (_controls.usefilter)
            _controls.usefilter->setChecked(_canvas->useFilter());
    }
    update();
}

lq::Rect IWThumbView::previewFrame(float ax, float ay)
{
    if (ax == 0 || ay == 0)
        lq::raise(QStringLiteral("Divide By 0"), zeroAspect);
    // Taller than 4 by 3: the full height, narrower; otherwise the full width, lower.
    int width = previewWidth;
    int margin = 0;
    if (ay / ax > 0.75f) {
        width = static_cast<int>(ax * previewHeight / ay);
        margin = previewWidth - width;
    }
    const int height = static_cast<int>(ay * static_cast<float>(width) / ax);
    return lq::Rect(static_cast<float>(margin / 2), static_cast<float>((previewHeight - height) / 2),
                    static_cast<float>(width), static_cast<float>(height))
        .integral();
}

// --- Drawing and dragging ---------------------------------------------------------------------

void IWThumbView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    lq::uiFrame(this, "drawRect:", [&] {
        lq::Rect outline { QRectF(rect()) };
        if (_canvas) {
            const lq::Rect frame = previewFrame(_canvas->thumbAspectX(), _canvas->thumbAspectY());
            {
                lq::GraphicsContext::Scope scope(painter);
                _canvas->drawThumbNailWithWidthImageOnly(frame, static_cast<int>(frame.width()), _imageOnly);
            }
            outline = frame;
        }
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline.toQRectF().adjusted(0.5, 0.5, -0.5, -0.5));
    });
}

void IWThumbView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !_tracker.press(event))
        QWidget::mousePressEvent(event);
}

void IWThumbView::mouseMoveEvent(QMouseEvent* event)
{
    if (!_tracker.move(event))
        QWidget::mouseMoveEvent(event);
}

void IWThumbView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool dragged = _tracker.release(event);
    setCursor(Qt::OpenHandCursor);
    if (!dragged)
        QWidget::mouseReleaseEvent(event);
}

bool IWThumbView::beginDrag(const QPointF& at)
{
    return lq::uiFrame(this, "mouseDown:", [&] {
        if (!_canvas)
            return false;
        const lq::Rect frame = previewFrame(_canvas->thumbAspectX(), _canvas->thumbAspectY());
        _startOffsetX = _canvas->thumbOffsetX();
        _startOffsetY = _canvas->thumbOffsetY();
        _frameWidth = frame.width();
        _frameHeight = frame.height();
        _pressPoint = at;
        setCursor(Qt::ClosedHandCursor);
        return true;
    });
}

void IWThumbView::dragTo(const QPointF& at)
{
    lq::uiFrame(this, "mouseDown:", [&] {
        if (!_canvas)
            return;
        if (_frameWidth == 0 || _frameHeight == 0)
            lq::raise(QStringLiteral("Divide By 0"), QStringLiteral("thumbWidth or thumbHeight = 0"));
        // The framed part moves against the hand, in preview widths and heights.
        _canvas->setThumbOffsetX(_startOffsetX - static_cast<float>(at.x() - _pressPoint.x()) / _frameWidth);
        _canvas->setThumbOffsetY(_startOffsetY - static_cast<float>(at.y() - _pressPoint.y()) / _frameHeight);
        update();
    });
}

// --- Actions ----------------------------------------------------------------------------------

double IWThumbView::valueOf(const MySlider* slider)
{
    return static_cast<double>(slider->value()) / sliderSteps;
}

void IWThumbView::scale(MySlider* sender)
{
    lq::uiFrame(this, "scale:", [&] {
        if (_canvas)
            _canvas->setThumbScale(static_cast<float>(1.0 - valueOf(sender)));
        update();
    });
}

void IWThumbView::adjust(MySlider* slider, const char* action, void (XmlCanvas::*set)(double), MyLabel* field,
                         const char* format)
{
    lq::uiFrame(this, action, [&] {
        if (_canvas)
            ((*_canvas).*set)(valueOf(slider));
        showValue(field, format, valueOf(slider));
        update();
        if (!_canvas)
            return;
        // The adjustment setters mark nothing; the photo did change.
        _canvas->docChanged();
        if (_canvas->useFilter() && _master)
            _master->updateCanvasView();
    });
}

void IWThumbView::highboost(MySlider* sender)
{
    adjust(sender, "highboost:", &XmlCanvas::setHighboost, _controls.hbval, "%.2f");
}

void IWThumbView::brightness(MySlider* sender)
{
    adjust(sender, "brightness:", &XmlCanvas::setBrightness, _controls.brval, "%.1f");
}

void IWThumbView::contrast(MySlider* sender)
{
    adjust(sender, "contrast:", &XmlCanvas::setContrast, _controls.coval, "%.1f");
}

void IWThumbView::saturation(MySlider* sender)
{
    adjust(sender, "saturation:", &XmlCanvas::setSaturation, _controls.saval, "%.1f");
}

void IWThumbView::useFilter(MyCheckBox* sender)
{
    lq::uiFrame(this, "useFilter:", [&] {
        if (_canvas) {
            _canvas->setUseFilter(sender->isChecked());
            _canvas->docChanged();
        }
        if (_master)
            _master->updateCanvasView();
    });
}

void IWThumbView::applytoall()
{
    lq::uiFrame(this, "applytoall:", [&] {
        if (!_master)
            return;
        const auto value = [](const MySlider* slider) { return slider ? valueOf(slider) : 0.0; };
        _master->applytoall(value(_controls.highboost), value(_controls.brightness), value(_controls.contrast),
                            value(_controls.saturation), _controls.usefilter && _controls.usefilter->isChecked());
    });
}
