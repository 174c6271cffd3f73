#include "platform/widgets/MyStepper.h"

#include "platform/widgets/ControlTags.h"

MyStepper::MyStepper(int tag, int minimum, int maximum, int increment, QWidget* parent)
    : QSpinBox(parent)
{
    setTag(tag);
    setRange(minimum, maximum);
    setSingleStep(increment);
}

int MyStepper::tag() const
{
    return lq::widgetTag(this);
}

void MyStepper::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyStepper::localize()
{
    if (tag() >= lq::firstLocalizedTag)
        lq::localizeToolTip(this, tag());
}
