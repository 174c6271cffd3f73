#pragma once
// What a table or outline view asks of its data source. Items of an outline
// are the source's own objects, passed as opaque pointers (nullptr is the
// invisible root). A table is an outline whose root's children are the rows.
#include <QString>
#include <QVariant>

class QAbstractItemView;

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
    // The Delete or Forward Delete key in the view; a source that handles it
    // answers true and the key goes no further.
    virtual bool deleteKeyPressed(QAbstractItemView* view) { return false; }
    // A drag that started in the view has ended with the action.
    virtual void dragOpDone(Qt::DropAction action) {}
};
