#pragma once
#include <QWidget>

class MyDocumentController;
class MyPopUpButton;

// The small window the program shows while no site is open, in the place of
// a menu bar without windows: New, Open, the recently opened sites,
// Preferences, Help and Report a Bug. Its buttons carry the application
// command tags and go to the controller's menuClicked.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(MyDocumentController* controller, QWidget* parent = nullptr);

    MyPopUpButton* recentPopUp() const { return _recent; }

private:
    void reloadRecent();

    MyDocumentController* _controller;
    MyPopUpButton* _recent;
};
