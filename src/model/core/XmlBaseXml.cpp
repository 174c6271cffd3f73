// The element XML text of XmlBase: the writer with its fixed layout, the
// tolerant reader (with the legacy forms of older documents), file reading and
// atomic file writing, and the copy operations built on the text.
#include "model/core/XmlBase.h"
#include "model/core/ElementFactory.h"

#include "model/core/SuppressedChanges.h"

#include "platform/Codecs.h"
#include "platform/Escaping.h"
#include "platform/Strings.h"
#include "platform/XmlCharacterSets.h"
#include "model/core/XmlGarbageDump.h"
#include "model/core/XmlTextFormat.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Pasteboard.h"
#include "platform/Scanner.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace lq::literals;

namespace {

using XmlTextFormat::contentClose;
// The content block's opening, as the reader meets it right after the "<" it has taken.
constexpr QStringView contentOpenAfterLessThan = u"!-- x --><![CDATA[";
constexpr QStringView cdataOpenAfterLessThan = u"![CDATA[";
constexpr QStringView cdataClose = u"]]>";
constexpr QStringView dataMarker = u"<!-- data -->";
constexpr QStringView dataMarkerAfterLessThan = u"!-- data -->";

QStringView verbatimMarkerAfterLessThan()
{
    return XmlTextFormat::verbatimMarker.sliced(1);
}

// The characters appendContent deletes: control and format characters other
// than the line feed. The Latin-1 range is looked up in a table taken once
// from the shared set; other characters ask the set.
class StrippedCharacters {
public:
    static const StrippedCharacters& shared()
    {
        static const StrippedCharacters characters(XmlCharacterSets::shared().controlCharacters);
        return characters;
    }

    bool contains(QChar c) const { return c.unicode() < _latin1.size() ? _latin1[c.unicode()] : _set.contains(c); }

private:
    explicit StrippedCharacters(const lq::CharacterSet& set)
        : _set(set)
    {
        for (char16_t u = 0; u < _latin1.size(); ++u)
            _latin1[u] = _set.contains(QChar(u));
    }

    lq::CharacterSet _set;
    std::array<bool, 256> _latin1 {};
};

// Where the first character that appendContent deletes stands in the text,
// or the text's size when there is none. Blocks of printable ASCII and line
// feeds, nearly all of a page, are passed over whole; a block holding
// anything else is looked at character by character.
qsizetype firstStrippedCharacter(QStringView text, const StrippedCharacters& stripped)
{
    constexpr qsizetype block = 32;
    const char16_t* const characters = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i + block <= size; i += block) {
        // Without branches, and in 16 bits, so that the compiler looks at
        // many characters at a time.
        std::uint16_t odd = 0;
        for (qsizetype j = 0; j < block; ++j) {
            const std::uint16_t c = characters[i + j];
            odd |= static_cast<std::uint16_t>(static_cast<std::uint16_t>(c - 0x20) > 0x5e) & static_cast<std::uint16_t>(c != u'\n');
        }
        if (odd == 0)
            continue;
        for (qsizetype j = 0; j < block; ++j) {
            if (stripped.contains(QChar(characters[i + j])))
                return i + j;
        }
    }
    for (; i < size; ++i) {
        if (stripped.contains(QChar(characters[i])))
            return i;
    }
    return size;
}

// UTF-8 without tolerance: any malformed or cut-off sequence gives nothing.
std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// How much of the bytes ends on a whole UTF-8 sequence: a sequence cut by
// the end starts at most three bytes before it, and is left for the next piece.
qint64 wholeSequencesLength(const char* bytes, qint64 length)
{
    for (qint64 back = 1; back <= 3 && back <= length; ++back) {
        const auto c = static_cast<unsigned char>(bytes[length - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const qint64 needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return needed > back ? length - back : length;
    }
    return length;
}

// A file's text as UTF-8 without tolerance, as decodeUtf8Strictly reads
// it, but read a piece at a time straight into the text it becomes: a large
// document is not held as bytes beside its text. Nothing when the file
// cannot be read or holds more than `bound` bytes.
// `read` fills up to the count of bytes and answers how many it read (0 at
// the end, negative on an error); `size` is what the file holds.
std::optional<QString> readUtf8Strictly(const std::function<qint64(char*, qint64)>& read, qint64 size, qint64 bound)
{
    constexpr qint64 piece = 256 * 1024;
    QByteArray buffer(piece + 3, Qt::Uninitialized);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text;
    // UTF-8 never takes more UTF-16 units than bytes.
    text.reserve(std::min(size, bound));
    qint64 carried = 0;
    qint64 total = 0;
    for (;;) {
        const qint64 got = read(buffer.data() + carried, piece);
        if (got < 0)
            return std::nullopt;
        total += got;
        if (total > bound)
            return std::nullopt;
        const qint64 available = carried + got;
        const qint64 whole = got == 0 ? available : wholeSequencesLength(buffer.constData(), available);
        const qsizetype at = text.size();
        text.resize(at + static_cast<qsizetype>(whole));
        const QChar* const end = decoder.appendToBuffer(text.data() + at, QByteArrayView(buffer.constData(), whole));
        text.resize(end - text.constData());
        if (decoder.hasError())
            return std::nullopt;
        carried = available - whole;
        if (got == 0)
            return text;
        std::memmove(buffer.data(), buffer.constData() + whole, static_cast<std::size_t>(carried));
    }
}

// The XML text of an enciphered document: ":", base64 cipher text, and the
// 16-character key at the end. Answers nothing when the text is too short or
// does not decipher to UTF-8.
std::optional<QString> decipherDocument(const QString& text)
{
    constexpr qsizetype keyLength = 16;
    if (text.size() <= keyLength)
        return std::nullopt;
    const QString key = text.right(keyLength);
    const QString cipher = text.mid(1, text.size() - 1 - keyLength);
    const QByteArray plain = lq::blowfishDecryptBase64(cipher.toUtf8(), key.toUtf8());
    if (plain.isNull())
        return std::nullopt;
    return decodeUtf8Strictly(plain);
}

// Reads a content block's text up to (not including) the end marker and adds
// it to the element. The block's leading white space is not kept: the scanner
// skips it, and so is white space behind leading characters that
// appendContent deletes, so that no content read starts with white space.
void readContentUpTo(XmlBase& element, lq::Scanner& scanner, QStringView end)
{
    QString text;
    if (!scanner.scanUpToString(end, &text))
        return;
    element.appendContentAsRead(text);
}

// What the writer can carry of an attribute value, so that a value read once
// is written and read back alike: the writer drops line feeds and control
// characters (a tab it keeps as "&#009;"), and the reader skips the leading
// white space of a value and takes leading "=" for part of the separator.
QString carriedAttributeValue(const QString& value)
{
    const auto plainAscii = [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; };
    if (std::all_of(value.begin(), value.end(), plainAscii) && !value.startsWith(QLatin1Char(' '))
        && !value.startsWith(QLatin1Char('=')))
        return value;
    static const lq::CharacterSet whiteSpace = lq::CharacterSet::whitespaceAndNewlineCharacters();
    const lq::CharacterSet& controls = XmlCharacterSets::shared().controlCharacters;
    QString carried = value;
    carried.removeIf([&controls](QChar c) { return c == QLatin1Char('\n') || (c != QLatin1Char('\t') && controls.contains(c)); });
    qsizetype start = 0;
    while (start < carried.size() && (whiteSpace.contains(carried[start]) || carried[start] == QLatin1Char('=')))
        ++start;
    return carried.sliced(start);
}

// True when neither unescaping nor what the writer can carry changes the
// value: printable ASCII without "&", without two blanks in a row, and not
// starting with a blank or "=".
bool isPlainAttributeValue(QStringView value)
{
    if (value.isEmpty() || value.front() == u' ' || value.front() == u'=')
        return false;
    // Without branches, so that many characters are looked at at a time:
    // the values of a document are mostly plain.
    const char16_t* const c = value.utf16();
    const qsizetype size = value.size();
    unsigned odd = 0;
    for (qsizetype i = 0; i < size; ++i)
        odd |= (c[i] < 0x20) | (c[i] >= 0x7f) | (c[i] == u'&');
    for (qsizetype i = 1; i < size; ++i)
        odd |= (c[i] == u' ') & (c[i - 1] == u' ');
    return odd == 0;
}

// Takes the text up to and including the next "<", as passing over it with
// the scanner (scanUpToString, then scanString) takes it; false when there is
// none left.
bool takeLessThan(lq::Scanner& scanner, bool skipsLessThan)
{
    const qsizetype lessThan = skipsLessThan ? -1 : QStringView(scanner.string()).indexOf(u'<', scanner.scanLocation());
    if (lessThan < 0) {
        scanner.scanUpToString(u"<");
        return scanner.scanString(u"<");
    }
    scanner.setScanLocation(lessThan + 1);
    return true;
}

} // namespace

// --- Writer --------------------------------------------------------------------

void XmlBase::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        if (!_edit_name)
            return;
        // A name that escapes to nothing (control characters only) is left
        // out as an empty one is: the reader would not store an empty value.
        const QString escaped = lq::escape(name());
        if (escaped.isEmpty())
            return;
        xml += QLatin1String(" name=\"");
        xml += escaped;
        xml += QLatin1Char('"');
    });
}

QString XmlBase::writeXmlVorns()
{
    return QString();
}

void XmlBase::appendSpace(QString& xml) const
{
    for (const XmlBase* node = this; node->_parent && node->_parent != node; node = node->_parent)
        xml += QLatin1Char(' ');
}

void XmlBase::writeXmlInString(QString& xml)
{
    lq::modelFrame(this, "writeXmlInString:", [&] {
        // Owned parts are asked for first: producing them may adjust the
        // element (and so its attributes) for the time of writing.
        const QString vorns = writeXmlVorns();
        const QString tag = _elementOverride.isEmpty() ? elementName() : _elementOverride;
        const XmlBaseList kids = children();

        appendSpace(xml);
        xml += QLatin1Char('<');
        xml += tag;
        appendAttributes(xml);
        if (kids.isEmpty() && !_have_content && vorns.isNull()) {
            xml += QLatin1String("/>\n");
            return;
        }
        xml += QLatin1Char('>');
        if (_have_content)
            XmlTextFormat::appendContentBlock(xml, _content);
        xml += vorns;
        for (const XmlBasePtr& child : kids)
            child->writeXmlInString(xml);
        appendSpace(xml);
        xml += QLatin1String("</");
        xml += tag;
        xml += QLatin1String(">\n");
    });
}

QString XmlBase::createXml()
{
    return lq::modelFrame(this, "createXml", [&] {
        QString xml;
        writeXmlInString(xml);
        return xml;
    });
}

bool XmlBase::saveToFile(const QString& path)
{
    return lq::modelFrame(this, "saveToFile:", [&]() -> bool {
        // The text goes to a temporary file beside the target, which replaces
        // the target only once it is complete and on the disk: a failed write
        // leaves the earlier file whole. Element files hold pages' passwords
        // and the destination's credentials: they are their owner's alone.
        QString why;
        if (!lq::writeFileAtomically(path, createXml().toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
            lq::log(why);
            return false;
        }
        return true;
    });
}

bool XmlBase::saveInto(lq::ConfinedFolder& folder, const QString& name)
{
    return lq::modelFrame(this, "saveToFile:", [&]() -> bool {
        QString why;
        if (!folder.writeFileAtomically(name, createXml().toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
            lq::log(why);
            return false;
        }
        return true;
    });
}

namespace {

// The element tree of a document file's text (enciphered or not); nothing
// for a file that is not UTF-8 text, or is empty.
XmlBasePtr createWithText(std::optional<QString> text, const QString& rootDir)
{
    if (!text || text->isEmpty())
        return nullptr;
    if (text->startsWith(QLatin1Char(':'))) {
        text = decipherDocument(*text);
        if (!text)
            return nullptr;
    }
    return XmlBase::createWithXmlRootDir(*text, rootDir);
}

} // namespace

// --- Reader --------------------------------------------------------------------

XmlBasePtr XmlBase::createWithFile(const QString& path)
{
    return lq::classFrame("XmlBase +createWithFile:", [&]() -> XmlBasePtr {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        // A file past the bound is refused before it is read into memory.
        const qint64 bound = lq::inputLimits().documentTextBytes;
        if (file.size() > bound) {
            lq::log(QStringLiteral("Cannot read ") + path + QStringLiteral(": it holds ") + lq::describeSize(file.size())
                + QStringLiteral(", more than the ") + lq::describeSize(bound) + QStringLiteral(" a document file may have"));
            return nullptr;
        }
        std::optional<QString> text = readUtf8Strictly([&](char* data, qint64 count) { return file.read(data, count); }, file.size(), bound);
        file.close();
        return createWithText(std::move(text), QFileInfo(path).path());
    });
}

XmlBasePtr XmlBase::createWithFile(const lq::ConfinedFolder& folder, const QString& name)
{
    return lq::classFrame("XmlBase +createWithFile:", [&]() -> XmlBasePtr {
        QString why;
        const lq::FileDescriptor file = folder.openForReading(name, &why);
        if (!file.isValid()) {
            // Only a file that is there and cannot be read is worth a line.
            if (folder.status(name).exists() || folder.status(name).kind == lq::ConfinedFolder::Kind::Link)
                lq::log(why);
            return nullptr;
        }
        // A file past the bound is refused before it is read into memory.
        const qint64 bound = lq::inputLimits().documentTextBytes;
        struct stat status {};
        if (::fstat(file.get(), &status) != 0)
            return nullptr;
        if (status.st_size > bound) {
            lq::log(QStringLiteral("Cannot read ") + folder.pathOf(name) + QStringLiteral(": it holds ") + lq::describeSize(status.st_size)
                + QStringLiteral(", more than the ") + lq::describeSize(bound) + QStringLiteral(" a document file may have"));
            return nullptr;
        }
        std::optional<QString> text = readUtf8Strictly([&](char* data, qint64 count) -> qint64 {
            for (;;) {
                const ssize_t got = ::read(file.get(), data, static_cast<size_t>(count));
                if (got >= 0 || errno != EINTR)
                    return got;
            }
        }, status.st_size, bound);
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        return createWithText(std::move(text), folder.pathOf(slash < 0 ? QString() : name.left(slash)));
    });
}

XmlBasePtr XmlBase::createWithData(const QByteArray& bytes, const QString& rootDir)
{
    return lq::classFrame("XmlBase +createWithData:rootDir:", [&]() -> XmlBasePtr {
        return createWithText(decodeUtf8Strictly(bytes), rootDir);
    });
}

XmlBasePtr XmlBase::createWithXmlRootDir(const QString& text, const QString& rootDir)
{
    return lq::classFrame("XmlBase +createWithXml:rootDir:", [&]() -> XmlBasePtr {
        const XmlCharacterSets& sets = XmlCharacterSets::shared();
        lq::Scanner scanner(text);
        scanner.scanUpToString(u"<");
        if (!scanner.scanString(u"<"))
            return nullptr;
        XmlBasePtr root;
        {
            QString tag;
            if (!scanner.scanCharactersFromSet(sets.nameCharacters, &tag))
                return nullptr;
            // The first tag always goes to the factory: an element that only
            // its parent knows cannot stand as a root.
            root = lq::factoryCreateChildFromTag(tag);
            if (!root)
                return nullptr;
            QString attributes;
            if (scanner.scanUpToString(u">", &attributes))
                root->readAttributes(attributes);
        }
        // The root's body is read even when its tag closes itself, and a text
        // cut short still gives the tree read so far.
        scanner.scanString(u">");
        root->parseXmlAtDepth(scanner, 1);
        if (!rootDir.isEmpty())
            root->setRootDir(rootDir);
        root->postload();
        return root;
    });
}

bool XmlBase::parseXml(lq::Scanner& scanner)
{
    return parseXmlAtDepth(scanner, 1);
}

bool XmlBase::parseXmlAtDepth(lq::Scanner& scanner, int depth)
{
    return lq::modelFrame(this, "parseXml:", [&]() -> bool {
        const XmlCharacterSets& sets = XmlCharacterSets::shared();
        const std::optional<lq::CharacterSet>& skipped = scanner.charactersToBeSkipped();
        const bool skipsLessThan = skipped && skipped->contains(u'<');
        for (;;) {
            if (!takeLessThan(scanner, skipsLessThan))
                return false;
            // Most tags open an element: a name character after the "<" and
            // its blanks rules out the end tag and the blocks, which start
            // with "/" or "!".
            const QString& source = scanner.string();
            qsizetype nameStart = scanner.scanLocation();
            while (nameStart < source.size() && skipped && skipped->contains(source[nameStart]))
                ++nameStart;
            const bool opensElement = nameStart < source.size() && sets.nameCharacters.contains(source[nameStart]);
            if (!opensElement) {
                // The end tag; its name is not compared with the element's tag.
                if (scanner.scanString(u"/")) {
                    scanner.scanCharactersFromSet(sets.nameCharacters);
                    scanner.scanString(u">");
                    return true;
                }
                // The content block. Its closing sequence is left in place; the
                // next turn passes over it as a tag without a name.
                if (scanner.scanString(contentOpenAfterLessThan)) {
                    readContentUpTo(*this, scanner, contentClose);
                    continue;
                }
                if (scanner.scanString(cdataOpenAfterLessThan)) {
                    readContentUpTo(*this, scanner, cdataClose);
                    continue;
                }
                // The verbatim block. The closing marker is taken also after an
                // empty block: left in place it would open a block that runs to
                // the next marker or the end of the text and swallow the elements
                // in between.
                if (scanner.scanString(verbatimMarkerAfterLessThan())) {
                    readContentUpTo(*this, scanner, XmlTextFormat::verbatimMarker);
                    scanner.scanString(XmlTextFormat::verbatimMarker);
                    continue;
                }
                if (scanner.scanString(dataMarkerAfterLessThan)) {
                    QString text;
                    if (scanner.scanUpToString(dataMarker, &text))
                        setDataString(text);
                    scanner.scanString(dataMarker);
                    continue;
                }
            }

            // A child element. Its tag and attribute text are dropped before
            // its body is read, so that the strings held while reading a deep
            // tree do not pile up along the path.
            XmlBasePtr child;
            bool hasBody = false;
            {
                if (!scanner.scanCharactersFromSet(sets.nameCharacters))
                    continue; // a comment, a declaration, the content block's end
                // The tag is read where it stands in the document, as the
                // run of name characters the scanner has just passed.
                const QChar* const document = scanner.string().constData();
                const qsizetype tagEnd = scanner.scanLocation();
                qsizetype tagStart = tagEnd;
                while (tagStart > 0 && sets.nameCharacters.contains(document[tagStart - 1]))
                    --tagStart;
                const QString tag = QString::fromRawData(document + tagStart, tagEnd - tagStart);
                // The attribute text is read where it stands in the document.
                const qsizetype attributesStart = scanner.scanLocation();
                scanner.scanUpToString(u">");
                const QString attributes = QString::fromRawData(scanner.string().constData() + attributesStart,
                    scanner.scanLocation() - attributesStart);
                if (!scanner.scanString(u">"))
                    return false;
                if (depth >= XmlTextFormat::maxNestingDepth) {
                    lq::log(QStringLiteral("XmlBase: elements nested deeper than %1 levels, reading stopped at <%2>")
                                .arg(XmlTextFormat::maxNestingDepth)
                                .arg(tag));
                    return false;
                }
                child = createChildFromTag(tag);
                if (!child) {
                    // Nobody knows the tag: a dump that is never attached
                    // swallows the element with its whole subtree.
                    child = XmlGarbageDump::create();
                } else if (_have_children && canYouBeMyParent(child.get())) {
                    // What the reader does to a tree that belongs to a
                    // document is no edit of it.
                    SuppressedChanges quiet(*this);
                    addChild(child);
                }
                // Otherwise the child is read and dropped with this turn.
                hasBody = child->readAttributes(attributes);
            }
            if (hasBody && !child->parseXmlAtDepth(scanner, depth + 1))
                return false;
        }
    });
}

bool XmlBase::readAttributes(const QString& attributes)
{
    return lq::modelFrame(this, "readAttributes:", [&]() -> bool {
        if (attributes.isEmpty())
            return true;
        // One pass over the text, with the scanner's rules: blanks and line
        // ends are passed over before every token, and only the value is
        // copied out. The text itself may be borrowed from the document;
        // nothing here keeps it.
        const XmlCharacterSets& sets = XmlCharacterSets::shared();
        static const lq::CharacterSet blanks = lq::CharacterSet::whitespaceAndNewlineCharacters();
        const QChar* const text = attributes.constData();
        const qsizetype size = attributes.size();
        qsizetype pos = 0;
        const auto skip = [&] {
            while (pos < size && blanks.contains(text[pos]))
                ++pos;
        };
        // The run of characters in the set after the blanks; the position
        // moves only when the run is not empty.
        const auto run = [&](const auto& contains, qsizetype& start) -> qsizetype {
            qsizetype p = pos;
            while (p < size && blanks.contains(text[p]))
                ++p;
            start = p;
            while (p < size && contains(text[p]))
                ++p;
            if (p > start)
                pos = p;
            return p - start;
        };
        const auto in = [](const lq::CharacterSet& set) { return [&set](QChar c) { return set.contains(c); }; };
        // Keys are ASCII nearly always: their characters are looked up in a
        // table taken from the set of name characters.
        static const std::array<bool, 128> asciiNameCharacters = [&sets] {
            std::array<bool, 128> table {};
            for (char16_t u = 0; u < table.size(); ++u)
                table[u] = sets.nameCharacters.contains(QChar(u));
            return table;
        }();
        const auto isNameCharacter = [&sets](QChar c) {
            return c.unicode() < asciiNameCharacters.size() ? asciiNameCharacters[c.unicode()] : sets.nameCharacters.contains(c);
        };
        std::optional<SuppressedChanges> quiet;
        for (;;) {
            skip();
            if (pos < size && text[pos] == u'/')
                return false;
            qsizetype keyStart = 0;
            const qsizetype keyLength = run(isNameCharacter, keyStart);
            if (keyLength == 0)
                return true;
            qsizetype separatorStart = 0;
            const qsizetype separatorLength = run(in(sets.quoteOrEquals), separatorStart);
            if (separatorLength == 0)
                return true;
            if (QStringView(text + separatorStart, separatorLength) == u"=\"\"")
                continue; // an empty attribute is not stored
            const qsizetype before = pos;
            skip();
            qsizetype end = pos;
            while (end < size && text[end] != u'"')
                ++end;
            qsizetype quotesStart = 0;
            if (end == pos) {
                pos = before;
                run(in(sets.quote), quotesStart);
                continue;
            }
            // The key is only compared, so it is read where it stands.
            const QString key = QString::fromRawData(text + keyStart, keyLength);
            const QStringView raw(text + pos, end - pos);
            pos = end;
            run(in(sets.quote), quotesStart);
            // The value is unescaped here, once; setAttributeTo gets what
            // of it a save would keep. A value of which nothing is left
            // is not stored, as an empty one. Most values are plain text
            // that both leave as it is.
            const QString plain = isPlainAttributeValue(raw) ? raw.toString() : carriedAttributeValue(lq::unescape(raw.toString()));
            if (plain.isEmpty())
                continue;
            // Storing what the document already holds is no edit of it.
            if (!quiet)
                quiet.emplace(*this);
            setAttributeTo(key, plain);
        }
    });
}

void XmlBase::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        // The reader has unescaped the value already: a second unescape would
        // change names at every save and load ("My  Page" would become "My Page").
        if (key == u"name"_sv)
            setName(value);
    });
}

namespace {

// The text without the characters the reader strips: the text itself when
// it holds none of them.
QString withoutStrippedCharacters(const QString& text)
{
    const StrippedCharacters& stripped = StrippedCharacters::shared();
    const qsizetype first = firstStrippedCharacter(text, stripped);
    if (first == text.size())
        return text;
    QString clean;
    clean.reserve(text.size());
    clean += QStringView(text).first(first);
    for (qsizetype i = first + 1; i < text.size(); ++i) {
        if (!stripped.contains(text[i]))
            clean += text[i];
    }
    return clean;
}

} // namespace

void XmlBase::appendContent(const QString& text)
{
    lq::modelFrame(this, "appendContent:", [&] { appendCleanContent(withoutStrippedCharacters(text)); });
}

void XmlBase::appendCleanContent(const QString& clean)
{
    // Text given to an element without content is taken as it is, not
    // copied: a page's text is the whole page.
    if (_content.isNull() || _defaultContent || (_content.isEmpty() && !clean.isNull()))
        _content = clean;
    else
        _content += clean;
    _defaultContent = false;
}

std::optional<QString> XmlBase::contentAsRead(const QString& text)
{
    // The scanner passes over white space before the block's text and
    // finds none when nothing else comes before the end marker.
    static const lq::CharacterSet whiteSpace = lq::CharacterSet::whitespaceAndNewlineCharacters();
    const StrippedCharacters& stripped = StrippedCharacters::shared();
    qsizetype start = 0;
    while (start < text.size() && whiteSpace.contains(text[start]))
        ++start;
    if (start == text.size())
        return std::nullopt;
    while (start < text.size() && (whiteSpace.contains(text[start]) || stripped.contains(text[start])))
        ++start;
    return withoutStrippedCharacters(start == 0 ? text : text.sliced(start));
}

void XmlBase::appendContentAsRead(const QString& text)
{
    lq::modelFrame(this, "appendContentAsRead:", [&] {
        if (const std::optional<QString> clean = contentAsRead(text))
            appendCleanContent(*clean);
    });
}

void XmlBase::appendContentReadAhead(const QString& clean)
{
    lq::modelFrame(this, "appendContentAsRead:", [&] { appendCleanContent(clean); });
}

void XmlBase::setDataString(const QString& text)
{
    lq::modelFrame(this, "setDataString:", [&] { _data = lq::base64DecodeText(text); });
}

// --- Copies --------------------------------------------------------------------

XmlBasePtr XmlBase::copyWithZone()
{
    return lq::modelFrame(this, "copyWithZone:", [&] { return createWithXmlRootDir(createXml(), rootDir()); });
}

void XmlBase::replaceChildWithCopyOf(XmlBase* child, XmlBase* source)
{
    lq::modelFrame(this, "replaceChild:withCopyOf:", [&] {
        if (!source)
            return;
        const XmlBasePtr copy = createWithXmlRootDir(source->createXml(), QString());
        if (copy)
            swapChildForChild(child, copy);
    });
}

XmlBasePtr XmlBase::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&] {
        return lq::factoryCreateChildFromTag(tag);
    });
}

void XmlBase::putOnPasteboard(lq::Pasteboard& pasteboard)
{
    lq::modelFrame(this, "putOnPasteboard:", [&] { pasteboard.declareString(createXml()); });
}
