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

    // For a trace: the name and reason of the failure it began with, so that
    // whoever stops it can still tell what went wrong ("" when unknown).
    const QString& originName() const { return _originName; }
    const QString& originReason() const { return _originReason; }
    void setOrigin(const QString& name, const QString& reason)
    {
        _originName = name;
        _originReason = reason;
    }

private:
    QString _name;
    QString _reason;
    QString _originName;
    QString _originReason;
    QByteArray _what;
};

// Raise a failure with the given name and reason.
[[noreturn]] void raise(const QString& name, const QString& reason);

// The division guard: raises "Divide By 0" with the reason when the divisor is zero.
void guardDivisor(double divisor, const QString& reason);

} // namespace lq
