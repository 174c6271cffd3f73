#include "platform/widgets/MyButton.h"

#include "platform/widgets/ControlTags.h"

MyButton::MyButton(int tag, const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    setTag(tag);
}

int MyButton::tag() const
{
    return lq::widgetTag(this);
}

void MyButton::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyButton::localize()
{
    const int t = tag();
    if (t < lq::firstLocalizedTag)
        return;
    lq::localizeToolTip(this, t);
    lq::applyLocalized(QStringLiteral("Button") + QString::number(t), [this](const QString& text) { setText(text); });
}
