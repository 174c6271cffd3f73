#pragma once

#include "model/core/XmlBase.h"
#include "platform/Geometry.h"
#include "platform/graphics/GraphicsImage.h"

// The base of everything on a photo's canvas that draws itself. Drawing goes
// into the current graphics context in canvas coordinates (y grows downward).
//
// Every drawable can also draw itself scaled: its bounds (boundingRect of the
// zero rectangle, b) mapped onto a rectangle of the current context or of a
// new image, at a fixed size, at a maximum size (scaled up or down to fit,
// proportions kept) or within a limit (only scaled down). New images are
// transparent where nothing is drawn; a drawable without bounds makes none.
class XmlDraw : public XmlBase {
public:
    explicit XmlDraw(Key key);

    static std::shared_ptr<XmlDraw> create();
    static XmlDraw* cast(XmlBase* object) { return dynamic_cast<XmlDraw*>(object); }

    QString elementName() const override;

    // Draws the element into the current graphics context; the base draws nothing.
    virtual void draw();
    // The union of the element's own extent and the rectangle, so that a
    // container can fold its parts into one rectangle. The base has no extent
    // and answers the zero rectangle.
    virtual lq::Rect boundingRect(const lq::Rect& rect);

    // --- Fixed size: b mapped onto w x h, scaled separately in x and y ----------
    void drawImageWithWidthAndHeightAtPoint(int w, int h, const lq::Point& p);
    lq::GraphicsImage makeImageWithWidthAndHeight(int w, int h);
    // At b's size, the fractions cut off.
    lq::GraphicsImage makeImage();

    // --- Maximum size: a uniform scale to fit the box, centred in it ------------
    // A bounds without width or height raises "Divide By 0".
    void drawImageWithMaxWidthAndMaxHeightAtPoint(int maxW, int maxH, const lq::Point& p);
    lq::GraphicsImage makeImageWithMaxWidthAndMaxHeight(int maxW, int maxH);

    // --- Limit: only shrinks, width first, then height, in whole numbers ---------
    // Centred horizontally, and vertically unless topAlign.
    void drawImageWithLimitWidthAndLimitHeightAtPointTopAlign(int limitW, int limitH, const lq::Point& p, bool topAlign);
    lq::GraphicsImage makeImageWithLimitWidthAndLimitHeight(int limitW, int limitH);
    // The limited size; the out-arguments stay untouched for a drawable without bounds.
    void adjustImageWithLimitWidthAndLimitHeightNewWidthNewHeight(int limitW, int limitH, int* newWidth, int* newHeight);
    // How much makeImageWithLimitWidthAndLimitHeight scales the drawing, the
    // larger of its two scales (1: pixel for pixel); 1 for a drawable
    // without bounds.
    double scaleOfImageWithLimitWidthAndLimitHeight(int limitW, int limitH);

private:
    // The limited size of the bounds; false when there are no bounds.
    bool limitedSize(const lq::Rect& b, int limitW, int limitH, int& w, int& h) const;
    // The fitted size of the bounds in the box.
    static void fittedSize(const lq::Rect& b, int maxW, int maxH, int& w, int& h);
};
