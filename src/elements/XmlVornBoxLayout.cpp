// The Vorn Box's geometry and text layout: a movie's measured size, and
// the rich text laid out in the content box's fonts.
#include "elements/XmlVornBox.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/PreviewView.h"
#include "platform/Strings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlWebFont.h"

#include <cmath>

using namespace lq::literals;

// --- Geometry ----------------------------------------------------------------------------------

bool XmlVornBox::heightFixed() const
{
    return isQuickTime() ? false : XmlWebText::heightFixed();
}

bool XmlVornBox::widthFixed() const
{
    return isQuickTime() ? false : XmlWebText::widthFixed();
}

int XmlVornBox::width() const
{
    if (!isQuickTime())
        return XmlWebText::width();
    // Summed in single precision in this order, then cut to whole pixels.
    float sum = movieWidth();
    sum += float(_bl);
    sum += float(_pl);
    sum += float(_pr);
    sum += float(_br);
    return lq::truncatedPixel(sum);
}

int XmlVornBox::height() const
{
    if (!isQuickTime())
        return XmlWebText::height();
    float sum = movieHeight();
    sum += float(_bt);
    sum += float(_pt);
    sum += float(_bb);
    sum += float(_pb);
    return lq::truncatedPixel(sum);
}

int XmlVornBox::calcWidth() const
{
    return isQuickTime() ? width() : XmlWebText::calcWidth();
}

int XmlVornBox::calcHeight() const
{
    return isQuickTime() ? height() : XmlWebText::calcHeight();
}

int XmlVornBox::internalHeight() const
{
    return isQuickTime() ? lq::truncatedPixel(_settings.qtSize().height) : XmlWebText::internalHeight();
}

// --- Text --------------------------------------------------------------------------------------

void XmlVornBox::createTextLayoutStuff()
{
    if (_contents)
        return;
    _contents = std::make_shared<lq::StyledText>();
    _lm = std::make_unique<lq::LayoutManager>();
    _lm->setTextStorage(_contents);
    _tc = std::make_shared<lq::TextContainer>(QSizeF(unboundedExtent, unboundedExtent));
    _tc->setLineFragmentPadding(0);
    _lm->addTextContainer(_tc);
}

void XmlVornBox::setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment alignment,
                                            const QString& tag)
{
    lq::modelFrame(this, "setUpParagraph:alignment:tag:", [&] {
        pstyle = lq::ParagraphStyle::defaultStyle();
        pstyle.tabStops = lq::standardTabStops();
        pstyle.paragraphSpacing = 0;
        const auto take = [&](const std::shared_ptr<XmlWebFont>& record, const std::optional<lq::Font>& concrete,
                              int kind) {
            // Without a content box there is no record: no line spacing.
            pstyle.lineSpacing = record ? std::trunc(double(record->lineSpacing())) : 0;
            currentFont = concrete;
            currentWebFont = record;
            paragraphType = kind;
        };
        if (tag == u"p"_sv)
            take(font(), normalFont, 0);
        else if (tag == u"h1"_sv || tag == u"h3"_sv)
            take(heading(), headingFont, 1);
        else if (tag == u"h2"_sv)
            take(subheading(), subheadingFont, 2);
        else if (tag == u"h4"_sv)
            take(caption(), captionFont, 3);
        alignParagraph(attributes, alignment);
    });
}

void XmlVornBox::relayoutFlags(XmlBase* page, int flags)
{
    try {
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(vornSeqNum()) : nullptr) {
                const lq::Rect outer = objectRect();
                view->setFrame(lq::Rect(outer.x() + float(_bl + _pl), outer.y() + float(_bt + _pt),
                                        outer.width() - float(_bl + _pl + _br + _pr),
                                        outer.height() - float(_bt + _pt + _bb + _pb)));
            }
            return;
        }
        if (type() != 1 || flags != 0)
            return;
        std::shared_ptr<XmlAlbum> remembered;
        page = pageOrCurrentAlbum(page, remembered);
        if (!page)
            return;

        createTextLayoutStuff();
        _tc->setContainerSize(QSizeF(internalRect().width(), unboundedExtent));
        const auto concrete = [](const std::shared_ptr<XmlWebFont>& record) -> std::optional<lq::Font> {
            if (!record)
                return std::nullopt;
            return record->createFont();
        };
        normalFont = concrete(font());
        headingFont = concrete(heading());
        subheadingFont = concrete(subheading());
        captionFont = concrete(caption());

        clearLinks();
        _contents->setText(getAttributedStringWithAlignmentAttr(content(), lq::TextAlignment::Left, 0));
        _lm->glyphRangeForTextContainer(_tc.get());

        DocumentBase* document = myDocument();
        if (!document)
            return;
        document->clearTrackingDataForObject(UUID());
        const lq::Point origin = internalRect().origin;
        for (const QString& rangeText : links()) {
            lq::Range remaining = lq::Range::fromString(rangeText);
            // One rectangle per pass, until the glyphs found cover the range.
            while (remaining.length > 0) {
                lq::Range covered;
                const lq::Range glyphs = _lm->glyphRangeForCharacterRange(remaining, &covered);
                if (glyphs.length == 0 || covered.length == 0)
                    break;
                const QRectF area = _lm->boundingRectForGlyphRange(glyphs, _tc.get());
                document->addTrackingDataForObjectDataRect(UUID(), rangeText,
                                                           lq::Rect(area).offset(origin.x, origin.y));
                if (covered.end() >= remaining.end())
                    break;
                remaining = lq::Range { quint32(covered.end()), quint32(remaining.end() - covered.end()) };
            }
        }
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("widget error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}
