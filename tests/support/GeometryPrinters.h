#pragma once

// Lets GoogleTest print the geometry values in failure messages.
#include "platform/Geometry.h"

#include <ostream>

namespace lq {
inline void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const Point& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}
} // namespace lq
