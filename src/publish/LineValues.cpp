#include "publish/LineValues.h"

namespace lq {

QString takenLineValue(const QString& value)
{
    QString taken = value;
    while (taken.endsWith(QLatin1Char('\n')) || taken.endsWith(QLatin1Char('\r')))
        taken.chop(1);
    return taken;
}

QString lineValueRefusal(const QString& what, const QString& value)
{
    for (const QChar c : value) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return what + QStringLiteral(" holds a line break, which cannot be sent to the transfer tool; nothing was sent. Type it again on one line.");
        if (c.isNull())
            return what + QStringLiteral(" holds a NUL character, which cannot be sent to the transfer tool; nothing was sent. Type it again without it.");
    }
    return QString();
}

} // namespace lq
