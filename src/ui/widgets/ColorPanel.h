#pragma once
#include <QColor>
#include <QPointer>

class MyColorWell;
class QColorDialog;

// The one colour panel of the application: a non-modal colour dialog that
// edits the colour of the active colour well. Activating a well shows the
// panel with the well's colour; colours picked go to that well until it is
// deactivated or another well becomes active.
class ColorPanel {
public:
    static ColorPanel& shared();

    void activate(MyColorWell* well);
    void deactivate(MyColorWell* well);
    MyColorWell* activeWell() const { return _active; }
    // The dialog, made on first use (tests pick colours through it).
    QColorDialog* dialog();

private:
    ColorPanel() = default;
    void colorPicked(const QColor& color);

    QPointer<QColorDialog> _dialog;
    QPointer<MyColorWell> _active;
};
