#include "platform/widgets/ItemModelAdaptor.h"

#include <QComboBox>
#include <QImage>
#include <QPixmap>

namespace {
// The role that answers a pop-up column's item titles.
constexpr int popUpItemsRole = Qt::UserRole + 1;
} // namespace

ItemModelAdaptor::ItemModelAdaptor(ItemDataSource* source, QObject* parent)
    : QAbstractItemModel(parent)
    , _source(source)
{
}

void ItemModelAdaptor::setColumns(const QList<TableColumn>& columns)
{
    beginResetModel();
    _columns = columns;
    endResetModel();
}

int ItemModelAdaptor::columnWithIdentifier(const QString& identifier) const
{
    for (qsizetype i = 0; i < _columns.size(); ++i) {
        if (_columns[i].identifier == identifier)
            return static_cast<int>(i);
    }
    return -1;
}

void ItemModelAdaptor::reloadData()
{
    beginResetModel();
    endResetModel();
}

void* ItemModelAdaptor::itemForIndex(const QModelIndex& index) const
{
    return index.isValid() ? index.internalPointer() : nullptr;
}

QModelIndex ItemModelAdaptor::indexForItem(const void* item, int column) const
{
    if (!item)
        return QModelIndex();
    const void* parentItem = _source->parentOfItem(item);
    const int count = _source->numberOfChildrenOfItem(parentItem);
    for (int row = 0; row < count; ++row) {
        if (_source->childOfItem(row, parentItem) == item)
            return createIndex(row, column, const_cast<void*>(item));
    }
    return QModelIndex();
}

QModelIndex ItemModelAdaptor::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= _columns.size())
        return QModelIndex();
    const void* parentItem = itemForIndex(parent);
    if (row >= _source->numberOfChildrenOfItem(parentItem))
        return QModelIndex();
    return createIndex(row, column, _source->childOfItem(row, parentItem));
}

QModelIndex ItemModelAdaptor::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return QModelIndex();
    return indexForItem(_source->parentOfItem(child.internalPointer()));
}

int ItemModelAdaptor::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return _source->numberOfChildrenOfItem(itemForIndex(parent));
}

int ItemModelAdaptor::columnCount(const QModelIndex&) const
{
    return static_cast<int>(_columns.size());
}

QVariant ItemModelAdaptor::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TableColumn& column = _columns[index.column()];
    const QVariant value = _source->objectValueForColumn(column.identifier, index.internalPointer());
    switch (column.kind) {
    case TableColumn::Kind::Text:
        return role == Qt::DisplayRole || role == Qt::EditRole ? value : QVariant();
    case TableColumn::Kind::Check:
        return role == Qt::CheckStateRole ? QVariant(value.toInt() ? Qt::Checked : Qt::Unchecked) : QVariant();
    case TableColumn::Kind::PopUp:
        if (role == Qt::DisplayRole)
            return column.popUpItems.value(value.toInt());
        if (role == Qt::EditRole)
            return value.toInt();
        if (role == popUpItemsRole)
            return column.popUpItems;
        return QVariant();
    case TableColumn::Kind::Image:
        if (role == Qt::DecorationRole && value.canConvert<QImage>())
            return QPixmap::fromImage(value.value<QImage>());
        return role == Qt::DecorationRole ? value : QVariant();
    }
    return QVariant();
}

bool ItemModelAdaptor::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    const TableColumn& column = _columns[index.column()];
    QVariant stored;
    if (column.kind == TableColumn::Kind::Check && role == Qt::CheckStateRole)
        stored = value.value<Qt::CheckState>() == Qt::Checked || value.toInt() == Qt::Checked ? 1 : 0;
    else if (role == Qt::EditRole && column.editable && column.kind != TableColumn::Kind::Image)
        stored = value;
    else
        return false;
    if (!_source->setObjectValueForColumn(stored, column.identifier, index.internalPointer()))
        return false;
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags ItemModelAdaptor::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    const TableColumn& column = _columns[index.column()];
    if (column.kind == TableColumn::Kind::Check)
        result |= Qt::ItemIsUserCheckable;
    else if (column.editable && column.kind != TableColumn::Kind::Image)
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant ItemModelAdaptor::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < _columns.size())
        return _columns[section].title;
    return QVariant();
}

QWidget* PopUpCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant items = index.data(popUpItemsRole);
    if (!items.isValid())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* editor = new QComboBox(parent);
    editor->addItems(items.toStringList());
    return editor;
}

void PopUpCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* popUp = qobject_cast<QComboBox*>(editor))
        popUp->setCurrentIndex(index.data(Qt::EditRole).toInt());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void PopUpCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* popUp = qobject_cast<QComboBox*>(editor))
        model->setData(index, popUp->currentIndex(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}
