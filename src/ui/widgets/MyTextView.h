#pragma once
#include "ui/widgets/TextView.h"

#include <functional>

// The program's styled-text view. Copying puts the selected styled text on
// the clipboard under the program's own type "Lumenquill Pasteboard Text"
// beside the usual types, and pasting prefers that type, so text keeps its
// fonts and colours between the program's views. An editor that owns the
// view can reduce pasted text at once to what it stores (the paste filter).
// The view reports when it takes and gives up the keyboard focus.
class MyTextView : public lq::TextView {
    Q_OBJECT
public:
    // The clipboard format of the program's own styled text (RTF inside).
    static const QString pasteboardType;

    explicit MyTextView(QWidget* parent = nullptr);

    // Called after styled text of the program's own type was pasted.
    void setPasteFilter(std::function<void(MyTextView*)> filter) { _pasteFilter = std::move(filter); }

    // Puts the styled text of the selection on the mime data under the
    // program's type; false when nothing is selected.
    bool writeSelectionToMimeData(QMimeData* data) const;
    // Replaces the selection with the program's styled text from the mime
    // data; false when it holds none or it cannot be read.
    bool readSelectionFromMimeData(const QMimeData* data);

Q_SIGNALS:
    void becameFirstResponder(MyTextView* view);
    void resignedFirstResponder(MyTextView* view);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::function<void(MyTextView*)> _pasteFilter;
};
