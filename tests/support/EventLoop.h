#pragma once

// Running the event loop in tests until something has happened.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <functional>

// Handles events until the condition holds; answers whether it came to hold
// before the time limit. The limit only ends a test that would otherwise hang:
// it is far above what any condition needs.
inline bool processEventsUntil(const std::function<bool()>& condition, int limitMilliseconds = 20000)
{
    QDeadlineTimer deadline(limitMilliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}
