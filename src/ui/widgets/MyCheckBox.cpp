#include "ui/widgets/MyCheckBox.h"

#include "ui/widgets/ControlTags.h"

MyCheckBox::MyCheckBox(int tag, const QString& title, QWidget* parent)
    : TaggedControl<QCheckBox>(title, parent)
{
    setTag(tag);
}

void MyCheckBox::localize()
{
    localizeTextByTag("Button", [this](const QString& text) { setText(text); });
}
