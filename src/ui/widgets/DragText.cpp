#include "ui/widgets/DragText.h"

#include "ui/widgets/ModalHandler.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

namespace lq {

QString dragText(const QStringList& identifiers)
{
    return identifiers.join(QLatin1Char('|'));
}

QMimeData* dragMimeData(const QStringList& identifiers)
{
    auto* data = new QMimeData;
    data->setText(dragText(identifiers));
    return data;
}

QStringList elementDropFormats()
{
    return { QStringLiteral("text/plain"), QStringLiteral("text/uri-list"), QStringLiteral("image/tiff") };
}

Qt::DropAction runDrag(QWidget* source, QMimeData* data, const QPixmap& pixmap, QPoint hotSpot,
    Qt::DropActions actions, Qt::DropAction defaultAction)
{
    // The drag belongs to the source widget, which deletes it at the latest.
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    if (!pixmap.isNull()) {
        drag->setPixmap(pixmap);
        drag->setHotSpot(hotSpot);
    }
    const Qt::DropAction action = modalHandler().runDrag(drag, actions, defaultAction);
    drag->deleteLater();
    return action;
}

} // namespace lq
