#include "platform/widgets/MyLabel.h"

#include "platform/widgets/ControlTags.h"

MyLabel::MyLabel(int tag, const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setTag(tag);
}

int MyLabel::tag() const
{
    return lq::widgetTag(this);
}

void MyLabel::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyLabel::localize()
{
    const int t = tag();
    if (t < lq::firstLocalizedTag)
        return;
    lq::localizeToolTip(this, t);
    lq::applyLocalized(QStringLiteral("TextField") + QString::number(t), [this](const QString& text) { setText(text); });
}
