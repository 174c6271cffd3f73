#include "ui/layout/ElementTableSource.h"

#include "ui/layout/ElementTables.h"
#include "ui/widgets/MyTableView.h"

#include <cstdint>

namespace {

void* itemOfRow(int row)
{
    return reinterpret_cast<void*>(std::uintptr_t(row) + 1);
}

} // namespace

ElementTableSource::ElementTableSource(ElementTables& controller, const MyTableView* table)
    : _controller(controller)
    , _table(table)
{
}

int ElementTableSource::row(const void* item)
{
    return int(reinterpret_cast<std::uintptr_t>(item) - 1);
}

int ElementTableSource::numberOfChildrenOfItem(const void* item) const
{
    return item ? 0 : _controller.numberOfRowsInTableView(_table);
}

void* ElementTableSource::childOfItem(int index, const void* item) const
{
    return item || index < 0 ? nullptr : itemOfRow(index);
}

void* ElementTableSource::parentOfItem(const void*) const
{
    return nullptr;
}

QVariant ElementTableSource::objectValueForColumn(const QString& column, const void* item) const
{
    return _controller.tableViewObjectValueForTableColumnRow(_table, column, row(item));
}

bool ElementTableSource::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    if (!_controller.tableViewShouldEditTableColumnRow(_table, column, row(item)))
        return false;
    _controller.tableViewSetObjectValueForTableColumnRow(_table, value, column, row(item));
    return true;
}
