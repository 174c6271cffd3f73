#pragma once
#include "ui/editors/DraggedElement.h"
#include "model/core/XmlBase.h"
#include "ui/widgets/MyOutlineView.h"

#include <QHash>

#include <memory>

class XmlOutlineController;

// The outline behind the element trees of the program (site navigator,
// trash, site files, theme library, link and template dialogs): it shows
// the children of one element, named only by its UUID and looked up at
// every use (a root that was replaced or deleted is simply found again, or
// shows an empty outline), and is its own data source. Rows are the
// elements themselves; a column "check" shows the check mark, any other
// column the element's name. Elements are dragged as their UUIDs joined by
// "|"; files dragged in from outside arrive as one XmlExternalFiles list.
//
// Every decision specific to one tree is asked first of the optional
// controller (XmlOutlineController); what it does not answer comes from the
// elements themselves. Two rules hold whatever the controller's other hooks
// say: an element from outside the document (another document's, or one of
// no document) is dropped only when the controller offers to copy it
// (outlineViewCanCopyForeignItemOnItem), never moved; and the outline's own
// moves take the element out of its parent before inserting it, so an
// element never has two parents.
class XmlOutlineView : public MyOutlineView, public ItemDataSource {
    Q_OBJECT
public:
    explicit XmlOutlineView(int tag = 0, QWidget* parent = nullptr);
    ~XmlOutlineView() override;

    // The columns by identifier; the default is one "name" column.
    void setColumns(const QList<TableColumn>& columns);
    const QList<TableColumn>& columns() const { return _columns; }

    // Keeps the UUID of the root and reloads.
    void setXmlBase(const QString& uuid);
    const QString& xmlBase() const { return _xmlbase; }
    // The root element, or nothing when none lives under the UUID.
    XmlBasePtr rootElement() const;
    // Not owned.
    void setController(XmlOutlineController* controller) { _controller = controller; }
    XmlOutlineController* controller() const { return _controller; }

    // The root refreshes itself (a files tree re-reads its folder), then the
    // rows are read again; opened rows and the selection stay.
    void reloadData();
    // The name column (the first, or the second after a "check" column)
    // draws each element's icon at the left of its name.
    void setTextImageCell();
    // Rows can be dragged, and elements and files dropped.
    void setAllowsDragging();

    XmlBasePtr selectedObject() const;
    // Opens the element's row and every row above it (nothing for the root).
    void expandObject(XmlBase* element);
    // Opens the rows above the element and selects its row alone.
    void selectObject(XmlBase* element);
    // What is selected once the element is deleted: the child after it,
    // else its parent's first child, else its parent.
    XmlBasePtr objectAfterDeletion(XmlBase* element) const;

    // --- ItemDataSource ---------------------------------------------------------
    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override;
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;
    bool shouldEditColumn(const QString& column, const void* item) const override;
    bool isItemExpandable(const void* item) const override;
    // An element that may hold others takes drops onto its row, also where
    // the controller does not open it (the trash, the files).
    bool acceptsDropsOntoItem(const void* item) const override;
    void willDisplayCell(CellAppearance& cell, const QString& column, const void* item) const override;
    bool deleteKeyPressed(QAbstractItemView* view) override;
    void selectionDidChange(QAbstractItemView* view) override;
    std::optional<QStringList> dragIdentifiersForItems(const QList<void*>& items) override;
    Qt::DropAction validateDrop(const QMimeData* data, const void* item, int childIndex) override;
    bool acceptDrop(const QMimeData* data, void* item, int childIndex) override;
    void dropSessionEnded() override;
    void dragOpDone(Qt::DropAction action) override;

private:
    // The element of a row (nullptr: the root), or nothing when it is gone.
    XmlBasePtr element(const void* item) const;
    // The row item of an element, remembered so that element() finds it.
    void* itemFor(XmlBase* element) const;
    QModelIndex indexOfElement(XmlBase* element) const;
    XmlBasePtr draggedElement(const QMimeData* data);
    // The move the outline makes itself when the controller takes no part.
    bool moveElement(const XmlBasePtr& dragged, XmlBase& target, int index);
    // Icon column: the column whose cells draw the icon.
    int nameColumn() const;
    void onExpanded(const QModelIndex& index);

    QString _xmlbase;
    XmlOutlineController* _controller = nullptr;
    QList<TableColumn> _columns;
    // The elements handed to the view as row items since the last reload,
    // held weakly: a row whose element has gone answers nothing.
    mutable QHash<const void*, std::weak_ptr<XmlBase>> _rows;
    DraggedElement _dragged;
    bool _iconCell = false;
};
