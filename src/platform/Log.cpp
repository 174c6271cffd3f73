#include "platform/Log.h"

#include <QDateTime>
#include <QCoreApplication>

#include <cstdio>

namespace lq {

namespace {
LogSink& sink()
{
    static LogSink theSink;
    return theSink;
}

LogSink*& threadSink()
{
    thread_local LogSink* own = nullptr;
    return own;
}
} // namespace

void log(const QString& line)
{
    if (const LogSink* own = threadSink()) {
        (*own)(line);
        return;
    }
    if (const LogSink& s = sink()) {
        s(line);
        return;
    }
    const QString stamped = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
        + QStringLiteral(" Lumenquill[") + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("] ")
        + line + QLatin1Char('\n');
    const QByteArray bytes = stamped.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void setLogSink(LogSink s)
{
    sink() = std::move(s);
}

ThreadLogSink::ThreadLogSink(LogSink sink)
    : _sink(std::move(sink))
    , _previous(threadSink())
{
    threadSink() = &_sink;
}

ThreadLogSink::~ThreadLogSink()
{
    threadSink() = _previous;
}

} // namespace lq
