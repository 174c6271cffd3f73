#pragma once
#include "ui/editors/text/QZTextEditor.h"

#include <QWidget>

class EditorHost;
class MyLabel;
class MyTextView;
class QHBoxLayout;

// A pane's rich-text area: the row of the editor's controls (after a
// heading) above the text view, with the rich-text editor that drives them. The pane tells
// the editor what to load and store; the editor marks the document changed
// as the user types.
class TextEditorArea : public QWidget {
    Q_OBJECT
public:
    // The paragraph kinds' titles of the kind pop-up.
    static const QStringList paragraphKindTitles;

    TextEditorArea(const QString& heading, const QZTextEditor::ControlOptions& options, QWidget* parent = nullptr);
    ~TextEditorArea() override;

    QZTextEditor* editor() const { return _editor; }
    MyTextView* view() const { return _view; }
    MyLabel* heading() const { return _heading; }
    // The row of the editor's controls.
    QHBoxLayout* controlsRow() const { return _row; }
    // The document typing marks changed; the window is the link picker.
    void setHost(EditorHost* host);

    // The text menu's state while one of the editors has the keyboard focus
    // (0, enabled), else -1 (disabled).
    static int menuItemState(std::initializer_list<const QZTextEditor*> editors);
    // Hands the text menu's command to the first editor that has the focus.
    static void menuClicked(int tag, std::initializer_list<QZTextEditor*> editors);

private:
    QZTextEditor* _editor;
    MyLabel* _heading;
    QHBoxLayout* _row;
    MyTextView* _view;
};
