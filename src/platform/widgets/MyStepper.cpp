#include "platform/widgets/MyStepper.h"

#include "platform/widgets/ControlTags.h"

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
