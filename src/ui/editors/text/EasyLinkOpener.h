#pragma once

class QZTextEditor;

// Opens the link picker for a rich-text editor (the document window does).
// The picker answers the editor with setEasyLink when the user has chosen a
// link, and not at all when the user cancels.
class EasyLinkOpener {
public:
    virtual ~EasyLinkOpener() = default;
    virtual void easyLink(QZTextEditor* editor) = 0;
};
