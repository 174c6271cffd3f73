#include "platform/text/LayoutManager.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>

using lq::LayoutManager;
using lq::LineFragment;
using lq::Range;
using lq::StyledText;
using lq::TextAttributes;
using lq::TextContainer;

namespace {

const QString longParagraph = QStringLiteral(
    "The quick brown fox jumps over the lazy dog while the five boxing wizards jump quickly and "
    "a wizard's job is to vex chumps quickly in fog, so pack my box with five dozen liquor jugs.");

TextAttributes attributes(qreal size = 14, lq::ParagraphStyle style = {})
{
    TextAttributes a;
    a.font = lq::Font::helvetica(size);
    a.foregroundColour = lq::Colour::black();
    style.tabStops = lq::standardTabStops();
    a.paragraphStyle = style;
    return a;
}

// A storage laid out into one container.
struct Layout {
    std::shared_ptr<StyledText> text;
    std::shared_ptr<TextContainer> container;
    LayoutManager manager;

    Layout(const StyledText& styled, std::shared_ptr<TextContainer> c = std::make_shared<TextContainer>())
        : text(std::make_shared<StyledText>(styled))
        , container(std::move(c))
    {
        container->setLineFragmentPadding(0);
        manager.setTextStorage(text);
        manager.addTextContainer(container);
    }
};

// Places every line at x 100, 200 wide, wherever it is proposed.
class BandContainer : public TextContainer {
public:
    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF* remaining) const override
    {
        if (remaining)
            *remaining = QRectF();
        return QRectF(100, proposed.y(), 200, proposed.height());
    }
};

// Keeps lines out of the band from y 30 to 80, as an element floating over
// the text would.
class ObstacleContainer : public TextContainer {
public:
    ObstacleContainer()
        : TextContainer(QSizeF(300, 1.0e6))
    {
    }
    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF* remaining) const override
    {
        if (remaining)
            *remaining = QRectF();
        qreal y = proposed.y();
        if (y < 80 && y + proposed.height() > 30)
            y = 80;
        return QRectF(0, y, containerSize().width(), proposed.height());
    }
};

QRectF unionOf(const std::vector<QRectF>& rects)
{
    QRectF result = rects.front();
    for (const QRectF& r : rects)
        result = result.united(r);
    return result;
}

bool isRed(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}

bool isDark(QRgb p)
{
    return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
}

int countPixels(const QImage& image, const QRectF& rect, bool (*test)(QRgb))
{
    int count = 0;
    const QRect area = rect.toAlignedRect().intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

} // namespace

TEST(TextLayout, TabsMoveTextToTheSharedTabStops)
{
    Layout layout(StyledText(QStringLiteral("Name\tValue"), attributes()));
    const QRectF name = layout.manager.boundingRectForGlyphRange({ 0, 4 }, layout.container.get());
    const QRectF value = layout.manager.boundingRectForGlyphRange({ 5, 5 }, layout.container.get());
    EXPECT_GT(value.x(), name.right());
    EXPECT_EQ(std::fmod(value.x(), 28.0), 0.0) << value.x();
    EXPECT_EQ(value.x(), 56) << "the first stop after \"Name\"";

    // With line fragment padding the stops are measured from the padded start.
    layout.container->setLineFragmentPadding(5);
    EXPECT_EQ(layout.manager.boundingRectForGlyphRange({ 5, 5 }, layout.container.get()).x(), 61);
    EXPECT_EQ(layout.manager.boundingRectForGlyphRange({ 0, 1 }, layout.container.get()).x(), 5);
    EXPECT_EQ(layout.manager.usedRectForTextContainer(layout.container.get()).x(), 0);
}

TEST(TextLayout, ASubclassPlacesEveryLineFragment)
{
    lq::ParagraphStyle spaced;
    spaced.lineSpacing = 4;
    Layout layout(StyledText(longParagraph, attributes(14, spaced)), std::make_shared<BandContainer>());
    const std::vector<LineFragment> lines = layout.manager.lineFragments();
    ASSERT_GE(lines.size(), 3u);

    const qreal lineHeight = lq::Font::helvetica(14).defaultLineHeight();
    quint32 next = 0;
    std::vector<QRectF> used;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineFragment& line = lines[i];
        EXPECT_EQ(line.rect.x(), 100) << i;
        EXPECT_EQ(line.rect.width(), 200) << i;
        EXPECT_EQ(line.rect.height(), lineHeight + 4) << i;
        EXPECT_EQ(line.rect.y(), i * (lineHeight + 4)) << i;
        EXPECT_EQ(line.textContainer, layout.container.get());
        // The lines take the text in order, without gaps.
        EXPECT_EQ(line.glyphRange.location, next) << i;
        EXPECT_EQ(line.characterRange, line.glyphRange);
        next = quint32(line.glyphRange.end());
        // Glyphs stay inside their line.
        EXPECT_GE(line.usedRect.left(), line.rect.left() - 0.01) << i;
        EXPECT_LE(line.usedRect.right(), line.rect.right() + 0.01) << i;
        EXPECT_EQ(line.usedRect.y(), line.rect.y());
        used.push_back(line.usedRect);
    }
    EXPECT_EQ(next, layout.text->length());
    EXPECT_EQ(layout.manager.usedRectForTextContainer(layout.container.get()), unionOf(used));
    EXPECT_EQ(layout.manager.glyphRangeForTextContainer(layout.container.get()), (Range { 0, layout.text->length() }));

    // Questions about a single glyph answer for its line.
    Range effective;
    EXPECT_EQ(layout.manager.lineFragmentRectForGlyphAtIndex(lines[1].glyphRange.location + 1, &effective), lines[1].rect);
    EXPECT_EQ(effective, lines[1].glyphRange);
    EXPECT_EQ(layout.manager.lineFragmentUsedRectForGlyphAtIndex(lines[2].glyphRange.location, nullptr), lines[2].usedRect);
}

TEST(TextLayout, LinesArePushedDownPastObstacles)
{
    Layout layout(StyledText(longParagraph + longParagraph, attributes()), std::make_shared<ObstacleContainer>());
    const std::vector<LineFragment> lines = layout.manager.lineFragments();
    ASSERT_GE(lines.size(), 4u);
    qreal previousBottom = 0;
    bool jumped = false;
    for (const LineFragment& line : lines) {
        EXPECT_FALSE(line.rect.bottom() > 30 && line.rect.top() < 80) << line.rect.y();
        EXPECT_GE(line.rect.top(), previousBottom);
        jumped = jumped || line.rect.top() == 80;
        previousBottom = line.rect.bottom();
    }
    EXPECT_TRUE(jumped);
}

TEST(TextLayout, ParagraphsLinesAndTheExtraLineFragment)
{
    Layout layout(StyledText(QStringLiteral("ab\ncd\n"), attributes()));
    const std::vector<LineFragment> lines = layout.manager.lineFragments();
    ASSERT_EQ(lines.size(), 2u);
    // A paragraph's last line holds its terminator.
    EXPECT_EQ(lines[0].characterRange, (Range { 0, 3 }));
    EXPECT_EQ(lines[1].characterRange, (Range { 3, 3 }));
    const qreal lineHeight = lq::Font::helvetica(14).defaultLineHeight();
    // The empty line after the final terminator counts in the used height.
    EXPECT_EQ(layout.manager.extraLineFragmentRect().y(), 2 * lineHeight);
    EXPECT_EQ(layout.manager.extraLineFragmentTextContainer(), layout.container.get());
    EXPECT_EQ(layout.manager.usedRectForTextContainer(layout.container.get()).height(), 3 * lineHeight);

    // An empty paragraph is one line as high as its terminator's font.
    TextAttributes big = attributes(30);
    StyledText withEmpty(QStringLiteral("a\n"), attributes());
    withEmpty.append(QStringLiteral("\n"), big);
    withEmpty.append(QStringLiteral("b"), attributes());
    Layout empty(withEmpty);
    const std::vector<LineFragment> emptyLines = empty.manager.lineFragments();
    ASSERT_EQ(emptyLines.size(), 3u);
    EXPECT_EQ(emptyLines[1].characterRange, (Range { 2, 1 }));
    EXPECT_EQ(emptyLines[1].rect.height(), lq::Font::helvetica(30).defaultLineHeight());
    EXPECT_EQ(empty.manager.extraLineFragmentRect(), QRectF());

    // No text, no lines.
    Layout nothing { StyledText() };
    EXPECT_TRUE(nothing.manager.lineFragments().empty());
    EXPECT_TRUE(nothing.manager.usedRectForTextContainer(nothing.container.get()).isNull());
    EXPECT_EQ(nothing.manager.glyphRangeForTextContainer(nothing.container.get()), (Range { 0, 0 }));
    EXPECT_TRUE(nothing.manager.boundingRectForGlyphRange({ 0, 0 }, nothing.container.get()).isNull());
}

TEST(TextLayout, TextFlowsIntoTheNextContainerWhenOneIsFull)
{
    const qreal lineHeight = lq::Font::helvetica(14).defaultLineHeight();
    auto first = std::make_shared<TextContainer>(QSizeF(200, 2 * lineHeight));
    auto second = std::make_shared<TextContainer>(QSizeF(200, 1.0e6));
    Layout layout(StyledText(longParagraph, attributes()), first);
    second->setLineFragmentPadding(0);
    layout.manager.addTextContainer(second);

    const std::vector<LineFragment> inFirst = layout.manager.lineFragmentsForTextContainer(first.get());
    const std::vector<LineFragment> inSecond = layout.manager.lineFragmentsForTextContainer(second.get());
    ASSERT_EQ(inFirst.size(), 2u);
    ASSERT_FALSE(inSecond.empty());
    EXPECT_EQ(inSecond.front().rect.y(), 0);
    const Range firstRange = layout.manager.glyphRangeForTextContainer(first.get());
    const Range secondRange = layout.manager.glyphRangeForTextContainer(second.get());
    EXPECT_EQ(firstRange.location, 0u);
    EXPECT_EQ(secondRange.location, firstRange.end());
    EXPECT_EQ(secondRange.end(), layout.text->length());
    Range effective;
    EXPECT_EQ(layout.manager.textContainerForGlyphAtIndex(quint32(secondRange.location), &effective), second.get());
    EXPECT_EQ(effective, secondRange);

    // Without the second container the rest of the text is not laid out.
    layout.manager.removeTextContainer(second.get());
    EXPECT_EQ(second->layoutManager(), nullptr);
    EXPECT_EQ(layout.manager.glyphRangeForTextContainer(first.get()), firstRange);
    EXPECT_EQ(layout.manager.textContainerForGlyphAtIndex(layout.text->length() - 1), nullptr);
    EXPECT_EQ(layout.manager.lineFragmentRectForGlyphAtIndex(layout.text->length() - 1), QRectF());
}

TEST(TextLayout, ChangesToTheStorageOrTheContainerAreLaidOutAgain)
{
    auto container = std::make_shared<TextContainer>(QSizeF(1000, 1.0e6));
    Layout layout(StyledText(longParagraph, attributes()), container);
    // The used rectangle, which the manager keeps once worked out, is always
    // the one a manager that never laid the text out before gives.
    const auto usedRectIsFresh = [&] {
        Layout fresh(*layout.text, std::make_shared<TextContainer>(container->containerSize()));
        EXPECT_EQ(layout.manager.usedRectForTextContainer(container.get()), fresh.manager.usedRectForTextContainer(fresh.container.get()));
    };
    usedRectIsFresh();
    const std::size_t wide = layout.manager.lineFragments().size();
    container->setContainerSize(QSizeF(150, 1.0e6));
    usedRectIsFresh();
    const std::size_t narrow = layout.manager.lineFragments().size();
    EXPECT_GT(narrow, wide);

    layout.text->append(QStringLiteral("\nMore"), attributes());
    usedRectIsFresh();
    EXPECT_EQ(layout.manager.lineFragments().size(), narrow + 1);
    EXPECT_EQ(layout.manager.lineFragments().back().characterRange.end(), layout.text->length());

    // New attributes over the same characters: the lines take the new font
    // (what was worked out for the old attributes is not used again), also
    // when the text is given another's contents in place.
    const qreal before = layout.manager.lineFragments().front().rect.height();
    layout.text->setAttributes(attributes(30), { 0, layout.text->length() });
    usedRectIsFresh();
    EXPECT_GT(layout.manager.lineFragments().front().rect.height(), before + 10);
    const StyledText small(layout.text->string(), attributes(14));
    *layout.text = small;
    EXPECT_DOUBLE_EQ(layout.manager.lineFragments().front().rect.height(), before);

    // A new storage replaces the old one.
    layout.manager.setTextStorage(std::make_shared<StyledText>(QStringLiteral("x"), attributes()));
    EXPECT_EQ(layout.manager.lineFragments().size(), 1u);
    EXPECT_EQ(layout.manager.numberOfGlyphs(), 1u);
}

TEST(TextLayout, AlignmentPlacesTheUsedRectangle)
{
    for (lq::TextAlignment alignment : { lq::TextAlignment::Left, lq::TextAlignment::Center, lq::TextAlignment::Right }) {
        lq::ParagraphStyle style;
        style.alignment = alignment;
        Layout layout(StyledText(QStringLiteral("abc"), attributes(14, style)),
            std::make_shared<TextContainer>(QSizeF(300, 1000)));
        const QRectF used = layout.manager.usedRectForTextContainer(layout.container.get());
        const QRectF glyphs = layout.manager.boundingRectForGlyphRange({ 0, 3 }, layout.container.get());
        EXPECT_GT(used.width(), 10);
        EXPECT_LT(used.width(), 100);
        EXPECT_NEAR(glyphs.x(), used.x(), 0.01);
        switch (alignment) {
        case lq::TextAlignment::Left:
            EXPECT_EQ(used.x(), 0);
            break;
        case lq::TextAlignment::Center:
            EXPECT_NEAR(used.center().x(), 150, 0.6);
            break;
        default:
            EXPECT_NEAR(used.right(), 300, 0.01);
            break;
        }
    }
}

TEST(TextLayout, GlyphsForRectanglesAndPoints)
{
    Layout layout(StyledText(QStringLiteral("one\ntwo\nthree"), attributes()));
    const std::vector<LineFragment> lines = layout.manager.lineFragments();
    ASSERT_EQ(lines.size(), 3u);
    TextContainer* container = layout.container.get();

    // Lines wholly below (or above) the rectangle are left out.
    EXPECT_EQ(layout.manager.glyphRangeForBoundingRect(QRectF(0, 0, 100, lines[0].rect.height()), container), (Range { 0, 4 }));
    EXPECT_EQ(layout.manager.glyphRangeForBoundingRect(QRectF(0, lines[1].rect.y() + 1, 100, 2), container), (Range { 4, 4 }));
    EXPECT_EQ(layout.manager.glyphRangeForBoundingRect(QRectF(0, 1000, 100, 10), container), (Range { 0, 0 }));

    // A range over two lines is bounded by both.
    const QRectF both = layout.manager.boundingRectForGlyphRange({ 2, 4 }, container);
    EXPECT_EQ(both.top(), lines[0].rect.top());
    EXPECT_EQ(both.bottom(), lines[1].rect.bottom());

    const QRectF w = layout.manager.boundingRectForGlyphRange({ 5, 1 }, container);
    qreal fraction = -1;
    EXPECT_EQ(layout.manager.glyphIndexForPoint(QPointF(w.x() + w.width() * 0.25, w.center().y()), container, &fraction), 5u);
    EXPECT_NEAR(fraction, 0.25, 0.05);
    EXPECT_EQ(layout.manager.glyphIndexForPoint(QPointF(1000, lines[2].rect.center().y()), container), 12u);
    EXPECT_EQ(layout.manager.glyphIndexForPoint(QPointF(0, 5000), container), 8u) << "below the text: the last line";
}

TEST(TextLayout, TemporaryForegroundColourIsDrawnWithoutChangingTheStorage)
{
    Layout layout(StyledText(QStringLiteral("XXXXXXXX"), attributes(40)));
    TextContainer* container = layout.container.get();
    const QPointF origin(10, 10);
    const QRectF first = layout.manager.boundingRectForGlyphRange({ 0, 4 }, container).translated(origin);
    const QRectF second = layout.manager.boundingRectForGlyphRange({ 4, 4 }, container).translated(origin);
    const StyledText before = *layout.text;
    const quint64 revision = layout.text->revision();

    auto draw = [&](Range range) {
        QImage image(400, 80, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        layout.manager.drawGlyphsForGlyphRange(range, origin, &painter);
        return image;
    };

    const QImage plain = draw({ 0, 8 });
    EXPECT_GT(countPixels(plain, first, isDark), 100);
    EXPECT_GT(countPixels(plain, second, isDark), 100);
    EXPECT_EQ(countPixels(plain, second, isRed), 0);

    layout.manager.addTemporaryForegroundColour(lq::Colour { 1, 0, 0, 1 }, { 4, 4 });
    Range effective;
    EXPECT_EQ(layout.manager.temporaryForegroundColourAtCharacterIndex(5, &effective), (lq::Colour { 1, 0, 0, 1 }));
    EXPECT_EQ(effective, (Range { 4, 4 }));
    const QImage red = draw({ 0, 8 });
    EXPECT_GT(countPixels(red, second, isRed), 100);
    EXPECT_EQ(countPixels(red, second, isDark), 0);
    EXPECT_GT(countPixels(red, first, isDark), 100);
    EXPECT_EQ(countPixels(red, first, isRed), 0);
    EXPECT_EQ(*layout.text, before);
    EXPECT_EQ(layout.text->revision(), revision);

    layout.manager.removeTemporaryForegroundColour({ 4, 4 });
    EXPECT_FALSE(layout.manager.temporaryForegroundColourAtCharacterIndex(5).has_value());
    const QImage restored = draw({ 0, 8 });
    EXPECT_EQ(countPixels(restored, second, isRed), 0);
    EXPECT_EQ(restored, plain);
}

TEST(TextLayout, TemporaryColoursCanBeTakenOffInParts)
{
    Layout layout(StyledText(QStringLiteral("0123456789"), attributes()));
    const lq::Colour blue { 0, 0, 1, 1 };
    layout.manager.addTemporaryForegroundColour(blue, { 2, 6 });
    layout.manager.removeTemporaryForegroundColour({ 4, 2 });
    struct Case {
        quint32 index;
        bool coloured;
        Range range;
    };
    const Case cases[] = {
        { 1, false, {} }, { 2, true, { 2, 2 } }, { 3, true, { 2, 2 } }, { 4, false, {} },
        { 5, false, {} }, { 6, true, { 6, 2 } }, { 7, true, { 6, 2 } }, { 8, false, {} },
    };
    for (const Case& c : cases) {
        Range effective;
        const std::optional<lq::Colour> colour = layout.manager.temporaryForegroundColourAtCharacterIndex(c.index, &effective);
        EXPECT_EQ(colour.has_value(), c.coloured) << c.index;
        EXPECT_EQ(effective, c.range) << c.index;
    }
}

TEST(TextLayout, DrawingARangeDrawsOnlyItsGlyphs)
{
    Layout layout(StyledText(QStringLiteral("XXXX\nXXXX"), attributes(40)));
    TextContainer* container = layout.container.get();
    const QPointF origin(5, 5);
    QImage image(300, 120, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.manager.drawGlyphsForGlyphRange({ 1, 2 }, origin, &painter);
    painter.end();

    const QRectF drawn = layout.manager.boundingRectForGlyphRange({ 1, 2 }, container).translated(origin);
    EXPECT_GT(countPixels(image, drawn, isDark), 100);
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            outside += (!drawn.contains(QPointF(x + 0.5, y + 0.5)) && isDark(image.pixel(x, y))) ? 1 : 0;
    EXPECT_EQ(outside, 0);
}

namespace {
class BrokenContainer : public TextContainer {
public:
    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF*) const override
    {
        return QRectF(0, proposed.y() - 10, std::nan(""), proposed.height());
    }
};
} // namespace

TEST(TextLayout, AColourChangedAfterALayoutIsDrawn)
{
    // The same font in another colour is another format: what an earlier
    // layout worked out for the black text is not drawn again.
    Layout layout(StyledText(QStringLiteral("Red letters here"), attributes(20)));
    const auto draw = [&] {
        QImage image(300, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        layout.manager.drawGlyphsForGlyphRange({ 0, layout.text->length() }, QPointF(), &painter);
        return image;
    };
    EXPECT_EQ(countPixels(draw(), QRectF(0, 0, 300, 40), isRed), 0);
    TextAttributes red = attributes(20);
    red.foregroundColour = lq::Colour { 1, 0, 0, 1 };
    layout.text->setAttributes(red, { 0, 3 });
    const QImage image = draw();
    EXPECT_GT(countPixels(image, QRectF(0, 0, 300, 40), isRed), 20);
    EXPECT_GT(countPixels(image, QRectF(0, 0, 300, 40), isDark), 20);
}

TEST(TextLayout, DegenerateContainersEndTheLayout)
{
    // No width: every character still gets a line of its own.
    Layout narrow(StyledText(QStringLiteral("abc def"), attributes()), std::make_shared<TextContainer>(QSizeF(0, 1.0e6)));
    const std::vector<LineFragment> lines = narrow.manager.lineFragments();
    EXPECT_GE(lines.size(), 4u);
    EXPECT_EQ(narrow.manager.glyphRangeForTextContainer(narrow.container.get()), (Range { 0, 7 }));

    // Too low for one line: nothing is laid out.
    Layout low(StyledText(QStringLiteral("abc"), attributes()), std::make_shared<TextContainer>(QSizeF(100, 5)));
    EXPECT_TRUE(low.manager.lineFragments().empty());
    EXPECT_EQ(low.manager.glyphRangeForTextContainer(low.container.get()), (Range { 0, 0 }));

    // Answers that move lines up or are not numbers fill the container at once.
    Layout broken(StyledText(QStringLiteral("abc"), attributes()), std::make_shared<BrokenContainer>());
    EXPECT_TRUE(broken.manager.lineFragments().empty());
    QImage image(50, 50, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    broken.manager.drawGlyphsForGlyphRange({ 0, 3 }, QPointF(0, 0), &painter);
    painter.end();
    EXPECT_EQ(countPixels(image, image.rect(), isDark), 0);
}

TEST(TextLayout, LinesBreakAndSitAsABareQtLayoutOfTheSameRuns)
{
    // Paragraphs of mixed runs (sizes, bold, underlined), one of them empty,
    // flowing past an obstacle; laid out twice, the second time from what
    // the first worked out. Each line must match a bare QTextLayout given
    // the same text, font, formats, option, width and position.
    StyledText text;
    TextAttributes big = attributes(22);
    TextAttributes bold = attributes(14);
    bold.font = bold.font->withBold(true);
    TextAttributes link = attributes(11);
    link.underlineStyle = 1;
    const std::vector<const TextAttributes*> kinds = { &big, &bold, &link };
    for (int p = 0; p < 4; ++p) {
        if (p == 2) {
            text.append(QStringLiteral("\n"), bold);
            continue;
        }
        for (int w = 0; w < 30; ++w)
            text.append(longParagraph.section(u' ', w % 20, w % 20) + QStringLiteral(" "), *kinds[size_t(w + p) % kinds.size()]);
        text.append(QStringLiteral("\n"), big);
    }
    Layout layout(text, std::make_shared<ObstacleContainer>());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        layout.manager.invalidateLayout();
        const std::vector<LineFragment> lines = layout.manager.lineFragments();
        ASSERT_GT(lines.size(), 8u);
        std::size_t index = 0;
        quint32 start = 0;
        const QString& string = layout.text->string();
        while (start < layout.text->length()) {
            const quint32 end = quint32(string.indexOf(u'\n', start));
            const TextAttributes first = layout.text->attributesAt(start);
            QTextLayout bare(string.mid(start, end - start), first.font->toQFont());
            QList<QTextLayout::FormatRange> formats;
            if (end > start) {
                for (const lq::AttributeRun& run : layout.text->runs({ start, end - start }))
                    formats.append({ int(run.range.location - start), int(run.range.length), LayoutManager::characterFormat(run.attributes) });
            }
            bare.setFormats(formats);
            bare.setTextOption(LayoutManager::paragraphOption(*first.paragraphStyle));
            bare.beginLayout();
            for (; index < lines.size() && lines[index].glyphRange.location <= end; ++index) {
                const LineFragment& fragment = lines[index];
                QTextLine line = bare.createLine();
                ASSERT_TRUE(line.isValid());
                line.setLineWidth(fragment.rect.width());
                line.setPosition(QPointF(fragment.rect.x(), fragment.rect.y() + fragment.baselineOffset - line.ascent()));
                EXPECT_EQ(start + quint32(line.textStart()), fragment.glyphRange.location);
                EXPECT_EQ(line.naturalTextWidth(), fragment.usedRect.width());
                // Every character of the line stands where the bare layout puts it.
                const quint32 lineEnd = start + quint32(line.textStart() + line.textLength());
                for (quint32 c = fragment.glyphRange.location; c < lineEnd; ++c) {
                    const QRectF box = layout.manager.boundingRectForGlyphRange({ c, 1 }, layout.container.get());
                    const qreal a = line.cursorToX(int(c - start));
                    const qreal b = line.cursorToX(int(c - start) + 1);
                    ASSERT_DOUBLE_EQ(box.left(), std::min(a, b)) << "character " << c;
                    ASSERT_DOUBLE_EQ(box.top(), fragment.rect.y()) << "character " << c;
                }
            }
            EXPECT_FALSE(bare.createLine().isValid()) << "the bare layout has more lines for the paragraph at " << start;
            bare.endLayout();
            start = end + 1;
        }
        EXPECT_EQ(index, lines.size());
    }
}
