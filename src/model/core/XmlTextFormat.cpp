#include "model/core/XmlTextFormat.h"

#include "platform/CharacterSet.h"
#include "platform/XmlCharacterSets.h"

#include <array>
#include <cstdint>

namespace XmlTextFormat {

namespace {

// The characters appendContent deletes: control and format characters other
// than the line feed. The Latin-1 range is looked up in a table taken once
// from the shared set; other characters ask the set.
class StrippedCharacters {
public:
    static const StrippedCharacters& shared()
    {
        static const StrippedCharacters characters(XmlCharacterSets::shared().controlCharacters);
        return characters;
    }

    bool contains(QChar c) const { return c.unicode() < _latin1.size() ? _latin1[c.unicode()] : _set.contains(c); }

private:
    explicit StrippedCharacters(const lq::CharacterSet& set)
        : _set(set)
    {
        for (char16_t u = 0; u < _latin1.size(); ++u)
            _latin1[u] = _set.contains(QChar(u));
    }

    lq::CharacterSet _set;
    std::array<bool, 256> _latin1 {};
};

// Where the first character that appendContent deletes stands in the text,
// or the text's size when there is none. Blocks of printable ASCII and line
// feeds, nearly all of a page, are passed over whole; a block holding
// anything else is looked at character by character.
qsizetype firstStrippedCharacter(QStringView text, const StrippedCharacters& stripped)
{
    constexpr qsizetype block = 32;
    const char16_t* const characters = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i + block <= size; i += block) {
        // Without branches, and in 16 bits, so that the compiler looks at
        // many characters at a time.
        std::uint16_t odd = 0;
        for (qsizetype j = 0; j < block; ++j) {
            const std::uint16_t c = characters[i + j];
            odd |= static_cast<std::uint16_t>(static_cast<std::uint16_t>(c - 0x20) > 0x5e) & static_cast<std::uint16_t>(c != u'\n');
        }
        if (odd == 0)
            continue;
        for (qsizetype j = 0; j < block; ++j) {
            if (stripped.contains(QChar(characters[i + j])))
                return i + j;
        }
    }
    for (; i < size; ++i) {
        if (stripped.contains(QChar(characters[i])))
            return i;
    }
    return size;
}

// Every block is opened and closed with the markers; a close marker inside
// the text ends one block after its first characters (all but the last) and
// opens the next one with the rest. Neither marker starts with the character
// it ends with, so no part can run into its block's own end marker, and no
// part starts with white space, which the reader would skip.
void appendBlocks(QString& xml, QStringView text, QStringView open, QStringView close)
{
    const qsizetype cut = close.size() - 1;
    xml += open;
    qsizetype from = 0;
    for (qsizetype found = text.indexOf(close, 0, Qt::CaseInsensitive); found >= 0;
         found = text.indexOf(close, found + close.size(), Qt::CaseInsensitive)) {
        xml += text.sliced(from, found + cut - from);
        xml += close;
        xml += open;
        from = found + cut;
    }
    xml += text.sliced(from);
    xml += close;
}

} // namespace

void appendContentBlock(QString& xml, QStringView text)
{
    appendBlocks(xml, text, contentOpen, contentClose);
}

void appendVerbatimBlock(QString& xml, QStringView text)
{
    appendBlocks(xml, text, verbatimMarker, verbatimMarker);
}

bool carriesWhole(QStringView text)
{
    for (const QChar c : text) {
        if ((c.category() == QChar::Other_Control && c != QLatin1Char('\n')) || c.category() == QChar::Other_Format)
            return false;
    }
    return text.isEmpty() || !text.front().isSpace();
}

QString withoutStrippedCharacters(const QString& text)
{
    const StrippedCharacters& stripped = StrippedCharacters::shared();
    const qsizetype first = firstStrippedCharacter(text, stripped);
    if (first == text.size())
        return text;
    QString clean;
    clean.reserve(text.size());
    clean += QStringView(text).first(first);
    for (qsizetype i = first + 1; i < text.size(); ++i) {
        if (!stripped.contains(text[i]))
            clean += text[i];
    }
    return clean;
}

std::optional<QString> contentAsRead(const QString& text)
{
    // The scanner passes over white space before the block's text and
    // finds none when nothing else comes before the end marker.
    static const lq::CharacterSet whiteSpace = lq::CharacterSet::whitespaceAndNewlineCharacters();
    const StrippedCharacters& stripped = StrippedCharacters::shared();
    qsizetype start = 0;
    while (start < text.size() && whiteSpace.contains(text[start]))
        ++start;
    if (start == text.size())
        return std::nullopt;
    while (start < text.size() && (whiteSpace.contains(text[start]) || stripped.contains(text[start])))
        ++start;
    return withoutStrippedCharacters(start == 0 ? text : text.sliced(start));
}

} // namespace XmlTextFormat
