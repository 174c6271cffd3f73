#include "platform/Scanner.h"

#include "platform/Strings.h"

#include <algorithm>
#include <clocale>
#include <locale.h>
#include <climits>
#include <cstdlib>
#include <iterator>

namespace lq {

qsizetype parseCNumber(const QByteArray& bytes, double* value)
{
    // The process runs in the user's locale; numbers in files are always C-locale.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const char* begin = bytes.constData(); // QByteArray keeps a terminating zero
    char* end = nullptr;
    const double result = strtod_l(begin, &end, cLocale);
    if (end == begin)
        return 0;
    *value = result;
    return end - begin;
}

namespace {

// Powers of ten that a double holds exactly.
constexpr double exactPowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
    1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

// A plain decimal number at the start of the text (optional sign, digits
// with an optional fraction, no exponent) whose digits and scale a double
// holds exactly: one division of two exact values then rounds as strtod
// does. Answers its length, or 0 when the text needs strtod.
qsizetype parsePlainDecimal(QStringView text, double* value)
{
    constexpr int exactDigits = 15; // below 2^53
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    quint64 mantissa = 0;
    int significantDigits = 0;
    int fractionDigits = 0;
    qsizetype digits = 0;
    const auto takeDigits = [&](bool fraction) {
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
            const unsigned digit = text[i].unicode() - u'0';
            if (mantissa != 0 || digit != 0)
                ++significantDigits;
            mantissa = mantissa * 10 + digit;
            if (fraction)
                ++fractionDigits;
            if (significantDigits > exactDigits)
                return false;
        }
        return true;
    };
    if (!takeDigits(false))
        return 0;
    if (i < n && text[i] == u'.') {
        ++i;
        if (!takeDigits(true))
            return 0;
    }
    // No digits (perhaps "inf" or "nan"), an exponent, or a hexadecimal
    // number ("0x1p3"): strtod's own reading.
    if (digits == 0 || fractionDigits >= static_cast<int>(std::size(exactPowersOfTen)))
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'x' || text[i] == u'X'))
        return 0;
    const double magnitude = static_cast<double>(mantissa) / exactPowersOfTen[fractionDigits];
    *value = negative ? -magnitude : magnitude;
    return i;
}

} // namespace

qsizetype parseCNumber(QStringView text, double* value)
{
    if (const qsizetype used = parsePlainDecimal(text, value))
        return used;
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size() && text[i].unicode() < 128; ++i)
        bytes.append(static_cast<char>(text[i].unicode()));
    return parseCNumber(bytes, value);
}

qsizetype numberCharactersLength(QStringView text)
{
    qsizetype p = 0;
    while (p < text.size()) {
        const char16_t c = text[p].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            break;
        ++p;
    }
    return p;
}

Scanner::Scanner(QString text)
    : _text(std::move(text))
{
    // Worked out once: scanners are made for short texts all the time.
    static const CharacterSet blanks = CharacterSet::whitespaceAndNewlineCharacters();
    _skipped = blanks;
}

void Scanner::skip()
{
    if (!_skipped)
        return;
    while (_pos < _text.size() && _skipped->contains(_text[_pos]))
        ++_pos;
}

bool Scanner::isAtEnd()
{
    const qsizetype saved = _pos;
    skip();
    const bool atEnd = _pos >= _text.size();
    _pos = saved;
    return atEnd;
}

namespace {

// True when letter case cannot matter to a search for the string: it holds
// only ASCII characters that are not letters (no character folds to one).
bool caseFree(QStringView string)
{
    for (QChar c : string) {
        const char16_t u = c.unicode();
        if (u >= 128 || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
            return false;
    }
    return true;
}

} // namespace

bool Scanner::scanString(QStringView string, QString* into)
{
    const qsizetype saved = _pos;
    skip();
    // Letter case cannot matter to the characters before the first letter:
    // they are compared here, unit by unit, and most calls, a test for a
    // mark that is not there, are answered by them. Only the rest of a
    // string with letters is compared the much slower way without case.
    qsizetype exact = 0;
    while (exact < string.size() && caseFree(string.sliced(exact, 1)))
        ++exact;
    bool matches = _text.size() - _pos >= string.size()
        && std::equal(string.begin(), string.begin() + exact, _text.constData() + _pos);
    if (matches && exact < string.size())
        matches = QStringView(_text).sliced(_pos + exact).startsWith(string.sliced(exact), sensitivity());
    if (!string.isEmpty() && matches) {
        if (into)
            *into = _text.mid(_pos, string.size());
        _pos += string.size();
        return true;
    }
    _pos = saved;
    return false;
}


bool Scanner::scanUpToString(QStringView string, QString* into)
{
    const qsizetype saved = _pos;
    skip();
    // A search that ignores case is much slower, and gives the same answer
    // for a string without letters.
    const Qt::CaseSensitivity how = caseFree(string) ? Qt::CaseSensitive : sensitivity();
    qsizetype found = string.isEmpty() ? -1 : QStringView(_text).indexOf(string, _pos, how);
    if (found < 0)
        found = _text.size();
    if (found == _pos) {
        _pos = saved;
        return false;
    }
    if (into)
        *into = _text.mid(_pos, found - _pos);
    _pos = found;
    return true;
}

bool Scanner::scanCharactersFromSet(const CharacterSet& set, QString* into)
{
    const qsizetype saved = _pos;
    skip();
    qsizetype end = _pos;
    while (end < _text.size() && set.contains(_text[end]))
        ++end;
    if (end == _pos) {
        _pos = saved;
        return false;
    }
    if (into)
        *into = _text.mid(_pos, end - _pos);
    _pos = end;
    return true;
}

bool Scanner::scanHexInt(unsigned* value)
{
    const qsizetype saved = _pos;
    skip();
    qsizetype p = _pos;
    if (p + 1 < _text.size() && _text[p] == QLatin1Char('0')
        && (_text[p + 1] == QLatin1Char('x') || _text[p + 1] == QLatin1Char('X'))
        && p + 2 < _text.size() && hexDigitValue(_text[p + 2]) >= 0)
        p += 2;
    quint64 result = 0;
    const qsizetype digitsStart = p;
    while (p < _text.size()) {
        const int digit = hexDigitValue(_text[p]);
        if (digit < 0)
            break;
        if (result <= 0xFFFFFFFFull)
            result = result * 16 + static_cast<quint64>(digit);
        ++p;
    }
    if (p == digitsStart) {
        _pos = saved;
        return false;
    }
    if (value)
        *value = result > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned>(result);
    _pos = p;
    return true;
}

bool Scanner::scanInt(int* value)
{
    const qsizetype saved = _pos;
    skip();
    qsizetype p = _pos;
    bool negative = false;
    if (p < _text.size() && (_text[p] == QLatin1Char('-') || _text[p] == QLatin1Char('+'))) {
        negative = _text[p] == QLatin1Char('-');
        ++p;
    }
    const qsizetype digitsStart = p;
    qint64 result = 0;
    while (p < _text.size() && _text[p] >= QLatin1Char('0') && _text[p] <= QLatin1Char('9')) {
        if (result <= qint64(INT_MAX) + 1)
            result = result * 10 + (_text[p].unicode() - '0');
        ++p;
    }
    if (p == digitsStart) {
        _pos = saved;
        return false;
    }
    if (negative)
        result = -result;
    if (value)
        *value = static_cast<int>(std::clamp<qint64>(result, INT_MIN, INT_MAX));
    _pos = p;
    return true;
}

bool Scanner::scanDouble(double* value)
{
    const qsizetype saved = _pos;
    skip();
    // The longest prefix that can be part of a C-locale number.
    const QStringView rest = QStringView(_text).sliced(_pos);
    double result = 0;
    const qsizetype used = parseCNumber(rest.first(numberCharactersLength(rest)), &result);
    if (used == 0) {
        _pos = saved;
        return false;
    }
    if (value)
        *value = result;
    _pos += used;
    return true;
}

} // namespace lq
