#pragma once

#include <QString>

#include <functional>

namespace lq {

// The application's diagnostic log. Lines go to standard error, unbuffered;
// at start-up standard error is redirected into the support folder's
// "activity.log".
void log(const QString& line);

// Tests capture the log through a sink; while one is installed, lines go to
// the sink instead of standard error. Pass an empty function to restore.
using LogSink = std::function<void(const QString&)>;
void setLogSink(LogSink sink);

} // namespace lq
