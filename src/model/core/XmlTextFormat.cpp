#include "model/core/XmlTextFormat.h"

namespace XmlTextFormat {

namespace {

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

} // namespace XmlTextFormat
