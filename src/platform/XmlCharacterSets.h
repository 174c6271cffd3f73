#pragma once

#include "platform/CharacterSet.h"

#include <QChar>
#include <QList>
#include <QString>

// The character sets and the entity table that the text escaping and the
// element XML reader share. They are built once, on first use, from the
// application's string table (lq::localized), and only read afterwards.
struct XmlCharacterSets {
    // One row of the entity table: a character and the entity text that
    // escape writes for it (and unescape reads back).
    struct EntityRow {
        QChar character;
        QString entity;
    };

    // How many rows the entity table has; the string-table entry
    // "moreEscapeChars" must supply at least this many characters.
    static constexpr int EntityCount = 82;

    // Builds every set and table; the entity table pairs the first 82
    // characters of moreEscapeChars with the fixed entity texts. Raises (and
    // logs under "XmlBase +initialize") when fewer than 82 characters come.
    explicit XmlCharacterSets(const QString& moreEscapeChars);

    // The application's one instance, built on first use from the string-table
    // entry "moreEscapeChars". A failed build raises and is tried again on the
    // next call.
    static const XmlCharacterSets& shared();

    // --- For the XML reader ---------------------------------------------------
    lq::CharacterSet lessThan;      // "<"
    lq::CharacterSet greaterThan;   // ">"
    lq::CharacterSet slash;         // "/"
    lq::CharacterSet quoteOrEquals; // double quote and "="
    lq::CharacterSet quote;         // double quote

    // --- For escaping (the reader uses controlCharacters for element content) ---
    // Double quote, "&", "<", ">", newline, tab and "-": a text holding one of
    // them needs the markup replacements.
    lq::CharacterSet escapeTriggers;
    // Every character of "moreEscapeChars".
    lq::CharacterSet entityCharacters;
    QList<EntityRow> entityTable;
    // Unicode Cc and Cf without the newline (tab and carriage return included).
    lq::CharacterSet controlCharacters;
    // Letters, marks and digits plus "-", "_", ":" and ".".
    lq::CharacterSet nameCharacters;
    // The one-character text U+2022.
    QString bullet;
};
