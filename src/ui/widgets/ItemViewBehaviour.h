#pragma once
// What the data-source views (DataSourceView) share: the Delete keys, drags
// and the actions drops report go through the data source.
#include <Qt>

class ItemDataSource;
class ItemModelAdaptor;
class QAbstractItemView;
class QDropEvent;
class QKeyEvent;

namespace ItemViewBehaviour {

// Delete (Backspace) or Forward Delete (Delete) to a source that handles it:
// answers true when the key was consumed.
bool deleteKey(QKeyEvent* event, ItemDataSource* source, QAbstractItemView* view);
// Drags the selected rows with the source's drag text (a move inside the
// program, through the modal handler) and tells the source how it ended.
void startDrag(QAbstractItemView* view, Qt::DropActions supportedActions, ItemDataSource* source);
// After the view handled a drag move or drop that it accepted: the event
// reports the action the source chose, when the drag offers it (a move the
// drag does not offer is refused while the drag moves).
void reportDropAction(QDropEvent* event, const ItemModelAdaptor* adaptor);

} // namespace ItemViewBehaviour
