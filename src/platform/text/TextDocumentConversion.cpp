#include "platform/text/TextDocumentConversion.h"

#include "platform/text/ParagraphStyleConversion.h"

#include "platform/Exception.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <functional>
#include <vector>

namespace lq {

namespace {

// Our own properties, beside Qt's: the exact values that Qt's own
// properties would round, and what Qt has no property for.
enum Property : int {
    FaceProperty = QTextFormat::UserProperty + 0x4c00,
    PixelSizeProperty,
    ColourProperty,
    UnderlineStyleProperty,
    CustomProperty,
    ParagraphStyleProperty,
    TerminatorFormatProperty,
    TerminatorTextProperty,
};

QVariantList colourList(const Colour& colour)
{
    return { double(colour.r), double(colour.g), double(colour.b), double(colour.a) };
}

std::optional<Colour> colourFromList(const QVariant& value)
{
    const QVariantList list = value.toList();
    if (list.size() != 4)
        return std::nullopt;
    return Colour { float(list[0].toDouble()), float(list[1].toDouble()), float(list[2].toDouble()), float(list[3].toDouble()) };
}

bool hasFontProperties(const QTextCharFormat& format)
{
    return format.hasProperty(FaceProperty) || format.hasProperty(QTextFormat::FontFamilies)
        || format.hasProperty(QTextFormat::FontPixelSize) || format.hasProperty(QTextFormat::FontPointSize);
}

// The length in the styled text of the terminator that ends a block: 0 for
// the last block, which has none.
int terminatorLength(const QTextBlock& block)
{
    if (!block.next().isValid())
        return 0;
    const QString text = block.blockFormat().stringProperty(TerminatorTextProperty);
    return text.isEmpty() ? 1 : int(text.size());
}

// The attributes of a block's terminator: those stored with the block, else
// those of its last fragment (`last`), else those of the empty block.
TextAttributes terminatorAttributes(const QTextBlock& block, const std::optional<TextAttributes>& last)
{
    const QTextBlockFormat blockFormat = block.blockFormat();
    if (blockFormat.hasProperty(TerminatorFormatProperty))
        return attributesForCharFormat(blockFormat.property(TerminatorFormatProperty).value<QTextFormat>().toCharFormat());
    if (last)
        return *last;
    return attributesForCharFormat(block.charFormat());
}

void clearParagraphStyle(QTextBlockFormat& format)
{
    for (int property : { int(ParagraphStyleProperty), int(QTextFormat::BlockAlignment), int(QTextFormat::LayoutDirection),
             int(QTextFormat::TabPositions), int(QTextFormat::LineHeight), int(QTextFormat::LineHeightType),
             int(QTextFormat::BlockBottomMargin) })
        format.clearProperty(property);
}

void changeDocumentAttributes(QTextDocument* document, Range range, const char* operation,
    const std::function<void(TextAttributes&)>& change)
{
    const quint32 length = documentStyledLength(document);
    if (range.end() > length)
        raise(QStringLiteral("NSRangeException"),
            QStringLiteral("%1: range {%2, %3} out of bounds; string length %4")
                .arg(QLatin1String(operation), QString::number(range.location), QString::number(range.length),
                    QString::number(length)));
    if (range.length == 0)
        return;

    // Every change is worked out first and made afterwards: new formats
    // split and join the fragments being walked.
    struct CharChange {
        int from = 0;
        int to = 0;
        QTextCharFormat format;
    };
    struct BlockChange {
        int position = 0;
        QTextBlockFormat format;
        std::optional<QTextCharFormat> emptyBlockFormat;
    };
    std::vector<CharChange> charChanges;
    std::vector<BlockChange> blockChanges;

    qint64 extra = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const qint64 start = block.position() + extra;
        if (start >= qint64(range.end()))
            break;
        const int textLength = block.length() - 1;
        const int terminator = terminatorLength(block);
        extra += terminator > 0 ? terminator - 1 : 0;
        if (Range { quint32(start), quint32(textLength + terminator) }.intersection(range).length == 0)
            continue;

        const std::optional<ParagraphStyle> style = paragraphStyleForBlockFormat(block.blockFormat());
        std::optional<TextAttributes> last;
        bool textChanged = false;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            TextAttributes attributes = attributesForCharFormat(fragment.charFormat());
            attributes.paragraphStyle = style;
            last = attributes;
            const Range part = Range { quint32(start + fragment.position() - block.position()), quint32(fragment.length()) }.intersection(range);
            if (part.length == 0)
                continue;
            change(attributes);
            const int from = block.position() + int(part.location - start);
            charChanges.push_back({ from, from + int(part.length), charFormatForAttributes(attributes) });
            textChanged = true;
        }

        BlockChange blockChange { block.position(), block.blockFormat(), std::nullopt };
        bool blockChanged = false;
        if (terminator > 0) {
            const bool inRange = Range { quint32(start + textLength), quint32(terminator) }.intersection(range).length > 0;
            const bool stored = blockChange.format.hasProperty(TerminatorFormatProperty);
            // A terminator without attributes of its own takes those of the
            // text before it: keep them when only that text changes.
            if (inRange || (textChanged && !stored)) {
                TextAttributes attributes = terminatorAttributes(block, last);
                attributes.paragraphStyle = style;
                if (inRange)
                    change(attributes);
                const QTextCharFormat format = charFormatForAttributes(attributes);
                blockChange.format.setProperty(TerminatorFormatProperty, QVariant::fromValue<QTextFormat>(format));
                if (textLength == 0)
                    blockChange.emptyBlockFormat = format;
                blockChanged = true;
            }
        }
        TextAttributes paragraph;
        paragraph.paragraphStyle = style;
        change(paragraph);
        if (paragraph.paragraphStyle != style) {
            clearParagraphStyle(blockChange.format);
            if (paragraph.paragraphStyle)
                blockChange.format.merge(blockFormatForParagraphStyle(*paragraph.paragraphStyle));
            blockChanged = true;
        }
        if (blockChanged)
            blockChanges.push_back(std::move(blockChange));
    }

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const CharChange& c : charChanges) {
        cursor.setPosition(c.from);
        cursor.setPosition(c.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(c.format);
    }
    for (const BlockChange& c : blockChanges) {
        cursor.setPosition(c.position);
        cursor.setBlockFormat(c.format);
        if (c.emptyBlockFormat)
            cursor.setBlockCharFormat(*c.emptyBlockFormat);
    }
    cursor.endEditBlock();
}

} // namespace

int documentPositionForIndex(const QTextDocument* document, quint32 index)
{
    qint64 extra = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const qint64 start = block.position() + extra;
        const int textLength = block.length() - 1;
        const int terminator = terminatorLength(block);
        if (qint64(index) < start + textLength + terminator)
            return block.position() + int(std::min<qint64>(qint64(index) - start, textLength));
        extra += terminator > 0 ? terminator - 1 : 0;
    }
    return document->characterCount() - 1;
}

quint32 indexForDocumentPosition(const QTextDocument* document, int position)
{
    position = std::clamp(position, 0, document->characterCount() - 1);
    qint64 extra = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (position < block.position() + block.length())
            return quint32(position + extra);
        const int terminator = terminatorLength(block);
        extra += terminator > 0 ? terminator - 1 : 0;
    }
    return quint32(position + extra);
}

quint32 documentStyledLength(const QTextDocument* document)
{
    return indexForDocumentPosition(document, document->characterCount() - 1);
}

void addDocumentAttributes(QTextDocument* document, const TextAttributes& attributes, Range range)
{
    changeDocumentAttributes(document, range, "addAttributes", [&](TextAttributes& run) { run.merge(attributes); });
}

void removeDocumentAttribute(QTextDocument* document, QStringView key, Range range)
{
    changeDocumentAttributes(document, range, "removeAttribute", [&](TextAttributes& run) { run.remove(key); });
}

QTextCharFormat charFormatForAttributes(const TextAttributes& attributes)
{
    QTextCharFormat format;
    if (attributes.font) {
        format.setFont(attributes.font->toQFont(), QTextCharFormat::FontPropertiesAll);
        format.setProperty(FaceProperty, attributes.font->face());
        format.setProperty(PixelSizeProperty, attributes.font->pixelSize());
    }
    if (attributes.foregroundColour) {
        format.setForeground(attributes.foregroundColour->toQColor());
        format.setProperty(ColourProperty, colourList(*attributes.foregroundColour));
    }
    if (attributes.underlineStyle) {
        format.setFontUnderline(*attributes.underlineStyle != 0);
        format.setProperty(UnderlineStyleProperty, *attributes.underlineStyle);
    }
    if (!attributes.custom.isEmpty())
        format.setProperty(CustomProperty, QVariantMap(attributes.custom));
    return format;
}

TextAttributes attributesForCharFormat(const QTextCharFormat& format)
{
    TextAttributes attributes;
    if (hasFontProperties(format)) {
        const QFont qfont = format.font();
        Font font = Font::fromQFont(qfont);
        const QString storedFace = format.stringProperty(FaceProperty);
        const QStringList families = qfont.families();
        const QString family = families.isEmpty() ? qfont.family() : families.constFirst();
        if (!storedFace.isEmpty() && Font::substituteFamily(storedFace) == family)
            font = Font(storedFace, font.pixelSize()).withBold(font.isBold()).withItalic(font.isItalic());
        if (format.hasProperty(PixelSizeProperty)) {
            const qreal stored = format.doubleProperty(PixelSizeProperty);
            if (qfont.pixelSize() <= 0 || std::lround(stored) == qfont.pixelSize())
                font = font.withPixelSize(stored);
        }
        attributes.font = font;
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        const QColor colour = format.foreground().color();
        const std::optional<Colour> stored = colourFromList(format.property(ColourProperty));
        attributes.foregroundColour = (stored && stored->toQColor() == colour) ? *stored : Colour::fromQColor(colour);
    }
    const bool underlined = format.fontUnderline();
    if (format.hasProperty(UnderlineStyleProperty)) {
        const int stored = format.intProperty(UnderlineStyleProperty);
        attributes.underlineStyle = ((stored != 0) == underlined) ? stored : (underlined ? 1 : 0);
    } else if (underlined) {
        attributes.underlineStyle = 1;
    }
    if (format.hasProperty(CustomProperty))
        attributes.custom = format.property(CustomProperty).toMap();
    return attributes;
}

QTextBlockFormat blockFormatForParagraphStyle(const ParagraphStyle& style)
{
    QTextBlockFormat format;
    format.setProperty(ParagraphStyleProperty, true);
    format.setAlignment(qtAlignment(style.alignment));
    format.setLayoutDirection(qtDirection(style.baseWritingDirection));
    format.setTabPositions(qtTabs(style.tabStops));
    format.setLineHeight(style.lineSpacing, QTextBlockFormat::LineDistanceHeight);
    format.setBottomMargin(style.paragraphSpacing);
    return format;
}

std::optional<ParagraphStyle> paragraphStyleForBlockFormat(const QTextBlockFormat& format)
{
    if (!format.hasProperty(ParagraphStyleProperty) && !format.hasProperty(QTextFormat::BlockAlignment)
        && !format.hasProperty(QTextFormat::TabPositions) && !format.hasProperty(QTextFormat::LineHeight))
        return std::nullopt;
    ParagraphStyle style;
    const Qt::Alignment alignment = format.alignment();
    if (alignment & Qt::AlignJustify)
        style.alignment = TextAlignment::Justified;
    else if (alignment & Qt::AlignHCenter)
        style.alignment = TextAlignment::Center;
    else if (alignment & Qt::AlignRight)
        style.alignment = TextAlignment::Right;
    else if ((alignment & Qt::AlignLeft) && (alignment & Qt::AlignAbsolute))
        style.alignment = TextAlignment::Left;
    else
        style.alignment = TextAlignment::Natural;
    switch (format.layoutDirection()) {
    case Qt::LeftToRight:
        style.baseWritingDirection = WritingDirection::LeftToRight;
        break;
    case Qt::RightToLeft:
        style.baseWritingDirection = WritingDirection::RightToLeft;
        break;
    default:
        style.baseWritingDirection = WritingDirection::Natural;
        break;
    }
    if (format.hasProperty(QTextFormat::TabPositions)) {
        style.tabStops.clear();
        for (const QTextOption::Tab& tab : format.tabPositions()) {
            TabStop stop;
            stop.location = tab.position;
            switch (tab.type) {
            case QTextOption::RightTab:
                stop.type = TabStop::Type::Right;
                break;
            case QTextOption::CenterTab:
                stop.type = TabStop::Type::Center;
                break;
            case QTextOption::DelimiterTab:
                stop.type = TabStop::Type::Decimal;
                break;
            default:
                stop.type = TabStop::Type::Left;
                break;
            }
            style.tabStops.append(stop);
        }
    }
    style.lineSpacing = format.lineHeightType() == QTextBlockFormat::LineDistanceHeight ? format.lineHeight() : 0;
    style.paragraphSpacing = format.bottomMargin();
    return style;
}

void setDocumentStyledText(QTextDocument* document, const StyledText& text)
{
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    const QString& string = text.string();
    const quint32 length = text.length();

    auto blockFormatFor = [](const TextAttributes& attributes) {
        return attributes.paragraphStyle ? blockFormatForParagraphStyle(*attributes.paragraphStyle) : QTextBlockFormat();
    };

    quint32 position = 0;
    bool firstBlock = true;
    while (position < length) {
        quint32 textEnd = position;
        while (textEnd < length && !isParagraphTerminator(string.at(textEnd)))
            ++textEnd;
        const quint32 terminatorLength = quint32(paragraphTerminatorLength(string, textEnd));

        const TextAttributes first = text.attributesAt(position);
        QTextBlockFormat blockFormat = blockFormatFor(first);
        TextAttributes terminator;
        if (terminatorLength > 0) {
            terminator = text.attributesAt(textEnd);
            blockFormat.setProperty(TerminatorFormatProperty, QVariant::fromValue<QTextFormat>(charFormatForAttributes(terminator)));
            blockFormat.setProperty(TerminatorTextProperty, string.mid(qsizetype(textEnd), qsizetype(terminatorLength)));
        }
        if (firstBlock) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormatForAttributes(first));
            firstBlock = false;
        } else {
            cursor.mergeBlockFormat(blockFormat);
        }
        if (textEnd > position) {
            text.forEachRun({ position, textEnd - position }, [&](Range run, const TextAttributes& attributes) {
                cursor.insertText(string.mid(qsizetype(run.location), qsizetype(run.length)), charFormatForAttributes(attributes));
            });
        }
        position = textEnd + terminatorLength;
        if (terminatorLength > 0) {
            // The next block starts with the attributes of its first character,
            // or, when it is empty, of the terminator before it.
            const TextAttributes next = position < length ? text.attributesAt(position) : terminator;
            cursor.insertBlock(blockFormatFor(next), charFormatForAttributes(next));
        }
    }
    cursor.endEditBlock();
}

StyledText documentStyledText(const QTextDocument* document)
{
    StyledText result;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat blockFormat = block.blockFormat();
        const std::optional<ParagraphStyle> style = paragraphStyleForBlockFormat(blockFormat);
        std::optional<TextAttributes> last;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            TextAttributes attributes = attributesForCharFormat(fragment.charFormat());
            attributes.paragraphStyle = style;
            result.append(fragment.text(), attributes);
            last = attributes;
        }
        if (!block.next().isValid())
            break;
        TextAttributes terminator = terminatorAttributes(block, last);
        terminator.paragraphStyle = style;
        QString terminatorText = blockFormat.stringProperty(TerminatorTextProperty);
        if (terminatorText.isEmpty())
            terminatorText = QStringLiteral("\n");
        result.append(terminatorText, terminator);
    }
    return result;
}

} // namespace lq
