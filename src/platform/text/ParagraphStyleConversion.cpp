#include "platform/text/ParagraphStyleConversion.h"

namespace lq {

Qt::Alignment qtAlignment(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Left:
        return Qt::AlignLeft | Qt::AlignAbsolute;
    case TextAlignment::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case TextAlignment::Center:
        return Qt::AlignHCenter;
    case TextAlignment::Justified:
        return Qt::AlignJustify;
    case TextAlignment::Natural:
        break;
    }
    return Qt::AlignLeading;
}

Qt::LayoutDirection qtDirection(WritingDirection direction)
{
    switch (direction) {
    case WritingDirection::LeftToRight:
        return Qt::LeftToRight;
    case WritingDirection::RightToLeft:
        return Qt::RightToLeft;
    case WritingDirection::Natural:
        break;
    }
    return Qt::LayoutDirectionAuto;
}

QList<QTextOption::Tab> qtTabs(const QList<TabStop>& stops)
{
    QList<QTextOption::Tab> tabs;
    tabs.reserve(stops.size());
    for (const TabStop& stop : stops) {
        switch (stop.type) {
        case TabStop::Type::Left:
            tabs.append(QTextOption::Tab(stop.location, QTextOption::LeftTab));
            break;
        case TabStop::Type::Right:
            tabs.append(QTextOption::Tab(stop.location, QTextOption::RightTab));
            break;
        case TabStop::Type::Center:
            tabs.append(QTextOption::Tab(stop.location, QTextOption::CenterTab));
            break;
        case TabStop::Type::Decimal:
            tabs.append(QTextOption::Tab(stop.location, QTextOption::DelimiterTab, QLatin1Char('.')));
            break;
        }
    }
    return tabs;
}

} // namespace lq
