#pragma once

// The editing view of the canvases: a text view laid over the view that
// shows a canvas, editing a styled text in place. The text is laid out at
// canvas size (wrapped at the given width, with the line fragment padding of
// the canvas's own text drawing) and drawn and clicked at the canvas's zoom,
// so that it shows where and as the canvas draws it.

#include "platform/text/InPlaceTextEditor.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/TextContainer.h"

#include <QMetaObject>
#include <QPointer>

#include <memory>

namespace lq {

class TextView;

class CanvasTextEditor : public InPlaceTextEditor {
public:
    CanvasTextEditor();
    ~CanvasTextEditor() override;

    void open(QObject* view, std::shared_ptr<StyledText> storage, qreal width, const QRectF& frame, qreal scale) override;
    void setTextDidChange(std::function<void()> callback) override;
    void focus(QEvent* event) override;
    void setAlignment(TextAlignment alignment) override;
    TextAlignment alignment() const override;
    void close() override;
    void redisplayHost() override;

    // The text view while the editor is open, or none.
    TextView* textView() const;

private:
    LayoutManager _layout;
    std::shared_ptr<TextContainer> _container;
    QPointer<QWidget> _host;
    QPointer<TextView> _view;
    QMetaObject::Connection _changed;
};

} // namespace lq
