#include "ui/layout/AlignmentGuides.h"

#include "platform/ValueStrings.h"

#include <algorithm>
#include <cmath>

namespace {

// Where a guide that is found nowhere begins and ends.
constexpr float farAway = 100000;

struct WholeRect {
    int x, y, w, h;
    int cx, cy;   // the centre, rounded up
};

WholeRect whole(const lq::Rect& rect)
{
    const lq::Rect integral = rect.integral();
    WholeRect r { int(integral.x()), int(integral.y()), int(integral.width()), int(integral.height()), 0, 0 };
    r.cx = int(std::ceil(r.x + r.w * 0.5));
    r.cy = int(std::ceil(r.y + r.h * 0.5));
    return r;
}

int truncatedCoordinate(float value)
{
    return int(std::trunc(value));
}

} // namespace

AlignmentGuides::AlignmentGuides()
    : _objectRects(maxObjectRects)
{
    _guideHeadPoints.fill(lq::Point(farAway, farAway));
}

void AlignmentGuides::setObjectRectsIgnoringRect(const QStringList& rects, const lq::Rect& ignored)
{
    _numObjectRects = 0;
    for (const QString& text : rects) {
        if (std::size_t(_numObjectRects) == maxObjectRects)
            break;
        const lq::Rect rect = lq::stringToRect(text);
        if (rect == ignored)
            continue;
        _objectRects[std::size_t(_numObjectRects++)] = rect;
    }
}

int AlignmentGuides::minABC(int a, int b, int c)
{
    return std::min({a, b, c});
}

int AlignmentGuides::maxABC(int a, int b, int c)
{
    return std::max({a, b, c});
}

void AlignmentGuides::extendVertical(int guide, int x, int ry, int rh, int gy, int gh)
{
    lq::Point& head = _guideHeadPoints[std::size_t(guide)];
    lq::Point& tail = _guideTailPoints[std::size_t(guide)];
    head = lq::Point(float(x), float(minABC(truncatedCoordinate(head.y), ry, gy)));
    tail = lq::Point(float(x), float(maxABC(truncatedCoordinate(tail.y), ry + rh, gy + gh)));
}

void AlignmentGuides::extendHorizontal(int guide, int y, int rx, int rw, int gx, int gw)
{
    lq::Point& head = _guideHeadPoints[std::size_t(guide)];
    lq::Point& tail = _guideTailPoints[std::size_t(guide)];
    head = lq::Point(float(minABC(truncatedCoordinate(head.x), rx, gx)), float(y));
    tail = lq::Point(float(maxABC(truncatedCoordinate(tail.x), rx + rw, gx + gw)), float(y));
}

bool AlignmentGuides::calcGuidelines(const std::optional<lq::Rect>& guideRect, bool edges, bool centres)
{
    _guideHeadPoints.fill(lq::Point(farAway, farAway));
    _guideTailPoints.fill(lq::Point(0, 0));
    unsigned found = 0;
    if (guideRect) {
        const WholeRect g = whole(*guideRect);
        // An edge meets a rectangle's edge on the same axis: its start or its end.
        const auto meets = [](int edge, int start, int length) { return edge == start || edge == start + length; };
        for (int index = 0; index < _numObjectRects; ++index) {
            const WholeRect r = whole(_objectRects[std::size_t(index)]);
            const auto vertical = [&](int guide, int x) {
                extendVertical(guide, x, r.y, r.h, g.y, g.h);
                found |= 1u << guide;
            };
            const auto horizontal = [&](int guide, int y) {
                extendHorizontal(guide, y, r.x, r.w, g.x, g.w);
                found |= 1u << guide;
            };
            if (edges) {
                if (meets(g.x, r.x, r.w))
                    vertical(0, g.x);
                if (meets(g.x + g.w, r.x, r.w))
                    vertical(1, g.x + g.w);
                if (meets(g.y, r.y, r.h))
                    horizontal(2, g.y);
                if (meets(g.y + g.h, r.y, r.h))
                    horizontal(3, g.y + g.h);
            }
            if (centres) {
                if (g.cx == r.cx)
                    vertical(4, g.cx);
                if (g.cy == r.cy)
                    horizontal(5, g.cy);
            }
        }
    }
    const bool changed = found != _lastGuideHitTest;
    _lastGuideHitTest = found;
    for (auto* points : {&_guideHeadPoints, &_guideTailPoints}) {
        for (lq::Point& point : *points)
            point = lq::Point(point.x + 0.5f, point.y + 0.5f);
    }
    return changed;
}
