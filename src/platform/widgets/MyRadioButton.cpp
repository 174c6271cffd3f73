#include "platform/widgets/MyRadioButton.h"

#include "platform/widgets/ControlTags.h"

MyRadioButton::MyRadioButton(int tag, const QString& title, QWidget* parent)
    : QRadioButton(title, parent)
{
    setTag(tag);
}

int MyRadioButton::tag() const
{
    return lq::widgetTag(this);
}

void MyRadioButton::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyRadioButton::localize()
{
    const int t = tag();
    if (t < lq::firstLocalizedTag)
        return;
    lq::localizeToolTip(this, t);
    lq::applyLocalized(QStringLiteral("Button") + QString::number(t), [this](const QString& text) { setText(text); });
}
