#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>

namespace lq {

// A range of UTF-16 positions (location, length), unsigned 32-bit each.
struct Range {
    quint32 location = 0;
    quint32 length = 0;

    quint64 end() const { return quint64(location) + length; }

    // The common part of two ranges; (0, 0) when they do not overlap.
    Range intersection(Range other) const
    {
        const quint64 start = std::max<quint64>(location, other.location);
        const quint64 stop = std::min(end(), other.end());
        if (stop <= start)
            return {};
        return { quint32(start), quint32(stop - start) };
    }

    friend bool operator==(Range a, Range b) = default;

    // The text form "{location, length}".
    QString toString() const { return QString::asprintf("{%u, %u}", location, length); }
    // Reads the first two runs of digits of the text; a missing one is 0.
    static Range fromString(const QString& text)
    {
        quint64 numbers[2] = { 0, 0 };
        int found = 0;
        bool inDigits = false;
        for (QChar c : text) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
                if (!inDigits && found == 2)
                    break;
                if (!inDigits)
                    ++found;
                inDigits = true;
                quint64& n = numbers[found - 1];
                n = std::min<quint64>(n * 10 + quint64(c.unicode() - '0'), 0xFFFFFFFFu);
            } else {
                inDigits = false;
            }
        }
        return { quint32(numbers[0]), quint32(numbers[1]) };
    }
};

} // namespace lq
