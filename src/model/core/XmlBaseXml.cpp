// The element XML text of XmlBase: the writer with its fixed layout, the
// tolerant reader (with the legacy forms of older documents), and the copy
// operations built on the text.
#include "model/core/XmlBase.h"

#include "model/core/ElementFactory.h"
#include "model/core/SuppressedChanges.h"
#include "model/core/XmlGarbageDump.h"
#include "model/core/XmlTextFormat.h"
#include "platform/Codecs.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Scanner.h"
#include "platform/Strings.h"
#include "platform/XmlCharacterSets.h"

#include <algorithm>
#include <array>
#include <optional>

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
        const QString tag = elementOverride().isEmpty() ? elementName() : elementOverride();
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

void XmlBase::appendContent(const QString& text)
{
    lq::modelFrame(this, "appendContent:", [&] { appendCleanContent(XmlTextFormat::withoutStrippedCharacters(text)); });
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

void XmlBase::appendContentAsRead(const QString& text)
{
    lq::modelFrame(this, "appendContentAsRead:", [&] {
        if (const std::optional<QString> clean = XmlTextFormat::contentAsRead(text))
            appendCleanContent(*clean);
    });
}

void XmlBase::appendContentReadAhead(const QString& clean)
{
    lq::modelFrame(this, "appendContentAsRead:", [&] { appendCleanContent(clean); });
}

void XmlBase::setDataString(const QString& text)
{
    lq::modelFrame(this, "setDataString:", [&] {
        QByteArray decoded = lq::base64DecodeText(text);
        if (_seldom || !decoded.isEmpty())
            seldom()._data = std::move(decoded);
    });
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
