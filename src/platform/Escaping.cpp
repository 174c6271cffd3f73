#include "platform/Escaping.h"

#include "platform/Strings.h"
#include "platform/XmlCharacterSets.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>

namespace lq {

namespace {

const QChar blank = QLatin1Char(' ');
const QString twoBlanks = QStringLiteral("  ");

// What escape needs to know of a character, looked up in one step. The
// Latin-1 range (where nearly every character of an attribute lies) is taken
// from the shared sets once; other characters ask the sets themselves.
class EscapeClasses {
public:
    enum Flag : quint8 {
        Control = 1u << 0,
        Trigger = 1u << 1,
        Entity = 1u << 2,
    };

    explicit EscapeClasses(const XmlCharacterSets& sets)
        : _sets(sets)
    {
        for (std::size_t u = 0; u < _latin1.size(); ++u)
            _latin1[u] = lookUp(QChar(static_cast<char16_t>(u)));
    }

    static const EscapeClasses& shared()
    {
        static const EscapeClasses classes(XmlCharacterSets::shared());
        return classes;
    }

    quint8 of(QChar c) const { return c.unicode() < _latin1.size() ? _latin1[c.unicode()] : lookUp(c); }
    const XmlCharacterSets& sets() const { return _sets; }

private:
    quint8 lookUp(QChar c) const
    {
        quint8 flags = 0;
        if (_sets.controlCharacters.contains(c))
            flags |= Control;
        if (_sets.escapeTriggers.contains(c))
            flags |= Trigger;
        if (_sets.entityCharacters.contains(c))
            flags |= Entity;
        return flags;
    }

    const XmlCharacterSets& _sets;
    std::array<quint8, 256> _latin1 {};
};

// Replaces every pair of blanks by the replacement, pass after pass, until a
// pass finds no pair.
void replaceBlankPairs(QString& text, const QString& replacement)
{
    while (text.contains(twoBlanks))
        text.replace(twoBlanks, replacement);
}

// The ASCII characters a URL may hold as they are: the unreserved and reserved
// characters of RFC 2396, and "#" (the fragment mark).
bool passesInURL(unsigned char byte)
{
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9'))
        return true;
    switch (byte) {
    // unreserved marks
    case '-': case '_': case '.': case '!': case '~': case '*': case '\'': case '(': case ')':
    // reserved
    case ';': case '/': case '?': case ':': case '@': case '&': case '=': case '+': case '$': case ',':
    case '#':
        return true;
    default:
        return false;
    }
}

// The ASCII characters one segment of a URL path may hold as they are: the
// unreserved characters and the sub-delimiters of RFC 3986 but "&", which in
// an attribute would start an entity.
bool passesInPathSegment(unsigned char byte)
{
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9'))
        return true;
    switch (byte) {
    case '-': case '.': case '_': case '~':
    case '!': case '$': case '\'': case '(': case ')': case '*': case '+': case ',': case ';': case '=': case ':': case '@':
        return true;
    default:
        return false;
    }
}

// The UTF-8 bytes of the text, each that does not pass as "%" and two hexadecimal digits.
QString percentEncoded(const QString& text, bool (*passes)(unsigned char))
{
    // Text whose every character passes (page file names, mostly) comes
    // back as it is, without a copy: menus ask for every page's address.
    const auto passesAsItIs = [passes](QChar c) { return c.unicode() < 0x80 && passes(static_cast<unsigned char>(c.unicode())); };
    if (!text.isEmpty() && std::all_of(text.cbegin(), text.cend(), passesAsItIs))
        return text;
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    const QByteArray bytes = text.toUtf8();
    QString escaped;
    escaped.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80 && passes(byte)) {
            escaped.append(QLatin1Char(b));
        } else {
            escaped.append(QLatin1Char('%'));
            escaped.append(QLatin1Char(hexDigits[byte >> 4]));
            escaped.append(QLatin1Char(hexDigits[byte & 0x0F]));
        }
    }
    return escaped;
}

// The entities unescape replaces, in the order it replaces them.
// "&amp;" goes last: an ampersand it gives back must not start an entity
// that another replacement would then read ("&amp;eacute;" is the text
// "&eacute;", not "é").
//
// Every entity runs from its "&" to the first ";" after it, so no two
// places where entities stand overlap, and one pass from the left that
// replaces each entity where it stands gives what replacing them one
// after another gives, as long as no replacement can become part of an
// entity with the text around it. That is checked once; a table that
// fails it is applied one entity after another.
class EntityReplacements {
public:
    static const EntityReplacements& shared()
    {
        static const EntityReplacements replacements(XmlCharacterSets::shared());
        return replacements;
    }

    QString applied(const QString& text) const
    {
        if (!_onePass) {
            QString plain = text;
            for (const auto& [entity, replacement] : _inOrder)
                plain.replace(entity, replacement);
            return plain;
        }
        QString plain;
        plain.reserve(text.size());
        const QStringView rest(text);
        qsizetype copied = 0;
        for (qsizetype at = rest.indexOf(u'&'); at >= 0; at = rest.indexOf(u'&', at + 1)) {
            const qsizetype end = rest.indexOf(u';', at);
            if (end < 0)
                break;
            if (end - at + 1 > _longest)
                continue;
            const auto found = _byEntity.constFind(rest.sliced(at, end - at + 1));
            if (found == _byEntity.cend())
                continue;
            plain += rest.sliced(copied, at - copied);
            plain += *found;
            copied = end + 1;
            at = end;
        }
        plain += rest.sliced(copied);
        return plain;
    }

private:
    explicit EntityReplacements(const XmlCharacterSets& sets)
    {
        _inOrder = {
            { QStringLiteral("&quot;"), QStringLiteral("\"") },
            { QStringLiteral("&lt;"), QStringLiteral("<") },
            { QStringLiteral("&gt;"), QStringLiteral(">") },
            { QStringLiteral("&#009;"), QStringLiteral("\t") },
            { QStringLiteral("&#149;"), sets.bullet },
            { QStringLiteral("&middot;"), sets.bullet },
            { QStringLiteral("&#160;"), QStringLiteral(" ") },
            { QStringLiteral("&nbsp;"), QStringLiteral(" ") },
        };
        for (const XmlCharacterSets::EntityRow& row : sets.entityTable)
            _inOrder.append({ row.entity, QString(row.character) });
        _inOrder.append({ QStringLiteral("&amp;"), QStringLiteral("&") });

        QString entityCharacters;
        for (const auto& [entity, replacement] : _inOrder) {
            _onePass = _onePass && entity.startsWith(u'&') && entity.endsWith(u';') && entity.count(u'&') == 1
                && entity.count(u';') == 1;
            entityCharacters += entity;
            _longest = std::max(_longest, entity.size());
            // The first of two rows for one entity is the one that replaces it.
            if (!_byEntity.contains(entity))
                _byEntity.insert(entity, replacement);
        }
        for (qsizetype row = 0; row + 1 < _inOrder.size(); ++row) {
            for (const QChar c : _inOrder[row].second)
                _onePass = _onePass && !entityCharacters.contains(c);
        }
    }

    QList<std::pair<QString, QString>> _inOrder;
    QHash<QStringView, QString> _byEntity;
    qsizetype _longest = 0;
    bool _onePass = true;
};

} // namespace

QString escape(const QString& text)
{
    if (text.isNull())
        return QStringLiteral("");

    const EscapeClasses& classes = EscapeClasses::shared();
    quint8 found = 0;
    bool blankPair = false;
    QChar previous;
    for (QChar c : text) {
        found |= classes.of(c);
        if (c == blank && previous == blank)
            blankPair = true;
        previous = c;
    }
    if (found == 0 && !blankPair)
        return text;

    const XmlCharacterSets& sets = classes.sets();
    QString escaped = text;
    if (found & EscapeClasses::Trigger) {
        escaped.remove(QLatin1Char('\n'));
        escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
        escaped.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
        escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
        escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
        escaped.replace(sets.bullet, QStringLiteral("&#149;"));
        escaped.replace(QStringLiteral("\t-"), QStringLiteral("&#009;&#149;"));
        escaped.replace(QLatin1Char('\t'), QStringLiteral("&#009;"));
    }
    if (found & EscapeClasses::Entity) {
        for (const XmlCharacterSets::EntityRow& row : sets.entityTable)
            escaped.replace(row.character, row.entity);
    }
    if (found & EscapeClasses::Control)
        escaped.removeIf([&sets](QChar c) { return sets.controlCharacters.contains(c); });
    // Only runs of blanks the text came with become non-breaking: blanks
    // that met because a newline or control character went stay plain.
    if (blankPair)
        replaceBlankPairs(escaped, QStringLiteral("&#160; "));
    return escaped;
}

QString unescape(const QString& text)
{
    bool needsWork = false;
    QChar previous;
    for (QChar c : text) {
        if (c == QLatin1Char('&') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
            || (c == blank && previous == blank)) {
            needsWork = true;
            break;
        }
        previous = c;
    }
    if (!needsWork)
        return text;

    QString plain = text;
    plain.remove(QLatin1Char('\t'));
    replaceBlankPairs(plain, QStringLiteral(" "));
    if (plain.contains(QLatin1Char('&')))
        plain = EntityReplacements::shared().applied(plain);
    return plain;
}

QString escapeForDemo(const QString& run)
{
    if (run == QLatin1String(" "))
        return QStringLiteral("&nbsp;");
    return escape(run);
}

QString javascriptEscape(const QString& text)
{
    if (text.isNull())
        return QString();
    // The backslash first, so that the backslashes added below stay single.
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    escaped.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    escaped.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    escaped.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return escaped;
}

QString doubleQuoteEscape(const QString& text)
{
    if (text.isNull())
        return QString();
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return escaped;
}

QString urlEscape(const QString& text)
{
    if (text.isNull())
        return QString();
    return percentEncoded(text, passesInURL);
}

QString urlUnescape(const QString& text)
{
    if (text.isNull())
        return QString();
    QString plain;
    plain.reserve(text.size());
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        if (text.at(i) != QLatin1Char('%')) {
            plain.append(text.at(i));
            ++i;
            continue;
        }
        // A run of escapes in a row is one piece of UTF-8: a character may
        // not begin in one run and end in another.
        QByteArray bytes;
        while (i < size && text.at(i) == QLatin1Char('%')) {
            if (i + 2 >= size)
                return QString();
            const int high = hexDigitValue(text.at(i + 1));
            const int low = hexDigitValue(text.at(i + 2));
            if (high < 0 || low < 0)
                return QString();
            bytes.append(static_cast<char>(high * 16 + low));
            i += 3;
        }
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes);
        if (decoder.hasError())
            return QString();
        plain.append(decoded);
    }
    return plain;
}

QString paramEscape(const QString& text)
{
    QString escaped = urlEscape(text);
    if (escaped.isNull())
        return escaped;
    escaped.replace(QLatin1Char('+'), QStringLiteral("%2B"));
    escaped.replace(QLatin1Char('&'), QStringLiteral("%26"));
    escaped.replace(QStringLiteral("%20"), QStringLiteral("+"));
    return escaped;
}

QString xmlEscape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&': escaped += QStringLiteral("&amp;"); continue;
        case '<': escaped += QStringLiteral("&lt;"); continue;
        case '>': escaped += QStringLiteral("&gt;"); continue;
        case '"': escaped += QStringLiteral("&quot;"); continue;
        case '\'': escaped += QStringLiteral("&apos;"); continue;
        default: break;
        }
        // What XML 1.0 cannot hold at all goes: control characters but tab
        // and line ends, the two non-characters and halves of broken pairs.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            escaped += c;
            escaped += text.at(++i);
            continue;
        }
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF || c.isSurrogate())
            continue;
        escaped += c;
    }
    return escaped;
}

QString urlPathSegmentEscape(const QString& text)
{
    return percentEncoded(text, passesInPathSegment);
}

QString scriptStringEscape(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '\\': escaped += QStringLiteral("\\\\"); continue;
        case '"': escaped += QStringLiteral("\\\""); continue;
        case '\'': escaped += QStringLiteral("\\'"); continue;
        case '\n': escaped += QStringLiteral("\\n"); continue;
        case '\r': escaped += QStringLiteral("\\r"); continue;
        default: break;
        }
        if (u < 0x20 || u == '<' || u == '>' || u == '&' || u == 0x2028 || u == 0x2029)
            escaped += QStringLiteral("\\u") + QStringLiteral("%1").arg(int(u), 4, 16, QLatin1Char('0')).toUpper();
        else
            escaped += c;
    }
    return escaped;
}

QString magicLinkMaker(const QString& link)
{
    if (link.isNull())
        return QString();
    static const QStringList prefixes = {
        QStringLiteral("http://"), QStringLiteral("https://"), QStringLiteral("mailto:"),
        QStringLiteral("./"), QStringLiteral("../"), QStringLiteral("javascript:"),
    };
    const bool prefixed = std::any_of(prefixes.begin(), prefixes.end(),
        [&link](const QString& prefix) { return link.startsWith(prefix); });
    QString href = link;
    if (!prefixed && link.contains(QLatin1Char('@')))
        href = QStringLiteral("mailto:") + link;
    return urlEscape(href);
}

QString reverseWord(const QString& text)
{
    if (text.size() <= 1)
        return text;
    return text.back() + text.mid(1, text.size() - 2) + text.front();
}

} // namespace lq
