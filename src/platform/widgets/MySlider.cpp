#include "platform/widgets/MySlider.h"

#include "platform/widgets/ControlTags.h"

MySlider::MySlider(int tag, int minimum, int maximum, QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setTag(tag);
    setRange(minimum, maximum);
}

int MySlider::tag() const
{
    return lq::widgetTag(this);
}

void MySlider::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MySlider::localize()
{
    lq::localizeToolTip(this, tag());
}
