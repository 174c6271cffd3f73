#pragma once

#include "model/core/XmlBase.h"
#include "platform/Geometry.h"
#include "templates/PagePass.h"

#include <QString>

class XmlPhoto;
class XmlSlideshow;
class XmlStyleSheet;

// The slideshow's page output: the template's CSS, the set-up script with
// the slides, the controls and captions of each page pass, and the steps
// that make the slides.
class SlideshowHtml {
public:
    explicit SlideshowHtml(XmlSlideshow& slideshow)
        : _slideshow(slideshow)
    {
    }

    void appendCSS(QString& css);
    void appendCSSWinIESuffix(QString& css, const QString& suffix);
    void genCSSBitmap(QString& script);
    void genCSSWinIEBitmap(QString& script);
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet);

private:
    // Writes the image step of the photo into the step buffer.
    void addImageStep(XmlPhoto* photo, const lq::Rect& photoRect, int d);
    // "ss.add_slide(" values of one photo: sequence number, then F.y, F.x, P.w, P.h.
    struct SlideValues {
        int sequence = 0;
        int y = 0;
        int x = 0;
        int w = 0;
        int h = 0;
        lq::Rect photoRect;
    };
    SlideValues slideValues(XmlPhoto* photo);
    void appendScriptSetUp(QString& html, XmlBase* page);
    void appendControlsAndCaptions(QString& html, XmlBase* page);

    XmlSlideshow& _slideshow;
};
