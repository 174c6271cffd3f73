#pragma once

// The text view for editing styled text in place: it takes a copy of a
// storage, lets the user edit it with every attribute kept (custom keys,
// paragraph styles, tab stops), and writes the result back into the storage
// when editing ends.

#include "platform/Range.h"
#include "platform/text/StyledText.h"

#include <QTextEdit>

#include <memory>

namespace lq {

class TextView : public QTextEdit {
public:
    explicit TextView(QWidget* parent = nullptr);
    // A storage still attached receives the edited text.
    ~TextView() override;

    // Starts editing a copy of the storage (any earlier one is written back
    // and let go first).
    void attachTextStorage(std::shared_ptr<StyledText> storage);
    const std::shared_ptr<StyledText>& textStorage() const { return _storage; }
    bool isAttached() const { return _storage != nullptr; }
    // Writes the edited text into the storage and keeps editing.
    void commitToTextStorage();
    // Writes the edited text into the storage and lets it go.
    void detachTextStorage();

    // The edited text.
    StyledText styledText() const;
    void setStyledText(const StyledText& text);

    // The attributes that typed text takes.
    TextAttributes typingAttributes() const;
    void setTypingAttributes(const TextAttributes& attributes);

    Range selectedRange() const;
    void setSelectedRange(Range range);

    // Whether the view paints its own background (off over a canvas).
    void setDrawsBackground(bool draws);

private:
    std::shared_ptr<StyledText> _storage;
};

} // namespace lq
