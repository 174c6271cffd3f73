#include "ui/widgets/MyTextField.h"

#include "ui/widgets/ControlTags.h"

MyTextField::MyTextField(int tag, QWidget* parent)
    : TaggedControl<QLineEdit>(parent)
{
    setTag(tag);
}

void MyTextField::localize()
{
    localizeTextByTag("TextField", [this](const QString& text) { setText(text); });
}

void MyTextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    Q_EMIT becameFirstResponder(this);
}
