#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace lq {

// A failure of the application: a name (the kind of failure) and a reason.
// The exception frames (ExceptionFrame.h) log it and pass a failure whose
// reason is "trace" up to the caller, so the log shows the chain of
// operations it went through.
class Exception : public std::exception {
public:
    Exception(QString name, QString reason);

    const QString& name() const { return _name; }
    const QString& reason() const { return _reason; }
    bool isTrace() const { return _reason == traceReason(); }
    const char* what() const noexcept override { return _what.constData(); }

    static QString traceReason() { return QStringLiteral("trace"); }

private:
    QString _name;
    QString _reason;
    QByteArray _what;
};

// Raise a failure with the given name and reason.
[[noreturn]] void raise(const QString& name, const QString& reason);

// The division guard: raises "Divide By 0" with the reason when the divisor is zero.
void guardDivisor(double divisor, const QString& reason);

} // namespace lq
