#pragma once

// The paragraph style of styled text: alignment, writing direction, spacing
// and tab stops. Lengths are pixels (the points of the page canvas).

#include <QList>
#include <QtGlobal>

namespace lq {

// Alignment codes as stored and compared throughout the program.
enum class TextAlignment : int { Left = 0, Right = 1, Center = 2, Justified = 3, Natural = 4 };

// Natural follows the text itself (the first strong character decides).
enum class WritingDirection : int { Natural = -1, LeftToRight = 0, RightToLeft = 1 };

struct TabStop {
    enum class Type { Left, Right, Center, Decimal };
    Type type = Type::Left;
    qreal location = 0;

    friend bool operator==(const TabStop&, const TabStop&) = default;
};

struct ParagraphStyle {
    TextAlignment alignment = TextAlignment::Natural;
    WritingDirection baseWritingDirection = WritingDirection::Natural;
    // Space added below every line of the paragraph.
    qreal lineSpacing = 0;
    // Space added below the paragraph's last line.
    qreal paragraphSpacing = 0;
    QList<TabStop> tabStops = defaultTabStops();

    // The platform's default style: natural alignment and direction, no
    // spacing, twelve left stops every 28 pixels from 28.
    static ParagraphStyle defaultStyle() { return {}; }
    static QList<TabStop> defaultTabStops();

    int alignmentCode() const { return int(alignment); }
    // 0 left, 1 right, 2 centre, 3 justified, 4 natural; any other code is left.
    static TextAlignment alignmentFromCode(int code);

    friend bool operator==(const ParagraphStyle&, const ParagraphStyle&) = default;
};

// The tab stops that every laid-out text of the program shares: 36 left
// stops every 28 pixels from 0 (0, 28, ... 980). A new list on every call.
QList<TabStop> standardTabStops();

} // namespace lq
