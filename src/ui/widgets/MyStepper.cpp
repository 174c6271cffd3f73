#include "ui/widgets/MyStepper.h"

#include "ui/widgets/ControlTags.h"

#include <QLineEdit>

MyStepper::MyStepper(int tag, int minimum, int maximum, int increment, QWidget* parent)
    : TaggedControl<QSpinBox>(parent)
{
    setTag(tag);
    setRange(minimum, maximum);
    setSingleStep(increment);
}

void MyStepper::localize()
{
    localizeToolTipByTag();
}

void MyStepper::showArrowsOnly()
{
    lineEdit()->hide();
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFixedWidth(18);
}
