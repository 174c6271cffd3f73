#include "ui/widgets/MyCancelButton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

MyCancelButton::MyCancelButton(int tag, const QString& title, QWidget* parent)
    : MyButton(tag, title, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool MyCancelButton::focusNextPrevChild(bool next)
{
    if (isVisible())
        return true;
    return MyButton::focusNextPrevChild(next);
}

void MyCancelButton::focusOutEvent(QFocusEvent* event)
{
    MyButton::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool takenInWindow = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason
        || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
    if (!takenInWindow || !isVisible())
        return;
    // Taken back once the widget that took it has settled.
    QTimer::singleShot(0, this, [self = QPointer<MyCancelButton>(this)] {
        if (self && self->isVisible())
            self->setFocus(Qt::OtherFocusReason);
    });
}

void MyCancelButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier && (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        click();
        return;
    }
    MyButton::keyPressEvent(event);
}
