#pragma once

#include "platform/widgets/ItemDataSource.h"

class LayoutController;
class MyTableView;

// The rows of one of the layout controller's element tables. The controller
// answers for all its tables at once, each question naming the table; this
// source binds one table to it. Rows are the items, by number.
class ElementTableSource : public ItemDataSource {
public:
    ElementTableSource(LayoutController& controller, const MyTableView* table);

    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override;
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;

    // The row an item stands for.
    static int row(const void* item);

private:
    LayoutController& _controller;
    const MyTableView* _table;
};
