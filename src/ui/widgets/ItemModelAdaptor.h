#pragma once
#include "ui/widgets/ItemDataSource.h"
#include "ui/widgets/TableColumn.h"

#include <QAbstractItemModel>
#include <QList>
#include <QStyledItemDelegate>

// A Qt item model over an ItemDataSource and a list of columns: text, check,
// pop-up and image cells by column identifier. reloadData() re-reads
// everything (the source says when its items changed). Drags carry the
// source's drag text; drops are put to the source as (item, child index).
class ItemModelAdaptor : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ItemModelAdaptor(ItemDataSource* source, QObject* parent = nullptr);

    void setColumns(const QList<TableColumn>& columns);
    const QList<TableColumn>& columns() const { return _columns; }
    int columnWithIdentifier(const QString& identifier) const;
    void reloadData();
    // The source's item of an index (nullptr for the root).
    void* itemForIndex(const QModelIndex& index) const;
    QModelIndex indexForItem(const void* item, int column = 0) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) override;
    // The action of the last drop the source validated or took.
    Qt::DropAction lastDropAction() const { return _lastDropAction; }

private:
    // Qt's place of a drop as the source's child index: onto the item (-1),
    // before a row, or after the last row when dropped onto empty space.
    int childIndexOfDrop(int row, const QModelIndex& parent) const;
    CellAppearance appearance(const TableColumn& column, const void* item) const;

    ItemDataSource* _source;
    QList<TableColumn> _columns;
    mutable Qt::DropAction _lastDropAction = Qt::IgnoreAction;
};

// Edits pop-up cells with a combo box of the column's items.
class PopUpCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
