#pragma once

#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"

#include <QStringList>

// The stored settings of a photo album, a value the album holds and writes
// and reads with its text attributes: the thumbnails' size, shape and grid,
// the captions, what a click does, the placement mode with its collage and
// floating photos, and the cart with its buttons. Every setter marks the
// album's document changed, unless it says otherwise. What follows from the
// settings alone (the thumbnail counts of each mode) is answered here too.
class PhotoAlbumSettings {
public:
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

    // The album whose document a change marks and whose failures are logged.
    // Writing and reading the attributes is framed by the album.
    explicit PhotoAlbumSettings(XmlBase& album);
    PhotoAlbumSettings(const PhotoAlbumSettings&) = delete;
    PhotoAlbumSettings& operator=(const PhotoAlbumSettings&) = delete;

    // taspect twidth theight cols rows hspace vspace showcaptions
    // showtooltips click cabove cspace after asf, collage (with a collage),
    // floating (mode 2), carttype buttontype buttonwidth buttonheight
    // thumbcaption slidecaption thumbbutton slidebutton.
    void appendAttributes(QString& xml) const;
    // Each through its setter; false for a key that is none of the settings'.
    bool setAttributeTo(const QString& key, const QString& value);

    // --- Thumbnails and grid ------------------------------------------------------------------
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
    QString thumbSizeString() const;
    // A thumbnail size as the thumbnail dialog hands it over.
    struct ThumbSize {
        int width = 0;
        int height = 0;
    };
    static ThumbSize createThumbSizeWithWidthHeight(int width, int height) { return {width, height}; }

    // --- Captions and clicks ------------------------------------------------------------------
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
    bool captionsOrCart() const { return _showCaptions || _cartType != CartType::None; }

    // --- Placement ----------------------------------------------------------------------------
    int afterDescription() const { return _afterDescription; }
    void setAfterDescription(int mode);
    int autoCropFreestyle() const { return _autoCropFreestyle; }
    void setAutoCropFreestyle(int crop);

    // --- Cart ---------------------------------------------------------------------------------
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

    // --- Collage ------------------------------------------------------------------------------
    int hasCollage() const { return _fs_hasCollage; }
    void setHasCollage(int has);
    const QString& collageString() const { return _collageString; }
    void setCollageString(const QString& collage);
    int collageNumberPhotos() const { return _fs_numberPhotos; }
    int collageWidth() const { return _fs_width; }
    int collageHeight() const { return _fs_height; }
    int collageAllowPhotos() const { return _fs_allowPhotos; }
    // Collage cell k in page coordinates less the box's offset; the zero
    // rectangle past the cells.
    lq::Rect collageRect(int cell) const;

    // --- Floating photos ----------------------------------------------------------------------
    QString floatingString() const;
    // Replaces the rectangles with the parts of the text; no change notice.
    void setFloatingString(const QString& floating);
    lq::Rect floatingRect(int index) const;
    void setFloatingRectForIndex(const lq::Rect& rect, int index);
    int numFloatingRects() const { return static_cast<int>(_floatingRects.size()); }
    void setNumFloatingRects(int count);
    void addFloatingRect(const lq::Rect& rect);
    void removeFloatingRect();
    // Where a new floating photo starts: rows of six, thumbnail sized.
    lq::Rect calcRawRect(int index);

    // --- Thumbnail counts ---------------------------------------------------------------------
    // Modes 0 and 1: N capped at rows x cols; 0 when both are 0.
    int shownThumbnails(int count) const;
    // C: the collage thumbnails in mode 2.
    int collageThumbnails(int count) const;
    // The end of the floating range in mode 2.
    int floatingEnd(int count) const;
    // Every thumbnail shown in the mode.
    int cellCount(int count) const;
    // The first photo the slideshow shows: the collage's photos are left
    // out unless the collage allows them.
    int firstPictureInSlideshow() const;

private:
    // Stores the value and marks the album's document changed.
    template <typename Field, typename Value>
    void setStored(Field& field, Value&& value, const char* operation)
    {
        lq::modelFrame(_album, operation, [&] {
            field = std::forward<Value>(value);
            _album->docChanged();
        });
    }

    XmlBase* _album;
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
    int _autoCropFreestyle = 0;
    bool _captionsAbove = false;
    qint8 _captionSpace = 0;
    int _afterDescription = 0;
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
    int _thumbnailCaption = 0;
    int _thumbnailButton = 0;
    int _slideshowCaption = 0;
    int _slideshowButton = 0;
};
