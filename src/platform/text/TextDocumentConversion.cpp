#include "platform/text/TextDocumentConversion.h"

#include "platform/text/ParagraphStyleConversion.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

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

} // namespace

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
        TextAttributes terminator;
        if (blockFormat.hasProperty(TerminatorFormatProperty))
            terminator = attributesForCharFormat(blockFormat.property(TerminatorFormatProperty).value<QTextFormat>().toCharFormat());
        else if (last)
            terminator = *last;
        else
            terminator = attributesForCharFormat(block.charFormat());
        terminator.paragraphStyle = style;
        QString terminatorText = blockFormat.stringProperty(TerminatorTextProperty);
        if (terminatorText.isEmpty())
            terminatorText = QStringLiteral("\n");
        result.append(terminatorText, terminator);
    }
    return result;
}

} // namespace lq
