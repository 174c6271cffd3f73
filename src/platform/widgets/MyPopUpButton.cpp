#include "platform/widgets/MyPopUpButton.h"

#include "platform/widgets/ControlTags.h"

MyPopUpButton::MyPopUpButton(int tag, QWidget* parent)
    : QComboBox(parent)
{
    setTag(tag);
}

int MyPopUpButton::tag() const
{
    return lq::widgetTag(this);
}

void MyPopUpButton::setTag(int tag)
{
    lq::setWidgetTag(this, tag);
}

void MyPopUpButton::localize()
{
    if (tag() >= lq::firstLocalizedTag)
        lq::localizeToolTip(this, tag());
}

void MyPopUpButton::addItemWithTag(const QString& title, int itemTag)
{
    addItem(title, itemTag);
}

int MyPopUpButton::indexOfItemWithTag(int itemTag) const
{
    return findData(itemTag);
}

bool MyPopUpButton::selectItemWithTag(int itemTag)
{
    const int index = indexOfItemWithTag(itemTag);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

int MyPopUpButton::selectedTag() const
{
    return currentIndex() < 0 ? -1 : currentData().toInt();
}
