#include "elements/XmlWebContent.h"

#include "elements/QZTextContainer.h"
#include "elements/StoredTextTokenizer.h"
#include "elements/StoredTextWriter.h"
#include "elements/XmlWebFooter.h"
#include "elements/XmlWebText.h"
#include "model/core/DocumentBase.h"
#include "model/core/TextEditorBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlFooter.h"
#include "model/site/XmlContent.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <algorithm>
#include <utility>

namespace {

// The strip at the right and the bottom that a drop shadow takes.
constexpr int shadowStrip = 8;

// The text container's extent: wide and high enough never to run out of room.
constexpr qreal unbounded = 1000000.0;

// Record names by paragraph type.
const QString& recordName(int type)
{
    static const QString names[] = { QStringLiteral("default"), QStringLiteral("Content Heading"),
                                     QStringLiteral("Content Subheading"), QStringLiteral("Content Caption"),
                                     QStringLiteral("Content Alternate"), QStringLiteral("Content Alternate2") };
    return names[type >= 0 && type <= 5 ? type : 0];
}

// Tag names written in pages by paragraph type (any other type: p).
QString pageTag(int type)
{
    return paragraphTagForKind(type);
}

// The rules of the positioned lines and of the flowing text, one per
// paragraph kind that the page's CSS styles.
struct StyledKind {
    int type;
    const char* tag;
    const char* fontCheckId;
};
constexpr StyledKind styledKinds[] = { { 0, "p", "cp" }, { 1, "h1", "ch1" }, { 2, "h2", "ch2" }, { 3, "h4", "ch4" } };

bool isBlankTabOrNewline(QChar c)
{
    return c == u'\t' || c == u' ' || c == u'\n';
}

} // namespace

XmlWebContent::XmlWebContent(Key key)
    : XmlBoxModel(key)
{
    _heightFixed = true;
    _widthFixed = true;
    _absolute = true;
}

std::shared_ptr<XmlWebContent> XmlWebContent::create()
{
    return make<XmlWebContent>();
}

QString XmlWebContent::elementName() const
{
    return QStringLiteral("cssWebContent");
}

bool XmlWebContent::enabled()
{
    return true;
}

bool XmlWebContent::isFooter() const
{
    return typeid(*this) == typeid(XmlWebFooter);
}

XmlStyleSheet* XmlWebContent::sheet() const
{
    return XmlStyleSheet::cast(_parent);
}

bool XmlWebContent::browserFlow() const
{
    XmlStyleSheet* owner = sheet();
    return owner && owner->browserFlow();
}

// --- Stored form -------------------------------------------------------------------------------

void XmlWebContent::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"underlineLinks")
            _underlineLinks = lq::intValue(value) != 0;
        else if (key == u"linkNormal")
            _linkNormal = stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"linkHover")
            _linkHover = stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"linkVisited")
            _linkVisited = stringToColor(value).value_or(lq::Colour::black());
        else if (key == u"fontsHaveData")
            _fontsHaveLinkData = true;
        else if (key == u"extendPage")
            setExtendPage(lq::intValue(value) != 0);
        else if (key == u"normalLS")
            _normalLS = lq::intValue(value);
        else if (key == u"headingLS")
            _headingLS = lq::intValue(value);
        else
            XmlBoxModel::setAttributeTo(key, value);
    });
}

void XmlWebContent::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBoxModel::appendAttributes(xml);
        xml += QString::asprintf(" underlineLinks=\"%d\"", underlineLinks() ? 1 : 0);
        xml += QStringLiteral(" linkNormal=\"") + colorToCSSString(linkNormal()) + u'"';
        xml += QStringLiteral(" linkHover=\"") + colorToCSSString(linkHover()) + u'"';
        xml += QStringLiteral(" linkVisited=\"") + colorToCSSString(linkVisited()) + u'"';
        xml += QStringLiteral(" fontsHaveData=\"1\"");
        xml += QString::asprintf(" extendPage=\"%d\"", _extendPage ? 1 : 0);
    });
}

void XmlWebContent::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        addFontName(QString(), QStringLiteral("Content Heading"))->setFontSize(16);
        XmlBoxModel::newDocument();
    });
}

void XmlWebContent::postload()
{
    lq::modelFrame(this, "postload", [&] {
        if (_normalLS != 0) {
            font()->setLineSpacing(_normalLS);
            _normalLS = 0;
        }
        if (_headingLS != 0) {
            heading()->setLineSpacing(_headingLS);
            _headingLS = 0;
        }
        if (!_fontsHaveLinkData) {
            for (const std::shared_ptr<XmlWebFont>& record : { font(), heading(), subheading(), caption() }) {
                record->setUnderlineLinks(_underlineLinks);
                record->setLinkNormal(_linkNormal);
                record->setLinkHover(_linkHover);
                record->setLinkClicked(_linkVisited);
            }
        }
        for (const std::shared_ptr<XmlWebFont>& record : { font(), heading() }) {
            record->setBold(false);
            record->setUnderline(false);
            record->setItalic(false);
        }
        XmlBoxModel::postload();
    });
}

// --- Font records ------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlWebContent::fontNamed(const QString& name)
{
    return lq::modelFrame(this, "fontNamed:", [&] {
        for (const XmlBasePtr& child : children()) {
            if (XmlWebFont::cast(child.get()) && child->name() == name)
                return std::static_pointer_cast<XmlWebFont>(child);
        }
        return addFontName(QString(), name);
    });
}

std::shared_ptr<XmlWebFont> XmlWebContent::heading() { return fontNamed(recordName(1)); }
std::shared_ptr<XmlWebFont> XmlWebContent::subheading() { return fontNamed(recordName(2)); }
std::shared_ptr<XmlWebFont> XmlWebContent::caption() { return fontNamed(recordName(3)); }
std::shared_ptr<XmlWebFont> XmlWebContent::alternate() { return fontNamed(recordName(4)); }
std::shared_ptr<XmlWebFont> XmlWebContent::alternate2() { return fontNamed(recordName(5)); }

std::shared_ptr<XmlWebFont> XmlWebContent::fontForType(int type)
{
    return type >= 1 && type <= 5 ? fontNamed(recordName(type)) : font();
}

bool XmlWebContent::underlineLinks() { return font()->underlineLinks(); }
lq::Colour XmlWebContent::linkNormal() { return font()->linkNormal(); }
lq::Colour XmlWebContent::linkHover() { return font()->linkHover(); }
lq::Colour XmlWebContent::linkVisited() { return font()->linkClicked(); }

void XmlWebContent::setExtendPage(bool extend)
{
    lq::modelFrame(this, "setExtendPage:", [&] {
        _extendPage = extend;
        docChanged();
    });
}

// --- Layout ------------------------------------------------------------------------------------

void XmlWebContent::createTextLayoutStuff()
{
    if (_lm)
        return;
    _contents = std::make_shared<lq::StyledText>();
    _lm = std::make_unique<lq::LayoutManager>();
    _lm->setTextStorage(_contents);
    _stc = std::make_shared<QZTextContainer>();
    _stc->setContainerSize(QSizeF(unbounded, unbounded));
    _stc->setLineFragmentPadding(0);
    _tc = _stc;
    _lm->addTextContainer(_tc);
}

void XmlWebContent::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        XmlBoxModel::cleanup();
        _stc.reset();
    });
}

void XmlWebContent::clearFloatRects()
{
    lq::modelFrame(this, "clearFloatRects", [&] {
        createTextLayoutStuff();
        _stc->clearFloatingRects();
    });
}

void XmlWebContent::addFloatRect(const QString& rect)
{
    lq::modelFrame(this, "addFloatRect:", [&] {
        createTextLayoutStuff();
        _stc->addFloatingRect(rect);
    });
}

XmlBase* XmlWebContent::textSource(XmlBase* page) const
{
    XmlAlbum* album = XmlAlbum::cast(page);
    if (!album)
        return nullptr;
    if (isFooter())
        return album->footer();
    return album->webcontent().get();
}

void XmlWebContent::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure is logged with the
    // box's XML and goes no further; the box keeps the text and layout it
    // had reached.
    try {
        std::shared_ptr<XmlAlbum> remembered;
        if (!page) {
            remembered = getCurrentAlbum();
            page = remembered.get();
            if (!page)
                return;
        }
        setCurrentAlbum(page);

        if (flags == 0) {
            createTextLayoutStuff();
            _stc->setBoundingRect(internalRect());
            if (XmlStyleSheet* owner = sheet())
                _stc->setPaddingTopLeftBottomRight(owner->verticalSpace(), owner->horizontalSpace(),
                                                   owner->verticalSpace(), owner->horizontalSpace());
            normalFont = font()->createFont();
            headingFont = heading()->createFont();
            subheadingFont = subheading()->createFont();
            captionFont = caption()->createFont();
            alternateFont = alternate()->createFont();
            alternate2Font = alternate2()->createFont();
            // A page without the text element shows no paragraph.
            XmlBase* source = textSource(page);
            const QString text = source ? source->content() : QStringLiteral("Error");
            const lq::StyledText laidOut = getAttributedStringWithAlignment(text, true);
            _contents->setText(laidOut);
        } else if (_lm) {
            // The same text again: its links keep their ranges.
            _lm->invalidateLayout();
        }
        if (!_lm)
            return;

        _lm->glyphRangeForTextContainer(_tc.get());

        if (DocumentBase* document = myDocument()) {
            document->clearTrackingDataForObject(UUID());
            const lq::Point origin = _stc->boundingRect().origin;
            for (const QString& range : links()) {
                const lq::Range link = lq::Range::fromString(range);
                const lq::Range glyphs = _lm->glyphRangeForCharacterRange(link);
                const QRectF area = _lm->boundingRectForGlyphRange(glyphs, _tc.get());
                if (area.isNull())
                    continue;
                document->addTrackingDataForObjectDataRect(
                    UUID(), range, lq::Rect(area).offset(origin.x, origin.y));
            }
        }
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("webcontent error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

void XmlWebContent::layoutManagerDidCompleteLayoutForTextContainerAtEnd(lq::LayoutManager*,
                                                                        lq::TextContainer* container, bool)
{
    lq::modelFrame(this, "layoutManager:didCompleteLayoutForTextContainer:atEnd:", [&] {
        if (!container)
            return;
        const int height = lq::truncatedPixel(container->containerSize().height());
        if (height == _textContentsHeight)
            return;
        _textContentsHeight = height;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (XmlStyleSheet* owner = sheet())
            owner->relayoutFlags(page.get(), 2);
        if (DocumentBase* document = myDocument())
            document->layoutViewSelectedObjectRefresh();
    });
}

// --- Reading and writing the text -------------------------------------------------------------

// The text element that reads the box's stored text and writes the runs of
// its paragraphs, as every text element reads and writes them. Particular to
// the box: each paragraph takes the font record of its tag, aligned left
// unless its attributes say otherwise, and links take the record's link
// colour, underlined as the record says. An owned part of the box (never one
// of its children), so that page numbers of links are looked up in the box's
// document.
class XmlWebContent::TextHelper : public XmlWebText {
public:
    explicit TextHelper(Key key)
        : XmlWebText(key)
    {
    }
    static std::shared_ptr<TextHelper> create(XmlWebContent& box)
    {
        auto helper = make<TextHelper>();
        helper->_box = &box;
        helper->setParent(&box);
        return helper;
    }

    void setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment, const QString& tag) override
    {
        lq::modelFrame(this, "setUpParagraph:alignment:tag:", [&] {
            XmlWebText::setUpParagraphAlignmentTag(attributes, lq::TextAlignment::Left, tag);
            const int type = paragraphKindForTag(tag);
            const std::optional<lq::Font>* fonts[] = { &_box->normalFont, &_box->headingFont, &_box->subheadingFont,
                                                       &_box->captionFont, &_box->alternateFont, &_box->alternate2Font };
            currentWebFont = _box->fontForType(type);
            currentFont = *fonts[type];
            paragraphType = type;
            pstyle.lineSpacing = currentWebFont->lineSpacing();
        });
    }

protected:
    bool linksFollowRecordStyle() const override { return true; }

private:
    XmlWebContent* _box = nullptr;
};

XmlWebContent::~XmlWebContent()
{
    // The helper may outlive the box in other hands; it must not point back at it.
    if (_text)
        _text->setParent(nullptr);
}

XmlWebText& XmlWebContent::textHelper()
{
    if (!_text)
        _text = TextHelper::create(*this);
    return *_text;
}

lq::StyledText XmlWebContent::getAttributedStringWithAlignment(const QString& text, bool)
{
    // The layout always asks for alignment: each paragraph is aligned as its
    // attributes say.
    return lq::modelFrame(this, "getAttributedString:withAlignment:", [&] {
        XmlWebText& helper = textHelper();
        helper.clearLinks();
        return helper.getAttributedStringWithAlignmentAttr(text, lq::TextAlignment::Left, 0);
    });
}

const QStringList& XmlWebContent::links()
{
    return textHelper().links();
}

// --- Geometry ----------------------------------------------------------------------------------

int XmlWebContent::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        return calcWidth() - _bl - _br - (dropShadow() ? shadowStrip : 0) - _pl - _pr;
    });
}

int XmlWebContent::textBottom() const
{
    const QRectF used = _lm->usedRectForTextContainer(_tc.get());
    return lq::truncatedPixel(used.y() + used.height());
}

int XmlWebContent::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        // Never laid out yet: the first question lays the text out once.
        if (!_contents)
            const_cast<XmlWebContent*>(this)->relayoutFlags(nullptr, 0);
        if (!_contents || !_lm)
            return 0;
        const int stored = height() - _bt - _bb - _pt - _pb - (dropShadow() ? shadowStrip : 0);
        int inner = std::max(textBottom(), stored);
        if (elementName() == u"cssWebContent" && _extendPage) {
            const int pageBottom = lq::truncatedPixel(static_cast<double>(_pageBounds.y()) + _pageBounds.height());
            inner = std::max(inner, pageBottom - top() - _bt - _bb - _pt - _pb);
        }
        return inner;
    });
}

int XmlWebContent::actualHeight() const
{
    return lq::modelFrame(this, "actualHeight", [&] {
        return internalHeight() + _bt + _bb + _pt + _pb + (dropShadow() ? shadowStrip : 0);
    });
}

int XmlWebContent::bottomOfText()
{
    return lq::modelFrame(this, "bottomOfText", [&] {
        if (!_contents)
            relayoutFlags(nullptr, 0);
        if (!_contents || !_lm)
            return 0;
        return textBottom() + internalTop() + _pb;
    });
}

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

// --- Page HTML ---------------------------------------------------------------------------------

int XmlWebContent::getHTMLtags(const lq::TextAttributes& attributes)
{
    return textHelper().getHTMLtags(attributes);
}

void XmlWebContent::pushStack(int bit)
{
    textHelper().pushStack(bit);
}

int XmlWebContent::popStack()
{
    return textHelper().popStack();
}

QString XmlWebContent::createHTMLfromAttributedStringAtRect(const lq::StyledText& text, const lq::Rect& rect)
{
    return lq::modelFrame(this, "createHTMLfromAttributedString:atRect:", [&] {
        if (text.isEmpty())
            return QString();
        const bool flow = browserFlow();
        const lq::TextAttributes first = text.attributesAt(0);
        int type = first.value(lq::TextKey::type).toInt();
        if (type < 0 || type > 5)
            type = 0;
        const QString tag = pageTag(type);
        QString html = u'<' + tag;

        if (!flow) {
            QString fontCheckId;
            if (isFooter())
                fontCheckId = type == 0 ? QStringLiteral("fp") : QString();
            else if (type <= 3)
                fontCheckId = QString::fromLatin1(styledKinds[type].fontCheckId);
            XmlStyleSheet* owner = sheet();
            if (!fontCheckId.isEmpty() && owner && !owner->addFontBag(fontCheckId))
                html += QStringLiteral(" id=\"") + fontCheckId + u'"';
        }
        const lq::ParagraphStyle paragraph = first.paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle());
        if (paragraph.baseWritingDirection == lq::WritingDirection::RightToLeft)
            html += QStringLiteral(" dir=\"rtl\"");

        const int x = lq::truncatedPixel(rect.x());
        const int y = lq::truncatedPixel(rect.y());
        const int width = lq::truncatedPixel(rect.width());
        if (paragraph.alignment == lq::TextAlignment::Right)
            html += flow ? QStringLiteral(" style=\"text-align: right;\">")
                         : QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: right;\">",
                                             y, x - 200, width + 200);
        else if (paragraph.alignment == lq::TextAlignment::Center)
            html += flow ? QStringLiteral(" style=\"text-align: center;\">")
                         : QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; text-align: center;\">",
                                             y, x - 100, width + 200);
        else
            html += flow ? QStringLiteral(">") : QString::asprintf(" style=\"top: %dpx; left: %dpx;\">", y, x);

        appendRunsOfText(html, text, flow);
        html += QStringLiteral("</") + tag + QStringLiteral(">\n");
        return html;
    });
}

void XmlWebContent::appendRunsOfText(QString& html, const lq::StyledText& text, bool flow)
{
    QString runs;
    textHelper().appendRunsOfString(runs, text);
    // The browser wraps flowing text itself and ignores tabs.
    if (flow)
        runs.replace(QStringLiteral("&#009;"), QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"));
    html += runs;
}

void XmlWebContent::appendFlowParagraphs(QString& html)
{
    const QString& string = _contents->string();
    quint32 start = 0;
    while (start <= _contents->length()) {
        const qsizetype end = string.indexOf(u'\n', start);
        const quint32 stop = end < 0 ? _contents->length() : quint32(end);
        html += createHTMLfromAttributedStringAtRect(_contents->substring({ start, stop - start }), lq::Rect());
        if (end < 0)
            break;
        start = stop + 1;
    }
}

void XmlWebContent::appendHTMLPagePassSheet(QString& html, XmlBase*, int pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        const bool flow = browserFlow();
        const bool footer = isFooter();
        XmlWebFooter* self = footer ? static_cast<XmlWebFooter*>(this) : nullptr;
        const bool snippet = self && self->useHtmlSnippet();

        if (pass == -1) {
            if (flow)
                return;
            if (footer) {
                const std::shared_ptr<XmlWebFont> record = font();
                html += QString::asprintf("fc.addfs(\"fp\", %d, %d, \"#footer p\");\n", record->lineHeight(),
                                          record->fontSize());
                return;
            }
            for (const StyledKind& kind : styledKinds) {
                const std::shared_ptr<XmlWebFont> record = fontForType(kind.type);
                html += QString::asprintf("fc.addfs(\"%s\", %d, %d, \"div.content %s\");\n", kind.fontCheckId,
                                          record->lineHeight(), record->fontSize(), kind.tag);
            }
            return;
        }

        if (pass == 3) {
            const int flowWidth = calcWidth() - _bl - _br - _pl - _pr;
            if (snippet) {
                html += QString::asprintf("<div id=\"footerbox\" style=\"top: %dpx; left:%dpx; width: %dpx; height: %dpx;\">\n",
                                          calcTop(), calcLeft(), flowWidth, calcHeight() - _bt - _bb - _pt - _pb);
                html += self->htmlSnippet()->content();
                html += QStringLiteral("</div>\n");
                return;
            }
            if (!flow) {
                html += htmlDivTagsVornStyle(footer ? QStringLiteral("footerbox") : QStringLiteral("contentbox"), QString());
                return;
            }
            if (!_contents)
                relayoutFlags(nullptr, 0);
            if (footer) {
                html += QString::asprintf("<div id=\"footerbox\" style=\"top: %dpx; left:%dpx; width: %dpx;\">\n",
                                          calcTop(), calcLeft(), flowWidth);
                if (!_contents || _contents->isEmpty())
                    html += QStringLiteral("<p>&nbsp;</p>");
                else
                    appendFlowParagraphs(html);
                html += QStringLiteral("</div>\n");
                return;
            }
            html += QString::asprintf("<div id=\"contentbox\" class=\"vornhtml\" style=\"top: %dpx; left:%dpx; width: %dpx;\">\n",
                                      calcTop(), calcLeft(), flowWidth);
            if (_stc)
                _stc->createHTMLfloatsMaxheight(html, static_cast<float>(actualHeight() - _pt - _pb));
            if (_contents)
                appendFlowParagraphs(html);
            html += QStringLiteral("</div>\n");
            return;
        }

        if (pass == 15) {
            if (!flow && !snippet)
                appendPositionedLines(html);
            if (self && self->createdWith()) {
                html += QString::asprintf("<div id=\"createwithbox\" style=\"top: %dpx; left: %dpx; height: 31px; "
                                          "position: absolute; display: block;\">",
                                          calcTop() + internalHeight() + 50, calcLeft() + calcWidth() / 2 - 50);
                html += QStringLiteral("<a href=\"https://lumenquill.org/\">"
                                       "<img border=\"0\" src=\"createdwith.gif\" alt=\"Created With...\" height=\"31\" width=\"99\"/>"
                                       "</a>&#160;&#160;</div>\n");
            }
            return;
        }

        if (pass == 19 && self && self->createdWith())
            html += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"createdwith.gif\" />");
    });
}

void XmlWebContent::appendPositionedLines(QString& html)
{
    html += isFooter() ? QStringLiteral("<div id=\"footer\">\n") : QStringLiteral("<div class=\"content\">\n");
    if (!_contents)
        relayoutFlags(nullptr, 0);
    if (_contents && _lm) {
        const QString& string = _contents->string();
        const lq::Point origin = _stc->boundingRect().origin;
        for (const lq::LineFragment& line : _lm->lineFragmentsForTextContainer(_tc.get())) {
            quint32 start = line.characterRange.location;
            quint32 end = quint32(line.characterRange.end());
            while (start < end) {
                if (isBlankTabOrNewline(string[end - 1])) {
                    --end;
                    continue;
                }
                if (isBlankTabOrNewline(string[start])) {
                    ++start;
                    continue;
                }
                qsizetype tab = string.indexOf(u'\t', start);
                const quint32 stop = tab < 0 || quint32(tab) > end ? end : quint32(tab);
                const lq::Range piece { start, stop - start };
                const QRectF bounds = _lm->boundingRectForGlyphRange(_lm->glyphRangeForCharacterRange(piece), _tc.get());
                html += createHTMLfromAttributedStringAtRect(_contents->substring(piece),
                                                             lq::Rect(bounds).offset(origin.x, origin.y));
                start = stop;
            }
        }
    }
    html += QStringLiteral("</div>\n");
}

// --- Template CSS ------------------------------------------------------------------------------

void XmlWebContent::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#contentbox {");
        appendCSSBorders(css);
        appendCSSBackground(css);
        if (browserFlow())
            appendCSSPadding(css);
        css += QStringLiteral("display: block; ");
        css += QStringLiteral("position: absolute; ");
        css += QStringLiteral("}\n");
        css += QStringLiteral("div.lf { float:left; clear: left; display: block; margin: 0px; padding:0px; border:none; "
                              "background:none; line-height: 1px; font-size: 1px;}\n");
        css += QStringLiteral("div.rf { float:right; clear: right; display: block; margin: 0px; padding:0px; border:none; "
                              "background:none; line-height: 1px; font-size: 1px;}\n");
        // The positioned lines, then the flowing text.
        const auto rules = [&](const QString& division, const QString& declarations) {
            for (const StyledKind& kind : styledKinds) {
                const std::shared_ptr<XmlWebFont> record = fontForType(kind.type);
                const QString selector = division + QLatin1String(kind.tag);
                css += selector + QStringLiteral(" {") + declarations;
                record->appendCSSFontParameters(css);
                css += QStringLiteral("}\n");
                record->appendCSSLinkParametersTag(css, selector);
            }
        };
        rules(QStringLiteral("div.content "),
              QStringLiteral("position: absolute; white-space: nowrap; display: block; margin: 0px; "));
        rules(QStringLiteral("div.vornhtml "), QStringLiteral("margin: 0px; "));
    });
}

void XmlWebContent::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#contentbox"), suffix);
    });
}
