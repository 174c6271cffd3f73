#include "platform/widgets/MyTableView.h"

#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ItemViewBehaviour.h"

#include <QKeyEvent>

MyTableView::MyTableView(int tag, QWidget* parent)
    : QTableView(parent)
{
    setTag(tag);
    setItemDelegate(new PopUpCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

int MyTableView::tag() const
{
    return lq::widgetTag(this);
}

void MyTableView::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyTableView::localize()
{
    if (tag() >= lq::firstLocalizedTag)
        lq::localizeToolTip(this, tag());
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
        QTableView::keyPressEvent(event);
}

void MyTableView::startDrag(Qt::DropActions supportedActions)
{
    ItemViewBehaviour::startDrag(this, supportedActions, _source);
}
