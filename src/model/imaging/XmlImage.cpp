#include "model/imaging/XmlImage.h"

#include "model/imaging/BitmapRoutines.h"
#include "model/imaging/XmlCanvas.h"
#include "model/imaging/XmlShape.h"
#include "model/core/DocumentBase.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Shadow.h"

using namespace lq::literals;

namespace {

// The shadow under a masked picture.
const lq::Shadow pictureShadow(10.0f, lq::Colour::black(), lq::Size(5.0f, -5.0f));

// Frees the bitmaps of one filtered drawing, whatever way it ends.
struct Bitmaps {
    bitmap* source = nullptr;
    bitmap* view = nullptr;
    bitmap* current = nullptr;
    ~Bitmaps()
    {
        bitmap_free(current, 0);
        bitmap_free(view, 0);
        bitmap_free(source, 0);
    }
};

} // namespace

XmlImage::XmlImage(Key key)
    : XmlDrawObject(key)
    , _shape(XmlShape::create())
{
    // Unlike the callouts, the picture carries no text.
    setHaveContent(false);
    _shape->setParent(this);
    reset();
}

XmlImage::~XmlImage()
{
    if (_shape)
        _shape->setParent(nullptr);
}

std::shared_ptr<XmlImage> XmlImage::create()
{
    return make<XmlImage>();
}

std::shared_ptr<XmlImage> XmlImage::createFromImage(const lq::GraphicsImage& image)
{
    return lq::classFrame("XmlImage +createFromImage:", [&] {
        std::shared_ptr<XmlImage> picture = create();
        picture->setImage(image);
        return picture;
    });
}

QString XmlImage::elementName() const
{
    return QStringLiteral("IWimage");
}

// --- Element protocol -------------------------------------------------------------------------

void XmlImage::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"crop"_sv)
            setCrop(lq::stringToRect(value));
        else if (key == u"bordercolor"_sv)
            setBorderColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"borderwidth"_sv)
            setBorderWidth(lq::intValue(value));
        else if (key == u"dropshadow"_sv)
            setDropShadow(lq::intValue(value) != 0);
        else if (key == u"indata"_sv)
            _indata = lq::intValue(value);
        else
            XmlDrawObject::setAttributeTo(key, value);
    });
}

void XmlImage::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDrawObject::appendAttributes(xml);
        xml += QStringLiteral(" crop=\"%1\"").arg(lq::rectToString(_crop));
        xml += QStringLiteral(" bordercolor=\"%1\"").arg(lq::colorToString(_borderColor));
        xml += QString::asprintf(" borderwidth=\"%d\"", _borderWidth);
        xml += QString::asprintf(" dropshadow=\"%d\"", _dropShadow ? 1 : 0);
    });
}

QString XmlImage::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&]() -> QString {
        return _shape ? _shape->createXml() : QString();
    });
}

XmlBaseList XmlImage::ownedParts() const
{
    XmlBaseList parts;
    if (_shape)
        parts.append(_shape);
    parts.append(XmlDrawObject::ownedParts());
    return parts;
}

XmlBasePtr XmlImage::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"IWshape"_sv && _shape)
            return _shape;
        return XmlDrawObject::createChildFromTag(tag);
    });
}

void XmlImage::postload()
{
    lq::modelFrame(this, "postload", [&] {
        if (_indata != 0)
            setImageData(data());
        XmlDrawObject::postload();
    });
}

// --- The picture ------------------------------------------------------------------------------

lq::GraphicsImage XmlImage::image()
{
    return lq::modelFrame(this, "image", [&] {
        if (_image.isNull() && _indata != 0)
            setImageData(data());
        return _image;
    });
}

void XmlImage::setImage(const lq::GraphicsImage& image)
{
    lq::modelFrame(this, "setImage:", [&] {
        _image = image;
        _wholeSize = lq::Size();
        if (_image.isNull())
            return;
        // One point of the image is one pixel.
        _objectBodyRect = lq::Rect(0, 0, static_cast<float>(_image.pixelsWide()), static_cast<float>(_image.pixelsHigh()));
        docChanged();
    });
}

void XmlImage::setReducedImage(const lq::GraphicsImage& image, const lq::Size& wholeSize)
{
    lq::modelFrame(this, "setReducedImage:wholeSize:", [&] {
        if (image.isNull() || wholeSize.width <= 0 || wholeSize.height <= 0 || image.size() == wholeSize) {
            setImage(image);
            return;
        }
        _image = image;
        _wholeSize = wholeSize;
        _objectBodyRect = lq::Rect(lq::Point(), wholeSize);
        docChanged();
    });
}

bool XmlImage::isReduced() const
{
    return !_image.isNull() && _wholeSize.width > 0 && _wholeSize.height > 0;
}

lq::Rect XmlImage::imageRectForRect(const lq::Rect& rect) const
{
    if (!isReduced())
        return rect;
    const float sx = static_cast<float>(_image.pixelsWide()) / _wholeSize.width;
    const float sy = static_cast<float>(_image.pixelsHigh()) / _wholeSize.height;
    return lq::Rect(rect.x() * sx, rect.y() * sy, rect.width() * sx, rect.height() * sy);
}

void XmlImage::setImageData(const QByteArray& data)
{
    lq::modelFrame(this, "setImageData:", [&] {
        _wholeSize = lq::Size();
        QList<QImage> decoded = lq::decodeImageRepresentations(data);
        if (decoded.isEmpty()) {
            _image = lq::GraphicsImage();
            return;
        }
        // Handed over, not shared: the picture's pixels are brought into
        // their layout in place rather than in a copy.
        _image = lq::GraphicsImage(std::move(decoded.first()));
        _objectBodyRect = lq::Rect(0, 0, static_cast<float>(_image.pixelsWide()), static_cast<float>(_image.pixelsHigh()));
        docChanged();
    });
}

void XmlImage::setCrop(const lq::Rect& crop)
{
    setStored(_crop, crop.integral(), "setCrop:");
}

lq::Rect XmlImage::storedBodyRect() const
{
    return _objectBodyRect;
}

lq::Rect XmlImage::bodyRect() const
{
    const lq::Rect visible = _crop.intersected(_objectBodyRect);
    if (visible.isZero() || visible.isEmpty())
        return _objectBodyRect;
    return visible;
}

void XmlImage::setShape(const std::shared_ptr<XmlShape>& shape)
{
    lq::modelFrame(this, "setShape:", [&] {
        if (_shape)
            _shape->setParent(nullptr);
        _shape = shape;
        if (_shape)
            _shape->setParent(this);
        docChanged();
    });
}

void XmlImage::setBorderColor(const lq::Colour& colour)
{
    setStored(_borderColor, colour, "setBorderColor:");
}

void XmlImage::setBorderWidth(int width)
{
    setStored(_borderWidth, width, "setBorderWidth:");
}

void XmlImage::setDropShadow(bool shadow)
{
    setStored(_dropShadow, shadow, "setDropShadow:");
}

void XmlImage::setUseShape(bool use)
{
    setStored(_useShape, use, "setUseShape:");
}

void XmlImage::reset()
{
    _crop = lq::Rect();
    _borderWidth = 0;
    _dropShadow = false;
    docChanged();
}

// --- Drawing ----------------------------------------------------------------------------------

void XmlImage::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const lq::GraphicsImage picture = image();

        if (_fillBkgnd) {
            context->setColor(backgroundColor());
            context->fillRect(boundingRect(lq::Rect()));
        }
        if (_showCrop) {
            const lq::Rect whole = _objectBodyRect.integral();
            picture.drawInRect(whole, imageRectForRect(whole), lq::CompositingOperation::SourceOver, 0.4f);
        }

        const lq::Rect r = bodyRect();
        context->setImageInterpolation(lq::ImageInterpolation::High);
        context->saveGraphicsState();

        // The shape is built with y growing upwards; mirrored onto r it
        // stands upright in the y-down context.
        std::optional<lq::BezierPath> outline;
        if (_useShape && _shape)
            outline = _shape->makePathWithWidthAndHeight(static_cast<int>(r.width()), static_cast<int>(r.height()));
        if (outline) {
            outline->transformUsingAffineTransform(QTransform::fromScale(1, -1)
                                                   * QTransform::fromTranslate(r.x(), r.y() + r.height()));
            if (_dropShadow) {
                context->saveGraphicsState();
                context->setShadow(pictureShadow);
                context->setColor(backgroundColor());
                outline->fill();
                context->restoreGraphicsState();
            }
            outline->addClip();
        }

        bool drawn = false;
        // Only a picture in a canvas is drawn through filters; the picture of
        // a theme's background image never is.
        const XmlCanvas* canvas = XmlCanvas::cast(parent());
        if (canvas && canvas->useFilter()) {
            DocumentBase* document = myDocument();
            if (document && document->testMode()) {
                if (const std::optional<lq::BitmapImageRep> rep = picture.bitmapRepresentation()) {
                    if (rep->bitsPerPixel == 32 || rep->bitsPerPixel == 24)
                        drawn = drawFilteredPixels(*rep, imageRectForRect(r), r, canvas->highboost(), canvas->brightness(),
                                                   canvas->contrast(), canvas->saturation());
                    else
                        lq::log(QStringLiteral("bits per pixel: %1").arg(rep->bitsPerPixel));
                }
            }
        }
        if (!drawn)
            picture.drawInRect(r.integral(), imageRectForRect(r.integral()), lq::CompositingOperation::SourceOver, 1.0f);

        if (outline && _borderWidth != 0) {
            // The clip is still in force: only the inner half of the line shows.
            context->setColor(_borderColor);
            outline->setLineWidth(static_cast<float>(_borderWidth));
            outline->setLineCapStyle(lq::BezierPath::LineCap::Square);
            outline->stroke();
        }

        context->restoreGraphicsState();
    });
}

bool XmlImage::drawFilteredPixels(const lq::BitmapImageRep& rep, const lq::Rect& source, const lq::Rect& destination,
                                  double highboost, double brightness, double contrast, double saturation)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    if (!context || !rep.bitmapData || (rep.bitsPerPixel != 32 && rep.bitsPerPixel != 24))
        return false;
    const lq::Rect area = source.integral();
    const int x = static_cast<int>(area.x());
    const int y = static_cast<int>(area.y());
    const int w = static_cast<int>(area.width());
    const int h = static_cast<int>(area.height());
    const lq::Rect target = destination.integral();
    const int targetW = static_cast<int>(target.width());
    const int targetH = static_cast<int>(target.height());
    const bool wide = rep.bitsPerPixel == 32;

    Bitmaps bitmaps;
    int row = 0;
    if (wide) {
        // The image's own pixels, read in place, top row first. The routines
        // only read a source bitmap.
        bitmaps.source = bitmap_wrap(const_cast<uint8_t*>(rep.bitmapData), rep.pixelsWide, rep.pixelsHigh, rep.bytesPerRow);
        row = y;
    } else {
        // A copy, bottom row first.
        bitmaps.source = bitmap_from_rgb(rep.bitmapData, rep.pixelsWide, rep.pixelsHigh, rep.bytesPerRow);
        row = rep.pixelsHigh - h - y;
    }
    if (!bitmaps.source)
        return false;
    bitmaps.view = bitmap_crop(bitmaps.source, row, x, w, h);
    if (!bitmaps.view)
        return false;
    bitmaps.current = bitmap_alloc(targetW, targetH);
    if (!bitmaps.current)
        return false;
    bitmap_resample(bitmaps.view, bitmaps.current);

    if (highboost != 0) {
        // A bitmap too small to sharpen is drawn as it is.
        if (bitmap* sharpened = bitmap_sharpen(bitmaps.current, highboost * 0.25)) {
            bitmap_free(bitmaps.current, 0);
            bitmaps.current = sharpened;
        }
    }
    if (brightness != 0 || contrast != 0 || saturation != 0)
        bitmap_adjust(bitmaps.current, brightness, contrast, saturation);

    const QImage pixels = bitmap_to_cgimage(bitmaps.current);
    if (wide) {
        context->drawImage(pixels, destination, lq::Rect(), lq::CompositingOperation::SourceOver, 1.0f);
    } else {
        // Bottom row first: drawn mirrored about the destination's middle, it stands upright.
        lq::GraphicsContext::SavedState saved;
        context->concat(QTransform(1, 0, 0, -1, 0, 2.0 * destination.y() + destination.height()));
        context->drawImage(pixels, destination, lq::Rect(), lq::CompositingOperation::SourceOver, 1.0f);
    }
    return true;
}

// --- Image operations -------------------------------------------------------------------------

lq::GraphicsImage XmlImage::resizeImageToSize(const lq::GraphicsImage& image, const lq::Size& size)
{
    return lq::classFrame("XmlImage resizeImage:toSize", [&] { return image.resizedTo(size); });
}

lq::GraphicsImage XmlImage::resizeImageToLimitSize(const lq::GraphicsImage& image, const lq::Size& limit)
{
    return lq::classFrame("XmlImage resizeImage:toLimitSize:", [&] {
        const lq::Size size = image.size();
        if (static_cast<int>(size.width) == 0 || static_cast<int>(size.height) == 0)
            lq::raise(QStringLiteral("Divide By 0"), QStringLiteral("width or height = 0"));
        return image.resizedTo(limitedSize(size, limit));
    });
}

lq::Size XmlImage::limitedSize(const lq::Size& size, const lq::Size& limit)
{
    int w = static_cast<int>(size.width);
    int h = static_cast<int>(size.height);
    if (w > limit.width) {
        h = static_cast<int>(static_cast<double>(limit.width) * h / w);
        w = static_cast<int>(limit.width);
    }
    if (h > limit.height) {
        lq::guardDivisor(h, QStringLiteral("width or height = 0"));
        w = static_cast<int>(static_cast<double>(limit.height) * w / h);
        h = static_cast<int>(limit.height);
    }
    return lq::Size(static_cast<float>(w), static_cast<float>(h));
}

lq::GraphicsImage XmlImage::rotateImageDegrees(const lq::GraphicsImage& image, int degrees)
{
    return lq::classFrame("XmlImage rotateImage:degrees:", [&] { return image.rotatedBy(degrees); });
}
