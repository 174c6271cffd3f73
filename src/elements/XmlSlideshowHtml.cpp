// The slideshow's page output: the template's CSS, the set-up script with
// the slides, the controls and captions of each page pass, and the steps
// that make the slides.
#include "elements/XmlSlideshow.h"

#include "elements/ElementHelpers.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using elements::contentOf;
using elements::toFloat;

// --- Page output -------------------------------------------------------------------------------------

void XmlSlideshow::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#ssbackground {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                              "margin: 0px; padding: 0px; ");
        appendCSSBackground(css);
        appendCSSBorders(css);
        css += QStringLiteral("}\n");

        css += QStringLiteral("img.ssviewer {position: absolute; font-size: 0px; line-height: 0px; display: block; "
                              "margin: 0px; ");
        _frame->appendCSSBackground(css);
        _frame->appendCSSPadding(css);
        _frame->appendCSSBorders(css);
        css += QStringLiteral("}\n");

        const std::shared_ptr<XmlWebFont> record = font();
        css += QStringLiteral("p.sscaption {z-index: 200; display: block; position: absolute; margin: 0px; "
                              "white-space: nowrap; ");
        record->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");

        css += QStringLiteral("p.sscaption a {color: ") + lq::colorToCSSString(record->fontColor())
            + QStringLiteral("; text-decoration: underline; }\n");

        css += QStringLiteral("a.sscontrol {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
        std::shared_ptr<XmlWebFont> control = controlFont();
        if (!control)
            control = record;
        control->appendCSSFontParameters(css);
        css += QStringLiteral("}\n");
    });
}

void XmlSlideshow::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#ssbackground"), suffix);
        _frame->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("img.ssviewer"), suffix);
    });
}

void XmlSlideshow::genCSSBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSBitmap:", [&] {
        XmlWebText::genCSSBitmap(script);
        _frame->genCSSBitmap(script);
    });
}

void XmlSlideshow::genCSSWinIEBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSWinIEBitmap:", [&] {
        _frame->genCSSWinIEBitmap(script);
        XmlWebText::genCSSWinIEBitmap(script);
    });
}

XmlSlideshow::SlideValues XmlSlideshow::slideValues(XmlPhoto* photo)
{
    SlideValues values;
    lq::Rect frameRect;
    photo->loadBackstore(nullptr);
    calcPhotoRectFrameRectThumbRect(photo, frameRect, values.photoRect);
    values.sequence = photo->imageSeqNumber();
    values.y = lq::truncatedPixel(frameRect.y());
    values.x = lq::truncatedPixel(frameRect.x());
    values.w = lq::truncatedPixel(values.photoRect.width());
    values.h = lq::truncatedPixel(values.photoRect.height());
    return values;
}

void XmlSlideshow::addImageStep(XmlPhoto* photo, const lq::Rect& photoRect, int d)
{
    if (d == 1) {
        createImagesProcess += QStringLiteral("<QZcreateWebImage photo=\"") + photo->UUID()
            + QStringLiteral("\" fullSize=\"1\" />");
    } else {
        const lq::Size size(toFloat(lq::truncatedPixel(photoRect.width())), toFloat(lq::truncatedPixel(photoRect.height())));
        createImagesProcess += QStringLiteral("<QZcreateSlide photo=\"") + photo->UUID() + QStringLiteral("\" size=\"")
            + lq::sizeToString(size) + QStringLiteral("\" />");
    }
}

void XmlSlideshow::appendScriptSetUp(QString& html, XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    std::shared_ptr<XmlWebFont> control = controlFont();
    const std::shared_ptr<XmlWebFont> record = font();
    if (!control)
        control = record;
    html += QString::asprintf("fc.addfs(\"sscon\", %d, %d, \"a.sscontrol\");\n", control->lineHeight(), control->fontSize());
    html += QString::asprintf("fc.addfs(\"sscap\", %d, %d, \"p.sscaption\");\n", record->lineHeight(), record->fontSize());

    createImagesProcess = QStringLiteral("");
    const int shownStyle = style();
    const bool slideshow = shownStyle == 0 || shownStyle == 1;
    const auto label = [&](const char* property, const QString& text) {
        html += QStringLiteral("ss.") + QLatin1String(property) + QStringLiteral(" = '") + lq::javascriptEscape(text)
            + QStringLiteral("';\n");
    };
    if (slideshow) {
        html += QStringLiteral("ss = new slideshow(\"ss\");\n");
        label("playLabel", _settings.playLabel());
        label("stopLabel", _settings.stopLabel());
        if (_settings.autoStart())
            html += QStringLiteral("ss.autoPlay = 1;\n");
        html += QString::asprintf("ss.timeout = %d000;\n", _settings.seconds());
        if (_settings.fade())
            html += QStringLiteral("ss.fade = 1;\n");
    } else {
        html += QStringLiteral("ss = new beforeafter(\"ss\");\n");
        label("beforeLabel", _settings.beforeLabel());
        label("afterLabel", _settings.afterLabel());
        if (_settings.slideRollovers())
            html += QStringLiteral("ss.rollovers = 1;\n");
    }
    if (!_settings.loopSlideshow())
        html += QStringLiteral("ss.repeat = false;\n");
    if (_settings.randomOrder())
        html += QStringLiteral("ss.random = true;\n");

    if (!album)
        return;
    const int d = disableImageWell() ? 1 : 0;
    QList<XmlPhoto*> photos;
    for (const XmlBasePtr& object : album->photoObjects()) {
        if (XmlPhoto* photo = XmlPhoto::cast(object.get()))
            photos.append(photo);
    }
    if (slideshow) {
        for (XmlPhoto* photo : photos) {
            const SlideValues v = slideValues(photo);
            html += QString::asprintf("ss.add_slide(%d,%d,%d,%d,%d,%d);\n", v.sequence, d, v.y, v.x, v.w, v.h);
            addImageStep(photo, v.photoRect, d);
            photo->releaseBackstore(nullptr);
        }
        return;
    }
    const qsizetype step = _settings.thumbRollovers() ? 3 : 2;
    for (qsizetype i = 0; i < photos.size(); i += step) {
        XmlPhoto* before = photos.at(i);
        XmlPhoto* after = i + 1 < photos.size() ? photos.at(i + 1) : nullptr;
        const SlideValues a = slideValues(before);
        const SlideValues b = after ? slideValues(after) : a;
        html += QString::asprintf("ss.add_slide(%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d);\n", a.sequence, d, a.y, a.x, a.w, a.h,
                                  b.sequence, b.y, b.x, b.w, b.h);
        addImageStep(before, a.photoRect, d);
        if (after)
            addImageStep(after, b.photoRect, d);
        before->releaseBackstore(nullptr);
        if (after)
            after->releaseBackstore(nullptr);
    }
}

void XmlSlideshow::appendControlsAndCaptions(QString& html, XmlBase* page)
{
    html += QStringLiteral("<noscript><div id=\"noscript\"><p>Error: This website requires JavaScript to view the "
                           "Slideshow.</p></div></noscript>\n");
    html += QStringLiteral("<a id=\"sscon\" class=\"sscontrol\" href=\"#\" style=\"top:0px; left:-9999px;\">&nbsp;</a>\n");
    html += QStringLiteral("<p id=\"sscap\" class=\"sscaption\" style=\"top:0px; left:-9999px;\">&nbsp;</p>\n");

    if (!_prev || !_lm)
        relayoutFlags(page, 0);
    if (!_prev || !_lm)
        return;
    const int shownStyle = style();
    const auto writeControl = [&](int index, const QString& pre) {
        TextSystem* system = controlText(index);
        appendHTMLFromLayoutManagerPrePostOffset(html, &system->layoutManager(), pre, QStringLiteral("</a>\n"),
                                                 _settings.controlRect(index).origin);
    };
    if (_settings.showPrevNextControls()) {
        writeControl(Previous, QStringLiteral("<a id=\"ssprev\" class=\"sscontrol\" href=\"javascript:ss.previous()\""));
        writeControl(Next, QStringLiteral("<a id=\"ssnext\" class=\"sscontrol\" href=\"javascript:ss.next()\""));
    }
    if (_settings.showIndexLabel())
        writeControl(IndexLink, QStringLiteral("<a class=\"sscontrol\" href=\"") + attributeEscape(indexLink())
                                    + QLatin1Char('"'));
    if ((shownStyle == 0 || shownStyle == 1) && _settings.showPlayControls())
        writeControl(Play, QStringLiteral("<a id=\"ssplay\" class=\"sscontrol\" href=\"javascript:ss.play()\""));
    if ((shownStyle == 2 || shownStyle == 3) && _settings.showBeforeAfterControls())
        writeControl(Play, QStringLiteral("<a id=\"ssbeforeafter\" class=\"sscontrol\" href=\"javascript:ss.beforeafter()\""));

    XmlAlbum* album = XmlAlbum::cast(page);
    if (_settings.showCaptions() != 0 && album) {
        const lq::Rect caption = _settings.controlRect(Caption);
        XmlWebPhotoAlbum* element = _settings.photoAlbum();
        const bool buttons = element && element->hasCartButton() && (element->slideshowButton() != 0);
        for (const XmlBasePtr& object : album->photoObjects()) {
            XmlPhoto* photo = XmlPhoto::cast(object.get());
            if (!photo)
                continue;
            setCaptionText(captionForPhoto(photo));
            html += QString::asprintf("<div id=\"stext%d\" style=\"display: none;\">", photo->imageSeqNumber());
            appendHTMLFromLayoutManagerPrePostOffset(html, _lm.get(), QStringLiteral("<p class=\"sscaption\""),
                                                     QStringLiteral("</p>\n"), caption.origin);
            if (buttons && photo->canBePurchased()) {
                const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
                const int textHeight =
                    _contents->isEmpty() ? 0 : lq::truncatedPixel(_lm->boundingRectForGlyphRange(glyphs, _tc.get()).height());
                html += QString::asprintf(
                    "<div style=\"display: block; position: absolute; top: %dpx; left: %dpx; width: %dpx;\">\n",
                    lq::truncatedPixel(textHeight + caption.y()), lq::truncatedPixel(caption.x()), lq::truncatedPixel(caption.width()));
                html += textSubberPhoto(contentOf(element->buttonHTML()), photo);
                html += QStringLiteral("</div>\n");
            }
            html += QStringLiteral("</div>");
        }
        html += QStringLiteral("\n");
    }

    html += QStringLiteral("<img class=\"ssviewer\" id=\"ssviewerA\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n");
    html += QStringLiteral("<img class=\"ssviewer\" id=\"ssviewerB\" alt=\"\" src=\"\" border=\"\" style=\"display:none\" />\n");
    if ((shownStyle == 2 || shownStyle == 3) && _settings.slideRollovers())
        html += QStringLiteral("<img class=\"ssviewer\" id=\"ssrollover\" alt=\"\" src=\"bitmaps/transparent.gif\" border=\"\" "
                               "style=\"display:none\" />\n");
}

void XmlSlideshow::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (!page || firstPictureInSlideshow() >= page->numberChildren())
            return;
        switch (pass) {
        case PagePass::HeadScript:
            appendScriptSetUp(html, page);
            break;
        case PagePass::SlideshowBackground:
            if (_settings.showBkgndBox())
                html += htmlDivTagsVornStyle(QStringLiteral("ssbackground"), QString());
            break;
        case PagePass::SlideshowControls:
            appendControlsAndCaptions(html, page);
            break;
        case PagePass::AfterPage:
            html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n<!--\n"
                                   "if (document.images)\n{\n");
            html += QString::asprintf("ss.firstslide = %d;\n", firstPictureInSlideshow());
            html += QStringLiteral("ss.init();\n}\n// -->\n</script>\n");
            break;
        case PagePass::Steps:
            if (createImagesProcess.isNull())
                break;
            html += createImagesProcess;
            createImagesProcess = QString();
            if ((style() == 2 || style() == 3) && _settings.slideRollovers())
                html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"transparent.gif\" />");
            break;
        default:
            break;
        }
    });
}
