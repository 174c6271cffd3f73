#pragma once

// Names a file can have on Linux that markup, blanks, addresses and
// line-based protocols get wrong: quotes, markup characters, tabs and line
// ends, blanks at either end and in runs, characters outside ASCII, the
// marks an address gives a meaning, text that looks like an entity.
#include <QStringList>

inline const QStringList& hostileNames()
{
    static const QStringList names = {
        QStringLiteral("Mom's notes.txt"),
        QStringLiteral("\"quoted\" & <tagged>.html"),
        QStringLiteral("tab\there.txt"),
        QStringLiteral(" leading blank.txt"),
        QStringLiteral("trailing blank.txt "),
        QStringLiteral("two  blanks   three.txt"),
        QStringLiteral("=equals first.txt"),
        QStringLiteral("café ü 日本 😀.txt"),
        QStringLiteral("#hash %25 ?query +plus ;semi.txt"),
        QStringLiteral("&#160; &amp; &apos; &eacute; look like entities.txt"),
        QStringLiteral("line\nbreak.txt"),
        QStringLiteral("bell\x07 and \x7f.txt"),
        QString::fromUtf8("nbsp\u00a0 bullet \u2022 \u0085 next line.txt"),
        QStringLiteral(" "),
        QStringLiteral("..."),
    };
    return names;
}
