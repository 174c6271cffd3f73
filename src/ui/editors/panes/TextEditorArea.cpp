#include "ui/editors/panes/TextEditorArea.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyTextView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

const QStringList TextEditorArea::paragraphKindTitles { QStringLiteral("Normal"),  QStringLiteral("Heading"),
                                                        QStringLiteral("Subheading"), QStringLiteral("Caption"),
                                                        QStringLiteral("Alternate"), QStringLiteral("Alternate 2") };

TextEditorArea::TextEditorArea(const QString& heading, const QZTextEditor::ControlOptions& options, QWidget* parent)
    : QWidget(parent)
    , _editor(new QZTextEditor(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* controls = new QWidget(this);
    _row = new QHBoxLayout(controls);
    _row->setContentsMargins(0, 0, 0, 0);
    _row->setSpacing(2);
    _heading = new MyLabel(0, heading, controls);
    _heading->setVisible(!heading.isEmpty());
    _row->addWidget(_heading);
    _row->addSpacing(heading.isEmpty() ? 0 : 6);
    column->addWidget(controls);
    _view = new MyTextView(this);
    // The pane's dividers may make the area small; the text scrolls.
    _view->setMinimumHeight(24);
    _view->setFrameShape(QFrame::StyledPanel);
    column->addWidget(_view, 1);

    _editor->setControls(QZTextEditor::buildControls(controls, options));
    if (options.kindPopUp)
        _editor->setFontStyles(paragraphKindTitles);
    _editor->setCtv(_view);
    // Right-to-left text is for the sites that ask for it (enableRTL).
    _editor->enableRTL(false);
}

TextEditorArea::~TextEditorArea()
{
    // The editor lets the view go before the view is destroyed.
    _editor->setCtv(nullptr);
}

void TextEditorArea::setHost(EditorHost* host)
{
    _editor->setDocument(host ? &host->document() : nullptr);
    _editor->setEasyLinkOpener(host);
}

int TextEditorArea::menuItemState(std::initializer_list<const QZTextEditor*> editors)
{
    for (const QZTextEditor* editor : editors) {
        if (editor->textViewFirstResponder())
            return 0;
    }
    return -1;
}

void TextEditorArea::menuClicked(int tag, std::initializer_list<QZTextEditor*> editors)
{
    for (QZTextEditor* editor : editors) {
        if (editor->textViewFirstResponder()) {
            editor->menuCommand(tag);
            return;
        }
    }
}
