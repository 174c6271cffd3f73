#include "ui/widgets/PressTracker.h"

#include <QMouseEvent>

bool PressTracker::press(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const QPointF at = event->position();
    if (_handlers.pressed && !_handlers.pressed(at))
        return false;
    _pressed = true;
    _start = at;
    _current = at;
    event->accept();
    return true;
}

bool PressTracker::move(QMouseEvent* event)
{
    if (!_pressed)
        return false;
    _current = event->position();
    if (_handlers.dragged)
        _handlers.dragged(_start, _current);
    event->accept();
    return true;
}

bool PressTracker::release(QMouseEvent* event)
{
    if (!_pressed || event->button() != Qt::LeftButton)
        return false;
    _pressed = false;
    _current = event->position();
    if (_handlers.released)
        _handlers.released(_start, _current);
    event->accept();
    return true;
}
