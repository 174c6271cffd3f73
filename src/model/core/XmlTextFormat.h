#pragma once

// Fixed parts of the element XML text that writers outside XmlBase need too.

#include <QStringView>

namespace XmlTextFormat {

// The verbatim block: the marker comment, any text taken as content exactly
// as it stands (markup included, nothing escaped), and the marker comment
// again. The word is chosen so that no page text a user writes holds it.
inline constexpr QStringView verbatimMarkerWord = u"lumenquill-verbatim-7Q2";
inline constexpr QStringView verbatimMarker = u"<!-- lumenquill-verbatim-7Q2 -->";

// The deepest nesting the reader follows: the element at this level reads no
// children, and the reading stops there as for a text cut short. Deeper texts
// only come from damaged or hostile files.
inline constexpr int maxNestingDepth = 2000;

} // namespace XmlTextFormat
