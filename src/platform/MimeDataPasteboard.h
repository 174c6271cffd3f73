#pragma once

#include "platform/MemoryPasteboard.h"

#include <QString>
#include <QStringList>

#include <optional>

class QMimeData;

namespace lq {

// What clipboard and drag-and-drop data offer as pasteboard types: the plain
// string is the data's own "text/plain" (the text Qt makes of a list of URLs
// does not count), the file names are its local "text/uri-list" entries.

// The plain string, or nothing when the data has none.
std::optional<QString> mimeDataString(const QMimeData* data);
// The paths of the data's local file URLs, or nothing when it has no URLs.
std::optional<QStringList> mimeDataFilenames(const QMimeData* data);
// A pasteboard holding a copy of both types, for the readers of the model.
MemoryPasteboard pasteboardWithMimeData(const QMimeData* data);

} // namespace lq
