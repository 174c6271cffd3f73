#pragma once

// An editing view that a model object opens over the view that shows it, to
// edit a styled text in place. The model knows only this interface; the user
// interface puts the factory that makes the views (a text view laid over the
// canvas) in the services (Services::inPlaceTextEditorFactory), so the model
// stays free of widgets. Without a factory no editing view can be made, and
// edits are not opened.
//
// The text is laid out at canvas size, at the given width without wrapping
// to the view's own width, and shown scaled into the frame (view
// coordinates), so that it looks as the canvas draws it at the view's zoom.

#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"

#include <QRectF>

#include <functional>
#include <memory>

class QEvent;
class QObject;

namespace lq {

class InPlaceTextEditor {
public:
    virtual ~InPlaceTextEditor();

    // A new editing view, or nothing when the services have no factory.
    static std::unique_ptr<InPlaceTextEditor> make();

    // Shows the storage in the view: laid out `width` canvas units wide, the
    // frame in view coordinates, `scale` view units per canvas unit. The
    // whole text is selected.
    virtual void open(QObject* view, std::shared_ptr<StyledText> storage, qreal width, const QRectF& frame, qreal scale) = 0;
    // Called after every edit of the text while the view is open.
    virtual void setTextDidChange(std::function<void()> callback) = 0;
    // Takes the keyboard focus; a mouse event, when given, places the caret.
    virtual void focus(QEvent* event) = 0;
    // Of the paragraphs the selection touches, and of the one where it starts.
    virtual void setAlignment(TextAlignment alignment) = 0;
    virtual TextAlignment alignment() const = 0;
    // Removes the view from the view it was shown in and lets the storage go
    // (the storage keeps the edits).
    virtual void close() = 0;
    // Asks the view the editor was shown in to show itself again.
    virtual void redisplayHost() = 0;
};

} // namespace lq
