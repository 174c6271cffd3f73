#include "ui/widgets/ItemViewBehaviour.h"

#include "ui/widgets/DragText.h"
#include "ui/widgets/ItemDataSource.h"
#include "ui/widgets/ItemModelAdaptor.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace ItemViewBehaviour {

namespace {

// The picture of the dragged rows: the first of them as the view shows it.
QPixmap rowPicture(QAbstractItemView* view, const QModelIndexList& rows, QPoint* hotSpot)
{
    QRect rect;
    const QModelIndex first = rows.first();
    for (int column = 0; column < view->model()->columnCount(first.parent()); ++column)
        rect = rect.united(view->visualRect(first.sibling(first.row(), column)));
    rect = rect.intersected(view->viewport()->rect());
    if (rect.isEmpty())
        return QPixmap();
    const QPoint pointer = view->viewport()->mapFromGlobal(QCursor::pos());
    *hotSpot = rect.contains(pointer) ? pointer - rect.topLeft() : QPoint(0, rect.height() / 2);
    return view->viewport()->grab(rect);
}

} // namespace

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
    QPoint hotSpot;
    const QPixmap picture = rowPicture(view, rows, &hotSpot);
    // A row is moved within its tree; a tree that takes rows from another
    // one (another document's, the photo library's) copies what it needs.
    const Qt::DropActions offered = supportedActions & Qt::MoveAction ? Qt::MoveAction | Qt::CopyAction : supportedActions;
    const Qt::DropAction action = lq::runDrag(view, data, picture, hotSpot, offered, Qt::MoveAction);
    if (source)
        source->dragOpDone(action);
}

void reportDropAction(QDropEvent* event, const ItemModelAdaptor* adaptor)
{
    if (!adaptor || !event->isAccepted())
        return;
    const Qt::DropAction action = adaptor->lastDropAction();
    if (action == Qt::IgnoreAction)
        return;
    if (event->possibleActions() & action) {
        event->setDropAction(action);
        event->accept();
    } else if (event->type() == QEvent::DragMove) {
        event->ignore();
    }
}

} // namespace ItemViewBehaviour
