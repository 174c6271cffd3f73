#include "ui/widgets/TextView.h"

#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyleConversion.h"
#include "platform/text/TextDocumentConversion.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>

namespace lq {

namespace {

// The widest line width a text edit wraps at.
constexpr qreal maxWrapWidth = 16777215;

// The width that the container gives its lines: the widest of the lines
// laid into it and of a line at its top.
qreal containerLineWidth(TextContainer& container)
{
    const QRectF top = container.lineFragmentRectForProposedRect(
        QRectF(0, 0, container.containerSize().width(), Font().defaultLineHeight()), nullptr);
    qreal width = std::isfinite(top.width()) ? std::max<qreal>(0, top.width()) : 0;
    if (LayoutManager* manager = container.layoutManager()) {
        for (const LineFragment& line : manager->lineFragmentsForTextContainer(&container))
            width = std::max(width, line.rect.width());
    }
    return width > 0 ? width : container.containerSize().width();
}

} // namespace

TextView::TextView(QWidget* parent)
    : QTextEdit(parent)
{
    // Pasted text takes the attributes of the text it goes into: foreign
    // rich text would bring formats that the page cannot show.
    setAcceptRichText(false);
    setFrameStyle(QFrame::NoFrame);
    QTextDocument* document = this->document();
    document->setDocumentMargin(0);
    document->setUseDesignMetrics(true);
    // Text without a font, colour or paragraph style looks as the layout
    // manager draws it: Helvetica 12, black, tab stops every 28 pixels.
    document->setDefaultFont(Font().toQFont());
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(28.0);
    option.setUseDesignMetrics(true);
    document->setDefaultTextOption(option);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, Qt::black);
    setPalette(palette);
    connect(document, &QTextDocument::contentsChanged, this, [this] { documentEdited(); });
}

TextView::~TextView()
{
    disconnect(document(), nullptr, this, nullptr);
    detachTextStorage();
}

void TextView::attachTextStorage(std::shared_ptr<StyledText> storage)
{
    attach(std::move(storage), nullptr);
}

void TextView::attachTextContainer(const std::shared_ptr<TextContainer>& container)
{
    std::shared_ptr<StyledText> storage;
    if (container) {
        if (LayoutManager* manager = container->layoutManager())
            storage = manager->textStorage();
        if (!storage)
            storage = std::make_shared<StyledText>();
    }
    attach(std::move(storage), container);
}

void TextView::attach(std::shared_ptr<StyledText> storage, const std::shared_ptr<TextContainer>& container)
{
    detachTextStorage();
    _storage = std::move(storage);
    _container = container;
    if (container) {
        if (auto* view = dynamic_cast<TextView*>(container->textView()); view && view != this)
            view->detachTextStorage();
        container->setTextView(this);
    }
    loadStyledText(_storage ? *_storage : StyledText());
}

void TextView::detachTextStorage()
{
    if (const std::shared_ptr<TextContainer> container = _container.lock(); container && container->textView() == this)
        container->setTextView(nullptr);
    _container.reset();
    _storage.reset();
    if (_wrapWidth >= 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        QTextFrameFormat frame = document()->rootFrame()->frameFormat();
        frame.setLeftMargin(0);
        frame.setRightMargin(0);
        document()->rootFrame()->setFrameFormat(frame);
        _wrapWidth = -1;
        _padding = -1;
    }
}

void TextView::commitToTextStorage()
{
    if (!_storage)
        return;
    _storage->setText(documentStyledText(document()));
    _storageRevision = _storage->revision();
}

void TextView::documentEdited()
{
    if (_loading || !_storage)
        return;
    commitToTextStorage();
}

void TextView::loadStyledText(const StyledText& text) const
{
    _loading = true;
    setDocumentStyledText(document(), text);
    document()->setModified(false);
    _loading = false;
    if (_storage)
        _storageRevision = _storage->revision();
    // Clearing the document forgot the container's padding.
    _padding = -1;
    applyContainerGeometry();
}

void TextView::followTextStorage() const
{
    if (_storage && _storage->revision() != _storageRevision) {
        auto* self = const_cast<TextView*>(this);
        const QTextCursor cursor = textCursor();
        const quint32 anchor = indexForDocumentPosition(document(), cursor.anchor());
        const quint32 position = indexForDocumentPosition(document(), cursor.position());
        loadStyledText(*_storage);
        QTextCursor restored(document());
        restored.setPosition(documentPositionForIndex(document(), anchor));
        restored.setPosition(documentPositionForIndex(document(), position), QTextCursor::KeepAnchor);
        self->setTextCursor(restored);
    }
    applyContainerGeometry();
}

void TextView::applyContainerGeometry() const
{
    const std::shared_ptr<TextContainer> container = _container.lock();
    if (!container)
        return;
    const qreal width = std::min(containerLineWidth(*container), maxWrapWidth);
    const qreal padding = std::min(container->lineFragmentPadding(), width / 2);
    if (width == _wrapWidth && padding == _padding)
        return;
    _wrapWidth = width;
    _padding = padding;
    auto* self = const_cast<TextView*>(this);
    const bool loading = _loading;
    _loading = true;
    QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    frame.setLeftMargin(padding);
    frame.setRightMargin(padding);
    document()->rootFrame()->setFrameFormat(frame);
    _loading = loading;
    self->setLineWrapMode(QTextEdit::FixedPixelWidth);
    self->setLineWrapColumnOrWidth(int(std::ceil(width)));
}

StyledText TextView::styledText() const
{
    followTextStorage();
    return documentStyledText(document());
}

void TextView::setStyledText(const StyledText& text)
{
    loadStyledText(text);
    if (_storage)
        commitToTextStorage();
}

TextAttributes TextView::attributesAt(quint32 index, Range* effectiveRange) const
{
    return styledText().attributesAt(index, effectiveRange);
}

void TextView::addAttributes(const TextAttributes& attributes, Range range)
{
    followTextStorage();
    addDocumentAttributes(document(), attributes, range);
}

void TextView::removeAttribute(QStringView key, Range range)
{
    followTextStorage();
    removeDocumentAttribute(document(), key, range);
}

TextAttributes TextView::typingAttributes() const
{
    followTextStorage();
    TextAttributes attributes = attributesForCharFormat(currentCharFormat());
    attributes.paragraphStyle = paragraphStyleForBlockFormat(textCursor().blockFormat());
    return attributes;
}

void TextView::setTypingAttributes(const TextAttributes& attributes)
{
    followTextStorage();
    QTextCursor cursor = textCursor();
    if (attributes.paragraphStyle && cursor.block().length() <= 1) {
        cursor.mergeBlockFormat(blockFormatForParagraphStyle(*attributes.paragraphStyle));
        setTextCursor(cursor);
    }
    // With a selection Qt would give the selected text the format. Setting
    // the cursor forgets the typing format: it comes last.
    if (!cursor.hasSelection())
        setCurrentCharFormat(charFormatForAttributes(attributes));
}

void TextView::setTextAlignment(TextAlignment alignment)
{
    followTextStorage();
    const QTextCursor selection = textCursor();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (QTextBlock block = document()->findBlock(selection.selectionStart()); block.isValid(); block = block.next()) {
        ParagraphStyle style = paragraphStyleForBlockFormat(block.blockFormat()).value_or(ParagraphStyle::defaultStyle());
        style.alignment = alignment;
        cursor.setPosition(block.position());
        cursor.mergeBlockFormat(blockFormatForParagraphStyle(style));
        if (block.contains(selection.selectionEnd()))
            break;
    }
    cursor.endEditBlock();
}

TextAlignment TextView::textAlignment() const
{
    followTextStorage();
    QTextCursor cursor = textCursor();
    cursor.setPosition(cursor.selectionStart());
    const std::optional<ParagraphStyle> style = paragraphStyleForBlockFormat(cursor.blockFormat());
    return style ? style->alignment : ParagraphStyle::defaultStyle().alignment;
}

Range TextView::selectedRange() const
{
    followTextStorage();
    const QTextCursor cursor = textCursor();
    const quint32 start = indexForDocumentPosition(document(), cursor.selectionStart());
    const quint32 end = indexForDocumentPosition(document(), cursor.selectionEnd());
    return { start, end - start };
}

void TextView::setSelectedRange(Range range)
{
    followTextStorage();
    const quint32 end = quint32(std::min<quint64>(range.end(), documentStyledLength(document())));
    QTextCursor cursor(document());
    cursor.setPosition(documentPositionForIndex(document(), std::min(range.location, end)));
    cursor.setPosition(documentPositionForIndex(document(), end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TextView::setDrawsBackground(bool draws)
{
    viewport()->setAutoFillBackground(draws);
    setAutoFillBackground(draws);
    setStyleSheet(draws ? QString() : QStringLiteral("QTextEdit { background: transparent; }"));
}

bool TextView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Drop:
        followTextStorage();
        break;
    default:
        break;
    }
    return QTextEdit::viewportEvent(event);
}

void TextView::keyPressEvent(QKeyEvent* event)
{
    followTextStorage();
    QTextEdit::keyPressEvent(event);
}

void TextView::inputMethodEvent(QInputMethodEvent* event)
{
    followTextStorage();
    QTextEdit::inputMethodEvent(event);
}

void TextView::insertFromMimeData(const QMimeData* source)
{
    followTextStorage();
    QTextEdit::insertFromMimeData(source);
}

} // namespace lq
