#pragma once

#include "model/imaging/CanvasHolder.h"
#include "model/core/XmlBase.h"
#include "platform/Geometry.h"
#include "platform/ImageFiles.h"
#include "platform/graphics/GraphicsImage.h"

class XmlCanvas;
class XmlCaption;
class XmlPayPalData;
class PhotoFrame;
class XmlSite;

// One photo of an album page: its editable picture (the canvas), its
// caption, its PayPal item, its alternative text and the picture number N
// that names all its files. The imported picture is kept as the document's
// file "pictures/image<N>.jpg" and is in memory only while some holder needs
// it (loadBackstore / releaseBackstore). Its name is never written.
//
// The caption, the canvas and the PayPal item are owned parts, written inside
// the photo's element and read back into the same parts; a photo has no
// children.
class XmlPhoto : public XmlBase, public CanvasHolder {
public:
    explicit XmlPhoto(Key key);
    ~XmlPhoto() override;

    static std::shared_ptr<XmlPhoto> create();
    // Photos and their kinds (representative pictures, widget photos).
    static XmlPhoto* cast(XmlBase* object) { return dynamic_cast<XmlPhoto*>(object); }
    // A new photo holding the picture of the file, at one point per pixel and
    // no larger than the application's picture limits; nothing when the file
    // cannot be read as a whole picture (why in `refusal`). It has no picture
    // number yet.
    static std::shared_ptr<XmlPhoto> createFromFile(const QString& path, lq::PictureRefusal* refusal = nullptr);
    // The picture of the file as an import takes it: one point per pixel,
    // no colour profile, scaled down to fit the application's picture limits
    // (a limit start-up has not set counts as 1024). Nothing when the file
    // is unreadable, no picture, or a damaged one (lq::readPictureFileBytes;
    // a picture cut short is refused, never taken half grey); why in
    // `refusal`.
    static lq::GraphicsImage importedPicture(const QString& path, lq::PictureRefusal* refusal = nullptr);
    // The same of a picture file's bytes (read through a site's gateway).
    static lq::GraphicsImage importedPictureOfData(const QByteArray& bytes, lq::PictureRefusal* refusal = nullptr);

    QString elementName() const override;
    // "iseq", "s", "alt" and the 1.0 rectangle "t", "l", "w", "h"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then iseq, s and alt. The 1.0 rectangle is never written.
    void appendAttributes(QString& xml) override;
    // "IWcanvas", "QZcaption" and "QZpaypal" are the photo's own parts.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The caption, the canvas and the PayPal item, in that order.
    QString writeXmlVorns() override;
    // The caption, the canvas and the PayPal item.
    XmlBaseList ownedParts() const override;
    // The caption's first paragraph as plain text; past 15 characters its
    // first 16 followed by "...".
    QString name() const override;

    // --- Numbering ------------------------------------------------------------
    using XmlBase::newDocument;
    // Numbers the photo from the site of its document and stores its picture;
    // nothing when the photo has no document or the document no site. False,
    // and why, when the picture could not be stored.
    bool newDocument(const QString& path, QString* error = nullptr);
    // Sent once after the photo is placed in its album: draws the picture
    // number from the site's counter, writes the stored copy and drops the
    // picture from memory. Nothing without a site. False, and why, when the
    // stored copy could not be written (a full disk).
    bool newDocumentSite(const QString& path, XmlSite* site, QString* error = nullptr);
    int imageSeqNumber() const { return image_seq_number; }
    // A change.
    void setImageSeqNumber(int number);

    // --- The stored picture ---------------------------------------------------
    // "<rootDir>/pictures/image<N>.jpg".
    QString originalFilename();
    // The same below the document folder: "pictures/image<N>.jpg".
    QString pictureName() const;
    // Stores the picture for the file: the picture in memory, normalised and
    // limited on import, is written (the file itself is never copied).
    bool saveOriginalImageFrom(const QString& path, QString* error = nullptr);
    // Writes the canvas's picture to originalFilename as JPEG at 0.98, through
    // the document folder's gateway; nothing when no picture is in memory.
    // False, and why, when it could not be written (a full disk, a
    // "pictures" that is a link).
    bool saveOriginalImage(QString* error = nullptr);
    // Holds the picture in memory: the first holder reads it from
    // originalFilename (without marking the document changed); the last
    // release drops it. The argument is not looked at; the walk stops here.
    void loadBackstore(void* context) override;
    void releaseBackstore(void* context) override;
    // Holds the picture, as loadBackstore, for making the build's images of
    // the photo: the internal images with a thumbnail of the size (unless it
    // is empty), and a slide of the size (unless it is empty). The first holder decodes a large
    // JPEG only at the smallest half, quarter or eighth of its size that
    // still gives each of those images, and the web image at the picture
    // limits, all the pixels it draws (a picture within the limits is
    // decoded whole, as loadBackstore decodes it); the canvas keeps its
    // geometry in the whole picture's pixels. A later loadBackstore reads
    // the whole picture.
    void loadBackstoreForImages(const lq::Size& thumbnail, const lq::Size& slide = lq::Size());
    // How many holders need the picture in memory.
    int backstoreCount() const { return _backstore; }
    // A new picture from the photo editor: the internal images are deleted,
    // the picture is stored, and it is read back and held once.
    void setNewImage(const lq::GraphicsImage& image);

    // --- Parts ------------------------------------------------------------------
    const std::shared_ptr<XmlCanvas>& canvas() const { return _canvas; }
    // Takes the new canvas as the photo's part and stores its picture (also
    // when it is the photo's own canvas, edited in place). No canvas (nullptr)
    // is refused: a photo always has a canvas.
    void setCanvas(const std::shared_ptr<XmlCanvas>& canvas);
    const std::shared_ptr<XmlCaption>& caption() const { return _caption; }
    const std::shared_ptr<XmlPayPalData>& paypal() const { return _paypal; }
    // The PayPal item has a price and a name.
    bool canBePurchased() const;

    // --- Settings ---------------------------------------------------------------
    // Each setter is a change.
    const QString& altText() const { return _altText; }
    void setAltText(const QString& text);
    // The canvas's callouts count as part of the picture for the thumbnail.
    bool showObjects() const override { return _showObjects; }
    void setShowObjects(bool show);
    // The watermark of the album page the photo lies on, or nothing.
    XmlWatermark* pageWatermark() const override;
    // The photo's rectangle on a 1.0 page, read only from 1.0 documents.
    const lq::Rect& legacyRect() const { return legacy1_0Rect; }

    // --- Files ------------------------------------------------------------------
    // "pictures/image<N>.jpg"; with all, also the three internal images
    // (thumbnail, full size, icon) relative to the document folder. The walk
    // stops here.
    void listOfFilesToCopyAll(QStringList& files, bool all) override;
    // Removes the three internal images when the photo belongs to a site
    // document; the stored picture stays.
    void deleteFiles();

    // The internal images of picture N, relative to the document folder:
    // "temp/<A + N mod 26><N in hex><Z - N mod 13>.jpg" (thumbnail),
    // "temp/<Z - N mod 26><E + N mod 11><N in hex>.jpg" (full size) and
    // "temp/<A + N mod 26><W - N mod 7><N in hex>.jpg" (icon).
    static QString thumbnailName(int number);
    static QString fullSizeName(int number);
    static QString iconName(int number);
    // The same with the document folder in front.
    QString thumbnailFilename();
    QString fullSizeFilename();
    QString iconFilename();

    // --- Internal and published images -----------------------------------------
    // Makes the thumbnail (of the canvas's thumbnail aspect) and the 120 x 90
    // icon and keeps them; in a site document also writes them and (but for
    // a representative picture) the full-size image limited to the
    // application's picture size into "temp".
    void createInternalImages();
    // The kept image; else, in a site document, the one in "temp" (made when
    // it cannot be read); else one made in memory.
    lq::GraphicsImage thumbnail();
    QImage iconImage() override;
    // The canvas's thumbnail aspect becomes the size ("{w, h}"); the
    // thumbnail is made again and written to "temp". Clears the pending
    // re-make. No change of the document: the album showing the photo
    // decides the shape.
    void resizeThumbnail(const QString& size);
    // Asks the next drawing of the thumbnail to make it again at once.
    void forceRedraw() { ++_forceRedraw; }
    bool pendingResize() const { return _pendingResize; }
    // Draws the thumbnail into the rectangle of the current context, inside
    // the frame's background and overlay (drawn around the frame rectangle).
    // A thumbnail of another size is made again at once when asked with
    // forceRedraw; otherwise nothing more is drawn and the answer is the
    // size to make it at later, for the caller to queue
    // (DocumentBase::resizeThumbnails). Nothing is drawn while that is pending.
    std::optional<lq::Size> drawThumbNailAtFrameFrameRect(const lq::Rect& rect, PhotoFrame* frame,
                                                          const lq::Rect& frameRect);
    // The rectangle of a thumbnail fitted into a box of the size within the
    // rectangle, proportions kept. Zero sizes raise "Divide By 0".
    lq::Rect aspectThumbRectForSize(const lq::Rect& rect, const lq::Size& size);
    // Writes the published images under "homepage/pictures": the web image
    // (with fullSize, for a photo of an album page), then the thumbnail of
    // the size, plain ("thumb<N>.jpg") or drawn in the frame ("thumb<N>.png",
    // frameRect large, the thumbnail at thumbRect). A zero size writes no
    // thumbnail.
    void createWebImageFullSizeFrameFrameRectThumbRect(const lq::Size& thumbSize, bool fullSize, PhotoFrame* frame,
                                                       const lq::Rect& frameRect, const lq::Rect& thumbRect);
    // Writes "homepage/pictures/slide<N>.jpg": the canvas limited to the size.
    void createSlideImage(const lq::Size& size);
    // An edit of the photo is kept: the internal images are made again.
    void canSaveChanges();

protected:
    // A photo of the class T holding the picture of the file, or nothing.
    template <class T>
    static std::shared_ptr<T> photoFromFile(const QString& path, lq::PictureRefusal* refusal = nullptr)
    {
        return photoWithPicture<T>(importedPicture(path, refusal));
    }
    // A photo of the class T holding the picture, or nothing for none.
    template <class T>
    static std::shared_ptr<T> photoWithPicture(const lq::GraphicsImage& picture)
    {
        if (picture.isNull())
            return nullptr;
        std::shared_ptr<T> photo = T::create();
        photo->setPicture(picture);
        return photo;
    }
    // The picture of the file at the name below the document folder (read
    // through its gateway) at its pixel size, or nothing.
    lq::GraphicsImage storedPicture(const QString& name);
    // A picture file's bytes decoded at their pixel size, or nothing.
    static lq::GraphicsImage pictureOfData(const QByteArray& bytes);
    // The same, decoded no larger than needed to be limited to the limit
    // afterwards (it may still be larger than the limit); nothing, and why,
    // when the picture cannot be decoded.
    static lq::GraphicsImage pictureOfDataForLimit(const QByteArray& bytes, const lq::Size& limit, lq::PictureRefusal* refusal = nullptr);
    // The picture of the file at the name below the document folder,
    // decoded no smaller than the scale of the whole when the whole is of
    // the size given; `whole` receives the size of the whole picture.
    // Nothing when the file cannot be read as a picture.
    lq::GraphicsImage storedPictureAtScale(const QString& name, const lq::Size& size, double scale, QSize* whole);
    // The largest scale at which the images loadBackstoreForImages holds the
    // picture for draw it.
    double scaleOfImages(const lq::Size& thumbnail, const lq::Size& slide);
    // Gives the image (or nothing) to the canvas's picture element.
    void setPicture(const lq::GraphicsImage& image);
    // The document folder joined with the relative path.
    QString inDocument(const QString& relative);
    // The application's picture limits; a limit start-up has not set counts as 1024.
    static lq::Size pictureLimit();
    // The photo's document has a site.
    bool inSiteDocument();
    // "homepage/pictures/<prefix><N>.<extension>", below the document folder.
    QString publishedName(const QString& prefix, const QString& extension) const;

    std::shared_ptr<XmlCaption> _caption;
    std::shared_ptr<XmlCanvas> _canvas;
    // The thumbnail and icon kept in memory once made.
    lq::GraphicsImage _thumbnail;
    lq::GraphicsImage _iconImage;
    QString _altText = QStringLiteral("");
    int image_seq_number = 0;
    int _backstore = 0;
    // Requests to re-make the thumbnail at once.
    int _forceRedraw = 0;
    // A deferred thumbnail re-make is queued.
    bool _pendingResize = false;
    bool _showObjects = false;
    std::shared_ptr<XmlPayPalData> _paypal;
    lq::Rect legacy1_0Rect;
};
