#include "model/site/XmlCaption.h"

#include "model/site/XmlAlbum.h"
#include "model/site/XmlWebItem.h"
#include "platform/CharacterSet.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Scanner.h"
#include "platform/Strings.h"

using namespace lq::literals;

namespace {

// The characters of a tag name in stored rich text.
const lq::CharacterSet& tagNameCharacters()
{
    static const lq::CharacterSet set
        = lq::CharacterSet::alphanumericCharacters().united(lq::CharacterSet::characters(u"-_:."));
    return set;
}

// Passes over the rest of a tag up to and including its ">"; false when the
// text has no ">" left.
bool finishTag(lq::Scanner& scanner)
{
    scanner.scanUpToString(u">");
    return scanner.scanString(u">");
}

// The run elements whose text belongs to the caption.
bool keepsText(const QString& tag)
{
    return tag == u"b"_sv || tag == u"i"_sv || tag == u"u"_sv || tag == u"a"_sv;
}

} // namespace

XmlCaption::XmlCaption(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlCaption> XmlCaption::create()
{
    return make<XmlCaption>();
}

QString XmlCaption::elementName() const
{
    return QStringLiteral("QZcaption");
}

void XmlCaption::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"isblank"_sv) {
            old1_0caption = true;
        } else if (key == u"linkType"_sv) {
            _linkType = lq::intValue(value);
        } else if (key == u"link"_sv) {
            if (_linkType != 0)
                setEmbeddedLink(value);
            else
                setEmbeddedLink(QVariant(lq::intValue(value)));
        } else if (key == u"window"_sv) {
            setNewWindow(lq::intValue(value));
        } else {
            XmlBase::setAttributeTo(key, value);
        }
    });
}

void XmlCaption::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        const bool number = isPageNumber(_embeddedLink);
        xml += QStringLiteral(" linkType=\"%1\"").arg(number ? 0 : 1);
        const QString link = number ? QString::number(_embeddedLink.toLongLong()) : lq::escape(_embeddedLink.toString());
        xml += QStringLiteral(" link=\"%1\" window=\"%2\"").arg(link, QString::number(_newWindow));
    });
}

void XmlCaption::postload()
{
    lq::modelFrame(this, "postload", [&] {
        if (!old1_0caption)
            return;
        _embeddedLink = QStringLiteral("");
        _newWindow = 0;
        const QString whole = content();
        const qsizetype http = whole.indexOf(u"http://");
        const qsizetype marker = whole.indexOf(u"link:");
        QString text = whole;
        if (http >= 0 || marker >= 0) {
            // An address keeps its "http://"; after "link:" comes the link itself.
            text = whole.left(http >= 0 ? http : marker);
            const QString rest = whole.mid(http >= 0 ? http : marker + 5);
            const qsizetype blank = rest.indexOf(u' ');
            if (blank >= 0) {
                _embeddedLink = rest.left(blank);
                _newWindow = 1;
            } else {
                _embeddedLink = rest;
            }
        }
        setContent(QStringLiteral("<p>%1</p>").arg(text));
    });
}

QString XmlCaption::captionOnly() const
{
    return lq::modelFrame(this, "captionOnly", [&] {
        const QString& whole = content();
        qsizetype end = whole.indexOf(u"http://");
        if (end < 0)
            end = whole.indexOf(u"link:");
        return end < 0 ? whole : whole.left(end);
    });
}

bool XmlCaption::isPageNumber(const QVariant& link)
{
    switch (link.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

void XmlCaption::setEmbeddedLink(const QVariant& link)
{
    setStored(_embeddedLink, link, "setEmbeddedLink:");
}

void XmlCaption::setNewWindow(int newWindow)
{
    setStored(_newWindow, newWindow, "setNewWindow:");
}

QString XmlCaption::href()
{
    return lq::modelFrame(this, "href", [&]() -> QString {
        if (_embeddedLink.typeId() == QMetaType::QString) {
            const QString link = _embeddedLink.toString();
            if (XmlWebItem* page = XmlWebItem::cast(UUID(link).get()))
                return page->externalLink();
            return link.isEmpty() ? QStringLiteral("#") : link;
        }
        if (isPageNumber(_embeddedLink)) {
            const long long number = _embeddedLink.toLongLong();
            for (const XmlBasePtr& item : webItems()) {
                XmlAlbum* page = XmlAlbum::cast(item.get());
                if (page && page->pageSeqNumber() == number)
                    return page->externalLink();
            }
        }
        return QStringLiteral("#");
    });
}

QString XmlCaption::target() const
{
    return _newWindow != 0 ? QStringLiteral("_blank") : QStringLiteral("_self");
}

QString XmlCaption::shortCaption() const
{
    return lq::modelFrame(this, "shortCaption", [&] {
        lq::Scanner scanner(content());
        scanner.scanUpToString(u"<");
        if (!scanner.scanString(u"<") || !scanner.scanCharactersFromSet(tagNameCharacters()) || !finishTag(scanner))
            return QStringLiteral("");
        QString result = QStringLiteral("");
        addStrippedTextInString(scanner, result);
        return lq::unescape(result);
    });
}

QString XmlCaption::longCaption() const
{
    return lq::modelFrame(this, "longCaption", [&] {
        lq::Scanner scanner(content());
        QString result = QStringLiteral("");
        for (;;) {
            scanner.scanUpToString(u"<");
            if (!scanner.scanString(u"<"))
                break;
            if (scanner.scanCharactersFromSet(tagNameCharacters()) && finishTag(scanner))
                addStrippedTextInString(scanner, result);
            // Text between top-level elements is dropped; each one ends in a blank.
            result += u' ';
        }
        return lq::unescape(result);
    });
}

void XmlCaption::addStrippedTextInString(lq::Scanner& scanner, QString& result) const
{
    lq::modelFrame(this, "addStrippedText:inString:", [&] { walkElement(scanner, &result); });
}

void XmlCaption::skip(lq::Scanner& scanner) const
{
    lq::modelFrame(this, "skip:", [&] { walkElement(scanner, nullptr); });
}

// The nesting is followed with a depth count instead of a call per element,
// so deeply nested text cannot exhaust the stack. The walk ends at the
// element's closing tag or at the end of the text, whichever comes first:
// text that ends inside an element (an unclosed tag) is collected up to its
// end. Collecting, a kept run nests deeper and any other element is skipped
// whole; skipping, every element nests deeper.
void XmlCaption::walkElement(lq::Scanner& scanner, QString* result) const
{
    int depth = 1;
    for (;;) {
        if (result) {
            // The scanner skips the blanks before a run of text; a leading
            // blank stands for them.
            const QString& text = scanner.string();
            const qsizetype at = scanner.scanLocation();
            if (at < text.size() && text.at(at) == u' ')
                *result += u' ';
            QString run;
            if (scanner.scanUpToString(u"<", &run))
                *result += run;
        } else {
            scanner.scanUpToString(u"<");
        }
        if (!scanner.scanString(u"<"))
            return;
        if (scanner.scanString(u"/")) {
            scanner.scanCharactersFromSet(tagNameCharacters());
            finishTag(scanner);
            if (--depth == 0)
                return;
            continue;
        }
        QString tag;
        if (!scanner.scanCharactersFromSet(tagNameCharacters(), &tag))
            continue;
        if (!finishTag(scanner))
            return;
        if (!result || keepsText(tag))
            ++depth;
        else
            skip(scanner);
    }
}
