#include "ui/widgets/ControlValues.h"

#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace lq {

void showNumber(QWidget* view, int tag, int value)
{
    QWidget* control = viewWithTag(view, tag);
    if (auto* field = qobject_cast<MyIntegerField*>(control)) {
        field->setIntValue(value);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        const QSignalBlocker quiet(spin);
        spin->setValue(value);
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
}

void showNumberPair(QWidget* view, int tag, int value)
{
    showNumber(view, tag, value);
    showNumber(view, tag + 1, value);
}

void showState(QWidget* view, int tag, bool on)
{
    if (auto* button = qobject_cast<QAbstractButton*>(viewWithTag(view, tag)))
        button->setChecked(on);
}

void showIndex(QWidget* view, int tag, int index)
{
    if (auto* popUp = qobject_cast<MyPopUpButton*>(viewWithTag(view, tag))) {
        const QSignalBlocker quiet(popUp);
        popUp->setCurrentIndex(index >= 0 && index < popUp->count() ? index : -1);
    }
}

void showCell(QWidget* view, int tag, int cellTag)
{
    if (auto* matrix = qobject_cast<MyMatrix*>(viewWithTag(view, tag)))
        matrix->selectCellWithTag(cellTag);
}

void showColor(QWidget* view, int tag, const QColor& color)
{
    if (auto* well = qobject_cast<MyColorWell*>(viewWithTag(view, tag)))
        well->setColor(color);
}

void showText(QWidget* view, int tag, const QString& text)
{
    QWidget* control = viewWithTag(view, tag);
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        const QSignalBlocker quiet(field);
        field->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

void showAlignment(QWidget* view, int firstTag, int alignment)
{
    for (int which = 0; which < 3; ++which)
        showState(view, firstTag + which, alignment == which);
}

namespace {

bool holdsAShownControl(const QWidget* holder)
{
    for (const QObject* child : holder->children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child); widget && !widget->isHidden())
            return true;
    }
    return false;
}

} // namespace

void showControls(QWidget* view, std::initializer_list<int> tags, bool visible)
{
    for (int tag : tags) {
        QWidget* control = viewWithTag(view, tag);
        if (!control)
            continue;
        control->setVisible(visible);
        for (QWidget* holder = control->parentWidget(); holder && holder->property(rowHolderProperty).toBool(); holder = holder->parentWidget())
            holder->setVisible(holdsAShownControl(holder));
    }
}

} // namespace lq
