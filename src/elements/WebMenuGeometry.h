#pragma once

#include "elements/XmlWebMenu.h"

#include <vector>

// The sizes of a navigation menu's items and rows as its last layout left
// them. Asks the menu only; changes nothing.
class WebMenuGeometry {
public:
    using ItemText = XmlWebMenu::ItemText;
    using ItemTextPtr = XmlWebMenu::ItemTextPtr;

    explicit WebMenuGeometry(const XmlWebMenu& menu)
        : _menu(menu)
    {
    }

    // Orientation 1 or 2: the items stand side by side.
    bool horizontal() const;
    // The border box width of an item.
    int itemWidth(const ItemText& item) const;
    // The width of a horizontal row of items, spacing included (0 when vertical).
    int rowWidth(const std::vector<ItemTextPtr>& row) const;
    int horzMenuWidth() const;
    int horzSubMenuWidth() const;
    // The number of the first submenu item (see XmlWebMenu).
    int firstSubmenuNumber() const;
    // The row (submenu or not) and place in it of an item's number; false for
    // a number that names no item.
    bool itemOfNumber(int number, bool* submenu, int* position) const;

private:
    const XmlWebMenu& _menu;
};
