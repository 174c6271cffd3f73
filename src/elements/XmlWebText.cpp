#include "elements/XmlWebText.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QRegularExpression>

using namespace lq::literals;

namespace {

// Feeds what the tokenizer scans into the element's reader operations, so a
// subclass's own paragraph set-up and run styling take part.
class ElementSink : public StoredTextSink {
public:
    ElementSink(XmlWebText& element, lq::StyledText& text, lq::TextAlignment alignment)
        : _element(element)
        , _text(text)
        , _alignment(alignment)
    {
    }

    void beginParagraph(const QString& tag, const QString& attributes, bool afterAnother) override
    {
        _element.doLastAppendInString(afterAnother, _text);
        _element.setUpParagraphAlignmentTag(attributes, _alignment, tag);
    }
    void appendRun(const QString& raw, int bits, const StoredLink& link) override
    {
        _element.appendTextWithAttributesInStringWithLinkNewWindow(raw, bits, _text, link.target, link.newWindow);
    }
    StoredLink readLink(const QString& attributes) override
    {
        _element.getLink(attributes);
        return { _element.currentLink(), _element.currentNewWindowFlag() };
    }
    void linkStart() override { _element.addLinkStart(_text.length()); }
    void linkEnd() override { _element.addLinkEnd(_text.length()); }

private:
    XmlWebText& _element;
    lq::StyledText& _text;
    lq::TextAlignment _alignment;
};

// The paragraph style of the text's first character (the default style for none).
lq::ParagraphStyle firstParagraphStyle(const lq::StyledText& text)
{
    return text.attributesAt(0).paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle());
}

QString directionText(const lq::ParagraphStyle& style)
{
    return style.baseWritingDirection == lq::WritingDirection::RightToLeft ? QStringLiteral(" dir=\"rtl\"")
                                                                           : QString();
}

} // namespace

XmlWebText::XmlWebText(Key key)
    : XmlBoxModel(key)
{
    _heightFixed = true;
    _widthFixed = true;
    _absolute = true;
    _top = 0;
    _left = 0;
    _width = 100;
    _height = 100;
    _links.reserve(30);
}

std::shared_ptr<XmlWebText> XmlWebText::create()
{
    return make<XmlWebText>();
}

QString XmlWebText::elementName() const
{
    return QStringLiteral("cssWebText");
}

// --- Element protocol --------------------------------------------------------------------------

void XmlWebText::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const auto colour = [&] { return lq::stringToColor(value).value_or(lq::Colour::black()); };
        if (key == u"underlineLinks"_sv)
            _underlineLinks = lq::intValue(value) != 0;
        else if (key == u"linkNormal"_sv)
            _linkNormal = colour();
        else if (key == u"linkHover"_sv)
            _linkHover = colour();
        else if (key == u"linkVisited"_sv)
            _linkVisited = colour();
        else if (key == u"normalLS"_sv)
            _normalLS = lq::intValue(value);
        else if (key == u"firstline"_sv)
            _firstLine = lq::intValue(value) != 0;
        else if (key == u"fontsHaveData"_sv)
            _fontsHaveLinkData = true;
        else
            XmlBoxModel::setAttributeTo(key, value);
    });
}

void XmlWebText::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBoxModel::appendAttributes(xml);
        // An element whose font record lives elsewhere (a Vorn Box outside a
        // template) writes the link settings it holds itself.
        const std::shared_ptr<XmlWebFont> record = font();
        const bool underline = record ? record->underlineLinks() : _underlineLinks;
        xml += QString::asprintf(" underlineLinks=\"%d\"", underline ? 1 : 0);
        xml += QStringLiteral(" linkNormal=\"") + lq::colorToCSSString(record ? record->linkNormal() : _linkNormal)
            + QStringLiteral("\"");
        xml += QStringLiteral(" linkHover=\"") + lq::colorToCSSString(record ? record->linkHover() : _linkHover)
            + QStringLiteral("\"");
        xml += QStringLiteral(" linkVisited=\"") + lq::colorToCSSString(record ? record->linkClicked() : _linkVisited)
            + QStringLiteral("\"");
        xml += QString::asprintf(" firstline=\"%d\"", _firstLine ? 1 : 0);
        xml += QStringLiteral(" fontsHaveData=\"1\"");
    });
}

void XmlWebText::postload()
{
    lq::modelFrame(this, "postload", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        if (_normalLS != 0 && record) {
            record->setLineSpacing(_normalLS);
            _normalLS = 0;
        }
        if (!_fontsHaveLinkData && record) {
            record->setUnderlineLinks(_underlineLinks);
            record->setLinkNormal(_linkNormal);
            record->setLinkHover(_linkHover);
            record->setLinkClicked(_linkVisited);
        }
        XmlBoxModel::postload();
    });
}

// --- Settings ----------------------------------------------------------------------------------

bool XmlWebText::underlineLinks()
{
    return lq::modelFrame(this, "underlineLinks", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        return record ? record->underlineLinks() : _underlineLinks;
    });
}

lq::Colour XmlWebText::linkNormal()
{
    return lq::modelFrame(this, "linkNormal", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        return record ? record->linkNormal() : _linkNormal;
    });
}

lq::Colour XmlWebText::linkHover()
{
    return lq::modelFrame(this, "linkHover", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        return record ? record->linkHover() : _linkHover;
    });
}

lq::Colour XmlWebText::linkVisited()
{
    return lq::modelFrame(this, "linkVisited", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        return record ? record->linkClicked() : _linkVisited;
    });
}

void XmlWebText::setFirstLine(bool firstLine)
{
    setStored(_firstLine, firstLine, "setFirstLine:");
}

bool XmlWebText::enabled()
{
    return false;
}

void XmlWebText::createTextLayoutStuff()
{
}

// --- Reading stored rich text ------------------------------------------------------------------

lq::StyledText XmlWebText::getAttributedStringWithAlignmentAttr(const QString& text, lq::TextAlignment alignment,
                                                                int bits)
{
    return lq::modelFrame(this, "getAttributedString:withAlignment:attr:", [&] {
        lq::StyledText result;
        ElementSink sink(*this, result, alignment);
        StoredTextTokenizer::Options options;
        options.firstLineOnly = _firstLine;
        options.initialBits = bits;
        StoredTextTokenizer::read(text, sink, options);
        return result;
    });
}

void XmlWebText::setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment alignment, const QString&)
{
    lq::modelFrame(this, "setUpParagraph:alignment:tag:", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        pstyle = lq::ParagraphStyle::defaultStyle();
        pstyle.tabStops = lq::standardTabStops();
        pstyle.paragraphSpacing = 0;
        pstyle.lineSpacing = record->lineSpacing();
        currentFont = normalFont;
        currentWebFont = record;
        paragraphType = 0;
        alignParagraph(attributes, alignment);
    });
}

void XmlWebText::alignParagraph(const QString& attributes, lq::TextAlignment alignment)
{
    readParagraphAttributes(attributes, alignment, pstyle);
}

void XmlWebText::appendTextWithAttributesInStringWithLinkNewWindow(const QString& raw, int bits, lq::StyledText& text,
                                                                   const QVariant& link, int newWindow)
{
    lq::modelFrame(this, "appendText:withAttributes:inString:withLink:newWindow:", [&] {
        const std::shared_ptr<XmlWebFont> record = currentWebFont ? currentWebFont : font();
        lq::TextAttributes attributes;
        attributes.paragraphStyle = pstyle;
        attributes.setValue(lq::TextKey::type, paragraphType);
        if (currentFont) {
            currentFont = currentFont->withBold((bits & InlineBits::bold) != 0)
                              .withItalic((bits & InlineBits::italic) != 0);
            attributes.font = currentFont;
        }
        if (bits & InlineBits::link) {
            const bool recordStyle = linksFollowRecordStyle();
            if (record)
                attributes.foregroundColour = recordStyle ? record->linkNormal() : record->fontColor();
            if (link.isValid()) {
                if (link.typeId() == QMetaType::QString) {
                    attributes.setValue(lq::TextKey::linkLocation, link.toString());
                } else if (DocumentBase* document = myDocument()) {
                    const int number = link.toInt();
                    for (const XmlBasePtr& item : document->webItems()) {
                        XmlAlbum* page = XmlAlbum::cast(item.get());
                        if (page && page->pageSeqNumber() == number) {
                            attributes.setValue(lq::TextKey::linkLocation, page->linkAddress());
                            break;
                        }
                    }
                }
                attributes.setValue(lq::TextKey::linkNewWindow, newWindow);
            }
            if (!recordStyle || (record && record->underlineLinks()))
                attributes.underlineStyle = 1;
        } else {
            if (record)
                attributes.foregroundColour = record->fontColor();
            if (bits & InlineBits::underline)
                attributes.underlineStyle = 1;
        }
        text.append(lq::unescape(raw), attributes);
    });
}

void XmlWebText::doLastAppendInString(bool flag, lq::StyledText& text)
{
    lq::modelFrame(this, "doLastAppend:inString:", [&] {
        if (flag)
            appendTextWithAttributesInStringWithLinkNewWindow(QStringLiteral("\n"), 0, text, QVariant(), 0);
    });
}

void XmlWebText::getLink(const QString& attributes)
{
    lq::modelFrame(this, "getLink:", [&] {
        const StoredLink link = readStoredLink(attributes);
        currentlink = link.target;
        currentNewWindow = link.newWindow;
    });
}

void XmlWebText::addLinkStart(quint32 position)
{
    _links.append(lq::Range { position, 0 }.toString());
}

void XmlWebText::addLinkEnd(quint32 position)
{
    if (_links.isEmpty())
        return;
    const lq::Range started = lq::Range::fromString(_links.last());
    const quint32 length = position > started.location ? position - started.location : 0;
    _links.last() = lq::Range { started.location, length }.toString();
}

// --- Inline tags -------------------------------------------------------------------------------

QString XmlWebText::attributeEscape(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return escaped;
}

int XmlWebText::getHTMLtags(const lq::TextAttributes& attributes)
{
    return lq::modelFrame(this, "getHTMLtags:", [&] {
        int bits = 0;
        if (attributes.font) {
            if (attributes.font->isItalic())
                bits |= InlineBits::italic;
            if (attributes.font->isBold())
                bits |= InlineBits::bold;
        }
        if (attributes.isUnderlined())
            bits |= InlineBits::underline;
        currentlink = attributes.value(lq::TextKey::linkLocation);
        currentNewWindow = attributes.value(lq::TextKey::linkNewWindow).toInt();
        if (currentlink.isValid()) {
            bits |= InlineBits::link;
            bits &= ~InlineBits::underline;
        }
        return bits;
    });
}

void XmlWebText::pushStack(int bit)
{
    if (stack.capacity() == 0)
        stack.reserve(10);
    stack.push_back(bit);
}

int XmlWebText::popStack()
{
    if (stack.empty())
        return 0;
    const int bit = stack.back();
    stack.pop_back();
    return bit;
}

// --- Positioned HTML ---------------------------------------------------------------------------

void XmlWebText::walkLinePieces(lq::LayoutManager* layoutManager,
                                const std::function<void(const lq::StyledText&, const QRectF&)>& write)
{
    if (!layoutManager || layoutManager->numberOfGlyphs() == 0)
        return;
    const std::shared_ptr<lq::StyledText>& storage = layoutManager->textStorage();
    if (!storage)
        return;
    lq::Range held;
    lq::TextContainer* container = layoutManager->textContainerForGlyphAtIndex(0, &held);
    if (!container)
        return;
    const QString& string = storage->string();
    const auto isTab = [&](quint32 i) { return string.at(qsizetype(i)) == QLatin1Char('\t'); };
    for (const lq::LineFragment& line : layoutManager->lineFragmentsForTextContainer(container)) {
        if (line.glyphRange.location >= held.end())
            break;
        const quint32 end = quint32(std::min<quint64>({ line.characterRange.end(), held.end(), storage->length() }));
        quint32 i = line.characterRange.location;
        while (i < end) {
            const QChar c = string.at(qsizetype(i));
            if (c == QLatin1Char('\t') || c == QLatin1Char(' ') || c == QLatin1Char('\n')) {
                ++i;
                continue;
            }
            quint32 j = i;
            while (j < end && !isTab(j))
                ++j;
            const lq::Range piece { i, j - i };
            write(storage->substring(piece), layoutManager->boundingRectForGlyphRange(piece, container));
            i = j;
        }
    }
}

void XmlWebText::appendHTMLFromLayoutManagerPrePostBounding(QString& html, lq::LayoutManager* layoutManager,
                                                            const QString& pre, const QString& post,
                                                            const lq::Rect& bounding)
{
    lq::modelFrame(this, "appendHTML:fromLayoutManager:pre:post:bounding:", [&] {
        walkLinePieces(layoutManager, [&](const lq::StyledText& piece, const QRectF& r) {
            const QRectF rect(bounding.x(), double(bounding.y()) + r.y(), bounding.width(), r.height());
            html += createHTMLfromAttributedStringInRectPrePost(piece, lq::Rect(rect), pre, post);
        });
    });
}

void XmlWebText::appendHTMLFromLayoutManagerPrePostOffset(QString& html, lq::LayoutManager* layoutManager,
                                                          const QString& pre, const QString& post,
                                                          const lq::Point& offset)
{
    lq::modelFrame(this, "appendHTML:fromLayoutManager:pre:post:offset:", [&] {
        // An id names one element of the page: a text of several lines
        // carries it on its first line only.
        static const QRegularExpression id(QStringLiteral(" id ?= ?\"[^\"]*\""));
        QString opening = pre;
        walkLinePieces(layoutManager, [&](const lq::StyledText& piece, const QRectF& r) {
            html += createHTMLfromAttributedStringAtXAtYPrePost(piece, lq::truncatedPixel(double(offset.x) + r.x()),
                                                                lq::truncatedPixel(double(offset.y) + r.y()), opening,
                                                                post);
            opening.remove(id);
        });
    });
}

void XmlWebText::appendHTMLFromLayoutManagerOffset(QString& html, lq::LayoutManager* layoutManager,
                                                   const lq::Point& offset)
{
    lq::modelFrame(this, "appendHTML:fromLayoutManager:offset:", [&] {
        walkLinePieces(layoutManager, [&](const lq::StyledText& piece, const QRectF& r) {
            const int x = lq::truncatedPixel(double(offset.x) + r.x());
            const int y = lq::truncatedPixel(double(offset.y) + r.y());
            const lq::TextAlignment alignment = firstParagraphStyle(piece).alignment;
            if (alignment == lq::TextAlignment::Right || alignment == lq::TextAlignment::Center) {
                const lq::Rect inner = internalRect();
                html += createHTMLfromAttributedStringAtXAtYWidth(piece, lq::truncatedPixel(inner.x()), y,
                                                                  lq::truncatedPixel(inner.width()));
            } else {
                html += createHTMLfromAttributedStringAtXAtYWidth(piece, x, y, lq::truncatedPixel(r.width()));
            }
        });
    });
}

QString XmlWebText::createHTMLfromAttributedStringInRectPrePost(const lq::StyledText& text, const lq::Rect& rect,
                                                                const QString& pre, const QString& post)
{
    return lq::modelFrame(this, "createHTMLfromAttributedString:inRect:pre:post:", [&]() -> QString {
        if (text.isEmpty())
            return QStringLiteral("");
        const lq::ParagraphStyle style = firstParagraphStyle(text);
        const char* align = style.alignment == lq::TextAlignment::Right    ? " text-align: right;"
                          : style.alignment == lq::TextAlignment::Center ? " text-align: center;"
                                                                          : "";
        QString html = pre + directionText(style);
        html += QString::asprintf(" style=\"top: %dpx; left:%dpx; width: %dpx;%s\">", lq::truncatedPixel(rect.y()),
                                  lq::truncatedPixel(rect.x()), lq::truncatedPixel(rect.width()), align);
        appendRunsOfString(html, text);
        html += post;
        return html;
    });
}

QString XmlWebText::createHTMLfromAttributedStringAtXAtYPrePost(const lq::StyledText& text, int x, int y,
                                                                const QString& pre, const QString& post)
{
    return lq::modelFrame(this, "createHTMLfromAttributedString:atX:atY:pre:post:", [&]() -> QString {
        if (text.isEmpty())
            return QStringLiteral("");
        QString html = pre + directionText(firstParagraphStyle(text));
        html += QString::asprintf(" style=\"top: %dpx; left: %dpx;\">", y, x);
        appendRunsOfString(html, text);
        html += post;
        return html;
    });
}

QString XmlWebText::createHTMLfromAttributedStringAtXAtYWidth(const lq::StyledText& text, int x, int y, int width)
{
    return lq::modelFrame(this, "createHTMLfromAttributedString:atX:atY:width:", [&]() -> QString {
        if (text.isEmpty())
            return QStringLiteral("");
        const lq::TextAttributes first = text.attributesAt(0);
        const lq::ParagraphStyle style = first.paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle());
        const int kind = first.value(lq::TextKey::type).toInt();
        const QLatin1String tag = paragraphTagForKind(kind);
        QString html = QStringLiteral("<") + tag + fontCheckId(kind) + directionText(style);
        if (style.alignment == lq::TextAlignment::Right)
            html += QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: right;\">", y, x, width);
        else if (style.alignment == lq::TextAlignment::Center)
            html += QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: center;\">", y, x, width);
        else
            html += QString::asprintf(" style=\"top: %dpx; left: %dpx;\">", y, x);
        appendRunsOfString(html, text);
        html += QStringLiteral("</") + QLatin1String(tag) + QStringLiteral(">");
        return html;
    });
}

QString XmlWebText::fontCheckId(int kind)
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    if (sheet && sheet->browserFlow())
        return QString();
    const char* id = nullptr;
    switch (kind) {
    case 0:
        id = "cp";
        break;
    case 1:
        id = "ch1";
        break;
    case 2:
        id = "ch2";
        break;
    case 3:
        id = "ch4";
        break;
    default:
        return QString();
    }
    // Without a template there is no bag: every block carries its id.
    if (sheet && sheet->addFontBag(QLatin1String(id)))
        return QString();
    return QStringLiteral(" id=\"") + QLatin1String(id) + QStringLiteral("\"");
}

void XmlWebText::appendRunsOfString(QString& html, const lq::StyledText& text)
{
    lq::modelFrame(this, "appendRunsOfString:", [&] {
        stack.clear();
        pushStack(0);
        int open = 0;
        QVariant openLink;
        int openNewWindow = 0;
        const std::vector<lq::AttributeRun> runs = text.runs();
        for (std::size_t index = 0; index < runs.size(); ++index) {
            const lq::AttributeRun& run = runs[index];
            const int bits = getHTMLtags(run.attributes);
            // Tags opened later close first, so a tag still wanted may close
            // here and open again below. A link to another target closes the
            // open one, so that each keeps its own target.
            int toClose = open & ~bits;
            if ((open & bits & InlineBits::link) && (currentlink != openLink || currentNewWindow != openNewWindow))
                toClose |= InlineBits::link;
            while (toClose != 0) {
                const int bit = popStack();
                if (bit == 0) {
                    pushStack(0);
                    break;
                }
                html += closingTagForInlineBit(bit);
                open &= ~bit;
                toClose &= ~bit;
            }
            const int toOpen = bits & ~open;
            openLink = currentlink;
            openNewWindow = currentNewWindow;
            if (toOpen & InlineBits::link) {
                if (currentlink.typeId() == QMetaType::QString) {
                    html += QStringLiteral("<a href=\"") + attributeEscape(currentlink.toString()) + QStringLiteral("\"")
                        + (currentNewWindow != 0 ? QStringLiteral(" target=\"_blank\"") : QString())
                        + QStringLiteral(">");
                }
                pushStack(InlineBits::link);
            }
            if (toOpen & InlineBits::bold) {
                html += QStringLiteral("<b>");
                pushStack(InlineBits::bold);
            }
            if (toOpen & InlineBits::italic) {
                html += QStringLiteral("<i>");
                pushStack(InlineBits::italic);
            }
            if (toOpen & InlineBits::underline) {
                html += QStringLiteral("<u>");
                pushStack(InlineBits::underline);
            }
            html += lq::escapeForDemo(text.string().mid(qsizetype(run.range.location), qsizetype(run.range.length)));
            if (index + 1 == runs.size()) {
                for (int bit = popStack(); bit != 0; bit = popStack())
                    html += closingTagForInlineBit(bit);
            }
            open = bits;
        }
    });
}
