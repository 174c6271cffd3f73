#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

namespace lq {

// Reads an XML property list: a "plist" element holding one value. A "dict"
// becomes a QVariantMap (a key given twice keeps its last value), an "array"
// a QVariantList in order, "string" a QString, "integer" a qlonglong, "real"
// a double, "true" and "false" a bool, "date" a QDateTime in UTC and "data"
// the decoded bytes as a QByteArray.
//
// Answers nothing when the text is no such list (not XML, another root, an
// unknown element, a key without a value, a number that is none, values
// nested deeper than 256) or when it passes the bounds of InputLimits (its
// size, and the characters its entities add, all uses together); `error`,
// when given, then says what was wrong and on which line. Binary property
// lists are not read.
std::optional<QVariant> readPropertyList(const QByteArray& xml, QString* error = nullptr);
// The same for the file at the path; a file that cannot be read is an error too.
std::optional<QVariant> readPropertyListFile(const QString& path, QString* error = nullptr);

} // namespace lq
