#include "ui/editors/DraggedElement.h"

#include "model/core/ElementPasteboard.h"
#include "platform/MimeDataPasteboard.h"

#include <QMimeData>

XmlBasePtr DraggedElement::resolve(const QMimeData* data, const Maker& maker)
{
    if (!data)
        return nullptr;
    const std::optional<QString> text = lq::mimeDataString(data);
    if (text) {
        if (XmlBasePtr live = XmlBase::UUID(*text))
            return live;
    }
    // The same drag again: what was made for it, unless it went into a tree
    // since (a drop took it).
    const QList<QUrl> urls = data->urls();
    if (_made && _text == text && _urls == urls && !_made->parent())
        return _made;
    const lq::MemoryPasteboard pasteboard = lq::pasteboardWithMimeData(data);
    _made = maker ? maker(pasteboard) : lq::createFromPasteboard(pasteboard);
    _text = text;
    _urls = urls;
    return _made;
}

void DraggedElement::forget()
{
    _text.reset();
    _urls.clear();
    _made.reset();
}
