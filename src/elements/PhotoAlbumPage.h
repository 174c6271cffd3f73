#pragma once

#include "model/core/XmlBase.h"
#include "templates/PagePass.h"

#include <QString>

#include <utility>

class XmlAlbum;
class XmlPhoto;
class XmlStyleSheet;
class XmlWebPhotoAlbum;

// The photo album's page output: the HTML of each page pass, the steps
// that make the thumbnails, and the template's CSS and its fix-ups for
// Internet Explorer.
class PhotoAlbumPage {
public:
    explicit PhotoAlbumPage(XmlWebPhotoAlbum& album)
        : _album(album)
    {
    }

    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet);
    // The PayPal placeholders of the photo and the site, every value escaped,
    // filled in one pass over the text, so no value is searched for
    // placeholders.
    QString textSubberPhoto(const QString& text, XmlPhoto* photo);
    // The PayPal form of a buy-now or an add-to-cart button, the album's
    // default button HTML, with the placeholders that textSubberPhoto fills.
    static QString buttonForm(bool buyNow);
    void appendCSS(QString& css);
    void appendCSSWinIESuffix(QString& css, const QString& suffix);
    void appendJavascriptWinIE(QString& script);

private:
    // The page passes: the font check of the site script, the lightbox's
    // head links, the box, the thumbnails, and the steps that make them.
    void appendFontCheck(QString& html);
    void appendLightboxHead(QString& html);
    void appendAlbumBox(QString& html);
    void appendThumbnails(QString& html, XmlAlbum* album);
    void appendSteps(QString& html, XmlAlbum* album);
    void layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(int from, int to, QString& html,
                                                                        const XmlBaseList& photos,
                                                                        const QString& slidefile, bool showCaptions,
                                                                        bool noborders);
    void processImagesFromToHtmlPhotoObjectsAlbum(int from, int to, QString& html, const XmlBaseList& photos,
                                                  int album);
    // The framed thumbnails of IE's fix-ups: [first, end).
    std::pair<int, int> framedRange(int count) const;

    XmlWebPhotoAlbum& _album;
};
