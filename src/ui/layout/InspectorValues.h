#pragma once
// The value a control of the inspector holds, read the same way by every
// sheet: a number (from a field, a stepper, a line or a check box), an
// on/off state, a pop-up's index, a matrix's chosen cell, a well's colour.
#include "model/core/XmlBase.h"
#include "platform/Colour.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTextView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace lq::inspector {

inline int intValueOf(QWidget* control)
{
    if (auto* field = qobject_cast<MyIntegerField*>(control))
        return field->intValue();
    if (auto* stepper = qobject_cast<QSpinBox*>(control))
        return stepper->value();
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->text().trimmed().toInt();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->isChecked() ? 1 : 0;
    return 0;
}

inline bool stateOf(QWidget* control)
{
    auto* button = qobject_cast<QAbstractButton*>(control);
    return button ? button->isChecked() : intValueOf(control) != 0;
}

inline int indexOf(QWidget* control)
{
    auto* popUp = qobject_cast<QComboBox*>(control);
    return popUp ? popUp->currentIndex() : -1;
}

inline int cellTagOf(QWidget* control)
{
    auto* matrix = qobject_cast<MyMatrix*>(control);
    return matrix ? matrix->selectedTag() : -1;
}

inline lq::Colour colourOf(QWidget* control)
{
    auto* well = qobject_cast<MyColorWell*>(control);
    return lq::Colour::fromQColor(well ? well->color() : QColor());
}

// A text view shows the stored text without reporting an edit.
inline void showPlainText(MyTextView* view, const XmlBase* stored)
{
    const QSignalBlocker quiet(view);
    view->setPlainText(stored ? stored->content() : QString());
}

// A number field and its stepper show the same number: the one the
// sender (either of them) now has.
inline void pairNumberControls(QWidget* sender)
{
    QWidget* row = sender->parentWidget();
    const int tag = lq::widgetTag(sender);
    if (!row)
        return;
    if (auto* field = qobject_cast<MyIntegerField*>(sender)) {
        if (auto* stepper = qobject_cast<MyStepper*>(lq::viewWithTag(row, tag + 1))) {
            const QSignalBlocker quiet(stepper);
            stepper->setValue(field->intValue());
        }
    } else if (auto* stepper = qobject_cast<MyStepper*>(sender)) {
        if (auto* field = qobject_cast<MyIntegerField*>(lq::viewWithTag(row, tag - 1)))
            field->setIntValue(stepper->value());
    }
}

} // namespace lq::inspector
