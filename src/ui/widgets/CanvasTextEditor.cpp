#include "ui/widgets/CanvasTextEditor.h"

#include "ui/widgets/TextView.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace lq {

namespace {

// Height of the container the text is laid out in: taller than any callout.
constexpr qreal containerHeight = 10000;

// A text view that draws its text, and takes its clicks, at a scale: the
// text is laid out at canvas size and shown at view size.
class ZoomedTextView : public TextView {
public:
    ZoomedTextView(QWidget* parent, qreal scale)
        : TextView(parent)
        , _scale(scale)
    {
        // The frame shows the whole text rectangle, so the view never
        // scrolls: at a zoom below 1 the text view, measuring the canvas-sized
        // text against its smaller frame, would scroll the text out of sight
        // as the caret moves on.
        for (QScrollBar* bar : { horizontalScrollBar(), verticalScrollBar() })
            connect(bar, &QScrollBar::valueChanged, this, [bar] { bar->setValue(0); });
    }

    // A press at the point of the viewport, as a click there places the caret.
    void pressAt(const QPointF& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent press(QEvent::MouseButtonPress, point, viewport()->mapToGlobal(point), button, button, modifiers);
        mousePressEvent(&press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, viewport()->mapToGlobal(point), button, Qt::NoButton, modifiers);
        mouseReleaseEvent(&release);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (_scale == 1) {
            TextView::paintEvent(event);
            return;
        }
        QPainter painter(viewport());
        painter.scale(_scale, _scale);
        painter.translate(-horizontalScrollBar()->value() / _scale, -verticalScrollBar()->value() / _scale);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = palette();
        context.clip = QRectF(event->rect().topLeft() / _scale, QSizeF(event->rect().size()) / _scale);
        const QTextCursor cursor = textCursor();
        if (hasFocus())
            context.cursorPosition = cursor.position();
        if (cursor.hasSelection()) {
            QAbstractTextDocumentLayout::Selection selection;
            selection.cursor = cursor;
            selection.format.setBackground(palette().highlight());
            selection.format.setForeground(palette().highlightedText());
            context.selections.append(selection);
        }
        document()->documentLayout()->draw(&painter, context);
    }
    void mousePressEvent(QMouseEvent* event) override { forward(event, [this](QMouseEvent* e) { TextView::mousePressEvent(e); }); }
    void mouseMoveEvent(QMouseEvent* event) override { forward(event, [this](QMouseEvent* e) { TextView::mouseMoveEvent(e); }); }
    void mouseReleaseEvent(QMouseEvent* event) override { forward(event, [this](QMouseEvent* e) { TextView::mouseReleaseEvent(e); }); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { forward(event, [this](QMouseEvent* e) { TextView::mouseDoubleClickEvent(e); }); }

private:
    // Passes the event on with its point taken from view to canvas size.
    template <typename Handler>
    void forward(QMouseEvent* event, Handler handler)
    {
        if (_scale == 1) {
            handler(event);
            return;
        }
        QMouseEvent scaled(event->type(), event->position() / _scale, event->globalPosition(), event->button(),
                           event->buttons(), event->modifiers());
        handler(&scaled);
        event->setAccepted(scaled.isAccepted());
    }

    qreal _scale;
};

} // namespace

CanvasTextEditor::CanvasTextEditor() = default;

CanvasTextEditor::~CanvasTextEditor()
{
    close();
}

void CanvasTextEditor::open(QObject* view, std::shared_ptr<StyledText> storage, qreal width, const QRectF& frame, qreal scale)
{
    close();
    _host = qobject_cast<QWidget*>(view);
    _container = std::make_shared<TextContainer>(QSizeF(width, containerHeight));
    _layout.addTextContainer(_container);
    _layout.setTextStorage(std::move(storage));

    auto* textView = new ZoomedTextView(_host, scale);
    _view = textView;
    textView->setFrameStyle(QFrame::NoFrame);
    textView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textView->document()->setDocumentMargin(0);
    textView->setDrawsBackground(false);
    textView->attachTextContainer(_container);
    textView->setGeometry(frame.toAlignedRect());
    textView->setSelectedRange({ 0, _layout.textStorage() ? _layout.textStorage()->length() : 0 });
    textView->show();
}

void CanvasTextEditor::setTextDidChange(std::function<void()> callback)
{
    QObject::disconnect(_changed);
    if (_view && callback)
        _changed = QObject::connect(_view, &QTextEdit::textChanged, _view, std::move(callback));
}

void CanvasTextEditor::focus(QEvent* event)
{
    auto* textView = static_cast<ZoomedTextView*>(_view.data());
    if (!textView)
        return;
    textView->setFocus(Qt::OtherFocusReason);
    if (event && event->type() == QEvent::MouseButtonPress) {
        const auto* click = static_cast<QMouseEvent*>(event);
        // The click is in the host's coordinates.
        const QPointF point = click->position() - QPointF(textView->geometry().topLeft());
        textView->pressAt(point, click->button(), click->modifiers());
    }
}

void CanvasTextEditor::setAlignment(TextAlignment alignment)
{
    if (_view)
        _view->setTextAlignment(alignment);
}

TextAlignment CanvasTextEditor::alignment() const
{
    return _view ? _view->textAlignment() : TextAlignment::Natural;
}

void CanvasTextEditor::close()
{
    QObject::disconnect(_changed);
    if (_view) {
        _view->detachTextStorage();
        delete _view.data();
    }
    if (_container)
        _layout.removeTextContainer(_container.get());
    _container.reset();
    _layout.setTextStorage(nullptr);
    if (_host)
        _host->update();
    _host = nullptr;
}

void CanvasTextEditor::redisplayHost()
{
    if (_host)
        _host->update();
}

TextView* CanvasTextEditor::textView() const
{
    return _view.data();
}

} // namespace lq
