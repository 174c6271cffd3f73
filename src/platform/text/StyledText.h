#pragma once

// Styled text: a string with runs of attributes. Every position of the
// string has exactly one set of attributes; neighbouring runs always differ,
// so the run that holds a position is its longest effective range. All
// positions and ranges are UTF-16 units.
//
// A range that reaches beyond the string raises "NSRangeException".

#include "platform/Range.h"
#include "platform/text/TextAttributes.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace lq {

struct AttributeRun {
    Range range;
    TextAttributes attributes;
};

class StyledText {
public:
    StyledText() = default;
    explicit StyledText(const QString& text, const TextAttributes& attributes = {});

    const QString& string() const { return _string; }
    quint32 length() const { return quint32(_string.size()); }
    bool isEmpty() const { return _string.isEmpty(); }

    // Changes whenever the text or its attributes change; equal stamps of
    // two texts mean equal contents.
    quint64 revision() const { return _revision; }

    // Editing.
    void append(const QString& text, const TextAttributes& attributes);
    void append(const StyledText& text);
    // New characters take the attributes of the first replaced character or,
    // when nothing is replaced, of the character before (after at position 0).
    void replace(Range range, const QString& text);
    void replace(Range range, const StyledText& text);
    // Replaces the whole text.
    void setText(const StyledText& text) { replace({ 0, length() }, text); }
    void setAttributes(const TextAttributes& attributes, Range range);
    void addAttributes(const TextAttributes& attributes, Range range);
    // A custom value over the range.
    void addAttribute(QStringView key, const QVariant& value, Range range);
    // Removes a standard or custom attribute over the range.
    void removeAttribute(QStringView key, Range range);

    // Queries. `effectiveRange` receives the longest range around the index
    // with the same attributes, clipped to `within` when one is given.
    TextAttributes attributesAt(quint32 index, Range* effectiveRange = nullptr) const;
    TextAttributes attributesAt(quint32 index, Range* effectiveRange, Range within) const;
    // The longest range around the index over which one attribute (standard
    // or custom, by name) has the same value or is absent throughout.
    Range longestEffectiveRange(QStringView key, quint32 index) const;
    Range longestEffectiveRange(QStringView key, quint32 index, Range within) const;
    // The runs that meet the range, clipped to it.
    std::vector<AttributeRun> runs(Range range) const;
    std::vector<AttributeRun> runs() const { return runs({ 0, length() }); }
    void forEachRun(Range range, const std::function<void(Range, const TextAttributes&)>& visit) const;
    StyledText substring(Range range) const;

    // The paragraphs that the range touches, each with its terminator
    // ("\n", "\r", "\r\n" or U+2029).
    Range paragraphRangeForRange(Range range) const;
    // The lines that the range touches, each with its terminator: a
    // paragraph terminator, or a line separator (U+2028, or U+0085) that
    // breaks a line inside a paragraph.
    Range lineRangeForRange(Range range) const;
    // The lines that the range touches, without the terminator that ends
    // the last of them.
    Range lineContentsRangeForRange(Range range) const;

    friend bool operator==(const StyledText& a, const StyledText& b);

private:
    struct Run {
        quint32 start = 0;
        TextAttributes attributes;
    };

    void checkRange(Range range, const char* operation) const;
    void checkIndex(quint32 index, const char* operation) const;
    // The run that holds a position below the length.
    std::size_t runIndexAt(quint32 position) const;
    quint32 runEnd(std::size_t index) const;
    // Makes a run start at the position (below the length) and answers its
    // index; at the length, answers the number of runs.
    std::size_t splitAt(quint32 position);
    // Makes runs start at both ends of the range and answers the index of its
    // first run and the index after its last one.
    std::pair<std::size_t, std::size_t> splitRange(Range range);
    // Checks the range (naming the operation when it is out of bounds), then
    // changes the attributes of every run in it and joins equal neighbours.
    void changeRuns(Range range, const char* operation, const std::function<void(TextAttributes&)>& change);
    // Joins equal neighbours among the runs from `first` to `last`.
    void coalesce(std::size_t first, std::size_t last);
    void touch();
    // The pieces of text between the terminators that `isTerminator` accepts
    // ("\r\n" being one terminator) that the range touches.
    Range terminatedRangeForRange(Range range, const char* operation, bool (*isTerminator)(QChar)) const;

    QString _string;
    std::vector<Run> _runs;
    quint64 _revision = 0;
};

// Whether the character ends a paragraph: "\n", "\r" or U+2029.
bool isParagraphTerminator(QChar c);
// Whether the character ends a line: a paragraph terminator, U+2028 or U+0085.
bool isLineTerminator(QChar c);
// The length of the paragraph terminator that starts at the index: 2 for
// "\r\n", 1 for any other terminator, 0 where none starts (past the end).
qsizetype paragraphTerminatorLength(const QString& text, qsizetype index);

} // namespace lq
