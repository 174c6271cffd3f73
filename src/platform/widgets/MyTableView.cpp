#include "platform/widgets/MyTableView.h"

#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ItemViewBehaviour.h"

#include <QKeyEvent>

MyTableView::MyTableView(int tag, QWidget* parent)
    : TaggedControl<QTableView>(parent)
{
    setTag(tag);
    setItemDelegate(new PopUpCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void MyTableView::localize()
{
    localizeToolTipByTag();
}

void MyTableView::setDataSource(ItemDataSource* source, const QList<TableColumn>& columns)
{
    ItemModelAdaptor* old = _adaptor;
    _source = source;
    _adaptor = new ItemModelAdaptor(source, this);
    _adaptor->setColumns(columns);
    setModel(_adaptor);
    delete old;
}

void MyTableView::reloadData()
{
    if (_adaptor)
        _adaptor->reloadData();
}

void MyTableView::keyPressEvent(QKeyEvent* event)
{
    if (!ItemViewBehaviour::deleteKey(event, _source, this))
        TaggedControl<QTableView>::keyPressEvent(event);
}

void MyTableView::startDrag(Qt::DropActions supportedActions)
{
    ItemViewBehaviour::startDrag(this, supportedActions, _source);
}
