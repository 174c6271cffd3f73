#include "platform/ClipboardPasteboard.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace lq {

namespace {

QClipboard* clipboard()
{
    return QGuiApplication::clipboard();
}

// A copy of what the clipboard offers now, to which one more type is added:
// the clipboard takes a whole new QMimeData at each change.
QMimeData* currentContents(QClipboard::Mode mode)
{
    auto* data = new QMimeData;
    if (const QMimeData* present = clipboard()->mimeData(mode)) {
        for (const QString& format : present->formats())
            data->setData(format, present->data(format));
    }
    return data;
}

} // namespace

ClipboardPasteboard::ClipboardPasteboard(QClipboard::Mode mode)
    : _mode(mode)
{
}

void ClipboardPasteboard::clearContents()
{
    clipboard()->clear(_mode);
}

void ClipboardPasteboard::setString(const QString& text)
{
    QMimeData* data = currentContents(_mode);
    data->setText(text);
    clipboard()->setMimeData(data, _mode);
}

void ClipboardPasteboard::setFilenames(const QStringList& paths)
{
    QMimeData* data = currentContents(_mode);
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    clipboard()->setMimeData(data, _mode);
}

std::optional<QString> ClipboardPasteboard::string() const
{
    const QMimeData* data = clipboard()->mimeData(_mode);
    // hasText() also answers YES for a mere list of URLs.
    if (!data || !data->hasFormat(QStringLiteral("text/plain")))
        return std::nullopt;
    return data->text();
}

std::optional<QStringList> ClipboardPasteboard::filenames() const
{
    const QMimeData* data = clipboard()->mimeData(_mode);
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

} // namespace lq
