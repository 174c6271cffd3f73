#include "platform/widgets/ItemViewBehaviour.h"

#include "platform/widgets/ItemDataSource.h"

#include <QAbstractItemView>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>

namespace ItemViewBehaviour {

bool deleteKey(QKeyEvent* event, ItemDataSource* source, QAbstractItemView* view)
{
    if (!source || (event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete))
        return false;
    if (!source->deleteKeyPressed(view))
        return false;
    event->accept();
    return true;
}

void startDrag(QAbstractItemView* view, Qt::DropActions supportedActions, ItemDataSource* source)
{
    const QModelIndexList rows = view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
    if (rows.isEmpty() || !view->model())
        return;
    QMimeData* data = view->model()->mimeData(rows);
    if (!data)
        return;
    auto* drag = new QDrag(view);
    drag->setMimeData(data);
    const Qt::DropAction action = drag->exec(supportedActions & Qt::MoveAction ? Qt::MoveAction : supportedActions, Qt::MoveAction);
    if (source)
        source->dragOpDone(action);
}

} // namespace ItemViewBehaviour
