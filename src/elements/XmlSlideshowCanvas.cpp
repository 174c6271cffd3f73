// The slideshow on the layout canvas: hit tests, the clicks on its
// controls, the editor's preview that plays the slides, and drawing.
#include "elements/XmlSlideshow.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/imaging/XmlCanvas.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/Resources.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlPictureFrame.h"

#include <QImage>

#include <algorithm>

using elements::toFloat;

// --- Hit testing -----------------------------------------------------------------------------------

XmlCSSPtr XmlSlideshow::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (!visible())
            return nullptr;
        _currentControl = -1;
        const int shownStyle = style();
        const auto self = [&] { return std::static_pointer_cast<XmlCSS>(sharedFromThis()); };
        if (shownStyle == 1 || shownStyle == 3) {
            const auto hit = [&](int index) {
                if (!_settings.controlRect(index).contains(point))
                    return false;
                _currentControl = index;
                return true;
            };
            if ((_settings.showPrevNextControls() && (hit(Previous) || hit(Next))) || (_settings.showIndexLabel() && hit(IndexLink))
                || (shownStyle == 1 && _settings.showPlayControls() && hit(Play)) || (_settings.showCaptions() != 0 && hit(Caption))
                || hit(PictureBox))
                return self();
        }
        if (objectRect().contains(point))
            return self();
        return nullptr;
    });
}

QStringList XmlSlideshow::objectRectArray()
{
    return lq::modelFrame(this, "objectRectArray", [&] {
        QStringList rects;
        rects.append(lq::rectToString(onOwnBox([&] { return objectRect(); })));
        const int shownStyle = style();
        if (shownStyle == 1 || shownStyle == 3) {
            if (_settings.showPrevNextControls()) {
                rects.append(lq::rectToString(_settings.controlRect(Previous)));
                rects.append(lq::rectToString(_settings.controlRect(Next)));
            }
            if (_settings.showIndexLabel())
                rects.append(lq::rectToString(_settings.controlRect(IndexLink)));
            if (shownStyle == 1 && _settings.showPlayControls())
                rects.append(lq::rectToString(_settings.controlRect(Play)));
            if (_settings.showCaptions() != 0)
                rects.append(lq::rectToString(_settings.controlRect(Caption)));
            if (_settings.showBkgndBox())
                rects.append(lq::rectToString(_settings.controlRect(PictureBox)));
        }
        return rects;
    });
}

bool XmlSlideshow::canDoubleClick()
{
    return false;
}

// --- Editor clicks and preview ---------------------------------------------------------------------

void XmlSlideshow::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!album)
            return;
        const int count = album->numberChildren();
        const int first = firstPictureInSlideshow();
        if (data == u"link") {
            DocumentBase* document = myDocument();
            if (!document)
                return;
            XmlWebPhotoAlbum* element = _settings.photoAlbum();
            XmlGroup* group = XmlGroup::cast(album->parent());
            if (element && element->clickOp() == XmlWebPhotoAlbum::ClickOperation::SlideshowElement && group)
                document->selectWebPageIndex(group, -1);
            else
                document->selectWebPageIndex(album.get(), -1);
        } else if (data == u"prev") {
            handOverSlides();
            _slideB = _slideB == first ? count - 1 : _slideB - 1;
            _mixer = 0;
            _playingSlides = false;
        } else if (data == u"next") {
            handOverSlides();
            // The click goes round whatever the loop setting says.
            _slideB = _slideB >= count - 1 ? first : _slideB + 1;
            if (_slideB >= count)
                return;
            _mixer = 0;
            _playingSlides = false;
        } else if (data == u"play") {
            _playingSlides = !_playingSlides;
            redisplayAll();
        }
    });
}

void XmlSlideshow::setAnimationClock(std::shared_ptr<AnimationClock> clock)
{
    if (!clock)
        return;
    _clock->cancel(this);
    _clock = std::move(clock);
}

void XmlSlideshow::startAnimations()
{
    lq::modelFrame(this, "startAnimations", [&] {
        _clock->cancel(this);
        if (!visible())
            return;
        scheduleAnimation();
        if (_settings.autoStart())
            _playingSlides = true;
    });
}

void XmlSlideshow::stopAnimations()
{
    lq::modelFrame(this, "stopAnimations", [&] {
        _clock->cancel(this);
        if (_mixer != 1.0f) {
            _mixer = 1.0f;
            redisplayAll();
        }
        _waitTime = 0;
        _playingSlides = false;
        _imageA = lq::GraphicsImage();
        _imageB = lq::GraphicsImage();
    });
}

// --- Canvas drawing --------------------------------------------------------------------------------

void XmlSlideshow::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        if (!_settings.showBkgndBox())
            return;
        const lq::Rect box = onOwnBox([&] { return objectRect(); });
        XmlBoxModel::drawObject(box);
    });
}

void XmlSlideshow::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        const int first = firstPictureInSlideshow();
        const int count = numberChildren(album.get());
        if (first >= count)
            return;
        if (_slideB >= count || _slideB < first)
            _slideB = first;
        XmlPhoto* slide = photoAt(_slideB);
        if (!slide)
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();

        slide->loadBackstore(this);
        lq::Rect frameB;
        lq::Rect photoB;
        calcPhotoRectFrameRectThumbRect(slide, frameB, photoB);
        _frame->drawObject(frameB);
        if (_mixer == 1.0f) {
            if (slide->canvas())
                slide->canvas()->drawImageWithWidthAndHeightAtPoint(lq::truncatedPixel(photoB.width()), lq::truncatedPixel(photoB.height()),
                                                                    photoB.origin);
        } else if (context) {
            if (_slideA >= first && _slideA < count) {
                if (XmlPhoto* previous = photoAt(_slideA)) {
                    lq::Rect frameA;
                    lq::Rect photoA;
                    calcPhotoRectFrameRectThumbRect(previous, frameA, photoA);
                    if (_imageA.isNull() && previous->canvas()) {
                        previous->loadBackstore(this);
                        _imageA = previous->canvas()->makeImageWithWidthAndHeight(lq::truncatedPixel(photoA.width()),
                                                                                   lq::truncatedPixel(photoA.height()));
                        previous->releaseBackstore(this);
                    }
                    _frame->drawObject(frameA);
                    context->drawImage(_imageA.toQImage(), photoA, lq::Rect(), lq::CompositingOperation::SourceOver,
                                       1.0f - _mixer);
                }
            }
            if (_imageB.isNull() && slide->canvas())
                _imageB = slide->canvas()->makeImageWithWidthAndHeight(lq::truncatedPixel(photoB.width()), lq::truncatedPixel(photoB.height()));
            context->drawImage(_imageB.toQImage(), photoB, lq::Rect(), lq::CompositingOperation::SourceOver, _mixer);
        }
        slide->releaseBackstore(this);
        drawText2();
    });
}

void XmlSlideshow::drawText2()
{
    lq::modelFrame(this, "drawText2", [&] {
        if (!_lm)
            relayoutFlags(nullptr, 0);
        const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
        if (!_lm || !_prev || firstPictureInSlideshow() >= numberChildren(album.get()))
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const int shownStyle = style();
        setCaptionText(textCaption());
        if (shownStyle == 0 || shownStyle == 1)
            setControlText(*_play, _playingSlides ? _settings.stopLabel() : _settings.playLabel());
        else
            setControlText(*_play, _settings.beforeLabel());

        const auto drawControl = [&](int index) {
            TextSystem* system = controlText(index);
            if (system->textStorage()->isEmpty())
                return;
            lq::LayoutManager& lm = system->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(system->textContainer().get());
            lm.drawGlyphsForGlyphRange(glyphs, _settings.controlRect(index).origin.toQPointF(), &context->painter());
        };
        if (_settings.showIndexLabel())
            drawControl(IndexLink);
        if (_settings.showPrevNextControls()) {
            drawControl(Previous);
            drawControl(Next);
        }
        if (((shownStyle == 0 || shownStyle == 1) && _settings.showPlayControls())
            || ((shownStyle == 2 || shownStyle == 3) && _settings.showBeforeAfterControls()))
            drawControl(Play);

        if (_settings.showCaptions() == 0)
            return;
        const lq::Rect caption = _settings.controlRect(Caption);
        const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
        _lm->drawGlyphsForGlyphRange(glyphs, caption.origin.toQPointF(), &context->painter());
        const int textHeight = _contents->isEmpty() ? 0 : lq::truncatedPixel(_lm->boundingRectForGlyphRange(glyphs, _tc.get()).height());
        XmlWebPhotoAlbum* element = _settings.photoAlbum();
        if (!element || !element->hasCartButton() || !(element->slideshowButton() != 0))
            return;
        const int count = numberChildren(album.get());
        XmlPhoto* photo = photoAt(_slideB < count ? _slideB : firstPictureInSlideshow());
        if (!photo || !photo->canBePurchased())
            return;
        const bool buyNow = element->cartType() == XmlWebPhotoAlbum::CartType::BuyNow;
        const QImage button(lq::resourcePath(QStringLiteral("site/") + (buyNow ? QStringLiteral("buynow.png") : QStringLiteral("addtocart.png"))));
        if (button.isNull())
            return;
        const float x = caption.x() + (caption.width() - toFloat(button.width())) * 0.5f;
        const float y = caption.y() + toFloat(textHeight);
        context->drawImage(button, lq::Rect(x, y, toFloat(button.width()), toFloat(button.height())), lq::Rect(),
                           lq::CompositingOperation::SourceOver, 1.0f);
    });
}

// --- The preview's tick ---------------------------------------------------------------------------

namespace {

// Seconds between two ticks of the editor preview.
constexpr double tickSeconds = 0.1;

} // namespace

void XmlSlideshow::handOverSlides()
{
    _slideA = _slideB;
    _imageA = _imageB;
    _imageB = lq::GraphicsImage();
}

void XmlSlideshow::redisplayAll()
{
    if (DocumentBase* document = myDocument())
        document->redisplayRect(lq::Rect());
}

void XmlSlideshow::scheduleAnimation()
{
    // The element cancels its tick before it goes, so the tick never outlives it.
    _clock->performAfter(this, tickSeconds, [this] { animation(); });
}

void XmlSlideshow::animation()
{
    lq::modelFrame(this, "animation:", [&] {
        if (_mixer < 1.0f) {
            if (_settings.fade())
                _mixer = static_cast<float>(static_cast<double>(_mixer) + 0.1);
            else
                _mixer = 1.0f;
            _mixer = std::min(_mixer, 1.0f);
            if (_mixer == 1.0f || disableImageWell()) {
                redisplayAll();
            } else if (DocumentBase* document = myDocument()) {
                document->redisplayRect(_settings.controlRect(PictureBox));
            }
        } else if (_playingSlides) {
            if (_waitTime == 0)
                _waitTime = 2 * _settings.seconds();
            --_waitTime;
            const std::shared_ptr<XmlAlbum> album = getCurrentAlbum();
            if (_waitTime == 0 && album) {
                const int count = album->numberChildren();
                handOverSlides();
                if (_slideB >= count - 1) {
                    if (_settings.loopSlideshow())
                        _slideB = firstPictureInSlideshow();
                } else {
                    ++_slideB;
                }
                _mixer = 0;
            }
        }
        scheduleAnimation();
    });
}
