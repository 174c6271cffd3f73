#include "platform/CharacterSet.h"

namespace lq {

// The class sets are built once: working out their Latin-1 answers asks
// the Unicode tables about 256 characters, and every scanner starts with one.
CharacterSet CharacterSet::controlCharacters()
{
    static const CharacterSet set(Control);
    return set;
}

CharacterSet CharacterSet::alphanumericCharacters()
{
    static const CharacterSet set(Alphanumeric);
    return set;
}

CharacterSet CharacterSet::whitespaceCharacters()
{
    static const CharacterSet set(Whitespace);
    return set;
}

CharacterSet CharacterSet::whitespaceAndNewlineCharacters()
{
    static const CharacterSet set(Whitespace | Newline);
    return set;
}

CharacterSet CharacterSet::characters(QStringView chars)
{
    CharacterSet set;
    for (QChar c : chars)
        set._added.insert(c.unicode());
    set.fillLatin1();
    return set;
}

CharacterSet CharacterSet::united(const CharacterSet& other) const
{
    CharacterSet set = *this;
    set._classes |= other._classes;
    set._added.unite(other._added);
    // A character removed from one set but present in the other stays in the union.
    QSet<char16_t> removed;
    for (char16_t c : set._removed) {
        if (!other.contains(QChar(c)))
            removed.insert(c);
    }
    for (char16_t c : other._removed) {
        if (!contains(QChar(c)))
            removed.insert(c);
    }
    set._removed = removed;
    set.fillLatin1();
    return set;
}

CharacterSet CharacterSet::without(QStringView chars) const
{
    CharacterSet set = *this;
    for (QChar c : chars) {
        set._added.remove(c.unicode());
        set._removed.insert(c.unicode());
    }
    set.fillLatin1();
    return set;
}

void CharacterSet::fillLatin1()
{
    for (char16_t u = 0; u < 256; ++u) {
        const quint64 bit = quint64(1) << (u & 63);
        if (containsBeyondLatin1(u))
            _latin1[u >> 6] |= bit;
        else
            _latin1[u >> 6] &= ~bit;
    }
}

bool CharacterSet::containsBeyondLatin1(char16_t u) const
{
    const QChar c(u);
    if (!_removed.isEmpty() && _removed.contains(u))
        return false;
    if (!_added.isEmpty() && _added.contains(u))
        return true;
    if (_classes == 0)
        return false;
    if (_classes & Newline) {
        if ((u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029)
            return true;
    }
    if (_classes & Whitespace) {
        if (u == 0x09 || c.category() == QChar::Separator_Space)
            return true;
    }
    const QChar::Category category = c.category();
    if (_classes & Control) {
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            return true;
    }
    if (_classes & Alphanumeric) {
        switch (category) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Number_DecimalDigit:
        case QChar::Number_Letter:
        case QChar::Number_Other:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace lq
