#pragma once

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
};

} // namespace lq
