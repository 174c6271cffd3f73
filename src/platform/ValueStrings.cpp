#include "platform/ValueStrings.h"

#include "platform/Scanner.h"
#include "platform/Strings.h"

#include <algorithm>

namespace lq {

namespace {

// The leading C-locale number of a part of a colour text, after its blanks
// and line ends; 0 when it has none.
float leadingNumber(QStringView part)
{
    static const CharacterSet blanks = CharacterSet::whitespaceAndNewlineCharacters();
    qsizetype start = 0;
    while (start < part.size() && blanks.contains(part[start]))
        ++start;
    const QStringView rest = part.sliced(start);
    double value = 0;
    if (parseCNumber(rest.first(numberCharactersLength(rest)), &value) == 0)
        return 0.0f;
    return static_cast<float>(std::clamp(value, -1.0, 2.0)); // the colour clamps to 0..1 afterwards
}

// A component as the CSS form writes it: times 255, cut toward zero. The
// component is brought into 0..1 first so that the answer is always two digits.
int cssComponent(float component)
{
    const float c = Colour(component, 0, 0, 0).clamped().r;
    return static_cast<int>(static_cast<double>(c) * 255.0);
}

} // namespace

std::optional<Colour> stringToColor(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    if (text.at(0) == QLatin1Char('#')) {
        if (text.size() <= 6)
            return std::nullopt;
        auto component = [&](int first) {
            return hexColorHex(text.at(first).toLatin1(), text.at(first + 1).toLatin1());
        };
        return Colour(component(1), component(3), component(5), 1.0f);
    }
    // Exactly four parts between single blanks ("1 0.5 0 1"); an empty part
    // counts as one.
    float components[4];
    int parts = 0;
    const QStringView view(text);
    for (qsizetype start = 0;;) {
        qsizetype end = start;
        while (end < view.size() && view[end] != u' ')
            ++end;
        if (parts == 4)
            return Colour::black();
        components[parts++] = leadingNumber(view.sliced(start, end - start));
        if (end == view.size())
            break;
        start = end + 1;
    }
    if (parts != 4)
        return Colour::black();
    return Colour(components[0], components[1], components[2], components[3]).clamped();
}

QString colorToString(const Colour& colour)
{
    return QString::asprintf("%f %f %f %f", static_cast<double>(colour.r), static_cast<double>(colour.g),
        static_cast<double>(colour.b), static_cast<double>(colour.a));
}

QString colorToCSSString(const Colour& colour)
{
    return QString::asprintf("#%02X%02X%02X", cssComponent(colour.r), cssComponent(colour.g),
        cssComponent(colour.b));
}

int colorToInt(const Colour& colour)
{
    return cssComponent(colour.r) * 65536 + cssComponent(colour.g) * 256 + cssComponent(colour.b);
}

float hexColorHex(char high, char low)
{
    return static_cast<float>((16 * hexChar(high) + hexChar(low)) / 255.0);
}

int hexChar(char c)
{
    return std::max(0, hexDigitValue(QLatin1Char(c)));
}

QString rectToString(const Rect& rect)
{
    return rect.toString();
}

Rect stringToRect(const QString& text)
{
    return Rect::fromString(text);
}

QString pointToString(const Point& point)
{
    return point.toString();
}

Point stringToPoint(const QString& text)
{
    return Point::fromString(text);
}

QString sizeToString(const Size& size)
{
    return size.toString();
}

Size stringToSize(const QString& text)
{
    return Size::fromString(text);
}

QString boolToString(bool flag)
{
    return flag ? QStringLiteral("YES") : QStringLiteral("NO");
}

bool stringToBool(const QString& text)
{
    return text == QLatin1String("YES");
}

quint32 hexString(const QString& text)
{
    Scanner scanner(text);
    unsigned value = 0;
    return scanner.scanHexInt(&value) ? value : 0u;
}

} // namespace lq
