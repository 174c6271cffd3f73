#pragma once

#include <QString>

#include <functional>

namespace lq {

// A modal alert with a title, a message and one button. The model cannot
// show windows itself (it links no widget library), so the application shell
// installs the handler that shows the alert and waits for the button; while
// none is installed an alert shows nothing.
using AlertHandler = std::function<void(const QString& title, const QString& message, const QString& button)>;
void setAlertHandler(AlertHandler handler);
void runAlert(const QString& title, const QString& message, const QString& button);

} // namespace lq
