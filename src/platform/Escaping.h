#pragma once

// Text escaping: XML attribute and HTML text, script string literals and URLs.
// A null string stands for "no text" throughout.

#include <QString>

namespace lq {

// The text as attribute or HTML text: markup characters, tabs and the
// characters of the entity table become entities, newlines and control
// characters go, and runs of blanks become non-breaking. Null gives "".
QString escape(const QString& text);
// The reverse of escape (tabs are dropped, runs of blanks become one).
QString unescape(const QString& text);
// escape, except that a lone blank becomes "&nbsp;".
QString escapeForDemo(const QString& run);
// The text inside a single-quoted script string literal.
QString javascriptEscape(const QString& text);
// The text inside a double-quoted string: double quotes get a backslash.
QString doubleQuoteEscape(const QString& text);
// Percent-encoding of the UTF-8 bytes of every character a URL may not hold as it is.
QString urlEscape(const QString& text);
// The reverse of urlEscape; null for a broken escape or bytes that are no UTF-8.
QString urlUnescape(const QString& text);
// urlEscape for a query parameter: "+" and "&" escaped, blanks as "+".
QString paramEscape(const QString& text);
// Each of these escapes a text for one place it lands in, and nothing else:
// XML text or attribute (the five XML entities; characters XML cannot hold
// go), one segment of a URL path (everything but the unreserved characters
// and the sub-delimiters other than "&" percent-encoded, so "#", "?", "%",
// "&" and "/" stay part of the name), and a string literal of a script inside an HTML page (either
// quote; "<", ">" and "&" as escapes, so the text can neither end the
// string nor the script element).
QString xmlEscape(const QString& text);
QString urlPathSegmentEscape(const QString& text);
QString scriptStringEscape(const QString& text);
// The link as an address: "mailto:" before a bare mail address, then urlEscape.
QString magicLinkMaker(const QString& link);
// The text with its first and last characters swapped.
QString reverseWord(const QString& text);

} // namespace lq
