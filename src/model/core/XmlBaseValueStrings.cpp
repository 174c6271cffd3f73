// The value strings of XmlBase: colours, rectangles, points, sizes, booleans
// and hexadecimal numbers as element attributes hold them, and the shared
// tab stops of laid-out text.
#include "model/core/XmlBase.h"

#include "platform/ExceptionFrame.h"
#include "platform/Scanner.h"

namespace {

// The leading C-locale number of a part of a colour text; 0 when it has none.
float leadingNumber(const QString& part)
{
    lq::Scanner scanner(part);
    double value = 0;
    if (!scanner.scanDouble(&value))
        return 0.0f;
    return static_cast<float>(std::clamp(value, -1.0, 2.0)); // the colour clamps to 0..1 afterwards
}

// A component as the CSS form writes it: times 255, cut toward zero. The
// component is brought into 0..1 first so that the answer is always two digits.
int cssComponent(float component)
{
    const float c = lq::Colour(component, 0, 0, 0).clamped().r;
    return static_cast<int>(static_cast<double>(c) * 255.0);
}

} // namespace

std::optional<lq::Colour> XmlBase::stringToColor(const QString& text)
{
    return lq::classFrame("XmlBase stringToColor:", [&]() -> std::optional<lq::Colour> {
        if (text.isEmpty())
            return std::nullopt;
        if (text.at(0) == QLatin1Char('#')) {
            if (text.size() <= 6)
                return std::nullopt;
            auto component = [&](int first) {
                return hexColorHex(text.at(first).toLatin1(), text.at(first + 1).toLatin1());
            };
            return lq::Colour(component(1), component(3), component(5), 1.0f);
        }
        const QStringList parts = text.split(QLatin1Char(' '));
        if (parts.size() != 4)
            return lq::Colour::black();
        return lq::Colour(leadingNumber(parts[0]), leadingNumber(parts[1]), leadingNumber(parts[2]),
            leadingNumber(parts[3]))
            .clamped();
    });
}

QString XmlBase::colorToString(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToString:", [&] {
        return QString::asprintf("%f %f %f %f", static_cast<double>(colour.r), static_cast<double>(colour.g),
            static_cast<double>(colour.b), static_cast<double>(colour.a));
    });
}

QString XmlBase::colorToCSSString(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToCSSString:", [&] {
        return QString::asprintf("#%02X%02X%02X", cssComponent(colour.r), cssComponent(colour.g),
            cssComponent(colour.b));
    });
}

int XmlBase::colorToInt(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToInt:", [&] {
        return cssComponent(colour.r) * 65536 + cssComponent(colour.g) * 256 + cssComponent(colour.b);
    });
}

float XmlBase::hexColorHex(char high, char low)
{
    return lq::classFrame("XmlBase +hexColor:hex:", [&] {
        return static_cast<float>((16 * hexChar(high) + hexChar(low)) / 255.0);
    });
}

int XmlBase::hexChar(char c)
{
    return lq::classFrame("XmlBase +hexChar:", [&] {
        if (c >= '1' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return 0;
    });
}

QString XmlBase::rectToString(const lq::Rect& rect)
{
    return lq::classFrame("XmlBase +rectToString:", [&] { return rect.toString(); });
}

lq::Rect XmlBase::stringToRect(const QString& text)
{
    return lq::classFrame("XmlBase +stringToRect:", [&] { return lq::Rect::fromString(text); });
}

QString XmlBase::pointToString(const lq::Point& point)
{
    return lq::classFrame("XmlBase +pointToString:", [&] { return point.toString(); });
}

lq::Point XmlBase::stringToPoint(const QString& text)
{
    return lq::classFrame("XmlBase +stringToPoint:", [&] { return lq::Point::fromString(text); });
}

QString XmlBase::sizeToString(const lq::Size& size)
{
    return lq::classFrame("XmlBase +sizeToString:", [&] { return size.toString(); });
}

lq::Size XmlBase::stringToSize(const QString& text)
{
    return lq::classFrame("XmlBase +stringToSize:", [&] { return lq::Size::fromString(text); });
}

QString XmlBase::BOOLToString(bool flag)
{
    return lq::classFrame("XmlBase +BOOLToString:", [&] {
        return flag ? QStringLiteral("YES") : QStringLiteral("NO");
    });
}

bool XmlBase::stringToBOOL(const QString& text)
{
    return lq::classFrame("XmlBase +stringToBOOL:", [&] { return text == QLatin1String("YES"); });
}

quint32 XmlBase::hexString(const QString& text)
{
    return lq::classFrame("XmlBase +hexString", [&]() -> quint32 {
        lq::Scanner scanner(text);
        unsigned value = 0;
        return scanner.scanHexInt(&value) ? value : 0u;
    });
}

QList<lq::TabStop> XmlBase::lqTabStops()
{
    return lq::classFrame("XmlBase +lqTabStops", [&] { return lq::standardTabStops(); });
}
