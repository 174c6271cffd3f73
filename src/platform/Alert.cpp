#include "platform/Alert.h"

namespace lq {

namespace {
AlertHandler& handler()
{
    static AlertHandler theHandler;
    return theHandler;
}
} // namespace

void setAlertHandler(AlertHandler h)
{
    handler() = std::move(h);
}

void runAlert(const QString& title, const QString& message, const QString& button)
{
    if (const AlertHandler& h = handler())
        h(title, message, button);
}

} // namespace lq
