#include "platform/ExceptionFrame.h"

#include "platform/Log.h"

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>

namespace lq {

QString className(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : type.name());
}

namespace detail {

namespace {

struct Described {
    QString name;
    QString reason;
    bool trace = false;
    QString originName;   // what a trace began with
    QString originReason;
};

Described describeCurrent()
{
    try {
        throw;
    } catch (const Exception& e) {
        return { e.name(), e.reason(), e.isTrace(), e.originName(), e.originReason() };
    } catch (const std::exception& e) {
        return { className(typeid(e)), QString::fromUtf8(e.what()), false, {}, {} };
    } catch (...) {
        return { QStringLiteral("UnknownException"), QStringLiteral("unknown failure"), false, {}, {} };
    }
}

} // namespace

QString objectWhere(const std::type_info& type, const char* operation)
{
    return QLatin1Char('[') + className(type) + QLatin1Char(' ') + QString::fromUtf8(operation) + QLatin1Char(']');
}

void logCaughtFailure(const QString& where)
{
    const Described failure = describeCurrent();
    if (failure.trace) {
        log(QStringLiteral("Trace:") + where);
        return;
    }
    log(QStringLiteral("Error: ----------------------------------"));
    log(QStringLiteral("Catch:") + where + QLatin1Char(' ') + failure.name + QStringLiteral(": ") + failure.reason);
}

void logStoppedFailure(const QString& where)
{
    const Described failure = describeCurrent();
    if (failure.trace)
        log(QStringLiteral("Trace:") + where);
    else
        log(QStringLiteral("Catch:") + where + QLatin1Char(' ') + failure.name + QStringLiteral(": ") + failure.reason);
    log(QStringLiteral("-----------------------------------------"));
}

void raiseTrace()
{
    // Called while a failure is handled: the trace keeps what it began with.
    const Described failure = describeCurrent();
    Exception trace(QStringLiteral("Trace"), Exception::traceReason());
    if (failure.trace)
        trace.setOrigin(failure.originName, failure.originReason);
    else
        trace.setOrigin(failure.name, failure.reason);
    throw trace;
}

} // namespace detail
} // namespace lq
