#pragma once

#include "elements/XmlSlideshow.h"

// The slideshow's preview on the layout canvas: on each tick of the
// element's clock the next slide blends in (at once without a fade), and
// while the slides play each stays its time before the next follows.
class SlideshowAnimation {
public:
    explicit SlideshowAnimation(XmlSlideshow& slideshow)
        : _slideshow(slideshow)
    {
    }

    // One tick of the preview; it asks for the next.
    void animation();
    // Asks the element's clock for the next tick.
    void scheduleAnimation();
    // Hands the current slide over to A and clears B.
    void handOverSlides();
    void redisplayAll();

private:
    XmlSlideshow& _slideshow;
};
