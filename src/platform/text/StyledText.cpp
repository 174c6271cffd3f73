#include "platform/text/StyledText.h"

#include "platform/Exception.h"

#include <atomic>

namespace lq {

namespace {

std::atomic<quint64> revisionCounter { 0 };

bool sameAttribute(const TextAttributes& a, const TextAttributes& b, QStringView key)
{
    if (key == TextKey::font)
        return a.font == b.font;
    if (key == TextKey::foregroundColour)
        return a.foregroundColour == b.foregroundColour;
    if (key == TextKey::underlineStyle)
        return a.underlineStyle == b.underlineStyle;
    if (key == TextKey::paragraphStyle)
        return a.paragraphStyle == b.paragraphStyle;
    return a.value(key) == b.value(key);
}

QString rangeText(Range range)
{
    return QStringLiteral("{%1, %2}").arg(QString::number(range.location), QString::number(range.length));
}

} // namespace

StyledText::StyledText(const QString& text, const TextAttributes& attributes)
{
    append(text, attributes);
}

void StyledText::touch()
{
    _revision = ++revisionCounter;
}

void StyledText::checkRange(Range range, const char* operation) const
{
    if (range.end() > length())
        raise(QStringLiteral("NSRangeException"),
            QStringLiteral("%1: range %2 out of bounds; string length %3")
                .arg(QLatin1String(operation), rangeText(range), QString::number(length())));
}

void StyledText::checkIndex(quint32 index, const char* operation) const
{
    if (index >= length())
        raise(QStringLiteral("NSRangeException"),
            QStringLiteral("%1: index %2 out of bounds; string length %3")
                .arg(QLatin1String(operation), QString::number(index), QString::number(length())));
}

std::size_t StyledText::runIndexAt(quint32 position) const
{
    auto it = std::upper_bound(_runs.begin(), _runs.end(), position,
        [](quint32 pos, const Run& run) { return pos < run.start; });
    return std::size_t(it - _runs.begin()) - 1;
}

quint32 StyledText::runEnd(std::size_t index) const
{
    return index + 1 < _runs.size() ? _runs[index + 1].start : length();
}

std::size_t StyledText::splitAt(quint32 position)
{
    if (position >= length())
        return _runs.size();
    const std::size_t index = runIndexAt(position);
    if (_runs[index].start == position)
        return index;
    _runs.insert(_runs.begin() + std::ptrdiff_t(index) + 1, Run { position, _runs[index].attributes });
    return index + 1;
}

std::pair<std::size_t, std::size_t> StyledText::splitRange(Range range)
{
    const std::size_t last = splitAt(quint32(range.end()));
    const std::size_t before = _runs.size();
    const std::size_t first = splitAt(range.location);
    // Splitting at the start may have put a run in front of the end's.
    return { first, last + (_runs.size() - before) };
}

void StyledText::coalesce(std::size_t first, std::size_t last)
{
    if (_runs.empty())
        return;
    first = std::max<std::size_t>(first, 1);
    last = std::min(last, _runs.size() - 1);
    for (std::size_t i = last; i >= first && i > 0; --i) {
        if (_runs[i].attributes == _runs[i - 1].attributes)
            _runs.erase(_runs.begin() + std::ptrdiff_t(i));
    }
}

void StyledText::append(const QString& text, const TextAttributes& attributes)
{
    if (text.isEmpty())
        return;
    if (_runs.empty() || !(_runs.back().attributes == attributes))
        _runs.push_back(Run { length(), attributes });
    _string.append(text);
    touch();
}

void StyledText::append(const StyledText& text)
{
    replace({ length(), 0 }, text);
}

void StyledText::replace(Range range, const QString& text)
{
    checkRange(range, "replace");
    TextAttributes attributes;
    if (!_runs.empty()) {
        if (range.length > 0)
            attributes = _runs[runIndexAt(range.location)].attributes;
        else if (range.location > 0)
            attributes = _runs[runIndexAt(range.location - 1)].attributes;
        else
            attributes = _runs.front().attributes;
    }
    replace(range, StyledText(text, attributes));
}

void StyledText::replace(Range range, const StyledText& text)
{
    checkRange(range, "replace");
    if (range.length == 0 && text.isEmpty())
        return;
    // Copy first: the text may be this very object.
    const std::vector<Run> inserted = text._runs;
    const QString insertedString = text._string;

    const auto [first, end] = splitRange(range);
    _runs.erase(_runs.begin() + std::ptrdiff_t(first), _runs.begin() + std::ptrdiff_t(end));

    _string.replace(qsizetype(range.location), qsizetype(range.length), insertedString);
    const qint64 delta = qint64(insertedString.size()) - qint64(range.length);
    for (std::size_t i = first; i < _runs.size(); ++i)
        _runs[i].start = quint32(qint64(_runs[i].start) + delta);

    std::vector<Run> shifted;
    shifted.reserve(inserted.size());
    for (const Run& run : inserted)
        shifted.push_back(Run { run.start + range.location, run.attributes });
    _runs.insert(_runs.begin() + std::ptrdiff_t(first), shifted.begin(), shifted.end());
    coalesce(first, first + shifted.size());
    touch();
}

void StyledText::setAttributes(const TextAttributes& attributes, Range range)
{
    checkRange(range, "setAttributes");
    if (range.length == 0)
        return;
    const auto [first, end] = splitRange(range);
    _runs.erase(_runs.begin() + std::ptrdiff_t(first) + 1, _runs.begin() + std::ptrdiff_t(end));
    _runs[first].attributes = attributes;
    coalesce(first, first + 1);
    touch();
}

void StyledText::addAttributes(const TextAttributes& attributes, Range range)
{
    changeRuns(range, "addAttributes", [&](TextAttributes& run) { run.merge(attributes); });
}

void StyledText::addAttribute(QStringView key, const QVariant& value, Range range)
{
    TextAttributes attributes;
    attributes.setValue(key, value);
    addAttributes(attributes, range);
}

void StyledText::removeAttribute(QStringView key, Range range)
{
    changeRuns(range, "removeAttribute", [&](TextAttributes& run) { run.remove(key); });
}

void StyledText::changeRuns(Range range, const char* operation, const std::function<void(TextAttributes&)>& change)
{
    checkRange(range, operation);
    if (range.length == 0)
        return;
    const auto [first, end] = splitRange(range);
    for (std::size_t i = first; i < end; ++i)
        change(_runs[i].attributes);
    coalesce(first, end);
    touch();
}

TextAttributes StyledText::attributesAt(quint32 index, Range* effectiveRange) const
{
    checkIndex(index, "attributesAt");
    const std::size_t run = runIndexAt(index);
    if (effectiveRange)
        *effectiveRange = { _runs[run].start, runEnd(run) - _runs[run].start };
    return _runs[run].attributes;
}

TextAttributes StyledText::attributesAt(quint32 index, Range* effectiveRange, Range within) const
{
    checkRange(within, "attributesAt");
    Range range;
    TextAttributes attributes = attributesAt(index, &range);
    if (effectiveRange)
        *effectiveRange = range.intersection(within);
    return attributes;
}

Range StyledText::longestEffectiveRange(QStringView key, quint32 index) const
{
    return longestEffectiveRange(key, index, { 0, length() });
}

Range StyledText::longestEffectiveRange(QStringView key, quint32 index, Range within) const
{
    checkIndex(index, "longestEffectiveRange");
    checkRange(within, "longestEffectiveRange");
    const std::size_t run = runIndexAt(index);
    const TextAttributes& attributes = _runs[run].attributes;
    std::size_t first = run;
    while (first > 0 && _runs[first].start > within.location
        && sameAttribute(_runs[first - 1].attributes, attributes, key))
        --first;
    std::size_t last = run;
    while (last + 1 < _runs.size() && runEnd(last) < within.end()
        && sameAttribute(_runs[last + 1].attributes, attributes, key))
        ++last;
    const Range found { _runs[first].start, runEnd(last) - _runs[first].start };
    return found.intersection(within);
}

void StyledText::forEachRun(Range range, const std::function<void(Range, const TextAttributes&)>& visit) const
{
    checkRange(range, "runs");
    if (range.length == 0)
        return;
    for (std::size_t i = runIndexAt(range.location); i < _runs.size() && _runs[i].start < range.end(); ++i) {
        const Range run { _runs[i].start, runEnd(i) - _runs[i].start };
        visit(run.intersection(range), _runs[i].attributes);
    }
}

std::vector<AttributeRun> StyledText::runs(Range range) const
{
    std::vector<AttributeRun> result;
    forEachRun(range, [&](Range run, const TextAttributes& attributes) { result.push_back({ run, attributes }); });
    return result;
}

StyledText StyledText::substring(Range range) const
{
    StyledText result;
    forEachRun(range, [&](Range run, const TextAttributes& attributes) {
        result.append(_string.mid(qsizetype(run.location), qsizetype(run.length)), attributes);
    });
    return result;
}

Range StyledText::paragraphRangeForRange(Range range) const
{
    return terminatedRangeForRange(range, "paragraphRangeForRange", isParagraphTerminator);
}

Range StyledText::lineRangeForRange(Range range) const
{
    return terminatedRangeForRange(range, "lineRangeForRange", isLineTerminator);
}

Range StyledText::lineContentsRangeForRange(Range range) const
{
    const Range lines = lineRangeForRange(range);
    quint32 end = quint32(lines.end());
    if (end > lines.location && isLineTerminator(_string.at(end - 1))) {
        const bool crlf = end - 1 > lines.location && _string.at(end - 1) == QLatin1Char('\n')
            && _string.at(end - 2) == QLatin1Char('\r');
        end -= crlf ? 2 : 1;
    }
    return { lines.location, end - lines.location };
}

Range StyledText::terminatedRangeForRange(Range range, const char* operation, bool (*isTerminator)(QChar)) const
{
    checkRange(range, operation);
    const qsizetype size = _string.size();
    qsizetype start = range.location;
    // The "\n" of "\r\n" belongs to the piece that the "\r" ends.
    if (start > 0 && start < size && _string.at(start) == QLatin1Char('\n') && _string.at(start - 1) == QLatin1Char('\r'))
        --start;
    while (start > 0 && !isTerminator(_string.at(start - 1)))
        --start;
    qsizetype last = range.length > 0 ? qsizetype(range.end()) - 1 : qsizetype(range.location);
    while (last < size && !isTerminator(_string.at(last)))
        ++last;
    const bool crlf = last + 1 < size && _string.at(last) == QLatin1Char('\r') && _string.at(last + 1) == QLatin1Char('\n');
    const qsizetype end = last < size ? last + (crlf ? 2 : 1) : size;
    return { quint32(start), quint32(end - start) };
}

bool isParagraphTerminator(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

bool isLineTerminator(QChar c)
{
    return isParagraphTerminator(c) || c == QChar::LineSeparator || c == QChar(0x0085);
}

qsizetype paragraphTerminatorLength(const QString& text, qsizetype index)
{
    if (index < 0 || index >= text.size() || !isParagraphTerminator(text.at(index)))
        return 0;
    const bool crlf = text.at(index) == QLatin1Char('\r') && index + 1 < text.size() && text.at(index + 1) == QLatin1Char('\n');
    return crlf ? 2 : 1;
}

bool operator==(const StyledText& a, const StyledText& b)
{
    if (a._string != b._string || a._runs.size() != b._runs.size())
        return false;
    for (std::size_t i = 0; i < a._runs.size(); ++i) {
        if (a._runs[i].start != b._runs[i].start || !(a._runs[i].attributes == b._runs[i].attributes))
            return false;
    }
    return true;
}

} // namespace lq
