#pragma once
#include "model/core/ElementPasteboard.h"
#include "model/core/XmlBase.h"

#include <QList>
#include <QUrl>

#include <functional>
#include <optional>

class QMimeData;

// The element a drag carries, as the views that take elements see it: the
// live element registered under the drag's text (one UUID), or else one
// made from the drag's data (element XML text, or an XmlExternalFiles list
// of the files brought in). What is made is made once per drag and kept
// alive until forget(), so every question about the same drag gets the same
// element.
class DraggedElement {
public:
    using Maker = std::function<XmlBasePtr(const lq::Pasteboard& pasteboard)>;

    // The maker builds from the drag's data; the default is lq::createFromPasteboard.
    XmlBasePtr resolve(const QMimeData* data, const Maker& maker = {});
    // The drag left or was dropped.
    void forget();

private:
    // What the drag the element was made for carried.
    std::optional<QString> _text;
    QList<QUrl> _urls;
    XmlBasePtr _made;
};
