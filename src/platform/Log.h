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

// While the object lives, lines logged on the calling thread go to its sink
// alone (and nowhere else): a thread that works ahead of the main one keeps
// what it would have logged, so that the main thread decides what becomes
// of it.
class ThreadLogSink {
public:
    explicit ThreadLogSink(LogSink sink);
    ~ThreadLogSink();
    ThreadLogSink(const ThreadLogSink&) = delete;
    ThreadLogSink& operator=(const ThreadLogSink&) = delete;

private:
    LogSink _sink;
    LogSink* _previous;
};

} // namespace lq
