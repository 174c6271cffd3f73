#include "platform/InputLimits.h"

namespace lq {

namespace {

InputLimits& limitsInForce()
{
    static InputLimits limits;
    return limits;
}

} // namespace

const InputLimits& inputLimits()
{
    return limitsInForce();
}

void setInputLimits(const InputLimits& limits)
{
    limitsInForce() = limits;
}

QString describeSize(qint64 bytes)
{
    if (bytes >= InputLimits::megabyte) {
        if (bytes % InputLimits::megabyte == 0)
            return QString::number(bytes / InputLimits::megabyte) + QStringLiteral(" MB");
        return QString::number(double(bytes) / double(InputLimits::megabyte), 'f', 1) + QStringLiteral(" MB");
    }
    return QString::number((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

} // namespace lq
