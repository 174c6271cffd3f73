// LayoutManager's answers about the laid-out text: glyph and character
// ranges, line fragments and rectangles, hit tests, drawing, and the
// temporary colours drawn over the text.
#include "platform/text/LayoutManagerPrivate.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lq {

namespace {


QRectF unite(const QRectF& a, const QRectF& b)
{
    const qreal left = std::min(a.left(), b.left());
    const qreal top = std::min(a.top(), b.top());
    const qreal right = std::max(a.right(), b.right());
    const qreal bottom = std::max(a.bottom(), b.bottom());
    return QRectF(left, top, right - left, bottom - top);
}

} // namespace

quint32 LayoutManager::numberOfGlyphs() const
{
    return d->storage ? d->storage->length() : 0;
}

Range LayoutManager::glyphRangeForCharacterRange(Range characterRange, Range* actualCharacterRange) const
{
    const Range all { 0, numberOfGlyphs() };
    Range result = characterRange.intersection(all);
    if (characterRange.length == 0 && characterRange.location <= all.length)
        result = { characterRange.location, 0 };
    if (actualCharacterRange)
        *actualCharacterRange = result;
    return result;
}

Range LayoutManager::characterRangeForGlyphRange(Range glyphRange, Range* actualGlyphRange) const
{
    return glyphRangeForCharacterRange(glyphRange, actualGlyphRange);
}

Range LayoutManager::glyphRangeForTextContainer(TextContainer* container)
{
    ensureLayout();
    quint32 start = 0;
    quint32 end = 0;
    bool found = false;
    for (const Private::Line& line : d->lines) {
        if (line.fragment.textContainer == container) {
            if (!found)
                start = line.fragment.glyphRange.location;
            found = true;
            end = quint32(line.fragment.glyphRange.end());
        } else if (found) {
            break;
        } else {
            start = quint32(line.fragment.glyphRange.end());
        }
    }
    return found ? Range { start, end - start } : Range { start, 0 };
}

TextContainer* LayoutManager::textContainerForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange)
{
    ensureLayout();
    const Private::Line* line = d->lineForGlyph(glyphIndex);
    if (!line) {
        if (effectiveGlyphRange)
            *effectiveGlyphRange = {};
        return nullptr;
    }
    if (effectiveGlyphRange)
        *effectiveGlyphRange = glyphRangeForTextContainer(line->fragment.textContainer);
    return line->fragment.textContainer;
}

std::vector<LineFragment> LayoutManager::lineFragments()
{
    ensureLayout();
    std::vector<LineFragment> result;
    result.reserve(d->lines.size());
    for (const Private::Line& line : d->lines)
        result.push_back(line.fragment);
    return result;
}

std::vector<LineFragment> LayoutManager::lineFragmentsForTextContainer(TextContainer* container)
{
    ensureLayout();
    std::vector<LineFragment> result;
    for (const Private::Line& line : d->linesIn(container))
        result.push_back(line.fragment);
    return result;
}

QRectF LayoutManager::lineFragmentRectForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange)
{
    ensureLayout();
    const Private::Line* line = d->lineForGlyph(glyphIndex);
    if (effectiveGlyphRange)
        *effectiveGlyphRange = line ? line->fragment.glyphRange : Range {};
    return line ? line->fragment.rect : QRectF();
}

QRectF LayoutManager::lineFragmentUsedRectForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange)
{
    ensureLayout();
    const Private::Line* line = d->lineForGlyph(glyphIndex);
    if (effectiveGlyphRange)
        *effectiveGlyphRange = line ? line->fragment.glyphRange : Range {};
    return line ? line->fragment.usedRect : QRectF();
}

QRectF LayoutManager::boundingRectForGlyphRange(Range glyphRange, TextContainer* container)
{
    ensureLayout();
    QRectF result;
    bool found = false;
    for (const Private::Line& line : d->linesIn(container)) {
        const Range part = line.fragment.glyphRange.intersection(glyphRange);
        if (part.length == 0)
            continue;
        const auto [left, right] = d->span(line, part);
        const QRectF rect(left, line.fragment.rect.y(), right - left, line.fragment.usedRect.height());
        result = found ? unite(result, rect) : rect;
        found = true;
    }
    return result;
}

Range LayoutManager::glyphRangeForBoundingRect(const QRectF& rect, TextContainer* container)
{
    ensureLayout();
    quint32 start = 0;
    quint32 end = 0;
    bool found = false;
    for (const Private::Line& line : d->linesIn(container)) {
        const QRectF& fragment = line.fragment.rect;
        if (fragment.bottom() <= rect.top() || fragment.top() >= rect.bottom())
            continue;
        if (!found)
            start = line.fragment.glyphRange.location;
        found = true;
        end = quint32(line.fragment.glyphRange.end());
    }
    return found ? Range { start, end - start } : Range {};
}

QRectF LayoutManager::usedRectForTextContainer(TextContainer* container)
{
    ensureLayout();
    if (container && d->usedRectContainer == container)
        return d->usedRect;
    QRectF result;
    bool found = false;
    for (const Private::Line& line : d->linesIn(container)) {
        result = found ? unite(result, line.fragment.usedRect) : line.fragment.usedRect;
        found = true;
    }
    if (d->hasExtraLine && d->extraLine.textContainer == container)
        result = found ? unite(result, d->extraLine.usedRect) : d->extraLine.usedRect;
    d->usedRectContainer = container;
    d->usedRect = result;
    return result;
}

QRectF LayoutManager::extraLineFragmentRect()
{
    ensureLayout();
    return d->hasExtraLine ? d->extraLine.rect : QRectF();
}

QRectF LayoutManager::extraLineFragmentUsedRect()
{
    ensureLayout();
    return d->hasExtraLine ? d->extraLine.usedRect : QRectF();
}

TextContainer* LayoutManager::extraLineFragmentTextContainer()
{
    ensureLayout();
    return d->hasExtraLine ? d->extraLine.textContainer : nullptr;
}

quint32 LayoutManager::glyphIndexForPoint(QPointF point, TextContainer* container, qreal* fraction)
{
    ensureLayout();
    if (fraction)
        *fraction = 0;
    const Private::Line* chosen = nullptr;
    for (const Private::Line& line : d->linesIn(container)) {
        chosen = &line;
        if (point.y() < line.fragment.rect.bottom())
            break;
    }
    if (!chosen)
        return 0;
    const Private::Line& line = *chosen;
    if (line.textRange.length == 0)
        return line.fragment.glyphRange.location;
    const Private::Paragraph& paragraph = d->paragraphs[line.paragraph];
    const QTextLine text = d->qtLine(line);
    int cursor = text.xToCursor(point.x(), QTextLine::CursorOnCharacter);
    const int first = int(line.textRange.location - paragraph.start);
    const int last = int(line.textRange.end() - paragraph.start) - 1;
    cursor = std::clamp(cursor, first, last);
    if (fraction) {
        const qreal a = text.cursorToX(cursor);
        const qreal b = text.cursorToX(cursor + 1);
        if (b != a)
            *fraction = std::clamp((point.x() - std::min(a, b)) / std::abs(b - a), 0.0, 1.0);
    }
    return paragraph.start + quint32(cursor);
}

void LayoutManager::drawGlyphsForGlyphRange(Range glyphRange, QPointF origin, QPainter* painter)
{
    ensureLayout();
    if (!painter || glyphRange.length == 0)
        return;
    for (const Private::Line& line : d->lines) {
        if (line.fragment.glyphRange.location >= glyphRange.end())
            break;
        const Range part = line.fragment.glyphRange.intersection(glyphRange);
        if (part.length == 0)
            continue;
        const Private::Paragraph& paragraph = d->paragraphs[line.paragraph];
        const QTextLine text = d->qtLine(line);
        const QRectF& rect = line.fragment.rect;
        // The line's own band, wide enough for glyphs that overhang it.
        QRectF band(origin.x() + rect.x() - rect.height(), origin.y() + rect.y(), rect.width() + 2 * rect.height(), rect.height());

        painter->save();
        const Range textPart = part.intersection(line.textRange);
        if (textPart.length < line.textRange.length) {
            if (textPart.length == 0) {
                painter->restore();
                continue;
            }
            const auto [left, right] = d->span(line, textPart);
            band.setLeft(origin.x() + left);
            band.setRight(origin.x() + right);
        }
        const QList<QTextLayout::FormatRange> selections = d->temporarySelections(paragraph);
        painter->setClipRect(band, Qt::IntersectClip);
        if (selections.isEmpty())
            text.draw(painter, origin);
        else
            paragraph.layout->draw(painter, origin, selections, band);
        painter->restore();
    }
}

void LayoutManager::addTemporaryForegroundColour(const Colour& colour, Range characterRange)
{
    if (characterRange.length == 0)
        return;
    removeTemporaryForegroundColour(characterRange);
    d->temporaries[characterRange.location] = Private::Temporary { quint32(characterRange.end()), colour };
}

void LayoutManager::removeTemporaryForegroundColour(Range characterRange)
{
    if (characterRange.length == 0)
        return;
    const quint32 start = characterRange.location;
    const quint32 end = quint32(characterRange.end());
    auto it = d->temporaries.upper_bound(start);
    if (it != d->temporaries.begin())
        --it;
    while (it != d->temporaries.end() && it->first < end) {
        const quint32 from = it->first;
        const Private::Temporary temporary = it->second;
        if (temporary.end <= start) {
            ++it;
            continue;
        }
        it = d->temporaries.erase(it);
        if (from < start)
            d->temporaries[from] = { start, temporary.colour };
        if (temporary.end > end)
            it = d->temporaries.insert_or_assign(end, Private::Temporary { temporary.end, temporary.colour }).first;
    }
}

std::optional<Colour> LayoutManager::temporaryForegroundColourAtCharacterIndex(quint32 characterIndex, Range* effectiveRange) const
{
    auto it = d->temporaries.upper_bound(characterIndex);
    if (it != d->temporaries.begin()) {
        --it;
        if (characterIndex < it->second.end) {
            if (effectiveRange)
                *effectiveRange = { it->first, it->second.end - it->first };
            return it->second.colour;
        }
    }
    if (effectiveRange)
        *effectiveRange = {};
    return std::nullopt;
}

} // namespace lq
