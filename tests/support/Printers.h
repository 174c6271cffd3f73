#pragma once

// Lets GoogleTest print Qt strings and page passes in failure messages.
#include "templates/PagePass.h"

#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << (s.isNull() ? std::string("<null>") : ('"' + s.toStdString() + '"'));
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}
QT_END_NAMESPACE

// A page pass as its number.
inline std::ostream& operator<<(std::ostream& os, PagePass pass)
{
    return os << "pass " << static_cast<int>(pass);
}
