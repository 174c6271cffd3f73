#pragma once

#include "platform/Geometry.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// The six alignment guides of the layout canvas: lines that show the
// selected element in line with the other elements of the page.
//
// The table holds the guide rectangles of the page's other elements (loaded
// once per selection). Each computation compares the selection's guide
// rectangle, made integral, with every rectangle of the table: an edge guide
// is found when one of the selection's edges equals one of a rectangle's
// edges on the same axis, a centre guide when the centres are equal. A found
// guide runs from the first to the last edge of all the rectangles in line
// with the selection, the selection included. The comparisons are exact: a
// rectangle one unit off finds nothing.
class AlignmentGuides {
public:
    // The guides and their bits in lastGuideHitTest.
    enum Guide : unsigned {
        LeftEdge = 1,    // guide 0, vertical
        RightEdge = 2,   // guide 1, vertical
        TopEdge = 4,     // guide 2, horizontal
        BottomEdge = 8,  // guide 3, horizontal
        CentreX = 16,    // guide 4, vertical through the centre
        CentreY = 32,    // guide 5, horizontal through the centre
    };
    static constexpr unsigned verticalGuides = LeftEdge | RightEdge | CentreX;
    static constexpr unsigned horizontalGuides = TopEdge | BottomEdge | CentreY;
    static constexpr int numberOfGuides = 6;
    static constexpr std::size_t maxObjectRects = 4096;

    AlignmentGuides();

    // Refills the table from the rectangle strings in order, leaving out every
    // rectangle exactly equal to the ignored one (the selection's own); an
    // empty list empties it. Rectangles beyond the table's room are not kept.
    void setObjectRectsIgnoringRect(const QStringList& rects, const lq::Rect& ignored);
    int numObjectRects() const { return _numObjectRects; }
    const lq::Rect& objectRect(int index) const { return _objectRects[std::size_t(index)]; }

    // Computes the guides of the selection's guide rectangle with the guide
    // families that are switched on; nothing (no selection, test mode) finds
    // no guide. Answers whether the set of found guides changed. Every head
    // and tail point ends half a unit right of and below the computed one, so
    // that a 1-unit line falls on the middle of a pixel.
    bool calcGuidelines(const std::optional<lq::Rect>& guideRect, bool edges, bool centres);

    unsigned lastGuideHitTest() const { return _lastGuideHitTest; }
    const lq::Point& guideHeadPoint(int guide) const { return _guideHeadPoints[std::size_t(guide)]; }
    const lq::Point& guideTailPoint(int guide) const { return _guideTailPoints[std::size_t(guide)]; }

    // The smallest and the largest of three whole numbers.
    static int minABC(int a, int b, int c);
    static int maxABC(int a, int b, int c);

private:
    void extendVertical(int guide, int x, int ry, int rh, int gy, int gh);
    void extendHorizontal(int guide, int y, int rx, int rw, int gx, int gw);

    // Allocated once, for the canvas's life.
    std::vector<lq::Rect> _objectRects;
    int _numObjectRects = 0;
    unsigned _lastGuideHitTest = 0;
    std::array<lq::Point, numberOfGuides> _guideHeadPoints;
    std::array<lq::Point, numberOfGuides> _guideTailPoints;
};
