// The content box on the layout canvas: drawing, the pointer over links,
// and in-place editing of the page's text.
#include "elements/XmlWebContent.h"

#include "elements/QZTextContainer.h"
#include "elements/StoredTextWriter.h"
#include "model/core/DocumentBase.h"
#include "model/core/TextEditorBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlWebFont.h"

#include <utility>

// --- Canvas ------------------------------------------------------------------------------------

void XmlWebContent::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        lq::Rect rect = objectRect();
        rect.size.height = static_cast<float>(actualHeight());
        XmlBoxModel::drawObject(rect);
    });
}

// --- Link feedback -----------------------------------------------------------------------------

namespace {

// The range of the data when it lies within the text.
std::optional<lq::Range> linkRangeIn(const lq::StyledText* text, const QString& data)
{
    const lq::Range range = lq::Range::fromString(data);
    if (!text || range.length == 0 || range.end() > text->length())
        return std::nullopt;
    return range;
}

} // namespace

void XmlWebContent::showLinkColour(const QString& data, const lq::Colour& (XmlWebFont::*colour)() const)
{
    const std::optional<lq::Range> range = linkRangeIn(_contents.get(), data);
    if (!range || !_lm)
        return;
    if (colour) {
        // Headings, subheadings and captions have link colours of their own;
        // every other paragraph takes the "default" record's.
        const int type = _contents->attributesAt(range->location).value(lq::TextKey::type).toInt();
        _lm->addTemporaryForegroundColour((fontForType(type <= 3 ? type : 0).get()->*colour)(), *range);
    } else {
        _lm->removeTemporaryForegroundColour(*range);
    }
    if (DocumentBase* document = myDocument())
        document->redisplayRect(objectRect());
}

void XmlWebContent::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] { showLinkColour(data, &XmlWebFont::linkHover); });
}

void XmlWebContent::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] { showLinkColour(data, &XmlWebFont::linkClicked); });
}

void XmlWebContent::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] { showLinkColour(data, nullptr); });
}

void XmlWebContent::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const std::optional<lq::Range> range = linkRangeIn(_contents.get(), data);
        if (!range)
            return;
        // A page number whose page is gone left no location: nothing opens.
        const QVariant location = _contents->attributesAt(range->location).value(lq::TextKey::linkLocation);
        if (!location.isValid())
            return;
        XmlBoxModel::mouseClick(location.toString());
    });
}

// --- In-place editing --------------------------------------------------------------------------

bool XmlWebContent::startEditingAtPointTextView(const lq::Point&, lq::TextView* textView)
{
    return lq::modelFrame(this, "startEditingAtPoint:textView:", [&] {
        if (!canDoubleClick() || isEditing())
            return false;
        createTextLayoutStuff();
        // The text is edited in black whatever its colours on the page.
        lq::TextAttributes black;
        black.foregroundColour = lq::Colour::black();
        _contents->addAttributes(black, { 0, _contents->length() });
        // The text view wraps at the width of the text area only: while it
        // edits, the text is laid out in a plain rectangle, and the floating
        // rectangles come back when the edit ends.
        _floatsWhileEditing = _stc->floatingRects();
        _stc->clearFloatingRects();
        _editing = true;
        if (textView)
            handTextToEditor(textView);
        return true;
    });
}

void XmlWebContent::handTextToEditor(lq::TextView* textView)
{
    DocumentBase* document = myDocument();
    TextEditorBase* editor = document ? document->getTextEditorController() : nullptr;
    if (!editor)
        return;
    _textEditor = editor;
    editor->setCtvInContainer(textView, _tc);
    // The fonts of the last full layout, or the records' own before one.
    const auto concrete = [this](const std::optional<lq::Font>& laidOut, int type) {
        return laidOut ? *laidOut : fontForType(type)->createFont().value_or(lq::Font());
    };
    const auto spacing = [this](int type) { return fontForType(type)->lineSpacing(); };
    editor->setNormalFont(concrete(normalFont, 0));
    editor->setNormalLS(spacing(0));
    if (isFooter()) {
        editor->setFontStyles({ QStringLiteral("Footer") });
    } else {
        editor->setHeadingFont(concrete(headingFont, 1));
        editor->setSubheadingFont(concrete(subheadingFont, 2));
        editor->setCaptionFont(concrete(captionFont, 3));
        editor->setAlternateFont(concrete(alternateFont, 4));
        editor->setAlternate2Font(concrete(alternate2Font, 5));
        editor->setHeadingLS(spacing(1));
        editor->setSubheadingLS(spacing(2));
        editor->setCaptionLS(spacing(3));
        editor->setAlternateLS(spacing(4));
        editor->setAlternate2LS(spacing(5));
        editor->setFontStyles({ QStringLiteral("Normal"), QStringLiteral("Heading"), QStringLiteral("Subheading"),
                                QStringLiteral("Caption"), QStringLiteral("Alternate"), QStringLiteral("Alternate 2") });
    }
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    if (XmlBase* source = textSource(page.get()))
        editor->loadMyTextView(source);
}

bool XmlWebContent::isEditing()
{
    return lq::modelFrame(this, "isEditing", [&] { return _editing || (_tc && _tc->textView() != nullptr); });
}

lq::Rect XmlWebContent::editingFrame()
{
    return lq::modelFrame(this, "editingFrame", [&] {
        return lq::Rect(static_cast<float>(internalLeft()), static_cast<float>(internalTop()),
                        static_cast<float>(2 * internalWidth()), static_cast<float>(internalHeight()));
    });
}

void XmlWebContent::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (!canDoubleClick() || !_editing)
            return;
        _editing = false;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        XmlBase* source = textSource(page.get());
        if (TextEditorBase* editor = std::exchange(_textEditor, nullptr)) {
            if (source)
                editor->saveMyTextView(source);
            editor->setCtv(nullptr);
        } else if (source && _contents) {
            source->setContent(writeStoredText(*_contents));
        }
        if (_stc && _floatsWhileEditing) {
            for (const QString& rect : *_floatsWhileEditing)
                _stc->addFloatingRect(rect);
        }
        _floatsWhileEditing.reset();
        relayoutFlags(page.get(), 0);
        XmlBoxModel::endEditingInView();
    });
}

int XmlWebContent::getCharacterPositionForPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "getCharacterPositionForPoint:", [&] {
        const float y = point.y - static_cast<float>(internalTop());
        if (y > static_cast<float>(internalHeight()) || !_lm)
            return -1;
        for (const lq::LineFragment& line : _lm->lineFragmentsForTextContainer(_tc.get())) {
            if (y < line.rect.y() + line.rect.height())
                return static_cast<int>(line.characterRange.location);
        }
        return -1;
    });
}

int XmlWebContent::getBlockAlignForPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "getBlockAlignForPoint:", [&] {
        const float x = point.x - static_cast<float>(internalLeft());
        const float width = static_cast<float>(internalWidth());
        if (x < width / 3)
            return 0;
        if (x < width * 2 / 3)
            return 1;
        return 2;
    });
}

int XmlWebContent::previousParagraph(int index)
{
    return lq::modelFrame(this, "previousParagraph:", [&] {
        if (!_contents || _contents->isEmpty())
            return 0;
        const quint32 length = _contents->length();
        const quint32 at = index < 0 || quint32(index) >= length ? length - 1 : quint32(index);
        const lq::Range paragraph = _contents->paragraphRangeForRange({ at, 0 });
        if (paragraph.location == 0)
            return 0;
        return static_cast<int>(_contents->paragraphRangeForRange({ paragraph.location - 1, 0 }).location);
    });
}

int XmlWebContent::nextParagraph(int index)
{
    return lq::modelFrame(this, "nextParagraph:", [&] {
        if (index < 0 || !_contents || quint32(index) >= _contents->length())
            return -1;
        const lq::Range paragraph = _contents->paragraphRangeForRange({ quint32(index), 0 });
        if (paragraph.end() >= _contents->length())
            return -1;
        return static_cast<int>(paragraph.end());
    });
}
