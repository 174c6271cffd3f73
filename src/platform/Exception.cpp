#include "platform/Exception.h"

namespace lq {

Exception::Exception(QString name, QString reason)
    : _name(std::move(name))
    , _reason(std::move(reason))
    , _what((_name + QStringLiteral(": ") + _reason).toUtf8())
{
}

void raise(const QString& name, const QString& reason)
{
    throw Exception(name, reason);
}

void guardDivisor(double divisor, const QString& reason)
{
    if (divisor == 0)
        raise(QStringLiteral("Divide By 0"), reason);
}

} // namespace lq
