#pragma once

class MyDocumentWindow;
class QAction;
class QMenu;
class QMenuBar;

// The menu bar of a document window and what its items do: it builds the
// menus with their tags (MenuTag) and keys, checks each item as its menu
// opens and again when it is chosen, and hands the chosen command to the
// application (a tag below 100), the window's document commands, or the
// current panel. It takes the window and keeps nothing of its own.
class DocumentMenus {
public:
    explicit DocumentMenus(MyDocumentWindow& window);

    // The window's menu bar, its items connected to the window.
    QMenuBar* buildMenuBar();
    // Whether the item may be chosen now: 100 to 999 as adjustMenuItem says,
    // 1000 and above always (there is a document), the application's own
    // commands always.
    bool validateMenuItem(QAction* item);
    // Whether a document command may be chosen now; sets its check mark.
    bool adjustMenuItem(QAction* item);
    // Performs the document command of the tag (100 to 999; the others do nothing).
    void menuClicked(int tag);
    // Chooses the item as the user does: checked first, then performed.
    void chooseMenuItem(QAction* item);

private:
    void validateMenu(QMenu* menu);
    void windowCommand(int tag);

    MyDocumentWindow& _window;
};
