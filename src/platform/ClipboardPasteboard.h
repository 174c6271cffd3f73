#pragma once

#include "platform/Pasteboard.h"

#include <QClipboard>

namespace lq {

// The system clipboard as a pasteboard: the plain string is the clipboard's
// text, the file names its list of local file URLs ("text/uri-list"). Needs
// a running QGuiApplication.
class ClipboardPasteboard : public Pasteboard {
public:
    explicit ClipboardPasteboard(QClipboard::Mode mode = QClipboard::Clipboard);

    void clearContents() override;
    void setString(const QString& text) override;
    void setFilenames(const QStringList& paths) override;
    std::optional<QString> string() const override;
    std::optional<QStringList> filenames() const override;

private:
    QClipboard::Mode _mode;
};

} // namespace lq
