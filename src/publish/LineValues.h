#pragma once

#include <QString>

namespace lq {

// Values that travel inside a line protocol: one value per line, so a line
// break inside one would end it and make the rest a command of its own.

// The value as a field gives it, less the line breaks a paste leaves at its end.
QString takenLineValue(const QString& value);

// "" when the value can stand on one line; else why it cannot, naming what
// it is ("The password", "The host").
QString lineValueRefusal(const QString& what, const QString& value);

} // namespace lq
