#include "model/imaging/XmlCanvas.h"

#include "model/imaging/XmlDrawObject.h"
#include "model/imaging/XmlDrawObjects.h"
#include "model/imaging/XmlImage.h"
#include "model/imaging/XmlWatermark.h"
#include "model/imaging/CanvasHolder.h"
#include "model/files/XmlFiles.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"

#include <algorithm>
#include <cmath>

using namespace lq::literals;

namespace {

float withinZeroAndOne(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

// Raises the context's interpolation to high while it lives, and sets it
// back to the default after.
class HighInterpolation {
public:
    explicit HighInterpolation(lq::GraphicsContext& context)
        : _context(context)
    {
        _context.setImageInterpolation(lq::ImageInterpolation::High);
    }
    ~HighInterpolation() { _context.setImageInterpolation(lq::ImageInterpolation::Default); }
    HighInterpolation(const HighInterpolation&) = delete;
    HighInterpolation& operator=(const HighInterpolation&) = delete;

private:
    lq::GraphicsContext& _context;
};

} // namespace

XmlCanvas::XmlCanvas(Key key)
    : XmlDraw(key)
    , _drawObjects(XmlDrawObjects::create())
    , _image(XmlImage::create())
    , _watermark(XmlWatermark::create())
{
    _have_children = true;
    _drawObjects->setParent(this);
    _image->setParent(this);
    _watermark->setParent(this);
}

XmlCanvas::~XmlCanvas()
{
    // The parts may outlive the canvas in other hands; they must not point back at it.
    for (XmlBase* part : { static_cast<XmlBase*>(_image.get()), static_cast<XmlBase*>(_drawObjects.get()),
             static_cast<XmlBase*>(_watermark.get()) }) {
        if (part)
            part->setParent(nullptr);
    }
}

std::shared_ptr<XmlCanvas> XmlCanvas::create()
{
    return make<XmlCanvas>();
}

std::shared_ptr<XmlCanvas> XmlCanvas::createFromImage(const lq::GraphicsImage& image)
{
    return lq::classFrame("XmlCanvas +createFromImage:", [&] {
        std::shared_ptr<XmlCanvas> canvas = create();
        canvas->setImage(XmlImage::createFromImage(image));
        return canvas;
    });
}

QString XmlCanvas::elementName() const
{
    return QStringLiteral("IWcanvas");
}

// --- Element protocol -------------------------------------------------------------------------

void XmlCanvas::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"backgroundcolor"_sv)
            setBackgroundColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"fillbackground"_sv)
            setFillBackground(lq::intValue(value));
        else if (key == u"toffsetx"_sv)
            setThumbOffsetX(lq::floatValue(value));
        else if (key == u"toffsety"_sv)
            setThumbOffsetY(lq::floatValue(value));
        else if (key == u"tscale"_sv)
            setThumbScale(lq::floatValue(value));
        else if (key == u"taspectx"_sv)
            setThumbAspectX(lq::floatValue(value));
        else if (key == u"taspecty"_sv)
            setThumbAspectY(lq::floatValue(value));
        // The filter values are stored as single-precision numbers.
        else if (key == u"highboost"_sv)
            setHighboost(lq::floatValue(value));
        else if (key == u"brightness"_sv)
            setBrightness(lq::floatValue(value));
        else if (key == u"contrast"_sv)
            setContrast(lq::floatValue(value));
        else if (key == u"saturation"_sv)
            setSaturation(lq::floatValue(value));
        else if (key == u"useFilter"_sv)
            setUseFilter(lq::intValue(value) != 0);
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlCanvas::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QStringLiteral(" backgroundcolor=\"%1\"").arg(lq::colorToString(_backgroundColor));
        xml += QString::asprintf(" fillbackground=\"%d\"", fillBackground());
        xml += QString::asprintf(" toffsetx=\"%f\" toffsety=\"%f\" tscale=\"%f\"", static_cast<double>(_thumbOffsetX),
                                 static_cast<double>(_thumbOffsetY), static_cast<double>(_thumbScale));
        xml += QString::asprintf(" taspectx=\"%f\" taspecty=\"%f\"", static_cast<double>(_thumbAspectX),
                                 static_cast<double>(_thumbAspectY));
        xml += QString::asprintf(" highboost=\"%f\"", _highboost);
        xml += QString::asprintf(" brightness=\"%f\" contrast=\"%f\" saturation=\"%f\"", _brightness, _contrast, _saturation);
        xml += QString::asprintf(" useFilter=\"%d\"", useFilter() ? 1 : 0);
    });
}

bool XmlCanvas::canYouBeMyParent(XmlBase* child)
{
    // The picture, the callouts and the watermark are owned parts, never
    // children; of the rest only a file tree is taken.
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlFiles::cast(child) != nullptr;
    });
}

QString XmlCanvas::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = _image->createXml();
        if (_watermark->placement() != 0)
            xml += _watermark->createXml();
        if (_drawObjects->numberChildren() > 0)
            xml += _drawObjects->createXml();
        return xml;
    });
}

XmlBaseList XmlCanvas::ownedParts() const
{
    XmlBaseList parts { _image, _watermark, _drawObjects };
    parts.append(XmlDraw::ownedParts());
    return parts;
}

XmlBasePtr XmlCanvas::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"IWimage"_sv)
            return _image;
        if (tag == u"IWdrawobjects"_sv)
            return _drawObjects;
        if (tag == u"IWwatermark"_sv)
            return _watermark;
        return XmlDraw::createChildFromTag(tag);
    });
}

// --- Parts ------------------------------------------------------------------------------------

template <class Part>
void XmlCanvas::takePart(std::shared_ptr<Part>& slot, const std::shared_ptr<Part>& part)
{
    if (!part || part == slot)
        return;
    slot->setParent(nullptr);
    slot = part;
    slot->setParent(this);
    docChanged();
}

void XmlCanvas::setImage(const std::shared_ptr<XmlImage>& image)
{
    lq::modelFrame(this, "setImage:", [&] { takePart(_image, image); });
}

void XmlCanvas::setDrawObjects(const std::shared_ptr<XmlDrawObjects>& drawObjects)
{
    lq::modelFrame(this, "setDrawObjects:", [&] { takePart(_drawObjects, drawObjects); });
}

void XmlCanvas::setWatermark(const std::shared_ptr<XmlWatermark>& watermark)
{
    lq::modelFrame(this, "setWatermark:", [&] { takePart(_watermark, watermark); });
}

void XmlCanvas::setBackgroundColor(const lq::Colour& colour)
{
    _backgroundColor = colour;
    docChanged();
}

int XmlCanvas::fillBackground() const
{
    return holder() ? 1 : _fillBackground;
}

void XmlCanvas::setFillBackground(int fill)
{
    _fillBackground = fill;
    docChanged();
}

void XmlCanvas::bringObjectToTop(XmlDrawObject* object)
{
    lq::modelFrame(this, "bringObjectToTop:", [&] {
        const int index = _drawObjects->indexOfChild(object);
        if (index == NotFound)
            return;
        const XmlBasePtr held = _drawObjects->childAtIndex(index);
        _drawObjects->removeChildWithoutDeletingChildren(object);
        _drawObjects->addChild(held);
    });
}

void XmlCanvas::clearBalloons()
{
    lq::modelFrame(this, "clearBalloons", [&] { _drawObjects->removeAllChildren(); });
}

void XmlCanvas::reset()
{
    lq::modelFrame(this, "reset", [&] {
        _image->reset();
        clearBalloons();
        _watermark->reset();
        docChanged();
    });
}

// --- Thumbnail framing ------------------------------------------------------------------------

void XmlCanvas::setThumbOffsetX(float offset)
{
    _thumbOffsetX = withinZeroAndOne(offset);
    docChanged();
}

void XmlCanvas::setThumbOffsetY(float offset)
{
    _thumbOffsetY = withinZeroAndOne(offset);
    docChanged();
}

void XmlCanvas::setThumbScale(float scale)
{
    _thumbScale = withinZeroAndOne(scale);
    docChanged();
}

void XmlCanvas::setThumbAspectX(float aspect)
{
    _thumbAspectX = std::max(aspect, 1.0f);
    docChanged();
}

void XmlCanvas::setThumbAspectY(float aspect)
{
    _thumbAspectY = std::max(aspect, 1.0f);
    docChanged();
}

// --- Drawing ----------------------------------------------------------------------------------

const CanvasHolder* XmlCanvas::holder() const
{
    return dynamic_cast<const CanvasHolder*>(parent());
}

XmlWatermark* XmlCanvas::pageWatermark() const
{
    const CanvasHolder* owner = holder();
    return owner ? owner->pageWatermark() : nullptr;
}

void XmlCanvas::drawParts(bool withImage, bool filtered, bool fillAndWatermark)
{
    if (withImage) {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (context && fillAndWatermark && fillBackground() == 1) {
            context->setColor(_backgroundColor);
            context->fillRect(boundingRect(lq::Rect()));
        }
        struct FilterFlag {
            bool& flag;
            ~FilterFlag() { flag = false; }
        } flag { _isInDrawWithFilter };
        _isInDrawWithFilter = filtered;
        _image->draw();
    }
    for (const XmlBasePtr& child : _drawObjects->children()) {
        XmlDrawObject* object = XmlDrawObject::cast(child.get());
        if (!object)
            break;
        if (!withImage && XmlImage::cast(object))
            continue;
        object->draw();
    }
    if (fillAndWatermark)
        _watermark->draw();
    if (XmlWatermark* page = pageWatermark())
        page->draw();
}

void XmlCanvas::draw()
{
    lq::modelFrame(this, "draw", [&] { drawParts(true, false); });
}

void XmlCanvas::drawWithFilter()
{
    lq::modelFrame(this, "drawWithFilter", [&] { drawParts(true, true); });
}

void XmlCanvas::drawWithoutFillAndWatermark()
{
    lq::modelFrame(this, "drawWithoutFillAndWatermark", [&] { drawParts(true, false, false); });
}

void XmlCanvas::drawObjectsNoImage()
{
    lq::modelFrame(this, "drawObjectsNoImage", [&] { drawParts(false, false); });
}

lq::Rect XmlCanvas::boundingRect(const lq::Rect& rect)
{
    return lq::modelFrame(this, "boundingRect:", [&] {
        lq::Rect r = _image->boundingRect(rect);
        if (_image->dropShadow())
            r = r.inset(-10, -10);
        for (const XmlBasePtr& child : _drawObjects->children()) {
            if (XmlDrawObject* object = XmlDrawObject::cast(child.get()))
                r = object->boundingRect(r);
        }
        // The watermarks place themselves within the rectangle; they add nothing to it.
        _watermark->boundingRect(r);
        if (XmlWatermark* page = pageWatermark())
            page->boundingRect(r);
        return r;
    });
}

XmlDrawObject* XmlCanvas::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlDrawObject* {
        const auto near = [&](const lq::Point& p) { return lq::Rect(p.x - 5, p.y - 5, 10, 10).contains(point); };
        for (int i = 0; i < _drawObjects->numberChildren(); ++i) {
            XmlDrawObject* object = XmlDrawObject::cast(_drawObjects->childAtIndex(i).get());
            if (!object)
                continue;
            if (object->bodyRect().contains(point) || (object->hasAnchorPoint() && near(object->anchorPoint()))
                || (object->hasTailPoint() && near(object->tailPoint())))
                return object;
        }
        return nullptr;
    });
}

// --- Thumbnails and icons ---------------------------------------------------------------------

lq::Rect XmlCanvas::calcThumbnailWithWidth(const lq::Rect& r, int W)
{
    return lq::modelFrame(this, "calcThumbnail:withWidth:", [&] {
        const float tw = static_cast<float>(W);
        lq::guardDivisor(_thumbAspectX, QStringLiteral("_thumbAspectX = 0"));
        const float th = static_cast<float>(W) * _thumbAspectY / _thumbAspectX;
        lq::guardDivisor(th, QStringLiteral("thumb.height = 0"));
        const float ratio = tw / th;
        const float fullHeightWidth = r.height() * ratio;
        lq::guardDivisor(ratio, QStringLiteral("aspectRatio = 0"));
        const float fullWidthHeight = r.width() / ratio;
        const lq::Size largest = r.width() > fullHeightWidth ? lq::Size(fullHeightWidth, r.height())
                                                              : lq::Size(r.width(), fullWidthHeight);
        const float s = thumbScale();
        const float width = (largest.width - tw) * s + tw;
        const float height = (largest.height - th) * s + th;
        const float x = r.x() + (r.width() - width) * _thumbOffsetX;
        const float y = r.y() + (r.height() - height) * _thumbOffsetY;
        return lq::Rect(std::ceil(x), std::ceil(y), std::ceil(width), std::ceil(height));
    });
}

void XmlCanvas::drawThumbNailWithWidthImageOnly(const lq::Rect& dest, int W, bool imageOnly)
{
    lq::modelFrame(this, "drawThumbNail:withWidth:imageOnly:", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const lq::Rect bounds = imageOnly ? _image->boundingRect(lq::Rect()) : boundingRect(lq::Rect());
        const lq::Rect frame = calcThumbnailWithWidth(bounds, W);
        lq::GraphicsContext::SavedState saved;
        HighInterpolation interpolation(*context);
        lq::guardDivisor(frame.width(), QStringLiteral("thumb.size.width = 0"));
        const float scale = dest.width() / frame.width();
        context->setColor(_backgroundColor);
        context->fillRect(dest);

        const lq::GraphicsImage picture = _image->image();
        if (imageOnly) {
            if (const std::optional<lq::BitmapImageRep> rep = picture.bitmapRepresentation()) {
                if (rep->bitsPerPixel == 32 || rep->bitsPerPixel == 24) {
                    if (XmlImage::drawFilteredPixels(*rep, _image->imageRectForRect(frame.integral()), dest, _highboost,
                                                     _brightness, _contrast, _saturation))
                        return;
                } else {
                    lq::log(QStringLiteral("bits per pixel: %1").arg(rep->bitsPerPixel));
                }
            }
            picture.drawInRect(dest.integral(), _image->imageRectForRect(frame.integral()), lq::CompositingOperation::SourceOver,
                               1.0f);
            return;
        }
        context->clipToRect(dest);
        context->concat(QTransform::fromTranslate(-frame.x(), -frame.y()) * QTransform::fromScale(scale, scale)
                        * QTransform::fromTranslate(dest.x(), dest.y()));
        drawWithFilter();
    });
}

lq::GraphicsImage XmlCanvas::createThumbnailWithSize(const lq::Size& size)
{
    return lq::modelFrame(this, "createThumbnailWithSize:", [&]() -> lq::GraphicsImage {
        if (size.width <= 0 || size.height <= 0)
            return lq::GraphicsImage();
        const bool imageOnly = thumbnailOfImageOnly();
        const lq::Rect bounds = boundingRect(lq::Rect());
        if (bounds.width() <= 0 || bounds.height() <= 0)
            return lq::GraphicsImage();
        lq::GraphicsImage thumbnail = lq::GraphicsImage::withSize(size);
        if (thumbnail.isNull())
            return thumbnail;
        {
            lq::GraphicsImage::Focus focus(thumbnail);
            lq::guardDivisor(_thumbAspectY, QStringLiteral("_thumbAspect = 0"));
            drawThumbNailWithWidthImageOnly(lq::Rect(lq::Point(), size), thumbnailFrameWidth(), imageOnly);
        }
        return thumbnail;
    });
}

bool XmlCanvas::thumbnailOfImageOnly() const
{
    const CanvasHolder* owner = holder();
    return !(owner && owner->showObjects());
}

int XmlCanvas::thumbnailFrameWidth() const
{
    return _thumbAspectY / _thumbAspectX <= 0.75f ? 160 : static_cast<int>(120.0f * _thumbAspectX / _thumbAspectY);
}

double XmlCanvas::scaleOfThumbnailWithSize(const lq::Size& size)
{
    return lq::modelFrame(this, "scaleOfThumbnailWithSize:", [&] {
        // The aspect is kept at 1 or more, so the frame always has a width.
        const lq::Rect bounds = thumbnailOfImageOnly() ? _image->boundingRect(lq::Rect()) : boundingRect(lq::Rect());
        if (size.width <= 0 || size.height <= 0 || bounds.width() <= 0 || bounds.height() <= 0)
            return 1.0;
        const lq::Rect frame = calcThumbnailWithWidth(bounds, thumbnailFrameWidth());
        if (frame.width() <= 0 || frame.height() <= 0)
            return 1.0;
        return std::max(size.width / static_cast<double>(frame.width()), size.height / static_cast<double>(frame.height()));
    });
}

double XmlCanvas::scaleOfIconImageWithMaxSize(const lq::Size& max)
{
    return lq::modelFrame(this, "scaleOfIconImageWithMaxSize:", [&] {
        const lq::Rect b = _image->boundingRect(lq::Rect());
        if (max.width <= 0 || max.height <= 0 || b.width() <= 0 || b.height() <= 0)
            return 1.0;
        return std::min(max.width / static_cast<double>(b.width()), max.height / static_cast<double>(b.height()));
    });
}

void XmlCanvas::drawIconImageBoundingImageOnly(const lq::Size& size, const lq::Rect& bounding, bool imageOnly)
{
    lq::modelFrame(this, "drawIconImage:bounding:imageOnly:", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        lq::GraphicsContext::SavedState saved;
        HighInterpolation interpolation(*context);
        lq::guardDivisor(bounding.width(), QStringLiteral("bounding.size.width = 0"));
        const float scale = size.width / bounding.width();
        const lq::Rect box(lq::Point(), size);
        context->setColor(_backgroundColor);
        context->fillRect(box);
        if (imageOnly) {
            _image->image().drawInRect(box.integral(), _image->imageRectForRect(bounding.integral()),
                                       lq::CompositingOperation::SourceOver, 1.0f);
            return;
        }
        context->clipToRect(box);
        context->concat(QTransform::fromTranslate(-bounding.x(), -bounding.y()) * QTransform::fromScale(scale, scale));
        draw();
    });
}

lq::GraphicsImage XmlCanvas::createIconImageWithMaxSize(const lq::Size& max)
{
    return lq::modelFrame(this, "createIconImageWithMaxSize:", [&]() -> lq::GraphicsImage {
        if (max.width <= 0 || max.height <= 0)
            return lq::GraphicsImage();
        const lq::Rect b = _image->boundingRect(lq::Rect());
        if (b.width() <= 0 || b.height() <= 0)
            return lq::GraphicsImage();
        lq::Size size = max;
        if (max.width >= max.height * b.width() / b.height())
            size.width = std::ceil(b.width() * max.height / b.height());
        else
            size.height = std::ceil(b.height() * max.width / b.width());
        lq::GraphicsImage icon = lq::GraphicsImage::withSize(size);
        if (icon.isNull())
            return icon;
        {
            lq::GraphicsImage::Focus focus(icon);
            drawIconImageBoundingImageOnly(size, b, true);
        }
        return icon;
    });
}
