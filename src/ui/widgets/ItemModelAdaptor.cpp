#include "ui/widgets/ItemModelAdaptor.h"

#include "ui/widgets/DragText.h"

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

CellAppearance ItemModelAdaptor::appearance(const TableColumn& column, const void* item) const
{
    CellAppearance cell;
    _source->willDisplayCell(cell, column.identifier, item);
    return cell;
}

QVariant ItemModelAdaptor::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TableColumn& column = _columns[index.column()];
    if (role == Qt::DecorationRole || role == Qt::ForegroundRole) {
        if (column.kind == TableColumn::Kind::Text) {
            const CellAppearance cell = appearance(column, index.internalPointer());
            if (role == Qt::DecorationRole)
                return cell.image.isNull() ? QVariant() : QVariant(cell.image);
            return cell.textColour ? QVariant(*cell.textColour) : QVariant();
        }
        if (role == Qt::ForegroundRole)
            return QVariant();
    }
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
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    // Only items that hold others take drops onto themselves; over any
    // other the drop goes between rows.
    if (_source->acceptsDropsOntoItem(index.internalPointer()))
        result |= Qt::ItemIsDropEnabled;
    const TableColumn& column = _columns[index.column()];
    if (column.kind == TableColumn::Kind::Check)
        result |= Qt::ItemIsUserCheckable;
    else if (column.editable && column.kind != TableColumn::Kind::Image
        && _source->shouldEditColumn(column.identifier, index.internalPointer()))
        result |= Qt::ItemIsEditable;
    return result;
}

bool ItemModelAdaptor::hasChildren(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return false;
    return _source->isItemExpandable(itemForIndex(parent));
}

QStringList ItemModelAdaptor::mimeTypes() const
{
    return lq::elementDropFormats();
}

QMimeData* ItemModelAdaptor::mimeData(const QModelIndexList& indexes) const
{
    QList<void*> items;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && !items.contains(index.internalPointer()))
            items.append(index.internalPointer());
    }
    if (items.isEmpty())
        return nullptr;
    const std::optional<QStringList> identifiers = _source->dragIdentifiersForItems(items);
    return identifiers ? lq::dragMimeData(*identifiers) : nullptr;
}

Qt::DropActions ItemModelAdaptor::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions ItemModelAdaptor::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

int ItemModelAdaptor::childIndexOfDrop(int row, const QModelIndex& parent) const
{
    if (row >= 0 || parent.isValid())
        return row;
    return _source->numberOfChildrenOfItem(nullptr);
}

bool ItemModelAdaptor::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int, const QModelIndex& parent) const
{
    _lastDropAction = _source->validateDrop(data, itemForIndex(parent), childIndexOfDrop(row, parent));
    return _lastDropAction != Qt::IgnoreAction;
}

bool ItemModelAdaptor::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int, const QModelIndex& parent)
{
    void* item = itemForIndex(parent);
    const int childIndex = childIndexOfDrop(row, parent);
    _lastDropAction = _source->validateDrop(data, item, childIndex);
    if (_lastDropAction == Qt::IgnoreAction || !_source->acceptDrop(data, item, childIndex)) {
        _lastDropAction = Qt::IgnoreAction;
        return false;
    }
    return true;
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
