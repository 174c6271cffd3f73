#include "platform/Strings.h"

#include <QStringDecoder>

#include "platform/Scanner.h"

#include <climits>

namespace lq {

namespace {

qsizetype skipLeadingBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')
               || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
        ++i;
    return i;
}

// Strips trailing slashes, keeping a lone "/".
QString withoutTrailingSlashes(const QString& path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == QLatin1Char('/'))
        --end;
    return path.left(end);
}

} // namespace

long long longLongValue(QStringView text)
{
    qsizetype i = skipLeadingBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        const unsigned digit = text[i].unicode() - '0';
        if (magnitude > (ULLONG_MAX - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    }
    if (negative) {
        if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX) + 1)
            return LLONG_MIN;
        return magnitude == static_cast<unsigned long long>(LLONG_MAX) + 1 ? LLONG_MIN : -static_cast<long long>(magnitude);
    }
    if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX))
        return LLONG_MAX;
    return static_cast<long long>(magnitude);
}

int intValue(QStringView text)
{
    return static_cast<int>(std::clamp<long long>(longLongValue(text), INT_MIN, INT_MAX));
}

double doubleValue(QStringView text)
{
    double value = 0;
    return parseCNumber(text.sliced(skipLeadingBlanks(text)), &value) > 0 ? value : 0.0;
}

float floatValue(QStringView text)
{
    return static_cast<float>(doubleValue(text));
}

bool boolValue(QStringView text)
{
    qsizetype i = skipLeadingBlanks(text);
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    while (i < text.size() && text[i] == QLatin1Char('0'))
        ++i;
    if (i >= text.size())
        return false;
    const char16_t c = text[i].unicode();
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

void appendDecimal(QString& text, int value)
{
    char16_t digits[12];
    char16_t* start = std::end(digits);
    // The magnitude as unsigned, so that the smallest int has one too.
    unsigned int rest = value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    do {
        *--start = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0)
        *--start = u'-';
    text.append(QStringView(start, std::end(digits)));
}

QString orEmpty(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString lastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == QLatin1String("/"))
        return trimmed;
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? trimmed : trimmed.mid(slash + 1);
}

QString pathExtension(const QString& path)
{
    const QString last = lastPathComponent(path);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return QString(QLatin1String(""));
    return last.mid(dot + 1);
}

QString stringByDeletingLastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString(QLatin1String(""));
    if (slash == 0)
        return QStringLiteral("/");
    return trimmed.left(slash);
}

QString stringByDeletingPathExtension(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const QString extension = pathExtension(trimmed);
    if (extension.isEmpty()) {
        // "name." loses its lone dot as well.
        const QString last = lastPathComponent(trimmed);
        if (last.size() > 1 && last.endsWith(QLatin1Char('.')))
            return trimmed.chopped(1);
        return trimmed;
    }
    return trimmed.chopped(extension.size() + 1);
}

QString stringByAppendingPathComponent(const QString& path, const QString& component)
{
    if (path.isEmpty())
        return component;
    if (component.isEmpty())
        return path;
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    QString tail = component;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result + tail;
}

QString stringByAppendingPathExtension(const QString& path, const QString& extension)
{
    return withoutTrailingSlashes(path) + QLatin1Char('.') + extension;
}

QString fileNameFromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace lq
