#include "platform/MimeDataPasteboard.h"

#include <QMimeData>
#include <QUrl>

namespace lq {

std::optional<QString> mimeDataString(const QMimeData* data)
{
    // hasText() also answers yes for a mere list of URLs.
    if (!data || !data->hasFormat(QStringLiteral("text/plain")))
        return std::nullopt;
    return data->text();
}

std::optional<QStringList> mimeDataFilenames(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        // Only files on this machine have a path.
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

MemoryPasteboard pasteboardWithMimeData(const QMimeData* data)
{
    MemoryPasteboard pasteboard;
    if (const std::optional<QString> text = mimeDataString(data))
        pasteboard.setString(*text);
    if (const std::optional<QStringList> paths = mimeDataFilenames(data))
        pasteboard.setFilenames(*paths);
    return pasteboard;
}

} // namespace lq
