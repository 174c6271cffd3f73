#include "platform/text/LayoutManager.h"

#include "platform/text/LayoutManagerPrivate.h"

#include <algorithm>
#include <cmath>

namespace lq {

namespace {

constexpr int maxFittingAttempts = 4;

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
        container->setLayoutManager(nullptr);
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
    if (container->layoutManager() == this)
        return;
    if (LayoutManager* previous = container->layoutManager())
        previous->removeTextContainer(container.get());
    container->setLayoutManager(this);
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
    removed->setLayoutManager(nullptr);
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

void LayoutManager::discardLayout()
{
    d->clearLayout();
    std::vector<Private::Paragraph>().swap(d->paragraphs);
    std::vector<Private::Line>().swap(d->lines);
    d->valid = false;
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

} // namespace lq
