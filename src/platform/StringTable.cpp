#include "platform/StringTable.h"

#include <QFile>

namespace lq {

namespace {

// Reads a quoted string starting at text[pos] == '"'; answers false when unterminated.
bool readQuoted(const QString& text, qsizetype& pos, QString& out)
{
    if (pos >= text.size() || text[pos] != QLatin1Char('"'))
        return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == QLatin1Char('"'))
            return true;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (pos >= text.size())
            return false;
        const QChar e = text[pos++];
        switch (e.unicode()) {
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 'u': {
            bool ok = false;
            const uint code = text.mid(pos, 4).toUInt(&ok, 16);
            if (!ok || pos + 4 > text.size())
                return false;
            out += QChar(static_cast<char16_t>(code));
            pos += 4;
            break;
        }
        default: out += e; break;
        }
    }
    return false;
}

void skipBlanks(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
        ++pos;
}

} // namespace

bool StringTable::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    parse(QString::fromUtf8(file.readAll()));
    return true;
}

void StringTable::parse(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& rawLine : lines) {
        QString key;
        QString value;
        qsizetype pos = 0;
        skipBlanks(rawLine, pos);
        if (!readQuoted(rawLine, pos, key))
            continue;
        skipBlanks(rawLine, pos);
        if (pos >= rawLine.size() || rawLine[pos] != QLatin1Char('='))
            continue;
        ++pos;
        skipBlanks(rawLine, pos);
        if (!readQuoted(rawLine, pos, value))
            continue;
        _entries.insert(key, value);
    }
}

namespace {
std::function<QString(const QString&)>& installedLocalizer()
{
    static std::function<QString(const QString&)> localizer;
    return localizer;
}
} // namespace

void setLocalizer(std::function<QString(const QString&)> localizer)
{
    installedLocalizer() = std::move(localizer);
}

QString localized(const QString& key)
{
    const auto& localizer = installedLocalizer();
    return localizer ? localizer(key) : QStringLiteral(" ");
}

} // namespace lq
