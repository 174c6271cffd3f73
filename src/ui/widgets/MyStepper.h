#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QSpinBox>

// Up and down arrows that step a whole number between a minimum and a maximum
// by an increment; for tags of 100 and more its tool tip comes from "Tooltip<tag>".
class MyStepper : public TaggedControl<QSpinBox> {
    Q_OBJECT
public:
    MyStepper(int tag = 0, int minimum = 0, int maximum = 100, int increment = 1, QWidget* parent = nullptr);
    void localize();
    // Shows only the arrows: the number is shown by the field beside it.
    void showArrowsOnly();
};
