#pragma once

// Fixed parts of the element XML text, and what the reader keeps of a content
// text, which writers and readers outside XmlBase need too.

#include <QString>
#include <QStringView>

#include <optional>

namespace XmlTextFormat {

// The content block around an element's content text.
inline constexpr QStringView contentOpen = u"<!-- x --><![CDATA[";
inline constexpr QStringView contentClose = u"]]><!-- x -->";

// The verbatim block: the marker comment, any text taken as content exactly
// as it stands (markup included, nothing escaped), and the marker comment
// again. The word is chosen so that no page text a user writes holds it.
inline constexpr QStringView verbatimMarkerWord = u"lumenquill-verbatim-7Q2";
inline constexpr QStringView verbatimMarker = u"<!-- lumenquill-verbatim-7Q2 -->";

// Appends the text as content blocks that the reader joins back into the same
// text. A block ends at the first end marker (in any letter case, as the
// reader's matches ignore it), so every end marker inside the text is cut
// after its first character but one, into the end of one block and the start
// of the next: the reader takes both parts and joins them. Text without the
// marker is written as one block, exactly as it stands.
void appendContentBlock(QString& xml, QStringView text);
// The same for a verbatim block, for the writers of processor scripts.
void appendVerbatimBlock(QString& xml, QStringView text);
// Whether a content text comes back from its block exactly: the reader drops
// control characters other than the line feed, format characters (such as
// zero-width spaces) and leading white space.
bool carriesWhole(QStringView text);

// The deepest nesting the reader follows: the element at this level reads no
// children, and the reading stops there as for a text cut short. Deeper texts
// only come from damaged or hostile files.
inline constexpr int maxNestingDepth = 2000;

// The text without the characters the reader strips (control characters
// other than the line feed, and format characters): the text itself when it
// holds none of them.
QString withoutStrippedCharacters(const QString& text);
// What reading a content or verbatim block that holds the text adds to its
// element, worked out without an element (any thread may ask): the text
// without its leading white space and control characters and without the
// characters the reader strips; nothing for white space alone.
std::optional<QString> contentAsRead(const QString& text);

} // namespace XmlTextFormat
