#include "templates/XmlCSSBackground.h"

#include "model/imaging/XmlImage.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <algorithm>
#include <limits>

using namespace lq::literals;

namespace {

// Where a background without a rectangle of its own is drawn.
constexpr lq::Rect wholeCanvas(0, 0, 2000, 4000);

// A coordinate cut toward zero to a whole pixel; values beyond the int range
// (or not numbers at all) are held at its ends.
int truncated(float value)
{
    if (!(value == value))
        return 0;
    constexpr float limit = 2147483520.0f; // the largest float below 2^31
    return static_cast<int>(std::clamp(value, -limit, limit));
}

} // namespace

XmlCSSBackground::XmlCSSBackground(Key key)
    : XmlCSS(key)
    , _image(XmlCSSImage::create())
{
    _image->setParent(this);
}

XmlCSSBackground::~XmlCSSBackground()
{
    if (_image)
        _image->setParent(nullptr);
}

std::shared_ptr<XmlCSSBackground> XmlCSSBackground::create()
{
    return make<XmlCSSBackground>();
}

QString XmlCSSBackground::elementName() const
{
    return QStringLiteral("cssBackground");
}

bool XmlCSSBackground::isPageTemplate() const
{
    return dynamic_cast<const XmlStyleSheet*>(this) != nullptr;
}

// --- Element protocol --------------------------------------------------------------------------

XmlBasePtr XmlCSSBackground::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"QZimage"_sv) {
            if (!_image) {
                _image = XmlCSSImage::create();
                _image->setParent(this);
            }
            return _image;
        }
        return XmlCSS::createChildFromTag(tag);
    });
}

QString XmlCSSBackground::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&]() -> QString {
        if (bkgnd() >= 2 && _image)
            return _image->createXml();
        return QStringLiteral("");
    });
}

void XmlCSSBackground::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"bkgnd"_sv)
            setBkgnd(lq::intValue(value));
        else if (key == u"bkgndColor"_sv)
            setBkgndColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"bs"_sv)
            setBottomSlice(lq::intValue(value));
        else if (key == u"ts"_sv)
            setTopSlice(lq::intValue(value));
        else if (key == u"bx"_sv)
            setBxoffset(lq::intValue(value));
        else if (key == u"by"_sv)
            setByoffset(lq::intValue(value));
        else if (key == u"tbkgnd"_sv)
            setTransparentBkgnd(lq::intValue(value));
        else
            XmlCSS::setAttributeTo(key, value);
    });
}

void XmlCSSBackground::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlCSS::appendAttributes(xml);
        xml += QString::asprintf(" bkgnd=\"%d\"", bkgnd());
        xml += QStringLiteral(" bkgndColor=\"%1\"").arg(lq::colorToCSSString(bkgndColor()));
        xml += QString::asprintf(" ts=\"%d\" bs=\"%d\"", topSlice(), bottomSlice());
        xml += QString::asprintf(" bx=\"%d\" by=\"%d\"", bxoffset(), byoffset());
        xml += QString::asprintf(" tbkgnd=\"%d\"", transparentBkgnd());
    });
}

XmlBaseList XmlCSSBackground::ownedParts() const
{
    XmlBaseList parts;
    if (_image)
        parts.append(_image);
    parts.append(XmlCSS::ownedParts());
    return parts;
}

// --- Stored values -----------------------------------------------------------------------------

int XmlCSSBackground::bkgnd() const
{
    return _bkgnd;
}

void XmlCSSBackground::setBkgnd(int mode)
{
    setStored(_bkgnd, mode, "setBkgnd:");
}

int XmlCSSBackground::transparentBkgnd() const
{
    return _transparentBkgnd;
}

void XmlCSSBackground::setTransparentBkgnd(int transparent)
{
    setStored(_transparentBkgnd, transparent, "setTransparentBkgnd:");
}

void XmlCSSBackground::setBkgndColor(const lq::Colour& colour)
{
    setStored(_bkgndColor, colour, "setBkgndColor:");
}

void XmlCSSBackground::setImage(const std::shared_ptr<XmlCSSImage>& image)
{
    lq::modelFrame(this, "setImage:", [&] {
        // The old record may live on elsewhere: it must not point back here.
        if (_image && _image != image && _image->parent() == this)
            _image->setParent(nullptr);
        _image = image;
        docChanged();
        if (_image) {
            _image->setParent(this);
            _image->loadBackstore(nullptr);
        }
    });
}

int XmlCSSBackground::bxoffset() const
{
    return isPageTemplate() ? 0 : _bxoffset;
}

void XmlCSSBackground::setBxoffset(int offset)
{
    if (!isPageTemplate())
        setStored(_bxoffset, offset, "setBxoffset:");
}

int XmlCSSBackground::byoffset() const
{
    return isPageTemplate() ? 0 : _byoffset;
}

void XmlCSSBackground::setByoffset(int offset)
{
    if (!isPageTemplate())
        setStored(_byoffset, offset, "setByoffset:");
}

void XmlCSSBackground::setTopSlice(int height)
{
    setStored(_topSlice, height, "setTopSlice:");
}

void XmlCSSBackground::setBottomSlice(int height)
{
    setStored(_bottomSlice, height, "setBottomSlice:");
}

// --- CSS -------------------------------------------------------------------------------------

int XmlCSSBackground::cssMode()
{
    const int mode = bkgnd();
    if (mode >= 2 && !allowImageInBackground())
        return 1;
    return mode;
}

bool XmlCSSBackground::allowImageInBackground()
{
    return true;
}

void XmlCSSBackground::appendCSSBackground(QString& css)
{
    lq::modelFrame(this, "appendCSSBackground:", [&] {
        const int mode = cssMode();
        const QString colour = lq::colorToCSSString(bkgndColor());
        if (mode == 1 || mode == 6) {
            // The colour, even when the element is marked transparent: the
            // flag only concerns what lies under a picture. The slices of
            // mode 6 are separate elements of the page.
            css += QStringLiteral("background-color: %1; ").arg(colour);
            return;
        }
        if (mode == 0) {
            css += QStringLiteral("background-color: transparent; ");
            return;
        }
        css += QStringLiteral("background-color: %1; ")
                   .arg(transparentBkgnd() != 0 ? QStringLiteral("transparent") : colour);
        css += QStringLiteral("background-image: url(bitmaps/%1); ").arg(_image ? _image->imageFileName() : QString());
        switch (mode) {
        case 2:
            css += QStringLiteral("background-repeat: no-repeat; ");
            css += QString::asprintf("background-position: %d%% %d%%; ", bxoffset(), byoffset());
            break;
        case 3:
            css += QStringLiteral("background-repeat: repeat-x; ");
            css += QString::asprintf("background-position: 0%% %d%%; ", byoffset());
            break;
        case 4:
            css += QStringLiteral("background-repeat: repeat-y; ");
            css += QString::asprintf("background-position: %d%% 0%%; ", bxoffset());
            break;
        case 5:
            css += QStringLiteral("background-repeat: repeat; ");
            break;
        default:
            break;
        }
    });
}

void XmlCSSBackground::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] { appendCSSBackground(css); });
}

lq::Rect XmlCSSBackground::winIEElementRect()
{
    return objectRect();
}

QString XmlCSSBackground::winIEFileName(const QString& suffix) const
{
    QString name = _image->imageUUID() + uniquename() + suffix;
    // The element's name is free text: it must neither leave the site's
    // bitmap folder nor end the quoted string of the filter rule.
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == u'\'' || c == u'"' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    return name + QStringLiteral(".png");
}

void XmlCSSBackground::appendCSSWinIEBackgroundTagSuffix(QString& css, const QString& tag, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIEBackground:tag:suffix:", [&] {
        _winFixup = false;
        const int mode = cssMode();
        if (!_image || _image->iType() != 2 || mode == 0 || mode == 1 || mode == 6)
            return;

        if (mode == 2 && (_bxoffset != 0 || _byoffset != 0)) {
            _winFixup = true;
            _winFilename = winIEFileName(suffix);
            _winSize = winIEElementRect().size;
            _winType = 1;
            _winX = _bxoffset;
            _winY = _byoffset;
        } else if (mode >= 3 && mode <= 5) {
            const lq::Rect rect = winIEElementRect();
            if (!rect.isZero()) {
                const lq::Size picture = _image->size();
                lq::Size size;
                bool larger = false;
                if (mode == 3) {
                    size = lq::Size(rect.width(), picture.height);
                    larger = rect.width() > picture.width;
                } else if (mode == 4) {
                    size = lq::Size(picture.width, rect.height());
                    larger = rect.height() > picture.height;
                } else {
                    size = rect.size;
                    larger = rect.width() > picture.width || rect.height() > picture.height;
                }
                if (larger) {
                    _winFixup = true;
                    _winFilename = winIEFileName(suffix);
                    _winSize = size;
                    _winType = 0;
                    _winX = 0;
                    _winY = 0;
                }
            }
        }

        css += tag + QStringLiteral(" { ");
        css += QStringLiteral("background-image: url(bitmaps/transparent.gif); ");
        css += QStringLiteral("filter:progid:DXImageTransform.Microsoft.AlphaImageLoader(enabled='true', "
                              "sizingMethod='crop', src='bitmaps/%1');")
                   .arg(_winFixup ? _winFilename : _image->imageFileName());
        css += QStringLiteral("}\n");
    });
}

void XmlCSSBackground::genCSSWinIEBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSWinIEBitmap:", [&] {
        if (!_winFixup || !_image)
            return;
        script += QStringLiteral("<QZcreateWinIEBitmap image=\"%1\" filename=\"%2\" size=\"%3\" ")
                      .arg(_image->UUID(), lq::escape(_winFilename), lq::sizeToString(_winSize));
        script += QString::asprintf("type=\"%d\" x=\"%d\" y=\"%d\" />", _winType, _winX, _winY);
        // One step per rule: a second request without a new rule makes none.
        _winFixup = false;
        _winFilename = QString();
    });
}

void XmlCSSBackground::genCSSBitmap(QString& script)
{
    lq::modelFrame(this, "genCSSBitmap:", [&] {
        if (!allowImageInBackground() || !_image)
            return;
        const int mode = bkgnd();
        if (mode == 6)
            script += QStringLiteral("<QZcreateBitmapSlice image=\"%1\" top=\"%2\" bottom=\"%3\"/>")
                          .arg(_image->UUID(), QString::number(topSlice()), QString::number(bottomSlice()));
        else if (mode >= 2)
            script += QStringLiteral("<QZcreateWebBitmap image=\"%1\" />").arg(_image->UUID());
    });
}

// --- Drawing -----------------------------------------------------------------------------------

void XmlCSSBackground::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        const lq::Rect rect = objectRect();
        drawObject(rect.isZero() ? wholeCanvas : rect);
    });
}

void XmlCSSBackground::drawObject(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawObject:", [&] {
        const lq::GraphicsImage picture = _image ? _image->image()->image() : lq::GraphicsImage();
        drawObjectTypeColorImage(rect, bkgnd(), bkgndColor(), picture);
    });
}

void XmlCSSBackground::drawObjectTypeColorImage(const lq::Rect& rect, int type, const lq::Colour& colour,
                                                const lq::GraphicsImage& image)
{
    lq::modelFrame(this, "drawObject:type:color:image:", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;

        // A picture less than a pixel wide or high would never advance the
        // tiling loops: it counts as no picture.
        const bool hasPicture = !image.isNull() && image.size().width >= 1 && image.size().height >= 1;
        const float iw = hasPicture ? image.size().width : 0;
        const float ih = hasPicture ? image.size().height : 0;
        const int x0 = truncated(rect.x());
        const int y0 = truncated(rect.y());
        const int x1 = truncated(rect.x() + rect.width());
        const int y1 = truncated(rect.y() + rect.height());
        const int bx = bxoffset();
        const int by = byoffset();
        const float width = static_cast<float>(x1) - static_cast<float>(x0);
        const float height = static_cast<float>(y1) - static_cast<float>(y0);
        const int dx = width > iw ? truncated((width - iw) * static_cast<float>(bx) / 100.0f) : 0;
        const int dy = height > ih ? truncated((height - ih) * static_cast<float>(by) / 100.0f) : 0;

        int mode = type;
        if (mode >= 2 && !allowImageInBackground())
            mode = transparentBkgnd() != 0 ? 0 : 1;

        const lq::GraphicsContext::SavedState saved;
        lq::Rect clip = rect;
        if (mode == 6)
            clip.size.height = std::min(clip.size.height, static_cast<float>(static_cast<long long>(_middleSlice) + _bottomSlice));
        context->clipToRect(clip);

        const auto fill = [&] {
            context->setFillColor(colour);
            context->fillRect(rect);
        };
        const auto fillUnlessTransparent = [&] {
            if (transparentBkgnd() == 0)
                fill();
        };
        const auto drawAt = [&](long long x, long long y) {
            image.drawAtPoint(lq::Point(static_cast<float>(x), static_cast<float>(y)), lq::Rect(),
                              lq::CompositingOperation::SourceOver, 1.0f);
        };
        // The next tile's position, cut to a whole pixel; at the int range's
        // end the loop stops instead of wrapping around.
        const auto advance = [](int position, float step) {
            const int next = truncated(static_cast<float>(position) + step);
            return next > position ? next : std::numeric_limits<int>::max();
        };

        switch (mode) {
        case 1:
            fill();
            break;
        case 2:
            fillUnlessTransparent();
            if (hasPicture)
                drawAt(static_cast<long long>(x0) + dx, static_cast<long long>(y0) + dy);
            break;
        case 3:
            fillUnlessTransparent();
            if (hasPicture) {
                for (int x = x0; x < x1; x = advance(x, iw))
                    drawAt(x, static_cast<long long>(y0) + dy);
            }
            break;
        case 4:
            fillUnlessTransparent();
            if (hasPicture) {
                for (int y = y0; y < y1; y = advance(y, ih))
                    drawAt(static_cast<long long>(x0) + dx, y);
            }
            break;
        case 5:
            fillUnlessTransparent();
            if (hasPicture) {
                for (int y = y0; y < y1; y = advance(y, ih)) {
                    for (int x = x0; x < x1; x = advance(x, iw))
                        drawAt(x, y);
                }
            }
            break;
        case 6: {
            fill();
            if (!hasPicture)
                break;
            const float ts = static_cast<float>(_topSlice);
            const float bs = static_cast<float>(_bottomSlice);
            const int mid = static_cast<int>(ih - ts - bs);
            const float topHeight = std::min(ih, ts);
            const auto drawSlice = [&](const lq::Rect& destination, const lq::Rect& source) {
                // An empty source would stand for the whole picture.
                if (source.height() > 0 && source.width() > 0)
                    image.drawInRect(destination, source, lq::CompositingOperation::SourceOver, 1.0f);
            };
            drawSlice(lq::Rect(static_cast<float>(x0), static_cast<float>(y0), iw, topHeight),
                      lq::Rect(0, 0, iw, topHeight));
            if (mid > 0) {
                const lq::Rect band(0, topHeight, iw, static_cast<float>(mid));
                const long long bandEnd = static_cast<long long>(y0) + _middleSlice;
                for (long long y = static_cast<long long>(y0) + _topSlice; y < bandEnd; y += mid)
                    drawSlice(lq::Rect(static_cast<float>(x0), static_cast<float>(y), iw, static_cast<float>(mid)), band);
            }
            const float bottomHeight = std::min(ih, bs);
            drawSlice(lq::Rect(static_cast<float>(x0), static_cast<float>(static_cast<long long>(y0) + _middleSlice), iw, bottomHeight),
                      lq::Rect(0, std::max(0.0f, ih - bs), iw, bottomHeight));
            break;
        }
        default:
            break;
        }
    });
}
