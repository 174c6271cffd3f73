#include "platform/widgets/TextView.h"

#include "platform/text/TextDocumentConversion.h"

#include <QTextCursor>
#include <QTextDocument>

namespace lq {

TextView::TextView(QWidget* parent)
    : QTextEdit(parent)
{
    // Pasted text takes the attributes of the text it goes into: foreign
    // rich text would bring formats that the page cannot show.
    setAcceptRichText(false);
    setFrameStyle(QFrame::NoFrame);
    document()->setDocumentMargin(0);
    document()->setUseDesignMetrics(true);
}

TextView::~TextView()
{
    if (_storage)
        _storage->setText(styledText());
}

void TextView::attachTextStorage(std::shared_ptr<StyledText> storage)
{
    if (_storage)
        detachTextStorage();
    _storage = std::move(storage);
    setStyledText(_storage ? *_storage : StyledText());
}

void TextView::commitToTextStorage()
{
    if (_storage)
        _storage->setText(styledText());
}

void TextView::detachTextStorage()
{
    commitToTextStorage();
    _storage.reset();
}

StyledText TextView::styledText() const
{
    return documentStyledText(document());
}

void TextView::setStyledText(const StyledText& text)
{
    setDocumentStyledText(document(), text);
    document()->setModified(false);
}

TextAttributes TextView::typingAttributes() const
{
    TextAttributes attributes = attributesForCharFormat(currentCharFormat());
    attributes.paragraphStyle = paragraphStyleForBlockFormat(textCursor().blockFormat());
    return attributes;
}

void TextView::setTypingAttributes(const TextAttributes& attributes)
{
    setCurrentCharFormat(charFormatForAttributes(attributes));
    if (attributes.paragraphStyle) {
        QTextCursor cursor = textCursor();
        cursor.mergeBlockFormat(blockFormatForParagraphStyle(*attributes.paragraphStyle));
        setTextCursor(cursor);
    }
}

Range TextView::selectedRange() const
{
    const QTextCursor cursor = textCursor();
    return { quint32(cursor.selectionStart()), quint32(cursor.selectionEnd() - cursor.selectionStart()) };
}

void TextView::setSelectedRange(Range range)
{
    const int last = std::max(0, document()->characterCount() - 1);
    QTextCursor cursor(document());
    cursor.setPosition(std::min(int(range.location), last));
    cursor.setPosition(int(std::min<quint64>(range.end(), quint64(last))), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TextView::setDrawsBackground(bool draws)
{
    viewport()->setAutoFillBackground(draws);
    setAutoFillBackground(draws);
    setStyleSheet(draws ? QString() : QStringLiteral("QTextEdit { background: transparent; }"));
}

} // namespace lq
