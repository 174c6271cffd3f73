#include "elements/WebMenuGeometry.h"

#include "platform/ExceptionFrame.h"

#include <algorithm>

bool WebMenuGeometry::horizontal() const
{
    return _menu.orientation() != 0;
}

int WebMenuGeometry::itemWidth(const ItemText& item) const
{
    const int borders = _menu._mibl + _menu._mibr + _menu._mipl + _menu._mipr;
    switch (_menu.orientation()) {
    case 0:
        return _menu.internalWidth();
    case 2:
        return _menu._miWidth + borders;
    default:
        return item.usedWidth() + borders;
    }
}

int WebMenuGeometry::firstSubmenuNumber() const
{
    return std::max(_menu.firstSubmenuItem, static_cast<int>(_menu._contentsArray.size()));
}

bool WebMenuGeometry::itemOfNumber(int number, bool* submenu, int* position) const
{
    if (number < 0)
        return false;
    const int first = firstSubmenuNumber();
    *submenu = number >= first;
    *position = *submenu ? number - first : number;
    return *submenu || number < static_cast<int>(_menu._contentsArray.size());
}

int WebMenuGeometry::rowWidth(const std::vector<ItemTextPtr>& row) const
{
    if (!horizontal())
        return 0;
    if (_menu._rowWidths && (&row == &_menu._contentsArray || &row == &_menu._subContentsArray)) {
        const int which = &row == &_menu._contentsArray ? 0 : 1;
        return static_cast<int>(_menu._rowWidths->sums[which] + static_cast<long long>(row.size()) * _menu._mispace - _menu._mispace);
    }
    // The items of a row share their borders, and with a fixed text width
    // their width: only the texts' widths are added up item by item.
    const long long count = static_cast<long long>(row.size());
    const int borders = _menu._mibl + _menu._mibr + _menu._mipl + _menu._mipr;
    long long sum = 0;
    if (_menu.orientation() == 2) {
        sum = count * (_menu._miWidth + borders);
    } else {
        for (const ItemTextPtr& text : row)
            sum += text->usedWidth();
        sum += count * borders;
    }
    return static_cast<int>(sum + count * _menu._mispace - _menu._mispace);
}

int WebMenuGeometry::horzMenuWidth() const
{
    return lq::modelFrame(&_menu, "horzMenuWidth", [&] { return rowWidth(_menu._contentsArray); });
}

int WebMenuGeometry::horzSubMenuWidth() const
{
    return lq::modelFrame(&_menu, "horzSubMenuWidth", [&] { return rowWidth(_menu._subContentsArray); });
}
