#pragma once
// Connecting a control's signal to a controller's action so that no failure
// leaves the slot: the action runs in the interface frame (logged, closing
// rule, stopped).
#include "platform/ExceptionFrame.h"

#include <QObject>

namespace lq {

template <typename Sender, typename Signal, typename Receiver, typename Action>
QMetaObject::Connection connectAction(Sender* sender, Signal signal, Receiver* receiver, const char* actionName, Action action)
{
    // The action takes no arguments: it asks the sender for what it needs.
    return QObject::connect(sender, signal, receiver, [receiver, actionName, action]() {
        lq::uiFrame(receiver, actionName, [&] { action(); });
    });
}

} // namespace lq
