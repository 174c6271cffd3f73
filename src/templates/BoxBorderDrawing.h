#pragma once

#include "templates/XmlBoxModel.h"

// Draws a box's borders: the four sides, each in its width and colour, in
// one of the border styles.
class BoxBorderDrawing {
public:
    // Fills the four borders of the outer rectangle into the current graphics
    // context, each side in its width and colour, in the style (any number
    // outside the styles draws solid). A side of width 0 or less draws nothing.
    static void drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(
        const lq::Rect& rect, XmlBoxModel::BorderType type, int top, int left, int bottom, int right,
        const lq::Colour& topColour, const lq::Colour& leftColour,
        const lq::Colour& bottomColour, const lq::Colour& rightColour);
};
