#pragma once
#include "ui/widgets/MyTextField.h"

#include <optional>

// A text field holding a whole number between a minimum and a maximum. Text
// that is out of range or no number is refused when editing ends: the field
// goes back to its last good value and reports why ("Maximum exceeded",
// "Fell short of minimum", "Not a whole number").
class MyIntegerField : public MyTextField {
    Q_OBJECT
public:
    MyIntegerField(int tag, int minimum, int maximum, QWidget* parent = nullptr);

    int minimum() const { return _minimum; }
    int maximum() const { return _maximum; }
    int intValue() const { return _value; }
    // Sets the value, clamped to the range, without reporting.
    void setIntValue(int value);
    // Shows the text as it is and takes the number it stands for (a whole
    // number, also one written with a zero fraction such as "200.000000") as
    // the value, clamped to the range, without reporting. Text that stands
    // for no number leaves the value.
    void setStringValue(const QString& text);

    // The formatter: the number the text stands for, or "" with the reason
    // in error. A whole number may be written with a fraction of zeros.
    static std::optional<int> parse(const QString& text, int minimum, int maximum, QString* error);

Q_SIGNALS:
    void valueChanged(int value);
    void formatError(const QString& reason);

private:
    void commit();

    int _minimum;
    int _maximum;
    int _value;
};
