#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QComboBox>

// A pop-up menu whose items carry tags; for tags of 100 and more its tool tip
// comes from "Tooltip<tag>".
class MyPopUpButton : public TaggedControl<QComboBox> {
    Q_OBJECT
public:
    explicit MyPopUpButton(int tag = 0, QWidget* parent = nullptr);
    void localize();

    void addItemWithTag(const QString& title, int itemTag);
    // The index of the first item with the tag, or -1.
    int indexOfItemWithTag(int itemTag) const;
    // Selects the item with the tag; answers whether there was one.
    bool selectItemWithTag(int itemTag);
    // The tag of the selected item, or -1 when none is selected.
    int selectedTag() const;
};
