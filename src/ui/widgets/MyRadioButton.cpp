#include "ui/widgets/MyRadioButton.h"

#include "ui/widgets/ControlTags.h"

MyRadioButton::MyRadioButton(int tag, const QString& title, QWidget* parent)
    : TaggedControl<QRadioButton>(title, parent)
{
    setTag(tag);
}

void MyRadioButton::localize()
{
    localizeTextByTag("Button", [this](const QString& text) { setText(text); });
}
