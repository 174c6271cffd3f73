#include "platform/widgets/MyTextField.h"

#include "platform/widgets/ControlTags.h"

MyTextField::MyTextField(int tag, QWidget* parent)
    : QLineEdit(parent)
{
    setTag(tag);
}

int MyTextField::tag() const
{
    return lq::widgetTag(this);
}

void MyTextField::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyTextField::localize()
{
    const int t = tag();
    if (t < lq::firstLocalizedTag)
        return;
    lq::localizeToolTip(this, t);
    lq::applyLocalized(QStringLiteral("TextField") + QString::number(t), [this](const QString& text) { setText(text); });
}

void MyTextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    Q_EMIT becameFirstResponder(this);
}
