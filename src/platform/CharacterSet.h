#pragma once

#include <QChar>
#include <QSet>
#include <QStringView>

namespace lq {

// A set of UTF-16 code units, built from Unicode classes and single
// characters; membership is tested code unit by code unit, so a character
// outside the Basic Multilingual Plane counts by its surrogates.
class CharacterSet {
public:
    CharacterSet() = default;

    // Unicode Cc and Cf: tab, carriage return and newline included.
    static CharacterSet controlCharacters();
    // Unicode letters, marks and digits.
    static CharacterSet alphanumericCharacters();
    // Blank, tab and the other Zs spaces.
    static CharacterSet whitespaceCharacters();
    // The blanks, and the line ends U+000A to U+000D, U+0085, U+2028 and U+2029.
    static CharacterSet whitespaceAndNewlineCharacters();
    // Exactly the characters of the text.
    static CharacterSet characters(QStringView chars);

    CharacterSet united(const CharacterSet& other) const;
    // This set without the characters of the text.
    CharacterSet without(QStringView chars) const;

    bool contains(QChar c) const
    {
        const char16_t u = c.unicode();
        if (u < 256)
            return (_latin1[u >> 6] >> (u & 63)) & 1u;
        return containsBeyondLatin1(u);
    }
    bool isEmpty() const { return _classes == 0 && _added.isEmpty(); }

private:
    enum Class : unsigned {
        Control = 1u << 0,
        Alphanumeric = 1u << 1,
        Whitespace = 1u << 2,
        Newline = 1u << 3,
    };
    explicit CharacterSet(unsigned classes)
        : _classes(classes)
    {
        fillLatin1();
    }

    // The answer for any character, from the classes and the lists.
    bool containsBeyondLatin1(char16_t u) const;
    // Works out the answers for U+0000 to U+00FF once, after every change:
    // the readers ask about these characters nearly all the time.
    void fillLatin1();

    unsigned _classes = 0;
    QSet<char16_t> _added;
    QSet<char16_t> _removed;
    quint64 _latin1[4] = { 0, 0, 0, 0 };
};

} // namespace lq
