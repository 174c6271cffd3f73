// The content box's layout and geometry: the page's text laid out around
// the floating photos, and the height the text takes on the page.
#include "elements/XmlWebContent.h"

#include "elements/QZTextContainer.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlFooter.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <algorithm>

// --- Layout ------------------------------------------------------------------------------------

void XmlWebContent::createTextLayoutStuff()
{
    if (_lm)
        return;
    _contents = std::make_shared<lq::StyledText>();
    _lm = std::make_unique<lq::LayoutManager>();
    _lm->setTextStorage(_contents);
    _stc = std::make_shared<QZTextContainer>();
    _stc->setContainerSize(QSizeF(unboundedExtent, unboundedExtent));
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
        page = pageOrCurrentAlbum(page, remembered);
        if (!page)
            return;

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
