#pragma once

// Writes styled text as stored rich text, the small HTML subset that
// StoredTextTokenizer reads: one paragraph element per line of the text,
// with nothing between them.
//
// A line's paragraph kind is the "QZParagraphStyle" of its first character
// (text laid out by a page element keeps it under "QZType" instead):
//   0 "p", 1 "h1", 2 "h2", 3 "h4", 4 "h5", 5 "h6"; any other kind is "p".
// Its paragraph style gives ` dir="rtl"` for right-to-left text and
// ` class="right"` or ` class="center"` for those alignments. An empty line
// is written "&nbsp;". Inside a line, "b", "i" and "u" follow the fonts'
// traits and the underline style, and a link (an address string or the page
// number of a page of the site, under "Link"; laid-out text keeps an address
// under "QZLinkLocation") becomes `<a href="...">` or `<a pseq="N">`, with
// ` target="_blank"` when "QZLinkNewWindow" is set. A link value of any other
// kind writes no "a" element at all. Tags nest properly: a tag that must
// close before an inner one closes them both and reopens the inner one.
// Characters are escaped as page text is (lq::escape).

#include "platform/text/StyledText.h"

#include <QString>

// The stored rich text of the whole text; "" for an empty text. Without
// paragraph kinds (an editor that offers none) every line is written "p".
QString writeStoredText(const lq::StyledText& text, bool paragraphKinds = true);
