#include "ui/widgets/MyPopUpButton.h"

#include "ui/widgets/ControlTags.h"

MyPopUpButton::MyPopUpButton(int tag, QWidget* parent)
    : TaggedControl<QComboBox>(parent)
{
    setTag(tag);
}

void MyPopUpButton::localize()
{
    localizeToolTipByTag();
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
