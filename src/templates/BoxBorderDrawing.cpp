// Border drawing: the four sides of a box in each border style.
#include "templates/BoxBorderDrawing.h"

#include "platform/ExceptionFrame.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"

#include <algorithm>

namespace {

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

void BoxBorderDrawing::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(
    const lq::Rect& rect, XmlBoxModel::BorderType type, int top, int left, int bottom, int right,
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
        case XmlBoxModel::BorderType::Double:
            drawDouble(path, rect, widths, colours);
            break;
        case XmlBoxModel::BorderType::Dotted:
            drawDotted(path, rect, widths, colours);
            break;
        case XmlBoxModel::BorderType::Dashed:
            drawDashed(path, rect, widths, colours);
            break;
        case XmlBoxModel::BorderType::Groove:
            drawGrooveOrRidge(path, rect, widths, colours, true);
            break;
        case XmlBoxModel::BorderType::Ridge:
            drawGrooveOrRidge(path, rect, widths, colours, false);
            break;
        default:
            drawSolid(path, rect, widths, colours);
            break;
        }
    });
}
