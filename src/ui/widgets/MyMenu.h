#pragma once
#include <QMenu>

class QMenuBar;

// A menu whose item titles come from the string table by position:
// "Menu<i>" for its items, "Menu<i>Sub<j>" for their submenus' items and
// "Menu<i>Sub<j>Sub<k>" one level further; separators take no number. A
// menu bar is localised the same way, its menus being the items "Menu<i>".
class MyMenu : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;
    void localize() { localizeMenu(this); }
    static void localizeMenu(QMenu* menu);
    static void localizeMenuBar(QMenuBar* menuBar);
};
