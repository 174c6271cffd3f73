#include "layout/AlignmentGuides.h"

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
        for (int index = 0; index < _numObjectRects; ++index) {
            const WholeRect r = whole(_objectRects[std::size_t(index)]);
            if (edges) {
                if (g.x == r.x || g.x == r.x + r.w) {
                    extendVertical(0, g.x, r.y, r.h, g.y, g.h);
                    found |= LeftEdge;
                }
                if (g.x + g.w == r.x || g.x + g.w == r.x + r.w) {
                    extendVertical(1, g.x + g.w, r.y, r.h, g.y, g.h);
                    found |= RightEdge;
                }
                if (g.y == r.y || g.y == r.y + r.h) {
                    extendHorizontal(2, g.y, r.x, r.w, g.x, g.w);
                    found |= TopEdge;
                }
                if (g.y + g.h == r.y || g.y + g.h == r.y + r.h) {
                    extendHorizontal(3, g.y + g.h, r.x, r.w, g.x, g.w);
                    found |= BottomEdge;
                }
            }
            if (centres) {
                if (g.cx == r.cx) {
                    extendVertical(4, g.cx, r.y, r.h, g.y, g.h);
                    found |= CentreX;
                }
                if (g.cy == r.cy) {
                    extendHorizontal(5, g.cy, r.x, r.w, g.x, g.w);
                    found |= CentreY;
                }
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
