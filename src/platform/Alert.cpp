#include "platform/Alert.h"

#include "platform/Services.h"

namespace lq {

void runAlert(const QString& title, const QString& message, const QString& button)
{
    if (const AlertHandler& handler = services().alertHandler)
        handler(title, message, button);
}

} // namespace lq
