#pragma once
// What the data-source views (DataSourceView) share: the Delete keys and the end of a
// drag go to the data source.
#include <Qt>

class ItemDataSource;
class QAbstractItemView;
class QKeyEvent;

namespace ItemViewBehaviour {

// Delete (Backspace) or Forward Delete (Delete) to a source that handles it:
// answers true when the key was consumed.
bool deleteKey(QKeyEvent* event, ItemDataSource* source, QAbstractItemView* view);
// Drags the selected rows (moves inside the program) and tells the source how the drag ended.
void startDrag(QAbstractItemView* view, Qt::DropActions supportedActions, ItemDataSource* source);

} // namespace ItemViewBehaviour
