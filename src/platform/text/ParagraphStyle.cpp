#include "platform/text/ParagraphStyle.h"

namespace lq {

namespace {
QList<TabStop> leftStops(int count, qreal first, qreal interval)
{
    QList<TabStop> stops;
    stops.reserve(count);
    for (int i = 0; i < count; ++i)
        stops.append(TabStop { TabStop::Type::Left, first + i * interval });
    return stops;
}
} // namespace

QList<TabStop> ParagraphStyle::defaultTabStops()
{
    static const QList<TabStop> stops = leftStops(12, 28.0, 28.0);
    return stops;
}

TextAlignment ParagraphStyle::alignmentFromCode(int code)
{
    switch (code) {
    case 1:
        return TextAlignment::Right;
    case 2:
        return TextAlignment::Center;
    case 3:
        return TextAlignment::Justified;
    case 4:
        return TextAlignment::Natural;
    default:
        return TextAlignment::Left;
    }
}

QList<TabStop> standardTabStops()
{
    // One list that every copy shares: the texts of a menu of many items
    // each hold the stops.
    static const QList<TabStop> stops = leftStops(36, 0.0, 28.0);
    return stops;
}

} // namespace lq
