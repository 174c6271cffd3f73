#pragma once

// The exception frames that nearly every operation runs in.
//
// Model frame: a failure whose reason is "trace" logs "Trace:[<class> <op>]";
// any other logs "Error: ----------------------------------" and
// "Catch:[<class> <op>] <name>: <reason>". Then a failure with the reason
// "trace" goes on to the caller, so the log holds the chain of operations the
// failure passed through.
//
// Class frame: the same, with a fixed label ("XmlBase +urlescape:") in place
// of "[<class> <op>]".
//
// Interface frame: logs the same lines, then "-----------------------------------------",
// and stops the failure: the user interface is where a failure ends.
//
//     QString XmlBase::name() const { return lq::modelFrame(this, "name", [&] { return _name; }); }

#include "platform/Exception.h"

#include <QString>

#include <type_traits>
#include <typeinfo>

namespace lq {

// The class name of a type as the log shows it ("XmlBase").
QString className(const std::type_info& type);

namespace detail {
// Called inside a catch block: logs the current failure for the frame at `where`.
void logCaughtFailure(const QString& where);
// Called inside a catch block of an interface frame: logs the failure and the closing rule.
void logStoppedFailure(const QString& where);
[[noreturn]] void raiseTrace();
QString objectWhere(const std::type_info& type, const char* operation);
} // namespace detail

template <typename Body>
decltype(auto) classFrame(const char* label, Body&& body)
{
    try {
        return body();
    } catch (...) {
        detail::logCaughtFailure(QString::fromUtf8(label));
        detail::raiseTrace();
    }
}

template <typename Self, typename Body>
decltype(auto) modelFrame(const Self* self, const char* operation, Body&& body)
{
    try {
        return body();
    } catch (...) {
        detail::logCaughtFailure(detail::objectWhere(typeid(*self), operation));
        detail::raiseTrace();
    }
}

// On a failure the interface frame answers a default value of the body's type.
template <typename Self, typename Body>
auto uiFrame(const Self* self, const char* operation, Body&& body) -> std::invoke_result_t<Body>
{
    using Result = std::invoke_result_t<Body>;
    try {
        return body();
    } catch (...) {
        detail::logStoppedFailure(detail::objectWhere(typeid(*self), operation));
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }
}

} // namespace lq
