#include "model/imaging/XmlDraw.h"

#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/graphics/GraphicsContext.h"

#include <algorithm>

XmlDraw::XmlDraw(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlDraw> XmlDraw::create()
{
    return make<XmlDraw>();
}

QString XmlDraw::elementName() const
{
    return QStringLiteral("IWdraw");
}

void XmlDraw::draw()
{
}

lq::Rect XmlDraw::boundingRect(const lq::Rect&)
{
    return lq::Rect();
}

// --- Fixed size -------------------------------------------------------------------------------

void XmlDraw::drawImageWithWidthAndHeightAtPoint(int w, int h, const lq::Point& p)
{
    lq::modelFrame(this, "drawImageWithWidth:andHeight:atPoint:", [&] {
        const lq::Rect b = boundingRect(lq::Rect());
        if (w <= 0 || h <= 0 || b.width() <= 0 || b.height() <= 0 || !lq::GraphicsContext::current())
            return;
        const QTransform transform = QTransform::fromTranslate(-b.x(), -b.y())
            * QTransform::fromScale(w / static_cast<double>(b.width()), h / static_cast<double>(b.height()))
            * QTransform::fromTranslate(p.x, p.y);
        lq::GraphicsContext::SavedState saved;
        lq::GraphicsContext::current()->concat(transform);
        draw();
    });
}

lq::GraphicsImage XmlDraw::makeImageWithWidthAndHeight(int w, int h)
{
    return lq::modelFrame(this, "makeImageWithWidth:andHeight:", [&]() -> lq::GraphicsImage {
        const lq::Rect b = boundingRect(lq::Rect());
        if (w <= 0 || h <= 0 || b.width() <= 0 || b.height() <= 0)
            return lq::GraphicsImage();
        lq::GraphicsImage image = lq::GraphicsImage::withSize(lq::Size(static_cast<float>(w), static_cast<float>(h)));
        if (image.isNull())
            return image;
        {
            lq::GraphicsImage::Focus focus(image);
            lq::GraphicsContext::SavedState saved;
            focus.context().concat(QTransform::fromTranslate(-b.x(), -b.y())
                                   * QTransform::fromScale(w / static_cast<double>(b.width()), h / static_cast<double>(b.height())));
            draw();
        }
        return image;
    });
}

lq::GraphicsImage XmlDraw::makeImage()
{
    return lq::modelFrame(this, "makeImage", [&] {
        const lq::Rect b = boundingRect(lq::Rect());
        return makeImageWithWidthAndHeight(static_cast<int>(b.width()), static_cast<int>(b.height()));
    });
}

// --- Maximum size -----------------------------------------------------------------------------

void XmlDraw::fittedSize(const lq::Rect& b, int maxW, int maxH, int& w, int& h)
{
    if (b.width() == 0 || b.height() == 0)
        lq::raise(QStringLiteral("Divide By 0"), QStringLiteral("width or height = 0"));
    const float s = std::min(static_cast<float>(maxW) / b.width(), static_cast<float>(maxH) / b.height());
    w = static_cast<int>(b.width() * s);
    h = static_cast<int>(b.height() * s);
}

void XmlDraw::drawImageWithMaxWidthAndMaxHeightAtPoint(int maxW, int maxH, const lq::Point& p)
{
    lq::modelFrame(this, "drawImageWithMaxWidth:andMaxHeight:atPoint:", [&] {
        const lq::Rect b = boundingRect(lq::Rect());
        if (b.isZero())
            return;
        int w = 0;
        int h = 0;
        fittedSize(b, maxW, maxH, w, h);
        const lq::Point at(p.x + static_cast<float>((maxW - w) / 2), p.y + static_cast<float>((maxH - h) / 2));
        drawImageWithWidthAndHeightAtPoint(w, h, at);
    });
}

lq::GraphicsImage XmlDraw::makeImageWithMaxWidthAndMaxHeight(int maxW, int maxH)
{
    return lq::modelFrame(this, "makeImageWithMaxWidth:andMaxHeight:", [&]() -> lq::GraphicsImage {
        const lq::Rect b = boundingRect(lq::Rect());
        if (b.isZero())
            return lq::GraphicsImage();
        int w = 0;
        int h = 0;
        fittedSize(b, maxW, maxH, w, h);
        return makeImageWithWidthAndHeight(w, h);
    });
}

// --- Limit ------------------------------------------------------------------------------------

bool XmlDraw::limitedSize(const lq::Rect& b, int limitW, int limitH, int& w, int& h) const
{
    if (b.isZero())
        return false;
    w = static_cast<int>(b.width());
    h = static_cast<int>(b.height());
    if (w > limitW) {
        lq::guardDivisor(w, QStringLiteral("width = 0"));
        h = static_cast<int>(static_cast<long long>(limitW) * h / w);
        w = limitW;
    }
    if (h > limitH) {
        lq::guardDivisor(h, QStringLiteral("height = 0"));
        w = static_cast<int>(static_cast<long long>(limitH) * w / h);
        h = limitH;
    }
    return true;
}

void XmlDraw::drawImageWithLimitWidthAndLimitHeightAtPointTopAlign(int limitW, int limitH, const lq::Point& p, bool topAlign)
{
    lq::modelFrame(this, "drawImageWithLimitWidth:andLimitHeight:atPoint:topAlign:", [&] {
        int w = 0;
        int h = 0;
        if (!limitedSize(boundingRect(lq::Rect()), limitW, limitH, w, h))
            return;
        lq::Point at(p.x + static_cast<float>((limitW - w) / 2), p.y);
        if (!topAlign)
            at.y += static_cast<float>((limitH - h) / 2);
        drawImageWithWidthAndHeightAtPoint(w, h, at);
    });
}

lq::GraphicsImage XmlDraw::makeImageWithLimitWidthAndLimitHeight(int limitW, int limitH)
{
    return lq::modelFrame(this, "makeImageWithLimitWidth:andLimitHeight:", [&]() -> lq::GraphicsImage {
        int w = 0;
        int h = 0;
        if (!limitedSize(boundingRect(lq::Rect()), limitW, limitH, w, h))
            return lq::GraphicsImage();
        return makeImageWithWidthAndHeight(w, h);
    });
}

void XmlDraw::adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(int limitW, int limitH, int* newWidth, int* newHeight)
{
    lq::modelFrame(this, "adjustImageWithLimitWidth:andLimitHeight:newWidth:newHeight:", [&] {
        int w = 0;
        int h = 0;
        if (!limitedSize(boundingRect(lq::Rect()), limitW, limitH, w, h))
            return;
        if (newWidth)
            *newWidth = w;
        if (newHeight)
            *newHeight = h;
    });
}

double XmlDraw::scaleOfImageWithLimitWidthAndLimitHeight(int limitW, int limitH)
{
    return lq::modelFrame(this, "scaleOfImageWithLimitWidth:andLimitHeight:", [&] {
        const lq::Rect b = boundingRect(lq::Rect());
        int w = 0;
        int h = 0;
        if (b.width() <= 0 || b.height() <= 0 || !limitedSize(b, limitW, limitH, w, h))
            return 1.0;
        return std::max(w / static_cast<double>(b.width()), h / static_cast<double>(b.height()));
    });
}
