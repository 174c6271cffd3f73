#pragma once

#include "model/imaging/XmlDraw.h"
#include "platform/Colour.h"

#include <memory>

class CanvasHolder;
class XmlDrawObject;
class XmlDrawObjects;
class XmlImage;
class XmlWatermark;

// A photo's editable picture: the picture, its callouts and its watermark, a
// background colour, the thumbnail framing (which part of the picture a
// thumbnail shows) and the settings of the colour filters the picture can be
// drawn through.
//
// The picture, the callout list and the watermark are owned parts, not
// children: they are written inside the canvas's element (the watermark only
// with a placement, the list only with callouts) and read back into the same
// parts.
class XmlCanvas final : public XmlDraw {
public:
    explicit XmlCanvas(Key key);
    ~XmlCanvas() override;

    static std::shared_ptr<XmlCanvas> create();
    static XmlCanvas* cast(XmlBase* object) { return dynamic_cast<XmlCanvas*>(object); }
    // A new canvas whose picture holds the image.
    static std::shared_ptr<XmlCanvas> createFromImage(const lq::GraphicsImage& image);

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // Only a file tree is taken as a child.
    bool canYouBeMyParent(XmlBase* child) override;
    // The picture's element, then the watermark's (with a placement), then
    // the callout list's (with callouts).
    QString writeXmlVorns() override;
    // "IWimage", "IWdrawobjects" and "IWwatermark" are the canvas's own parts, filled in place.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The picture, the watermark and the callout list.
    XmlBaseList ownedParts() const override;

    // A file name kept with the canvas; never written.
    const QString& filename() const { return _filename; }
    void setFilename(const QString& filename) { _filename = filename; }

    // --- Parts ------------------------------------------------------------------
    // Never nothing. The setters take the new part (a change) and detach the
    // old one; nothing (a null part) is refused.
    const std::shared_ptr<XmlImage>& image() const { return _image; }
    void setImage(const std::shared_ptr<XmlImage>& image);
    const std::shared_ptr<XmlDrawObjects>& drawObjects() const { return _drawObjects; }
    void setDrawObjects(const std::shared_ptr<XmlDrawObjects>& drawObjects);
    const std::shared_ptr<XmlWatermark>& watermark() const { return _watermark; }
    void setWatermark(const std::shared_ptr<XmlWatermark>& watermark);

    const lq::Colour& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const lq::Colour& colour);
    // 1 for a canvas of a photo (a CanvasHolder), whatever is stored.
    int fillBackground() const;
    void setFillBackground(int fill);

    // Moves the callout to the top of the stack (drawn and written last);
    // one that is not in the list is ignored.
    void bringObjectToTop(XmlDrawObject* object);
    // Removes every callout.
    void clearBalloons();
    // The picture and the watermark reset, no callouts; a change.
    void reset();

    // --- Drawing ----------------------------------------------------------------
    // The background (when filled), the picture, the callouts bottom to top,
    // the watermark and, for a photo of an album page, the page's watermark.
    void draw() override;
    // The same with the picture drawn through the colour filters (as far as
    // the picture's own conditions allow).
    void drawWithFilter();
    // The same without the background fill and the canvas's own watermark:
    // how the photo editor shows the picture it edits. Nothing is changed.
    void drawWithoutFillAndWatermark();
    // The callouts and watermarks only.
    void drawObjectsNoImage();
    // The picture (grown by 10 on every side for its drop shadow) united
    // with every callout; the watermarks learn the result as their frame.
    lq::Rect boundingRect(const lq::Rect& rect) override;
    // The bottom-most callout whose body, or the 10 x 10 square around whose
    // anchor or tail, holds the point; nothing when none does.
    XmlDrawObject* objectAtPoint(const lq::Point& point);

    // --- Thumbnail framing --------------------------------------------------
    // Offsets and scale are kept within 0 to 1, the aspect at 1 or more; each
    // setter is a change.
    float thumbOffsetX() const { return _thumbOffsetX; }
    void setThumbOffsetX(float offset);
    float thumbOffsetY() const { return _thumbOffsetY; }
    void setThumbOffsetY(float offset);
    float thumbScale() const { return _thumbScale; }
    void setThumbScale(float scale);
    float thumbAspectX() const { return _thumbAspectX; }
    void setThumbAspectX(float aspect);
    float thumbAspectY() const { return _thumbAspectY; }
    void setThumbAspectY(float aspect);

    // --- Colour filters -------------------------------------------------------
    // The setters only store: they never mark the document changed.
    //
    // Sharpening amount; 0 sharpens nothing.
    double highboost() const { return _highboost; }
    void setHighboost(double highboost) { _highboost = highboost; }
    // The colour changes; all three 0 leave the colours alone.
    double brightness() const { return _brightness; }
    void setBrightness(double brightness) { _brightness = brightness; }
    double contrast() const { return _contrast; }
    void setContrast(double contrast) { _contrast = contrast; }
    double saturation() const { return _saturation; }
    void setSaturation(double saturation) { _saturation = saturation; }
    // Whether the picture is drawn through the filters: always while
    // drawWithFilter draws it, else the stored setting.
    bool useFilter() const { return _isInDrawWithFilter || _useFilter; }
    void setUseFilter(bool use) { _useFilter = use; }

    // --- Thumbnails and icons ---------------------------------------------------
    // The frame within r of the thumbnail's proportions: W wide at scale 0,
    // the largest one at scale 1, placed by the offsets, edges rounded up.
    lq::Rect calcThumbnailWithWidth(const lq::Rect& r, int W);
    // Draws the framed part of the picture (imageOnly: its pixels through
    // the filters; else the whole canvas through drawWithFilter) into dest.
    void drawThumbNailWithWidthImageOnly(const lq::Rect& dest, int W, bool imageOnly);
    // A thumbnail of the size; nothing for a size or bounds without area.
    lq::GraphicsImage createThumbnailWithSize(const lq::Size& size);
    // Draws the bounding rectangle of the picture into (0, 0, size).
    void drawIconImageBoundingImageOnly(const lq::Size& size, const lq::Rect& bounding, bool imageOnly);
    // The whole picture fitted into the size, proportions kept (edges
    // rounded up); nothing for a size or picture without area.
    lq::GraphicsImage createIconImageWithMaxSize(const lq::Size& size);
    // How much createThumbnailWithSize and createIconImageWithMaxSize scale
    // the picture, the larger of the two scales of each (1: pixel for
    // pixel); 1 when they would make nothing.
    double scaleOfThumbnailWithSize(const lq::Size& size);
    double scaleOfIconImageWithMaxSize(const lq::Size& size);

private:
    // Takes the part: detaches the old one, attaches the new one, a change.
    template <class Part>
    void takePart(std::shared_ptr<Part>& slot, const std::shared_ptr<Part>& part);
    // The element holding the canvas when it is a photo (or another holder).
    const CanvasHolder* holder() const;
    // The album page's watermark when the canvas belongs to a photo of one.
    XmlWatermark* pageWatermark() const;
    // Fill and watermark: the background fill and the canvas's own watermark.
    void drawParts(bool withImage, bool filtered, bool fillAndWatermark = true);
    // Whether a thumbnail shows the picture alone, without the callouts.
    bool thumbnailOfImageOnly() const;
    // The frame width a thumbnail is worked out from (see calcThumbnailWithWidth).
    int thumbnailFrameWidth() const;

    // Made in this order: the list, the picture, the watermark.
    std::shared_ptr<XmlDrawObjects> _drawObjects;
    std::shared_ptr<XmlImage> _image;
    std::shared_ptr<XmlWatermark> _watermark;
    int _fillBackground = 1;
    lq::Colour _backgroundColor = lq::Colour::white();
    float _thumbOffsetX = 0.5f;
    float _thumbOffsetY = 0.5f;
    float _thumbScale = 1.0f;
    float _thumbAspectX = 320.0f;
    float _thumbAspectY = 240.0f;
    bool _isInDrawWithFilter = false;
    bool _useFilter = false;
    double _highboost = 0.5;
    double _brightness = 0.0;
    double _contrast = 0.0;
    double _saturation = 0.0;
    QString _filename;
};
