#pragma once
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/ItemViewBehaviour.h"
#include "ui/widgets/TaggedControl.h"

#include <QAbstractItemView>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>

// A table or outline over an ItemDataSource, with columns by identifier; it
// carries a tag (tool tip from "Tooltip<tag>" for tags of 100 and more). The
// Delete keys, selection changes, drops and the end of a drag go to the data
// source; a drop reports the action the source chose (a move of elements
// inside the program, a copy of files brought in).
template <typename View>
class DataSourceView : public TaggedControl<View> {
public:
    explicit DataSourceView(int tag = 0, QWidget* parent = nullptr)
        : TaggedControl<View>(parent)
    {
        this->setTag(tag);
        this->setItemDelegate(new PopUpCellDelegate(this));
        this->setSelectionBehavior(QAbstractItemView::SelectRows);
        this->setDragEnabled(true);
        this->setDragDropMode(QAbstractItemView::DragDrop);
        this->setDefaultDropAction(Qt::MoveAction);
    }

    void localize() { this->localizeToolTipByTag(); }

    // The source is not owned; the columns may be set again later.
    void setDataSource(ItemDataSource* source, const QList<TableColumn>& columns)
    {
        ItemModelAdaptor* old = _adaptor;
        _source = source;
        _adaptor = new ItemModelAdaptor(source, this);
        _adaptor->setColumns(columns);
        this->setModel(_adaptor);
        delete old;
        QObject::connect(this->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (_source)
                _source->selectionDidChange(this);
        });
    }
    ItemDataSource* dataSource() const { return _source; }
    ItemModelAdaptor* adaptor() const { return _adaptor; }
    void reloadData()
    {
        if (_adaptor)
            _adaptor->reloadData();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!ItemViewBehaviour::deleteKey(event, _source, this))
            TaggedControl<View>::keyPressEvent(event);
    }
    void startDrag(Qt::DropActions supportedActions) override
    {
        ItemViewBehaviour::startDrag(this, supportedActions, _source);
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        TaggedControl<View>::dragMoveEvent(event);
        ItemViewBehaviour::reportDropAction(event, _adaptor);
    }
    void dragLeaveEvent(QDragLeaveEvent* event) override
    {
        TaggedControl<View>::dragLeaveEvent(event);
        if (_source)
            _source->dropSessionEnded();
    }
    void dropEvent(QDropEvent* event) override
    {
        TaggedControl<View>::dropEvent(event);
        ItemViewBehaviour::reportDropAction(event, _adaptor);
        if (_source)
            _source->dropSessionEnded();
    }

private:
    ItemDataSource* _source = nullptr;
    ItemModelAdaptor* _adaptor = nullptr;
};
