#pragma once

#include "elements/XmlWebMenu.h"

#include <functional>
#include <optional>

// Lays a navigation menu's items out: which pages it lists for a page, the
// item texts in the attributes of their states, and where each item stands
// in the rows and columns of the box. Works on the menu's item texts.
class WebMenuLayout {
public:
    using ItemText = XmlWebMenu::ItemText;
    using ItemTextPtr = XmlWebMenu::ItemTextPtr;
    using ItemFrame = XmlWebMenu::ItemFrame;
    using Walk = XmlWebMenu::Walk;
    using RowWidthsScope = XmlWebMenu::RowWidthsScope;

    explicit WebMenuLayout(XmlWebMenu& menu)
        : _menu(menu)
    {
    }

    // Top-level items for the page; nothing while the menu has no site.
    std::optional<QList<MenuItem>> getMenuItems(XmlBase* page);
    // The pages of the current group without the group itself (type 2
    // only); nothing when that leaves none.
    std::optional<QList<MenuItem>> getSubMenuItems(XmlBase* page);
    // The same records without their page elements (empty), as the page
    // output and the layout need them: kept from one page to the next
    // while the site's tree stays as it was.
    std::optional<QList<MenuItem>> menuRecords(XmlBase* page);
    std::optional<QList<MenuItem>> subMenuRecords(XmlBase* page);
    // The page number of the item shown as current.
    int getCurrentPageNum(XmlBase* page);
    // The position of the top-level item that carries the submenu, or -1.
    int getCurrentGroupNum(XmlBase* page);
    // The text attributes of an item in the state (0 to 3), in the submenu or not.
    lq::TextAttributes itemAttributes(int type, bool submenu);
    // Replaces the item's text by the name in the attributes of the state
    // (0 to 3; any other number gives no colour, underline and state) and
    // lays it out at the item text width.
    void fillContentsWithStringTypeSubmenu(ItemText& item, const QString& name, int type, bool submenu);
    ItemTextPtr makeContents();
    // Lays the items out for the page (nothing: the current page) and
    // registers one click area per item.
    void layoutItems(XmlBase* page);
    // Gives every item text the attributes of its state.
    void relayoutTextAttributes();
    // Visits every item in order, the submenu placed for the page; a visit
    // answering true stops the walk.
    void walkItems(XmlBase* page, const Walk& walk, const std::function<bool(const ItemFrame&)>& visit);
    // Where a row of the width starts inside the inner width.
    int leadingSpace(int rowWidth);
    int leadingHorzSpace();
    int leadingSubHorzSpace();
    int menuItemInternalWidth();
    // The background of a state, or nothing.
    XmlCSSBackground* stateBackground(int state) const;
    // The state background of the text's state and the item borders.
    void drawMenuItemBackgroundRect(ItemText& item, const lq::Rect& rect);

private:
    // The group's records, its own first; nothing when it has no pages.
    std::optional<QList<MenuItem>> groupRecords(XmlBase* page);
    // Replaces the item's text by the name in the attributes and lays it out.
    void fillContents(ItemText& item, const QString& name, const lq::TextAttributes& attributes);

    XmlWebMenu& _menu;
};
