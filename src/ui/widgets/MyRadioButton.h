#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QRadioButton>

// a radio button carrying a tag; for tags of 100 and more its tool tip and title come
// from "Tooltip<tag>" and "Button<tag>" of the string table.
class MyRadioButton : public TaggedControl<QRadioButton> {
    Q_OBJECT
public:
    explicit MyRadioButton(int tag = 0, const QString& title = QString(), QWidget* parent = nullptr);
    // Applies the string table's texts (once, after the control is set up).
    void localize();
};
