#include "ui/widgets/MyTextViewNoTabs.h"

#include <QKeyEvent>

void MyTextViewNoTabs::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QKeyEvent blank(QEvent::KeyPress, Qt::Key_Space, event->modifiers() & ~Qt::ShiftModifier, QStringLiteral(" "));
        MyTextView::keyPressEvent(&blank);
        event->accept();
        return;
    }
    MyTextView::keyPressEvent(event);
}
