#pragma once

#include "model/core/XmlBase.h"

#include <QString>
#include <QStringList>

namespace lq {

class Pasteboard;

// The element the pasteboard holds: read from its plain string when that is
// element XML text; else, when it offers file names, what the file trees
// make of them: an XmlExternalFiles with a file element per existing file
// (absolute path; the paths taken in case-insensitive order) and per file
// anywhere below an existing folder; else nothing. (An element goes onto the
// pasteboard with putOnPasteboard.)
XmlBasePtr createFromPasteboard(const Pasteboard& pasteboard);

// Makes the element's XML text (with its whole subtree) the pasteboard's
// only content, as its plain string.
void putOnPasteboard(XmlBase& element, Pasteboard& pasteboard);

// What pasted file names become: the file trees register their maker at
// start-up (lq::registerFileElements).
using PastedFilesMaker = XmlBasePtr (*)(QStringList paths);
void registerPastedFiles(PastedFilesMaker make);

// True when the path's extension is exactly one of the application's
// picture types (allowedImportFileTypes, which includes no extension).
bool canWeImport(const QString& path);

} // namespace lq
