#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lq {

// A pasteboard through which elements and files are exchanged: the system
// clipboard (ClipboardPasteboard) or one held in memory (MemoryPasteboard).
// It offers up to two types at once: a plain string (the XML text of
// elements) and file names (absolute paths).
class Pasteboard {
public:
    virtual ~Pasteboard();

    // Empties the pasteboard: it offers no type any more.
    virtual void clearContents() = 0;
    // Offers the text as the plain-string type, beside what is offered already.
    virtual void setString(const QString& text) = 0;
    // Offers the paths as the file-names type, beside what is offered already.
    virtual void setFilenames(const QStringList& paths) = 0;

    // The plain string, or nothing when the pasteboard offers none.
    virtual std::optional<QString> string() const = 0;
    // The absolute paths of the file-names type, or nothing when it offers none.
    virtual std::optional<QStringList> filenames() const = 0;

    // Makes the text the pasteboard's only content.
    void declareString(const QString& text);
};

} // namespace lq
