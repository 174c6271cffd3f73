#pragma once

#include "platform/CharacterSet.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace lq {

// A string scanner that reads a text token by token from a position: before
// every token it skips the characters to be skipped (by default blanks, tabs
// and line ends); string matches ignore letter case unless
// setCaseSensitive(true). Every scan answers whether it read anything; a scan
// that fails leaves the position where it was.
class Scanner {
public:
    explicit Scanner(QString text);

    const QString& string() const { return _text; }
    qsizetype scanLocation() const { return _pos; }

    // Moves to the position, which must lie within the text.
    void setScanLocation(qsizetype location) { _pos = location; }

    // Nothing: skip nothing.
    void setCharactersToBeSkipped(std::optional<CharacterSet> skipped) { _skipped = std::move(skipped); }
    const std::optional<CharacterSet>& charactersToBeSkipped() const { return _skipped; }
    void setCaseSensitive(bool caseSensitive) { _caseSensitive = caseSensitive; }

    // True when only characters to be skipped are left.
    bool isAtEnd();

    bool scanString(QStringView string, QString* into = nullptr);
    // Reads up to (not including) the string, or to the end when it does not
    // occur; answers false when that is nothing.
    bool scanUpToString(QStringView string, QString* into = nullptr);
    bool scanCharactersFromSet(const CharacterSet& set, QString* into = nullptr);

    // Optional "0x" or "0X", then hexadecimal digits; too large a value gives 0xFFFFFFFF.
    bool scanHexInt(unsigned* value);
    // Optional sign, then decimal digits; out-of-range values are clamped.
    bool scanInt(int* value);
    // A C-locale floating-point number.
    bool scanDouble(double* value);

private:
    void skip();
    Qt::CaseSensitivity sensitivity() const { return _caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive; }

    // Never changed: the scanner reads the text it was given in place, and
    // shares it with its caller (a whole document, often).
    const QString _text;
    qsizetype _pos = 0;
    std::optional<CharacterSet> _skipped;
    bool _caseSensitive = false;
};

} // namespace lq

namespace lq {
// Parses the longest C-locale floating-point number at the start of the
// bytes; answers the number of bytes used (0 for none).
qsizetype parseCNumber(const QByteArray& bytes, double* value);
// The same for the text's characters up to its first one outside ASCII,
// without copying them when the number is a plain decimal one.
qsizetype parseCNumber(QStringView text, double* value);
// The length of the run at the start of the text of characters a decimal
// number is written with: digits, ".", "+", "-", "e" and "E".
qsizetype numberCharactersLength(QStringView text);
} // namespace lq
