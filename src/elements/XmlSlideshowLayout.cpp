// The slideshow's geometry: the box or the selected control it answers
// for and the controls' rectangles; its text on the page: the controls'
// labels and the caption, laid out in the control font and the element's
// font, with the click areas of the controls.
#include "elements/XmlSlideshow.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using elements::toFloat;

// --- Box geometry --------------------------------------------------------------------------------

int XmlSlideshow::top() const
{
    if (!controlSelected())
        return XmlWebText::top();
    return lq::truncatedPixel(_settings.controlRect(_currentControl).y());
}

int XmlSlideshow::left() const
{
    if (!controlSelected())
        return XmlWebText::left();
    return lq::truncatedPixel(_settings.controlRect(_currentControl).x());
}

int XmlSlideshow::width() const
{
    if (!controlSelected())
        return XmlWebText::width();
    return lq::truncatedPixel(_settings.controlRect(_currentControl).width());
}

int XmlSlideshow::height() const
{
    if (!controlSelected())
        return XmlWebText::height();
    return lq::truncatedPixel(_settings.controlRect(_currentControl).height());
}

bool XmlSlideshow::controlSelected() const
{
    const int shownStyle = _settings.style();
    return _currentControl != -1 && shownStyle != 0 && shownStyle != 2;
}

void XmlSlideshow::setSelectedControlComponent(int component, int value)
{
    lq::Rect rect = _settings.controlRect(_currentControl);
    switch (component) {
    case 0:
        rect.origin.y = toFloat(value);
        break;
    case 1:
        rect.origin.x = toFloat(value);
        break;
    case 2:
        rect.size.width = toFloat(value);
        break;
    default:
        rect.size.height = toFloat(value);
        break;
    }
    _settings.setControlRectForIndex(rect, _currentControl);
}

void XmlSlideshow::setTop(int top)
{
    lq::modelFrame(this, "setTop:", [&] {
        if (!controlSelected())
            XmlWebText::setTop(top);
        else
            setSelectedControlComponent(0, top);
    });
}

void XmlSlideshow::setLeft(int left)
{
    lq::modelFrame(this, "setLeft:", [&] {
        if (!controlSelected())
            XmlWebText::setLeft(left);
        else
            setSelectedControlComponent(1, left);
    });
}

void XmlSlideshow::setWidth(int width)
{
    lq::modelFrame(this, "setWidth:", [&] {
        if (!controlSelected())
            XmlWebText::setWidth(width);
        else
            setSelectedControlComponent(2, width);
    });
}

void XmlSlideshow::setHeight(int height)
{
    lq::modelFrame(this, "setHeight:", [&] {
        if (!controlSelected())
            XmlWebText::setHeight(height);
        else
            setSelectedControlComponent(3, height);
    });
}

// --- Controls ----------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlSlideshow::controlFont() const
{
    for (const XmlBasePtr& child : children()) {
        if (XmlWebFont::cast(child.get()) && child->name() == u"control")
            return std::static_pointer_cast<XmlWebFont>(child);
    }
    return nullptr;
}

void XmlSlideshow::calcControlObjects()
{
    lq::modelFrame(this, "calcControlObjects", [&] {
        const int shownStyle = style();
        if (shownStyle == 1 || shownStyle == 3)
            return;
        // An element read before its control font was made measures its own font.
        std::shared_ptr<XmlWebFont> record = controlFont();
        if (!record)
            record = font();
        const int lineHeight = record->lineHeight();
        const int rowHeight = lq::truncatedPixel(lineHeight * 1.5);
        const int captionHeight = _settings.showCaptions() == 0 ? rowHeight : lineHeight * (_settings.captionLines() - 1) + rowHeight;

        QStringList rects;
        const bool playShown = (shownStyle == 0 && _settings.showPlayControls()) || (shownStyle == 2 && _settings.showBeforeAfterControls());
        const int mask = (_settings.showPrevNextControls() ? 1 : 0) + (playShown ? 2 : 0) + (_settings.showIndexLabel() ? 4 : 0);
        // Columns per mask: count, then previous, next, index link, play.
        static constexpr int columns[8][5] = {
            { 4, 2, 3, 1, 0 }, { 2, 0, 1, 1, 0 }, { 4, 2, 3, 1, 0 }, { 3, 1, 2, 1, 0 },
            { 1, 2, 3, 0, 0 }, { 3, 1, 2, 0, 0 }, { 2, 2, 3, 1, 0 }, { 4, 2, 3, 1, 0 },
        };
        const int* row = columns[mask];
        const int count = row[0];
        const lq::Rect inner = internalRect();
        const int innerWidth = internalWidth();
        const int innerLeft = internalLeft();
        for (int control = 0; control < 4; ++control) {
            const int x = innerLeft + (innerWidth * row[control + 1]) / count;
            rects.append(lq::rectToString(lq::Rect(toFloat(x), inner.y(), toFloat(innerWidth / count), toFloat(rowHeight))));
        }
        rects.append(lq::rectToString(lq::Rect(toFloat(innerLeft), toFloat(internalTop() + internalHeight() - captionHeight),
                                                   toFloat(innerWidth), toFloat(captionHeight))));
        lq::Rect picture = inner;
        if (playShown || _settings.showPrevNextControls() || _settings.showIndexLabel()) {
            picture.origin.y += toFloat(rowHeight);
            picture.size.height -= toFloat(rowHeight);
        }
        if (_settings.showCaptions() != 0)
            picture.size.height -= toFloat(captionHeight);
        rects.append(lq::rectToString(picture));
        _settings.setControlRects(rects);
    });
}

// --- Visibility and layout -----------------------------------------------------------------------

bool XmlSlideshow::baseVisibility()
{
    return lq::modelFrame(this, "baseVisibility", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album || album->numberPhotos() == 0)
            return false;
        if (typeid(*album) == typeid(XmlGroup))
            return false;
        XmlWebPhotoAlbum* element = _settings.photoAlbum();
        return element && element->visible() && element->clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowElement;
    });
}

bool XmlSlideshow::visible()
{
    return lq::modelFrame(this, "visible", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album || album->numberPhotos() == 0)
            return false;
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
        if (sheet && sheet->view() == XmlStyleSheet::View::Slideshow)
            return true;
        return baseVisibility();
    });
}

XmlSlideshow::TextSystem* XmlSlideshow::controlText(int index) const
{
    switch (index) {
    case Previous:
        return _prev.get();
    case Next:
        return _next.get();
    case IndexLink:
        return _link.get();
    case Play:
        return _play.get();
    default:
        return nullptr;
    }
}

void XmlSlideshow::relayoutFlags(XmlBase* page, int flags)
{
    // The canvas lays the element out while it draws: a failure is logged
    // with the element's XML and goes no further.
    try {
        layoutRelayout(page, flags);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("slideshow error: ") + failure.name() + QStringLiteral(": ") + failure.reason());
        lq::log(createXml());
    }
}

// --- Text on the page ------------------------------------------------------------------------------

namespace {

// The caption container's height: tall enough for any caption.
constexpr qreal captionContainerHeight = 10000.0;

} // namespace

void XmlSlideshow::makeTextSystems()
{
    if (!_lm) {
        _contents = std::make_shared<lq::StyledText>();
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_contents);
        _tc = std::make_shared<lq::TextContainer>(QSizeF(1000000.0, 1000000.0));
        _tc->setLineFragmentPadding(0);
        _lm->addTextContainer(_tc);
    }
    if (!_prev) {
        _prev = std::make_unique<TextSystem>();
        _link = std::make_unique<TextSystem>();
        _next = std::make_unique<TextSystem>();
        _play = std::make_unique<TextSystem>();
    }
}

void XmlSlideshow::setControlText(TextSystem& system, const QString& label)
{
    std::shared_ptr<XmlWebFont> record = controlFont();
    if (!record)
        record = font();
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = record->createFont();
    attributes.foregroundColour = record->fontColor();
    attributes.underlineStyle = record->underline() ? 1 : 0;
    system.textStorage()->setText(lq::StyledText(label, attributes));
}

void XmlSlideshow::setCaptionText(const QString& caption)
{
    const std::shared_ptr<XmlWebFont> record = font();
    const int bits = (record->underline() ? 4 : 0) + (record->italic() ? 1 : 0) + (record->bold() ? 2 : 0);
    normalFont = record->createFont();
    clearLinks();
    _contents->setText(getAttributedStringWithAlignmentAttr(caption, record->textAlignment(), bits));
}

void XmlSlideshow::layoutRelayout(XmlBase* page, int flags)
{
    if (flags != 0)
        return;
    std::shared_ptr<XmlAlbum> current;
    page = pageOrCurrentAlbum(page, current);
    if (!page)
        return;
    calcControlObjects();
    const int first = firstPictureInSlideshow();
    if (first >= numberChildren(page))
        return;
    makeTextSystems();

    const int shownStyle = style();
    setControlText(*_prev, _settings.prevLabel());
    setControlText(*_link, _settings.indexLabel());
    setControlText(*_next, _settings.nextLabel());
    setControlText(*_play, shownStyle == 0 || shownStyle == 1 ? _settings.playLabel() : _settings.afterLabel());
    setCaptionText(textCaption());

    for (int index : { Previous, IndexLink, Next, Play }) {
        TextSystem* system = controlText(index);
        const lq::Rect rect = _settings.controlRect(index);
        system->textContainer()->setContainerSize(QSizeF(rect.width(), rect.height()));
        system->layoutManager().glyphRangeForTextContainer(system->textContainer().get());
    }
    _tc->setContainerSize(QSizeF(_settings.controlRect(Caption).width(), captionContainerHeight));
    _lm->glyphRangeForTextContainer(_tc.get());

    DocumentBase* document = myDocument();
    if (document) {
        document->clearTrackingDataForObject(UUID());
        const auto track = [&](int index, const char* word) {
            TextSystem* system = controlText(index);
            if (system->textStorage()->isEmpty())
                return;
            lq::LayoutManager& lm = system->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(system->textContainer().get());
            QRectF bounds = lm.boundingRectForGlyphRange(glyphs, system->textContainer().get());
            const lq::Rect rect = _settings.controlRect(index);
            bounds.translate(rect.x(), rect.y());
            document->addTrackingDataForObjectDataRect(UUID(), QLatin1String(word), lq::Rect(bounds));
        };
        if (_settings.showIndexLabel())
            track(IndexLink, "link");
        if (_settings.showPrevNextControls()) {
            track(Previous, "prev");
            track(Next, "next");
        }
        if ((shownStyle == 0 || shownStyle == 1) && _settings.showPlayControls())
            track(Play, "play");
    }

    _slideA = -1;
    const int selected = document ? document->globalIndex() : -1;
    _slideB = selected == -1 ? first : selected;
}
