#include "templates/XmlBoxModel.h"

#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlWebItem.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/Workspace.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Shadow.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlWebFont.h"

#include <algorithm>

namespace {

// The masthead of the page, when it is an album page.
XmlMasthead* mastheadOf(XmlBase* page)
{
    XmlAlbum* album = XmlAlbum::cast(page);
    return album ? album->masthead() : nullptr;
}

// --- Border drawing ----------------------------------------------------------------------------

struct Sides {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

struct SideColours {
    lq::Colour top;
    lq::Colour left;
    lq::Colour bottom;
    lq::Colour right;
};

// Fills the path in the colour and empties it for the next side.
void fillAndEmpty(lq::BezierPath& path, const lq::Colour& colour)
{
    if (lq::GraphicsContext* context = lq::GraphicsContext::current()) {
        context->setFillColor(colour);
        path.fill();
    }
    path.removeAllPoints();
}

void appendPolygon(lq::BezierPath& path, std::initializer_list<lq::Point> corners)
{
    bool first = true;
    for (const lq::Point& corner : corners) {
        if (first)
            path.moveTo(corner);
        else
            path.lineTo(corner);
        first = false;
    }
    path.closePath();
}

// Each side a four-cornered polygon, so that two sides meet on the diagonal
// of the corner square between them. Order: top, bottom, left, right.
void drawSolid(lq::BezierPath& path, const lq::Rect& rect, const Sides& w, const SideColours& c)
{
    const float x = rect.x();
    const float y = rect.y();
    const float width = rect.width();
    const float height = rect.height();
    const float t = static_cast<float>(w.top);
    const float l = static_cast<float>(w.left);
    const float b = static_cast<float>(w.bottom);
    const float r = static_cast<float>(w.right);
    if (w.top > 0) {
        appendPolygon(path, { { x, y }, { x + width, y }, { x + width - r, y + t }, { x + l, y + t } });
        fillAndEmpty(path, c.top);
    }
    if (w.bottom > 0) {
        appendPolygon(path, { { x, y + height }, { x + width, y + height }, { x + width - r, y + height - b }, { x + l, y + height - b } });
        fillAndEmpty(path, c.bottom);
    }
    if (w.left > 0) {
        appendPolygon(path, { { x, y }, { x, y + height }, { x + l, y + height - b }, { x + l, y + t } });
        fillAndEmpty(path, c.left);
    }
    if (w.right > 0) {
        appendPolygon(path, { { x + width, y }, { x + width, y + height }, { x + width - r, y + height - b }, { x + width - r, y + t } });
        fillAndEmpty(path, c.right);
    }
}

// Moves the rectangle inward by the widths of its sides.
lq::Rect insetBy(const lq::Rect& rect, const Sides& w)
{
    return lq::Rect(rect.x() + static_cast<float>(w.left), rect.y() + static_cast<float>(w.top),
                    rect.width() - static_cast<float>(w.left + w.right),
                    rect.height() - static_cast<float>(w.top + w.bottom));
}

// Two bands of a third of the width each with the gap between them; a width
// of 1 gives one band drawn twice.
void drawDouble(lq::BezierPath& path, const lq::Rect& rect, const Sides& w, const SideColours& c)
{
    const auto band = [](int n) { return n == 1 ? 1 : (n + 1) / 3; };
    const Sides bands { band(w.top), band(w.left), band(w.bottom), band(w.right) };
    // band + gap = n - band
    const Sides step { w.top - bands.top, w.left - bands.left, w.bottom - bands.bottom, w.right - bands.right };
    drawSolid(path, rect, bands, c);
    drawSolid(path, insetBy(rect, step), bands, c);
}

// One side of square dots as wide as the border, a dot apart, with a dot at
// each end. `along` is the length of the side, `at` the origin of the run
// (x for a horizontal side, y for a vertical one).
void appendDots(lq::BezierPath& path, int n, float along, float at, const std::function<lq::Rect(float)>& dot)
{
    const int len = lq::truncatedPixel(along - static_cast<float>(n));
    const int k = len / (2 * n);
    path.appendRect(dot(at));
    path.appendRect(dot(at + along - static_cast<float>(n)));
    const float start = at + static_cast<float>((len - 2 * n * k) / 2);
    for (int i = 0; i <= k; ++i)
        path.appendRect(dot(start + static_cast<float>(2 * n * i)));
}

void drawDotted(lq::BezierPath& path, const lq::Rect& rect, const Sides& w, const SideColours& c)
{
    const float x = rect.x();
    const float y = rect.y();
    const float width = rect.width();
    const float height = rect.height();
    if (const int n = w.top; n > 0) {
        const float side = static_cast<float>(n);
        appendDots(path, n, width, x, [&](float p) { return lq::Rect(p, y, side, side); });
        fillAndEmpty(path, c.top);
    }
    if (const int n = w.bottom; n > 0) {
        const float side = static_cast<float>(n);
        appendDots(path, n, width, x, [&](float p) { return lq::Rect(p, y + height - side, side, side); });
        fillAndEmpty(path, c.bottom);
    }
    if (const int n = w.left; n > 0) {
        const float side = static_cast<float>(n);
        appendDots(path, n, height, y, [&](float p) { return lq::Rect(x, p, side, side); });
        fillAndEmpty(path, c.left);
    }
    if (const int n = w.right; n > 0) {
        const float side = static_cast<float>(n);
        appendDots(path, n, height, y, [&](float p) { return lq::Rect(x + width - side, p, side, side); });
        fillAndEmpty(path, c.right);
    }
}

// One side of dashes three widths long with gaps of three widths, ending in
// two corner pieces; a side too short for that is one bar. `piece(p, length)`
// is the piece starting at p along the side.
void appendDashes(lq::BezierPath& path, int n, float along, float at,
                  const std::function<lq::Rect(float, float)>& piece)
{
    const int len = lq::truncatedPixel(along - static_cast<float>(2 * n)) - 3 * n;
    const int k = len / (6 * n);
    const int e = (len - 6 * n * k) / 2;
    if (e < 0) {
        path.appendRect(piece(at, along));
        return;
    }
    const float corner = static_cast<float>(n + e);
    path.appendRect(piece(at, corner));
    path.appendRect(piece(at + along - corner, corner));
    for (int i = 0; i < k; ++i)
        path.appendRect(piece(at + static_cast<float>(n + e + 3 * n + 6 * n * i), static_cast<float>(3 * n)));
}

void drawDashed(lq::BezierPath& path, const lq::Rect& rect, const Sides& w, const SideColours& c)
{
    const float x = rect.x();
    const float y = rect.y();
    const float width = rect.width();
    const float height = rect.height();
    if (const int n = w.top; n > 0) {
        const float thick = static_cast<float>(n);
        appendDashes(path, n, width, x, [&](float p, float length) { return lq::Rect(p, y, length, thick); });
        fillAndEmpty(path, c.top);
    }
    if (const int n = w.bottom; n > 0) {
        const float thick = static_cast<float>(n);
        appendDashes(path, n, width, x, [&](float p, float length) { return lq::Rect(p, y + height - thick, length, thick); });
        fillAndEmpty(path, c.bottom);
    }
    if (const int n = w.left; n > 0) {
        const float thick = static_cast<float>(n);
        appendDashes(path, n, height, y, [&](float p, float length) { return lq::Rect(x, p, thick, length); });
        fillAndEmpty(path, c.left);
    }
    if (const int n = w.right; n > 0) {
        const float thick = static_cast<float>(n);
        appendDashes(path, n, height, y, [&](float p, float length) { return lq::Rect(x + width - thick, p, thick, length); });
        fillAndEmpty(path, c.right);
    }
}

// The colour blended half-way with black.
lq::Colour darkShade(const lq::Colour& colour)
{
    return lq::Colour(colour.r * 0.5f, colour.g * 0.5f, colour.b * 0.5f, colour.a * 0.5f + 0.5f);
}

// An outer and an inner band, each solid; the groove has its top and left
// outer band dark, the ridge its bottom and right, and the inner band the
// other way round.
void drawGrooveOrRidge(lq::BezierPath& path, const lq::Rect& rect, const Sides& w, const SideColours& c, bool groove)
{
    const Sides inner { w.top / 2, w.left / 2, w.bottom / 2, w.right / 2 };
    const Sides outer { w.top - inner.top, w.left - inner.left, w.bottom - inner.bottom, w.right - inner.right };
    const SideColours topLeftDark { darkShade(c.top), darkShade(c.left), c.bottom, c.right };
    const SideColours bottomRightDark { c.top, c.left, darkShade(c.bottom), darkShade(c.right) };
    drawSolid(path, rect, outer, groove ? topLeftDark : bottomRightDark);
    drawSolid(path, insetBy(rect, outer), inner, groove ? bottomRightDark : topLeftDark);
}

} // namespace

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
        const auto colour = [&] { return stringToColor(value).value_or(lq::Colour::black()); };
        if (key == u"top")
            setTop(lq::intValue(value));
        else if (key == u"left")
            setLeft(lq::intValue(value));
        else if (key == u"width")
            setWidth(lq::intValue(value));
        else if (key == u"height")
            setHeight(lq::intValue(value));
        else if (key == u"ds")
            setDropShadow(lq::intValue(value));
        else if (key == u"pt")
            setPt(lq::intValue(value));
        else if (key == u"pl")
            setPl(lq::intValue(value));
        else if (key == u"pb")
            setPb(lq::intValue(value));
        else if (key == u"pr")
            setPr(lq::intValue(value));
        else if (key == u"bt")
            setBt(lq::intValue(value));
        else if (key == u"bl")
            setBl(lq::intValue(value));
        else if (key == u"bb")
            setBb(lq::intValue(value));
        else if (key == u"br")
            setBr(lq::intValue(value));
        else if (key == u"bType")
            setBType(static_cast<BorderType>(lq::intValue(value)));
        else if (key == u"btColor")
            setBtColor(colour());
        else if (key == u"blColor")
            setBlColor(colour());
        else if (key == u"bbColor")
            setBbColor(colour());
        else if (key == u"brColor")
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
                   .arg(colorToCSSString(_btColor), colorToCSSString(_blColor),
                        colorToCSSString(_bbColor), colorToCSSString(_brColor));
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

std::shared_ptr<XmlWebFont> XmlBoxModel::addFontName(const QString& tag, const QString& name)
{
    return lq::modelFrame(this, "addFont:name:", [&] {
        std::shared_ptr<XmlWebFont> record = XmlWebFont::createWithTagName(tag, name);
        addChild(record);
        return record;
    });
}

std::shared_ptr<XmlWebFont> XmlBoxModel::font()
{
    return lq::modelFrame(this, "font", [&]() -> std::shared_ptr<XmlWebFont> {
        if (auto font = defaultFont())
            return font;
        return addFontName(QString(), QStringLiteral("default"));
    });
}

std::shared_ptr<XmlWebFont> XmlBoxModel::defaultFont() const
{
    return firstChildOfType<XmlWebFont>([](const XmlWebFont& f) { return f.name() == u"default"; });
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

void XmlBoxModel::layoutText(XmlBase* page) const
{
    if (!page)
        return;

    if (!_lm) {
        _contents = std::make_shared<lq::StyledText>();
        _lm = std::make_unique<lq::LayoutManager>();
        _lm->setTextStorage(_contents);
        _tc = std::make_shared<lq::TextContainer>(QSizeF(unboundedExtent, unboundedExtent));
        _tc->setLineFragmentPadding(0);
        _lm->addTextContainer(_tc);
    }

    // A box without its font record yet lays out in the record's defaults;
    // only a layout the page asks for adds the record.
    std::shared_ptr<XmlWebFont> record = defaultFont();
    if (!record)
        record = XmlWebFont::create();
    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.tabStops = lqTabStops();
    paragraph.alignment = record->textAlignment();

    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = record->createFont();
    attributes.foregroundColour = record->fontColor();
    attributes.underlineStyle = record->underline() ? 1 : 0;

    XmlMasthead* masthead = mastheadOf(page);
    const bool isMasthead = name() == u"Masthead";
    QString text = QStringLiteral("");
    if (isMasthead) {
        if (masthead)
            text = masthead->content();
    } else if (name() == u"Page Title") {
        text = page->content();
    }

    _contents->setText(lq::StyledText(text, attributes));
    _contents->setAttributes(attributes, { 0, _contents->length() });

    _tc->setContainerSize(QSizeF(internalWidth(), unboundedExtent));
    _lm->glyphRangeForTextContainer(_tc.get());
}

void XmlBoxModel::registerClickAreas(XmlBase* page)
{
    if (!page || name() != u"Masthead")
        return;
    if (DocumentBase* document = myDocument()) {
        document->clearTrackingDataForObject(UUID());
        XmlMasthead* masthead = mastheadOf(page);
        if (masthead && !masthead->linkTo().isEmpty())
            document->addTrackingDataForObjectDataRect(UUID(), masthead->linkTo(), internalRect());
    }
}

void XmlBoxModel::releaseTextSystem()
{
    // The manager first: it lets its container go before the container is dropped.
    _lm.reset();
    _tc.reset();
    _contents.reset();
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
        drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(rect, _bType, _bt, _bl, _bb, _br,
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

bool XmlBoxModel::showPageWithLink(const QString& link)
{
    DocumentBase* document = myDocument();
    if (!document)
        return false;
    for (const XmlBasePtr& item : document->webItems()) {
        XmlWebItem* page = XmlWebItem::cast(item.get());
        if (page && (page->externalLink() == link || page->linkAddress() == link)) {
            document->selectWebPageIndex(XmlAlbum::cast(page), -1);
            return true;
        }
    }
    return false;
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

bool XmlBoxModel::hasNextSelectableObjectInside(bool)
{
    return false;
}

// --- Page HTML and template CSS ----------------------------------------------------------------

QString XmlBoxModel::htmlDivTagsForRect(const QString& elementId, const lq::Rect& rect)
{
    return lq::modelFrame(this, "htmlDivTags:forRect:", [&] {
        return QStringLiteral("<div id=\"%1\" style=\"top: %2px; left: %3px; width: %4px; height: %5px;\">&nbsp;</div>\n")
            .arg(elementId, QString::number(lq::truncatedPixel(rect.y())), QString::number(lq::truncatedPixel(rect.x())),
                QString::number(lq::truncatedPixel(rect.width())), QString::number(lq::truncatedPixel(rect.height())));
    });
}

QString XmlBoxModel::htmlDivTagsVornStyle(const QString& elementId, const QString& style)
{
    return lq::modelFrame(this, "htmlDivTags:vornStyle:", [&] {
        const int shadow = dropShadow() ? shadowStrip : 0;
        const int divWidth = calcWidth() - _bl - _br - shadow;
        const int divHeight = actualHeight() - _bt - _bb - shadow;
        const int divTop = calcTop();
        const int divLeft = calcLeft();
        if (style.isNull()) {
            return htmlDivTagsForRect(elementId, lq::Rect(static_cast<float>(divLeft), static_cast<float>(divTop),
                                                          static_cast<float>(divWidth), static_cast<float>(divHeight)));
        }
        return QStringLiteral("<div id=\"%1\" style=\"%2 top: %3px; left: %4px; width: %5px; height: %6px;\">&nbsp;</div>\n")
            .arg(elementId, style, QString::number(divTop), QString::number(divLeft), QString::number(divWidth),
                QString::number(divHeight));
    });
}

QString XmlBoxModel::borderType(BorderType type) const
{
    switch (type) {
    case BorderType::Double:
        return QStringLiteral("double");
    case BorderType::Dotted:
        return QStringLiteral("dotted");
    case BorderType::Dashed:
        return QStringLiteral("dashed");
    case BorderType::Groove:
        return QStringLiteral("groove");
    case BorderType::Ridge:
        return QStringLiteral("ridge");
    default:
        return QStringLiteral("solid");
    }
}

void XmlBoxModel::appendCSSBorders(QString& css)
{
    lq::modelFrame(this, "appendCSSBorders:", [&] {
        if (bordersAreBitmap()) {
            css += QStringLiteral("border: 0px; ");
            return;
        }
        const QString style = borderType(_bType);
        const auto side = [&](const char* which, const lq::Colour& colour, int width) {
            css += QStringLiteral("border-%1: %2 %3 %4px; ")
                       .arg(QLatin1String(which), colorToCSSString(colour), style, QString::number(width));
        };
        side("top", _btColor, _bt);
        side("left", _blColor, _bl);
        side("bottom", _bbColor, _bb);
        side("right", _brColor, _br);
    });
}

void XmlBoxModel::appendCSSPadding(QString& css)
{
    lq::modelFrame(this, "appendCSSPadding:", [&] {
        const bool bitmap = bordersAreBitmap();
        css += QString::asprintf("padding: %dpx %dpx %dpx %dpx; ", _pt + (bitmap ? _bt : 0), _pr + (bitmap ? _br : 0),
                                 _pb + (bitmap ? _bb : 0), _pl + (bitmap ? _bl : 0));
    });
}

// --- Border drawing ----------------------------------------------------------------------------

void XmlBoxModel::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(
    const lq::Rect& rect, BorderType type, int top, int left, int bottom, int right,
    const lq::Colour& topColour, const lq::Colour& leftColour,
    const lq::Colour& bottomColour, const lq::Colour& rightColour)
{
    lq::classFrame("XmlBoxModel +drawBorder:btype:top:left:bottom:right:tColor:lColor:bColor:rColor:", [&] {
        if (!lq::GraphicsContext::current())
            return;
        const Sides widths { top, left, bottom, right };
        const SideColours colours { topColour, leftColour, bottomColour, rightColour };
        lq::BezierPath path;
        switch (type) {
        case BorderType::Double:
            drawDouble(path, rect, widths, colours);
            break;
        case BorderType::Dotted:
            drawDotted(path, rect, widths, colours);
            break;
        case BorderType::Dashed:
            drawDashed(path, rect, widths, colours);
            break;
        case BorderType::Groove:
            drawGrooveOrRidge(path, rect, widths, colours, true);
            break;
        case BorderType::Ridge:
            drawGrooveOrRidge(path, rect, widths, colours, false);
            break;
        default:
            drawSolid(path, rect, widths, colours);
            break;
        }
    });
}
