#include "templates/XmlPictureFrame.h"

#include "model/imaging/XmlImage.h"
#include "platform/ExceptionFrame.h"
#include "platform/graphics/GraphicsContext.h"
#include "templates/XmlCSSImage.h"

#include <QPainter>

namespace {

// The background mode whose picture is an overlay of the thumbnail.
constexpr int overlayMode = 6;

} // namespace

XmlPictureFrame::XmlPictureFrame(Key key)
    : XmlBoxModel(key)
{
    _heightFixed = false;
    _widthFixed = false;
    _absolute = false;
}

std::shared_ptr<XmlPictureFrame> XmlPictureFrame::create()
{
    return make<XmlPictureFrame>();
}

QString XmlPictureFrame::elementName() const
{
    return QStringLiteral("cssPictureFrame");
}

bool XmlPictureFrame::allowImageInBackground()
{
    return bkgnd() != overlayMode;
}

bool XmlPictureFrame::useFloatPhoto() const
{
    return dropShadow() != 0 || _bkgnd == overlayMode;
}

void XmlPictureFrame::drawObjectBackground(const lq::Rect& rect, bool background)
{
    lq::modelFrame(this, "drawObject:background:", [&] {
        if (background) {
            drawObject(rect);
            return;
        }
        if (bkgnd() != overlayMode || !image() || !image()->image())
            return;
        const lq::GraphicsImage picture = image()->image()->image();
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (picture.isNull() || !context)
            return;
        context->saveGraphicsState();
        context->clipToRect(rect);
        context->painter().drawImage(rect.origin.toQPointF(), picture.toQImage());
        context->restoreGraphicsState();
    });
}
