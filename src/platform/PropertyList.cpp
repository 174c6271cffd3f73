#include "platform/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QXmlStreamReader>

namespace lq {

namespace {

// Lists nest dictionaries and arrays; a list deeper than this is refused
// rather than read on an ever deeper stack.
constexpr int maximumDepth = 256;

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
    return readPropertyList(file.readAll(), error);
}

} // namespace lq
