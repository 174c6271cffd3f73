#pragma once

// The text view for editing styled text in place: it edits a storage with
// every attribute kept (custom keys, paragraph styles, tab stops). Every
// edit reaches the storage at once, and a change that someone else makes to
// the storage while it is attached shows in the view before the view next
// paints, takes input or answers about its text, so the storage and the view
// always show the same text.
//
// Attached to a text container, the view edits the text laid into it (its
// layout manager's storage) and wraps lines as the container does: at the
// width of the container's lines, whatever the view's own width, with the
// container's line fragment padding. The container answers the view as its
// text view while it is attached.

#include "platform/Range.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"

#include <QTextEdit>

#include <memory>

namespace lq {

class TextView : public QTextEdit {
public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // Starts editing the storage (any earlier one is let go first). Null
    // lets go.
    void attachTextStorage(std::shared_ptr<StyledText> storage);
    // Starts editing the text of the container's layout manager; a container
    // without a layout manager or storage gives an empty text that is kept
    // nowhere. Null lets go.
    void attachTextContainer(const std::shared_ptr<TextContainer>& container);
    const std::shared_ptr<StyledText>& textStorage() const { return _storage; }
    // The attached container, or null.
    TextContainer* textContainer() const { return _container.lock().get(); }
    bool isAttached() const { return _storage != nullptr; }
    // Writes the view's text into the storage (edits reach it anyway; this
    // also overwrites a change made to the storage that the view has not
    // shown yet).
    void commitToTextStorage();
    // Lets the storage and the container go; the storage keeps the edits.
    void detachTextStorage();

    // The edited text; setting it sets the attached storage's too.
    StyledText styledText() const;
    void setStyledText(const StyledText& text);

    // Attributes of the edited text, as those of StyledText: indexes and
    // ranges are those of the styled text. A paragraph style goes to every
    // paragraph that the range touches. Each edit is one undo step.
    TextAttributes attributesAt(quint32 index, Range* effectiveRange = nullptr) const;
    void addAttributes(const TextAttributes& attributes, Range range);
    void removeAttribute(QStringView key, Range range);

    // The attributes that typed text takes. Setting them changes no text:
    // selected text keeps its attributes, and a paragraph style reaches the
    // paragraph at the caret only while it is empty (a paragraph that has
    // text keeps its own style).
    TextAttributes typingAttributes() const;
    void setTypingAttributes(const TextAttributes& attributes);

    // Alignment of the paragraphs that the selection touches, and of the
    // paragraph where it starts.
    void setTextAlignment(TextAlignment alignment);
    TextAlignment textAlignment() const;

    Range selectedRange() const;
    void setSelectedRange(Range range);

    // Whether the view paints its own background (off over a canvas).
    void setDrawsBackground(bool draws);

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void attach(std::shared_ptr<StyledText> storage, const std::shared_ptr<TextContainer>& container);
    // Writes the view's text into the storage after an edit of the view.
    void documentEdited();
    // Shows the storage again when someone else changed it, and takes the
    // container's line width again when it changed.
    void followTextStorage() const;
    void applyContainerGeometry() const;
    void loadStyledText(const StyledText& text) const;

    std::shared_ptr<StyledText> _storage;
    std::weak_ptr<TextContainer> _container;
    // The storage's revision when the view last wrote or showed it.
    mutable quint64 _storageRevision = 0;
    mutable qreal _wrapWidth = -1;
    mutable qreal _padding = -1;
    mutable bool _loading = false;
};

} // namespace lq
