#include "ui/widgets/MyTextView.h"

#include "platform/text/RtfCodec.h"

#include <QMimeData>

#include <memory>

const QString MyTextView::pasteboardType = QStringLiteral("application/x-lumenquill-pasteboard-text");

MyTextView::MyTextView(QWidget* parent)
    : lq::TextView(parent)
{
}

void MyTextView::focusInEvent(QFocusEvent* event)
{
    lq::TextView::focusInEvent(event);
    Q_EMIT becameFirstResponder(this);
}

void MyTextView::focusOutEvent(QFocusEvent* event)
{
    lq::TextView::focusOutEvent(event);
    Q_EMIT resignedFirstResponder(this);
}

bool MyTextView::writeSelectionToMimeData(QMimeData* data) const
{
    const lq::Range range = selectedRange();
    if (range.length == 0)
        return false;
    const QByteArray rtf = lq::RtfCodec::toRtf(styledText().substring(range));
    if (rtf.isEmpty())
        return false;
    data->setData(pasteboardType, rtf);
    return true;
}

bool MyTextView::readSelectionFromMimeData(const QMimeData* data)
{
    if (!data || !data->hasFormat(pasteboardType))
        return false;
    const std::optional<lq::StyledText> pasted = lq::RtfCodec::fromRtf(data->data(pasteboardType));
    if (!pasted)
        return false;
    const lq::Range range = selectedRange();
    lq::StyledText text = styledText();
    text.replace(range, *pasted);
    setStyledText(text);
    setSelectedRange(lq::Range{range.location + pasted->length(), 0});
    if (_pasteFilter)
        _pasteFilter(this);
    return true;
}

QMimeData* MyTextView::createMimeDataFromSelection() const
{
    // The text edit's own mime data lists a fixed set of formats: its
    // contents are copied into a plain one that can carry ours too.
    const std::unique_ptr<QMimeData> usual(lq::TextView::createMimeDataFromSelection());
    auto* data = new QMimeData;
    if (usual) {
        for (const QString& format : usual->formats())
            data->setData(format, usual->data(format));
    }
    writeSelectionToMimeData(data);
    return data;
}

bool MyTextView::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(pasteboardType) || lq::TextView::canInsertFromMimeData(source);
}

void MyTextView::insertFromMimeData(const QMimeData* source)
{
    // The program's own type is preferred; when it is offered but cannot be
    // read, the other types are not read either.
    if (source->hasFormat(pasteboardType)) {
        readSelectionFromMimeData(source);
        return;
    }
    lq::TextView::insertFromMimeData(source);
}
