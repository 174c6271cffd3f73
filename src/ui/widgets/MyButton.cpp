#include "ui/widgets/MyButton.h"

#include "ui/widgets/ControlTags.h"

MyButton::MyButton(int tag, const QString& title, QWidget* parent)
    : TaggedControl<QPushButton>(title, parent)
{
    setTag(tag);
}

void MyButton::localize()
{
    localizeTextByTag("Button", [this](const QString& text) { setText(text); });
}
