#pragma once

// Styled text in Qt's rich-text document and back, for editing in a text
// view. Everything styled text carries survives the round trip: fonts by
// face and exact size, float colours, the underline style, custom keys,
// paragraph styles with their tab stops, and each paragraph terminator with
// its own attributes. Text typed into the document takes the attributes of
// the text it is typed into, custom keys included.

#include "platform/text/StyledText.h"

#include <QStringView>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <optional>

class QTextDocument;

namespace lq {

// Replaces the document's contents with the styled text.
void setDocumentStyledText(QTextDocument* document, const StyledText& text);
// The document's contents as styled text.
StyledText documentStyledText(const QTextDocument* document);

// Positions. A paragraph terminator is one position of the document
// whatever its length in the styled text, so after a "\r\n" the document's
// positions run one behind the styled text's indexes. An index inside a
// "\r\n" gives the position of its paragraph's end; an index or a position
// past the end gives the end.
int documentPositionForIndex(const QTextDocument* document, quint32 index);
quint32 indexForDocumentPosition(const QTextDocument* document, int position);
// The length of the document's contents as styled text.
quint32 documentStyledLength(const QTextDocument* document);

// Attribute edits over a range (styled-text indexes) of the document's
// contents, in one undo step each, with the outcome of the same edit of the
// styled text; a paragraph style, kept per paragraph by the document, goes
// to every paragraph that the range touches. A range that reaches beyond
// the contents raises "NSRangeException".
void addDocumentAttributes(QTextDocument* document, const TextAttributes& attributes, Range range);
void removeDocumentAttribute(QTextDocument* document, QStringView key, Range range);

QTextCharFormat charFormatForAttributes(const TextAttributes& attributes);
// The attributes of a character format, without a paragraph style.
TextAttributes attributesForCharFormat(const QTextCharFormat& format);
QTextBlockFormat blockFormatForParagraphStyle(const ParagraphStyle& style);
// Nothing for a block format that carries no paragraph style.
std::optional<ParagraphStyle> paragraphStyleForBlockFormat(const QTextBlockFormat& format);

} // namespace lq
