#pragma once
#include "ui/widgets/MyButton.h"

// A button that keeps the keyboard focus while it is shown: Tab, Backtab
// and clicks elsewhere in its window leave the focus on it, so that its keys
// stay with it: Return, Enter and Escape click it at once, Space as on any
// button. Hidden, it gives the focus up as a plain button does; the window
// going inactive takes it as it takes any focus.
class MyCancelButton : public MyButton {
    Q_OBJECT
public:
    explicit MyCancelButton(int tag = 0, const QString& title = QString(), QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
