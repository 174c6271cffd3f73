#include "platform/widgets/MyOutlineView.h"

#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ItemViewBehaviour.h"

#include <QKeyEvent>

MyOutlineView::MyOutlineView(int tag, QWidget* parent)
    : TaggedControl<QTreeView>(parent)
{
    setTag(tag);
    setItemDelegate(new PopUpCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void MyOutlineView::localize()
{
    localizeToolTipByTag();
}

void MyOutlineView::setDataSource(ItemDataSource* source, const QList<TableColumn>& columns)
{
    ItemModelAdaptor* old = _adaptor;
    _source = source;
    _adaptor = new ItemModelAdaptor(source, this);
    _adaptor->setColumns(columns);
    setModel(_adaptor);
    delete old;
}

void MyOutlineView::reloadData()
{
    if (_adaptor)
        _adaptor->reloadData();
}

void MyOutlineView::keyPressEvent(QKeyEvent* event)
{
    if (!ItemViewBehaviour::deleteKey(event, _source, this))
        TaggedControl<QTreeView>::keyPressEvent(event);
}

void MyOutlineView::startDrag(Qt::DropActions supportedActions)
{
    ItemViewBehaviour::startDrag(this, supportedActions, _source);
}
