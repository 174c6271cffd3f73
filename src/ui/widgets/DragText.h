#pragma once
// Drags between the views of the program carry text: the identifiers of
// what is dragged (element UUIDs) joined by "|", as "text/plain". Files
// dragged in from a file manager arrive as "text/uri-list" (read with
// lq::mimeDataFilenames). Every drag runs through the modal handler, so
// that tests can drop without a drag loop.
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>

class QMimeData;
class QWidget;

namespace lq {

// "A|B|C": the first identifier alone, each further one preceded by "|".
QString dragText(const QStringList& identifiers);
// New drag data offering the identifiers' drag text as its only format.
QMimeData* dragMimeData(const QStringList& identifiers);
// The formats that views taking elements accept: drag text, lists of
// files, TIFF pictures.
QStringList elementDropFormats();

// Drags the data (owned by the drag from then on) from the widget, showing
// the pixmap with the hot spot under the pointer; answers the action the
// target accepted, Qt::IgnoreAction when nothing took the drop.
Qt::DropAction runDrag(QWidget* source, QMimeData* data, const QPixmap& pixmap, QPoint hotSpot,
    Qt::DropActions actions = Qt::MoveAction, Qt::DropAction defaultAction = Qt::MoveAction);

} // namespace lq
