#include "elements/StoredTextTokenizer.h"

#include "platform/CharacterSet.h"
#include "platform/Scanner.h"
#include "platform/Strings.h"

#include <vector>

using namespace lq::literals;

namespace {

// Letters, digits and "-", "_", ":", ".".
const lq::CharacterSet& nameCharacters()
{
    static const lq::CharacterSet set =
        lq::CharacterSet::alphanumericCharacters().united(lq::CharacterSet::characters(u"-_:."));
    return set;
}

bool isParagraphTag(const QString& name)
{
    return name == u"p" || name == u"h1" || name == u"h2" || name == u"h3" || name == u"h4" || name == u"h5"
        || name == u"h6";
}

lq::Scanner scannerFor(const QString& text)
{
    lq::Scanner scanner(text);
    scanner.setCaseSensitive(true);
    return scanner;
}

// Reads a closing tag's name and its ">" (the "</" already read).
void finishClosingTag(lq::Scanner& scanner)
{
    scanner.scanCharactersFromSet(nameCharacters());
    scanner.scanUpToString(u">");
    scanner.scanString(u">");
}

// Consumes an element whose opening tag has just been read: every opening
// tag inside opens one more level and every closing tag, whatever its name,
// closes one. Ends at the end of the text.
void skipElement(lq::Scanner& scanner)
{
    long long depth = 1;
    while (depth > 0) {
        scanner.scanUpToString(u"<");
        if (!scanner.scanString(u"<"))
            return;
        if (scanner.scanString(u"/")) {
            finishClosingTag(scanner);
            --depth;
        } else if (scanner.scanCharactersFromSet(nameCharacters())) {
            scanner.scanUpToString(u">");
            if (!scanner.scanString(u">"))
                return;
            ++depth;
        }
        // Anything else after "<" is passed over.
    }
}

struct Level {
    int bits = 0;
    StoredLink link;
    // The level is the content of an "a" element.
    bool isLink = false;
};

// The content of one paragraph: each level ends at the first closing tag it
// meets, or with the text.
void readInline(lq::Scanner& scanner, StoredTextSink& sink, int initialBits)
{
    const QString& text = scanner.string();
    std::vector<Level> levels { Level { initialBits, {}, false } };

    const auto endLevel = [&] {
        const bool wasLink = levels.back().isLink;
        levels.pop_back();
        if (wasLink)
            sink.linkEnd();
    };

    while (!levels.empty()) {
        const Level level = levels.back();
        // The scanner skips blanks before what it reads: a blank right here
        // (after a closing tag, say) would otherwise be lost.
        const qsizetype at = scanner.scanLocation();
        if (at < text.size() && text.at(at) == QLatin1Char(' '))
            sink.appendRun(QStringLiteral(" "), level.bits, level.link);
        QString run;
        if (scanner.scanUpToString(u"<", &run))
            sink.appendRun(run, level.bits, level.link);
        if (!scanner.scanString(u"<")) {
            // No "<" is left: every open level ends with the text.
            while (!levels.empty())
                endLevel();
            return;
        }
        if (scanner.scanString(u"/")) {
            finishClosingTag(scanner);
            endLevel();
            continue;
        }
        QString name;
        if (!scanner.scanCharactersFromSet(nameCharacters(), &name))
            continue; // the "<" is dropped; what follows is read as text
        QString attributes;
        scanner.scanUpToString(u">", &attributes);
        if (!scanner.scanString(u">")) {
            endLevel();
            continue;
        }
        if (name == u"b") {
            levels.push_back({ level.bits | InlineBits::bold, level.link, false });
        } else if (name == u"i") {
            levels.push_back({ level.bits | InlineBits::italic, level.link, false });
        } else if (name == u"u") {
            levels.push_back({ level.bits | InlineBits::underline, level.link, false });
        } else if (name == u"a") {
            const StoredLink link = sink.readLink(attributes);
            sink.linkStart();
            levels.push_back({ level.bits | InlineBits::link, link, true });
        } else {
            skipElement(scanner);
        }
    }
}

} // namespace

QLatin1String closingTagForInlineBit(int bit)
{
    switch (bit) {
    case InlineBits::italic:
        return QLatin1String("</i>");
    case InlineBits::bold:
        return QLatin1String("</b>");
    case InlineBits::underline:
        return QLatin1String("</u>");
    case InlineBits::link:
        return QLatin1String("</a>");
    default:
        return QLatin1String("");
    }
}

int paragraphKindForTag(QStringView tag)
{
    if (tag == u"h1"_sv || tag == u"h3"_sv)
        return 1;
    if (tag == u"h2"_sv)
        return 2;
    if (tag == u"h4"_sv)
        return 3;
    if (tag == u"h5"_sv)
        return 4;
    if (tag == u"h6"_sv)
        return 5;
    return 0;
}

QLatin1String paragraphTagForKind(int kind)
{
    static const char* const tags[] = { "p", "h1", "h2", "h4", "h5", "h6" };
    return QLatin1String(tags[kind >= 0 && kind <= 5 ? kind : 0]);
}

void readParagraphAttributes(const QString& attributes, lq::TextAlignment alignment, lq::ParagraphStyle& style)
{
    style.alignment = alignment;
    style.baseWritingDirection = lq::WritingDirection::LeftToRight;
    if (attributes.contains(u"dir=\"rtl\""))
        style.baseWritingDirection = lq::WritingDirection::RightToLeft;
    if (attributes.contains(u"class=\"center\""))
        style.alignment = lq::TextAlignment::Center;
    if (attributes.contains(u"class=\"right\""))
        style.alignment = lq::TextAlignment::Right;
}

StoredLink readStoredLink(const QString& attributes)
{
    StoredLink link;
    if (attributes.isEmpty())
        return link;
    lq::Scanner scanner = scannerFor(attributes);
    static const lq::CharacterSet assignment = lq::CharacterSet::characters(u"=\"");
    while (true) {
        if (scanner.scanString(u"/"))
            break;
        QString name;
        if (!scanner.scanCharactersFromSet(nameCharacters(), &name))
            break;
        QString run;
        if (!scanner.scanCharactersFromSet(assignment, &run))
            break;
        if (run == u"=\"\"")
            continue; // an empty attribute
        QString value = QStringLiteral("");
        scanner.scanUpToString(u"\"", &value);
        scanner.scanString(u"\"");
        if (name == u"href")
            link.target = value;
        else if (name == u"pseq")
            link.target = lq::intValue(value);
        else if (name == u"target" && value == u"_blank")
            link.newWindow = 1;
    }
    return link;
}

void StoredTextTokenizer::read(const QString& text, StoredTextSink& sink, Options options)
{
    lq::Scanner scanner = scannerFor(text);
    bool paragraphRead = false;
    while (true) {
        scanner.scanUpToString(u"<");
        if (!scanner.scanString(u"<"))
            return;
        QString name;
        if (scanner.scanCharactersFromSet(nameCharacters(), &name)) {
            QString attributes;
            scanner.scanUpToString(u">", &attributes);
            if (!scanner.scanString(u">"))
                return;
            if (isParagraphTag(name)) {
                sink.beginParagraph(name, attributes, paragraphRead);
                readInline(scanner, sink, options.initialBits);
                paragraphRead = true;
            } else {
                skipElement(scanner);
            }
        }
        if (options.firstLineOnly)
            return;
    }
}
