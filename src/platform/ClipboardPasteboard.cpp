#include "platform/ClipboardPasteboard.h"

#include "platform/MimeDataPasteboard.h"

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
    return mimeDataString(clipboard()->mimeData(_mode));
}

std::optional<QStringList> ClipboardPasteboard::filenames() const
{
    return mimeDataFilenames(clipboard()->mimeData(_mode));
}

} // namespace lq
