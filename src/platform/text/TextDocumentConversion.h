#pragma once

// Styled text in Qt's rich-text document and back, for editing in a text
// view. Everything styled text carries survives the round trip: fonts by
// face and exact size, float colours, the underline style, custom keys,
// paragraph styles with their tab stops, and each paragraph terminator with
// its own attributes. Text typed into the document takes the attributes of
// the text it is typed into, custom keys included.

#include "platform/text/StyledText.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <optional>

class QTextDocument;

namespace lq {

// Replaces the document's contents with the styled text.
void setDocumentStyledText(QTextDocument* document, const StyledText& text);
// The document's contents as styled text.
StyledText documentStyledText(const QTextDocument* document);

QTextCharFormat charFormatForAttributes(const TextAttributes& attributes);
// The attributes of a character format, without a paragraph style.
TextAttributes attributesForCharFormat(const QTextCharFormat& format);
QTextBlockFormat blockFormatForParagraphStyle(const ParagraphStyle& style);
// Nothing for a block format that carries no paragraph style.
std::optional<ParagraphStyle> paragraphStyleForBlockFormat(const QTextBlockFormat& format);

} // namespace lq
