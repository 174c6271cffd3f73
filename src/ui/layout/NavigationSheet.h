#pragma once

#include "ui/layout/InspectorSheet.h"

class ImageWell;
class MyTabView;
class QWidget;
class XmlWebMenu;

// The navigation sheet (tags 3xx): the menu's arrangement, item width and
// spacing, which pages it lists, its submenus, its font, and the colours or
// pictures of its items in their four states (current, normal, hover, click).
class NavigationSheet : public InspectorSheet {
public:
    using InspectorSheet::InspectorSheet;

    QWidget* build();
    void fill(XmlWebMenu& menu);
    // Answers whether the end steps of the controller's action follow.
    bool apply(QWidget* sender, int tag, XmlWebMenu* menu);

    // The colour wells or the picture wells of the items' backgrounds.
    MyTabView* menuBkgndTabView() const { return _menuBkgndTabView; }

private:
    // The item width of a menu, shown for fixed-width items (orientation 2).
    void showItemWidthControls(XmlWebMenu& menu);

    MyTabView* _menuBkgndTabView = nullptr;
    // The menu's rollover wells: current, normal, hover and click.
    ImageWell* _rolloverWells[4] = {};
};
