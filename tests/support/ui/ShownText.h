#pragma once
// What a label or a tool tip puts on screen of its text: the characters
// themselves when it shows plain text, the text of the document Qt makes of
// it when it takes it for markup.
#include <QLabel>
#include <QTextDocument>

inline QString shownText(const QString& text, Qt::TextFormat format)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

inline QString shownText(const QLabel& label) { return shownText(label.text(), label.textFormat()); }

// A tool tip guesses, as a label left at Qt::AutoText does.
inline QString shownToolTip(const QString& tip) { return shownText(tip, Qt::AutoText); }

// Words from outside holding markup of every kind a label would draw.
inline QStringList wordsWithMarkup()
{
    return {
        QStringLiteral("<b><font color=\"green\">Published. Everything is in step.</font></b>"),
        QStringLiteral("<img src=\"http://127.0.0.1/x.png\"> stored"),
        QStringLiteral("<a href=\"http://127.0.0.1/\">Open this</a> instead"),
        QStringLiteral("<table><tr><td>cell</td></tr></table>"),
        QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;"),
    };
}
