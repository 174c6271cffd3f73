#include "publish/TransferLimits.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace lq {

namespace {

TransferLimits& limitsInForce()
{
    static TransferLimits limits;
    return limits;
}

} // namespace

int TransferLimits::wholeSeconds(qint64 bytes) const
{
    const qint64 rate = std::max<qint64>(1, slowestBytesPerSecond);
    const qint64 seconds = qint64(std::max(1, baseSeconds)) + std::max<qint64>(0, bytes) / rate;
    return int(std::min<qint64>(seconds, std::numeric_limits<int>::max()));
}

QStringList TransferLimits::requestArguments(qint64 bytes) const
{
    return { QStringLiteral("-y") + QString::number(std::max(1, stallSeconds)), QStringLiteral("-m") + QString::number(wholeSeconds(bytes)) };
}

QHash<QString, QString> TransferLimits::toolEnvironment() const
{
    return { { QStringLiteral("LUMENQUILL_STALL_SECONDS"), QString::number(std::max(1, stallSeconds)) },
        { QStringLiteral("LUMENQUILL_BASE_SECONDS"), QString::number(std::max(1, baseSeconds)) },
        { QStringLiteral("LUMENQUILL_SLOWEST_RATE"), QString::number(std::max<qint64>(1, slowestBytesPerSecond)) },
        { QStringLiteral("LUMENQUILL_LISTING_BYTES"), QString::number(std::max<qint64>(1, listingBytes)) },
        { QStringLiteral("LUMENQUILL_LISTING_NAMES"), QString::number(std::max(1, listingNames)) } };
}

const TransferLimits& transferLimits()
{
    return limitsInForce();
}

void setTransferLimits(const TransferLimits& limits)
{
    limitsInForce() = limits;
}

} // namespace lq
