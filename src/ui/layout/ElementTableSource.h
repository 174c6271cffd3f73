#pragma once

#include "ui/widgets/ItemDataSource.h"

class ElementTables;
class MyTableView;

// The rows of one of the inspector's element tables. The element tables
// answer for all its tables at once, each question naming the table; this
// source binds one table to it. Rows are the items, by number.
class ElementTableSource : public ItemDataSource {
public:
    ElementTableSource(ElementTables& controller, const MyTableView* table);

    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override;
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;

    // The row an item stands for.
    static int row(const void* item);

private:
    ElementTables& _controller;
    const MyTableView* _table;
};
