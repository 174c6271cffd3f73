#pragma once

// Text helpers the model relies on: numbers read from the start of a text
// and "/"-separated path components. Formatting uses QString::asprintf,
// which is C-locale ("%d", "%f", "%X", "%g" as in C), and QString::number.

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>

namespace lq {

// The integer at the start of the text: leading blanks, tabs and line ends
// are skipped, an optional sign and digits are read ("12abc" is 12, "abc" is
// 0); too large values are clamped.
int intValue(QStringView text);
long long longLongValue(QStringView text);
// The C-locale floating-point number at the start of the text, or 0.
double doubleValue(QStringView text);
float floatValue(QStringView text);
// True for a text starting (after blanks, sign and zeros) with Y, y, T, t or 1 to 9.
bool boolValue(QStringView text);
// The value of a hexadecimal digit (either case), or -1 for any other character.
int hexDigitValue(QChar c);

// Appends the integer in decimal, as QString::number writes it, without
// making a string of its own: for pages that write many numbers.
void appendDecimal(QString& text, int value);

// The text, or "" for a null text: stored texts are never null.
QString orEmpty(const QString& text);

// A file name's bytes read as UTF-8 text with every code point kept: a
// byte-order mark at its start stays a character of the name, where
// QString::fromUtf8 and QFile::decodeName drop it.
QString fileNameFromUtf8(QByteArrayView bytes);

// Path helpers, on "/"-separated paths.
QString lastPathComponent(const QString& path);
// The text after the last "." of the last component; "" when there is none
// or the component starts with its only ".".
QString pathExtension(const QString& path);
QString stringByDeletingLastPathComponent(const QString& path);
QString stringByDeletingPathExtension(const QString& path);
QString stringByAppendingPathComponent(const QString& path, const QString& component);
QString stringByAppendingPathExtension(const QString& path, const QString& extension);

// Texts of the program's own, as views whose length is known when
// compiling: u"name"_sv compared with a text starts with the two lengths, as
// most comparisons against a list of names fail.
namespace literals {
constexpr QStringView operator""_sv(const char16_t* text, std::size_t length) noexcept
{
    return QStringView(text, static_cast<qsizetype>(length));
}
} // namespace literals

} // namespace lq
