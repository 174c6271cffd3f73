#pragma once
// A press-move-release state machine for a widget's mouse handlers: the
// widget feeds it its press, move and release events and it keeps the state
// of the drag itself (pressed or not, where it began, where it is), so the
// widget works the same with real, QTest and synthetic events, and a move or
// release without a press is ignored.
#include <QPointF>

#include <functional>

class QMouseEvent;

class PressTracker {
public:
    struct Handlers {
        std::function<bool(QPointF at)> pressed;                    // false: not tracked
        std::function<void(QPointF from, QPointF to)> dragged;      // each move while pressed
        std::function<void(QPointF from, QPointF to)> released;
    };

    explicit PressTracker(Handlers handlers = {}) : _handlers(std::move(handlers)) {}
    void setHandlers(Handlers handlers) { _handlers = std::move(handlers); }

    // Each answers whether the event was the tracker's (and accepts it).
    bool press(QMouseEvent* event);
    bool move(QMouseEvent* event);
    bool release(QMouseEvent* event);
    // Ends a drag without a release (the widget lost the mouse).
    void cancel() { _pressed = false; }

    bool isPressed() const { return _pressed; }
    QPointF startPoint() const { return _start; }
    QPointF currentPoint() const { return _current; }

private:
    Handlers _handlers;
    bool _pressed = false;
    QPointF _start;
    QPointF _current;
};
