#pragma once
// Showing values in tagged controls without sending their actions: a sheet
// that is filled from the model must not write the model back. Each helper
// finds the control by tag under the view (viewWithTag) and does nothing
// when there is no control of that tag or of a kind that can show the value.
#include <QColor>
#include <QString>

#include <initializer_list>

class QWidget;

namespace lq {

// The property that marks a view holding the controls of one row of a sheet
// (a number's field and stepper, controls side by side): it shows while any
// of its controls does, so that a row whose controls are hidden takes no room.
inline constexpr char rowHolderProperty[] = "lqRowHolder";

// A number in a text field, a stepper or a slider.
void showNumber(QWidget* view, int tag, int value);
// A number in the field of the tag and in its stepper or slider (tag + 1).
void showNumberPair(QWidget* view, int tag, int value);
// The state of a check box or a two-state button.
void showState(QWidget* view, int tag, bool on);
// The item at the index of a pop-up menu (none for an index out of range).
void showIndex(QWidget* view, int tag, int index);
// The cell of a radio matrix whose tag is the given one.
void showCell(QWidget* view, int tag, int cellTag);
void showColor(QWidget* view, int tag, const QColor& color);
// The text of a label or a text field.
void showText(QWidget* view, int tag, const QString& text);
// An alignment as three two-state buttons with consecutive tags from the
// first: the first is on for 0 (left), the second for 1, the third for 2.
void showAlignment(QWidget* view, int firstTag, int alignment);
// Shows or hides every control of the tags (and the rows that hold them).
void showControls(QWidget* view, std::initializer_list<int> tags, bool visible);

} // namespace lq
