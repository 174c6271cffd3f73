#pragma once

#include "model/imaging/XmlDrawObject.h"
#include "platform/Colour.h"
#include "platform/Geometry.h"
#include "platform/graphics/GraphicsImage.h"

#include <memory>

class XmlCanvas;
class XmlShape;

// The picture of a photo's canvas: the bitmap with its crop, mask shape,
// border and drop shadow, and whether the cropped-away part shows faded while
// the user crops. All coordinates are the image's pixels: when an image is
// set, the body rectangle becomes {0, 0, pixels wide, pixels high}. The
// picture draws itself into the current graphics context (y-down), through
// the colour filters when its canvas asks for them.
//
// The mask shape is an owned part, not a child: it is written inside the
// picture's element and read back into the same shape.
class XmlImage final : public XmlDrawObject {
public:
    explicit XmlImage(Key key);
    ~XmlImage() override;

    static std::shared_ptr<XmlImage> create();
    static XmlImage* cast(XmlBase* object) { return dynamic_cast<XmlImage*>(object); }
    // A new picture holding the image.
    static std::shared_ptr<XmlImage> createFromImage(const lq::GraphicsImage& image);

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // The mask shape's element.
    QString writeXmlVorns() override;
    // The mask shape, when there is one.
    XmlBaseList ownedParts() const override;
    // "IWshape" is the picture's own shape.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // A picture embedded in a legacy document is decoded from the element's data.
    void postload() override;

    // --- The picture ----------------------------------------------------------
    // The image; an embedded one is decoded first when it has not been yet.
    lq::GraphicsImage image();
    // Sets the image and makes the body its whole rectangle. No image leaves
    // the body and the document's change mark as they were.
    void setImage(const lq::GraphicsImage& image);
    // Decodes the bytes into the image; bytes that are no image leave the
    // picture without one.
    void setImageData(const QByteArray& data);
    // Sets an image decoded smaller than the picture of the size it stands
    // for (a fraction of a large stored picture, for images made smaller
    // still): the body becomes that picture's whole rectangle, as with
    // setImage of the whole picture, and the image is drawn over it. Crop,
    // callouts and every other coordinate stay in the whole picture's pixels.
    void setReducedImage(const lq::GraphicsImage& image, const lq::Size& wholeSize);
    // Whether the image in memory is smaller than the picture it stands for.
    bool isReduced() const;
    // The part of the image in memory under a rectangle of the picture's
    // pixels: the same rectangle unless the image is reduced.
    lq::Rect imageRectForRect(const lq::Rect& rect) const;
    int indata() const { return _indata; }

    // The visible part in pixels, integral; the zero rectangle means no crop.
    const lq::Rect& crop() const { return _crop; }
    // Stores the integral rectangle; one without area stores the zero rectangle.
    void setCrop(const lq::Rect& crop);
    // The crop's part of the whole image; the whole image when they do not overlap.
    lq::Rect bodyRect() const override;
    // The whole image: the crop is stored in its own attribute.
    lq::Rect storedBodyRect() const override;

    XmlShape* shape() const { return _shape.get(); }
    void setShape(const std::shared_ptr<XmlShape>& shape);

    const lq::Colour& borderColor() const { return _borderColor; }
    void setBorderColor(const lq::Colour& colour);
    // In pixels; 0 draws no border.
    int borderWidth() const { return _borderWidth; }
    void setBorderWidth(int width);
    bool dropShadow() const { return _dropShadow; }
    void setDropShadow(bool shadow);
    // Clip to the mask shape; the border and the drop shadow exist only with it.
    bool useShape() const { return _useShape; }
    void setUseShape(bool use);
    // Crop mode of the photo editor: the whole image shows faded behind the
    // crop. Never stored, never marks the document changed.
    bool showCrop() const { return _showCrop; }
    void setShowCrop(bool show) { _showCrop = show; }
    // Fill the bounding rectangle with the background colour before drawing.
    // Never stored, never marks the document changed.
    bool fillBkgnd() const { return _fillBkgnd; }
    void setFillBkgnd(bool fill) { _fillBkgnd = fill; }

    // No crop, no border, no drop shadow; the border colour, the shape and
    // useShape stay.
    void reset();

    // Draws the picture into the current graphics context (nothing when none
    // is current).
    void draw() override;

    // --- Image operations -----------------------------------------------------
    // A new image of exactly the size.
    static lq::GraphicsImage resizeImageToSize(const lq::GraphicsImage& image, const lq::Size& size);
    // A new image no larger than the limit, proportions kept; never enlarged.
    // An image without width or height raises "Divide By 0".
    static lq::GraphicsImage resizeImageToLimitSize(const lq::GraphicsImage& image, const lq::Size& limit);
    // The size resizeImageToLimitSize gives an image of the size, in whole pixels.
    static lq::Size limitedSize(const lq::Size& size, const lq::Size& limit);
    // A new image turned clockwise by a quarter turn (90), counter-clockwise
    // (-90), or by half a turn (any other value).
    static lq::GraphicsImage rotateImageDegrees(const lq::GraphicsImage& image, int degrees);

    // Draws the pixels of the source rectangle (whole pixels, top row first)
    // into the destination of the current context through the bitmap
    // routines: resampled to the destination's whole-pixel size, sharpened
    // by highboost x 0.25 unless highboost is 0, and their colours changed
    // unless all three changes are 0. The representation must have 32 or 24
    // bits per pixel; false when its pixels cannot be read.
    static bool drawFilteredPixels(const lq::BitmapImageRep& rep, const lq::Rect& source, const lq::Rect& destination,
                                   double highboost, double brightness, double contrast, double saturation);

private:

    lq::GraphicsImage _image;
    // The size of the picture a reduced image stands for; zero otherwise.
    lq::Size _wholeSize;
    lq::Rect _crop;
    std::shared_ptr<XmlShape> _shape;
    lq::Colour _borderColor = lq::Colour::black();
    int _borderWidth = 0;
    bool _useShape = true;
    bool _showCrop = false;
    bool _dropShadow = false;
    int _indata = 0;
    bool _fillBkgnd = false;
};
