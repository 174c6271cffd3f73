#pragma once

// The Qt forms of a paragraph style's values, shared by the layout manager
// (QTextOption) and the rich-text document conversion (QTextBlockFormat).

#include "platform/text/ParagraphStyle.h"

#include <QList>
#include <QTextOption>

namespace lq {

// Left and right are absolute (they do not flip with the writing direction);
// natural is the leading edge.
Qt::Alignment qtAlignment(TextAlignment alignment);
// Natural lets Qt decide from the text.
Qt::LayoutDirection qtDirection(WritingDirection direction);
// Decimal stops align on ".".
QList<QTextOption::Tab> qtTabs(const QList<TabStop>& stops);

} // namespace lq
