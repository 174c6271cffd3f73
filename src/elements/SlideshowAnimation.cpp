// The slideshow's preview on the layout canvas: the tick that blends one
// slide into the next and moves on while the slides play.
#include "elements/SlideshowAnimation.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"

#include <algorithm>

namespace {

// Seconds between two ticks of the editor preview.
constexpr double tickSeconds = 0.1;

} // namespace

void SlideshowAnimation::handOverSlides()
{
    _slideshow._slideA = _slideshow._slideB;
    _slideshow._imageA = _slideshow._imageB;
    _slideshow._imageB = lq::GraphicsImage();
}

void SlideshowAnimation::redisplayAll()
{
    if (DocumentBase* document = _slideshow.myDocument())
        document->redisplayRect(lq::Rect());
}

void SlideshowAnimation::scheduleAnimation()
{
    // The element cancels its tick before it goes, so the tick never outlives it.
    _slideshow._clock->performAfter(&_slideshow, tickSeconds,
                                    [slideshow = &_slideshow] { SlideshowAnimation(*slideshow).animation(); });
}

void SlideshowAnimation::animation()
{
    lq::modelFrame(&_slideshow, "animation:", [&] {
        if (_slideshow._mixer < 1.0f) {
            if (_slideshow._fade)
                _slideshow._mixer = static_cast<float>(static_cast<double>(_slideshow._mixer) + 0.1);
            else
                _slideshow._mixer = 1.0f;
            _slideshow._mixer = std::min(_slideshow._mixer, 1.0f);
            if (_slideshow._mixer == 1.0f || _slideshow.disableImageWell()) {
                redisplayAll();
            } else if (DocumentBase* document = _slideshow.myDocument()) {
                document->redisplayRect(_slideshow.controlRect(XmlSlideshow::PictureBox));
            }
        } else if (_slideshow._playingSlides) {
            if (_slideshow._waitTime == 0)
                _slideshow._waitTime = 2 * _slideshow._seconds;
            --_slideshow._waitTime;
            const std::shared_ptr<XmlAlbum> album = _slideshow.getCurrentAlbum();
            if (_slideshow._waitTime == 0 && album) {
                const int count = album->numberChildren();
                handOverSlides();
                if (_slideshow._slideB >= count - 1) {
                    if (_slideshow._loopSlideshow)
                        _slideshow._slideB = _slideshow.firstPictureInSlideshow();
                } else {
                    ++_slideshow._slideB;
                }
                _slideshow._mixer = 0;
            }
        }
        scheduleAnimation();
    });
}
