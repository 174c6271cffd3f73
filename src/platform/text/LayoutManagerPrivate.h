// The inside of LayoutManager, shared by its files: the laid-out
// paragraphs and lines, the shared run styles and the temporary colours.
// Only the layout manager's sources include it.
#pragma once

#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyleConversion.h"

#include <QCoreApplication>
#include <QTextLayout>
#include <QThread>

#include <algorithm>
#include <map>
#include <ranges>
#include <unordered_map>

namespace lq {


struct LayoutManager::Private {
    // The height a line needs: the tallest ascent and the deepest descent with leading.
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
    // is used only while a text is laid out. The main thread's table is
    // never freed, so that no style is destroyed after the fonts at the end;
    // another thread's goes when the thread ends.
    struct RunStyles {
        std::unordered_map<std::size_t, std::vector<std::unique_ptr<RunStyle>>> styles;
        std::size_t count = 0;
    };
    struct ThreadRunStyles {
        RunStyles* styles = new RunStyles;
        bool endsWithThread = QCoreApplication::instance() && QThread::currentThread() != QCoreApplication::instance()->thread();
        ~ThreadRunStyles()
        {
            if (endsWithThread)
                delete styles;
        }
    };
    static RunStyles& runStyles()
    {
        thread_local ThreadRunStyles shared;
        return *shared.styles;
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

} // namespace lq
