#pragma once

// Lays a styled text (the storage) out into one or more text containers,
// line by line, and answers where the text went: line fragments, glyph and
// character ranges, bounding rectangles, the used rectangle; draws ranges of
// it; and shows temporary foreground colours that do not change the storage.
//
// Glyphs are numbered as the characters (one glyph per UTF-16 unit), so a
// glyph range and its character range are the same numbers. Coordinates are
// container coordinates with y growing downward, in pixels.
//
// Layout is lazy: it happens on the first question after the storage, a
// container's size or shape, or the list of containers changed (or after an
// explicit invalidation), and covers the whole text.
//
// Lines: a line fragment's height is the largest ascent plus the largest
// descent and leading of the fonts on the line (each rounded to whole
// pixels), plus the paragraph's line spacing; the paragraph spacing is added
// below a paragraph's last line. The used rectangle of a line spans its
// glyphs (with the line fragment padding at each end) and its height without
// the paragraph spacing. A text that ends with a paragraph terminator gets
// an extra line fragment for the empty last line, which counts in the used
// rectangle. Tab stops are measured from the start of each line.

#include "platform/Range.h"
#include "platform/Colour.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"

#include <QPointF>
#include <QRectF>

#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QTextCharFormat;
class QTextOption;

namespace lq {

struct LineFragment {
    QRectF rect;
    QRectF usedRect;
    Range glyphRange;
    Range characterRange;
    TextContainer* textContainer = nullptr;
    // Distance of the baseline below the top of the rectangle.
    qreal baselineOffset = 0;
};

class LayoutManager {
public:
    LayoutManager();
    ~LayoutManager();

    LayoutManager(const LayoutManager&) = delete;
    LayoutManager& operator=(const LayoutManager&) = delete;

    // What each paragraph's Qt layout is given: the format of a run of
    // characters and the text option of a paragraph style.
    static QTextCharFormat characterFormat(const TextAttributes& attributes);
    static QTextOption paragraphOption(const ParagraphStyle& style);

    // The storage laid out (shared with its owner); null for none.
    void setTextStorage(std::shared_ptr<StyledText> storage);
    const std::shared_ptr<StyledText>& textStorage() const;

    // Containers, filled in order. A container belongs to one layout
    // manager at a time.
    void addTextContainer(std::shared_ptr<TextContainer> container);
    void removeTextContainer(TextContainer* container);
    // Drops a container that is going away (its destructor), without
    // touching it again.
    void forgetTextContainer(TextContainer* container);
    const std::vector<std::shared_ptr<TextContainer>>& textContainers() const;

    // Invalidation: the text is laid out again when next asked.
    void invalidateLayout();
    void invalidateLayoutForCharacterRange(Range characterRange);
    void textContainerChangedGeometry(TextContainer* container);
    void ensureLayoutForTextContainer(TextContainer* container);
    // Frees the lines laid out so far (the memory of their shaped glyphs):
    // the text is laid out again, alike, when next asked about. For a text
    // whose lines are seldom needed once measured.
    void discardLayout();

    // Glyphs and characters.
    quint32 numberOfGlyphs() const;
    Range glyphRangeForCharacterRange(Range characterRange, Range* actualCharacterRange = nullptr) const;
    Range characterRangeForGlyphRange(Range glyphRange, Range* actualGlyphRange = nullptr) const;

    // Where the text went. Glyphs that no container holds have no line.
    Range glyphRangeForTextContainer(TextContainer* container);
    TextContainer* textContainerForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange = nullptr);
    std::vector<LineFragment> lineFragments();
    std::vector<LineFragment> lineFragmentsForTextContainer(TextContainer* container);
    QRectF lineFragmentRectForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange = nullptr);
    QRectF lineFragmentUsedRectForGlyphAtIndex(quint32 glyphIndex, Range* effectiveGlyphRange = nullptr);
    // The rectangle around the glyphs of the range that lie in the container:
    // from the first glyph's left edge to the last glyph's right edge on
    // each line, as high as the lines; null when none lies there.
    QRectF boundingRectForGlyphRange(Range glyphRange, TextContainer* container);
    // The glyphs of the container's lines that meet the rectangle.
    Range glyphRangeForBoundingRect(const QRectF& rect, TextContainer* container);
    QRectF usedRectForTextContainer(TextContainer* container);
    QRectF extraLineFragmentRect();
    QRectF extraLineFragmentUsedRect();
    TextContainer* extraLineFragmentTextContainer();
    // The glyph under (or nearest to) the point; `fraction` receives how far
    // across that glyph the point lies (0 to 1).
    quint32 glyphIndexForPoint(QPointF point, TextContainer* container, qreal* fraction = nullptr);

    // Draws the glyphs of the range, each container's glyphs with that
    // container's origin at `origin` of the painter (y downward).
    void drawGlyphsForGlyphRange(Range glyphRange, QPointF origin, QPainter* painter);

    // Temporary foreground colours: shown when drawing, kept out of the
    // storage. Removing restores the storage's own colour.
    void addTemporaryForegroundColour(const Colour& colour, Range characterRange);
    void removeTemporaryForegroundColour(Range characterRange);
    std::optional<Colour> temporaryForegroundColourAtCharacterIndex(quint32 characterIndex, Range* effectiveRange = nullptr) const;

private:
    void ensureLayout();

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace lq
