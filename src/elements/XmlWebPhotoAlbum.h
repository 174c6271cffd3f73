#pragma once

#include "elements/XmlWebMenu.h"
#include "elements/XmlWebText.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class XmlAlbum;
class XmlPhoto;
class XmlPictureFrame;
class XmlSlideshow;

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
class XmlWebPhotoAlbum final : public XmlWebText {
public:
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

    // How thumbnails take their photos' shapes.
    enum class ThumbAspect : int {
        SameSize = 0,   // every thumbnail fills the thumbnail size
        SameAspect = 1, // the photo's aspect within the size
        Centred = 2,    // the photo's aspect, centred in the size
    };
    // What a click on a thumbnail does.
    enum class ClickOperation : int {
        SlideshowPage = 0,    // opens the page's slideshow page
        NewWindow = 1,        // shows the picture in a new window
        Nothing = 2,
        CaptionLink = 3,      // follows the caption's link
        SlideshowElement = 4, // shows the photo in the page's slideshow element
        Lightbox = 5,         // shows the picture in a lightbox over the page
    };
    // What the album sells its photos with.
    enum class CartType : int { None = 0, BuyNow = 1, AddToCart = 2 };
    // A stored number outside the kinds of these settings does what the
    // code does for none of them and is written back as it was read.

    explicit XmlWebPhotoAlbum(Key key);
    ~XmlWebPhotoAlbum() override;

    static std::shared_ptr<XmlWebPhotoAlbum> create();
    static XmlWebPhotoAlbum* cast(XmlBase* object) { return dynamic_cast<XmlWebPhotoAlbum*>(object); }

    QString elementName() const override;
    QString uniquename() const override;
    // The text attributes, then taspect twidth theight cols rows hspace
    // vspace showcaptions showtooltips click cabove cspace after asf,
    // collage (with a collage), floating (mode 2), carttype buttontype
    // buttonwidth buttonheight thumbcaption slidecaption thumbbutton slidebutton.
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

    // --- Settings; every setter marks the document changed ------------------------------
    int thumbWidth() const { return _thumbWidth; }
    void setThumbWidth(int width);
    int thumbHeight() const { return _thumbHeight; }
    void setThumbHeight(int height);
    ThumbAspect thumbAspect() const { return _thumbAspect; }
    void setThumbAspect(ThumbAspect aspect);
    int cols() const { return _numCols; }
    void setCols(int cols);
    // 0: as many rows as the photos need.
    int rows() const { return _numRows; }
    void setRows(int rows);
    int spaceColumns() const { return _spaceColumns; }
    void setSpaceColumns(int space);
    int spaceRows() const { return _spaceRows; }
    void setSpaceRows(int space);
    bool showCaptions() const { return _showCaptions; }
    void setShowCaptions(bool show);
    bool showToolTips() const { return _showToolTips; }
    void setShowToolTips(bool show);
    ClickOperation clickOp() const { return _clickOp; }
    void setClickOp(ClickOperation op);
    bool captionsAbove() const { return _captionsAbove; }
    void setCaptionsAbove(bool above);
    int captionSpace() const { return _captionSpace; }
    void setCaptionSpace(int space);
    int afterDescription() const { return _afterDescription; }
    void setAfterDescription(int mode);
    int autoCropFreestyle() const { return _autoCropFreestyle; }
    void setAutoCropFreestyle(int crop);
    int hasCollage() const { return _fs_hasCollage; }
    void setHasCollage(int has);
    CartType cartType() const { return _cartType; }
    void setCartType(CartType type);
    // A buy-now or an add-to-cart button goes with the photos.
    bool hasCartButton() const { return _cartType == CartType::BuyNow || _cartType == CartType::AddToCart; }
    int buttonType() const { return _buttonType; }
    void setButtonType(int type);
    int buttonWidth() const { return _buttonWidth; }
    void setButtonWidth(int width);
    int buttonHeight() const { return _buttonHeight; }
    void setButtonHeight(int height);
    int thumbnailCaption() const { return _thumbnailCaption; }
    void setThumbnailCaption(int on);
    int thumbnailButton() const { return _thumbnailButton; }
    void setThumbnailButton(int on);
    int slideshowCaption() const { return _slideshowCaption; }
    void setSlideshowCaption(int on);
    int slideshowButton() const { return _slideshowButton; }
    void setSlideshowButton(int on);
    // Without a change notice: the page layout hands it down.
    void setAfterTop(int top) { _afterTop = top; }
    int afterTop() const { return _afterTop; }
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

    // --- Collage ----------------------------------------------------------------------------
    const QString& collageString() const { return _collageString; }
    void setCollageString(const QString& collage);
    const QStringList& collageRects() const { return _collageRects; }
    int collageNumberPhotos() const { return _fs_numberPhotos; }
    int collageWidth() const { return _fs_width; }
    int collageHeight() const { return _fs_height; }
    int collageAllowPhotos() const { return _fs_allowPhotos; }
    // Collage cell k in page coordinates less the box's offset; the zero
    // rectangle past the cells.
    lq::Rect collageRect(int cell) const;
    // The collage picker's layout of the photos (1 to 8) in the style (0 to
    // 2); empty outside the table.
    static QString collageLayout(int photos, int style);
    // The cell rectangles of a layout at the size with the spacing, as rectangle strings.
    static QStringList collagePreviewCells(const QString& layout, int width, int height, int spacing);
    // The collage string the picker writes: a six-field header, then the cells.
    static QString collageStringFor(int photos, int width, int height, int style, int spacing, int allowPhotos);

    // --- Floating photos --------------------------------------------------------------------
    QString floatingString() const;
    // Replaces the rectangles with the parts of the text; no change notice.
    void setFloatingString(const QString& floating);
    lq::Rect floatingRect(int index) const;
    void setFloatingRectForIndex(const lq::Rect& rect, int index);
    int numFloatingRects() const { return static_cast<int>(_floatingRects.size()); }
    void setNumFloatingRects(int count);
    void addFloatingRect(const lq::Rect& rect);
    void removeFloatingRect();
    lq::Rect calcRawRect(int index);
    lq::Rect calcRawAfterRectTop(int index, int top);

    // --- Derived settings -------------------------------------------------------------------
    bool baseVisibility() override;
    bool visible() override;
    void setVisibleInSlideshow(bool visible) override;
    bool firstLine();
    QString thumbSizeString() const;
    // A thumbnail size as the thumbnail dialog hands it over.
    struct ThumbSize {
        int width = 0;
        int height = 0;
    };
    static ThumbSize createThumbSizeWithWidthHeight(int width, int height) { return {width, height}; }
    bool beforeAfter() const;
    bool thumbrollovers() const;
    bool reverseThumbrollovers();
    int firstPictureInSlideshow() const;
    QString indexLink();

    // --- Thumbnails ---------------------------------------------------------------------------
    // N: the thumbnails of a page with these photos.
    int numberOfThumbnails(const XmlBaseList& photos) const;
    // The photo index of thumbnail i.
    int photoIndexForThumbnail(int index) const;
    // Modes 0 and 1: N capped at rows x cols; 0 when both are 0.
    int shownThumbnails(int count) const;
    // C: the collage thumbnails in mode 2.
    int collageThumbnails(int count) const;
    // The end of the floating range in mode 2.
    int floatingEnd(int count) const;
    // Every thumbnail shown in the mode.
    int cellCount(int count) const;
    // The photos of the current album page (none without one).
    XmlBaseList currentPhotos() const;

    // --- Geometry (PhotoAlbumLayout) ------------------------------------------------------------
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
    Cell cellRects(const XmlBaseList& photos, int pindex, int index);
    int heightForCaptionRow(int row) const;
    bool captionsOrCart() const { return _showCaptions || _cartType != CartType::None; }
    lq::Rect guideRect() override;
    QStringList guideRectArray();
    QStringList objectRectArray();
    const std::vector<std::shared_ptr<CaptionText>>& contentsArray() const { return _contentsArray; }

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

    // --- Page HTML and CSS (PhotoAlbumPage) ---------------------------------------------------
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;
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
    friend class PhotoAlbumLayout;
    friend class PhotoAlbumPage;

    // The photo at the index of the list, or nothing past its ends.
    static XmlPhoto* photoAt(const XmlBaseList& photos, int index);
    XmlBase* textPart(std::shared_ptr<XmlBase>& part, const char* tag, const QString& content);
    XmlSlideshow* slideshow() const;
    bool floatingSelected() const { return _afterDescription == 2 && _currentPhoto != -1; }
    void openLink(const QString& link);

    int _thumbWidth = 120;
    int _thumbHeight = 90;
    ThumbAspect _thumbAspect = ThumbAspect::SameSize;
    int _numCols = 3;
    int _numRows = 0;
    int _spaceColumns = 10;
    int _spaceRows = 10;
    bool _showCaptions = true;
    bool _showToolTips = false;
    ClickOperation _clickOp = ClickOperation::SlideshowPage;
    int albumWidth = 0;
    int albumHeight = 0;
    int _autoCropFreestyle = 0;
    mutable int _photoWidth = 0; // worked out from the thumbnail size and frame
    mutable int _photoHeight = 0;
    int leftMargin = 0;
    std::shared_ptr<XmlPictureFrame> _frame;
    std::vector<std::shared_ptr<CaptionText>> _contentsArray;
    bool _captionsAbove = false;
    qint8 _captionSpace = 0;
    int _afterDescription = 0;
    int _afterTop = 0;
    int _currentPhoto = -1;
    QString _collageString;
    QStringList _collageRects;
    int _fs_hasCollage = 0;
    int _fs_numberPhotos = 3;
    int _fs_width = 600;
    int _fs_height = 200;
    int _fs_allowPhotos = 0;
    QStringList _floatingRects;
    CartType _cartType = CartType::None;
    int _buttonType = 0;
    int _buttonWidth = 0;
    int _buttonHeight = 0;
    std::shared_ptr<XmlBase> _thumbnailText;
    int _thumbnailCaption = 0;
    int _thumbnailButton = 0;
    std::shared_ptr<XmlBase> _slideshowText;
    int _slideshowCaption = 0;
    int _slideshowButton = 0;
    std::shared_ptr<XmlBase> _buttonHTML;
    std::shared_ptr<XmlCSSBackground> _buttonImage;
};
