#pragma once
// What a table or outline view asks of its data source. Items of an outline
// are the source's own objects, passed as opaque pointers (nullptr is the
// invisible root). A table is an outline whose root's children are the rows.
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QAbstractItemView;
class QMimeData;

// How a text cell is drawn: an icon at the left of the text (drawn by an
// ImageAndTextCell) and the colour of the text; unset parts stay the view's.
struct CellAppearance {
    QImage image;
    std::optional<QColor> textColour;
};

class ItemDataSource {
public:
    virtual ~ItemDataSource() = default;

    virtual int numberOfChildrenOfItem(const void* item) const = 0;
    virtual void* childOfItem(int index, const void* item) const = 0;
    // The item's parent (nullptr for the root's children).
    virtual void* parentOfItem(const void* item) const = 0;
    virtual QVariant objectValueForColumn(const QString& column, const void* item) const = 0;
    // Stores an edited value; answers whether it was taken.
    virtual bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
    {
        return false;
    }
    // Whether the item's cell of an editable column may be edited.
    virtual bool shouldEditColumn(const QString& column, const void* item) const { return true; }
    // Whether the item shows as one that holds others (it can be opened and
    // things can be dropped onto it), even while it has none.
    virtual bool isItemExpandable(const void* item) const { return numberOfChildrenOfItem(item) > 0; }
    // Whether things can be dropped onto the item itself; by default the
    // items that show as holding others. An item that holds others without
    // showing them (a bin whose contents another view lists) says so here.
    virtual bool acceptsDropsOntoItem(const void* item) const { return isItemExpandable(item); }
    // Before the item's cell of the column is drawn.
    virtual void willDisplayCell(CellAppearance& cell, const QString& column, const void* item) const {}

    // The Delete or Forward Delete key in the view; a source that handles it
    // answers true and the key goes no further.
    virtual bool deleteKeyPressed(QAbstractItemView* view) { return false; }
    // The view's selection changed.
    virtual void selectionDidChange(QAbstractItemView* view) {}

    // --- Drag and drop ----------------------------------------------------------
    // The identifiers a drag of the items carries (lq::dragText); nothing
    // refuses the drag.
    virtual std::optional<QStringList> dragIdentifiersForItems(const QList<void*>& items) { return std::nullopt; }
    // A drop proposed onto the item (nullptr: the root) at the child index
    // (-1: onto the item itself, else before that child): the action it
    // would take (Qt::IgnoreAction refuses it).
    virtual Qt::DropAction validateDrop(const QMimeData* data, const void* item, int childIndex) { return Qt::IgnoreAction; }
    // Takes the drop; answers whether it did.
    virtual bool acceptDrop(const QMimeData* data, void* item, int childIndex) { return false; }
    // A drag over the view left it or was dropped: what was made of its
    // data may go.
    virtual void dropSessionEnded() {}
    // A drag that started in the view has ended with the action.
    virtual void dragOpDone(Qt::DropAction action) {}
};
