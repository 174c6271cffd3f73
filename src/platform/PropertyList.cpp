#include "platform/PropertyList.h"

#include "platform/InputLimits.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>

namespace lq {

namespace {

// Lists nest dictionaries and arrays; a list deeper than this is refused
// rather than read on an ever deeper stack.
constexpr int maximumDepth = 256;

// The XML reader bounds what one entity expands to, not how often it is
// used: a small list that uses one entity many thousand times would read as
// hundreds of megabytes. So before the list is read, the characters that its
// entities add are counted, every use ("&name;" anywhere in the decoded
// text, which may count a few that are not expanded) times what the entity
// expands to, and a list whose entities add more than the bound is refused.
class EntityExpansion {
public:
    EntityExpansion(const QByteArray& xml, qint64 bound)
        : _xml(xml)
        , _bound(bound)
    {
    }

    // Why the list is refused, or nothing when its entities stay within the bound.
    std::optional<QString> refusal()
    {
        const qint64 line = readDeclarations();
        if (_values.isEmpty())
            return std::nullopt;
        // The uses are found in the text as the reader decodes it, so that
        // no encoding (UTF-16, Latin-1 with a name "é") hides one.
        const std::optional<QString> text = decoded();
        if (!text)
            return QStringLiteral("line 1: the property list's encoding \"") + _encoding + QStringLiteral("\" cannot be read");
        qint64 added = 0;
        forEachReference(*text, [&](const QString& name) {
            if (_values.contains(name))
                added = std::min(added + expandedLength(name), _bound + 1);
        });
        if (added <= _bound)
            return std::nullopt;
        return QStringLiteral("line ") + QString::number(line) + QStringLiteral(": the entities of the property list expand to more than ")
            + QString::number(_bound) + QStringLiteral(" characters");
    }

private:
    // The text as the XML reader decodes it: by its byte-order mark or the
    // form of its first "<" (UTF-16, UTF-32), else by the encoding its
    // declaration names, else as UTF-8. Nothing when that encoding is none
    // the reader knows either.
    std::optional<QString> decoded() const
    {
        std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(_xml, u'<');
        QStringDecoder decoder;
        if (encoding)
            decoder = QStringDecoder(*encoding);
        else if (!_encoding.isEmpty())
            decoder = QStringDecoder(_encoding.toLatin1().constData());
        else
            decoder = QStringDecoder(QStringConverter::Utf8);
        if (!decoder.isValid())
            return std::nullopt;
        return QString(decoder.decode(_xml));
    }

    // The entities of the document type, if there is one before the root
    // element; answers the line where the document type starts.
    qint64 readDeclarations()
    {
        QXmlStreamReader prologue(_xml);
        while (!prologue.atEnd()) {
            const QXmlStreamReader::TokenType token = prologue.readNext();
            if (token == QXmlStreamReader::StartDocument)
                _encoding = prologue.documentEncoding().toString();
            if (token == QXmlStreamReader::DTD) {
                for (const QXmlStreamEntityDeclaration& declaration : prologue.entityDeclarations())
                    _values.insert(declaration.name().toString(), declaration.value().toString());
                const qsizetype start = std::max<qsizetype>(_xml.indexOf("<!DOCTYPE"), 0);
                return 1 + QByteArrayView(_xml).first(start).count('\n');
            }
            if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::Invalid)
                break;
        }
        return 0;
    }

    // Calls `visit` with the name of every "&name;" in the text.
    template <class Visit>
    static void forEachReference(const QString& text, Visit visit)
    {
        constexpr qsizetype longestName = 1024;
        for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
            const qsizetype last = std::min(text.size(), at + 2 + longestName);
            qsizetype end = at + 1;
            while (end < last && text[end] != u';')
                ++end;
            if (end < last)
                visit(text.mid(at + 1, end - at - 1));
        }
    }

    // What the entity expands to, counting the entities it uses in turn;
    // above the bound (and for an entity that uses itself) the bound and one.
    qint64 expandedLength(const QString& name)
    {
        const auto known = _lengths.constFind(name);
        if (known != _lengths.cend())
            return *known;
        if (_expanding.contains(name))
            return _bound + 1;
        _expanding.insert(name);
        const QString value = _values.value(name);
        // Characters, not UTF-16 units: a pair of surrogates is one.
        qint64 length = value.size() - std::count_if(value.cbegin(), value.cend(), [](QChar c) { return c.isLowSurrogate(); });
        forEachReference(value, [&](const QString& inner) {
            if (_values.contains(inner))
                length = std::min(length + expandedLength(inner), _bound + 1);
        });
        _expanding.remove(name);
        _lengths.insert(name, length);
        return length;
    }

    const QByteArray& _xml;
    const qint64 _bound;
    QString _encoding;
    QHash<QString, QString> _values;
    QHash<QString, qint64> _lengths;
    QSet<QString> _expanding;
};

class PropertyListReader {
public:
    explicit PropertyListReader(const QByteArray& xml)
        : _xml(xml)
    {
    }

    std::optional<QVariant> read(QString* error)
    {
        std::optional<QVariant> result = readList();
        if (!result && error)
            *error = _error;
        return result;
    }

private:
    std::optional<QVariant> readList()
    {
        if (!_xml.readNextStartElement() || _xml.name() != QLatin1String("plist"))
            return fail(QStringLiteral("the text is no property list"));
        if (!_xml.readNextStartElement())
            return fail(QStringLiteral("the property list holds no value"));
        std::optional<QVariant> result = value(0);
        if (!result)
            return std::nullopt;
        if (_xml.readNextStartElement())
            return fail(QStringLiteral("the property list holds more than one value"));
        while (!_xml.atEnd())
            _xml.readNext();
        if (_xml.hasError())
            return fail(_xml.errorString());
        return result;
    }

    // The value whose start element the reader stands on; afterwards the
    // reader stands on its end element.
    std::optional<QVariant> value(int depth)
    {
        if (depth > maximumDepth)
            return fail(QStringLiteral("values are nested too deeply"));
        const QStringView name = _xml.name();
        if (name == QLatin1String("dict"))
            return dictionary(depth);
        if (name == QLatin1String("array"))
            return array(depth);
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            const bool truth = name == QLatin1String("true");
            if (!text())
                return std::nullopt;
            return QVariant(truth);
        }
        if (name == QLatin1String("string")) {
            std::optional<QString> string = text();
            return string ? std::optional<QVariant>(*string) : std::nullopt;
        }
        if (name == QLatin1String("integer"))
            return number<qlonglong>(QStringLiteral("integer"), [](const QString& t, bool* ok) { return t.toLongLong(ok); });
        if (name == QLatin1String("real"))
            return number<double>(QStringLiteral("real"), [](const QString& t, bool* ok) { return t.toDouble(ok); });
        if (name == QLatin1String("date")) {
            std::optional<QString> string = text();
            if (!string)
                return std::nullopt;
            QDateTime date = QDateTime::fromString(string->trimmed(), Qt::ISODate);
            if (!date.isValid())
                return fail(QStringLiteral("\"") + *string + QStringLiteral("\" is no date"));
            return QVariant(date.toUTC());
        }
        if (name == QLatin1String("data")) {
            std::optional<QString> string = text();
            if (!string)
                return std::nullopt;
            QByteArray encoded = string->toLatin1();
            encoded.replace(' ', "").replace('\n', "").replace('\r', "").replace('\t', "");
            const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return fail(QStringLiteral("the data is no base64 text"));
            return QVariant(*decoded);
        }
        return fail(QStringLiteral("unknown element \"") + name.toString() + QStringLiteral("\""));
    }

    std::optional<QVariant> dictionary(int depth)
    {
        QVariantMap entries;
        while (_xml.readNextStartElement()) {
            if (_xml.name() != QLatin1String("key"))
                return fail(QStringLiteral("a dictionary holds \"") + _xml.name().toString() + QStringLiteral("\" where a key belongs"));
            const std::optional<QString> key = text();
            if (!key)
                return std::nullopt;
            if (!_xml.readNextStartElement())
                return fail(QStringLiteral("the key \"") + *key + QStringLiteral("\" has no value"));
            std::optional<QVariant> entry = value(depth + 1);
            if (!entry)
                return std::nullopt;
            entries.insert(*key, *entry);
        }
        if (_xml.hasError())
            return fail(_xml.errorString());
        return QVariant(entries);
    }

    std::optional<QVariant> array(int depth)
    {
        QVariantList items;
        while (_xml.readNextStartElement()) {
            std::optional<QVariant> item = value(depth + 1);
            if (!item)
                return std::nullopt;
            items.append(*item);
        }
        if (_xml.hasError())
            return fail(_xml.errorString());
        return QVariant(items);
    }

    // The text of the element the reader stands on, which may hold no elements.
    std::optional<QString> text()
    {
        QString content = _xml.readElementText();
        if (_xml.hasError()) {
            fail(_xml.errorString());
            return std::nullopt;
        }
        return content;
    }

    template <class Number, class Convert>
    std::optional<QVariant> number(const QString& kind, Convert convert)
    {
        const std::optional<QString> string = text();
        if (!string)
            return std::nullopt;
        bool ok = false;
        const Number parsed = convert(string->trimmed(), &ok);
        if (!ok)
            return fail(QStringLiteral("\"") + *string + QStringLiteral("\" is no ") + kind);
        return QVariant::fromValue(parsed);
    }

    std::nullopt_t fail(const QString& why)
    {
        if (_error.isEmpty())
            _error = QStringLiteral("line ") + QString::number(_xml.lineNumber()) + QStringLiteral(": ") + why;
        return std::nullopt;
    }

    QXmlStreamReader _xml;
    QString _error;
};

} // namespace

std::optional<QVariant> readPropertyList(const QByteArray& xml, QString* error)
{
    const InputLimits& limits = inputLimits();
    std::optional<QString> refusal;
    if (xml.size() > limits.propertyListBytes)
        refusal = QStringLiteral("the property list is larger than ") + describeSize(limits.propertyListBytes);
    else
        refusal = EntityExpansion(xml, limits.propertyListExpansion).refusal();
    if (refusal) {
        if (error)
            *error = *refusal;
        return std::nullopt;
    }
    return PropertyListReader(xml).read(error);
}

std::optional<QVariant> readPropertyListFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("\"") + path + QStringLiteral("\" cannot be read: ") + file.errorString();
        return std::nullopt;
    }
    const qint64 bound = inputLimits().propertyListBytes;
    if (file.size() > bound) {
        if (error)
            *error = QStringLiteral("\"") + path + QStringLiteral("\" is larger than ") + describeSize(bound)
                + QStringLiteral(", the most a property list may have");
        return std::nullopt;
    }
    return readPropertyList(file.readAll(), error);
}

} // namespace lq
