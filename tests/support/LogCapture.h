#pragma once

#include "platform/Log.h"

#include <QStringList>

// Collects the log lines written while it lives.
class LogCapture {
public:
    LogCapture()
    {
        lq::setLogSink([this](const QString& line) { lines.append(line); });
    }
    ~LogCapture() { lq::setLogSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines;
};
