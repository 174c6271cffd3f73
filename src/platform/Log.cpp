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
} // namespace

void log(const QString& line)
{
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

} // namespace lq
