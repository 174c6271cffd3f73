#pragma once

#include "elements/PhotoAlbumSettings.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebText.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class XmlAlbum;
class XmlPhoto;
class XmlPictureFrame;

// The photo album box of a page template: the photos of the page being
// built or shown as thumbnails, each in a picture frame, with an optional
// caption, PayPal text and buy button.
//
// Placement modes (attribute "after"): 0 a grid at the box's own place; 1
// the same grid below the page text (its top comes from setAfterTop); 2 a
// collage whose cells take the first photos, then floating photos, each in
// a rectangle of its own (page coordinates).
//
// Before-and-after mode (click 0 or 4 with a before-and-after slideshow in
// the same template): the photos go in groups of two, or of three with
// thumbnail rollovers, and each group is one thumbnail showing its first photo.
//
// The picture frame, the thumbnail and slideshow texts, the button HTML and
// the button image are owned parts written after the box's own parts; the
// only children are the box's fonts.
//
// The stored settings are a value the album holds (settings()). The album's
// definition is split by job: the element and its owned parts
// (XmlWebPhotoAlbum.cpp), the box in its placement modes
// (XmlWebPhotoAlbumLayout.cpp), the cells and captions
// (XmlWebPhotoAlbumGeometry.cpp), the canvas (XmlWebPhotoAlbumCanvas.cpp)
// and the page output (XmlWebPhotoAlbumPage.cpp).
class XmlWebPhotoAlbum final : public XmlWebText {
public:
    using ThumbAspect = PhotoAlbumSettings::ThumbAspect;
    using ClickOperation = PhotoAlbumSettings::ClickOperation;
    using CartType = PhotoAlbumSettings::CartType;
    using ThumbSize = PhotoAlbumSettings::ThumbSize;

    // The laid-out caption of one photo.
    using CaptionText = XmlWebMenu::ItemText;

    // One hot rectangle's data: "photo" with the thumbnail index, or
    // "caption" with the photo index and the link's character range. The
    // canvas hands it back as the text of toString.
    struct HotArea {
        QString type;
        int index = 0;
        QString range;
        QString toString() const;
        static HotArea fromString(const QString& data);
    };

    explicit XmlWebPhotoAlbum(Key key);
    ~XmlWebPhotoAlbum() override;

    static std::shared_ptr<XmlWebPhotoAlbum> create();
    static XmlWebPhotoAlbum* cast(XmlBase* object) { return dynamic_cast<XmlWebPhotoAlbum*>(object); }

    QString elementName() const override;
    QString uniquename() const override;
    // The settings' attributes, always of the box's own geometry.
    void appendAttributes(QString& xml) override;
    void setAttributeTo(const QString& key, const QString& value) override;
    // The owned parts by their tags; everything else as the text element.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The box's own parts, then the frame, thumbnailText, slideshowText,
    // buttonHTML and buttonImage.
    QString writeXmlVorns() override;
    // The frame, the text parts made so far and the button image, then the
    // text element's parts.
    XmlBaseList ownedParts() const override;
    bool enabled() override;
    bool canDoubleClick() override;
    void canSaveChanges() override {}

    // --- Stored settings ----------------------------------------------------------------------
    const PhotoAlbumSettings& settings() const { return _settings; }
    PhotoAlbumSettings& settings() { return _settings; }
    bool opensSlideshowPage() const override { return _settings.clickOp() == ClickOperation::SlideshowPage; }
    // What the slideshow and the layout canvas ask of the album.
    int afterDescription() const { return _settings.afterDescription(); }
    ClickOperation clickOp() const { return _settings.clickOp(); }
    CartType cartType() const { return _settings.cartType(); }
    bool hasCartButton() const { return _settings.hasCartButton(); }
    int slideshowCaption() const { return _settings.slideshowCaption(); }
    int slideshowButton() const { return _settings.slideshowButton(); }
    int firstPictureInSlideshow() const { return _settings.firstPictureInSlideshow(); }

    // --- Placement ----------------------------------------------------------------------------
    // The grid's top in mode 1, without a change notice: the page layout hands it down.
    void setAfterTop(int top) override { _afterTop = top; }
    // Mode 1 follows the page text; the other modes are placed like any box.
    PageRole pageRole() const override { return _settings.afterDescription() == 1 ? PageRole::AfterText : PageRole::Placed; }
    // Mode 2: the selected floating photo, -1 for the box itself.
    int currentPhoto() const { return _currentPhoto; }

    // --- Owned parts ----------------------------------------------------------------------
    const std::shared_ptr<XmlPictureFrame>& frame() const { return _frame; }
    const std::shared_ptr<XmlCSSBackground>& buttonImage() const { return _buttonImage; }
    // Made on first use.
    XmlBase* thumbnailText();
    XmlBase* slideshowText();
    XmlBase* buttonHTML();
    void setDefaultThumbnailText();
    void setDefaultSlideshowText();
    // The PayPal form of the cart type; other cart types change nothing.
    void setDefaultButtonHTML();

    // --- Derived settings -------------------------------------------------------------------
    bool baseVisibility() override;
    bool visible() override;
    void setVisibleInSlideshow(bool visible) override;
    bool firstLine();
    bool beforeAfter() const;
    bool thumbrollovers() const;
    QString indexLink();

    // --- Thumbnails ---------------------------------------------------------------------------
    // N: the thumbnails of a page with these photos.
    int numberOfThumbnails(const XmlBaseList& photos) const;
    // The photo index of thumbnail i.
    int photoIndexForThumbnail(int index) const;
    // The photos of the current album page (none without one).
    XmlBaseList currentPhotos() const;

    // --- Geometry ------------------------------------------------------------------------------------
    void calcPhotoAlbum() const;
    int photoWidth() const { return _photoWidth; }
    int photoHeight() const { return _photoHeight; }
    int internalWidth() const override;
    int internalHeight() const override;
    // Mode 2 with a selected floating photo: that photo's rectangle.
    int top() const;
    int left() const;
    int width() const override;
    int height() const override;
    void setTop(int top);
    void setLeft(int left);
    void setWidth(int width);
    void setHeight(int height);
    // The box's own position, whatever the mode.
    int top2() const { return _top; }
    int left2() const { return _left; }
    bool heightFixed() const override;
    bool widthFixed() const override;
    int calcTop() const override;
    int calcLeft() const override;
    int calcWidth() const override;
    int calcHeight() const override;
    void setObjectRect(const lq::Rect& rect) override;
    // The four rectangles of thumbnail index for photo pindex; totalRect is
    // left alone for a photo past the list.
    void calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(const XmlBaseList& photos, int pindex, int index,
                                                                         lq::Rect& totalRect, lq::Rect& frameRect,
                                                                         lq::Rect& thumbRect, lq::Rect& captionRect);
    // The same four rectangles as one value: total, frame, thumbnail, caption.
    struct Cell {
        lq::Rect total;
        lq::Rect frame;
        lq::Rect thumb;
        lq::Rect caption;
    };
    XmlWebPhotoAlbum::Cell cellRects(const XmlBaseList& photos, int pindex, int index);
    int heightForCaptionRow(int row) const;
    lq::Rect guideRect() override;
    QStringList objectRectArray();

    // --- Layout and canvas --------------------------------------------------------------------
    void relayoutFlags(XmlBase* page, int flags) override;
    void drawObject() override;
    void drawText() override;
    XmlCSSPtr objectAtPoint(const lq::Point& point) override;
    bool hasNextSelectableObjectInside(bool backwards) override;
    // The photo under the point (the first thumbnail holding it), or nothing.
    std::shared_ptr<XmlPhoto> photoForEditingAtPoint(const lq::Point& point);
    // A Control-click on the canvas edits the photo under the point.
    XmlBasePtr objectForEditingAtPoint(const lq::Point& point) override;
    void mouseClick(const QString& data) override;
    void cleanup() override;

    // --- Page HTML and CSS ------------------------------------------------------------------------
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;
    // The PayPal placeholders of the photo and the site, every value escaped,
    // filled in one pass over the text, so no value is searched for
    // placeholders.
    QString textSubberPhoto(const QString& text, XmlPhoto* photo);
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    void appendJavascriptWinIE(QString& script) override;

    // --- Bitmap steps ----------------------------------------------------------------------------
    // The box's, then the frame's and the button image's.
    void genCSSBitmap(QString& script) override;
    // The frame's fix-up bitmap, then the box's.
    void genCSSWinIEBitmap(QString& script) override;

private:
    // --- Geometry ------------------------------------------------------------------------------------
    // The photo at the index of the list, or nothing past its ends.
    static XmlPhoto* photoAt(const XmlBaseList& photos, int index);
    // The frame's horizontal and vertical extras: paddings, borders, shadow.
    int frameExtraWidth() const;
    int frameExtraHeight() const;
    int boxExtraWidth() const;
    int boxExtraHeight() const;
    int heightForCaption(int index) const;
    // Where thumbnail index would stand in mode 1's grid below the top.
    lq::Rect calcRawAfterRectTop(int index, int top);
    // Edits the selected floating photo's rectangle; false when none is selected.
    bool editSelectedFloating(const std::function<void(lq::Rect&)>& edit);
    // Mode 2: the collage box, then a rectangle (the frame's, or the whole
    // cell's with totals) of every floating photo.
    QStringList freestyleRects(bool totals);
    // The captions laid out for the page, and the click areas of their links
    // and of the thumbnails.
    void layoutCaptions(XmlBase* page);

    // --- Page HTML ------------------------------------------------------------------------------------
    // The PayPal form of a buy-now or an add-to-cart button, the album's
    // default button HTML, with the placeholders that textSubberPhoto fills.
    static QString buttonForm(bool buyNow);
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

    bool floatingSelected() const { return _settings.afterDescription() == 2 && _currentPhoto != -1; }

    PhotoAlbumSettings _settings{ *this };
    mutable int _photoWidth = 0; // worked out from the thumbnail size and frame
    mutable int _photoHeight = 0;
    std::shared_ptr<XmlPictureFrame> _frame;
    std::vector<std::shared_ptr<CaptionText>> _contentsArray;
    int _afterTop = 0;
    int _currentPhoto = -1;
    std::shared_ptr<XmlBase> _thumbnailText;
    std::shared_ptr<XmlBase> _slideshowText;
    std::shared_ptr<XmlBase> _buttonHTML;
    std::shared_ptr<XmlCSSBackground> _buttonImage;
};
