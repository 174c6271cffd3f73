#include "platform/widgets/MyOutlineView.h"

#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ItemViewBehaviour.h"

#include <QKeyEvent>

MyOutlineView::MyOutlineView(int tag, QWidget* parent)
    : QTreeView(parent)
{
    setTag(tag);
    setItemDelegate(new PopUpCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

int MyOutlineView::tag() const
{
    return lq::widgetTag(this);
}

void MyOutlineView::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyOutlineView::localize()
{
    if (tag() >= lq::firstLocalizedTag)
        lq::localizeToolTip(this, tag());
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
        QTreeView::keyPressEvent(event);
}

void MyOutlineView::startDrag(Qt::DropActions supportedActions)
{
    ItemViewBehaviour::startDrag(this, supportedActions, _source);
}
