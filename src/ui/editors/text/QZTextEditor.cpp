#include "ui/editors/text/QZTextEditor.h"

#include "elements/StoredTextTokenizer.h"
#include "elements/StoredTextWriter.h"
#include "ui/editors/text/EasyLinkOpener.h"
#include "ui/editors/text/LinkTarget.h"
#include "ui/editors/text/TextMenuTags.h"
#include "model/core/DocumentBase.h"
#include "model/core/SuppressedChanges.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/text/ParagraphStyle.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "platform/text/TextDocumentConversion.h"
#include "ui/widgets/TextView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The property of a text view that names the editor working on it.
constexpr const char* editorProperty = "lqTextEditor";

// The colour of links made in the editor.
constexpr lq::Colour linkColour(0, 0, 1, 1);

// Joins the edits made while it lives into one undo step of the view.
class EditingGroup {
public:
    explicit EditingGroup(lq::TextView& view)
        : _cursor(view.document())
    {
        _cursor.beginEditBlock();
    }
    ~EditingGroup() { _cursor.endEditBlock(); }
    EditingGroup(const EditingGroup&) = delete;
    EditingGroup& operator=(const EditingGroup&) = delete;

private:
    QTextCursor _cursor;
};

bool isPageNumber(const QVariant& link)
{
    return link.typeId() == QMetaType::Int || link.typeId() == QMetaType::LongLong || link.typeId() == QMetaType::UInt
        || link.typeId() == QMetaType::ULongLong;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'\'' || c.isMark();
}

// The word around the index; empty where the index is not in a word.
lq::Range wordRangeAt(const QString& string, quint32 index)
{
    if (index >= quint32(string.size()) || !isWordCharacter(string.at(index)))
        return { index, 0 };
    quint32 start = index;
    while (start > 0 && isWordCharacter(string.at(start - 1)))
        --start;
    quint32 end = index;
    while (end < quint32(string.size()) && isWordCharacter(string.at(end)))
        ++end;
    return { start, end - start };
}

void setChecked(QAbstractButton* button, bool checked)
{
    if (!button)
        return;
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

void setShown(QWidget* control, bool shown)
{
    if (control)
        control->setVisible(shown);
}

// Reads stored rich text as the editor shows it: the paragraph's style
// (alignment, direction, the kind's line spacing), the kind, the kind's font
// with the run's bold and italic, underline and link.
class EditorSink : public StoredTextSink {
public:
    EditorSink(const QZTextEditor& editor, const lq::ParagraphStyle& base, bool paragraphKinds, lq::StyledText& text)
        : _editor(editor)
        , _base(base)
        , _paragraphKinds(paragraphKinds)
        , _text(text)
    {
    }

    void beginParagraph(const QString& tag, const QString& attributes, bool afterAnother) override
    {
        if (afterAnother)
            _text.append(QStringLiteral("\n"), _paragraph);
        _kind = _paragraphKinds ? paragraphKindForTag(tag) : 0;
        lq::ParagraphStyle style = _base;
        style.lineSpacing = _editor.lineSpacingForKind(_kind);
        readParagraphAttributes(attributes, lq::TextAlignment::Left, style);
        _paragraph = lq::TextAttributes();
        _paragraph.paragraphStyle = style;
        _paragraph.font = _editor.fontForKind(_kind);
        _paragraph.setValue(lq::TextKey::paragraphKind, _kind);
    }

    void appendRun(const QString& raw, int bits, const StoredLink& link) override
    {
        lq::TextAttributes attributes = _paragraph;
        attributes.font = _editor.fontForKind(_kind)
                              .withBold((bits & InlineBits::bold) != 0)
                              .withItalic((bits & InlineBits::italic) != 0);
        if (bits & InlineBits::underline)
            attributes.underlineStyle = 1;
        if ((bits & InlineBits::link) && link.isValid()) {
            // Shown as the links made in the editor are.
            attributes.foregroundColour = linkColour;
            attributes.setValue(lq::TextKey::link, link.target);
            attributes.setValue(lq::TextKey::linkNewWindow, link.newWindow != 0 ? 1 : 0);
        }
        _text.append(lq::unescape(raw), attributes);
    }

private:
    const QZTextEditor& _editor;
    const lq::ParagraphStyle& _base;
    bool _paragraphKinds;
    lq::StyledText& _text;
    int _kind = 0;
    lq::TextAttributes _paragraph;
};

} // namespace

// --- Set-up ----------------------------------------------------------------------------------

QZTextEditor::Controls QZTextEditor::buildControls(QWidget* container, const ControlOptions& options)
{
    auto* row = qobject_cast<QBoxLayout*>(container->layout());
    if (!row)
        row = new QHBoxLayout(container);
    const auto toggle = [&](const QString& title) {
        auto* button = new MyButton(0, title, container);
        button->setCheckable(true);
        // As narrow as the title: the link field takes the room left.
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(title) + 20);
        // The keyboard stays in the text while the buttons are used.
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
        return button;
    };
    Controls controls;
    if (options.kindPopUp) {
        controls.fStyle = new MyPopUpButton(0, container);
        controls.fStyle->setFocusPolicy(Qt::NoFocus);
        row->addWidget(controls.fStyle);
    }
    if (options.kindButtons) {
        controls.pNormal = toggle(QStringLiteral("Normal"));
        controls.pHeading = toggle(QStringLiteral("Heading"));
    }
    controls.pBold = toggle(QStringLiteral("B"));
    controls.pItalic = toggle(QStringLiteral("I"));
    controls.pUnderline = toggle(QStringLiteral("U"));
    controls.pLeft = toggle(QStringLiteral("Left"));
    controls.pCenter = toggle(QStringLiteral("Center"));
    controls.pRight = toggle(QStringLiteral("Right"));
    if (options.rightToLeft)
        controls.RTLButton = toggle(QStringLiteral("RTL"));
    controls.lLink = new MyTextField(0, container);
    controls.lLink->setPlaceholderText(QStringLiteral("Link"));
    controls.lLink->setMinimumWidth(160);
    row->addWidget(controls.lLink, 1);
    controls.linkButton = new MyButton(0, QStringLiteral("Link..."), container);
    controls.linkButton->setFocusPolicy(Qt::NoFocus);
    row->addWidget(controls.linkButton);
    controls.NewWindow = new MyCheckBox(0, QStringLiteral("New Window"), container);
    controls.NewWindow->setFocusPolicy(Qt::NoFocus);
    row->addWidget(controls.NewWindow);
    return controls;
}

QZTextEditor::QZTextEditor(QObject* parent)
    : QObject(parent)
    , normalFont(lq::Font::helvetica(12))
    , headingFont(lq::Font::helvetica(18))
    , subheadingFont(lq::Font::helvetica(15))
    , captionFont(lq::Font::helvetica(13))
{
    pstyle.tabStops = lq::standardTabStops();
    pstyle.paragraphSpacing = 0;
    const lq::Font times(QStringLiteral("Times Roman"), 13);
    if (times.isInstalled())
        captionFont = times;
    if (!normalFont.isInstalled())
        lq::log(QStringLiteral("No Helvetica Font installed"));
}

QZTextEditor::~QZTextEditor()
{
    letViewGo();
}

QZTextEditor* QZTextEditor::editorOf(QWidget* widget)
{
    for (QWidget* view = widget; view; view = view->parentWidget()) {
        if (auto* editor = qobject_cast<QZTextEditor*>(view->property(editorProperty).value<QObject*>()))
            return editor;
    }
    return nullptr;
}

void QZTextEditor::setControls(const Controls& controls)
{
    _controls = controls;
    const auto onClick = [this](QAbstractButton* button, const char* name, void (QZTextEditor::*action)()) {
        if (button)
            lq::connectAction(button, &QAbstractButton::clicked, this, name, [this, action] { (this->*action)(); });
    };
    onClick(_controls.pNormal, "normal:", &QZTextEditor::normal);
    onClick(_controls.pHeading, "heading:", &QZTextEditor::heading);
    onClick(_controls.pBold, "bold:", &QZTextEditor::bold);
    onClick(_controls.pItalic, "italic:", &QZTextEditor::italic);
    onClick(_controls.pUnderline, "underline:", &QZTextEditor::underline);
    onClick(_controls.pLeft, "left:", &QZTextEditor::left);
    onClick(_controls.pCenter, "center:", &QZTextEditor::center);
    onClick(_controls.pRight, "right:", &QZTextEditor::right);
    onClick(_controls.NewWindow, "clickNew:", &QZTextEditor::clickNew);
    onClick(_controls.linkButton, "easyLink:", &QZTextEditor::easyLink);
    if (_controls.RTLButton) {
        lq::connectAction(_controls.RTLButton, &QAbstractButton::clicked, this, "rtl:",
                          [this] { rtl(_controls.RTLButton->isChecked()); });
    }
    if (_controls.fStyle)
        lq::connectAction(_controls.fStyle, &QComboBox::activated, this, "fontStyle:", [this] { fontStyle(); });
    if (_controls.lLink) {
        lq::connectAction(_controls.lLink, &QLineEdit::textEdited, this, "controlTextDidChange:",
                          [this] { controlTextDidChange(); });
    }
}

// --- The view --------------------------------------------------------------------------------

void QZTextEditor::setCtv(lq::TextView* view)
{
    lq::uiFrame(this, "setCtv:", [&] {
        if (view == _ctv)
            return;
        letViewGo();
        _ctv = view;
        connectView();
    });
}

void QZTextEditor::setCtvInContainer(lq::TextView* view, const std::shared_ptr<lq::TextContainer>& container)
{
    lq::uiFrame(this, "setCtv:", [&] {
        letViewGo();
        if (view && container) {
            view->attachTextContainer(container);
            _attachedToContainer = true;
        }
        _ctv = view;
        connectView();
    });
}

void QZTextEditor::letViewGo()
{
    for (const QMetaObject::Connection& connection : std::as_const(_viewConnections))
        QObject::disconnect(connection);
    _viewConnections.clear();
    if (_ctv) {
        if (_ctv->property(editorProperty).value<QObject*>() == this)
            _ctv->setProperty(editorProperty, QVariant());
        if (auto* own = qobject_cast<MyTextView*>(_ctv.data()))
            own->setPasteFilter(nullptr);
        if (_attachedToContainer)
            _ctv->detachTextStorage();
    }
    _attachedToContainer = false;
    _ctv = nullptr;
    _textViewFirstResponder = false;
}

void QZTextEditor::connectView()
{
    if (!_ctv)
        return;
    lq::TextView* view = _ctv;
    view->setProperty(editorProperty, QVariant::fromValue<QObject*>(this));
    _viewConnections << connect(view, &QTextEdit::cursorPositionChanged, this, [this] {
        lq::uiFrame(this, "textViewDidChangeTypingAttributes:", [&] { textViewDidChangeTypingAttributes(); });
    });
    _viewConnections << connect(view, &QTextEdit::currentCharFormatChanged, this, [this] {
        lq::uiFrame(this, "textViewDidChangeTypingAttributes:", [&] { textViewDidChangeTypingAttributes(); });
    });
    _viewConnections << connect(view->document(), &QTextDocument::contentsChange, this,
                                [this](int position, int removed, int added) {
                                    lq::uiFrame(this, "textStorageWillProcessEditing:", [&] {
                                        textStorageWillProcessEditing(position, removed, added);
                                    });
                                });
    _viewConnections << connect(view->document(), &QTextDocument::contentsChanged, this, [this] {
        lq::uiFrame(this, "textStorageDidProcessEditing:", [&] { textStorageDidProcessEditing(); });
    });
    if (auto* own = qobject_cast<MyTextView*>(view)) {
        _viewConnections << connect(own, &MyTextView::becameFirstResponder, this, [this] { _textViewFirstResponder = true; });
        _viewConnections << connect(own, &MyTextView::resignedFirstResponder, this, [this] { _textViewFirstResponder = false; });
        own->setPasteFilter([this](MyTextView*) { reduceToStoredText(); });
    }
    _textViewFirstResponder = view->hasFocus();
}

void QZTextEditor::reduceToStoredText()
{
    lq::uiFrame(this, "readSelectionFromPasteboard:type:", [&] {
        const std::shared_ptr<XmlBase> scratch = XmlBase::create();
        scratch->setHaveContent(true);
        saveMyTextView(scratch.get());
        loadMyTextView(scratch.get());
    });
}

void QZTextEditor::setLinkTarget(LinkTarget* target)
{
    _linkTarget = target;
    displayLinkParams();
}

lq::Font QZTextEditor::fontForKind(int kind) const
{
    switch (kind) {
    case 1:
        return headingFont;
    case 2:
        return subheadingFont;
    case 3:
        return captionFont;
    case 4:
        return alternateFont.value_or(normalFont);
    case 5:
        return alternate2Font.value_or(normalFont);
    default:
        return normalFont;
    }
}

int QZTextEditor::lineSpacingForKind(int kind) const
{
    switch (kind) {
    case 1:
        return _headingLS;
    case 2:
        return _subheadingLS;
    case 3:
        return _captionLS;
    case 4:
        return _alternateLS;
    case 5:
        return _alternate2LS;
    default:
        return _normalLS;
    }
}

// --- Controls ------------------------------------------------------------------------------------

void QZTextEditor::enableRTL(bool enabled)
{
    setShown(_controls.RTLButton, enabled);
}

void QZTextEditor::setFontStyles(const QStringList& titles)
{
    lq::uiFrame(this, "setFontStyles:", [&] {
        const bool shown = !titles.isEmpty();
        for (QWidget* control : std::initializer_list<QWidget*> { _controls.fStyle, _controls.pUnderline, _controls.pItalic,
                                                                  _controls.pBold, _controls.pLeft, _controls.pCenter,
                                                                  _controls.pRight })
            setShown(control, shown);
        if (_controls.fStyle && shown) {
            const QSignalBlocker quiet(_controls.fStyle);
            _controls.fStyle->clear();
            _controls.fStyle->addItems(titles);
        }
    });
}

void QZTextEditor::setControlsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*> {
             _controls.pNormal, _controls.pHeading, _controls.pUnderline, _controls.pItalic, _controls.pBold,
             _controls.pLeft, _controls.pCenter, _controls.pRight, _controls.lLink, _controls.NewWindow,
             _controls.fStyle, _controls.RTLButton, _controls.linkButton }) {
        if (control)
            control->setEnabled(enabled);
    }
}

bool QZTextEditor::hasParagraphKindControls() const
{
    return _controls.fStyle || _controls.pHeading || _controls.pNormal;
}

// --- Loading and storing -----------------------------------------------------------------------

lq::StyledText QZTextEditor::readStoredText(const QString& stored) const
{
    lq::StyledText text;
    EditorSink sink(*this, pstyle, hasParagraphKindControls(), text);
    StoredTextTokenizer::read(stored, sink);
    return text;
}

void QZTextEditor::loadMyTextView(XmlBase* element)
{
    lq::modelFrame(this, "loadMyTextView:", [&] {
        if (!element) {
            if (_ctv) {
                _ctv->setReadOnly(true);
                const SuppressedChanges quiet(_document);
                _ctv->setStyledText(lq::StyledText());
            }
            setControlsEnabled(false);
            return;
        }
        setControlsEnabled(true);
        if (!_ctv)
            return;
        _ctv->setReadOnly(false);
        const SuppressedChanges quiet(*element);
        const lq::StyledText text = readStoredText(element->content());
        _ctv->setStyledText(text);
        _ctv->setSelectedRange(element->selectedRange());
        if (text.isEmpty()) {
            normal();
            left();
        }
        textViewDidChangeTypingAttributes();
    });
}

void QZTextEditor::saveMyTextView(XmlBase* element)
{
    lq::uiFrame(this, "saveMyTextView:", [&] {
        if (!element || !_ctv)
            return;
        const SuppressedChanges quiet(*element);
        element->setSelectedRange(_ctv->selectedRange());
        element->setContent(createContent());
    });
}

void QZTextEditor::liveUpdateGetContent(XmlBase* element)
{
    lq::uiFrame(this, "liveUpdateGetContent:", [&] {
        if (element && _ctv)
            element->setContent(createContent());
    });
}

QString QZTextEditor::createContent() const
{
    if (!_ctv)
        return QStringLiteral("");
    return writeStoredText(_ctv->styledText(), hasParagraphKindControls());
}

// --- Actions ---------------------------------------------------------------------------------------

lq::Range QZTextEditor::paragraphRange() const
{
    return _ctv->styledText().lineContentsRangeForRange(_ctv->selectedRange());
}

lq::ParagraphStyle QZTextEditor::paragraphStyle(int alignment, int direction, int kind) const
{
    lq::ParagraphStyle style = pstyle;
    style.alignment = alignment == 1 ? lq::TextAlignment::Right
        : alignment == 2             ? lq::TextAlignment::Center
                                     : lq::TextAlignment::Left;
    style.baseWritingDirection = direction == 1 ? lq::WritingDirection::RightToLeft : lq::WritingDirection::LeftToRight;
    style.lineSpacing = lineSpacingForKind(kind);
    return style;
}

void QZTextEditor::toggleStyle(bool& flag, const std::function<void(lq::Range)>& applyToSelection)
{
    if (!_ctv)
        return;
    flag = !flag;
    const lq::Range selection = _ctv->selectedRange();
    if (selection.length == 0) {
        setTypingAttributes();
        return;
    }
    EditingGroup group(*_ctv);
    applyToSelection(selection);
}

void QZTextEditor::bold()
{
    lq::uiFrame(this, "bold:", [&] {
        toggleStyle(_cBold, [this](lq::Range selection) {
            lq::TextAttributes font;
            font.font = _ctv->attributesAt(selection.location).font.value_or(fontForKind(_cParagraphType)).withBold(_cBold);
            _ctv->addAttributes(font, selection);
        });
    });
}

void QZTextEditor::italic()
{
    lq::uiFrame(this, "italic:", [&] {
        toggleStyle(_cItalic, [this](lq::Range selection) {
            lq::TextAttributes font;
            font.font =
                _ctv->attributesAt(selection.location).font.value_or(fontForKind(_cParagraphType)).withItalic(_cItalic);
            _ctv->addAttributes(font, selection);
        });
    });
}

void QZTextEditor::underline()
{
    lq::uiFrame(this, "underline:", [&] {
        toggleStyle(_cUnderline, [this](lq::Range selection) {
            if (_cUnderline) {
                lq::TextAttributes underlined;
                underlined.underlineStyle = 1;
                _ctv->addAttributes(underlined, selection);
            } else {
                _ctv->removeAttribute(lq::TextKey::underlineStyle, selection);
            }
        });
    });
}

void QZTextEditor::changeAlignment(int alignment)
{
    lq::uiFrame(this, "changeAlignment:", [&] {
        if (!_ctv)
            return;
        lq::TextAttributes style;
        style.paragraphStyle = paragraphStyle(alignment, _cDirection, _cParagraphType);
        {
            EditingGroup group(*_ctv);
            _ctv->addAttributes(style, paragraphRange());
        }
        // An empty paragraph has no character to carry the style: typing does.
        setTypingAttributes();
    });
}

void QZTextEditor::alignAndShow(int alignment)
{
    _cAlignment = alignment;
    changeAlignment(alignment);
    showAlignment(alignment);
}

void QZTextEditor::showAlignment(int alignment)
{
    setChecked(_controls.pLeft, alignment != 1 && alignment != 2);
    setChecked(_controls.pRight, alignment == 1);
    setChecked(_controls.pCenter, alignment == 2);
}

void QZTextEditor::left()
{
    alignAndShow(0);
}

void QZTextEditor::center()
{
    alignAndShow(2);
}

void QZTextEditor::right()
{
    alignAndShow(1);
}

void QZTextEditor::rtl(bool rightToLeft)
{
    _cDirection = rightToLeft ? 1 : 0;
    changeAlignment(_cAlignment);
}

void QZTextEditor::applyParagraphKind(int kind, const std::optional<lq::ParagraphStyle>& style)
{
    if (!_ctv)
        return;
    lq::TextAttributes attributes;
    attributes.font = fontForKind(kind);
    attributes.setValue(lq::TextKey::paragraphKind, kind);
    attributes.paragraphStyle = style;
    {
        EditingGroup group(*_ctv);
        _ctv->addAttributes(attributes, paragraphRange());
    }
    _cParagraphType = kind;
    _cBold = false;
    _cItalic = false;
    _cUnderline = false;
    setTypingAttributes();
    showParagraphKind(kind);
}

void QZTextEditor::showParagraphKind(int kind)
{
    setChecked(_controls.pNormal, kind == 0);
    setChecked(_controls.pHeading, kind == 1);
}

void QZTextEditor::normal()
{
    lq::uiFrame(this, "normal:", [&] { applyParagraphKind(0, std::nullopt); });
}

void QZTextEditor::heading()
{
    lq::uiFrame(this, "heading:", [&] { applyParagraphKind(1, std::nullopt); });
}

bool QZTextEditor::menuCommand(int tag)
{
    switch (tag) {
    case TextMenuTag::bold: bold(); return true;
    case TextMenuTag::italic: italic(); return true;
    case TextMenuTag::underline: underline(); return true;
    case TextMenuTag::heading: heading(); return true;
    case TextMenuTag::normal: normal(); return true;
    case TextMenuTag::left: left(); return true;
    case TextMenuTag::center: center(); return true;
    case TextMenuTag::right: right(); return true;
    default: return false;
    }
}

void QZTextEditor::fontStyle()
{
    if (_controls.fStyle)
        fontStyleInt(_controls.fStyle->currentIndex());
}

void QZTextEditor::fontStyleInt(int kind)
{
    lq::uiFrame(this, "fontStyleInt:", [&] {
        const int known = kind >= 0 && kind <= 5 ? kind : 0;
        applyParagraphKind(known, paragraphStyle(_cAlignment, _cDirection, known));
    });
}

void QZTextEditor::setTypingAttributes()
{
    lq::uiFrame(this, "setTypingAttributes", [&] {
        if (!_ctv)
            return;
        const int kind = _cParagraphType >= 0 && _cParagraphType <= 5 ? _cParagraphType : 0;
        lq::TextAttributes typing;
        typing.paragraphStyle = paragraphStyle(_cAlignment, _cDirection, kind);
        typing.font = fontForKind(kind).withBold(_cBold).withItalic(_cItalic);
        typing.setValue(lq::TextKey::paragraphKind, kind);
        if (_cUnderline)
            typing.underlineStyle = 1;
        _ctv->setTypingAttributes(typing);
    });
}

// --- Links -----------------------------------------------------------------------------------------

QString QZTextEditor::linkText(const QVariant& link) const
{
    if (link.typeId() == QMetaType::QString)
        return link.toString();
    if (!isPageNumber(link) || !_document)
        return QString();
    const long long number = link.toLongLong();
    for (const std::shared_ptr<XmlBase>& item : _document->webItems()) {
        if (XmlAlbum* page = XmlAlbum::cast(item.get()); page && page->pageSeqNumber() == number)
            return page->externalLink();
    }
    return QString();
}

void QZTextEditor::displayLinkParams()
{
    lq::uiFrame(this, "displayLinkParams", [&] {
        const QVariant link = _linkTarget ? _linkTarget->getLink() : _link;
        const int newWindow = _linkTarget ? _linkTarget->getNewWindow() : _newWindow;
        // The field the user is typing into is not written over.
        if (_controls.lLink && !_editingLinkField)
            _controls.lLink->setText(linkText(link));
        setChecked(_controls.NewWindow, link.isValid() && newWindow != 0);
    });
}

void QZTextEditor::controlTextDidChange()
{
    if (!_controls.lLink)
        return;
    const QScopedValueRollback editing(_editingLinkField, true);
    const QString text = _controls.lLink->text();
    const int newWindow = _controls.NewWindow && _controls.NewWindow->isChecked() ? 1 : 0;
    if (text.isEmpty())
        linkNewWindow(QVariant(), 0);
    else
        linkNewWindow(lq::magicLinkMaker(text), newWindow);
}

void QZTextEditor::linkNewWindow(const QVariant& link, int newWindow)
{
    lq::uiFrame(this, "link:newWindow:", [&] {
        if (_linkTarget) {
            _linkTarget->setLink(link);
            _linkTarget->setNewWindow(newWindow);
            return;
        }
        if (!_ctv)
            return;
        const lq::StyledText text = _ctv->styledText();
        const lq::Range selection = _ctv->selectedRange();
        if (text.isEmpty() || selection.location >= text.length())
            return;
        lq::Range range = selection;
        if (range.length == 0) {
            range = text.attributesAt(selection.location).contains(lq::TextKey::link)
                ? text.longestEffectiveRange(lq::TextKey::link, selection.location)
                : wordRangeAt(text.string(), selection.location);
        }
        if (range.length == 0)
            return;
        const bool address = link.typeId() == QMetaType::QString && !link.toString().isEmpty();
        if (link.isValid() && !address && !isPageNumber(link))
            return;
        EditingGroup group(*_ctv);
        if (!link.isValid()) {
            _ctv->removeAttribute(lq::TextKey::link, range);
            _ctv->removeAttribute(lq::TextKey::linkNewWindow, range);
            _ctv->removeAttribute(lq::TextKey::foregroundColour, range);
            return;
        }
        lq::TextAttributes linked;
        linked.foregroundColour = linkColour;
        linked.setValue(lq::TextKey::link, link);
        linked.setValue(lq::TextKey::linkNewWindow, newWindow != 0 ? 1 : 0);
        _ctv->addAttributes(linked, range);
    });
}

void QZTextEditor::clickNew()
{
    setLinkNewWindow(_controls.NewWindow && _controls.NewWindow->isChecked() ? 1 : 0);
}

void QZTextEditor::setLinkNewWindow(int newWindow)
{
    lq::uiFrame(this, "setLinkNewWindow:", [&] {
        if (_linkTarget) {
            _linkTarget->setNewWindow(newWindow);
            return;
        }
        if (!_ctv)
            return;
        const lq::StyledText text = _ctv->styledText();
        const quint32 at = _ctv->selectedRange().location;
        if (at >= text.length() || !text.attributesAt(at).contains(lq::TextKey::link))
            return;
        lq::TextAttributes flag;
        flag.setValue(lq::TextKey::linkNewWindow, newWindow != 0 ? 1 : 0);
        _ctv->addAttributes(flag, text.longestEffectiveRange(lq::TextKey::link, at));
    });
}

QVariant QZTextEditor::link() const
{
    return _linkTarget ? _linkTarget->getLink() : _link;
}

void QZTextEditor::easyLink()
{
    if (_easyLinkOpener)
        _easyLinkOpener->easyLink(this);
}

void QZTextEditor::setEasyLink(const QVariant& link)
{
    lq::uiFrame(this, "setEasyLink:", [&] {
        linkNewWindow(link, _controls.NewWindow && _controls.NewWindow->isChecked() ? 1 : 0);
        if (_controls.lLink)
            _controls.lLink->setText(linkText(link));
    });
}

// --- What the view reports ----------------------------------------------------------------------

void QZTextEditor::textViewDidChangeTypingAttributes()
{
    if (!_ctv)
        return;
    // A selection shows the attributes of its first character.
    const lq::Range selection = _ctv->selectedRange();
    const lq::TextAttributes typing =
        selection.length > 0 ? _ctv->attributesAt(selection.location) : _ctv->typingAttributes();
    _cAlignment = 0;
    _cDirection = 0;
    if (typing.paragraphStyle) {
        const int code = typing.paragraphStyle->alignmentCode();
        _cAlignment = code == 1 || code == 2 ? code : 0;
        _cDirection = typing.paragraphStyle->baseWritingDirection == lq::WritingDirection::RightToLeft ? 1 : 0;
    }
    _cBold = typing.font && typing.font->isBold();
    _cItalic = typing.font && typing.font->isItalic();
    _cParagraphType = typing.value(lq::TextKey::paragraphKind).toInt();
    _cUnderline = typing.isUnderlined();
    _link = typing.value(lq::TextKey::link);
    _newWindow = typing.value(lq::TextKey::linkNewWindow).toInt();

    showParagraphKind(_cParagraphType);
    setChecked(_controls.pBold, _cBold);
    setChecked(_controls.pItalic, _cItalic);
    setChecked(_controls.pUnderline, _cUnderline);
    setChecked(_controls.RTLButton, _cDirection == 1);
    showAlignment(_cAlignment);
    if (_controls.fStyle && _cParagraphType >= 0 && _controls.fStyle->count() > _cParagraphType) {
        const QSignalBlocker quiet(_controls.fStyle);
        _controls.fStyle->setCurrentIndex(_cParagraphType);
    }
    displayLinkParams();
}

void QZTextEditor::textStorageWillProcessEditing(int position, int charsRemoved, int charsAdded)
{
    if (!_ctv)
        return;
    QTextDocument* document = _ctv->document();
    // A space typed right after a link ends the link.
    if (charsAdded == 1 && charsRemoved == 0 && document->characterAt(position) == u' ') {
        const lq::StyledText text = _ctv->styledText();
        const quint32 index = lq::indexForDocumentPosition(document, position);
        lq::Range run;
        if (index < text.length() && text.attributesAt(index, &run).contains(lq::TextKey::link)
            && run.end() == quint64(index) + 1) {
            const lq::Range space { index, 1 };
            _ctv->removeAttribute(lq::TextKey::link, space);
            _ctv->removeAttribute(lq::TextKey::linkNewWindow, space);
            _ctv->removeAttribute(lq::TextKey::foregroundColour, space);
        }
    }
    if (_document)
        _document->updateChangeCount(DocumentBase::ChangeDone);
}

void QZTextEditor::textStorageDidProcessEditing()
{
    if (_liveUpdate)
        _liveUpdate();
}
