#include "ui/widgets/MySlider.h"

#include "ui/widgets/ControlTags.h"

MySlider::MySlider(int tag, int minimum, int maximum, QWidget* parent)
    : TaggedControl<QSlider>(Qt::Horizontal, parent)
{
    setTag(tag);
    setRange(minimum, maximum);
}

void MySlider::localize()
{
    localizeToolTipByTag(true);
}
