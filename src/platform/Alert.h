#pragma once

#include <QString>

#include <functional>

namespace lq {

// A modal alert with a title, a message and one button. The model cannot
// show windows itself (it links no widget library), so the application shell
// fills the services' handler that shows the alert and waits for the button;
// while there is none an alert shows nothing.
using AlertHandler = std::function<void(const QString& title, const QString& message, const QString& button)>;
void runAlert(const QString& title, const QString& message, const QString& button);

} // namespace lq
