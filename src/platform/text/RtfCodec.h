#pragma once

// Styled text as RTF and back: the form in which callouts keep their text.
//
// The writer puts out a font table, a colour table, one "\pard" with the
// alignment for every paragraph whose alignment differs from the one before,
// and per run the font ("\fN", "\fsN" in half points), bold, italic,
// underline and colour; control characters (other than tabs and paragraph
// ends) and non-ASCII characters are written "\uN?", so that what is read
// back writes the same RTF again.
//
// The reader takes what the writer puts out and the RTF of older documents:
// "\ansicpg1252" code pages with "\'hh" bytes, font and colour tables, "\pard"
// with tab stops and "\ql", "\qr", "\qc", "\qj", "\fN", "\fsN", "\cfN", "\b",
// "\i", "\ul", "\ulnone", "\uN" with its stand-in characters, "\par",
// "\tab", "\line", and skips every destination it does not know ("{\*...}",
// the stylesheet, information and pictures).

#include "platform/text/StyledText.h"

#include <QByteArray>

#include <optional>

namespace lq {

class RtfCodec {
public:
    // The whole text as RTF (7-bit ASCII).
    static QByteArray toRtf(const StyledText& text);
    // The styled text of the RTF, or nothing when the data is not RTF (it
    // does not start with "{\rtf").
    static std::optional<StyledText> fromRtf(const QByteArray& rtf);
};

} // namespace lq
