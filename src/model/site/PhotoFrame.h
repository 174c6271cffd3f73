#pragma once

#include "platform/Geometry.h"

// What a photo drawn in a frame asks of the frame (a picture frame of the
// template that lays the photo out, a layer above the photo): the frame's
// background under the thumbnail (background true) and its overlay over it
// (background false), each drawn into the frame's rectangle.
class PhotoFrame {
public:
    virtual ~PhotoFrame() = default;

    virtual void drawObjectBackground(const lq::Rect& rect, bool background) = 0;
};
