// The slideshow's text on the page: the controls' labels and the caption,
// laid out in the control font and the element's font, with the click
// areas of the controls.
#include "elements/SlideshowLayout.h"

#include "elements/XmlSlideshow.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlWebFont.h"

namespace {

// The caption container's height: tall enough for any caption.
constexpr qreal captionContainerHeight = 10000.0;

} // namespace

void SlideshowLayout::makeTextSystems()
{
    if (!_slideshow._lm) {
        _slideshow._contents = std::make_shared<lq::StyledText>();
        _slideshow._lm = std::make_unique<lq::LayoutManager>();
        _slideshow._lm->setTextStorage(_slideshow._contents);
        _slideshow._tc = std::make_shared<lq::TextContainer>(QSizeF(1000000.0, 1000000.0));
        _slideshow._tc->setLineFragmentPadding(0);
        _slideshow._lm->addTextContainer(_slideshow._tc);
    }
    if (!_slideshow._prev) {
        _slideshow._prev = std::make_unique<XmlSlideshow::TextSystem>();
        _slideshow._link = std::make_unique<XmlSlideshow::TextSystem>();
        _slideshow._next = std::make_unique<XmlSlideshow::TextSystem>();
        _slideshow._play = std::make_unique<XmlSlideshow::TextSystem>();
    }
}

void SlideshowLayout::setControlText(XmlSlideshow::TextSystem& system, const QString& label)
{
    std::shared_ptr<XmlWebFont> record = _slideshow.controlFont();
    if (!record)
        record = _slideshow.font();
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = record->createFont();
    attributes.foregroundColour = record->fontColor();
    attributes.underlineStyle = record->underline() ? 1 : 0;
    system.textStorage()->setText(lq::StyledText(label, attributes));
}

void SlideshowLayout::setCaptionText(const QString& caption)
{
    const std::shared_ptr<XmlWebFont> record = _slideshow.font();
    const int bits = (record->underline() ? 4 : 0) + (record->italic() ? 1 : 0) + (record->bold() ? 2 : 0);
    _slideshow.normalFont = record->createFont();
    _slideshow.clearLinks();
    _slideshow._contents->setText(_slideshow.getAttributedStringWithAlignmentAttr(caption, record->textAlignment(), bits));
}

void SlideshowLayout::layoutRelayout(XmlBase* page, int flags)
{
    if (flags != 0)
        return;
    std::shared_ptr<XmlAlbum> current;
    page = _slideshow.pageOrCurrentAlbum(page, current);
    if (!page)
        return;
    _slideshow.calcControlObjects();
    const int first = _slideshow.firstPictureInSlideshow();
    if (first >= _slideshow.numberChildren(page))
        return;
    makeTextSystems();

    const int shownStyle = _slideshow.style();
    setControlText(*_slideshow._prev, _slideshow._prevLabel);
    setControlText(*_slideshow._link, _slideshow._indexLabel);
    setControlText(*_slideshow._next, _slideshow._nextLabel);
    setControlText(*_slideshow._play, shownStyle == 0 || shownStyle == 1 ? _slideshow._playLabel : _slideshow._afterLabel);
    setCaptionText(_slideshow.textCaption());

    for (int index : { XmlSlideshow::Previous, XmlSlideshow::IndexLink, XmlSlideshow::Next, XmlSlideshow::Play }) {
        XmlSlideshow::TextSystem* system = _slideshow.controlText(index);
        const lq::Rect rect = _slideshow.controlRect(index);
        system->textContainer()->setContainerSize(QSizeF(rect.width(), rect.height()));
        system->layoutManager().glyphRangeForTextContainer(system->textContainer().get());
    }
    _slideshow._tc->setContainerSize(QSizeF(_slideshow.controlRect(XmlSlideshow::Caption).width(), captionContainerHeight));
    _slideshow._lm->glyphRangeForTextContainer(_slideshow._tc.get());

    DocumentBase* document = _slideshow.myDocument();
    if (document) {
        document->clearTrackingDataForObject(_slideshow.UUID());
        const auto track = [&](int index, const char* word) {
            XmlSlideshow::TextSystem* system = _slideshow.controlText(index);
            if (system->textStorage()->isEmpty())
                return;
            lq::LayoutManager& lm = system->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(system->textContainer().get());
            QRectF bounds = lm.boundingRectForGlyphRange(glyphs, system->textContainer().get());
            const lq::Rect rect = _slideshow.controlRect(index);
            bounds.translate(rect.x(), rect.y());
            document->addTrackingDataForObjectDataRect(_slideshow.UUID(), QLatin1String(word), lq::Rect(bounds));
        };
        if (_slideshow._showIndexLabel)
            track(XmlSlideshow::IndexLink, "link");
        if (_slideshow._showPrevNextControls) {
            track(XmlSlideshow::Previous, "prev");
            track(XmlSlideshow::Next, "next");
        }
        if ((shownStyle == 0 || shownStyle == 1) && _slideshow._showPlayControls)
            track(XmlSlideshow::Play, "play");
    }

    _slideshow._slideA = -1;
    const int selected = document ? document->globalIndex() : -1;
    _slideshow._slideB = selected == -1 ? first : selected;
}
