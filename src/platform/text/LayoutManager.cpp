#include "platform/text/LayoutManager.h"

#include "platform/text/ParagraphStyleConversion.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <ranges>
#include <unordered_map>

namespace lq {

namespace {

constexpr int maxFittingAttempts = 4;

struct VerticalMetrics {
    qreal ascent = 0;
    qreal below = 0; // descent and leading

    void include(const Font::Metrics& m)
    {
        ascent = std::max(ascent, m.ascent);
        below = std::max(below, m.descent + m.leading);
    }
    qreal height() const { return ascent + below; }
};

// A fitted rectangle may not be used when it is empty, higher than asked,
// or outside the container.
bool usableRect(const QRectF& rect, const QRectF& proposed, const TextContainer& container)
{
    if (!std::isfinite(rect.x()) || !std::isfinite(rect.y()) || !std::isfinite(rect.width())
        || !std::isfinite(rect.height()))
        return false;
    if (rect.height() <= 0 || rect.width() < 0)
        return false;
    if (rect.y() < proposed.y() - 0.001)
        return false;
    return rect.y() + rect.height() <= container.containerSize().height() + 0.001;
}

QRectF unite(const QRectF& a, const QRectF& b)
{
    const qreal left = std::min(a.left(), b.left());
    const qreal top = std::min(a.top(), b.top());
    const qreal right = std::max(a.right(), b.right());
    const qreal bottom = std::max(a.bottom(), b.bottom());
    return QRectF(left, top, right - left, bottom - top);
}

} // namespace

QTextOption LayoutManager::paragraphOption(const ParagraphStyle& style)
{
    QTextOption option;
    option.setAlignment(qtAlignment(style.alignment));
    option.setTextDirection(qtDirection(style.baseWritingDirection));
    // The same stops (most texts share one list of them) give one list of
    // Qt's tabs, shared by every layout that uses them.
    thread_local QList<TabStop> lastStops;
    thread_local QList<QTextOption::Tab> lastTabs;
    if (style.tabStops.isEmpty() || style.tabStops.constData() != lastStops.constData()
        || style.tabStops.size() != lastStops.size()) {
        lastStops = style.tabStops;
        lastTabs = qtTabs(style.tabStops);
    }
    option.setTabs(lastTabs);
    option.setTabStopDistance(28.0);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    return option;
}

QTextCharFormat LayoutManager::characterFormat(const TextAttributes& attributes)
{
    QTextCharFormat format;
    format.setFont(attributes.font ? attributes.font->toQFont() : Font().toQFont(), QTextCharFormat::FontPropertiesAll);
    format.setForeground(attributes.foregroundColour ? attributes.foregroundColour->toQColor() : QColor(Qt::black));
    if (attributes.isUnderlined())
        format.setFontUnderline(true);
    return format;
}

struct LayoutManager::Private {
    struct Paragraph {
        quint32 start = 0;
        quint32 textLength = 0;
        quint32 terminatorLength = 0;
        std::unique_ptr<QTextLayout> layout;
    };
    struct Line {
        LineFragment fragment;
        std::size_t paragraph = 0;
        int qtLine = 0;
        // The characters of the line without the paragraph terminator.
        Range textRange;
    };
    struct Temporary {
        quint32 end = 0;
        Colour colour;
    };

    std::shared_ptr<StyledText> storage;
    std::vector<std::shared_ptr<TextContainer>> containers;

    bool valid = false;
    const StyledText* laidStorage = nullptr;
    quint64 laidRevision = 0;
    quint32 laidLength = 0;
    std::vector<Paragraph> paragraphs;
    std::vector<Line> lines;
    LineFragment extraLine;
    bool hasExtraLine = false;
    // The used rectangle of the container last asked for, until the next
    // layout: a menu asks for its items' sizes many times per layout.
    const TextContainer* usedRectContainer = nullptr;
    QRectF usedRect;

    std::map<quint32, Temporary> temporaries;

    // What the layout takes from the attributes of a run, worked out once:
    // the character format, the font and its metrics, and for a run that
    // starts a paragraph its style, text option and Qt font. It depends on
    // the font, the colour, the underline and the paragraph style alone, and
    // is kept under them for every layout to come, edits included.
    struct RunStyle {
        std::optional<Font> fontAttribute;
        std::optional<Colour> colourAttribute;
        bool underlined = false;
        std::optional<ParagraphStyle> paragraphStyleAttribute;

        QTextCharFormat format;
        Font font;
        Font::Metrics metrics;
        qreal lineHeight = 0; // font.defaultLineHeight()
        ParagraphStyle style;
        std::optional<QTextOption> option;
        std::optional<QFont> qtFont;

        bool matches(const TextAttributes& attributes) const
        {
            return fontAttribute == attributes.font && colourAttribute == attributes.foregroundColour
                && underlined == attributes.isUnderlined() && paragraphStyleAttribute == attributes.paragraphStyle;
        }
    };
    // The run styles of every layout manager of the thread, under a hash of
    // the font's size and traits and the colour: the many small texts of a
    // menu share their few styles instead of each keeping its own. A style
    // is used only while a text is laid out. The shared table is never
    // freed, so that no style is destroyed after the fonts at the end.
    struct RunStyles {
        std::unordered_map<std::size_t, std::vector<std::unique_ptr<RunStyle>>> styles;
        std::size_t count = 0;
    };
    static RunStyles& runStyles()
    {
        thread_local RunStyles* shared = new RunStyles;
        return *shared;
    }

    static std::size_t styleHash(const TextAttributes& attributes)
    {
        std::size_t hash = attributes.isUnderlined() ? 1 : 0;
        if (attributes.font) {
            hash = qHashMulti(hash, attributes.font->pixelSize(), attributes.font->isBold(), attributes.font->isItalic());
        }
        if (attributes.foregroundColour) {
            const Colour& c = *attributes.foregroundColour;
            hash = qHashMulti(hash, c.r, c.g, c.b, c.a);
        }
        return hash;
    }

    RunStyle& styleFor(const TextAttributes& attributes)
    {
        RunStyles& shared = runStyles();
        std::vector<std::unique_ptr<RunStyle>>& bucket = shared.styles[styleHash(attributes)];
        for (const std::unique_ptr<RunStyle>& known : bucket) {
            if (known->matches(attributes))
                return *known;
        }
        auto style = std::make_unique<RunStyle>();
        style->fontAttribute = attributes.font;
        style->colourAttribute = attributes.foregroundColour;
        style->underlined = attributes.isUnderlined();
        style->paragraphStyleAttribute = attributes.paragraphStyle;
        style->format = characterFormat(attributes);
        style->font = attributes.font.value_or(Font());
        style->metrics = style->font.metrics();
        style->lineHeight = style->metrics.ascent + style->metrics.descent + style->metrics.leading;
        style->style = attributes.paragraphStyle.value_or(ParagraphStyle::defaultStyle());
        bucket.push_back(std::move(style));
        ++shared.count;
        return *bucket.back();
    }

    // One run of the paragraph being laid out.
    struct ParagraphRun {
        quint32 start = 0;
        quint32 end = 0;
        RunStyle* style = nullptr;
    };

    void clearLayout()
    {
        paragraphs.clear();
        lines.clear();
        extraLine = {};
        hasExtraLine = false;
        usedRectContainer = nullptr;
    }

    // The line holding a glyph, or null.
    const Line* lineForGlyph(quint32 glyph) const
    {
        auto it = std::upper_bound(lines.begin(), lines.end(), glyph,
            [](quint32 g, const Line& line) { return g < line.fragment.glyphRange.location; });
        if (it == lines.begin())
            return nullptr;
        --it;
        return glyph < it->fragment.glyphRange.end() ? &*it : nullptr;
    }

    // The lines laid into the container, in order.
    auto linesIn(const TextContainer* container) const
    {
        return lines | std::views::filter([container](const Line& line) { return line.fragment.textContainer == container; });
    }

    QTextLine qtLine(const Line& line) const
    {
        return paragraphs[line.paragraph].layout->lineAt(line.qtLine);
    }

    // The horizontal span of the characters of `range` (inside the line),
    // in container coordinates, clamped to the line fragment.
    std::pair<qreal, qreal> span(const Line& line, Range range) const
    {
        const Paragraph& paragraph = paragraphs[line.paragraph];
        const QTextLine text = qtLine(line);
        const quint32 textEnd = quint32(line.textRange.end());
        const int from = int(std::min(range.location, textEnd) - paragraph.start);
        const int to = int(std::min<quint64>(range.end(), textEnd) - paragraph.start);
        qreal a = text.cursorToX(from);
        qreal b = text.cursorToX(to);
        if (a > b)
            std::swap(a, b);
        const QRectF& rect = line.fragment.rect;
        a = std::clamp(a, rect.left(), rect.right());
        b = std::clamp(b, rect.left(), rect.right());
        return { a, b };
    }

    void clampTemporaries(quint32 length)
    {
        for (auto it = temporaries.begin(); it != temporaries.end();) {
            if (it->first >= length) {
                it = temporaries.erase(it);
            } else {
                it->second.end = std::min(it->second.end, length);
                ++it;
            }
        }
    }

    QList<QTextLayout::FormatRange> temporarySelections(const Paragraph& paragraph) const
    {
        QList<QTextLayout::FormatRange> selections;
        const quint32 start = paragraph.start;
        const quint32 end = paragraph.start + paragraph.textLength;
        auto it = temporaries.upper_bound(start);
        if (it != temporaries.begin())
            --it;
        for (; it != temporaries.end() && it->first < end; ++it) {
            const quint32 from = std::max(it->first, start);
            const quint32 to = std::min(it->second.end, end);
            if (from >= to)
                continue;
            QTextLayout::FormatRange selection;
            selection.start = int(from - start);
            selection.length = int(to - from);
            selection.format.setForeground(it->second.colour.toQColor());
            selections.append(selection);
        }
        return selections;
    }

    // Where the lines go: the container being filled and the top of the
    // next line in it; full once no container holds another line.
    struct Flow {
        std::size_t containerIndex = 0;
        qreal y = 0;
        bool full = false;
    };
    // The rectangle a line is laid into, its padding and its vertical metrics.
    struct LinePlace {
        QRectF rect;
        qreal padding = 0;
        VerticalMetrics metrics;
    };

    void layOut();
    // Asks the containers, from the current one on, for a line of the given
    // height; moves to the next container when one is full.
    bool fit(Flow& flow, qreal height, QRectF& rect) const;
    // Lays out the paragraph starting at the position; answers where the
    // next one starts.
    quint32 layOutParagraph(quint32 position, std::vector<ParagraphRun>& runs, Flow& flow);
    // The paragraph's text layout in the formats of its runs.
    std::unique_ptr<QTextLayout> paragraphLayout(const Paragraph& paragraph, const std::vector<ParagraphRun>& runs);
    // Places one line of the paragraph and records it; false when no
    // container holds it (the line is then parked out of sight).
    bool placeLine(QTextLine& line, std::size_t paragraphIndex, const std::vector<ParagraphRun>& runs, Flow& flow);
    // Fits the line: first at the height of the font where it starts, then
    // at the height its tallest run needs, until the two agree.
    bool fitLine(QTextLine& line, const Paragraph& laid, const std::vector<ParagraphRun>& runs, Flow& flow, LinePlace& place);
    // The empty line after a final paragraph terminator.
    void layOutExtraLine(Flow& flow);
};

void LayoutManager::Private::layOut()
{
    clearLayout();
    valid = true;
    laidStorage = storage.get();
    laidRevision = storage ? storage->revision() : 0;
    laidLength = storage ? storage->length() : 0;
    if (!storage || containers.empty())
        return;
    // Texts of ever new styles do not make the kept ones pile up.
    if (RunStyles& shared = runStyles(); shared.count > 4096) {
        shared.styles.clear();
        shared.count = 0;
    }

    const quint32 length = storage->length();
    Flow flow;
    std::vector<ParagraphRun> runs;
    quint32 position = 0;
    while (position < length && !flow.full)
        position = layOutParagraph(position, runs, flow);
    if (!flow.full)
        layOutExtraLine(flow);
}

bool LayoutManager::Private::fit(Flow& flow, qreal height, QRectF& rect) const
{
    while (flow.containerIndex < containers.size()) {
        const TextContainer& container = *containers[flow.containerIndex];
        const QRectF proposed(0, flow.y, container.containerSize().width(), height);
        rect = container.lineFragmentRectForProposedRect(proposed, nullptr);
        if (usableRect(rect, proposed, container))
            return true;
        ++flow.containerIndex;
        flow.y = 0;
    }
    return false;
}

quint32 LayoutManager::Private::layOutParagraph(quint32 position, std::vector<ParagraphRun>& runs, Flow& flow)
{
    const StyledText& text = *storage;
    const QString& string = text.string();
    const quint32 length = text.length();
    Paragraph paragraph;
    paragraph.start = position;
    quint32 textEnd = position;
    while (textEnd < length && !isParagraphTerminator(string.at(textEnd)))
        ++textEnd;
    paragraph.textLength = textEnd - position;
    paragraph.terminatorLength = quint32(paragraphTerminatorLength(string, textEnd));

    // The paragraph's runs, its terminator included (an empty line takes
    // the terminator's font), walked once.
    runs.clear();
    const quint32 covered = std::max<quint32>(paragraph.textLength + paragraph.terminatorLength, 1);
    text.forEachRun({ position, std::min(covered, length - position) }, [&](Range run, const TextAttributes& attributes) {
        runs.push_back({ run.location, quint32(run.end()), &styleFor(attributes) });
    });
    paragraph.layout = paragraphLayout(paragraph, runs);

    const std::size_t paragraphIndex = paragraphs.size();
    paragraphs.push_back(std::move(paragraph));
    const Paragraph& laid = paragraphs.back();
    QTextLayout& layout = *laid.layout;
    layout.beginLayout();
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid() || !placeLine(line, paragraphIndex, runs, flow))
            break;
    }
    layout.endLayout();
    return laid.start + laid.textLength + laid.terminatorLength;
}

std::unique_ptr<QTextLayout> LayoutManager::Private::paragraphLayout(const Paragraph& paragraph, const std::vector<ParagraphRun>& runs)
{
    RunStyle& first = *runs.front().style;
    if (!first.qtFont)
        first.qtFont = first.font.toQFont();
    if (!first.option)
        first.option = paragraphOption(first.style);

    const quint32 textEnd = paragraph.start + paragraph.textLength;
    auto layout = std::make_unique<QTextLayout>(
        storage->string().mid(qsizetype(paragraph.start), qsizetype(paragraph.textLength)), *first.qtFont);
    layout->setCacheEnabled(true);
    QList<QTextLayout::FormatRange> formats;
    formats.reserve(qsizetype(runs.size()));
    for (const ParagraphRun& run : runs) {
        if (run.start >= textEnd)
            break;
        QTextLayout::FormatRange format;
        format.start = int(run.start - paragraph.start);
        format.length = int(std::min(run.end, textEnd) - run.start);
        format.format = run.style->format;
        formats.append(format);
    }
    layout->setFormats(formats);
    layout->setTextOption(*first.option);
    return layout;
}

bool LayoutManager::Private::placeLine(QTextLine& line, std::size_t paragraphIndex, const std::vector<ParagraphRun>& runs, Flow& flow)
{
    const Paragraph& laid = paragraphs[paragraphIndex];
    const ParagraphStyle& style = runs.front().style->style;
    const quint32 lineStart = laid.start + quint32(line.textStart());
    LinePlace place;
    if (!fitLine(line, laid, runs, flow, place)) {
        // No container holds the rest: park the line out of the way so that
        // it is never drawn.
        flow.full = true;
        line.setLineWidth(0);
        line.setPosition(QPointF(-1.0e6, -1.0e6));
        return false;
    }

    const bool lastLine = quint32(line.textStart() + line.textLength()) >= laid.textLength;
    const qreal lineHeight = place.metrics.height() + style.lineSpacing;
    line.setPosition(QPointF(place.rect.x() + place.padding, place.rect.y() + place.metrics.ascent - line.ascent()));

    Line entry;
    entry.paragraph = paragraphIndex;
    entry.qtLine = line.lineNumber();
    entry.textRange = { lineStart, quint32(line.textLength()) };
    LineFragment& fragment = entry.fragment;
    fragment.textContainer = containers[flow.containerIndex].get();
    fragment.glyphRange = { lineStart, quint32(line.textLength()) + (lastLine ? laid.terminatorLength : 0) };
    fragment.characterRange = fragment.glyphRange;
    fragment.rect = QRectF(place.rect.x(), place.rect.y(), place.rect.width(), lineHeight + (lastLine ? style.paragraphSpacing : 0));
    const QRectF natural = line.naturalTextRect();
    fragment.usedRect = QRectF(natural.x() - place.padding, place.rect.y(), natural.width() + 2 * place.padding, lineHeight);
    fragment.baselineOffset = place.metrics.ascent;
    lines.push_back(entry);
    flow.y = fragment.rect.bottom();
    return true;
}

bool LayoutManager::Private::fitLine(QTextLine& line, const Paragraph& laid, const std::vector<ParagraphRun>& runs, Flow& flow,
                                     LinePlace& place)
{
    const RunStyle& first = *runs.front().style;
    const ParagraphStyle& style = first.style;
    const quint32 length = storage->length();
    const quint32 lineStart = laid.start + quint32(line.textStart());

    // The run holding the line's start (runs[0] holds the paragraph's).
    std::size_t startRun = 0;
    while (startRun + 1 < runs.size() && runs[startRun].end <= lineStart)
        ++startRun;

    // The first guess at the line's height: the font where it starts.
    qreal wanted = first.lineHeight + style.lineSpacing;
    if (lineStart < length)
        wanted = runs[startRun].style->lineHeight + style.lineSpacing;
    qreal laidWidth = 0;
    for (int attempt = 0;; ++attempt) {
        if (!fit(flow, wanted, place.rect))
            return false;
        place.padding = containers[flow.containerIndex]->lineFragmentPadding();
        // A taller rectangle of the same width holds the same line: it is
        // not broken again.
        const qreal width = std::max<qreal>(0, place.rect.width() - 2 * place.padding);
        if (attempt == 0 || width != laidWidth)
            line.setLineWidth(width);
        laidWidth = width;

        VerticalMetrics& metrics = place.metrics;
        metrics = {};
        const quint32 lineTextEnd = laid.start + quint32(line.textStart() + line.textLength());
        if (lineTextEnd > lineStart) {
            for (std::size_t r = startRun; r < runs.size() && runs[r].start < lineTextEnd; ++r)
                metrics.include(runs[r].style->metrics);
        } else if (lineStart < length) {
            // An empty line takes the font of the terminator that ends it.
            metrics.include(runs[startRun].style->metrics);
        } else {
            metrics.include(first.metrics);
        }
        // Glyphs drawn from a fallback font may reach further.
        metrics.ascent = std::max(metrics.ascent, std::round(line.ascent()));
        metrics.below = std::max(metrics.below, std::round(line.descent()));
        const qreal needed = metrics.height() + style.lineSpacing;
        if (needed <= place.rect.height() + 0.001 || attempt + 1 >= maxFittingAttempts)
            return true;
        wanted = needed;
    }
}

void LayoutManager::Private::layOutExtraLine(Flow& flow)
{
    // The empty line after a final paragraph terminator.
    const StyledText& text = *storage;
    const quint32 length = text.length();
    if (length == 0 || !isParagraphTerminator(text.string().at(length - 1)))
        return;
    const TextAttributes last = text.attributesAt(length - 1);
    const ParagraphStyle style = last.paragraphStyle.value_or(ParagraphStyle::defaultStyle());
    const qreal height = last.font.value_or(Font()).defaultLineHeight() + style.lineSpacing;
    QRectF rect;
    if (!fit(flow, height, rect))
        return;
    const qreal padding = containers[flow.containerIndex]->lineFragmentPadding();
    hasExtraLine = true;
    extraLine.textContainer = containers[flow.containerIndex].get();
    extraLine.glyphRange = { length, 0 };
    extraLine.characterRange = { length, 0 };
    extraLine.rect = QRectF(rect.x(), rect.y(), rect.width(), height);
    extraLine.usedRect = QRectF(rect.x(), rect.y(), 2 * padding, height);
    extraLine.baselineOffset = last.font.value_or(Font()).ascent();
}

LayoutManager::LayoutManager()
    : d(std::make_unique<Private>())
{
}

LayoutManager::~LayoutManager()
{
    for (const auto& container : d->containers)
        container->_layoutManager = nullptr;
}

void LayoutManager::setTextStorage(std::shared_ptr<StyledText> storage)
{
    // The lines of another text go at once: a manager shared by many texts
    // keeps none of them while it is detached.
    if (storage != d->storage)
        d->clearLayout();
    d->storage = std::move(storage);
    d->valid = false;
}

const std::shared_ptr<StyledText>& LayoutManager::textStorage() const
{
    return d->storage;
}

void LayoutManager::addTextContainer(std::shared_ptr<TextContainer> container)
{
    if (!container)
        return;
    if (container->_layoutManager == this)
        return;
    if (container->_layoutManager)
        container->_layoutManager->removeTextContainer(container.get());
    container->_layoutManager = this;
    d->containers.push_back(std::move(container));
    d->valid = false;
}

void LayoutManager::removeTextContainer(TextContainer* container)
{
    auto it = std::find_if(d->containers.begin(), d->containers.end(),
        [&](const std::shared_ptr<TextContainer>& c) { return c.get() == container; });
    if (it == d->containers.end())
        return;
    // Keep the container alive until it has forgotten this manager.
    const std::shared_ptr<TextContainer> removed = *it;
    d->containers.erase(it);
    removed->_layoutManager = nullptr;
    d->valid = false;
}

void LayoutManager::forgetTextContainer(TextContainer* container)
{
    std::erase_if(d->containers, [&](const std::shared_ptr<TextContainer>& c) { return c.get() == container; });
    d->valid = false;
}

const std::vector<std::shared_ptr<TextContainer>>& LayoutManager::textContainers() const
{
    return d->containers;
}

void LayoutManager::invalidateLayout()
{
    d->valid = false;
}

void LayoutManager::invalidateLayoutForCharacterRange(Range)
{
    // The whole text is laid out again: lines below an edit move anyway.
    d->valid = false;
}

void LayoutManager::textContainerChangedGeometry(TextContainer*)
{
    d->valid = false;
}

void LayoutManager::ensureLayoutForTextContainer(TextContainer*)
{
    ensureLayout();
}

void LayoutManager::ensureLayout()
{
    const bool current = d->valid && d->laidStorage == d->storage.get()
        && (!d->storage || d->storage->revision() == d->laidRevision);
    if (current)
        return;
    if (d->storage && d->storage->length() != d->laidLength)
        d->clampTemporaries(d->storage->length());
    d->layOut();
}

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
