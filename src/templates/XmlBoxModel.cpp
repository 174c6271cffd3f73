#include "templates/XmlBoxModel.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/Workspace.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Shadow.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/BoxBorderDrawing.h"
#include "templates/XmlWebFont.h"

#include <algorithm>

using namespace lq::literals;

// --- Element protocol --------------------------------------------------------------------------

XmlBoxModel::XmlBoxModel(Key key)
    : XmlCSSBackground(key)
{
    _have_children = true;
}

XmlBoxModel::~XmlBoxModel()
{
    releaseTextSystem();
}

std::shared_ptr<XmlBoxModel> XmlBoxModel::create()
{
    return make<XmlBoxModel>();
}

QString XmlBoxModel::elementName() const
{
    return QStringLiteral("cssBoxModel");
}

bool XmlBoxModel::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlWebFont::cast(child) != nullptr;
    });
}

void XmlBoxModel::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const auto colour = [&] { return lq::stringToColor(value).value_or(lq::Colour::black()); };
        if (key == u"top"_sv)
            setTop(lq::intValue(value));
        else if (key == u"left"_sv)
            setLeft(lq::intValue(value));
        else if (key == u"width"_sv)
            setWidth(lq::intValue(value));
        else if (key == u"height"_sv)
            setHeight(lq::intValue(value));
        else if (key == u"ds"_sv)
            setDropShadow(lq::intValue(value));
        else if (key == u"pt"_sv)
            setPt(lq::intValue(value));
        else if (key == u"pl"_sv)
            setPl(lq::intValue(value));
        else if (key == u"pb"_sv)
            setPb(lq::intValue(value));
        else if (key == u"pr"_sv)
            setPr(lq::intValue(value));
        else if (key == u"bt"_sv)
            setBt(lq::intValue(value));
        else if (key == u"bl"_sv)
            setBl(lq::intValue(value));
        else if (key == u"bb"_sv)
            setBb(lq::intValue(value));
        else if (key == u"br"_sv)
            setBr(lq::intValue(value));
        else if (key == u"bType"_sv)
            setBType(static_cast<BorderType>(lq::intValue(value)));
        else if (key == u"btColor"_sv)
            setBtColor(colour());
        else if (key == u"blColor"_sv)
            setBlColor(colour());
        else if (key == u"bbColor"_sv)
            setBbColor(colour());
        else if (key == u"brColor"_sv)
            setBrColor(colour());
        else
            XmlCSSBackground::setAttributeTo(key, value);
    });
}

XmlCSSPtr XmlBoxModel::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (XmlCSSPtr hit = XmlCSSBackground::objectAtPoint(point))
            return hit;
        if (visible() && objectRect().contains(point))
            return std::static_pointer_cast<XmlCSS>(sharedFromThis());
        return nullptr;
    });
}

void XmlBoxModel::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlCSSBackground::appendAttributes(xml);
        if (absolute() && storesTop())
            xml += QString::asprintf(" top=\"%d\"", calcTop());
        if (absolute())
            xml += QString::asprintf(" left=\"%d\"", calcLeft());
        if (widthFixed())
            xml += QString::asprintf(" width=\"%d\"", width());
        if (heightFixed())
            xml += QString::asprintf(" height=\"%d\"", height());
        xml += QString::asprintf(" pt=\"%d\" pl=\"%d\" pb=\"%d\" pr=\"%d\"", _pt, _pl, _pb, _pr);
        xml += QString::asprintf(" bt=\"%d\" bl=\"%d\" bb=\"%d\" br=\"%d\"", _bt, _bl, _bb, _br);
        xml += QString::asprintf(" bType=\"%d\"", static_cast<int>(_bType));
        xml += QStringLiteral(" btColor=\"%1\" blColor=\"%2\" bbColor=\"%3\" brColor=\"%4\"")
                   .arg(lq::colorToCSSString(_btColor), lq::colorToCSSString(_blColor),
                        lq::colorToCSSString(_bbColor), lq::colorToCSSString(_brColor));
        xml += QString::asprintf(" ds=\"%d\"", dropShadow());
    });
}

void XmlBoxModel::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        // font() adds the default font only when the box has none: a box read
        // from a theme keeps the one it has instead of gaining a second.
        font();
        XmlCSSBackground::newDocument();
    });
}

// --- Fonts -------------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlBoxModel::font()
{
    return lq::modelFrame(this, "font", [&]() -> std::shared_ptr<XmlWebFont> {
        if (auto font = defaultFont())
            return font;
        return addFontName(QString(), QStringLiteral("default"));
    });
}

// --- Stored values -----------------------------------------------------------------------------

void XmlBoxModel::setTop(int top) { setStored(_top, top, "setTop:"); }
void XmlBoxModel::setLeft(int left) { setStored(_left, left, "setLeft:"); }
void XmlBoxModel::setWidth(int width) { setStored(_width, width, "setWidth:"); }
void XmlBoxModel::setHeight(int height) { setStored(_height, height, "setHeight:"); }
void XmlBoxModel::setPt(int padding) { setStored(_pt, padding, "setPt:"); }
void XmlBoxModel::setPl(int padding) { setStored(_pl, padding, "setPl:"); }
void XmlBoxModel::setPb(int padding) { setStored(_pb, padding, "setPb:"); }
void XmlBoxModel::setPr(int padding) { setStored(_pr, padding, "setPr:"); }
void XmlBoxModel::setBt(int width) { setStored(_bt, width, "setBt:"); }
void XmlBoxModel::setBl(int width) { setStored(_bl, width, "setBl:"); }
void XmlBoxModel::setBb(int width) { setStored(_bb, width, "setBb:"); }
void XmlBoxModel::setBr(int width) { setStored(_br, width, "setBr:"); }
void XmlBoxModel::setBType(BorderType type) { setStored(_bType, type, "setBType:"); }
void XmlBoxModel::setDropShadow(int shadow) { setStored(_dropShadow, shadow, "setDropShadow:"); }

void XmlBoxModel::setBtColor(const lq::Colour& colour) { setStored(_btColor, colour, "setBtColor:"); }
void XmlBoxModel::setBlColor(const lq::Colour& colour) { setStored(_blColor, colour, "setBlColor:"); }
void XmlBoxModel::setBbColor(const lq::Colour& colour) { setStored(_bbColor, colour, "setBbColor:"); }
void XmlBoxModel::setBrColor(const lq::Colour& colour) { setStored(_brColor, colour, "setBrColor:"); }

// --- Geometry ----------------------------------------------------------------------------------

int XmlBoxModel::calcTop() const
{
    return lq::modelFrame(this, "calcTop", [&] {
        if (absolute())
            return top();
        XmlBoxModel* box = XmlBoxModel::cast(_parent);
        return box ? box->internalTop() : 0;
    });
}

int XmlBoxModel::calcLeft() const
{
    return lq::modelFrame(this, "calcLeft", [&] {
        if (absolute())
            return left();
        XmlBoxModel* box = XmlBoxModel::cast(_parent);
        return box ? box->internalLeft() : 0;
    });
}

int XmlBoxModel::calcWidth() const
{
    return lq::modelFrame(this, "calcWidth", [&] {
        if (widthFixed())
            return width();
        XmlBoxModel* box = XmlBoxModel::cast(_parent);
        return box ? box->internalWidth() : 0;
    });
}

int XmlBoxModel::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] {
        if (heightFixed())
            return height();
        return internalHeight() + _bt + _bb + _pt + _pb + (dropShadow() ? shadowStrip : 0);
    });
}

int XmlBoxModel::internalTop() const
{
    return lq::modelFrame(this, "internalTop", [&] { return calcTop() + _bt + _pt; });
}

int XmlBoxModel::internalLeft() const
{
    return lq::modelFrame(this, "internalLeft", [&] { return calcLeft() + _bl + _pl; });
}

int XmlBoxModel::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        const int inner = calcWidth() - _bl - _br - _pl - _pr - (dropShadow() ? shadowStrip : 0);
        return std::max(inner, 0);
    });
}

int XmlBoxModel::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        if (heightFixed())
            return height() - _bt - _bb - _pt - _pb - (dropShadow() ? shadowStrip : 0);
        if (!_lm) {
            try {
                layoutText(getCurrentAlbum().get());
            } catch (const lq::Exception& failure) {
                lq::log(QStringLiteral("boxmodel relayout error: %1: %2").arg(failure.name(), failure.reason()));
            }
        }
        // Still none: no page is known, so there is no text to measure.
        if (!_lm)
            return 0;
        return lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).height());
    });
}

int XmlBoxModel::actualHeight() const
{
    return lq::modelFrame(this, "actualHeight", [&] { return calcHeight(); });
}

lq::Rect XmlBoxModel::winIEElementRect()
{
    lq::Rect rect = objectRect();
    rect.size.height = static_cast<float>(actualHeight());
    return rect;
}

lq::Rect XmlBoxModel::objectRect() const
{
    return lq::modelFrame(this, "objectRect", [&] {
        return lq::Rect(static_cast<float>(calcLeft()), static_cast<float>(calcTop()),
                        static_cast<float>(calcWidth()), static_cast<float>(calcHeight()));
    });
}

lq::Rect XmlBoxModel::internalRect() const
{
    return lq::modelFrame(this, "internalRect", [&] {
        return lq::Rect(static_cast<float>(internalLeft()), static_cast<float>(internalTop()),
                        static_cast<float>(internalWidth()), static_cast<float>(internalHeight()));
    });
}

void XmlBoxModel::setObjectRect(const lq::Rect& rect)
{
    lq::modelFrame(this, "setObjectRect:", [&] {
        if (absolute()) {
            setTop(lq::truncatedPixel(rect.y()));
            setLeft(lq::truncatedPixel(rect.x()));
        }
        if (widthFixed())
            setWidth(lq::truncatedPixel(rect.width()));
        if (heightFixed())
            setHeight(lq::truncatedPixel(rect.height()));
        relayoutFlags(nullptr, 0);
    });
}

// --- Layout ------------------------------------------------------------------------------------

void XmlBoxModel::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure here is logged with
    // the box's XML and goes no further, leaving the text system as far as it
    // got. Only the application's own failures are caught; anything else
    // thrown goes on to the caller.
    try {
        // The page template passes its own flags down, and the content box
        // asks for layouts with flags 1 and 2 once its text is laid out:
        // such a layout leaves a box's text as it is.
        if (flags != 0)
            return;
        std::shared_ptr<XmlAlbum> remembered;
        page = pageOrCurrentAlbum(page, remembered);
        if (page)
            font();
        layoutText(page);
        registerClickAreas(page);
        XmlCSSBackground::relayoutFlags(page, flags);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("boxmodel relayout error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

// --- Canvas ------------------------------------------------------------------------------------

void XmlBoxModel::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] { drawObject(objectRect()); });
}

void XmlBoxModel::drawObject(const lq::Rect& outer)
{
    lq::modelFrame(this, "drawObject:", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        lq::Rect rect = outer;
        if (dropShadow()) {
            rect.size.width -= shadowStrip;
            rect.size.height -= shadowStrip;
            context->setFillColor(bkgndColor());
            context->fillRect(rect);
            const lq::GraphicsContext::SavedState saved;
            // 5 pixels right and 5 down, in the shadow's upward-growing terms.
            context->setShadow(lq::Shadow(5, lq::Colour(0, 0, 0, 0.8f), lq::Size(5, -5)));
            context->setFillColor(bkgndColor());
            lq::BezierPath::withRect(rect).fill();
        }
        XmlCSSBackground::drawObject(lq::Rect(rect.x() + static_cast<float>(_bl), rect.y() + static_cast<float>(_bt),
                                              rect.width() - static_cast<float>(_bl + _br),
                                              rect.height() - static_cast<float>(_bt + _bb)));
        BoxBorderDrawing::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(rect, _bType, _bt, _bl, _bb, _br,
                                                                  _btColor, _blColor, _bbColor, _brColor);
    });
}

void XmlBoxModel::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (!_lm)
            relayoutFlags(nullptr, 0);
        // Still none: no page is known, so there is nothing to draw.
        if (!_lm)
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
        if (glyphs.length == 0)
            return;
        const lq::Rect area = internalRect();
        _lm->drawGlyphsForGlyphRange(glyphs, area.origin.toQPointF(), &context->painter());
    });
}

void XmlBoxModel::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        releaseTextSystem();
        XmlCSSBackground::cleanup();
    });
}

void XmlBoxModel::mouseClick(const QString& link)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        if (!showPageWithLink(link))
            lq::openURL(QUrl(link));
    });
}

bool XmlBoxModel::canDoubleClick()
{
    return true;
}

bool XmlBoxModel::startEditingAtPointTextView(const lq::Point&, lq::TextView*)
{
    return lq::modelFrame(this, "startEditingAtPoint:textView:", [&] {
        if (!canDoubleClick())
            return false;
        if (!_lm)
            relayoutFlags(nullptr, 0);
        // The text is edited in black whatever its colour on the page.
        if (_contents) {
            lq::TextAttributes black;
            black.foregroundColour = lq::Colour::black();
            _contents->addAttributes(black, { 0, _contents->length() });
        }
        return true;
    });
}

bool XmlBoxModel::isEditing()
{
    return lq::modelFrame(this, "isEditing", [&] { return _tc && _tc->textView() != nullptr; });
}

void XmlBoxModel::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] { XmlCSSBackground::endEditingInView(); });
}

void XmlBoxModel::getSelectableObjects(XmlBaseList& list)
{
    lq::modelFrame(this, "getSelectableObjects:", [&] { list.append(sharedFromThis()); });
}


