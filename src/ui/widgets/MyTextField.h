#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QLineEdit>

// An editable text field carrying a tag; for tags of 100 and more its tool
// tip and contents come from "Tooltip<tag>" and "TextField<tag>". It reports
// when it takes the keyboard focus.
class MyTextField : public TaggedControl<QLineEdit> {
    Q_OBJECT
public:
    explicit MyTextField(int tag = 0, QWidget* parent = nullptr);
    void localize();

Q_SIGNALS:
    void becameFirstResponder(MyTextField* field);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
