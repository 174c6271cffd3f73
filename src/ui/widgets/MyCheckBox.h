#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QCheckBox>

// a check box carrying a tag; for tags of 100 and more its tool tip and title come
// from "Tooltip<tag>" and "Button<tag>" of the string table.
class MyCheckBox : public TaggedControl<QCheckBox> {
    Q_OBJECT
public:
    explicit MyCheckBox(int tag = 0, const QString& title = QString(), QWidget* parent = nullptr);
    // Applies the string table's texts (once, after the control is set up).
    void localize();
};
