#include "ui/widgets/MyLabel.h"

#include "ui/widgets/ControlTags.h"

MyLabel::MyLabel(int tag, const QString& text, QWidget* parent)
    : TaggedControl<QLabel>(text, parent)
{
    setTextFormat(Qt::PlainText);
    setTag(tag);
}

void MyLabel::localize()
{
    localizeTextByTag("TextField", [this](const QString& text) { setText(text); });
}
