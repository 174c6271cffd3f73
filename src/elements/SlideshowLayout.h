#pragma once

#include "elements/XmlSlideshow.h"

#include <QString>

// The slideshow's text on the page: the controls' labels and the caption,
// laid out in the control font and the element's font, with the click
// areas of the controls.
class SlideshowLayout {
public:
    explicit SlideshowLayout(XmlSlideshow& slideshow)
        : _slideshow(slideshow)
    {
    }

    // The text systems of the caption and of the four controls, once.
    void makeTextSystems();
    void setControlText(XmlSlideshow::TextSystem& system, const QString& label);
    void setCaptionText(const QString& caption);
    // Lays the controls and the caption out for the page (flags 0 only) and
    // registers the controls' click areas; the slides start again.
    void layoutRelayout(XmlBase* page, int flags);

private:
    XmlSlideshow& _slideshow;
};
