#pragma once

#include "platform/Geometry.h"
#include "platform/text/TextContainer.h"

#include <QString>
#include <QStringList>

#include <vector>

// The text container of a page's content text. The other page elements that
// lie over the text area are registered as floating rectangles (page
// coordinates); every line flows round them, keeping the spacing free on
// each side, and for pages laid out by the browser the container writes rows
// of floated spacer divs ("lf" and "rf") that make the browser wrap the same
// text round the same places.
//
// An obstacle that straddles the middle of the text area pushes a line below
// itself when it covers both the 30 % and the 70 % points or neither;
// otherwise it narrows the line from the side it lies on. Lines move down by
// whole line heights while the room left is narrower than the larger of 50
// pixels and a tenth of the width. A text area narrower than 50 pixels plus
// the side spacing is taken as 50 wide without side spacing (and the side
// spacing is dropped for good).
class QZTextContainer : public lq::TextContainer {
public:
    QZTextContainer();

    // The text area in page coordinates: its origin maps the floating
    // rectangles into the container, its width is the width of every line.
    void setBoundingRect(const lq::Rect& bounds);
    const lq::Rect& boundingRect() const { return mybounds; }
    // The space kept free above, left of, below and right of every floating rectangle.
    void setPaddingTopLeftBottomRight(int top, int left, int bottom, int right);
    int paddingTop() const { return _pt; }
    int paddingLeft() const { return _pl; }
    int paddingBottom() const { return _pb; }
    int paddingRight() const { return _pr; }

    // A rectangle in its text form ("{{x, y}, {w, h}}"), page coordinates.
    void addFloatingRect(const QString& rect);
    void clearFloatingRects();
    // The floating rectangles in their text forms, in the order added.
    const QStringList& floatingRects() const { return floats; }

    bool isSimpleRectangularTextContainer() const override;
    // The line at the proposed top and height, fitted round the obstacles;
    // the proposed x and width are not used. The remaining rectangle is
    // always empty. Empty once the line would start below the container.
    QRectF lineFragmentRectForProposedRect(const QRectF& proposedRect, QRectF* remainingRect) const override;
    // Inside the text area and outside every floating rectangle.
    bool containsPoint(QPointF point) const override;
    qreal firstLineOffset() const { return 0; }

    // Spacer divs for bands 10 pixels high from the top while above the
    // maximum height; neighbouring bands with equal widths share one pair.
    void createHTMLfloatsMaxheight(QString& html, float maxheight) const;
    // One "lf" and "rf" pair, each with a newline: the widths (a width of 0
    // written as 1) or, when either is negative, the full pair of 50% and 49%.
    static void writeDivsLeftRightHeight(QString& html, int left, int right, int height);

private:
    // The numbers derived from the width, computed afresh at each use.
    struct Frame {
        float width = 0;  // W
        float middle = 0; // M
        float p30 = 0;
        float p70 = 0;
        float narrowest = 0; // N
    };
    // How a band is fitted: its left edge and width, or blocked whole.
    struct Band {
        float left = 0;
        float width = 0;
        bool blocked = false;
        // The bottom of the obstacle that blocks the band.
        float blockedBottom = 0;
    };

    Frame frame() const;
    // Fits the band at y, h high round the obstacles (stops at one that blocks it).
    Band fitBand(const Frame& frame, float y, float height) const;

    lq::Rect mybounds;
    QStringList floats;
    std::vector<lq::Rect> _floatRects; // the same rectangles, read once
    // Cleared for good when the text area turns out too narrow.
    mutable int _pt = 0;
    mutable int _pl = 0;
    mutable int _pr = 0;
    mutable int _pb = 0;
};
