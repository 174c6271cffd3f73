#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QLabel>

// A fixed text carrying a tag; for tags of 100 and more its tool tip and text
// come from "Tooltip<tag>" and "TextField<tag>" (a label is a text field that
// cannot be edited). Its text is shown as plain text, whatever it holds,
// unless its maker sets Qt::RichText for markup of the program's own.
class MyLabel : public TaggedControl<QLabel> {
    Q_OBJECT
public:
    explicit MyLabel(int tag = 0, const QString& text = QString(), QWidget* parent = nullptr);
    void localize();
};
