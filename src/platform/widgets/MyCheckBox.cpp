#include "platform/widgets/MyCheckBox.h"

#include "platform/widgets/ControlTags.h"

MyCheckBox::MyCheckBox(int tag, const QString& title, QWidget* parent)
    : QCheckBox(title, parent)
{
    setTag(tag);
}

int MyCheckBox::tag() const
{
    return lq::widgetTag(this);
}

void MyCheckBox::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyCheckBox::localize()
{
    const int t = tag();
    if (t < lq::firstLocalizedTag)
        return;
    lq::localizeToolTip(this, t);
    lq::applyLocalized(QStringLiteral("Button") + QString::number(t), [this](const QString& text) { setText(text); });
}
